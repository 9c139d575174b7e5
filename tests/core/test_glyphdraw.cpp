// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph module alone, without the toolkit: clipping to the buffer and
// to the clip rectangle at every edge is the same as cropping the text drawn
// in full, texts far off change nothing, the layout adds advances, bytes
// beyond printable ASCII draw as '?', and heights beyond the table take its
// nearest face. That the glyphs are the toolkit's is test_glyphtext's job.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "GlyphText.h"

namespace {

constexpr std::uint8_t Background = 0x80;
constexpr std::uint8_t Padding = 0xA5;
constexpr int PaddingBytes = 5;
constexpr std::int32_t Ink = 0x123456;  // red 0x56, green 0x34, blue 0x12

// A buffer of grey pixels whose rows end in padding bytes, with a row of
// padding above and below it: the text must never touch the padding.
struct Buffer {
    int Width;
    int Height;
    std::ptrdiff_t BytesPerLine;
    std::vector<std::uint8_t> Bytes;  // the guard rows included

    Buffer(int width, int height)
        : Width(width), Height(height), BytesPerLine(3 * width + PaddingBytes),
          Bytes(std::size_t(BytesPerLine * (height + 2)), Padding)
    {
        for (int y = 0; y < height; ++y)
            std::fill_n(Row(y), 3 * width, Background);
    }

    std::uint8_t* Row(int y) { return Bytes.data() + (y + 1) * BytesPerLine; }
    const std::uint8_t* Row(int y) const { return Bytes.data() + (y + 1) * BytesPerLine; }
    RgbBuffer Target() { return RgbBuffer{Row(0), Width, Height, BytesPerLine}; }
    GlyphClip Whole() const { return GlyphClip{0, 0, Width, Height}; }

    // 0 for background, 1 for ink; -1 for anything else.
    int At(int x, int y) const
    {
        const std::uint8_t* p = Row(y) + 3 * x;
        if (p[0] == Background && p[1] == Background && p[2] == Background)
            return 0;
        if (p[0] == 0x56 && p[1] == 0x34 && p[2] == 0x12)
            return 1;
        return -1;
    }

    bool PaddingIntact() const
    {
        for (int y = -1; y <= Height; ++y) {
            const bool guard = y < 0 || y == Height;
            for (std::ptrdiff_t k = guard ? 0 : 3 * Width; k < BytesPerLine; ++k) {
                if (Row(y)[k] != Padding)
                    return false;
            }
        }
        return true;
    }

    int InkedPixels() const
    {
        int inked = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                inked += At(x, y) == 1;
        return inked;
    }

    bool operator==(const Buffer& other) const { return Bytes == other.Bytes; }
};

const std::string Sample = "-2147483648 *10 W@j|_";
constexpr int SampleHeight = 16;

// The sample drawn in full, (Margin, Margin) being its box's top-left corner.
constexpr int Margin = 40;
const Buffer& FullSample()
{
    static const Buffer full = [] {
        const GlyphFace& face = GlyphFace::ForHeight(SampleHeight);
        Buffer buffer(int(face.TextWidth(Sample)) + 2 * Margin, face.TextHeight() + 2 * Margin);
        face.Draw(buffer.Target(), Margin, Margin, Sample, Ink, buffer.Whole());
        return buffer;
    }();
    return full;
}

struct ClipCase {
    const char* Name;
    int Width, Height;  // the buffer
    int X, Y;           // the box's top-left corner
    GlyphClip Clip;
};

class GlyphClipping : public testing::TestWithParam<ClipCase> {};

// Each case is drawn a dozen times, a column further right each time, so
// that some ink falls on every column next to an edge.
TEST_P(GlyphClipping, IsTheFullTextCropped)
{
    const ClipCase& c = GetParam();
    const Buffer& full = FullSample();
    for (int shift = 0; shift < 12; ++shift) {
        const int textX = c.X + shift;
        Buffer buffer(c.Width, c.Height);
        GlyphFace::ForHeight(SampleHeight).Draw(buffer.Target(), textX, c.Y, Sample, Ink, c.Clip);
        for (int y = 0; y < c.Height; ++y) {
            for (int x = 0; x < c.Width; ++x) {
                const bool inClip = x >= c.Clip.Left && x < c.Clip.Right && y >= c.Clip.Top && y < c.Clip.Bottom;
                const int fx = x - textX + Margin, fy = y - c.Y + Margin;
                const bool inFull = fx >= 0 && fy >= 0 && fx < full.Width && fy < full.Height;
                const int expected = inClip && inFull ? full.At(fx, fy) : 0;
                ASSERT_EQ(buffer.At(x, y), expected) << "pixel (" << x << ", " << y << "), shifted " << shift;
            }
        }
        ASSERT_TRUE(buffer.PaddingIntact()) << "shifted " << shift;
    }
}

// The sample is 16 pixels high (its box 19 rows) and about 190 wide; the
// cases put its ink across each edge of the buffer and of smaller clips.
const ClipCase ClipCases[] = {
    {"Inside", 240, 40, 10, 10, {0, 0, 240, 40}},
    {"AcrossLeftEdge", 120, 40, -37, 10, {0, 0, 120, 40}},
    {"AcrossRightEdge", 120, 40, 30, 10, {0, 0, 120, 40}},
    {"AcrossTopEdge", 240, 30, 5, -9, {0, 0, 240, 30}},
    {"AcrossBottomEdge", 240, 30, 5, 21, {0, 0, 240, 30}},
    {"AcrossEveryEdge", 60, 8, -50, -6, {0, 0, 60, 8}},
    {"ClipBeyondTheBufferTopLeft", 100, 20, -10, -9, {-1000, -1000, 1000, 1000}},
    {"ClipBeyondTheBufferBottomRight", 100, 20, 30, 10, {-1000, -1000, 1000, 1000}},
    {"ClipThroughGlyphs", 240, 40, 10, 10, {23, 13, 97, 21}},
    {"ClipOneColumn", 240, 40, 10, 10, {57, 0, 58, 40}},
    {"ClipOneRow", 240, 40, 10, 10, {0, 18, 240, 19}},
    {"ClipEmpty", 240, 40, 10, 10, {50, 15, 50, 30}},
    {"ClipReversed", 240, 40, 10, 10, {90, 30, 20, 10}},
    {"ClipOffTheBuffer", 240, 40, 10, 10, {240, 0, 400, 40}},
};

INSTANTIATE_TEST_SUITE_P(Edges, GlyphClipping, testing::ValuesIn(ClipCases),
                         [](const testing::TestParamInfo<ClipCase>& info) { return std::string(info.param.Name); });

struct FarCase {
    const char* Name;
    std::int64_t X, Y;
};

class GlyphsFarOff : public testing::TestWithParam<FarCase> {};

TEST_P(GlyphsFarOff, ChangeNothing)
{
    Buffer buffer(50, 30);
    const Buffer untouched = buffer;
    const FarCase& c = GetParam();
    GlyphFace::ForHeight(SampleHeight).Draw(buffer.Target(), c.X, c.Y, Sample, Ink, buffer.Whole());
    EXPECT_TRUE(buffer == untouched);
}

const FarCase FarCases[] = {
    {"Left", -100000, 5},
    {"JustLeft", -400, 5},
    {"Right", 50, 5},
    {"Above", 5, -40},
    {"Below", 5, 30},
    {"MostNegative32Bit", INT_MIN, INT_MIN},
    {"MostPositive32Bit", INT_MAX, INT_MAX},
    {"Beyond32Bits", std::int64_t(1) << 40, -(std::int64_t(1) << 40)},
};

INSTANTIATE_TEST_SUITE_P(Positions, GlyphsFarOff, testing::ValuesIn(FarCases),
                         [](const testing::TestParamInfo<FarCase>& info) { return std::string(info.param.Name); });

TEST(GlyphText, EmptyTextHasNoWidthAndNoInk)
{
    const GlyphFace& face = GlyphFace::ForHeight(10);
    EXPECT_EQ(face.TextWidth(""), 0);
    Buffer buffer(20, 20);
    const Buffer untouched = buffer;
    face.Draw(buffer.Target(), 2, 2, "", Ink, buffer.Whole());
    EXPECT_TRUE(buffer == untouched);
}

TEST(GlyphText, NoBufferIsNoDrawing)
{
    GlyphFace::ForHeight(10).Draw(RgbBuffer{}, 0, 0, Sample, Ink, GlyphClip{0, 0, 100, 100});
}

// No kerning: a text is its characters drawn one after another, each at the
// sum of the advances before it.
TEST(GlyphText, CharactersFollowTheirAdvances)
{
    for (int height : {GlyphFace::SmallestHeight(), 10, 16, 20, GlyphFace::LargestHeight()}) {
        const GlyphFace& face = GlyphFace::ForHeight(height);
        const std::string text = "AV-To7/W.";
        Buffer whole(4 * height * int(text.size()), 3 * height), pieces = whole;
        face.Draw(whole.Target(), height, height, text, Ink, whole.Whole());
        std::int64_t pen = height, advances = 0;
        for (char c : text) {
            face.Draw(pieces.Target(), pen, height, std::string_view(&c, 1), Ink, pieces.Whole());
            pen += face.Advance(c);
            advances += face.Advance(c);
        }
        EXPECT_TRUE(whole == pieces) << "height " << height;
        EXPECT_EQ(face.TextWidth(text), advances);
        EXPECT_GT(whole.InkedPixels(), 0);
    }
}

TEST(GlyphText, ColourIsRedFirst)
{
    Buffer buffer(20, 20);
    GlyphFace::ForHeight(12).Draw(buffer.Target(), 2, 0, "#", Ink, buffer.Whole());
    EXPECT_GT(buffer.InkedPixels(), 0);
    for (int y = 0; y < buffer.Height; ++y)
        for (int x = 0; x < buffer.Width; ++x)
            ASSERT_NE(buffer.At(x, y), -1);
}

TEST(GlyphText, BytesBeyondPrintableAsciiAreQuestionMarks)
{
    const GlyphFace& face = GlyphFace::ForHeight(10);
    ASSERT_GT(face.Advance('?'), 0);
    const std::string beyond[] = {std::string(1, '\0'), "\x01", "\t", "\x7f", "\x80", "\xe9", "\xff"};
    for (const std::string& c : beyond) {
        EXPECT_EQ(face.Advance(c[0]), face.Advance('?'));
        Buffer asIs(30, 20), asQuestion(30, 20);
        face.Draw(asIs.Target(), 3, 3, "1" + c + "2", Ink, asIs.Whole());
        face.Draw(asQuestion.Target(), 3, 3, "1?2", Ink, asQuestion.Whole());
        EXPECT_TRUE(asIs == asQuestion) << "byte " << int(static_cast<unsigned char>(c[0]));
    }
}

TEST(GlyphText, HeightsBeyondTheTableTakeItsNearestEnd)
{
    const int smallest = GlyphFace::SmallestHeight(), largest = GlyphFace::LargestHeight();
    ASSERT_LE(smallest, 6);
    ASSERT_GE(largest, 32);
    for (int height = smallest; height <= largest; ++height)
        EXPECT_EQ(GlyphFace::ForHeight(height).PixelHeight(), height);
    for (int height : {INT_MIN, -1, 0, smallest - 1})
        EXPECT_EQ(&GlyphFace::ForHeight(height), &GlyphFace::ForHeight(smallest)) << height;
    for (int height : {largest + 1, 1000, INT_MAX})
        EXPECT_EQ(&GlyphFace::ForHeight(height), &GlyphFace::ForHeight(largest)) << height;
}

}  // namespace
