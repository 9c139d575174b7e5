// SPDX-License-Identifier: GPL-3.0-or-later
// The page's core without a browser: a press taken a step at a time as the
// worker's timer takes it; only the pixels that changed reported, once; zoom
// stopping at its limits with their words, and the way back to the fields
// it started from; a slider's range that leaves the value out bringing it
// to its nearer end; a value refused as the variables window refuses it; a
// lesson read and written again the same; Esc inside a long evaluation.
#include <gtest/gtest.h>

#include <string>

#include "LessonFormat.h"
#include "PageCore.h"

namespace {

Json Panel(const char* x = "3*cos(t)", const char* segments = "20")
{
    return Json{{"x", x}, {"y", "3*sin(t)"}, {"segments", segments}};
}

// "Kresli" to its end, a step at a time; the steps taken.
int Trace(PageCore& core, const Json& panel)
{
    int steps = 0;
    if (!core.PressBegin(panel)["ended"].get<bool>()) {
        while (!core.PressStep()["ended"].get<bool>())
            ++steps;
    }
    return steps;
}

TEST(PageCore, TracesAPressAStepAtATime)
{
    PageCore core;
    EXPECT_EQ(core.TakeChanged()["w"], 500);  // the white plane, once
    EXPECT_EQ(core.TakeChanged()["w"], 0);
    // 20 segments from 0 to 2*pi: the points 0 to 21 (the loop takes
    // t = T2 + DT too), each a step, and the step that finds the end.
    EXPECT_EQ(Trace(core, Panel()), 22);
    const Json end = core.PressEnd();
    EXPECT_EQ(end["result"]["end"], "completed");
    EXPECT_EQ(end["result"]["pointCount"], 22);
    EXPECT_EQ(end["document"]["presses"], 1);
    EXPECT_EQ(end["document"]["penCount"], 22);
    EXPECT_EQ(end["document"]["hasAnimation"], true);
    const Json changed = core.TakeChanged();
    EXPECT_GT(changed["w"].get<int>(), 0);
    EXPECT_LT(changed["w"].get<int>() * changed["h"].get<int>(), 500 * 500);  // the curve and axes, not the plane
    EXPECT_EQ(core.TakeChanged()["w"], 0);
}

TEST(PageCore, ReportsAFormulaErrorWithItsField)
{
    PageCore core;
    EXPECT_TRUE(core.PressBegin(Json{{"t2", "2**pi"}})["ended"].get<bool>());
    const Json end = core.PressEnd();
    EXPECT_EQ(end["result"]["end"], "formula-error");
    EXPECT_EQ(end["result"]["text"], "Chybny vyraz\nPole: t, konec");
    EXPECT_EQ(end["result"]["focus"], "t2");
    EXPECT_EQ(end["document"]["presses"], 0);  // refused before drawing: not kept
}

struct ZoomCase {
    const char* Name;
    double Notches;
    const char* Refusal;
};

std::ostream& operator<<(std::ostream& out, const ZoomCase& c)
{
    return out << c.Name;
}

class PageZoom : public testing::TestWithParam<ZoomCase> {};

TEST_P(PageZoom, StopsAtItsLimitWithItsWords)
{
    PageCore core;
    Trace(core, Panel());
    core.PressEnd();
    const Json fields{{"x1", "-4"}, {"x2", "4"}, {"y1", "-4"}, {"y2", "4"}};
    // About a point away from 0, where doubles run out long before the
    // denormals: some 170 notches in.
    const Json zoomed = core.Zoom(300, 200, GetParam().Notches, fields);
    EXPECT_EQ(zoomed["refusal"], GetParam().Refusal);
    ASSERT_TRUE(zoomed["window"].is_object());  // the notches that worked were drawn
    EXPECT_NE(zoomed["window"]["x1"], "-4");
    EXPECT_EQ(zoomed["document"]["change"], "window-moved");
    EXPECT_TRUE(zoomed["document"]["canReturn"].get<bool>());
    // The way back gives the fields as they were before the first zoom.
    const Json back = core.OriginalWindow();
    EXPECT_EQ(back["window"], fields);
    EXPECT_FALSE(back["document"]["canReturn"].get<bool>());
}

INSTANTIATE_TEST_SUITE_P(Limits, PageZoom,
                         testing::Values(ZoomCase{"InAsFarAsItGoes", 400, "Dál přiblížit nelze"},
                                         ZoomCase{"OutAsFarAsItGoes", -400, "Dál oddálit nelze"},
                                         ZoomCase{"ANotchAndAHalf", 1.5, ""}),
                         [](const testing::TestParamInfo<ZoomCase>& info) { return std::string(info.param.Name); });

struct RangeCase {
    const char* Name;
    const char* Value;
    const char* Low;
    const char* High;
    const char* Step;
    const char* ValueText;  // where the value comes to; none when it stays
    std::int64_t Count;
};

std::ostream& operator<<(std::ostream& out, const RangeCase& c)
{
    return out << c.Name;
}

class PageRange : public testing::TestWithParam<RangeCase> {};

TEST_P(PageRange, BringsAValueItLeavesOutToItsNearerEnd)
{
    PageCore core;
    ASSERT_TRUE(core.ReadValue("k", GetParam().Value)["ok"].get<bool>());
    const Json read = core.ReadRange("k", VariableTexts{"", GetParam().Low, GetParam().High, GetParam().Step});
    ASSERT_TRUE(read["ok"].get<bool>());
    EXPECT_EQ(read["count"], GetParam().Count);
    if (GetParam().ValueText)
        EXPECT_EQ(read["valueText"], GetParam().ValueText);
    else
        EXPECT_FALSE(read.contains("valueText"));
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, PageRange,
    testing::Values(RangeCase{"AboveTheRange", "5", "0", "1", "0.25", "1", 5},
                    RangeCase{"BelowTheRange", "-3", "-1", "1", "0.5", "-1", 5},
                    RangeCase{"WithinTheRange", "0.3", "0", "1", "0.1", nullptr, 11},
                    RangeCase{"AboveAStepThatMissesTheEnd", "9", "0", "1", "0.3", "0.9", 4}),
    [](const testing::TestParamInfo<RangeCase>& info) { return std::string(info.param.Name); });

TEST(PageCore, RefusesAValueAsTheVariablesWindowDoes)
{
    PageCore core;
    const Json variable = core.ReadValue("k", "2*t");
    EXPECT_FALSE(variable["ok"].get<bool>());
    EXPECT_EQ(variable["refusal"], "Hodnota nesmí obsahovat proměnnou\nProměnná: k");
    EXPECT_FALSE(variable["fault"].get<bool>());
    const Json overflow = core.ReadValue("r", "10^400");
    EXPECT_FALSE(overflow["ok"].get<bool>());
    EXPECT_TRUE(overflow["fault"].get<bool>());
    EXPECT_EQ(core.SliderValue("k", 103)["valueText"], "0.3");  // -10 by 0.1
}

TEST(PageCore, WritesALessonItReadTheSame)
{
    const std::string text = "{\n"
                             "    \"paramcurve-lesson\": 1,\n"
                             "    \"drawn\": [{\"x\": \"k*cos(t)\", \"segments\": \"30\", \"k\": \"2\", \"dashed\": true},\n"
                             "              {\"x\": \"t\", \"y\": \"1/(t-2)\", \"t1\": \"0\", \"t2\": \"4\", \"segments\": \"8\"}]\n"
                             "}\n";
    PageCore core;
    const Json opened = core.OpenLesson(text);
    ASSERT_TRUE(opened["ok"].get<bool>()) << opened["problem"];
    EXPECT_EQ(opened["results"].size(), 2u);
    EXPECT_EQ(opened["results"][1]["end"], "formula-error");
    EXPECT_EQ(opened["document"]["presses"], 2);
    // Saved from the panel it filled: what the desktop writes of the lesson.
    const LessonReading read = ReadLesson(text);
    ASSERT_TRUE(read.Ok);
    std::string problem;
    const std::string expected = SaveableLessonText(read.Read, problem);
    EXPECT_EQ(core.LessonText(opened["panel"])["text"], expected);
    EXPECT_FALSE(core.OpenLesson("{\"panel\": 1")["ok"].get<bool>());
}

TEST(PageCore, ReadsThePenAsTheDesktopDoes)
{
    PageCore core;
    EXPECT_EQ(core.PenReadout(0), Json::object());  // nothing traced yet
    Trace(core, Panel());
    core.PressEnd();
    // A quarter turn: x is cos(pi/2) rounded, far below a pixel, and reads 0
    // in the readout and its copy; the exact copy keeps every digit.
    const Json quarter = core.PenReadout(5);
    EXPECT_EQ(quarter["text"], "t = 1,5708   x = 0   y = 3");
    EXPECT_EQ(quarter["copy"], "1,5708\t0\t3");
    const std::string exact = quarter["copyExact"];
    EXPECT_EQ(exact.rfind("1.5707963267948966;", 0), 0u) << exact;
    EXPECT_NE(exact.find("e-16;3"), std::string::npos) << exact;
    EXPECT_EQ(core.PenReadout(22), Json::object());  // past the track
    // After "Vymaž" no window is shown: the track is gone with it.
    core.Clear();
    EXPECT_EQ(core.PenReadout(0), Json::object());
}

// Whether leaving the page would lose presses, as closing the desktop's
// windows asks: after a press, not once it is saved, again after another,
// never for a wiped plane; a lesson opened is saved, one drawn again after
// the worker was made anew is not.
TEST(PageCore, TellsWhetherLeavingWouldLosePresses)
{
    PageCore core;
    EXPECT_FALSE(core.DocumentState()["unsaved"].get<bool>());
    Trace(core, Panel());
    EXPECT_TRUE(core.PressEnd()["document"]["unsaved"].get<bool>());
    const std::string lesson = core.LessonText(Panel())["text"];
    EXPECT_FALSE(core.LessonSaved()["document"]["unsaved"].get<bool>());
    Trace(core, Panel("2*cos(t)"));
    EXPECT_TRUE(core.PressEnd()["document"]["unsaved"].get<bool>());
    EXPECT_FALSE(core.Clear()["document"]["unsaved"].get<bool>());

    EXPECT_FALSE(core.OpenLesson(lesson)["document"]["unsaved"].get<bool>());
    PageCore restarted;
    EXPECT_TRUE(restarted.OpenLesson(lesson, false)["document"]["unsaved"].get<bool>());
}

TEST(PageCore, EscStopsAnEvaluationThatTakesSeconds)
{
    int asked = 0;
    PageCore core([&asked] { return ++asked > 1; });  // Esc soon after the start
    const Json panel = Panel("1.0000001^2147483647*t", "3");
    ASSERT_FALSE(core.PressBegin(panel)["ended"].get<bool>());
    EXPECT_TRUE(core.PressStep()["ended"].get<bool>());
    const Json end = core.PressEnd();
    EXPECT_GT(asked, 1);
    EXPECT_EQ(end["result"]["end"], "stopped");
    EXPECT_EQ(end["result"]["pointCount"], 0);
    EXPECT_EQ(end["document"]["presses"], 1);  // it began to draw: its axes stay
}

}  // namespace
