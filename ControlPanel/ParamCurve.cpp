// "Kresli": the panel hands its texts and check states to the trace, shows
// what comes back, and keeps user input waiting while the trace runs.
#include "ParamCurve.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <utility>
#include <vector>

#include "ControlPanel.h"
#include "CurveTrace.h"
#include "Dialogs.h"
#include "Draw2D.h"

namespace {

TracePause PauseSeam;
bool Tracing = false;

// A refusal found by ReadInputs; Param_Curve shows it and ends.
struct InputRefused {
    TraceOutcome outcome;
};

void WaitBetweenSteps()
{
    // A nested loop that leaves out user input: repaints and the window
    // manager's liveness pings are answered, clicks and keys wait their turn.
    QEventLoop loop;
    QTimer::singleShot(TracePauseMilliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

class PanelTraceHost : public TraceHost {
public:
    explicit PanelTraceHost(TControl_Panel& panel) : panel_(panel) {}
    bool Dashed() override { return panel_.CheckBox2->isChecked(); }
    void Repaint() override { Draw2D->RepaintPlane(); }
    void Pause() override
    {
        if (PauseSeam)
            PauseSeam();
        else
            WaitBetweenSteps();
    }

private:
    TControl_Panel& panel_;
};

// Marks the trace as running and holds back closes of either window until it
// ends; a close that arrived meanwhile is carried out afterwards.
class TraceGuard : public QObject {
public:
    explicit TraceGuard(std::vector<QWidget*> windows)
    {
        Tracing = true;
        for (QWidget* window : windows) {
            if (window) {
                windows_.emplace_back(window);
                window->installEventFilter(this);
            }
        }
    }
    ~TraceGuard() override
    {
        for (const QPointer<QWidget>& window : windows_) {
            if (window)
                window->removeEventFilter(this);
        }
        for (const QPointer<QWidget>& window : closed_) {
            if (window)
                QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        }
        Tracing = false;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        if (auto* window = qobject_cast<QWidget*>(watched))
            closed_.emplace_back(window);
        return true;
    }

private:
    std::vector<QPointer<QWidget>> windows_;
    std::vector<QPointer<QWidget>> closed_;
};

QLineEdit* FieldOf(TControl_Panel& panel, InputField field)
{
    switch (field) {
    case InputField::X1: return panel.EditX1;
    case InputField::X2: return panel.EditX2;
    case InputField::Y1: return panel.EditY1;
    case InputField::Y2: return panel.EditY2;
    case InputField::T1: return panel.EditT1;
    case InputField::T2: return panel.EditT2;
    case InputField::Segments: return panel.EditSeg;
    case InputField::None: break;
    }
    return nullptr;
}

void FocusField(QLineEdit* field)
{
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

}  // namespace

void SetTracePause(TracePause pause)
{
    PauseSeam = std::move(pause);
}

bool TraceRunning()
{
    return Tracing;
}

void TControl_Panel::ReadInputs()
{
    TraceTexts texts;
    texts.EquationX = EditEq1->text().toStdString();
    texts.EquationY = EditEq2->text().toStdString();
    texts.X1 = EditX1->text().toStdString();
    texts.X2 = EditX2->text().toStdString();
    texts.Y1 = EditY1->text().toStdString();
    texts.Y2 = EditY2->text().toStdString();
    texts.T1 = EditT1->text().toStdString();
    texts.T2 = EditT2->text().toStdString();
    texts.Segments = EditSeg->text().toStdString();

    TraceInputs inputs;
    TraceOutcome outcome = ReadTraceInputs(*Draw2D, texts, inputs);
    EquationX = inputs.EquationX;
    EquationY = inputs.EquationY;
    SegmentCount = inputs.SegmentCount;
    if (!outcome.Ok())
        throw InputRefused{std::move(outcome)};
}

void TControl_Panel::Param_Curve()
{
    if (Tracing || !Draw2D)
        return;
    const TraceGuard guard({this, Draw2D});

    try {
        ReadInputs();
    } catch (const InputRefused& refused) {
        // Focus first: the box hands it back to the field when it closes.
        QLineEdit* field = FieldOf(*this, refused.outcome.Focus);
        if (field)
            FocusField(field);
        ShowErrorBox(RefusalText(refused.outcome.Message, refused.outcome.Focus));
        if (field)
            FocusField(field);
        return;
    }

    PanelTraceHost host(*this);
    const TraceInputs inputs{EquationX, EquationY, SegmentCount};
    const TraceOutcome outcome = TraceCurve(*Draw2D, inputs, CheckBox1->isChecked(), host);
    if (!outcome.Ok())
        ShowErrorBox(QString::fromStdString(outcome.Message));
}
