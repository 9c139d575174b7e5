// SPDX-License-Identifier: GPL-3.0-or-later
// Points, sizes and rectangles of pixels, and points between them, for the
// plane: plain values with no toolkit behind them.
//
// A rectangle is its top-left pixel and its size; Right() and Bottom() are
// its last column and row (Left() + Width() - 1), as the toolkit's
// rectangles have them. One of no width or height is empty; joining an empty
// rectangle to another gives the other, meeting one gives an empty one.
#pragma once

#include <algorithm>
#include <cstdint>

struct PixelPoint {
    int X = 0;
    int Y = 0;

    bool operator==(const PixelPoint&) const = default;
};

struct PixelSize {
    int Width = 0;
    int Height = 0;

    bool IsEmpty() const { return Width <= 0 || Height <= 0; }
    bool operator==(const PixelSize&) const = default;
};

// A position on the plane before it is rounded to a pixel: position p is
// the pixel round(p), whose area runs from round(p) to round(p) + 1.
struct PlanePoint {
    double X = 0.0;
    double Y = 0.0;

    bool operator==(const PlanePoint&) const = default;
};

class PixelRect {
public:
    constexpr PixelRect() = default;
    constexpr PixelRect(int left, int top, int width, int height)
        : left_(left), top_(top), width_(width), height_(height)
    {
    }
    constexpr PixelRect(PixelPoint topLeft, PixelSize size)
        : PixelRect(topLeft.X, topLeft.Y, size.Width, size.Height)
    {
    }
    // From its first and last pixel, both included.
    static constexpr PixelRect FromCorners(PixelPoint first, PixelPoint last)
    {
        return PixelRect(first.X, first.Y, last.X - first.X + 1, last.Y - first.Y + 1);
    }

    constexpr int Left() const { return left_; }
    constexpr int Top() const { return top_; }
    constexpr int Width() const { return width_; }
    constexpr int Height() const { return height_; }
    constexpr int Right() const { return left_ + width_ - 1; }
    constexpr int Bottom() const { return top_ + height_ - 1; }
    constexpr PixelPoint TopLeft() const { return {left_, top_}; }
    constexpr PixelSize Size() const { return {width_, height_}; }
    constexpr bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }

    constexpr bool Contains(PixelPoint p) const
    {
        return !IsEmpty() && p.X >= left_ && p.X <= Right() && p.Y >= top_ && p.Y <= Bottom();
    }
    constexpr bool Contains(int x, int y) const { return Contains(PixelPoint{x, y}); }
    constexpr bool Contains(const PixelRect& r) const
    {
        return !IsEmpty() && !r.IsEmpty() && r.left_ >= left_ && r.Right() <= Right() && r.top_ >= top_ &&
               r.Bottom() <= Bottom();
    }

    constexpr PixelRect Intersected(const PixelRect& r) const
    {
        if (IsEmpty() || r.IsEmpty())
            return {};
        const int left = std::max(left_, r.left_), top = std::max(top_, r.top_);
        const int right = std::min(Right(), r.Right()), bottom = std::min(Bottom(), r.Bottom());
        if (left > right || top > bottom)
            return {};
        return FromCorners({left, top}, {right, bottom});
    }
    constexpr PixelRect United(const PixelRect& r) const
    {
        if (IsEmpty())
            return r;
        if (r.IsEmpty())
            return *this;
        return FromCorners({std::min(left_, r.left_), std::min(top_, r.top_)},
                           {std::max(Right(), r.Right()), std::max(Bottom(), r.Bottom())});
    }
    constexpr PixelRect Translated(int dx, int dy) const { return {left_ + dx, top_ + dy, width_, height_}; }

    bool operator==(const PixelRect&) const = default;

private:
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
};
