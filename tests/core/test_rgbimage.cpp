// SPDX-License-Identifier: GPL-3.0-or-later
// The plane's picture and its rectangles, without the toolkit: rectangles
// meet and join as the plane's drawing and frames need (an empty one is
// nothing), and a picture's copies, pastes and comparisons see its pixels
// and never the padding at the end of its rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "PixelGeometry.h"
#include "RgbImage.h"

namespace {

struct RectCase {
    const char* Name;
    PixelRect A;
    PixelRect B;
    PixelRect Met;     // A.Intersected(B)
    PixelRect Joined;  // A.United(B)
    bool AHoldsB;
};

std::ostream& operator<<(std::ostream& out, const RectCase& c)
{
    return out << c.Name;
}

class RectTable : public ::testing::TestWithParam<RectCase> {};

TEST_P(RectTable, MeetsAndJoins)
{
    const RectCase& c = GetParam();
    EXPECT_EQ(c.A.Intersected(c.B), c.Met);
    EXPECT_EQ(c.B.Intersected(c.A), c.Met);
    EXPECT_EQ(c.A.United(c.B), c.Joined);
    EXPECT_EQ(c.B.United(c.A), c.Joined);
    EXPECT_EQ(c.A.Contains(c.B), c.AHoldsB);
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, RectTable,
    ::testing::Values(
        RectCase{"overlapping", {0, 0, 10, 10}, {5, 6, 10, 10}, {5, 6, 5, 4}, {0, 0, 15, 16}, false},
        RectCase{"one inside the other", {0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}, {0, 0, 10, 10}, true},
        RectCase{"side by side, touching", {0, 0, 5, 5}, {5, 0, 5, 5}, {}, {0, 0, 10, 5}, false},
        RectCase{"apart", {0, 0, 2, 2}, {10, 10, 2, 2}, {}, {0, 0, 12, 12}, false},
        RectCase{"an empty one is nothing", {3, 3, 4, 4}, {100, 100, 0, 7}, {}, {3, 3, 4, 4}, false},
        RectCase{"negative coordinates", {-5, -5, 10, 10}, {-10, 0, 8, 3}, {-5, 0, 3, 3}, {-10, -5, 15, 10},
                 false},
        RectCase{"one pixel in the corner", {0, 0, 10, 10}, {9, 9, 1, 1}, {9, 9, 1, 1}, {0, 0, 10, 10}, true}),
    [](const auto& info) {
        std::string name = info.param.Name;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(PixelRect, LastColumnAndRowAreInside)
{
    const PixelRect r(2, 3, 4, 5);
    EXPECT_EQ(r.Right(), 5);
    EXPECT_EQ(r.Bottom(), 7);
    EXPECT_TRUE(r.Contains(5, 7));
    EXPECT_FALSE(r.Contains(6, 7));
    EXPECT_FALSE(r.Contains(5, 8));
    EXPECT_EQ(PixelRect::FromCorners({2, 3}, {5, 7}), r);
    EXPECT_EQ(r.Translated(-2, -3), PixelRect(0, 0, 4, 5));
}

// A picture whose rows carry padding (3 x 5 = 15 bytes, padded to 16).
RgbImage Numbered(int width, int height)
{
    RgbImage picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, (y * 100 + x) * 0x010203 & 0xFFFFFF);
    return picture;
}

TEST(RgbImage, StartsWhiteWithRowsOfWholeWords)
{
    const RgbImage picture(5, 3);
    EXPECT_EQ(picture.BytesPerLine(), 16);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(picture.Pixel(x, y), 0xFFFFFF);
    EXPECT_TRUE(RgbImage(0, 7).IsNull());
    EXPECT_TRUE(RgbImage(-3, 2).IsNull());
}

TEST(RgbImage, PixelsAreRedGreenBlueBytes)
{
    RgbImage picture(2, 1);
    picture.SetPixel(1, 0, 0x123456);  // red 0x56 in the low byte
    const std::uint8_t* p = picture.Line(0) + 3;
    EXPECT_EQ(p[0], 0x56);
    EXPECT_EQ(p[1], 0x34);
    EXPECT_EQ(p[2], 0x12);
}

TEST(RgbImage, ComparesPixelsNotPadding)
{
    RgbImage a = Numbered(5, 3), b = Numbered(5, 3);
    a.Line(1)[15] = 0x00;  // the padding byte of row 1
    b.Line(1)[15] = 0xFF;
    EXPECT_TRUE(a == b);
    b.SetPixel(4, 2, 0);
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(Numbered(5, 3) == Numbered(3, 5));
}

struct CopyCase {
    const char* Name;
    PixelRect Asked;
    PixelRect Got;  // within the picture
};

class CopyTable : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyTable, CopiesThePartWithinThePicture)
{
    const CopyCase& c = GetParam();
    const RgbImage picture = Numbered(7, 6);
    const RgbImage part = picture.Copy(c.Asked);
    ASSERT_EQ(part.Width(), c.Got.Width());
    ASSERT_EQ(part.Height(), c.Got.Height());
    for (int y = 0; y < part.Height(); ++y)
        for (int x = 0; x < part.Width(); ++x)
            EXPECT_EQ(part.Pixel(x, y), picture.Pixel(c.Got.Left() + x, c.Got.Top() + y));
    // And laid back where it came from, it changes nothing.
    RgbImage back = picture;
    back.Paste(part, c.Got.TopLeft());
    EXPECT_TRUE(back == picture);
}

INSTANTIATE_TEST_SUITE_P(Copies, CopyTable,
                         ::testing::Values(CopyCase{"inside", {1, 2, 3, 2}, {1, 2, 3, 2}},
                                           CopyCase{"over the right and bottom", {5, 4, 5, 5}, {5, 4, 2, 2}},
                                           CopyCase{"over the left and top", {-2, -1, 4, 3}, {0, 0, 2, 2}},
                                           CopyCase{"wholly off", {20, 20, 3, 3}, {}},
                                           CopyCase{"all", {0, 0, 7, 6}, {0, 0, 7, 6}}),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST(RgbImage, PasteOverTheEdgeLaysOnlyWhatFits)
{
    RgbImage picture(4, 4);
    RgbImage part(3, 3);
    part.Fill(0x0000FF);
    picture.Paste(part, {2, -1});
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool covered = x >= 2 && y <= 1;
            EXPECT_EQ(picture.Pixel(x, y), covered ? 0x0000FF : 0xFFFFFF) << x << "," << y;
        }
    }
}

}  // namespace
