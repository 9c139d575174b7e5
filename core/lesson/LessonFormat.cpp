// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "LessonJson.h"
#include "LessonKeys.h"
#include "RealText.h"
#include "Utf8Text.h"

namespace {

const std::string VersionKey = "paramcurve-lesson";
const std::string PanelKey = "panel";
const std::string DrawnKey = "drawn";

LessonReading Refused(std::string problem)
{
    LessonReading reading;
    reading.Problem = std::move(problem);
    return reading;
}

std::string Quoted(const std::string& key)
{
    return '"' + key + '"';
}

std::string JsonErrorText(JsonError error)
{
    switch (error) {
    case JsonError::UnterminatedObject: return "v objektu chybí čárka nebo }";
    case JsonError::MissingNameSeparator: return "za klíčem chybí dvojtečka";
    case JsonError::UnterminatedArray: return "v poli chybí čárka nebo ]";
    case JsonError::MissingValueSeparator: return "mezi hodnotami chybí čárka";
    case JsonError::IllegalValue: return "neplatná hodnota";
    case JsonError::TerminationByNumber: return "text končí uprostřed čísla";
    case JsonError::IllegalNumber: return "neplatné číslo";
    case JsonError::IllegalEscapeSequence: return "neplatná sekvence se zpětným lomítkem";
    case JsonError::IllegalUtf8String: return "neplatný znak v textu";
    case JsonError::UnterminatedString: return "text v uvozovkách není uzavřen";
    case JsonError::MissingObject: return "chybí hodnota";
    case JsonError::DeepNesting: return "příliš hluboké vnoření";
    case JsonError::GarbageAtEnd: return "za koncem lekce následuje další text";
    case JsonError::None: break;
    }
    return "neznámá chyba";
}

// Nothing but spaces, tabs, line and page breaks.
bool IsBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    });
}

// Whether the text ends inside a string or with a bracket still open: a
// file cut short, rather than one written wrong.
bool EndsOpen(std::string_view json)
{
    long depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : json) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return inString || depth > 0;
}

// Where the reader stopped, as a text editor counts: line and character.
std::string JsonProblem(std::string_view json, const JsonReading& reading)
{
    std::size_t offset = std::min(reading.Offset, json.size());
    if (IsBlank(json.substr(offset)) && EndsOpen(json))
        return "soubor končí předčasně, je zřejmě neúplný (" + JsonErrorText(reading.Error) + ")";
    // The reader stops just past the character it could not take, except
    // at text after the end, where it stops at it.
    if (reading.Error != JsonError::GarbageAtEnd && offset > 0)
        --offset;
    const std::string_view before = json.substr(0, offset);
    const std::size_t lineBreak = before.rfind('\n');
    const std::size_t lineStart = lineBreak == std::string_view::npos ? 0 : lineBreak + 1;
    const auto lines = std::count(before.begin(), before.end(), '\n');
    return "soubor není platný JSON: " + JsonErrorText(reading.Error) + " (řádek " + std::to_string(lines + 1)
         + ", znak " + std::to_string(Utf16Length(before.substr(lineStart)) + 1) + ")";
}

// One press object. The keys this version does not know are passed over.
std::string ReadPress(const nlohmann::json& object, bool drawn, RecordedPress& press)
{
    press = RecordedPress{StartPress(), std::nullopt, {}};
    for (const LessonKey& key : LessonKeys()) {
        if ((key.DrawnOnly && !drawn) || (key.PanelOnly && drawn))
            continue;
        const auto found = object.find(key.Name);
        if (found == object.end())
            continue;
        const std::string problem = key.Read(*found, press);
        if (!problem.empty())
            return "klíč " + Quoted(key.Name) + ": " + problem;
    }
    return std::string();
}

std::string DrawnPlace(std::size_t index)
{
    return "kreslení " + std::to_string(index + 1) + " v " + Quoted(DrawnKey);
}

std::string PressesProblem(std::size_t presses)
{
    return "lekce má " + std::to_string(presses) + " kreslení, dovoleno je nejvýš " + std::to_string(MaxLessonPresses);
}

std::string ReadBody(const nlohmann::json& root, Lesson& lesson)
{
    const auto panel = root.find(PanelKey);
    if (panel != root.end()) {
        if (!panel->is_object())
            return Quoted(PanelKey) + " má být objekt { … }";
        RecordedPress read;
        const std::string problem = ReadPress(*panel, false, read);
        if (!problem.empty())
            return Quoted(PanelKey) + ", " + problem;
        lesson.Panel = read.Press;
    }
    const auto drawn = root.find(DrawnKey);
    if (drawn == root.end())
        return std::string();
    if (!drawn->is_array())
        return Quoted(DrawnKey) + " má být pole [ … ] kreslení";
    if (drawn->size() > MaxLessonPresses)
        return PressesProblem(drawn->size());
    lesson.Drawn.reserve(drawn->size());
    for (std::size_t i = 0; i < drawn->size(); ++i) {
        const nlohmann::json& object = (*drawn)[i];
        if (!object.is_object())
            return DrawnPlace(i) + " má být objekt { … }";
        RecordedPress press;
        const std::string problem = ReadPress(object, true, press);
        if (!problem.empty())
            return DrawnPlace(i) + ", " + problem;
        lesson.Drawn.push_back(std::move(press));
    }
    return std::string();
}

// The version is looked at before anything else: a newer one may have
// changed what the rest means.
std::string VersionProblem(const nlohmann::json& root)
{
    const auto version = root.find(VersionKey);
    if (version == root.end())
        return "není to lekce programu paramcurve (chybí klíč " + Quoted(VersionKey) + ")";
    const double number = version->is_number() ? version->get<double>() : 0.0;
    if (number < 1 || number != std::floor(number))
        return "klíč " + Quoted(VersionKey) + " má být číslo verze, " + std::to_string(LessonVersion);
    if (number > LessonVersion)
        return "lekci zapsala novější verze programu paramcurve (lekce verze " + ShortestText(number)
             + "; tato verze umí číst verzi " + std::to_string(LessonVersion) + ")";
    return std::string();
}

// JSON of the few kinds of value a lesson holds, strings with every byte
// but the quote, the backslash and the controls as it is (UTF-8), and a
// slider's range as an array of texts on one line.
void AppendValue(std::string& out, const nlohmann::json& value, const char* separator = ", ")
{
    if (value.is_array()) {
        out += '[';
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (i > 0)
                out += separator;
            AppendValue(out, value[i], separator);
        }
        out += ']';
    } else if (value.is_boolean()) {
        out += value.get<bool>() ? "true" : "false";
    } else if (value.is_number()) {
        out += std::to_string(value.get<std::int64_t>());
    } else {
        out += '"';
        const std::string bytes = ValidUtf8(value.get_ref<const std::string&>());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const char byte = bytes[i];
            const auto code = static_cast<unsigned char>(byte);
            if (std::string_view(bytes).substr(i, 3) == ByteOrderMark) {
                // A text without escapes loses a byte order mark at its
                // start as it is read; escaped, it is kept.
                out += "\\ufeff";
                i += 2;
            } else if (code == '"' || code == '\\') {
                out += '\\';
                out += byte;
            } else if (code < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(code));
                out += escaped;
            } else {
                out += byte;
            }
        }
        out += '"';
    }
}

class JsonWriter {
public:
    explicit JsonWriter(LessonLayout layout) : indented_(layout == LessonLayout::Indented) {}

    void Open(char bracket)
    {
        text_ += bracket;
        ++depth_;
        first_ = true;
    }
    void Close(char bracket)
    {
        --depth_;
        if (!first_)
            NewLine();
        text_ += bracket;
        first_ = false;
    }
    // The next member or element: a comma after the one before, and the
    // name when there is one.
    void Next(const std::string* name = nullptr)
    {
        if (!first_)
            text_ += ',';
        first_ = false;
        NewLine();
        if (name) {
            AppendValue(text_, *name);
            text_ += indented_ ? ": " : ":";
        }
    }
    void Value(const nlohmann::json& value) { AppendValue(text_, value, indented_ ? ", " : ","); }
    void Press(const RecordedPress& press, bool drawn)
    {
        Open('{');
        for (const LessonKey& key : LessonKeys()) {
            if ((key.DrawnOnly && !drawn) || (key.PanelOnly && drawn))
                continue;
            if (const std::optional<nlohmann::json> value = key.Write(press)) {
                Next(&key.Name);
                Value(*value);
            }
        }
        Close('}');
    }
    std::string Text() &&
    {
        if (indented_)
            text_ += '\n';
        return std::move(text_);
    }

private:
    void NewLine()
    {
        if (indented_) {
            text_ += '\n';
            text_.append(4 * static_cast<std::size_t>(depth_), ' ');
        }
    }

    bool indented_;
    std::string text_;
    int depth_ = 0;
    bool first_ = true;
};

}  // namespace

LessonReading ReadLesson(std::string_view bytes)
{
    if (bytes.size() > MaxLessonBytes)
        return Refused("soubor je větší než 1 MiB");
    std::string_view json = bytes;
    if (json.starts_with(ByteOrderMark))
        json.remove_prefix(ByteOrderMark.size());
    if (json.find('\0') != std::string_view::npos)
        return Refused("soubor obsahuje nulový bajt, není to text");
    if (!IsUtf8(json))
        return Refused("soubor není text v kódování UTF-8");
    if (IsBlank(json))
        return Refused("soubor je prázdný");

    const JsonReading document = ReadJson(json);
    if (document.Error != JsonError::None)
        return Refused(JsonProblem(json, document));
    if (!document.Value.is_object())
        return Refused("není to lekce programu paramcurve (chybí objekt { … })");
    std::string problem = VersionProblem(document.Value);
    LessonReading reading;
    if (problem.empty())
        problem = ReadBody(document.Value, reading.Read);
    if (!problem.empty())
        return Refused(std::move(problem));
    reading.Ok = true;
    return reading;
}

std::string LessonText(const Lesson& lesson, LessonLayout layout)
{
    JsonWriter writer(layout);
    writer.Open('{');
    writer.Next(&VersionKey);
    writer.Value(LessonVersion);
    writer.Next(&PanelKey);
    writer.Press(RecordedPress{lesson.Panel, std::nullopt, {}}, false);
    writer.Next(&DrawnKey);
    writer.Open('[');
    for (const RecordedPress& press : lesson.Drawn) {
        writer.Next();
        writer.Press(press, true);
    }
    writer.Close(']');
    writer.Close('}');
    return std::move(writer).Text();
}

std::string SaveableLessonText(const Lesson& lesson, std::string& problem)
{
    problem.clear();
    if (lesson.Drawn.size() > MaxLessonPresses) {
        problem = PressesProblem(lesson.Drawn.size());
        return std::string();
    }
    std::string text = LessonText(lesson);
    if (text.size() > MaxLessonBytes)
        text = LessonText(lesson, LessonLayout::Compact);
    if (text.size() > MaxLessonBytes) {
        problem = "soubor lekce by byl větší než 1 MiB";
        return std::string();
    }
    // What is written must read back as this very lesson.
    const LessonReading back = ReadLesson(text);
    if (!back.Ok)
        problem = back.Problem;
    else if (!SameLesson(back.Read, lesson))
        problem = "lekci nelze zapsat tak, aby se přečetla stejná";
    return problem.empty() ? text : std::string();
}
