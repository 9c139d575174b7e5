// SPDX-License-Identifier: GPL-3.0-or-later
// The plot state record shared by the whole program: the world window and its
// mapping, the formula variable slots, the parameter range, the curve colour,
// the traced points and the expression engine's error text.
//
// It is plain data with no toolkit dependency, so the expression engine can
// take it as its context and be built and tested alone. The plot window
// (TDraw2D) inherits it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct WorldPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;  // carried along, never set or read
};

// Room for the traced points of one curve.
inline constexpr std::size_t PointCapacity = 1733;

struct PlotState {
    double ScaleX = 0.0;   // pixels per world unit along x
    double ScaleY = 0.0;   // pixels per world unit along y
    double OffsetX = 0.0;  // pixel column of world x = 0
    double OffsetY = 0.0;  // pixel row of world y = 0
    double X1 = 0.0;       // world window: left, right, bottom, top
    double X2 = 0.0;
    double Y1 = 0.0;
    double Y2 = 0.0;
    double VarX = 0.0;     // formula variable slots: VarT is the curve's parameter, the
                           // others take the variables' values before each press
    double VarY = 0.0;
    double VarT = 0.0;
    double T1 = 0.0;       // parameter range and step
    double T2 = 0.0;
    double DT = 0.0;
    double VarR = 0.0;
    double VarS = 0.0;
    double VarZ = 0.0;
    double VarK = 0.0;
    double VarN = 0.0;
    std::uint8_t CurveR = 0;  // curve colour
    std::uint8_t CurveG = 0;
    std::uint8_t CurveB = 0;
    std::array<WorldPoint, PointCapacity> Points{};
    std::string ErrorText;  // last message of the expression engine; empty = no error
};

// A colour as the canvas takes it: red in the low byte.
constexpr std::int32_t ColorValue(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return red + 256 * green + 65536 * blue;
}
