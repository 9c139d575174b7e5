// SPDX-License-Identifier: GPL-3.0-or-later
// The core's UTF-8 and JSON, read as lesson files have always been read.
// Each expected place, length and text below is what the toolkit's own
// reader and decoder gave for the same bytes; whatever strict JSON holds
// reads as nlohmann-json's own parser reads it. No Qt.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "LessonJson.h"
#include "Utf8Text.h"

namespace {

using namespace std::string_literals;

struct Utf8Row {
    const char* Name;
    std::string Bytes;
    bool Valid;           // IsUtf8
    std::size_t Units;    // Utf16Length
    std::string Written;  // ValidUtf8
};

// A failing row is named rather than dumped.
void PrintTo(const Utf8Row& row, std::ostream* out)
{
    *out << row.Name;
}

const std::string Replacement = "\xEF\xBF\xBD";

class Utf8Table : public testing::TestWithParam<Utf8Row> {};

TEST_P(Utf8Table, TakenAsTheToolkitTookIt)
{
    const Utf8Row& row = GetParam();
    EXPECT_EQ(IsUtf8(row.Bytes), row.Valid);
    EXPECT_EQ(Utf16Length(row.Bytes), row.Units);
    EXPECT_EQ(ValidUtf8(row.Bytes), row.Written);
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, Utf8Table,
    testing::Values(
        Utf8Row{"Ascii", "abc", true, 3, "abc"},
        Utf8Row{"CzechLetter", "\xC5\xBE", true, 1, "\xC5\xBE"},
        Utf8Row{"BeyondFfffTwoUnits", "\xF0\x9F\x98\x80", true, 2, "\xF0\x9F\x98\x80"},
        Utf8Row{"NoncharacterIsACharacter", "\xEF\xBF\xBF", true, 1, "\xEF\xBF\xBF"},
        Utf8Row{"ByteOrderMarkFirstNotCounted", "\xEF\xBB\xBFx", true, 1, "\xEF\xBB\xBFx"},
        Utf8Row{"OnlyTheFirstByteOrderMarkNotCounted", "\xEF\xBB\xBF\xEF\xBB\xBF", true, 1, "\xEF\xBB\xBF\xEF\xBB\xBF"},
        Utf8Row{"ByteOrderMarkLaterCounted", "x\xEF\xBB\xBF", true, 2, "x\xEF\xBB\xBF"},
        Utf8Row{"ContinuationAlone", "a\x80" "b", false, 3, "a" + Replacement + "b"},
        Utf8Row{"Overlong", "\xC0\xAF", false, 2, Replacement + Replacement},
        Utf8Row{"Surrogate", "\xED\xA0\x80", false, 3, Replacement + Replacement + Replacement},
        Utf8Row{"BeyondU10ffff", "\xF4\x90\x80\x80", false, 4, Replacement + Replacement + Replacement + Replacement},
        Utf8Row{"LeadF5", "\xF5" "a", false, 2, Replacement + "a"},
        Utf8Row{"CutShortByTheEnd", "a\xE2\x82", true, 3, "a"},
        Utf8Row{"FourBytesCutShortByTheEnd", "a\xF0\x9F\x98", true, 4, "a"},
        Utf8Row{"SurrogateCutShortByTheEnd", "a\xED\xA0", true, 3, "a"},
        Utf8Row{"CutShortBeforeALetter", "a\xE2\x82x", false, 4, "a" + Replacement + Replacement + "x"},
        Utf8Row{"LeadBeforeALetter", "a\xE2\x28", false, 3, "a" + Replacement + "("}),
    [](const testing::TestParamInfo<Utf8Row>& info) { return info.param.Name; });

struct StopRow {
    const char* Name;
    std::string Json;
    JsonError Error;
    std::size_t Offset;
};

void PrintTo(const StopRow& row, std::ostream* out)
{
    *out << row.Name;
}

class StopTable : public testing::TestWithParam<StopRow> {};

TEST_P(StopTable, StopsWhereTheToolkitStopped)
{
    const StopRow& row = GetParam();
    const JsonReading reading = ReadJson(row.Json);
    EXPECT_EQ(reading.Error, row.Error);
    EXPECT_EQ(reading.Offset, row.Offset);
    if (row.Error != JsonError::None) {
        EXPECT_TRUE(reading.Value.is_null());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Json, StopTable,
    testing::Values(
        StopRow{"MissingCommaBetweenMembers", R"({"a": 1 "b": 2})", JsonError::UnterminatedObject, 9},
        StopRow{"SingleQuote", "{'a': 1}", JsonError::UnterminatedObject, 2},
        StopRow{"CommaBeforeTheClosingBrace", R"({"a": 1,})", JsonError::MissingObject, 9},
        StopRow{"SecondDocument", "{} {}", JsonError::GarbageAtEnd, 3},
        StopRow{"MoreAfterTheEnd", "{\"a\": 1}\n\n}", JsonError::GarbageAtEnd, 10},
        StopRow{"MissingColon", R"({"a" 1})", JsonError::MissingNameSeparator, 6},
        StopRow{"MissingCommaBetweenElements", "[1 2]", JsonError::MissingValueSeparator, 4},
        StopRow{"CommaBeforeTheClosingBracket", "[1,]", JsonError::MissingObject, 4},
        StopRow{"CommaAsAValue", R"({"a": ,})", JsonError::IllegalValue, 7},
        StopRow{"NoValueBeforeTheBrace", R"({"a": })", JsonError::MissingObject, 7},
        StopRow{"CutWithinANumber", "[1", JsonError::TerminationByNumber, 2},
        StopRow{"CutAfterANumber", "[1 ", JsonError::UnterminatedArray, 3},
        StopRow{"MinusAlone", R"({"a": -})", JsonError::IllegalNumber, 7},
        StopRow{"PlusSign", R"({"a": +1})", JsonError::IllegalNumber, 6},
        StopRow{"LeadingZero", R"({"a": 01})", JsonError::UnterminatedObject, 8},
        StopRow{"ExponentWithoutDigits", R"({"a": 1e})", JsonError::IllegalNumber, 8},
        StopRow{"BeyondADouble", R"({"a": 1e400})", JsonError::IllegalNumber, 11},
        StopRow{"SoSmallItWouldBeZero", R"({"a": 1e-400})", JsonError::IllegalNumber, 12},
        StopRow{"WordMisspelt", R"({"a": tru})", JsonError::IllegalValue, 7},
        StopRow{"WordCutShort", "[nul", JsonError::IllegalValue, 2},
        StopRow{"VerticalTabForASpace", "{\"a\":\v1}", JsonError::IllegalNumber, 5},
        StopRow{"BadHexDigit", R"({"a": "\u12g4"})", JsonError::IllegalEscapeSequence, 11},
        StopRow{"EscapeCutShort", R"({"a": "\u12"})", JsonError::IllegalEscapeSequence, 11},
        StopRow{"BackslashBeforeAnAccentedLetter", "{\"a\": \"\\\xC3\xA9\"}", JsonError::IllegalUtf8String, 9},
        StopRow{"TextNotClosed", R"({"a": "abc)", JsonError::UnterminatedString, 11},
        StopRow{"TextClosedByTheLastByte", R"(["abc")", JsonError::UnterminatedString, 6},
        StopRow{"CharacterCutShortInAText", "{\"a\": \"\xC5", JsonError::IllegalUtf8String, 7},
        StopRow{"TextAtTheTop", R"("a")", JsonError::IllegalValue, 1},
        StopRow{"NumberAtTheTop", "1", JsonError::IllegalValue, 1},
        StopRow{"ByteOrderMarkAlone", "\xEF\xBB\xBF", JsonError::IllegalValue, 1},
        StopRow{"ByteOrderMarkAndASpace", "\xEF\xBB\xBF ", JsonError::IllegalValue, 4},
        StopRow{"ByteOrderMarkBeforeTheObject", "\xEF\xBB\xBF{}", JsonError::None, 0},
        StopRow{"Nested1024Deep", std::string(1024, '[') + std::string(1024, ']'), JsonError::None, 0},
        StopRow{"Nested1025Deep", std::string(1025, '[') + std::string(1025, ']'), JsonError::DeepNesting, 1025},
        StopRow{"ObjectsNested1025Deep", R"({"a":)" + [] {
            std::string nested;
            for (int i = 0; i < 1023; ++i)
                nested += R"({"a":)";
            return nested;
        }() + "{}" + std::string(1024, '}'), JsonError::DeepNesting, 5121},
        // Refused at the limit rather than followed down: no stack to run out of.
        StopRow{"Nested100000DeepUnclosed", std::string(100000, '['), JsonError::DeepNesting, 1025}),
    [](const testing::TestParamInfo<StopRow>& info) { return info.param.Name; });

nlohmann::json Read(const std::string& json)
{
    const JsonReading reading = ReadJson(json);
    EXPECT_EQ(reading.Error, JsonError::None) << json;
    return reading.Value;
}

TEST(JsonValues, TheLastOfTwoEqualKeysHolds)
{
    const nlohmann::json object = Read(R"({"a": 1, "b": 5, "a": 3})");
    EXPECT_EQ(object.size(), 2u);
    EXPECT_EQ(object["a"], 3.0);
    // Escaped, the key is the same key.
    EXPECT_EQ(Read(R"({"a": 1, "\u0061": 2})")["a"], 2.0);
}

TEST(JsonValues, NumbersAsDoublesAndZeroWithoutSign)
{
    for (const char* zero : {"-0", "-0.0", "-0e0", "0.000"}) {
        const nlohmann::json value = Read("["s + zero + "]")[0];
        ASSERT_TRUE(value.is_number()) << zero;
        EXPECT_FALSE(std::signbit(value.get<double>())) << zero;
    }
    EXPECT_EQ(Read("[-.5]")[0], -0.5);
    EXPECT_EQ(Read("[1.]")[0], 1.0);
    EXPECT_EQ(Read("[1.e5]")[0], 100000.0);
    EXPECT_EQ(Read("[9223372036854775808]")[0], 9223372036854775808.0);
    EXPECT_EQ(Read("[4e-324]")[0], 4.9406564584124654e-324);
}

TEST(JsonValues, TextsAsTheyHaveAlwaysBeenTaken)
{
    // Any escaped character stands for itself; controls pass as they are.
    EXPECT_EQ(Read(R"(["\a\'"])")[0], "a'");
    EXPECT_EQ(Read("[\"x\ty\"]")[0], "x\ty");
    // A pair is its character; half of one keeps its three bytes.
    EXPECT_EQ(Read(R"(["\ud83d\ude00"])")[0], "\xF0\x9F\x98\x80");
    EXPECT_EQ(Read(R"(["\ud800x"])")[0], "\xED\xA0\x80x");
    EXPECT_EQ(Read(R"(["\ude00\ud83d"])")[0], "\xED\xB8\x80\xED\xA0\xBD");
    // A byte order mark first is lost unless the text has an escape.
    EXPECT_EQ(Read("[\"\xEF\xBB\xBFt\"]")[0], "t");
    EXPECT_EQ(Read("[\"\xEF\xBB\xBF\xEF\xBB\xBFt\"]")[0], "\xEF\xBB\xBFt");
    EXPECT_EQ(Read("[\"\xEF\xBB\xBFt\\n\"]")[0], "\xEF\xBB\xBFt\n");
    EXPECT_EQ(Read(R"(["\ufefft"])")[0], "\xEF\xBB\xBFt");
    // A key keeps it.
    EXPECT_FALSE(Read("{\"\xEF\xBB\xBF" "a\": 1}").contains("a"));
}

// Strict JSON reads as nlohmann-json reads it; numbers compared as the
// doubles the lesson uses.
nlohmann::json AsDoubles(const nlohmann::json& value)
{
    if (value.is_number())
        return value.get<double>() == 0.0 ? 0.0 : value.get<double>();
    nlohmann::json copy = value;
    if (value.is_structured()) {
        for (auto& item : copy.items())
            item.value() = AsDoubles(item.value());
    }
    return copy;
}

// Whether nlohmann-json took it as a document; if so, it must read alike.
bool ExpectReadAsStrictJson(const std::string& json)
{
    nlohmann::json strict;
    try {
        strict = nlohmann::json::parse(json);
    } catch (const nlohmann::json::parse_error&) {
        return false;
    }
    if (!strict.is_structured())
        return false;
    const JsonReading reading = ReadJson(json);
    EXPECT_EQ(reading.Error, JsonError::None) << json;
    EXPECT_EQ(reading.Value, AsDoubles(strict)) << json;
    return true;
}

TEST(JsonValues, StrictJsonAsNlohmannReadsIt)
{
    const std::string documents[] = {
        R"({"paramcurve-lesson": 1, "panel": {"x": "t", "k-slider": ["-1", "1", "0.1"]}, "drawn": [{}, {"axes": false}]})",
        R"([1, -2, 3.5, -0.25e-3, 1E+2, 12345678901234567890, 0, true, false, null, "", [], {}])",
        R"({"escapes": "\"\\\/\b\f\n\r\t\u00e9\u20ac\ud83d\ude00", "nested": [[[{"a": [{}]}]]]})",
        "{\r\n\t\"spaces\" :\n [ 1 ,\t2 ] \r\n}",
        R"({"Czech": "žluťoučký kůň", "emoji": "😀", "a": {"b": {"c": "d"}}})",
        "[\"\xEF\xBF\xBF\", 7]",
    };
    std::size_t taken = 0;
    for (const std::string& json : documents) {
        taken += ExpectReadAsStrictJson(json);
        // With any one byte left out, which is often JSON still.
        for (std::size_t at = 0; at < json.size(); ++at)
            taken += ExpectReadAsStrictJson(json.substr(0, at) + json.substr(at + 1));
    }
    EXPECT_GT(taken, std::size(documents) * 10);
}

TEST(JsonValues, LessonCorpusAsNlohmannReadsIt)
{
    for (const char* name : {"bom", "empty", "example", "small", "newer", "byte-order-mark-first-in-a-text"}) {
        std::ifstream file(std::string(PARAMCURVE_LESSON_CORPUS) + "/" + name + ".paramcurve", std::ios::binary);
        ASSERT_TRUE(file) << name;
        const std::string json((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_TRUE(ExpectReadAsStrictJson(json)) << name;
    }
}

}  // namespace
