// SPDX-License-Identifier: GPL-3.0-or-later
#include "Utf8Text.h"

namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

}  // namespace

Utf8Char NextUtf8(std::string_view text, std::size_t at, bool surrogates)
{
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return {Utf8Char::Valid, 1, lead};
    std::size_t length = 0;
    char32_t least = 0;
    char32_t code = 0;
    if (lead < 0xC2) {
        // A continuation byte, or the start of an overlong form.
        return {};
    } else if (lead < 0xE0) {
        length = 2;
        least = 0x80;
        code = lead & 0x1F;
    } else if (lead < 0xF0) {
        length = 3;
        least = 0x800;
        code = lead & 0x0F;
    } else if (lead < 0xF5) {
        length = 4;
        least = 0x10000;
        code = lead & 0x07;
    } else {
        return {};
    }
    const std::size_t available = text.size() - at - 1;
    if (available < length - 1) {
        // Cut short, unless a byte that is there already shows it invalid.
        for (std::size_t i = 1; i <= available; ++i) {
            if (!IsContinuation(byte(at + i)))
                return {};
        }
        return {Utf8Char::CutShort, 1, 0xFFFD};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(byte(at + i)))
            return {};
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF)
        return {};
    if (code >= 0xD800 && code <= 0xDFFF && !surrogates)
        return {};
    return {Utf8Char::Valid, length, code};
}

bool IsUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = NextUtf8(text, at);
        if (c.Is == Utf8Char::Invalid)
            return false;
        if (c.Is == Utf8Char::CutShort)
            return true;
        at += c.Length;
    }
    return true;
}

std::size_t Utf16Length(std::string_view text)
{
    if (text.starts_with(ByteOrderMark))
        text.remove_prefix(ByteOrderMark.size());
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = NextUtf8(text, at);
        units += c.Is == Utf8Char::Valid && c.Code > 0xFFFF ? 2 : 1;
        at += c.Length;
    }
    return units;
}

std::string ValidUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Char c = NextUtf8(text, at);
        if (c.Is == Utf8Char::CutShort)
            break;
        if (c.Is == Utf8Char::Valid)
            out.append(text.substr(at, c.Length));
        else
            AppendUtf8(out, 0xFFFD);
        at += c.Length;
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t code)
{
    const auto put = [&out](char32_t byte) { out += static_cast<char>(byte); };
    if (code < 0x80) {
        put(code);
    } else if (code < 0x800) {
        put(0xC0 | (code >> 6));
        put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        put(0xE0 | (code >> 12));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        put(0xF0 | (code >> 18));
        put(0x80 | ((code >> 12) & 0x3F));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    }
}
