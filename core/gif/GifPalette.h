// SPDX-License-Identifier: GPL-3.0-or-later
// The exact colour table of a GIF: each colour of the pictures once, in the
// order first met, and one index more for transparency.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "RgbImage.h"

class GifPalette {
public:
    // Adds the colours of a picture; false once there are more than `limit`
    // colours.
    bool AddColours(const RgbImage& picture, int limit);
    // Adds one colour (0xRRGGBB) unless it is there; false when that would
    // make more than `limit`.
    bool AddColour(std::uint32_t colour, int limit);
    bool Has(const std::uint8_t* rgb) const
    {
        const std::uint32_t colour = Pack(rgb);
        return colour == lastColour_ || index_.contains(colour);
    }

    int ColourCount() const { return int(colours_.size()); }
    int TransparentIndex() const { return ColourCount(); }
    // The palette's size in the file: a power of two with room for the
    // transparent index.
    int TableSize() const;
    const std::vector<std::uint32_t>& Colours() const { return colours_; }  // 0xRRGGBB

    // The index of the pixel at `rgb` (three bytes of a picture's row); the
    // colour must have been added.
    std::uint8_t IndexOf(const std::uint8_t* rgb) const
    {
        const std::uint32_t colour = Pack(rgb);
        if (colour != lastColour_) {
            lastColour_ = colour;
            lastIndex_ = index_.at(colour);
        }
        return lastIndex_;
    }

    static std::uint32_t Pack(const std::uint8_t* rgb) { return (std::uint32_t(rgb[0]) << 16) | (rgb[1] << 8) | rgb[2]; }

private:
    std::vector<std::uint32_t> colours_;
    std::unordered_map<std::uint32_t, std::uint8_t> index_;
    // The plane is mostly runs of one colour.
    mutable std::uint32_t lastColour_ = 0xFFFFFFFF;
    mutable std::uint8_t lastIndex_ = 0;
};
