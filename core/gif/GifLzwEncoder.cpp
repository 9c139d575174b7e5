// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifLzwEncoder.h"


namespace {

constexpr int MaxCodes = 4096;
// The free code at which the table is cleared rather than extended.
constexpr int LastFreeCode = MaxCodes - 1;

constexpr std::uint32_t Key(int prefix, std::uint8_t pixel)
{
    return (std::uint32_t(prefix) << 8) | pixel;
}

}  // namespace

GifLzwEncoder::GifLzwEncoder(GifCodeOutput& output) : output_(output), table_(std::size_t(MaxCodes) * 256, 0)
{
    used_.reserve(MaxCodes);
}

void GifLzwEncoder::ClearTable()
{
    for (const std::uint32_t key : used_)
        table_[key] = 0;
    used_.clear();
    width_ = codeSize_ + 1;
    nextCode_ = clearCode_ + 2;
}

void GifLzwEncoder::Start(int codeSize)
{
    codeSize_ = codeSize;
    clearCode_ = 1 << codeSize;
    ClearTable();
    current_ = -1;
    output_.Start();
    Send(clearCode_);  // a byte at most: it stays in the output's block
}

// The width grows after the code that is sent with the table's next free
// code out of reach, not before: that is when a decoder, one string behind,
// needs the wider codes.
bool GifLzwEncoder::Send(int code)
{
    const bool written = output_.Put(std::uint32_t(code), width_);
    if (nextCode_ >= (1 << width_) && code < MaxCodes)
        ++width_;
    return written;
}

bool GifLzwEncoder::Put(std::span<const std::uint8_t> pixels)
{
    const std::uint8_t mask = std::uint8_t(clearCode_ - 1);
    std::size_t i = 0;
    int current = current_;
    if (current < 0 && !pixels.empty())
        current = pixels[i++] & mask;
    for (; i < pixels.size(); ++i) {
        const std::uint8_t pixel = pixels[i] & mask;
        const std::uint32_t key = Key(current, pixel);
        if (const int known = table_[key]) {
            current = known;
            continue;
        }
        if (!Send(current))
            return false;
        current = pixel;
        if (nextCode_ >= LastFreeCode) {
            if (!Send(clearCode_))
                return false;
            ClearTable();
        } else {
            table_[key] = std::uint16_t(nextCode_++);
            used_.push_back(key);
        }
    }
    current_ = current;
    return true;
}

bool GifLzwEncoder::Finish()
{
    return Send(current_) && Send(clearCode_ + 1) && output_.Finish();
}
