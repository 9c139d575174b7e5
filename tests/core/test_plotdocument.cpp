// SPDX-License-Identifier: GPL-3.0-or-later
// The document that owns what the plot shows, without the toolkit: each
// change is told exactly once and as what it is, a press traced by hand is
// kept however it ends (but not when refused), drawing again keeps the
// colour and t of the press to come, and the pen's track follows the last
// press that drew points.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "PlotDocument.h"
#include "PressReplay.h"
#include "PressTrace.h"

namespace {

struct Told : PlotListener {
    std::vector<PressesChange> Changes;
    int PenMoves = 0;
    int Animations = 0;
    int NextPress = 0;
    void PressesChanged(PressesChange change) override { Changes.push_back(change); }
    void PenMoved() override { ++PenMoves; }
    void AnimationKept() override { ++Animations; }
    void NextPressChanged() override { ++NextPress; }
};

class SilentWindow : public TraceHost {
public:
    bool Dashed() override { return false; }
    void Repaint() override { ++Repaints; }
    void Pause() override {}
    int Repaints = 0;
};

struct Fixture {
    PlotSurface Plane;
    PlotDocument Document;
    Told News;
    SilentWindow Window;

    Fixture() : Document(Plane)
    {
        Plane.ResizePlane(500, 500);
        Plane.FillPlane(255, 255, 255);
        Document.SetColour(0, 0, 200);
        Document.AddListener(&News);
    }
    ~Fixture() { Document.RemoveListener(&News); }

    // "Kresli" with these texts and the document's colour, t and variables.
    PressResult Press(TracePress press)
    {
        press.TBefore = Document.NextT();
        press.CurveR = 0;
        press.CurveG = 0;
        press.CurveB = 200;
        PressTrace trace(Document, press, Window);
        return trace.Drive();
    }
};

TracePress Curve(const char* x, const char* y, const char* segments = "20")
{
    TracePress press = StartPress();
    press.Texts.EquationX = x;
    press.Texts.EquationY = y;
    press.Texts.Segments = segments;
    return press;
}

TEST(PlotDocument, APressByHandIsKeptAndTold)
{
    Fixture f;
    EXPECT_TRUE(f.Press(Curve("3*cos(t)", "3*sin(t)")).Ok());
    ASSERT_EQ(f.Document.Presses().size(), 1u);
    EXPECT_EQ(f.News.Changes, std::vector<PressesChange>{PressesChange::Added});
    EXPECT_EQ(f.News.PenMoves, 22);  // a point at a time
    EXPECT_EQ(f.Document.PenTrack().size(), 22u);
    EXPECT_EQ(f.News.Animations, 1);
    ASSERT_TRUE(f.Document.LastAnimation());
    EXPECT_TRUE(f.Document.LastAnimation()->Message.empty());
    EXPECT_EQ(f.Document.LastAnimation()->Bytes.substr(0, 6), "GIF89a");
    EXPECT_TRUE(f.Document.PlaneBeforeLast().has_value());
}

struct EndCase {
    const char* Name;
    TracePress Press;
    bool Kept;
    PressEnd End;
};

std::ostream& operator<<(std::ostream& out, const EndCase& c)
{
    return out << c.Name;
}

class EndTable : public ::testing::TestWithParam<EndCase> {};

// Kept however it ended, once it got past reading its inputs.
TEST_P(EndTable, KeptUnlessRefused)
{
    const EndCase& c = GetParam();
    Fixture f;
    const PressResult result = f.Press(c.Press);
    EXPECT_EQ(result.End, c.End);
    EXPECT_EQ(f.Document.Presses().size(), c.Kept ? 1u : 0u);
    EXPECT_EQ(f.News.Changes.size(), c.Kept ? 1u : 0u);
    EXPECT_EQ(f.News.Animations, c.Kept ? 1 : 0);
    if (c.Kept) {
        EXPECT_EQ(f.Document.Presses().back().Result.End, c.End);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ends, EndTable,
    ::testing::Values(EndCase{"completed", Curve("t", "t"), true, PressEnd::Completed},
                      EndCase{"a formula error in the loop", Curve("1/t", "t", "8"), true, PressEnd::FormulaError},
                      EndCase{"a formula that does not compile", Curve("t+", "sin t"), true, PressEnd::FormulaError},
                      EndCase{"a fault of the step", Curve("t", "t", "0"), true, PressEnd::Fault},
                      EndCase{"a refused segment count", Curve("t", "t", "2000"), false, PressEnd::FormulaError},
                      EndCase{"a refused bound", [] {
                                  TracePress p = Curve("t", "t");
                                  p.Texts.T2 = "ln(0)";
                                  return p;
                              }(), false, PressEnd::FormulaError}),
    [](const auto& info) {
        std::string name = info.param.Name;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(PlotDocument, EachChangeIsToldAsWhatItIs)
{
    Fixture f;
    f.Press(Curve("3*cos(t)", "3*sin(t)"));
    f.Press(Curve("2*cos(t)", "2*sin(t)"));
    f.News.Changes.clear();

    RecordedPress last = f.Document.Presses().back();
    last.Press.Texts.EquationX = "cos(t)";
    f.Document.RedrawLast(last, f.Window);
    PressHistory presses = f.Document.Presses();
    f.Document.DrawAnew(presses, f.Window, PressesChange::WindowMoved);
    f.Document.DrawAnew(presses, f.Window);
    f.Document.Wipe();
    f.Document.RedrawLast(last, f.Window);  // nothing drawn yet: one press more
    EXPECT_EQ(f.News.Changes,
              (std::vector<PressesChange>{PressesChange::LastReplaced, PressesChange::WindowMoved,
                                          PressesChange::AllReplaced, PressesChange::Cleared,
                                          PressesChange::Added}));
    EXPECT_EQ(f.Document.Presses().size(), 1u);
}

// The last press drawn again over the plane before it equals drawing the
// whole list anew with that press last.
TEST(PlotDocument, RedrawingTheLastKeepsTheOthers)
{
    Fixture f;
    f.Press(Curve("3*cos(t)", "3*sin(t)"));
    f.Press(Curve("2*cos(t)", "2*sin(t)"));
    RecordedPress last = f.Document.Presses().back();
    last.Press.Texts.EquationY = "sin(2*t)";
    f.Document.RedrawLast(last, f.Window);
    const RgbImage redrawn = f.Plane.Plane();

    Fixture g;
    PressHistory list = f.Document.Presses();
    g.Document.DrawAnew(list, g.Window);
    EXPECT_TRUE(redrawn == g.Plane.Plane());
}

TEST(PlotDocument, DrawingAgainKeepsTheColourAndTOfThePressToCome)
{
    Fixture f;
    f.Press(Curve("3*cos(t)", "3*sin(t)"));
    f.Document.SetColour(10, 20, 30);
    f.Document.SetNextT(-7.5);
    PressHistory presses = f.Document.Presses();
    f.Document.DrawAnew(presses, f.Window);
    EXPECT_EQ(f.Document.Colour(), ColorValue(10, 20, 30));
    EXPECT_EQ(f.Document.NextT(), -7.5);
}

// A last press without points leaves the track to the press before that
// drew any: its points, as tracing it alone gives them.
TEST(PlotDocument, ThePenStaysOnTheLastPressThatDrewPoints)
{
    Fixture f;
    f.Press(Curve("3*cos(t)", "3*sin(t)"));
    const std::vector<PenPoint> circle = f.Document.PenTrack();
    f.Press(Curve("2*cos(t)", "2*sin(t)"));
    RecordedPress failing = f.Document.Presses().back();
    failing.Press.Texts.EquationX = "1/(t-t)";
    const DrawnPress drawn = f.Document.RedrawLast(failing, f.Window);
    EXPECT_EQ(drawn.Record.Result.PointCount, 0u);
    ASSERT_EQ(f.Document.PenTrack().size(), circle.size());
    for (std::size_t i = 0; i < circle.size(); ++i) {
        EXPECT_EQ(f.Document.PenTrack()[i].X, circle[i].X);
        EXPECT_EQ(f.Document.PenTrack()[i].Y, circle[i].Y);
    }
}

TEST(PlotDocument, AWipeClearsEverythingButTheNextPress)
{
    Fixture f;
    f.Press(Curve("3*cos(t)", "3*sin(t)"));
    f.Document.Wipe();
    EXPECT_TRUE(f.Document.Presses().empty());
    EXPECT_TRUE(f.Document.PenTrack().empty());
    EXPECT_FALSE(f.Document.PlaneBeforeLast().has_value());
    EXPECT_TRUE(f.Document.LastAnimation());  // "Uložit animaci…" still saves it
    RgbImage white(500, 500);
    EXPECT_TRUE(f.Plane.Plane() == white);
}

// What closing the program would lose: presses that differ from those a
// lesson last held, including where a press was stopped; a wiped plane
// loses nothing.
TEST(PlotDocument, UnsavedAreThePressesALessonDoesNotHold)
{
    Fixture f;
    EXPECT_FALSE(f.Document.Unsaved());
    f.Press(Curve("3*cos(t)", "3*sin(t)"));
    EXPECT_TRUE(f.Document.Unsaved());
    f.Document.MarkSaved(f.Document.Presses());
    EXPECT_FALSE(f.Document.Unsaved());

    PressHistory stopped = f.Document.Presses();
    stopped.back().StopAt = 5;
    f.Document.MarkSaved(stopped);
    EXPECT_TRUE(f.Document.Unsaved());

    f.Document.MarkSaved(f.Document.Presses());
    f.Press(Curve("2*cos(t)", "2*sin(t)"));
    EXPECT_TRUE(f.Document.Unsaved());
    RecordedPress last = f.Document.Presses().back();
    f.Document.MarkSaved(f.Document.Presses());
    last.Press.Texts.EquationY = "sin(2*t)";
    f.Document.RedrawLast(last, f.Window);
    EXPECT_TRUE(f.Document.Unsaved());

    f.Document.Wipe();
    EXPECT_FALSE(f.Document.Unsaved());
}

TEST(PlotDocument, VariablesAreToldOnlyWhenTheyChange)
{
    Fixture f;
    std::array<VariableTexts, VariableCount> values = f.Document.Variables();
    f.Document.SetVariables(values);
    EXPECT_EQ(f.News.NextPress, 0);
    values[0].Value = "2";
    f.Document.SetVariables(values);
    EXPECT_EQ(f.News.NextPress, 1);
    EXPECT_EQ(f.Document.Variables()[0].Value, "2");
}

}  // namespace
