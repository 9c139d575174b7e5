// SPDX-License-Identifier: GPL-3.0-or-later
// The third window, "Proměnné": for each variable that the panel's formulas
// use, its value, a slider over its range, the range itself and
// "Animovat"; below them "ponechat stopu" and a status line.
//
// The values and ranges are the document's (the next press takes them); the
// window shows them and changes them. A value or range typed is read when
// Enter is pressed or the field is left; a refused one is shown in the error
// box, the variable named below it, and the field gets its last good text
// back. Moving a slider (mouse, keys, or a screen reader setting its value)
// shows the value of that step and redraws the last press with it at once:
// a move schedules one redraw through the event loop, and moves that come
// while it runs only change the value it will take, so a redraw that cannot
// keep up skips values rather than queueing them. A redraw that fails says
// so in the status line, not in a box.
//
// Laid out in forms/Variables.ui, with one row of forms/VariableRow.ui for
// each variable.
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "PanelPress.h"
#include "PlotDocument.h"
#include "TracePress.h"
#include "VariableValues.h"
#include "ui_VariableRow.h"
#include "ui_Variables.h"

// One variable's row, its captions and names made for its letter.
class TVariableRow : public QWidget, public Ui::TVariableRow {
    Q_OBJECT
public:
    TVariableRow(char letter, QWidget* parent);
};

class TVariables : public QWidget, public Ui::TVariables {
    Q_OBJECT

public:
    // `panel` gives the press to animate while nothing is drawn.
    TVariables(PlotDocument& document, PanelPress& panel, QWidget* parent = nullptr);
    ~TVariables() override;

    // The controls of one variable's row.
    struct Row {
        QWidget* Box = nullptr;
        QLineEdit* Value = nullptr;
        QSlider* Slider = nullptr;
        QLineEdit* Low = nullptr;
        QLineEdit* High = nullptr;
        QLineEdit* Step = nullptr;
        QPushButton* Animate = nullptr;
    };
    const Row& RowOf(std::size_t variable) const { return rows_[variable]; }

    // The last good texts of every variable: the document's.
    const std::array<VariableTexts, VariableCount>& Texts() const { return document_.Variables(); }
    const SliderRange& RangeOf(std::size_t variable) const { return ranges_[variable]; }
    // One row for each variable `texts` use, in the order k n r s x y z; the
    // window takes the height they need where the screen has it, else the
    // rows scroll.
    void ShowRowsFor(const TraceTexts& texts);
    // Step `index` of the variable's range as its value, in the document,
    // the slider and the field, without a redraw (the animation shows each
    // frame's).
    void ShowStep(std::size_t variable, std::int64_t index);
    void SetStatus(const QString& text);

    // Ctrl+R and "Proměnné…": shown, raised and given the focus; the first
    // time beside `plot`, below or over it: wholly on its screen.
    void ShowBeside(const QWidget& plot);
    // On "Kresli": the first time that the formulas use a variable, the
    // window shows by itself.
    void ShowIfFirstUsed(const TraceTexts& texts, const QWidget& plot);

    PlotDocument& Document() { return document_; }
    PanelPress& Panel() { return panel_; }

private:
    // Fields and sliders from the document's texts, where they differ from
    // what is shown. Texts that cannot be read keep the default range, and
    // their slider the middle.
    void ShowDocumentTexts();
    void ReadValue(std::size_t variable);
    void ReadRange(std::size_t variable);
    void Refuse(QLineEdit* field, const QString& refusal, bool fault, const std::function<void()>& restore);
    void SliderMoved(std::size_t variable, int position);
    void PlaceSlider(std::size_t variable, double value);
    void SetText(std::size_t variable, const VariableTexts& texts);
    void ScheduleRedraw(int delayMilliseconds = 0);
    // The rows' area `rowsShown` pixels high (a scroll bar when lower than
    // the rows) and the window around it.
    void LayOut(int rowsShown);
    // Laid out and moved onto the screen's available area: beside the frame
    // `beside`; else where it is while it fits there, else beside the plot
    // window again.
    void FitOnScreen(const std::optional<QRect>& beside);
    QMargins FrameMargins() const;
    void RedrawNow();

    PlotDocument& document_;
    PanelPress& panel_;
    std::array<Row, VariableCount> rows_;
    std::array<VariableTexts, VariableCount> shown_{};  // what the fields show as good
    std::array<SliderRange, VariableCount> ranges_{};
    bool redrawScheduled_ = false;
    bool reading_ = false;  // a box of a refusal is open
    bool shownOnce_ = false;      // placed beside the plot window
    int rowsHeight_ = 0;          // of all the rows shown
    QMargins frameMargins_;       // the plot window's, until this one has its own
    const QWidget* plot_ = nullptr;  // shown beside it
    bool shownByItself_ = false;  // after a "Kresli" that uses a variable
};
