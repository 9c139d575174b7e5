// SPDX-License-Identifier: GPL-3.0-or-later
#include "VariablesWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

#include "CaptionFont.h"
#include "ControlPanel.h"
#include "Dialogs.h"
#include "Draw2D.h"
#include "ParamCurve.h"
#include "PlaneHistory.h"
#include "VariableAnimation.h"
#include "WindowReplay.h"

TVariables* VariablesWindow = nullptr;

namespace {

// Rows and what stands below them, in pixels.
constexpr int RowTop = 8;
constexpr int RowHeight = 68;
constexpr int NoRowsHeight = 52;
constexpr int StatusHeight = 44;

// A redraw that finds a trace running tries again this much later.
constexpr int RetryMilliseconds = 20;

bool ShownOnce = false;         // placed beside the plot window
bool ShownByItself = false;     // after a "Kresli" that uses a variable

QString StatusOf(const PressResult& result)
{
    if (result.End != PressEnd::FormulaError && result.End != PressEnd::Fault)
        return QString();
    // One line: the message, then the field it is about or a fault's cause.
    if (result.End == PressEnd::Fault && !result.Advice.empty())
        return QString::fromStdString(result.Message) + u' ' + QString::fromStdString(result.Advice);
    return RefusalText(result.Message, result.Focus).replace(u'\n', QStringLiteral(", "));
}

void FocusField(QLineEdit* field)
{
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

}  // namespace

TVariables::TVariables(QWidget* parent) : QWidget(parent)
{
    VariablesWindow = this;
    setupUi(this);
    ApplyCaptionFace(*this, CaptionFaceFor(*this));
    setAttribute(Qt::WA_QuitOnClose, false);
    const std::array<QWidget*, VariableCount> boxes{RowK, RowN, RowR, RowS, RowX, RowY, RowZ};
    for (std::size_t i = 0; i < VariableCount; ++i) {
        const QString letter = QString(QChar::fromLatin1(PressVariables[i].Letter)).toUpper();
        Row& row = rows_[i];
        row.Box = boxes[i];
        row.Value = findChild<QLineEdit*>("Value" + letter);
        row.Slider = findChild<QSlider*>("Slider" + letter);
        row.Low = findChild<QLineEdit*>("Low" + letter);
        row.High = findChild<QLineEdit*>("High" + letter);
        row.Step = findChild<QLineEdit*>("Step" + letter);
        row.Animate = findChild<QPushButton*>("Animate" + letter);

        const auto readValue = [this, i] { RunHandler([this, i] { ReadValue(i); }); };
        connect(row.Value, &QLineEdit::editingFinished, this, readValue);
        const auto readRange = [this, i] { RunHandler([this, i] { ReadRange(i); }); };
        for (QLineEdit* field : {row.Low, row.High, row.Step})
            connect(field, &QLineEdit::editingFinished, this, readRange);
        connect(row.Slider, &QSlider::valueChanged, this,
                [this, i](int position) { RunHandler([this, i, position] { SliderMoved(i, position); }); });
        connect(row.Animate, &QPushButton::clicked, this,
                [this, i] { RunHandler([this, i] { AnimateVariable(*this, i); }); });
    }
    ShowTexts(texts_);
    ShowRowsFor(Control_Panel ? Control_Panel->CurrentPress().Texts : StartPress().Texts);
}

TVariables::~TVariables()
{
    // The fields go with the window's children after this destructor; one
    // that loses the focus then would finish its editing into a window that
    // is no longer there.
    for (const Row& row : rows_) {
        for (QObject* control : std::initializer_list<QObject*>{row.Value, row.Low, row.High, row.Step, row.Slider,
                                                                row.Animate})
            control->disconnect(this);
    }
    if (VariablesWindow == this)
        VariablesWindow = nullptr;
}

void TVariables::ShowTexts(const std::array<VariableTexts, VariableCount>& texts)
{
    texts_ = texts;
    for (std::size_t i = 0; i < VariableCount; ++i) {
        const Row& row = rows_[i];
        row.Value->setText(QString::fromStdString(texts_[i].Value));
        row.Low->setText(QString::fromStdString(texts_[i].Low));
        row.High->setText(QString::fromStdString(texts_[i].High));
        row.Step->setText(QString::fromStdString(texts_[i].Step));
        PlotState scratch;
        std::string message;
        SliderRange range;
        double value = 0.0;
        try {
            if (!ReadSliderRange(scratch, texts_[i], range, message))
                range = SliderRange{};
            if (!EvaluateValue(scratch, texts_[i].Value, value, message))
                value = 0.0;
        } catch (const FloatFault&) {
            range = SliderRange{};
            value = 0.0;
        }
        ranges_[i] = range;
        PlaceSlider(i, value);
    }
}

void TVariables::ShowRowsFor(const TraceTexts& texts)
{
    const std::array<bool, VariableCount> used = VariablesUsed(texts);
    int shown = 0;
    for (std::size_t i = 0; i < VariableCount; ++i) {
        rows_[i].Box->setVisible(used[i]);
        if (used[i])
            rows_[i].Box->move(0, RowTop + RowHeight * shown++);
    }
    NoVariables->setVisible(shown == 0);
    const int below = shown == 0 ? RowTop + NoRowsHeight : RowTop + RowHeight * shown;
    KeepTrace->move(KeepTrace->x(), below);
    Status->move(Status->x(), below + 26);
    setFixedSize(width(), below + 26 + StatusHeight + 6);
}

void TVariables::ShowStep(std::size_t variable, std::int64_t index)
{
    const double value = SweepValue(ranges_[variable], index);
    texts_[variable].Value = ValueText(value);
    rows_[variable].Value->setText(QString::fromStdString(texts_[variable].Value));
    const QSignalBlocker quiet(rows_[variable].Slider);
    rows_[variable].Slider->setValue(int(index));
}

void TVariables::SetStatus(const QString& text)
{
    Status->setText(text);
}

void TVariables::PlaceSlider(std::size_t variable, double value)
{
    QSlider* slider = rows_[variable].Slider;
    const SliderRange& range = ranges_[variable];
    const QSignalBlocker quiet(slider);
    slider->setRange(0, int(range.Count - 1));
    slider->setSingleStep(1);
    slider->setPageStep(int(std::max<std::int64_t>(1, range.Count / 10)));
    slider->setValue(int(NearestStep(range, value)));
}

// Puts the last good texts back, says in a box why the typed one was refused
// (a fault's box or a formula error's) and leaves the focus in `field` with
// its text selected. No editing is read while the box is open.
void TVariables::Refuse(QLineEdit* field, const QString& refusal, bool fault, const std::function<void()>& restore)
{
    reading_ = true;
    restore();
    FocusField(field);
    if (fault)
        ShowFaultBox(refusal);
    else
        ShowErrorBox(refusal);
    FocusField(field);
    reading_ = false;
}

void TVariables::ReadValue(std::size_t variable)
{
    QLineEdit* field = rows_[variable].Value;
    const std::string text = field->text().toStdString();
    if (reading_ || text == texts_[variable].Value)
        return;
    PlotState scratch;
    double value = 0.0;
    std::string message;
    bool good = false;
    QString refusal;
    try {
        good = EvaluateValue(scratch, text, value, message);
        if (!good)
            refusal = RefusalText(message, PressVariables[variable].Field);
    } catch (const FloatFault& fault) {
        refusal = RefusalText(std::string(fault.what()) + '.', PressVariables[variable].Field);
    }
    if (!good) {
        Refuse(field, refusal, message.empty(),
               [&] { field->setText(QString::fromStdString(texts_[variable].Value)); });
        return;
    }
    texts_[variable].Value = text;
    PlaceSlider(variable, value);
    ScheduleRedraw();
}

void TVariables::ReadRange(std::size_t variable)
{
    const Row& row = rows_[variable];
    VariableTexts typed = texts_[variable];
    typed.Low = row.Low->text().toStdString();
    typed.High = row.High->text().toStdString();
    typed.Step = row.Step->text().toStdString();
    if (reading_ || typed == texts_[variable])
        return;
    PlotState scratch;
    SliderRange range;
    std::string message;
    RangePart part = RangePart::Low;
    bool good = false;
    bool fault = false;
    try {
        good = ReadSliderRange(scratch, typed, range, message, &part);
    } catch (const FloatFault& thrown) {
        message = std::string(thrown.what()) + '.';
        fault = true;
    }
    if (!good) {
        QLineEdit* field = part == RangePart::Low ? row.Low : part == RangePart::High ? row.High : row.Step;
        Refuse(field, RefusalText(message, PressVariables[variable].Field), fault, [&] {
            row.Low->setText(QString::fromStdString(texts_[variable].Low));
            row.High->setText(QString::fromStdString(texts_[variable].High));
            row.Step->setText(QString::fromStdString(texts_[variable].Step));
        });
        return;
    }
    texts_[variable] = typed;
    ranges_[variable] = range;
    double value = 0.0;
    EvaluateValue(scratch, typed.Value, value, message);  // read before, so it reads again
    PlaceSlider(variable, value);
}

void TVariables::SliderMoved(std::size_t variable, int position)
{
    const double value = SweepValue(ranges_[variable], position);
    texts_[variable].Value = ValueText(value);
    rows_[variable].Value->setText(QString::fromStdString(texts_[variable].Value));
    ScheduleRedraw();
}

void TVariables::ScheduleRedraw(int delayMilliseconds)
{
    if (redrawScheduled_)
        return;
    redrawScheduled_ = true;
    QTimer::singleShot(delayMilliseconds, this, [this] { RunHandler([this] { RedrawNow(); }); });
}

void TVariables::RedrawNow()
{
    redrawScheduled_ = false;
    if (!Draw2D)
        return;
    const PlaneHistory& history = PlaneHistory::Of(*Draw2D);
    // Nothing drawn yet: the next "Kresli" takes the values.
    if (history.Presses().empty())
        return;
    if (TraceRunning()) {
        ScheduleRedraw(RetryMilliseconds);
        return;
    }
    // The whole curve with the values as they stand now: what moved while
    // an earlier redraw ran is taken here, once.
    RecordedPress last = history.Presses().back();
    last.StopAt.reset();
    last.Press.Variables = texts_;
    const WindowReplay replay = RedrawLastPress(*Draw2D, last);
    if (!replay.Ran) {
        ScheduleRedraw(RetryMilliseconds);
        return;
    }
    SetStatus(replay.Results.empty() ? QString() : StatusOf(replay.Results.back()));
}

TVariables& EnsureVariablesWindow()
{
    if (!VariablesWindow)
        new TVariables;
    return *VariablesWindow;
}

void ShowVariablesWindow()
{
    TVariables& window = EnsureVariablesWindow();
    if (!ShownOnce && Draw2D) {
        // Beside the plot window, else below it, where the screen has room;
        // else where the window manager puts it.
        const QRect plot = Draw2D->frameGeometry();
        const QScreen* screen = Draw2D->screen();
        for (const QPoint place : {QPoint(plot.right() + 1 + 4, plot.top()), QPoint(plot.left(), plot.bottom() + 1 + 4)}) {
            if (screen && screen->availableGeometry().contains(QRect(place, window.frameGeometry().size()))) {
                window.move(place);
                break;
            }
        }
    }
    ShownOnce = true;
    window.show();
    window.raise();
    window.activateWindow();
}

void ShowVariablesFirstTime(const TraceTexts& texts)
{
    if (ShownByItself)
        return;
    const std::array<bool, VariableCount> used = VariablesUsed(texts);
    if (std::none_of(used.begin(), used.end(), [](bool u) { return u; }))
        return;
    ShownByItself = true;
    if (!VariablesWindow || !VariablesWindow->isVisible())
        ShowVariablesWindow();
}

void CloseVariablesWindow()
{
    delete VariablesWindow;
    ShownOnce = false;
    ShownByItself = false;
}
