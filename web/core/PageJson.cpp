// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageJson.h"

#include <cmath>
#include <cstring>

#include "HexDigit.h"
#include "LessonKeys.h"
#include "PressMessages.h"
#include "RealChars.h"
#include "RealText.h"

namespace {

// "#rrggbb" into the press; anything else leaves its colour.
void ReadColour(const Json& value, TracePress& press)
{
    if (!value.is_string())
        return;
    const std::string& text = value.get_ref<const std::string&>();
    if (text.size() != 7 || text[0] != '#')
        return;
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const int high = HexDigit(text[1 + 2 * i]);
        const int low = HexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0)
            return;
        channels[i] = high * 16 + low;
    }
    press.CurveR = std::uint8_t(channels[0]);
    press.CurveG = std::uint8_t(channels[1]);
    press.CurveB = std::uint8_t(channels[2]);
}

void ReadText(const Json& panel, const char* key, std::string& text)
{
    const auto found = panel.find(key);
    if (found != panel.end() && found->is_string())
        text = found->get<std::string>();
}

void ReadSwitch(const Json& panel, const char* key, bool& on)
{
    const auto found = panel.find(key);
    if (found != panel.end() && found->is_boolean())
        on = found->get<bool>();
}

const char* EndName(PressEnd end)
{
    switch (end) {
    case PressEnd::Completed: return "completed";
    case PressEnd::FormulaError: return "formula-error";
    case PressEnd::Fault: return "fault";
    case PressEnd::Stopped: return "stopped";
    }
    return "completed";
}

}  // namespace

std::string JsonText(const Json& value)
{
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json ParseJson(const char* text)
{
    Json value = Json::parse(text ? text : "", nullptr, false);
    return value.is_discarded() ? Json() : value;
}

TracePress PressOfJson(const Json& panel, TracePress start)
{
    TracePress press = std::move(start);
    if (!panel.is_object())
        return press;
    for (const PressField& field : PressFields)
        ReadText(panel, field.LessonKey, press.Texts.*field.Text);
    if (const auto colour = panel.find("color"); colour != panel.end())
        ReadColour(*colour, press);
    ReadSwitch(panel, "axes", press.ShowAxes);
    ReadSwitch(panel, "dashed", press.Dashed);
    ReadSwitch(panel, "keep-trace", press.KeepTrace);
    for (std::size_t i = 0; i < VariableCount; ++i) {
        VariableTexts& texts = press.Variables[i];
        ReadText(panel, PressVariables[i].LessonKey, texts.Value);
        const auto range = panel.find(PressVariables[i].RangeKey);
        if (range != panel.end() && range->is_array() && range->size() == 3 && (*range)[0].is_string() &&
            (*range)[1].is_string() && (*range)[2].is_string()) {
            texts.Low = (*range)[0].get<std::string>();
            texts.High = (*range)[1].get<std::string>();
            texts.Step = (*range)[2].get<std::string>();
        }
    }
    if (const auto t = panel.find("t-before"); t != panel.end() && t->is_string()) {
        const std::string& text = t->get_ref<const std::string&>();
        double value = 0.0;
        const auto read = RealFromChars(text.data(), text.data() + text.size(), value);
        if (read.ec == std::errc() && read.ptr == text.data() + text.size() && std::isfinite(value))
            press.TBefore = value;
    }
    return press;
}

Json PressJson(const TracePress& press)
{
    Json json = Json::object();
    for (const PressField& field : PressFields)
        json[field.LessonKey] = press.Texts.*field.Text;
    json["color"] = LessonColour(press.CurveR, press.CurveG, press.CurveB);
    json["axes"] = press.ShowAxes;
    json["dashed"] = press.Dashed;
    json["t-before"] = ShortestText(press.TBefore);
    for (std::size_t i = 0; i < VariableCount; ++i) {
        const VariableTexts& texts = press.Variables[i];
        json[PressVariables[i].LessonKey] = texts.Value;
        json[PressVariables[i].RangeKey] = Json::array({texts.Low, texts.High, texts.Step});
    }
    json["keep-trace"] = press.KeepTrace;
    return json;
}

Json FieldJson(InputField field)
{
    if (const PressVariable* variable = FindPressVariable(field))
        return std::string("variable:") + variable->Letter;
    if (const PressField* entry = FindPressField(field))
        return entry->LessonKey;
    return nullptr;
}

Json ResultJson(const PressResult& result)
{
    return Json{{"end", EndName(result.End)},
                {"message", result.Message},
                {"focus", FieldJson(result.Focus)},
                {"pointCount", result.PointCount},
                {"advice", result.Advice},
                {"adviceField", FieldJson(result.AdviceField)},
                {"text", EndedText(result)},
                {"line", EndedLine(result)}};
}

Json WindowJson(const WorldWindow& window)
{
    return Json{{"x1", FormulaText(window.X1)},
                {"x2", FormulaText(window.X2)},
                {"y1", FormulaText(window.Y1)},
                {"y2", FormulaText(window.Y2)}};
}

std::optional<std::size_t> VariableOfLetter(const char* letter)
{
    if (!letter || std::strlen(letter) != 1)
        return std::nullopt;
    for (std::size_t i = 0; i < VariableCount; ++i) {
        if (PressVariables[i].Letter == letter[0])
            return i;
    }
    return std::nullopt;
}
