// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonKeys.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "HexDigit.h"
#include "Lesson.h"
#include "PlotState.h"
#include "RealChars.h"
#include "RealText.h"
#include "Utf8Text.h"

namespace {

const std::string NotText = "má být text v uvozovkách";
const std::string NotSwitch = "má být true nebo false";

// The value's text, when it is a text that a lesson may hold.
std::string ReadText(const nlohmann::json& value, std::string& text)
{
    if (!value.is_string())
        return NotText;
    const std::string& read = value.get_ref<const std::string&>();
    std::string problem = LessonTextProblem(read);
    if (problem.empty())
        text = read;
    return problem;
}

// A field: the text as typed, whatever it says; the trace judges it.
LessonKey FieldKey(const PressField& field)
{
    const auto member = field.Text;
    return {field.LessonKey, false,
            [member](const nlohmann::json& value, RecordedPress& press) {
                return ReadText(value, press.Press.Texts.*member);
            },
            [member](const RecordedPress& press) -> std::optional<nlohmann::json> {
                return press.Press.Texts.*member;
            }};
}

LessonKey SwitchKey(const char* name, bool TracePress::*member)
{
    return {name, false,
            [member](const nlohmann::json& value, RecordedPress& press) {
                if (!value.is_boolean())
                    return NotSwitch;
                press.Press.*member = value.get<bool>();
                return std::string();
            },
            [member](const RecordedPress& press) -> std::optional<nlohmann::json> {
                return press.Press.*member;
            }};
}

// "#rrggbb" in either case. A line break after it is taken too, as it
// always was (the pattern's end matched before a final line break).
std::string ReadColour(const nlohmann::json& value, RecordedPress& press)
{
    const std::string problem = "má být barva ve tvaru #rrggbb";
    if (!value.is_string())
        return problem;
    const std::string& text = value.get_ref<const std::string&>();
    if (!(text.size() == 7 || (text.size() == 8 && text[7] == '\n')) || text[0] != '#')
        return problem;
    std::uint8_t channels[3];
    for (int i = 0; i < 3; ++i) {
        const int high = HexDigit(text[1 + 2 * i]);
        const int low = HexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0)
            return problem;
        channels[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    press.Press.CurveR = channels[0];
    press.Press.CurveG = channels[1];
    press.Press.CurveB = channels[2];
    return std::string();
}

// Written as text, so that every double comes back exactly, -0 included;
// a number is taken too, as a script may well write one.
std::string ReadTBefore(const nlohmann::json& value, RecordedPress& press)
{
    const std::string problem = "má být konečné číslo, např. \"6.28\"";
    double t = 0.0;
    if (value.is_number()) {
        t = value.get<double>();
    } else if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        const char* end = text.data() + text.size();
        const auto [stop, error] = RealFromChars(text.data(), end, t, std::chars_format::general);
        if (text.empty() || error != std::errc() || stop != end)
            return problem;
    } else {
        return problem;
    }
    if (!std::isfinite(t))
        return problem;
    press.Press.TBefore = t;
    return std::string();
}

// A press can have drawn no more points than its buffer holds.
std::string ReadStoppedAfter(const nlohmann::json& value, RecordedPress& press)
{
    const double points = value.is_number() ? value.get<double>() : -1.0;
    if (points < 0 || points > double(PointCapacity) || points != std::floor(points))
        return "má být celé číslo od 0 do " + std::to_string(PointCapacity);
    press.StopAt = static_cast<std::size_t>(points);
    return std::string();
}

// A variable's value as typed; left out while it is the default "0".
LessonKey VariableKey(std::size_t index)
{
    return {PressVariables[index].LessonKey, false,
            [index](const nlohmann::json& value, RecordedPress& press) {
                return ReadText(value, press.Press.Variables[index].Value);
            },
            [index](const RecordedPress& press) -> std::optional<nlohmann::json> {
                const std::string& text = press.Press.Variables[index].Value;
                if (text == VariableTexts{}.Value)
                    return std::nullopt;
                return text;
            }};
}

// A variable's slider range as three texts, [low, high, step]; left out
// while it is the default.
LessonKey RangeKey(std::size_t index)
{
    return {PressVariables[index].RangeKey, false,
            [index](const nlohmann::json& value, RecordedPress& press) {
                const std::string shape
                    = "má být tři texty v hranatých závorkách, např. [\"-10\", \"10\", \"0.1\"]";
                if (!value.is_array() || value.size() != 3)
                    return shape;
                std::string texts[3];
                for (std::size_t i = 0; i < 3; ++i) {
                    if (!value[i].is_string())
                        return shape;
                    const std::string problem = ReadText(value[i], texts[i]);
                    if (!problem.empty())
                        return problem;
                }
                VariableTexts& range = press.Press.Variables[index];
                range.Low = std::move(texts[0]);
                range.High = std::move(texts[1]);
                range.Step = std::move(texts[2]);
                return std::string();
            },
            [index](const RecordedPress& press) -> std::optional<nlohmann::json> {
                const VariableTexts& texts = press.Press.Variables[index];
                const VariableTexts defaults;
                if (texts.Low == defaults.Low && texts.High == defaults.High && texts.Step == defaults.Step)
                    return std::nullopt;
                return nlohmann::json::array({texts.Low, texts.High, texts.Step});
            }};
}

}  // namespace

const std::vector<LessonKey>& LessonKeys()
{
    static const std::vector<LessonKey> keys = [] {
        std::vector<LessonKey> table;
        for (const PressField& field : PressFields)
            table.push_back(FieldKey(field));
        table.push_back({"color", false, ReadColour, [](const RecordedPress& press) {
                             const TracePress& p = press.Press;
                             return std::optional<nlohmann::json>(LessonColour(p.CurveR, p.CurveG, p.CurveB));
                         }});
        table.push_back(SwitchKey("axes", &TracePress::ShowAxes));
        table.push_back(SwitchKey("dashed", &TracePress::Dashed));
        table.push_back({"t-before", false, ReadTBefore, [](const RecordedPress& press) {
                             return std::optional<nlohmann::json>(ShortestText(press.Press.TBefore));
                         }});
        for (std::size_t i = 0; i < VariableCount; ++i) {
            table.push_back(VariableKey(i));
            table.push_back(RangeKey(i));
        }
        LessonKey keepTrace = SwitchKey("keep-trace", &TracePress::KeepTrace);
        const auto writeSwitch = keepTrace.Write;
        // Written only when on, so a lesson without it is as it always was.
        keepTrace.Write = [writeSwitch](const RecordedPress& press) -> std::optional<nlohmann::json> {
            if (!press.Press.KeepTrace)
                return std::nullopt;
            return writeSwitch(press);
        };
        keepTrace.PanelOnly = true;
        table.push_back(std::move(keepTrace));
        table.push_back({"stopped-after", true, ReadStoppedAfter,
                         [](const RecordedPress& press) -> std::optional<nlohmann::json> {
                             if (!press.StopAt)
                                 return std::nullopt;
                             return static_cast<std::int64_t>(*press.StopAt);
                         }});
        return table;
    }();
    return keys;
}

std::string LessonTextProblem(std::string_view text)
{
    std::size_t bytes = text.size();
    bool invalid = false;
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = NextUtf8(text, at, true);
        if (c.Is == Utf8Char::Valid && c.Code >= 0xD800 && c.Code <= 0xDFFF) {
            // A surrogate alone was always counted as one byte, a "?".
            bytes -= 2;
            invalid = true;
        } else if (c.Is != Utf8Char::Valid) {
            invalid = true;
        }
        at += c.Length;
    }
    if (bytes > MaxLessonTextBytes)
        return "text je delší než " + std::to_string(MaxLessonTextBytes) + " bajtů";
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = NextUtf8(text, at, true);
        if (c.Is == Utf8Char::Valid && (c.Code < 0x20 || (c.Code >= 0x7F && c.Code < 0xA0))) {
            char code[8];
            std::snprintf(code, sizeof code, "%04x", unsigned(c.Code));
            return std::string("text obsahuje řídicí znak (U+") + code + ")";
        }
        at += c.Length;
    }
    if (invalid)
        return "text obsahuje neplatný znak";
    return std::string();
}

std::string LessonColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(red), unsigned(green), unsigned(blue));
    return text;
}
