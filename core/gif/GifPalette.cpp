// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifPalette.h"

bool GifPalette::AddColours(const RgbImage& picture, int limit)
{
    std::uint32_t last = 0xFFFFFFFF;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint8_t* row = picture.Line(y);
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint32_t colour = Pack(row + 3 * x);
            if (colour == last)
                continue;
            last = colour;
            if (!AddColour(colour, limit))
                return false;
        }
    }
    return true;
}

bool GifPalette::AddColour(std::uint32_t colour, int limit)
{
    if (index_.contains(colour))
        return true;
    if (int(colours_.size()) >= limit)
        return false;
    index_.emplace(colour, std::uint8_t(colours_.size()));
    colours_.push_back(colour);
    return true;
}

int GifPalette::TableSize() const
{
    int size = 2;
    while (size < ColourCount() + 1)
        size *= 2;
    return size;
}
