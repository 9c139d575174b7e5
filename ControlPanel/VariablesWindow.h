// SPDX-License-Identifier: GPL-3.0-or-later
// The third window, "Proměnné": for each variable that the panel's formulas
// use, its value, a slider over its range, the range itself and
// "Animovat"; below them "ponechat stopu" and a status line.
//
// A value or range typed is read when Enter is pressed or the field is
// left; a refused one is shown in the error box, the variable named below
// it, and the field gets its last good text back. Moving a slider (mouse,
// keys, or a screen reader setting its value) shows the value of that step
// and redraws the last press with it at once: a move schedules one redraw
// through the event loop, and moves that come while it runs only change
// the value it will take, so a redraw that cannot keep up skips values
// rather than queueing them. A redraw that fails says so in the status
// line, not in a box.
//
// Made on first use and kept until the panel goes; laid out in
// forms/Variables.ui.
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include "TracePress.h"
#include "VariableValues.h"
#include "ui_Variables.h"

class TVariables : public QWidget, public Ui::TVariables {
    Q_OBJECT

public:
    explicit TVariables(QWidget* parent = nullptr);
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

    // The last good texts of every variable, for the next press.
    std::array<VariableTexts, VariableCount> Texts() const { return texts_; }
    const SliderRange& RangeOf(std::size_t variable) const { return ranges_[variable]; }
    // Shows a press's texts as the good ones (a lesson opened). Texts that
    // cannot be read keep the default range, and their slider the middle.
    void ShowTexts(const std::array<VariableTexts, VariableCount>& texts);
    // One row for each variable `texts` use, in the order k n r s x y z; the
    // window takes the height they need.
    void ShowRowsFor(const TraceTexts& texts);
    // Shows step `index` of the variable's range as its value, slider and
    // field, without a redraw (the animation shows each frame's).
    void ShowStep(std::size_t variable, std::int64_t index);
    void SetStatus(const QString& text);

private:
    void ReadValue(std::size_t variable);
    void ReadRange(std::size_t variable);
    void Refuse(QLineEdit* field, const QString& refusal, bool fault, const std::function<void()>& restore);
    void SliderMoved(std::size_t variable, int position);
    void PlaceSlider(std::size_t variable, double value);
    void ScheduleRedraw(int delayMilliseconds = 0);
    void RedrawNow();

    std::array<Row, VariableCount> rows_;
    std::array<VariableTexts, VariableCount> texts_{};
    std::array<SliderRange, VariableCount> ranges_{};
    bool redrawScheduled_ = false;
    bool reading_ = false;  // a box of a refusal is open
};

extern TVariables* VariablesWindow;  // the one variables window, once made

// The window, made (hidden) on first use.
TVariables& EnsureVariablesWindow();
// Ctrl+R and "Proměnné…": shown, raised and given the focus; the first time
// beside the plot window where the screen has room.
void ShowVariablesWindow();
// On "Kresli": the first time in a run that the formulas use a variable the
// window shows by itself.
void ShowVariablesFirstTime(const TraceTexts& texts);
// With the panel: the window goes, and the next panel starts afresh.
void CloseVariablesWindow();
