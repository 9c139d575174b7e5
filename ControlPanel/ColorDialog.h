// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's colour dialog: it opens with its colour preselected (the panel
// sets the curve's before it opens) and takes the chosen one on confirmation.
//
// The modal chooser behind it is replaceable, so tests can answer it.
#pragma once

#include <cstdint>
#include <functional>

class QWidget;

struct ColorChoice {
    bool Confirmed;
    std::int32_t Color;  // R + 256*G + 65536*B
};

// Runs a modal chooser opened at `current`.
using ColorChooserFunction = std::function<ColorChoice(std::int32_t current)>;

// Tests put their own answer here; empty = the real QColorDialog.
extern ColorChooserFunction ColorChooser;

// The real chooser: a modal QColorDialog over `parent`.
ColorChoice RunColorDialog(std::int32_t current, QWidget* parent);

class TColorDialog {
public:
    explicit TColorDialog(QWidget* parent = nullptr) : Parent(parent) {}

    std::int32_t Color = 0;

    // True when the user confirmed; Color then holds the choice.
    bool Execute();

private:
    QWidget* Parent;
};
