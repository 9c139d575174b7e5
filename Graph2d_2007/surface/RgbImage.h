// SPDX-License-Identifier: GPL-3.0-or-later
// A 24-bit picture in memory, the plane's bitmap: width x height pixels of
// three bytes each, red, green, blue, rows BytesPerLine() apart (a multiple
// of four bytes, so that a window or a browser can show the rows as they
// are). A value: copies are deep.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "PixelGeometry.h"

class RgbImage {
public:
    RgbImage() = default;
    // Every pixel white.
    RgbImage(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelSize Size() const { return {width_, height_}; }
    PixelRect Rect() const { return {0, 0, width_, height_}; }
    bool IsNull() const { return width_ <= 0 || height_ <= 0; }
    std::ptrdiff_t BytesPerLine() const { return bytesPerLine_; }

    std::uint8_t* Line(int y) { return bytes_.data() + std::size_t(y) * std::size_t(bytesPerLine_); }
    const std::uint8_t* Line(int y) const { return bytes_.data() + std::size_t(y) * std::size_t(bytesPerLine_); }
    std::uint8_t* Bits() { return bytes_.data(); }
    const std::uint8_t* Bits() const { return bytes_.data(); }

    // A colour as the canvas takes it: red in the low byte.
    std::int32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::int32_t colour);
    void Fill(std::int32_t colour);

    // The part of the picture within `rect` (clipped to it).
    RgbImage Copy(const PixelRect& rect) const;
    // Lays `part` with its top-left pixel at `at`, as far as both reach.
    void Paste(const RgbImage& part, PixelPoint at);

    // The same size and the same pixels.
    bool operator==(const RgbImage& other) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::ptrdiff_t bytesPerLine_ = 0;
    std::vector<std::uint8_t> bytes_;
};
