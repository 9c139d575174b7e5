// SPDX-License-Identifier: GPL-3.0-or-later
// The image data of a GIF as bytes: LZW codes of varying width packed from
// the low bit up, the bytes in sub-blocks of at most 255 after their length,
// and an empty sub-block at the end. A sub-block goes to the sink once it is
// full and the next byte comes, so a call that ends an image's pixels may
// write the last full block and what remains.
#pragma once

#include <array>
#include <cstdint>

#include "GifFileWriter.h"

class GifCodeOutput {
public:
    explicit GifCodeOutput(const GifByteSink& sink) : sink_(sink) {}

    // Forgets what an unfinished image left.
    void Start();
    // False when a full sub-block could not be written: the byte that came
    // is lost and the block stays full, so the next byte tries again.
    bool Put(std::uint32_t code, int width);
    // The bits left over as a last byte, the sub-block not yet written and
    // the empty one that ends the data.
    bool Finish();

private:
    bool PutByte(std::uint8_t byte);

    const GifByteSink& sink_;
    std::uint32_t bits_ = 0;  // not yet whole bytes, from bit 0
    int bitCount_ = 0;
    std::array<std::uint8_t, 256> block_{};  // the length, then the bytes
};
