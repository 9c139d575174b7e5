// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifLzwEncoder.h"

namespace {

constexpr int MaxCodes = 4096;
// The free code at which the table is cleared rather than extended.
constexpr int LastFreeCode = MaxCodes - 1;

}  // namespace

GifLzwEncoder::GifLzwEncoder(GifCodeOutput& output) : output_(output)
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
    ClearTable();  // the strings of the image before, in its rows
    codeSize_ = codeSize;
    clearCode_ = 1 << codeSize;
    width_ = codeSize + 1;
    nextCode_ = clearCode_ + 2;
    // The table grows to the widest pixels met: the stream's frames have a
    // few colours, and a small table is quickly made and stays in the cache.
    const std::size_t entries = std::size_t(MaxCodes) << codeSize;
    if (table_.size() < entries)
        table_.resize(entries, 0);
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
    if (nextCode_ >= (1 << width_))
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
        // Rows only as long as the pixels need keep a small table in the
        // cache.
        const std::uint32_t key = (std::uint32_t(current) << codeSize_) | pixel;
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
