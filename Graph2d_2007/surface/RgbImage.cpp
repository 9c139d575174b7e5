// SPDX-License-Identifier: GPL-3.0-or-later
#include "RgbImage.h"

#include <algorithm>
#include <cstring>

RgbImage::RgbImage(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      bytesPerLine_((std::ptrdiff_t(width_) * 3 + 3) / 4 * 4),
      bytes_(std::size_t(bytesPerLine_) * std::size_t(height_), 0xFF)
{
    if (IsNull()) {
        width_ = height_ = 0;
        bytesPerLine_ = 0;
        bytes_.clear();
    }
}

std::int32_t RgbImage::Pixel(int x, int y) const
{
    const std::uint8_t* p = Line(y) + 3 * std::size_t(x);
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

void RgbImage::SetPixel(int x, int y, std::int32_t colour)
{
    std::uint8_t* p = Line(y) + 3 * std::size_t(x);
    p[0] = std::uint8_t(colour & 0xFF);
    p[1] = std::uint8_t((colour >> 8) & 0xFF);
    p[2] = std::uint8_t((colour >> 16) & 0xFF);
}

void RgbImage::Fill(std::int32_t colour)
{
    if (IsNull())
        return;
    for (int x = 0; x < width_; ++x)
        SetPixel(x, 0, colour);
    for (int y = 1; y < height_; ++y)
        std::memcpy(Line(y), Line(0), std::size_t(width_) * 3);
}

RgbImage RgbImage::Copy(const PixelRect& rect) const
{
    const PixelRect part = rect.Intersected(Rect());
    RgbImage copy(part.Width(), part.Height());
    for (int y = 0; y < copy.height_; ++y)
        std::memcpy(copy.Line(y), Line(part.Top() + y) + 3 * std::size_t(part.Left()), std::size_t(part.Width()) * 3);
    return copy;
}

void RgbImage::Paste(const RgbImage& part, PixelPoint at)
{
    const PixelRect area = PixelRect(at, part.Size()).Intersected(Rect());
    for (int y = 0; y < area.Height(); ++y) {
        std::memcpy(Line(area.Top() + y) + 3 * std::size_t(area.Left()),
                    part.Line(area.Top() - at.Y + y) + 3 * std::size_t(area.Left() - at.X),
                    std::size_t(area.Width()) * 3);
    }
}

bool RgbImage::operator==(const RgbImage& other) const
{
    if (Size() != other.Size())
        return false;
    for (int y = 0; y < height_; ++y) {
        if (std::memcmp(Line(y), other.Line(y), std::size_t(width_) * 3) != 0)
            return false;
    }
    return true;
}
