// SPDX-License-Identifier: GPL-3.0-or-later
// The LZW compression of a GIF image's pixels, making giflib's choices so the
// codes are giflib's: a clear code first; the longest string known is sent
// when a pixel would extend it past the table; a code is one bit wider from
// the code that is sent once the next free one no longer fits; when the free
// code reaches 4095 the table is not extended but cleared (the clear code
// sent at 12 bits) and the widths start over.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "GifCodeOutput.h"

class GifLzwEncoder {
public:
    explicit GifLzwEncoder(GifCodeOutput& output);

    // Starts an image of `codeSize`-bit pixels (2 to 8), with the clear code.
    void Start(int codeSize);
    // Compresses the next pixels, each taken by its low codeSize bits (as
    // giflib keeps an index beyond the table from spoiling the codes). False
    // when the output failed: the pixels after the failed code are not
    // taken, and the next call goes on from the string the failed one
    // started from.
    bool Put(std::span<const std::uint8_t> pixels);
    // Sends the string in hand, the end code, and the rest of the output.
    bool Finish();

private:
    void ClearTable();
    bool Send(int code);

    GifCodeOutput& output_;
    int codeSize_ = 2;
    int clearCode_ = 4;
    int width_ = 3;      // bits of the codes sent now
    int nextCode_ = 6;   // the code the next new string gets
    int current_ = -1;   // the string in hand, none before the first pixel
    // The code of each string known, by its prefix's code and its last
    // pixel, a row of 2^codeSize a prefix (0: not known; no string's code is
    // 0), and the entries set since the table was last cleared.
    std::vector<std::uint16_t> table_;
    std::vector<std::uint32_t> used_;
};
