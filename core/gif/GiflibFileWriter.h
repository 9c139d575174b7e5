// SPDX-License-Identifier: GPL-3.0-or-later
// The GIF writer through giflib, called as the GIF stream always called it.
// Where our interface asks more than giflib checks (a call before Open, a
// second screen, a table of more than 256 colours) it answers itself, as
// giflib reports the like, and leaves giflib's state alone.
#pragma once

#include <cstdint>
#include <vector>

#include "GifFileWriter.h"

struct GifFileType;

class GiflibFileWriter final : public GifFileWriter {
public:
    GiflibFileWriter() = default;
    ~GiflibFileWriter() override;
    GiflibFileWriter(const GiflibFileWriter&) = delete;
    GiflibFileWriter& operator=(const GiflibFileWriter&) = delete;

    bool Open(GifByteSink sink) override;
    bool PutScreen(int width, int height, std::span<const GifColour> colours) override;
    bool PutLoop(int repeats) override;
    bool PutFrameControl(const GifFrameControl& control) override;
    bool PutImage(int left, int top, int width, int height, std::span<const GifColour> colours) override;
    bool PutLine(std::span<const std::uint8_t> pixels) override;
    bool Close() override;

private:
    static int WriteToSink(GifFileType* gif, const std::uint8_t* bytes, int length);
    bool Result(int status);

    GifByteSink sink_;
    GifFileType* gif_ = nullptr;
    bool screenPut_ = false;
    std::vector<std::uint8_t> line_;  // giflib masks the pixels it is given in place
};
