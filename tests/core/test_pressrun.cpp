// SPDX-License-Identifier: GPL-3.0-or-later
// A press run a step at a time, without the toolkit: taking the steps by
// hand (as a browser's timer does) gives what the one loop gives, and every
// way a press ends makes its result here: completed, refused, a formula
// error, a fault with its cause, stopped from outside or where its record
// says.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "LongWork.h"
#include "PlotSurface.h"
#include "PressRun.h"
#include "Presets.h"

namespace {

std::unique_ptr<PlotSurface> WhitePlane()
{
    auto surface = std::make_unique<PlotSurface>();
    surface->ResizePlane(500, 500);
    surface->FillPlane(255, 255, 255);
    return surface;
}

TracePress PressOf(const char* x, const char* y, const char* t1, const char* t2, const char* segments,
                   bool axes = true)
{
    TracePress press = StartPress();
    press.Texts.EquationX = x;
    press.Texts.EquationY = y;
    press.Texts.T1 = t1;
    press.Texts.T2 = t2;
    press.Texts.Segments = segments;
    press.ShowAxes = axes;
    return press;
}

// Answers the press's dashes; counts what it is asked and told.
class CountingHost : public TraceHost {
public:
    explicit CountingHost(bool dashed = false, int stopAfterPauses = -1)
        : dashed_(dashed), stopAfter_(stopAfterPauses)
    {
    }
    bool Dashed() override
    {
        ++DashedAsked;
        return dashed_;
    }
    void Repaint() override { ++Repaints; }
    void Pause() override
    {
        ++Pauses;
        if (Pauses == stopAfter_)
            throw EvaluationCancelled();
    }
    void PointTraced(std::size_t, double, const WorldPoint&) override { ++Points; }

    int DashedAsked = 0;
    int Repaints = 0;
    int Pauses = 0;
    int Points = 0;

private:
    bool dashed_;
    int stopAfter_;
};

struct RunCase {
    const char* Name;
    TracePress Press;
    PressEnd End;
    const char* Message;
    InputField Focus;
    std::size_t PointCount;
};

std::ostream& operator<<(std::ostream& out, const RunCase& c)
{
    return out << c.Name;
}

class RunTable : public ::testing::TestWithParam<RunCase> {};

// The steps taken one by one, with no host at all, against the one loop.
TEST_P(RunTable, StepsByHandAreTheLoop)
{
    const RunCase& c = GetParam();
    auto looped = WhitePlane();
    CountingHost host(c.Press.Dashed);
    const PressResult loopResult = RunPress(*looped, c.Press, host);

    auto stepped = WhitePlane();
    PressRun run(*stepped, c.Press);
    int steps = 0;
    while (run.Next())
        ++steps;
    EXPECT_TRUE(run.Ended());
    const PressResult& result = run.Result();

    EXPECT_EQ(result.End, c.End);
    EXPECT_EQ(result.Message, c.Message);
    EXPECT_EQ(result.Focus, c.Focus);
    EXPECT_EQ(result.PointCount, c.PointCount);
    EXPECT_EQ(std::size_t(host.Points), c.PointCount);
    EXPECT_EQ(loopResult.End, result.End);
    EXPECT_EQ(loopResult.Message, result.Message);
    EXPECT_EQ(loopResult.PointCount, result.PointCount);
    EXPECT_TRUE(looped->Plane() == stepped->Plane());
    EXPECT_EQ(looped->VarT, stepped->VarT);
    // A repaint after every step, and one more only when it completed.
    EXPECT_EQ(host.Repaints, steps + (result.Ok() ? 1 : 0));
    EXPECT_EQ(host.Pauses, steps);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, RunTable,
    ::testing::Values(
        RunCase{"start", StartPress(), PressEnd::Completed, "", InputField::None, 102},
        RunCase{"dashed", [] {
                    TracePress p = PressOf("t", "t*t", "0", "1", "4");
                    p.Dashed = true;
                    return p;
                }(), PressEnd::Completed, "", InputField::None, 6},
        RunCase{"folium stops at t = -1", PressOf("3*t/(1+t^3)", "3*t^2/(1+t^3)", "-20", "20", "40"),
                PressEnd::FormulaError, "Dělení nulou", InputField::EquationX, 19},
        RunCase{"y fails to compile", PressOf("t", "2*(3", "0", "1", "4"), PressEnd::FormulaError, "Chybny vyraz",
                InputField::EquationY, 0},
        RunCase{"a bound refused", [] {
                    TracePress p = StartPress();
                    p.Texts.X1 = "1+";
                    return p;
                }(), PressEnd::FormulaError, "Chybný výraz", InputField::X1, 0},
        RunCase{"segments refused", PressOf("t", "t", "0", "1", "x"), PressEnd::FormulaError,
                "Počet segmentů není číslo", InputField::Segments, 0},
        RunCase{"no segments", PressOf("t", "t", "0", "1", "0"), PressEnd::Fault, "Floating point division by zero.",
                InputField::None, 0},
        RunCase{"a point beyond the pixels", PressOf("exp(40*t)-1", "0", "0", "1", "4", false), PressEnd::Fault,
                "Invalid floating point operation.", InputField::None, 3}),
    [](const auto& info) {
        std::string name = info.param.Name;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(PressRun, AFaultCarriesItsCauseAndTheInputToChange)
{
    auto surface = WhitePlane();
    PressRun run(*surface, PressOf("t", "t", "0", "1", "0"));
    EXPECT_FALSE(run.Next());
    EXPECT_EQ(run.Result().End, PressEnd::Fault);
    EXPECT_EQ(run.Result().Fault, FloatFaultKind::DivisionByZero);
    EXPECT_EQ(run.Result().Advice, "Počet segmentů je 0.");
    EXPECT_EQ(run.Result().AdviceField, InputField::Segments);
    // The axes were drawn before the step was found: it began to draw.
    EXPECT_TRUE(run.BeganDrawing());
}

TEST(PressRun, ARefusedPressDrawsNothing)
{
    auto surface = WhitePlane();
    const RgbImage before = surface->Plane();
    TracePress press = StartPress();
    press.Texts.Y2 = "sqrt(-1)";
    PressRun run(*surface, press);
    EXPECT_FALSE(run.ReadInputs());
    EXPECT_FALSE(run.Next());
    EXPECT_FALSE(run.BeganDrawing());
    EXPECT_EQ(run.Result().Message, "Záporný argument odmocniny");
    EXPECT_EQ(run.Result().Focus, InputField::Y2);
    EXPECT_TRUE(surface->Plane() == before);
}

// Stopped from outside after k points, t stays at the last point traced;
// stopped where a record says, t has moved on to the point not traced, as
// the loop had advanced it before it stopped there. Both draw the same.
TEST(PressRun, StopsFromOutsideAndWhereTheRecordSays)
{
    for (std::size_t k : {0u, 1u, 7u}) {
        auto outside = WhitePlane();
        PressRun stopped(*outside, StartPress());
        EXPECT_TRUE(stopped.Begin());
        for (std::size_t i = 0; i < k; ++i)
            EXPECT_TRUE(stopped.Next());
        stopped.Stop();
        EXPECT_EQ(stopped.Result().End, PressEnd::Stopped);
        EXPECT_EQ(stopped.Result().PointCount, k);
        EXPECT_FALSE(stopped.StoppedAsRecorded());
        EXPECT_FALSE(stopped.Next());

        auto recorded = WhitePlane();
        PressRun again(*recorded, StartPress());
        again.StopAt(k);
        std::size_t steps = 0;
        while (again.Next())
            ++steps;
        EXPECT_EQ(steps, k);
        EXPECT_EQ(again.Result().End, PressEnd::Stopped);
        EXPECT_EQ(again.Result().PointCount, k);
        EXPECT_TRUE(again.StoppedAsRecorded());
        EXPECT_TRUE(outside->Plane() == recorded->Plane());
        if (k > 0) {
            EXPECT_EQ(recorded->VarT, StoreReal(Extended(outside->VarT) + outside->DT)) << k;
        }
    }
}

TEST(PressRun, AStopAtTheLastPointIsNoStop)
{
    auto surface = WhitePlane();
    PressRun run(*surface, PressOf("t", "t", "0", "1", "4"));
    run.StopAt(6);  // the press traces six points
    while (run.Next()) {
    }
    EXPECT_EQ(run.Result().End, PressEnd::Completed);
    EXPECT_EQ(run.Result().PointCount, 6u);
}

TEST(PressRun, StoppedBeforeItsInputsIsNotBegun)
{
    auto surface = WhitePlane();
    PressRun run(*surface, StartPress());
    run.Stop();
    EXPECT_TRUE(run.Ended());
    EXPECT_FALSE(run.BeganDrawing());
    EXPECT_EQ(run.Result().PointCount, 0u);
}

TEST(DriveRun, AStopInThePauseEndsTheRunThere)
{
    auto surface = WhitePlane();
    CountingHost host(false, 3);
    PressRun run(*surface, StartPress(), &host);
    EXPECT_TRUE(DriveRun(run, host));
    EXPECT_EQ(run.Result().End, PressEnd::Stopped);
    EXPECT_EQ(run.Result().PointCount, 3u);
    EXPECT_EQ(host.Points, 3);
    EXPECT_EQ(host.Repaints, 3);  // no repaint after a stop
}

TEST(DriveRun, TheHostIsAskedTheDashesAtEveryPoint)
{
    auto surface = WhitePlane();
    CountingHost host(true);
    const PressResult result = RunPress(*surface, PressOf("t", "0", "0", "1", "4", false), host);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(host.DashedAsked, 6);
    EXPECT_EQ(host.Points, 6);
    // Row 250 from column 250 (t = 0) to 328 (t = 1.25), 62.5 pixels a
    // unit: the points at columns 250, 266, 281, 297, 312 and 328. Dashed,
    // only the segments ending at points 1, 3 and 5.
    int drawn = 0;
    for (int x = 0; x < 500; ++x)
        drawn += surface->Plane().Pixel(x, 250) != 0xFFFFFF;
    EXPECT_EQ(drawn, (266 - 250) + (297 - 281) + (328 - 312));
    auto solid = WhitePlane();
    CountingHost plain(false);
    RunPress(*solid, PressOf("t", "0", "0", "1", "4", false), plain);
    int all = 0;
    for (int x = 0; x < 500; ++x)
        all += solid->Plane().Pixel(x, 250) != 0xFFFFFF;
    EXPECT_EQ(all, 328 - 250);
}

}  // namespace
