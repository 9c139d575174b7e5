// SPDX-License-Identifier: GPL-3.0-or-later
// Our own GIF writer, for where there is no giflib: the same bytes as
// giflib 5.2.1 writes for the same calls, and the same failures reported.
#pragma once

#include <cstdint>
#include <vector>

#include "GifCodeOutput.h"
#include "GifFileWriter.h"
#include "GifLzwEncoder.h"

class OwnGifFileWriter final : public GifFileWriter {
public:
    OwnGifFileWriter();
    ~OwnGifFileWriter() override;
    OwnGifFileWriter(const OwnGifFileWriter&) = delete;
    OwnGifFileWriter& operator=(const OwnGifFileWriter&) = delete;

    bool Open(GifByteSink sink) override;
    bool PutScreen(int width, int height, std::span<const GifColour> colours) override;
    bool PutLoop(int repeats) override;
    bool PutFrameControl(const GifFrameControl& control) override;
    bool PutImage(int left, int top, int width, int height, std::span<const GifColour> colours) override;
    bool PutLine(std::span<const std::uint8_t> pixels) override;
    bool Close() override;

private:
    bool Write(std::span<const std::uint8_t> bytes) { return sink_(bytes); }

    GifByteSink sink_;
    GifCodeOutput codes_;
    GifLzwEncoder encoder_;
    std::vector<std::uint8_t> bytes_;  // a block being made
    bool open_ = false;
    bool screenPut_ = false;
    int globalBits_ = 0;               // bits of the global table's indices; 0: none
    int codeSize_ = 2;                 // of the image being written
    std::int64_t pixelsLeft_ = 0;      // of the image being written
};
