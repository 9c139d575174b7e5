// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifCodeOutput.h"

namespace {

constexpr std::uint8_t FullBlock = 255;

}  // namespace

void GifCodeOutput::Start()
{
    bits_ = 0;
    bitCount_ = 0;
    block_[0] = 0;
}

bool GifCodeOutput::PutByte(std::uint8_t byte)
{
    if (block_[0] == FullBlock) {
        if (!sink_(std::span<const std::uint8_t>(block_.data(), FullBlock + 1)))
            return false;
        block_[0] = 0;
    }
    block_[++block_[0]] = byte;
    return true;
}

bool GifCodeOutput::Put(std::uint32_t code, int width)
{
    bits_ |= code << bitCount_;
    bitCount_ += width;
    // Every whole byte is tried even after one is lost, so the bits stay in
    // step with the codes.
    bool written = true;
    for (; bitCount_ >= 8; bitCount_ -= 8, bits_ >>= 8)
        written = PutByte(std::uint8_t(bits_)) && written;
    return written;
}

bool GifCodeOutput::Finish()
{
    bool written = true;
    for (; bitCount_ > 0; bitCount_ -= 8, bits_ >>= 8)
        written = PutByte(std::uint8_t(bits_)) && written;
    bitCount_ = 0;
    bits_ = 0;
    if (block_[0] != 0 && !sink_(std::span<const std::uint8_t>(block_.data(), block_[0] + 1u)))
        return false;
    block_[0] = 0;
    const std::uint8_t terminator = 0;
    return sink_(std::span<const std::uint8_t>(&terminator, 1)) && written;
}
