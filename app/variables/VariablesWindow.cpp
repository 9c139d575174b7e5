// SPDX-License-Identifier: GPL-3.0-or-later
#include "VariablesWindow.h"

#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

#include "CaptionFont.h"
#include "Dialogs.h"
#include "DocumentSignals.h"
#include "PressMessages.h"
#include "ScreenPlace.h"
#include "TracePause.h"
#include "VariableAnimation.h"
#include "WindowReplay.h"

namespace {

// Rows and what stands below them, in pixels.
constexpr int RowTop = 8;
constexpr int RowHeight = 68;
constexpr int NoRowsHeight = 52;
constexpr int StatusHeight = 44;
// Between the plot window's frame and this window's.
constexpr int WindowGap = 4;

// A redraw that finds a trace running tries again this much later.
constexpr int RetryMilliseconds = 20;

void FocusField(QLineEdit* field)
{
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

// "?" in a caption or name made for the letter.
QString ForLetter(QString text, char letter)
{
    return text.replace(u'?', QChar::fromLatin1(letter));
}

}  // namespace

TVariableRow::TVariableRow(char letter, QWidget* parent) : QWidget(parent)
{
    setupUi(this);
    const QString upper = QString(QChar::fromLatin1(letter)).toUpper();
    setObjectName(QStringLiteral("Row") + upper);
    Label->setText(ForLetter(Label->text(), letter));
    for (QWidget* control : std::initializer_list<QWidget*>{Label, Value, Slider, LowLabel, Low, HighLabel, High,
                                                            StepLabel, Step, Animate}) {
        control->setObjectName(control->objectName() + upper);
        control->setAccessibleName(ForLetter(control->accessibleName(), letter));
    }
}

TVariables::TVariables(PlotDocument& document, PanelPress& panel, QWidget* parent)
    : QWidget(parent), document_(document), panel_(panel)
{
    setupUi(this);
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < VariableCount; ++i) {
        auto* box = new TVariableRow(PressVariables[i].Letter, RowList);
        Row& row = rows_[i];
        row = Row{box, box->Value, box->Slider, box->Low, box->High, box->Step, box->Animate};
        // Row by row, and "ponechat stopu" after the last.
        for (QWidget* control : std::initializer_list<QWidget*>{row.Value, row.Slider, row.Low, row.High, row.Step,
                                                                row.Animate}) {
            if (previous)
                setTabOrder(previous, control);
            previous = control;
        }

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
    setTabOrder(previous, KeepTrace);
    ApplyCaptionFace(*this, CaptionFaceFor(*this));
    setAttribute(Qt::WA_QuitOnClose, false);

    for (std::size_t i = 0; i < VariableCount; ++i)
        SetText(i, document_.Variables()[i]);
    ShowRowsFor(panel_.CurrentPress().Texts);
    // "ponechat stopu" is the document's, kept with a lesson.
    KeepTrace->setChecked(document_.KeepTrace());
    connect(KeepTrace, &QCheckBox::toggled, this, [this](bool keep) { document_.SetKeepTrace(keep); });
    // A lesson opened brings values of its own.
    auto* news = new DocumentSignals(document_, this);
    connect(news, &DocumentSignals::NextPressChanged, this, [this] {
        ShowDocumentTexts();
        const QSignalBlocker quiet(KeepTrace);
        KeepTrace->setChecked(document_.KeepTrace());
    });
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
}

void TVariables::SetText(std::size_t variable, const VariableTexts& texts)
{
    shown_[variable] = texts;
    const Row& row = rows_[variable];
    row.Value->setText(QString::fromStdString(texts.Value));
    row.Low->setText(QString::fromStdString(texts.Low));
    row.High->setText(QString::fromStdString(texts.High));
    row.Step->setText(QString::fromStdString(texts.Step));
    PlotState scratch;
    std::string message;
    SliderRange range;
    double value = 0.0;
    try {
        if (!ReadSliderRange(scratch, texts, range, message))
            range = SliderRange{};
        if (!EvaluateValue(scratch, texts.Value, value, message))
            value = 0.0;
    } catch (const FloatFault&) {
        range = SliderRange{};
        value = 0.0;
    }
    ranges_[variable] = range;
    PlaceSlider(variable, value);
}

void TVariables::ShowDocumentTexts()
{
    for (std::size_t i = 0; i < VariableCount; ++i) {
        if (document_.Variables()[i] != shown_[i])
            SetText(i, document_.Variables()[i]);
    }
}

void TVariables::ShowRowsFor(const TraceTexts& texts)
{
    const std::array<bool, VariableCount> used = VariablesUsed(texts);
    int shown = 0;
    for (std::size_t i = 0; i < VariableCount; ++i) {
        rows_[i].Box->setVisible(used[i]);
        if (used[i])
            rows_[i].Box->move(0, RowHeight * shown++);
    }
    NoVariables->setVisible(shown == 0);
    rowsHeight_ = RowHeight * shown;
    if (shownOnce_)
        FitOnScreen(std::nullopt);
    else
        LayOut(rowsHeight_);
}

void TVariables::LayOut(int rowsShown)
{
    const int rowWidth = RowList->width();
    RowList->setFixedSize(rowWidth, rowsHeight_);
    const bool scrolls = rowsShown < rowsHeight_;
    const int barWidth = scrolls ? RowArea->verticalScrollBar()->sizeHint().width() : 0;
    RowArea->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    RowArea->setGeometry(0, RowTop, rowWidth + barWidth, rowsShown);
    const int below = rowsHeight_ == 0 ? RowTop + NoRowsHeight : RowTop + rowsShown;
    KeepTrace->move(KeepTrace->x(), below);
    Status->move(Status->x(), below + 26);
    setFixedSize(rowWidth + barWidth, below + 26 + StatusHeight + 6);
}

QMargins TVariables::FrameMargins() const
{
    // Before its first showing the window has no frame yet: it will get
    // one like the plot window's.
    if (isVisible() && frameGeometry() != geometry()) {
        const QRect frame = frameGeometry(), inner = geometry();
        return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                frame.bottom() - inner.bottom()};
    }
    return frameMargins_;
}

void TVariables::FitOnScreen(const std::optional<QRect>& beside)
{
    LayOut(rowsHeight_);
    const QScreen* where = screen();
    if (!where)
        return;
    const QRect available = where->availableGeometry();
    const QSize frame = size().grownBy(FrameMargins());
    const QRect here(frameGeometry().topLeft(), frame);
    // Where it is while it fits there; else placed anew by the plot window.
    ScreenPlace place{here.topLeft(), 0};
    if (beside)
        place = PlaceBeside(*beside, frame, available, WindowGap);
    else if (!available.contains(here))
        place = plot_ ? PlaceBeside(plot_->frameGeometry(), frame, available, WindowGap) : FitWithin(here, available);
    if (place.HeightCut > 0) {
        // At least one row stays, whatever the screen.
        LayOut(std::max(std::min(rowsHeight_, RowHeight), rowsHeight_ - place.HeightCut));
    }
    move(place.TopLeft);
}

void TVariables::ShowStep(std::size_t variable, std::int64_t index)
{
    const double value = SweepValue(ranges_[variable], index);
    std::array<VariableTexts, VariableCount> texts = document_.Variables();
    texts[variable].Value = FormulaText(value);
    shown_[variable].Value = texts[variable].Value;
    rows_[variable].Value->setText(QString::fromStdString(texts[variable].Value));
    {
        const QSignalBlocker quiet(rows_[variable].Slider);
        rows_[variable].Slider->setValue(int(index));
    }
    document_.SetVariables(texts);
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
    if (reading_ || text == shown_[variable].Value)
        return;
    PlotState scratch;
    double value = 0.0;
    std::string message;
    bool good = false;
    std::string refusal;
    try {
        good = EvaluateValue(scratch, text, value, message);
        if (!good)
            refusal = RefusalText(message, PressVariables[variable].Field);
    } catch (const FloatFault& fault) {
        refusal = RefusalText(FaultText(fault), PressVariables[variable].Field);
    }
    if (!good) {
        Refuse(field, QString::fromStdString(refusal), message.empty(),
               [&] { field->setText(QString::fromStdString(shown_[variable].Value)); });
        return;
    }
    std::array<VariableTexts, VariableCount> texts = document_.Variables();
    texts[variable].Value = text;
    shown_[variable].Value = text;
    document_.SetVariables(texts);
    PlaceSlider(variable, value);
    ScheduleRedraw();
}

void TVariables::ReadRange(std::size_t variable)
{
    const Row& row = rows_[variable];
    VariableTexts typed = shown_[variable];
    typed.Low = row.Low->text().toStdString();
    typed.High = row.High->text().toStdString();
    typed.Step = row.Step->text().toStdString();
    if (reading_ || typed == shown_[variable])
        return;
    const VariableRangeReading reading = ReadVariableRange(variable, typed);
    if (!reading.Range) {
        QLineEdit* field = reading.Part == RangePart::Low    ? row.Low
                           : reading.Part == RangePart::High ? row.High
                                                             : row.Step;
        Refuse(field, QString::fromStdString(reading.Refusal), reading.Fault, [&] {
            row.Low->setText(QString::fromStdString(shown_[variable].Low));
            row.High->setText(QString::fromStdString(shown_[variable].High));
            row.Step->setText(QString::fromStdString(shown_[variable].Step));
        });
        return;
    }
    const SliderRange range = *reading.Range;
    std::array<VariableTexts, VariableCount> texts = document_.Variables();
    texts[variable] = typed;
    shown_[variable] = typed;
    ranges_[variable] = range;
    PlotState scratch;
    std::string message;
    double value = 0.0;
    EvaluateValue(scratch, typed.Value, value, message);  // read before, so it reads again
    // A value the new range leaves out comes to its nearer end, and the
    // last press is drawn with it.
    const std::optional<std::int64_t> end = NearerEndStep(range, value);
    if (end) {
        value = SweepValue(range, *end);
        texts[variable].Value = FormulaText(value);
        shown_[variable].Value = texts[variable].Value;
        row.Value->setText(QString::fromStdString(texts[variable].Value));
    }
    document_.SetVariables(texts);
    PlaceSlider(variable, value);
    if (end)
        ScheduleRedraw();
}

void TVariables::SliderMoved(std::size_t variable, int position)
{
    const double value = SweepValue(ranges_[variable], position);
    std::array<VariableTexts, VariableCount> texts = document_.Variables();
    texts[variable].Value = FormulaText(value);
    shown_[variable].Value = texts[variable].Value;
    rows_[variable].Value->setText(QString::fromStdString(texts[variable].Value));
    document_.SetVariables(texts);
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
    // Nothing drawn yet: the next "Kresli" takes the values.
    if (!document_.HasPlane() || document_.Presses().empty())
        return;
    if (TraceRunning()) {
        ScheduleRedraw(RetryMilliseconds);
        return;
    }
    // The whole curve with the values as they stand now: what moved while
    // an earlier redraw ran is taken here, once.
    RecordedPress last = document_.Presses().back();
    last.StopAt.reset();
    last.Press.Variables = document_.Variables();
    const WindowReplay replay = RedrawLastPress(document_, last);
    if (!replay.Ran) {
        ScheduleRedraw(RetryMilliseconds);
        return;
    }
    SetStatus(replay.Results.empty() ? QString() : QString::fromStdString(EndedLine(replay.Results.back())));
}

void TVariables::ShowBeside(const QWidget& plot)
{
    if (!shownOnce_) {
        // Beside the plot window, else below it, else over it: wholly on
        // the screen, the rows scrolling when it is too low for them.
        const QRect frame = plot.frameGeometry(), inner = plot.geometry();
        frameMargins_ = QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                                 frame.right() - inner.right(), frame.bottom() - inner.bottom());
        if (plot.screen())
            setScreen(plot.screen());
        shownOnce_ = true;
        plot_ = &plot;
        FitOnScreen(frame);
    }
    show();
    raise();
    activateWindow();
}

void TVariables::ShowIfFirstUsed(const TraceTexts& texts, const QWidget& plot)
{
    if (shownByItself_)
        return;
    const std::array<bool, VariableCount> used = VariablesUsed(texts);
    if (std::none_of(used.begin(), used.end(), [](bool u) { return u; }))
        return;
    shownByItself_ = true;
    if (!isVisible())
        ShowBeside(plot);
}
