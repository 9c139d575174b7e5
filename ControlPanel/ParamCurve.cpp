// "Kresli": the panel hands its texts and check states to the trace, shows
// what comes back, and keeps user input waiting while the trace runs (Esc
// stops it).
#include "ParamCurve.h"

#include <QLineEdit>

#include <chrono>
#include <utility>

#include "ControlPanel.h"
#include "CurveTrace.h"
#include "Dialogs.h"
#include "Draw2D.h"
#include "LastTrace.h"
#include "LongWork.h"
#include "TraceRecorder.h"
#include "TraceSession.h"

namespace {

TracePause PauseSeam;

// A refusal found by ReadInputs; Param_Curve shows it and ends.
struct InputRefused {
    TraceOutcome outcome;
};

class PanelTraceHost : public TraceHost {
public:
    PanelTraceHost(TControl_Panel& panel, TraceSession& session) : panel_(panel), session_(session) {}
    bool Dashed() override { return panel_.CheckBox2->isChecked(); }
    void Repaint() override { Draw2D->RepaintPlane(); }
    void Pause() override
    {
        if (PauseSeam)
            PauseSeam();
        else
            session_.Wait(std::chrono::milliseconds(TracePauseMilliseconds));
        // Esc during the pause stops the trace here, before the next point.
        session_.ThrowIfStopped();
    }

private:
    TControl_Panel& panel_;
    TraceSession& session_;
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
    case InputField::None:
    case InputField::EquationX:
    case InputField::EquationY: break;
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
    return TraceSession::Running();
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
    if (TraceRunning() || !Draw2D)
        return;
    // Busy cursor, input held back and Esc watched until the handler returns;
    // a fault passing out restores the cursor before its box.
    TraceSession session({this, Draw2D});

    try {
        ReadInputs();
    } catch (const InputRefused& refused) {
        session.End();
        // Focus first: the box hands it back to the field when it closes.
        QLineEdit* field = FieldOf(*this, refused.outcome.Focus);
        if (field)
            FocusField(field);
        ShowErrorBox(RefusalText(refused.outcome.Message, refused.outcome.Focus));
        if (field)
            FocusField(field);
        return;
    } catch (const EvaluationCancelled&) {
        return;  // Esc during a slow bound: nothing drawn, nothing to say
    }

    PanelTraceHost host(*this, session);
    // What the user watches is recorded for "Uložit animaci…", from the plane
    // as it stands now, and kept however the trace ends.
    TraceRecorder recorder(*Draw2D, host);
    const auto keepAnimation = [&recorder] { LastTrace::Of(*Draw2D).Keep(recorder.Finish()); };
    const TraceInputs inputs{EquationX, EquationY, SegmentCount};
    TraceOutcome outcome;
    try {
        outcome = TraceCurve(*Draw2D, inputs, CheckBox1->isChecked(), recorder);
    } catch (const EvaluationCancelled&) {
        keepAnimation();
        return;  // Esc: the plane keeps what was drawn, and nothing else is shown
    } catch (...) {
        keepAnimation();  // a fault: its box shows over what was drawn
        throw;
    }
    keepAnimation();
    session.End();
    if (!outcome.Ok())
        ShowErrorBox(QString::fromStdString(outcome.Message));
}
