// SPDX-License-Identifier: GPL-3.0-or-later
// The world-to-pixel mapping of the plane as four stored coefficients, so a
// drawing can be mapped again later exactly as it was drawn: rounded to whole
// pixels for the bitmap, or kept fractional for vector output.
#pragma once

#include <cstdint>

#include "RealArith.h"

struct PlaneMapping {
    double ScaleX = 0.0;
    double ScaleY = 0.0;
    double OffsetX = 0.0;
    double OffsetY = 0.0;

    // The pixel position before rounding, in extended precision.
    Extended PixelX(double x) const { return Extended(ScaleX) * Extended(x) + Extended(OffsetX); }
    Extended PixelY(double y) const { return Extended(OffsetY) - Extended(ScaleY) * Extended(y); }

    // Rounded to the nearest pixel, ties to even; beyond the 32-bit range the
    // invalid-operation fault.
    std::int32_t ScreenX(double x) const { return RoundToInt32(PixelX(x)); }
    std::int32_t ScreenY(double y) const { return RoundToInt32(PixelY(y)); }

    bool operator==(const PlaneMapping&) const = default;
};
