// SPDX-License-Identifier: GPL-3.0-or-later
// A trace host for timing a trace alone: solid lines, no repaint, no pause.
#pragma once

#include "PressRun.h"

class SilentHost : public TraceHost {
public:
    bool Dashed() override { return false; }
    void Repaint() override {}
    void Pause() override {}
};
