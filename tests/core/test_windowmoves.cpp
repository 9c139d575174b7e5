// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom and pan as both front ends take them, without the toolkit: where a
// wheel's turn or a drag takes the window, where they stop and say so, and
// the bounds written into the presses and given back. Also a variable's
// range read from its three fields, with the refusal as the field shows it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "PlotDocument.h"
#include "PressTrace.h"
#include "VariableValues.h"
#include "WindowMoves.h"

namespace {

class SilentWindow : public TraceHost {
public:
    bool Dashed() override { return false; }
    void Repaint() override {}
    void Pause() override {}
};

// A plane of 500 x 500 pixels in [-4, 4] x [-4, 4].
struct Plane {
    PlotSurface Surface;
    PlotDocument Document;
    SilentWindow Window;

    Plane() : Document(Surface)
    {
        Surface.ResizePlane(500, 500);
        Surface.FillPlane(255, 255, 255);
    }

    void Press(bool axes)
    {
        TracePress press = StartPress();
        press.Texts.Segments = "20";
        press.ShowAxes = axes;
        press.TBefore = Document.NextT();
        PressTrace trace(Document, press, Window);
        ASSERT_TRUE(trace.Drive().Ok());
    }
};

double Width(const WorldWindow& window)
{
    return window.X2 - window.X1;
}

TEST(WindowMoves, NothingMovesBeforeAPress)
{
    Plane plane;
    WindowMoves moves(plane.Document);
    const WindowMove zoom = moves.Zoom(PixelPoint{250, 250}, WheelNotch);
    EXPECT_FALSE(zoom.To);
    EXPECT_FALSE(zoom.Limited);
    const WindowMove pan = moves.Pan(moves.Shown(), PixelPoint{10, 10}, PixelPoint{100, 100});
    EXPECT_FALSE(pan.To);
    EXPECT_FALSE(pan.Limited);
}

TEST(WindowMoves, ANotchZoomsByAQuarterAboutTheMouse)
{
    Plane plane;
    plane.Press(true);
    WindowMoves moves(plane.Document);
    ASSERT_EQ(moves.Shown(), (WorldWindow{-4, 4, -4, 4}));

    const WindowMove in = moves.Zoom(PixelPoint{250, 250}, WheelNotch);
    ASSERT_TRUE(in.To);
    EXPECT_FALSE(in.Limited);
    EXPECT_NEAR(Width(*in.To), 8 / 1.25, 8.0 / 500);
    // The pixel under the mouse keeps its world point: both sides shrink alike.
    EXPECT_NEAR(in.To->X1 + 4, 4 - in.To->X2, 2 * 8.0 / 500);

    const WindowMove halfOut = moves.Zoom(PixelPoint{0, 0}, -WheelNotch / 2);
    ASSERT_TRUE(halfOut.To);
    EXPECT_NEAR(Width(*halfOut.To), 8 * std::sqrt(1.25), 8.0 / 500);
    // About the top left corner: that corner stays where it is.
    EXPECT_NEAR(halfOut.To->X1, -4, 8.0 / 500);
    EXPECT_NEAR(halfOut.To->Y2, 4, 8.0 / 500);

    EXPECT_FALSE(moves.Zoom(PixelPoint{250, 250}, 0).To);
}

struct LimitCase {
    const char* Name;
    bool Axes;
    long AngleDelta;
};

class ZoomLimits : public ::testing::TestWithParam<LimitCase> {};

// A turn far beyond what works moves as far as it can, and says so.
TEST_P(ZoomLimits, StopAtTheLastWindowThatWorks)
{
    const LimitCase& c = GetParam();
    Plane plane;
    plane.Press(c.Axes);
    WindowMoves moves(plane.Document);
    // Off the origin, so that zooming in leaves it behind.
    const WindowMove move = moves.Zoom(PixelPoint{300, 200}, c.AngleDelta);
    EXPECT_TRUE(move.Limited);
    ASSERT_TRUE(move.To);
    EXPECT_NE(*move.To, moves.Shown());
    // The window reached can be drawn in, axes and all.
    PlotSurface after;
    after.ResizePlane(500, 500);
    EXPECT_TRUE(MappingWorks(after, *move.To));
    if (c.Axes) {
        EXPECT_TRUE(AxesFit(after, *move.To));
    }
}

INSTANTIATE_TEST_SUITE_P(Turns, ZoomLimits,
                         ::testing::Values(LimitCase{"InWithoutAxes", false, 300 * WheelNotch},
                                           LimitCase{"InWithAxes", true, 300 * WheelNotch},
                                           LimitCase{"OutWithAxes", true, -400 * WheelNotch},
                                           LimitCase{"OutWithoutAxes", false, -4000 * WheelNotch},
                                           LimitCase{"TheFurthestTurnOut", false, std::numeric_limits<long>::min()},
                                           LimitCase{"TheFurthestTurnIn", true, std::numeric_limits<long>::max()}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(WindowMoves, ADragMovesTheGrabbedPointUnderTheMouse)
{
    Plane plane;
    plane.Press(true);
    WindowMoves moves(plane.Document);
    const WorldWindow start = moves.Shown();
    const WindowMove move = moves.Pan(start, PixelPoint{100, 100}, PixelPoint{150, 80});
    ASSERT_TRUE(move.To);
    EXPECT_FALSE(move.Limited);
    // 50 pixels right and 20 up: the window goes 0.8 left and 0.32 down.
    EXPECT_NEAR(move.To->X1, -4.8, 1e-9);
    EXPECT_NEAR(move.To->X2, 3.2, 1e-9);
    EXPECT_NEAR(move.To->Y1, -4.32, 1e-9);
    EXPECT_NEAR(move.To->Y2, 3.68, 1e-9);
    // Back where it began: the window the plane shows, so nothing to draw.
    EXPECT_FALSE(moves.Pan(start, PixelPoint{100, 100}, PixelPoint{100, 100}).To);
}

// The y axis's column is 2147483250, under 400 pixels left of where 32 bits
// end: a drag of 480 pixels to the left would take it beyond.
TEST(WindowMoves, ADragThatTakesTheAxesBeyondTheirPixelsIsRefused)
{
    Plane plane;
    TracePress press = StartPress();
    press.Texts = {"4.294967+0.0000002*cos(t)", "0.0000002*sin(t)", "4.2949665", "4.2949675", "-0.0000005",
                   "0.0000005", "0", "2*pi", "20"};
    press.ShowAxes = true;
    press.TBefore = plane.Document.NextT();
    PressTrace trace(plane.Document, press, plane.Window);
    ASSERT_TRUE(trace.Drive().Ok());
    WindowMoves moves(plane.Document);
    const WindowMove tooFar = moves.Pan(moves.Shown(), PixelPoint{490, 250}, PixelPoint{10, 250});
    EXPECT_FALSE(tooFar.To);
    EXPECT_TRUE(tooFar.Limited);
    const WindowMove short_ = moves.Pan(moves.Shown(), PixelPoint{490, 250}, PixelPoint{370, 250});
    EXPECT_TRUE(short_.To);
    EXPECT_FALSE(short_.Limited);
}

TEST(WindowMoves, BoundsGoIntoThePressesAndBack)
{
    Plane plane;
    plane.Press(false);
    plane.Press(true);
    PressHistory presses = plane.Document.Presses();
    const std::vector<BoundTexts> before = BoundsOfPresses(presses);
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[0], (BoundTexts{"-4", "4", "-4", "4"}));

    const BoundTexts texts = WindowTexts(WorldWindow{-1.072, 0.1 + 0.2, -3, 0.0025});
    EXPECT_EQ(texts, (BoundTexts{"-1.072", "0.30000000000000004", "-3", "0.0025"}));
    SetBoundsOfPresses(presses, texts);
    EXPECT_EQ(BoundsOfPresses(presses), (std::vector<BoundTexts>{texts, texts}));

    // Fewer bounds than presses: the others keep theirs.
    SetBoundsOfPresses(presses, std::vector<BoundTexts>{before[0]});
    EXPECT_EQ(BoundsOfPresses(presses), (std::vector<BoundTexts>{before[0], texts}));
}

struct RangeCase {
    const char* Name;
    VariableTexts Typed;
    bool Read;
    RangePart Part;
    bool Fault;
    const char* RefusalHas;
};

class VariableRanges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(VariableRanges, ReadOrRefusedAsTheFieldShowsIt)
{
    const RangeCase& c = GetParam();
    const VariableRangeReading reading = ReadVariableRange(0, c.Typed);
    EXPECT_EQ(reading.Range.has_value(), c.Read);
    EXPECT_EQ(reading.Fault, c.Fault);
    if (c.Read) {
        EXPECT_TRUE(reading.Refusal.empty());
        return;
    }
    EXPECT_EQ(reading.Part, c.Part);
    EXPECT_EQ(reading.Refusal.rfind(c.RefusalHas, 0), 0u) << reading.Refusal;
    // Which variable's range it is, as every refusal of a field says.
    const std::string variable = "\nProměnná: k";
    ASSERT_GT(reading.Refusal.size(), variable.size());
    EXPECT_EQ(reading.Refusal.substr(reading.Refusal.size() - variable.size()), variable);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, VariableRanges,
    ::testing::Values(RangeCase{"Good", {"0", "0", "10", "0.5"}, true, RangePart::Low, false, ""},
                      RangeCase{"LowNoValue", {"0", "a+", "10", "1"}, false, RangePart::Low, false, ""},
                      RangeCase{"HighBelowLow", {"0", "5", "1", "1"}, false, RangePart::High, false, RangeOrderText},
                      RangeCase{"StepZero", {"0", "0", "1", "0"}, false, RangePart::Step, false, RangeStepText},
                      RangeCase{"TooManyValues", {"0", "0", "10^9", "1"}, false, RangePart::Step, false, RangeCountText},
                      RangeCase{"HighOverflows", {"0", "0", "10^308*10", "1"}, false, RangePart::High, true, ""},
                      RangeCase{"StepOverflows", {"0", "0", "1", "10^308*10"}, false, RangePart::Step, true, ""}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
