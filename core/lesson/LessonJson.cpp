// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonJson.h"

#include <charconv>
#include <string>
#include <vector>

#include "HexDigit.h"
#include "RealChars.h"
#include "Utf8Text.h"

namespace {

bool IsJsonSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// UTF-16 units as UTF-8: a pair as its character, a lone surrogate in its
// own three bytes.
std::string FromUtf16(const std::u16string& units)
{
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00
            && units[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

void AppendUtf16(std::u16string& units, char32_t code)
{
    if (code > 0xFFFF) {
        units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
        units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
        units += static_cast<char16_t>(code);
    }
}

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    JsonReading Read()
    {
        JsonReading reading;
        if (text_.size() > ByteOrderMark.size() && text_.starts_with(ByteOrderMark))
            at_ = ByteOrderMark.size();
        const char token = NextToken();
        if (token == '{' || token == '[') {
            reading.Value = token == '{' ? nlohmann::json::object() : nlohmann::json::array();
            if (Document(reading.Value)) {
                EatSpace();
                if (at_ < text_.size())
                    error_ = JsonError::GarbageAtEnd;
            }
        } else {
            error_ = JsonError::IllegalValue;
        }
        if (error_ != JsonError::None) {
            reading.Value = nullptr;
            reading.Error = error_;
            reading.Offset = at_;
        }
        return reading;
    }

private:
    // An object or an array being filled.
    struct Open {
        nlohmann::json* Value;
        bool Object;
    };

    enum class Outcome { Failed, Done, Opened };

    // The containers, from the document down, on a stack of their own
    // rather than the call stack; `root` was opened by its bracket.
    bool Document(nlohmann::json& root)
    {
        std::vector<Open> open{{&root, root.is_object()}};
        bool entered = true;  // just past the bracket, else just past a value
        while (!open.empty()) {
            const Open top = open.back();
            nlohmann::json* slot = nullptr;
            if (entered && open.size() > MaxJsonDepth)
                return Fail(JsonError::DeepNesting);
            if (top.Object) {
                // First a key or the brace; after a member a comma and a
                // key, or the brace.
                char token = NextToken();
                if (!entered && token == ',') {
                    token = NextToken();
                    if (token == '}')
                        return Fail(JsonError::MissingObject);
                    if (token != '"')
                        return Fail(JsonError::UnterminatedObject);
                } else if (token == '}') {
                    open.pop_back();
                    entered = false;
                    continue;
                } else if (!entered || token != '"') {
                    return Fail(JsonError::UnterminatedObject);
                }
                slot = Member(*top.Value);
                if (!slot)
                    return false;
            } else {
                // First a value or the bracket; after one a comma and a
                // value, or the bracket.
                if (entered) {
                    if (!EatSpace())
                        return Fail(JsonError::UnterminatedArray);
                    if (text_[at_] == ']') {
                        NextToken();
                        open.pop_back();
                        entered = false;
                        continue;
                    }
                } else {
                    const char token = NextToken();
                    if (token == ']') {
                        open.pop_back();
                        continue;
                    }
                    if (token != ',')
                        return Fail(EatSpace() ? JsonError::MissingValueSeparator : JsonError::UnterminatedArray);
                    if (!EatSpace())
                        return Fail(JsonError::UnterminatedArray);
                }
                slot = &top.Value->emplace_back();
            }
            switch (Value(*slot)) {
            case Outcome::Failed: return false;
            case Outcome::Done: entered = false; break;
            case Outcome::Opened:
                open.push_back({slot, slot->is_object()});
                entered = true;
                break;
            }
        }
        return true;
    }

    // A key, its colon, and the place of its value; the key's opening
    // quote is read. Of a key given twice the last value holds.
    nlohmann::json* Member(nlohmann::json& object)
    {
        std::string key;
        if (!String(key))
            return nullptr;
        if (NextToken() != ':') {
            Fail(JsonError::MissingNameSeparator);
            return nullptr;
        }
        if (!EatSpace()) {
            Fail(JsonError::UnterminatedObject);
            return nullptr;
        }
        nlohmann::json& slot = object[key];
        slot = nullptr;
        return &slot;
    }

    // The value at at_ (there is one more byte at least). An object or an
    // array is only opened.
    Outcome Value(nlohmann::json& value)
    {
        switch (text_[at_++]) {
        case 'n':
            value = nullptr;
            return Word("ull") ? Outcome::Done : Outcome::Failed;
        case 't':
            value = true;
            return Word("rue") ? Outcome::Done : Outcome::Failed;
        case 'f':
            value = false;
            return Word("alse") ? Outcome::Done : Outcome::Failed;
        case '"': {
            std::string text;
            bool escaped = false;
            if (!String(text, &escaped))
                return Outcome::Failed;
            // A text without escapes always lost a byte order mark at its start.
            if (!escaped && text.starts_with(ByteOrderMark))
                text.erase(0, ByteOrderMark.size());
            value = std::move(text);
            return Outcome::Done;
        }
        case '{': value = nlohmann::json::object(); return Outcome::Opened;
        case '[': value = nlohmann::json::array(); return Outcome::Opened;
        case ',':
            Fail(JsonError::IllegalValue);
            return Outcome::Failed;
        case '}':
        case ']':
            Fail(JsonError::MissingObject);
            return Outcome::Failed;
        default:
            --at_;
            return Number(value) ? Outcome::Done : Outcome::Failed;
        }
    }

    // The rest of null, true or false. It must have a byte after it, as it
    // always does within brackets.
    bool Word(std::string_view rest)
    {
        if (text_.size() - at_ < rest.size() + 1)
            return Fail(JsonError::IllegalValue);
        for (const char c : rest) {
            if (text_[at_++] != c)
                return Fail(JsonError::IllegalValue);
        }
        return true;
    }

    bool Number(nlohmann::json& value)
    {
        const std::size_t start = at_;
        const auto skipDigits = [this] {
            while (at_ < text_.size() && IsDigit(text_[at_]))
                ++at_;
        };
        if (at_ < text_.size() && text_[at_] == '-')
            ++at_;
        if (at_ < text_.size() && text_[at_] == '0')
            ++at_;
        else
            skipDigits();
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            skipDigits();
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '-' || text_[at_] == '+'))
                ++at_;
            skipDigits();
        }
        if (at_ >= text_.size())
            return Fail(JsonError::TerminationByNumber);
        const char* first = text_.data() + start;
        const char* last = text_.data() + at_;
        double number = 0.0;
        const auto [stop, error] = RealFromChars(first, last, number, std::chars_format::general);
        // Out of range is beyond a double or so small it would be 0.
        if (error != std::errc() || stop != last)
            return Fail(JsonError::IllegalNumber);
        value = number == 0.0 ? 0.0 : number;
        return true;
    }

    // A text whose opening quote is read. Without a backslash its bytes
    // are taken as they are; with one it is read again, character by
    // character, as UTF-16 (an escaped surrogate may stand alone).
    bool String(std::string& out, bool* escapedOut = nullptr)
    {
        const std::size_t start = at_;
        bool escaped = false;
        while (at_ < text_.size() && text_[at_] != '"') {
            if (text_[at_] == '\\') {
                escaped = true;
                break;
            }
            if (!Character(nullptr))
                return false;
        }
        ++at_;
        if (at_ >= text_.size())
            return Fail(JsonError::UnterminatedString);
        if (escapedOut)
            *escapedOut = escaped;
        if (!escaped) {
            out.assign(text_.substr(start, at_ - start - 1));
            return true;
        }
        at_ = start;
        std::u16string units;
        while (at_ < text_.size() && text_[at_] != '"') {
            if (text_[at_] == '\\') {
                if (!Escape(units))
                    return Fail(JsonError::IllegalEscapeSequence);
            } else if (!Character(&units)) {
                return false;
            }
        }
        ++at_;
        if (at_ >= text_.size())
            return Fail(JsonError::UnterminatedString);
        out = FromUtf16(units);
        return true;
    }

    bool Character(std::u16string* units)
    {
        const Utf8Char c = NextUtf8(text_, at_);
        if (c.Is != Utf8Char::Valid)
            return Fail(JsonError::IllegalUtf8String);
        if (units)
            AppendUtf16(*units, c.Code);
        at_ += c.Length;
        return true;
    }

    // The backslash at at_ and what it escapes.
    bool Escape(std::u16string& units)
    {
        ++at_;
        if (at_ >= text_.size())
            return false;
        const auto escaped = static_cast<unsigned char>(text_[at_++]);
        char16_t unit = escaped;
        switch (escaped) {
        case 'b': unit = 0x08; break;
        case 'f': unit = 0x0C; break;
        case 'n': unit = 0x0A; break;
        case 'r': unit = 0x0D; break;
        case 't': unit = 0x09; break;
        case 'u':
            if (text_.size() - at_ < 4)
                return false;
            unit = 0;
            for (int i = 0; i < 4; ++i) {
                const int digit = HexDigit(text_[at_]);
                if (digit < 0)
                    return false;
                unit = static_cast<char16_t>(unit * 16 + digit);
                ++at_;
            }
            break;
        default:
            // Any other byte stands for itself, the quote, the backslash and
            // the slash among them.
            break;
        }
        units += unit;
        return true;
    }

    // Whether anything but JSON's four spaces follows.
    bool EatSpace()
    {
        while (at_ < text_.size() && IsJsonSpace(text_[at_]))
            ++at_;
        return at_ < text_.size();
    }

    // The next byte past the spaces, taken whatever it is; 0 when it is
    // not one of the structural characters or the text has ended.
    char NextToken()
    {
        if (!EatSpace())
            return 0;
        const char token = text_[at_++];
        switch (token) {
        case '[':
        case '{':
        case ':':
        case ',':
        case ']':
        case '}':
        case '"': return token;
        default: return 0;
        }
    }

    bool Fail(JsonError error)
    {
        error_ = error;
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    JsonError error_ = JsonError::None;
};

}  // namespace

JsonReading ReadJson(std::string_view text)
{
    return Reader(text).Read();
}
