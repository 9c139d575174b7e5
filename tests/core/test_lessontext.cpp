// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson's texts in the core: what a text may hold, the places named
// in messages about malformed files, and the writer's bytes. Each expected
// message and text below is what the toolkit-based reader and writer gave
// for the same input. No Qt.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "Lesson.h"
#include "LessonFormat.h"
#include "LessonKeys.h"

namespace {

const std::string LoneSurrogate = "\xED\xA0\x80";  // "\ud800" as read

struct TextRow {
    const char* Name;
    std::string Text;
    std::string Problem;
};

// A failing row is named rather than dumped.
void PrintTo(const TextRow& row, std::ostream* out)
{
    *out << row.Name;
}

class TextTable : public testing::TestWithParam<TextRow> {};

TEST_P(TextTable, RefusedAsReadingRefusedIt)
{
    EXPECT_EQ(LessonTextProblem(GetParam().Text), GetParam().Problem);
}

const std::string TooLong = "text je delší než 10000 bajtů";
const std::string NoCharacter = "text obsahuje neplatný znak";

INSTANTIATE_TEST_SUITE_P(
    Texts, TextTable,
    testing::Values(
        TextRow{"TenThousandBytes", std::string(10000, 't'), ""},
        TextRow{"OneByteMore", std::string(10001, 't'), TooLong},
        TextRow{"TenThousandBytesOfCzechLetters", [] {
            std::string text;
            for (int i = 0; i < 5000; ++i)
                text += "\xC5\xBE";
            return text;
        }(), ""},
        // Half a pair counts as the one byte it was written as, a "?".
        TextRow{"LoneSurrogateCountsOne", std::string(9999, 't') + LoneSurrogate, NoCharacter},
        TextRow{"LoneSurrogateBeyondTheCap", std::string(10000, 't') + LoneSurrogate, TooLong},
        TextRow{"LoneSurrogate", "\xED\xB0\x80", NoCharacter},
        TextRow{"ControlBeforeTheLoneSurrogate", LoneSurrogate + "\n", "text obsahuje řídicí znak (U+000a)"},
        TextRow{"Tab", "t\tt", "text obsahuje řídicí znak (U+0009)"},
        TextRow{"Nul", std::string(1, '\0'), "text obsahuje řídicí znak (U+0000)"},
        TextRow{"Delete", "t\x7f", "text obsahuje řídicí znak (U+007f)"},
        TextRow{"NextLine", "t\xC2\x85", "text obsahuje řídicí znak (U+0085)"},
        TextRow{"LastC1Control", "t\xC2\x9F", "text obsahuje řídicí znak (U+009f)"},
        TextRow{"NoBreakSpace", "t\xC2\xA0", ""},
        TextRow{"LineSeparator", "\xE2\x80\xA8", ""},
        TextRow{"BeyondFfff", "\xF0\x9F\x98\x80", ""}),
    [](const testing::TestParamInfo<TextRow>& info) { return info.param.Name; });

struct FileRow {
    const char* Name;
    std::string Bytes;
    std::string Problem;  // empty: read
};

void PrintTo(const FileRow& row, std::ostream* out)
{
    *out << row.Name;
}

class FileTable : public testing::TestWithParam<FileRow> {};

TEST_P(FileTable, MessagesAsBefore)
{
    const LessonReading reading = ReadLesson(GetParam().Bytes);
    EXPECT_EQ(reading.Problem, GetParam().Problem);
    EXPECT_EQ(reading.Ok, GetParam().Problem.empty());
}

const std::string NotJson = "soubor není platný JSON: ";

INSTANTIATE_TEST_SUITE_P(
    Files, FileTable,
    testing::Values(
        // Columns as an editor counts them: a character beyond U+FFFF twice.
        FileRow{"ColumnAfterAnEmoji", "{\"a\": \"\xF0\x9F\x98\x80\xC5\xBE\" x}",
                NotJson + "v objektu chybí čárka nebo } (řádek 1, znak 13)"},
        FileRow{"ColumnAfterCrLf", "{\"a\": 1,\r\n \"b\" 2}", NotJson + "za klíčem chybí dvojtečka (řádek 2, znak 6)"},
        FileRow{"ByteOrderMarkStartingALineNotCounted", "{\"a\": \"x\n\xEF\xBB\xBFy\" x}",
                NotJson + "v objektu chybí čárka nebo } (řádek 2, znak 4)"},
        FileRow{"CharacterCutShortByTheEnd", "{\"a\": \"\xC5", NotJson + "neplatný znak v textu (řádek 1, znak 7)"},
        FileRow{"HalfOfTheCharacterBeforeCounted", "{\"a\": \"\xC5\xBE\xC5", NotJson + "neplatný znak v textu (řádek 1, znak 9)"},
        FileRow{"TwoByteOrderMarksThenCutShort", "\xEF\xBB\xBF\xEF\xBB\xBF{x",
                "soubor končí předčasně, je zřejmě neúplný (v objektu chybí čárka nebo })"},
        FileRow{"TwoByteOrderMarksAlone", "\xEF\xBB\xBF\xEF\xBB\xBF", NotJson + "neplatná hodnota (řádek 1, znak 1)"},
        FileRow{"NestedBeyondTheLimit", R"({"paramcurve-lesson": 1, "x": )" + std::string(2000, '['),
                NotJson + "příliš hluboké vnoření (řádek 1, znak 1054)"},
        FileRow{"ColourWithALineBreakAfter", R"({"paramcurve-lesson": 1, "drawn": [{"color": "#0000c8\n"}]})", ""},
        FileRow{"ColourWithACarriageReturnAfter", R"({"paramcurve-lesson": 1, "drawn": [{"color": "#0000c8\r"}]})",
                "kreslení 1 v \"drawn\", klíč \"color\": má být barva ve tvaru #rrggbb"},
        FileRow{"VersionFarAhead", R"({"paramcurve-lesson": 1e300})",
                "lekci zapsala novější verze programu paramcurve (lekce verze 1e+300; tato verze umí číst verzi 1)"},
        FileRow{"StopWithAnExponent", R"({"paramcurve-lesson": 1, "drawn": [{"stopped-after": 17.33e2}]})", ""}),
    [](const testing::TestParamInfo<FileRow>& info) { return info.param.Name; });

TEST(LessonValues, NumbersAsBefore)
{
    const LessonReading reading = ReadLesson(
        R"({"paramcurve-lesson": 1, "panel": {"t-before": -0.0}, "drawn": [{"stopped-after": 17.33e2}, {"t-before": -.5}]})");
    ASSERT_TRUE(reading.Ok) << reading.Problem;
    // A JSON number -0 was always read as 0; only the text "-0" keeps its sign.
    EXPECT_FALSE(std::signbit(reading.Read.Panel.TBefore));
    EXPECT_EQ(reading.Read.Drawn[0].StopAt, std::optional<std::size_t>(1733));
    EXPECT_EQ(reading.Read.Drawn[1].Press.TBefore, -0.5);
}

TEST(LessonValues, EscapesAndTheLastOfTwoKeys)
{
    const LessonReading reading = ReadLesson("{\"paramcurve-lesson\": 1, \"drawn\": [{\"x\": \"\\a\\u00e9\"}], "
                                             "\"drawn\": [{\"x\": \"\xEF\xBB\xBFt\", \"y\": \"\\ufefft\"}]}");
    ASSERT_TRUE(reading.Ok) << reading.Problem;
    ASSERT_EQ(reading.Read.Drawn.size(), 1u);
    EXPECT_EQ(reading.Read.Drawn[0].Press.Texts.EquationX, "t");
    EXPECT_EQ(reading.Read.Drawn[0].Press.Texts.EquationY, "\xEF\xBB\xBFt");
}

// Every kind of value, text and byte the writer meets, written as the
// toolkit-based writer wrote them byte for byte: raw controls escaped,
// every byte order mark escaped, invalid bytes as U+FFFD, a character cut
// short by a text's end left out, DEL and C1 controls as they are.
Lesson Unusual()
{
    Lesson lesson;
    lesson.Panel.Texts.EquationX = "\xEF\xBB\xBF" "sin(t)";
    lesson.Panel.TBefore = -0.0;
    lesson.Panel.Variables[2] = {"\xEF\xBB\xBF", "-pi", "pi", "pi/100"};
    RecordedPress a{StartPress(), 0, {}};
    a.Press.Texts = {"t+\"1\"\\", "ž\tt\x01", "\x7f" "a\xC2\x85", "\xF0\x9F\x98\x80", "sin(\xEF\xBB\xBF" "t)",
                     "a\x80" "b", "c\xE2\x82", "\xED\xA0\x80", "</script>"};
    a.Press.ShowAxes = false;
    a.Press.Dashed = true;
    a.Press.CurveR = 0xE6;
    a.Press.CurveG = 0x0A;
    a.Press.CurveB = 0xFF;
    a.Press.TBefore = std::numeric_limits<double>::denorm_min();
    a.Press.Variables[0].Value = "2";
    a.Press.Variables[4] = {"0,5", "0", "1", "0.01"};
    a.Press.Variables[6] = {"0", "\n", "\"", "\xEF\xBB\xBF\xEF\xBB\xBF"};
    RecordedPress b{StartPress(), 1733, {}};
    b.Press.TBefore = std::numeric_limits<double>::max();
    RecordedPress c{StartPress(), std::nullopt, {}};
    c.Press.TBefore = 1.0 / 3.0;
    c.Press.Texts.Segments = "";
    lesson.Drawn = {a, b, c};
    return lesson;
}

TEST(LessonWriter, IndentedByteForByte)
{
    // Flush left: the indentation is the file's.
    const std::string expected = R"json({
    "paramcurve-lesson": 1,
    "panel": {
        "x": "\ufeffsin(t)",
        "y": "3*sin(t)",
        "x1": "-4",
        "x2": "4",
        "y1": "-4",
        "y2": "4",
        "t1": "0",
        "t2": "2*pi",
        "segments": "100",
        "color": "#0000c8",
        "axes": true,
        "dashed": false,
        "t-before": "-0",
        "r": "\ufeff",
        "r-slider": ["-pi", "pi", "pi/100"]
    },
    "drawn": [
        {
            "x": "t+\"1\"\\",
            "y": "ž\u0009t\u0001",
            "x1": ")json" "\x7f" R"json(a)json" "\xc2\x85" R"json(",
            "x2": "😀",
            "y1": "sin(\ufefft)",
            "y2": "a�b",
            "t1": "c",
            "t2": "���",
            "segments": "</script>",
            "color": "#e60aff",
            "axes": false,
            "dashed": true,
            "t-before": "5e-324",
            "k": "2",
            "x-value": "0,5",
            "x-slider": ["0", "1", "0.01"],
            "z-slider": ["\u000a", "\"", "\ufeff\ufeff"],
            "stopped-after": 0
        },
        {
            "x": "3*cos(t)",
            "y": "3*sin(t)",
            "x1": "-4",
            "x2": "4",
            "y1": "-4",
            "y2": "4",
            "t1": "0",
            "t2": "2*pi",
            "segments": "100",
            "color": "#0000c8",
            "axes": true,
            "dashed": false,
            "t-before": "1.7976931348623157e+308",
            "stopped-after": 1733
        },
        {
            "x": "3*cos(t)",
            "y": "3*sin(t)",
            "x1": "-4",
            "x2": "4",
            "y1": "-4",
            "y2": "4",
            "t1": "0",
            "t2": "2*pi",
            "segments": "",
            "color": "#0000c8",
            "axes": true,
            "dashed": false,
            "t-before": "0.3333333333333333"
        }
    ]
}
)json";
    EXPECT_EQ(LessonText(Unusual()), expected);
}

TEST(LessonWriter, CompactByteForByte)
{
    // One line, here broken before each press.
    const std::string expected = R"json({"paramcurve-lesson":1,"panel":{"x":"\ufeffsin(t)","y":"3*sin(t)","x1":"-4","x2":"4","y1":"-4","y2":"4","t1":"0","t2":"2*pi","segments":"100","color":"#0000c8","axes":true,"dashed":false,"t-before":"-0","r":"\ufeff","r-slider":["-pi","pi","pi/100"]},"drawn":[)json"
        R"json({"x":"t+\"1\"\\","y":"ž\u0009t\u0001","x1":")json" "\x7f" R"json(a)json" "\xc2\x85" R"json(","x2":"😀","y1":"sin(\ufefft)","y2":"a�b","t1":"c","t2":"���","segments":"</script>","color":"#e60aff","axes":false,"dashed":true,"t-before":"5e-324","k":"2","x-value":"0,5","x-slider":["0","1","0.01"],"z-slider":["\u000a","\"","\ufeff\ufeff"],"stopped-after":0},)json"
        R"json({"x":"3*cos(t)","y":"3*sin(t)","x1":"-4","x2":"4","y1":"-4","y2":"4","t1":"0","t2":"2*pi","segments":"100","color":"#0000c8","axes":true,"dashed":false,"t-before":"1.7976931348623157e+308","stopped-after":1733},)json"
        R"json({"x":"3*cos(t)","y":"3*sin(t)","x1":"-4","x2":"4","y1":"-4","y2":"4","t1":"0","t2":"2*pi","segments":"","color":"#0000c8","axes":true,"dashed":false,"t-before":"0.3333333333333333"}]})json";
    EXPECT_EQ(LessonText(Unusual(), LessonLayout::Compact), expected);
}

}  // namespace

namespace {

// "ponechat stopu" is the panel's: kept with the lesson when on, left out
// when off (so a lesson without it reads and writes as it always did), and
// an unknown key in a press that was drawn.
TEST(LessonKeepTrace, KeptWithThePanelOnly)
{
    Lesson lesson;
    lesson.Drawn.push_back(RecordedPress{StartPress(), std::nullopt, {}});
    const std::string off = LessonText(lesson);
    EXPECT_EQ(off.find("keep-trace"), std::string::npos);

    lesson.Panel.KeepTrace = true;
    const std::string on = LessonText(lesson);
    EXPECT_NE(on.find("\"keep-trace\": true"), std::string::npos);
    const LessonReading read = ReadLesson(on);
    ASSERT_TRUE(read.Ok) << read.Problem;
    EXPECT_TRUE(read.Read.Panel.KeepTrace);
    EXPECT_TRUE(SameLesson(read.Read, lesson));

    const LessonReading drawnKey = ReadLesson(
        "{\"paramcurve-lesson\": 1, \"drawn\": [{\"keep-trace\": true}], \"panel\": {\"keep-trace\": false}}");
    ASSERT_TRUE(drawnKey.Ok) << drawnKey.Problem;
    EXPECT_FALSE(drawnKey.Read.Drawn.front().Press.KeepTrace);
    EXPECT_FALSE(drawnKey.Read.Panel.KeepTrace);

    const LessonReading wrong = ReadLesson("{\"paramcurve-lesson\": 1, \"panel\": {\"keep-trace\": \"yes\"}}");
    EXPECT_FALSE(wrong.Ok);
    EXPECT_NE(wrong.Problem.find("keep-trace"), std::string::npos);
}

}  // namespace
