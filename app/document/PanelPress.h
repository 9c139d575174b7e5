// SPDX-License-Identifier: GPL-3.0-or-later
// What the other windows may ask of the control panel, and nothing more: the
// press "Kresli" would make now, filling the panel with a press (a lesson
// opened), and the four fields of the world window (which a zoom rewrites).
// The panel implements it; the windows that need it are handed it.
#pragma once

#include <array>
#include <string>

#include "TracePress.h"

class PanelPress {
public:
    virtual ~PanelPress() = default;

    // The fields, the check boxes, and from the document the colour, the t
    // the last press left behind and the variables.
    virtual TracePress CurrentPress() const = 0;
    // Fills the fields and check boxes; the colour, t and variables go to
    // the document.
    virtual void ShowPress(const TracePress& press) = 0;

    // The texts of the four "Zorné pole" fields: x1, x2, y1, y2.
    virtual std::array<std::string, 4> WorldTexts() const = 0;
    virtual void ShowWorldTexts(const std::array<std::string, 4>& texts) = 0;
};
