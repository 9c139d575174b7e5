// SPDX-License-Identifier: GPL-3.0-or-later
// Our own GIF writer against giflib's: the same calls must write the same
// bytes, call by call, and answer the same; and what ours writes must decode
// with giflib to the pixels, tables and blocks it was given. Hand-picked
// files, thousands of random ones, sinks that run out of room at every byte
// or lose a block of pixels, and calls out of order.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>

#include "GifScript.h"
#include "GiflibFileWriter.h"
#include "OwnGifFileWriter.h"

namespace {

std::unique_ptr<GifFileWriter> Ours()
{
    return std::make_unique<OwnGifFileWriter>();
}

std::unique_ptr<GifFileWriter> Giflibs()
{
    return std::make_unique<GiflibFileWriter>();
}

std::vector<GifColour> Palette(int count, unsigned seed = 1)
{
    std::vector<GifColour> colours;
    for (int i = 0; i < count; ++i) {
        const unsigned v = unsigned(i) * 2654435761u + seed * 40503u;
        colours.push_back(GifColour{std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
    }
    return colours;
}

Bytes Noise(std::size_t count, int values, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(0, values - 1);
    Bytes pixels(count);
    for (std::uint8_t& pixel : pixels)
        pixel = std::uint8_t(value(random));
    return pixels;
}

GifScript::Image WholeScreen(int width, int height, Bytes pixels)
{
    GifScript::Image image;
    image.Width = width;
    image.Height = height;
    image.Pixels = std::move(pixels);
    return image;
}

GifScript OneImage(int width, int height, int colours, Bytes pixels)
{
    GifScript script;
    script.Width = width;
    script.Height = height;
    script.Colours = Palette(colours);
    script.Images.push_back(WholeScreen(width, height, std::move(pixels)));
    return script;
}

int TableBits(std::size_t count)
{
    int bits = 1;
    while ((std::size_t(1) << bits) < count)
        ++bits;
    return bits;
}

std::vector<GifColour> InFile(std::vector<GifColour> colours)
{
    if (!colours.empty())
        colours.resize(std::size_t(1) << TableBits(colours.size()));
    return colours;
}

// giflib reads no file without an image, nor one with an image unfinished.
bool Decodable(const GifScript& script)
{
    auto whole = [](const GifScript::Image& image) {
        return image.Unwritten == 0 && image.Width > 0 && image.Height > 0;
    };
    return !script.Images.empty() && std::all_of(script.Images.begin(), script.Images.end(), whole);
}

// The file decodes with giflib to what the script wrote: the pixels as
// their low bits, the tables as long as they are in the file.
void ExpectDecodesAsWritten(const GifScript& script, const Bytes& file)
{
    const DecodedImages decoded = DecodeImages(file);
    ASSERT_EQ(decoded.Error, "");
    EXPECT_EQ(decoded.Width, script.Width);
    EXPECT_EQ(decoded.Height, script.Height);
    EXPECT_EQ(decoded.Colours, InFile(script.Colours));
    EXPECT_EQ(decoded.Loop, script.Loop);
    ASSERT_EQ(decoded.Images.size(), script.Images.size());
    for (std::size_t i = 0; i < script.Images.size(); ++i) {
        const GifScript::Image& image = script.Images[i];
        const DecodedImages::Image& got = decoded.Images[i];
        SCOPED_TRACE("image " + std::to_string(i));
        EXPECT_EQ(got.Left, image.Left);
        EXPECT_EQ(got.Top, image.Top);
        EXPECT_EQ(got.Width, image.Width);
        EXPECT_EQ(got.Height, image.Height);
        EXPECT_EQ(got.Colours, InFile(image.Colours));
        const int bits = std::max(2, TableBits(image.Colours.empty() ? script.Colours.size() : image.Colours.size()));
        Bytes expected = image.Pixels;
        for (std::uint8_t& pixel : expected)
            pixel &= std::uint8_t((1 << bits) - 1);
        EXPECT_TRUE(got.Pixels == expected);
        EXPECT_EQ(got.Control, image.Control);
    }
}

void ExpectSameAsGiflib(const GifScript& script)
{
    const Played ours = Play(Ours, script);
    const Played giflibs = Play(Giflibs, script);
    EXPECT_EQ(FirstDifference(ours, giflibs), "");
    EXPECT_TRUE(std::all_of(ours.Results.begin(), ours.Results.end(), [](bool ok) { return ok; }));
    if (Decodable(script))
        ExpectDecodesAsWritten(script, ours.File);
}

// The frames as the GIF stream writes them: a global table of the picture's
// colours with room for the transparent index after them, the whole picture
// first, then only the changed boxes with the unchanged pixels transparent,
// a frame that changes nothing as one transparent pixel, and a frame that
// brings a colour with a table of its own.
GifScript StreamFrames(std::optional<int> loop)
{
    const int width = 48, height = 32, colours = 5, transparent = colours;
    GifScript script;
    script.Width = width;
    script.Height = height;
    script.Colours = Palette(colours, 7);
    script.Colours.resize(8);  // the stream's table: a power of two, the rest black
    script.Loop = loop;
    Bytes start(std::size_t(width * height), 0);
    for (int x = 0; x < width; ++x)
        start[std::size_t(16 * width + x)] = 1;  // an axis
    for (int y = 0; y < height; ++y)
        start[std::size_t(y * width + 24)] = 1;
    GifScript::Image first = WholeScreen(width, height, start);
    first.Control = GifFrameControl{5, GifNoTransparentIndex, GifDisposal::DoNotDispose};
    script.Images.push_back(first);
    const GifFrameControl step{5, transparent, GifDisposal::DoNotDispose};
    for (int k = 0; k < 6; ++k) {
        GifScript::Image box;
        box.Control = step;
        box.Left = 3 + 5 * k;
        box.Top = 2 + 3 * k;
        box.Width = 1 + (k * 3) % 7;
        box.Height = 1 + (k * 5) % 4;
        box.Pixels.assign(std::size_t(box.Width * box.Height), std::uint8_t(transparent));
        for (int d = 0; d < std::min(box.Width, box.Height); ++d)
            box.Pixels[std::size_t(d * box.Width + d)] = 2;  // a segment of the curve
        box.Pixels.back() = 2;
        script.Images.push_back(box);
        GifScript::Image nothing;  // a step that changed no pixel
        nothing.Control = step;
        nothing.Pixels = {std::uint8_t(transparent)};
        script.Images.push_back(nothing);
    }
    // A frame with a colour the global table lacks: the global ones and the
    // new one, the transparent index after them.
    GifScript::Image brings;
    brings.Control = GifFrameControl{5, colours + 1, GifDisposal::DoNotDispose};
    brings.Colours = Palette(colours, 7);
    brings.Colours.push_back(GifColour{1, 2, 3});
    brings.Colours.resize(8);
    brings.Left = 10;
    brings.Top = 4;
    brings.Width = 9;
    brings.Height = 3;
    brings.Pixels = Noise(27, colours + 2, 3);
    script.Images.push_back(brings);
    // A frame with only its own colours (the global ones and its new ones
    // would be too many), the last one, held longer.
    GifScript::Image own;
    own.Control = GifFrameControl{200, 20, GifDisposal::DoNotDispose};
    own.Colours = Palette(20, 9);
    own.Colours.resize(32);
    own.Left = 20;
    own.Top = 10;
    own.Width = 16;
    own.Height = 12;
    own.Pixels = Noise(16 * 12, 21, 4);
    script.Images.push_back(own);
    return script;
}

// One row of noise of four colours, as long as makes the last sub-block of
// its data a full one (255 bytes), found by writing longer and longer rows:
// a pixel more adds a byte of data at most, so some length gives 255.
GifScript LastSubBlockFull()
{
    for (int width = 1; width < 4000; ++width) {
        GifScript script = OneImage(width, 1, 4, Noise(std::size_t(width), 4, 11));
        const Played played = Play(Ours, script);
        // The data: after the header, the screen and its table, the image's
        // descriptor and the code size, sub-blocks each after its length, up
        // to the empty one.
        std::size_t at = 6 + 7 + 3 * 4 + 10 + 1, last = 0;
        while (at < played.File.size() && played.File[at] != 0) {
            last = played.File[at];
            at += last + 1;
        }
        if (last == 255)
            return script;
    }
    ADD_FAILURE() << "no length gives a full last sub-block";
    return GifScript{};
}

struct Case {
    std::string Name;
    std::function<GifScript()> Script;
};

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.Name;
}

std::vector<Case> HandPicked()
{
    std::vector<Case> cases;
    auto add = [&cases](std::string name, std::function<GifScript()> script) {
        cases.push_back(Case{std::move(name), std::move(script)});
    };
    add("OnePixel", [] { return OneImage(1, 1, 2, {1}); });
    add("OneColour", [] { return OneImage(30, 20, 1, Bytes(600, 0)); });
    for (int colours : {2, 3, 4, 255, 256}) {
        add("Colours" + std::to_string(colours), [colours] {
            return OneImage(64, 64, colours, Noise(64 * 64, colours, unsigned(colours)));
        });
    }
    for (int bits = 1; bits <= 8; ++bits) {
        const int size = 1 << bits;
        add("GlobalTableOf" + std::to_string(size), [size] { return OneImage(50, 50, size, Noise(2500, size, 5)); });
        add("LocalTableOf" + std::to_string(size), [size] {
            GifScript script = OneImage(50, 50, 2, Noise(2500, size, 6));
            script.Images[0].Colours = Palette(size, 2);
            return script;
        });
    }
    for (int count : {3, 5, 17, 129}) {
        add("TableOf" + std::to_string(count) + "RoundedUp", [count] {
            GifScript script = OneImage(40, 40, count, Noise(1600, count, 8));
            script.Images.push_back(WholeScreen(40, 40, Noise(1600, count + 1, 9)));
            script.Images[1].Colours = Palette(count + 1, 3);
            return script;
        });
    }
    add("NoGlobalTable", [] {
        GifScript script = OneImage(20, 20, 0, Noise(400, 8, 1));
        script.Images[0].Colours = Palette(8);
        return script;
    });
    add("NoImage", [] {
        GifScript script = OneImage(20, 20, 4, {});
        script.Images.clear();
        script.Loop = 0;
        return script;
    });
    // Strings of one colour grow by one pixel a code: 9 million pixels fill
    // the table once and go on after the clear.
    add("OneRunFillsTheTable", [] { return OneImage(3000, 3000, 2, Bytes(9000000, 1)); });
    add("TwoColourNoiseClearsOften", [] { return OneImage(600, 600, 2, Noise(360000, 2, 12)); });
    add("NoiseOf256Colours", [] { return OneImage(256, 256, 256, Noise(65536, 256, 13)); });
    add("RunsGrowingLonger", [] {
        Bytes pixels;
        for (int run = 1; pixels.size() < 160000; ++run)
            pixels.insert(pixels.end(), std::size_t(run), std::uint8_t(run % 16));
        pixels.resize(160000);
        return OneImage(400, 400, 16, pixels);
    });
    for (int width = 1; width <= 20; ++width) {
        add("Width" + std::to_string(width), [width] {
            GifScript script = OneImage(20, 20, 6, Noise(std::size_t(width * 9), 6, unsigned(width)));
            script.Images[0].Width = width;
            script.Images[0].Height = 9;
            GifScript::Image row = WholeScreen(width, 1, Noise(std::size_t(width), 6, unsigned(width) + 100));
            row.Top = 19;
            script.Images.push_back(row);
            return script;
        });
    }
    add("StreamFramesForever", [] { return StreamFrames(0); });
    add("StreamFramesOnce", [] { return StreamFrames(std::nullopt); });
    add("StreamFramesMostRepeats", [] { return StreamFrames(65535); });
    add("PixelsOneByOne", [] {
        GifScript script = OneImage(23, 7, 5, Noise(161, 5, 14));
        script.Images[0].Lines.assign(161, 1);
        return script;
    });
    add("WholeImageInOneLine", [] {
        GifScript script = OneImage(23, 70, 5, Noise(1610, 5, 15));
        script.Images[0].Lines = {1610};
        return script;
    });
    add("LinesAcrossRows", [] {
        GifScript script = OneImage(10, 30, 7, Noise(300, 7, 16));
        script.Images[0].Lines.assign(43, 7);
        return script;
    });
    add("IndicesBeyondTheTable", [] { return OneImage(30, 30, 4, Noise(900, 256, 17)); });
    add("TwoColoursTakeTwoBits", [] { return OneImage(30, 30, 2, Noise(900, 4, 18)); });
    add("ImageLeftUnfinished", [] {
        GifScript script = OneImage(10, 10, 4, Noise(100, 4, 19));
        script.Images[0].Unwritten = 37;
        script.Images.push_back(WholeScreen(10, 10, Noise(100, 4, 20)));
        return script;
    });
    add("EmptyImage", [] {
        GifScript script = OneImage(10, 10, 4, {});
        script.Images[0].Width = 0;
        script.Images[0].Height = 0;
        script.Images.push_back(WholeScreen(10, 10, Noise(100, 4, 21)));
        return script;
    });
    add("DroppedOpen", [] {
        GifScript script = OneImage(10, 10, 4, Noise(100, 4, 22));
        script.Closed = false;
        return script;
    });
    add("LastSubBlockFull", LastSubBlockFull);
    add("FrameControls", [] {
        GifScript script;
        script.Width = 4;
        script.Height = 4;
        script.Colours = Palette(256);
        const GifFrameControl controls[] = {
            {0, GifNoTransparentIndex, GifDisposal::Unspecified}, {65535, 0, GifDisposal::DoNotDispose},
            {1, 255, GifDisposal::ToBackground}, {300, 17, GifDisposal::ToPrevious}};
        for (const GifFrameControl& control : controls) {
            GifScript::Image image = WholeScreen(4, 4, Noise(16, 256, unsigned(control.Delay)));
            image.Control = control;
            script.Images.push_back(image);
        }
        return script;
    });
    add("ImageAtTheFarCorner", [] {
        GifScript script = OneImage(10, 10, 4, {});
        script.Images[0] = WholeScreen(1, 1, {3});
        script.Images[0].Left = 65535;
        script.Images[0].Top = 65535;
        return script;
    });
    return cases;
}

class SameAsGiflib : public testing::TestWithParam<Case> {};

TEST_P(SameAsGiflib, WritesTheSameBytesAndDecodes)
{
    ExpectSameAsGiflib(GetParam().Script());
}

INSTANTIATE_TEST_SUITE_P(HandPicked, SameAsGiflib, testing::ValuesIn(HandPicked()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.Name; });

// Small random files of every kind the writer takes.
GifScript RandomScript(std::mt19937& random)
{
    auto among = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto colourCount = [&] { return among(0, 3) == 0 ? among(1, 256) : among(1, 9); };
    GifScript script;
    script.Width = among(1, 64);
    script.Height = among(1, 64);
    if (among(0, 9) > 0)
        script.Colours = Palette(colourCount(), unsigned(among(0, 99)));
    if (among(0, 2) > 0)
        script.Loop = among(0, 65535);
    const int images = among(0, 4);
    for (int i = 0; i < images; ++i) {
        GifScript::Image image;
        const bool large = among(0, 39) == 0;  // enough to fill the table
        image.Width = among(1, large ? 300 : 40);
        image.Height = among(1, large ? 300 : 40);
        image.Left = among(0, 60);
        image.Top = among(0, 60);
        if (script.Colours.empty() || among(0, 3) == 0)
            image.Colours = Palette(colourCount(), unsigned(among(0, 99)));
        const std::size_t count = std::size_t(image.Width) * std::size_t(image.Height);
        const int inTable = int(InFile(image.Colours.empty() ? script.Colours : image.Colours).size());
        if (among(0, 2) > 0) {
            image.Control = GifFrameControl{among(0, 65535), among(0, 2) == 0 ? among(0, 255) : GifNoTransparentIndex,
                                            GifDisposal(among(0, 3))};
        }
        switch (among(0, 3)) {
        case 0:  // noise
            image.Pixels = Noise(count, among(1, inTable), unsigned(among(0, 1 << 20)));
            break;
        case 1:  // runs
            while (image.Pixels.size() < count)
                image.Pixels.insert(image.Pixels.end(), std::size_t(among(1, 80)), std::uint8_t(among(0, inTable - 1)));
            image.Pixels.resize(count);
            break;
        case 2: {  // as the stream's later frames: mostly the transparent index
            const std::uint8_t transparent = std::uint8_t(among(0, inTable - 1));
            image.Pixels.assign(count, transparent);
            for (int k = among(0, 12); k > 0; --k)
                image.Pixels[std::size_t(among(0, int(count) - 1))] = std::uint8_t(among(0, inTable - 1));
            break;
        }
        default:  // any index, the ones beyond the table cut to their low bits
            image.Pixels = Noise(count, 256, unsigned(among(0, 1 << 20)));
        }
        if (among(0, 1) == 0) {
            for (std::size_t given = 0; given < count;) {
                image.Lines.push_back(std::size_t(among(1, std::max(1, int(count) / 3))));
                given += image.Lines.back();
            }
        }
        if (count > 1 && among(0, 19) == 0)
            image.Unwritten = std::size_t(among(1, int(count) - 1));
        script.Images.push_back(std::move(image));
    }
    script.Closed = among(0, 19) > 0;
    return script;
}

// The same files every run, as many as three seconds allow: all 10000 take
// about one in an optimized build.
TEST(RandomFiles, SameAsGiflib)
{
    std::mt19937 random(20261208);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    int played = 0;
    for (; played < 10000 && std::chrono::steady_clock::now() < end && !HasFailure(); ++played) {
        const GifScript script = RandomScript(random);
        SCOPED_TRACE("random file " + std::to_string(played));
        ExpectSameAsGiflib(script);
    }
    RecordProperty("files", played);
    std::printf("%d random files\n", played);
}

// Sinks that fail: the same bytes written, and each call answering as
// giflib's does.
class FailingSink : public testing::TestWithParam<Case> {};

// Out of room after each byte of the file in turn.
TEST_P(FailingSink, RunsOutOfRoomAtEveryByte)
{
    const GifScript script = GetParam().Script();
    const std::size_t size = Play(Giflibs, script).File.size();
    for (std::size_t room = 0; room <= size; ++room) {
        const SinkFailure failure{.Room = room, .LostPixelWrite = std::nullopt};
        const Played ours = Play(Ours, script, failure);
        const Played giflibs = Play(Giflibs, script, failure);
        ASSERT_EQ(FirstDifference(ours, giflibs), "") << "room for " << room << " of " << size << " bytes";
        // Some call reports it, unless only the trailer is lost: the pixels
        // come after every block whose failure giflib does not report.
        const bool reported = std::any_of(ours.Results.begin(), ours.Results.end(), [](bool ok) { return !ok; });
        EXPECT_EQ(reported, room + 1 < size) << "room for " << room;
    }
}

// One sub-block of the pixels lost, then the sink takes all again: the
// encoding goes on from where giflib's does.
TEST_P(FailingSink, LosesOneBlockOfPixels)
{
    const GifScript script = GetParam().Script();
    const std::size_t writes = Play(Giflibs, script).PixelWrites;
    ASSERT_GT(writes, 2u);
    for (std::size_t lost = 0; lost < writes; ++lost) {
        const SinkFailure failure{.LostPixelWrite = lost};
        const Played ours = Play(Ours, script, failure);
        const Played giflibs = Play(Giflibs, script, failure);
        ASSERT_EQ(FirstDifference(ours, giflibs), "") << "write " << lost << " of " << writes << " lost";
        EXPECT_TRUE(std::any_of(ours.Results.begin(), ours.Results.end(), [](bool ok) { return !ok; }));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, FailingSink,
    testing::Values(Case{"StreamFrames", [] { return StreamFrames(0); }},
                    Case{"NoiseOverSubBlocks", [] { return OneImage(40, 40, 16, Noise(1600, 16, 23)); }},
                    Case{"SubBlocksInOneLine",
                         [] {
                             GifScript script = OneImage(30, 30, 16, Noise(900, 16, 26));
                             script.Images[0].Lines = {900};
                             return script;
                         }},
                    Case{"RowsOfTwoColours",
                         [] {
                             GifScript script = OneImage(33, 50, 2, Noise(1650, 2, 24));
                             script.Images[0].Lines.assign(50, 33);
                             return script;
                         }},
                    Case{"LocalTables",
                         [] {
                             GifScript script = OneImage(12, 12, 0, Noise(144, 3, 25));
                             script.Images[0].Colours = Palette(3);
                             script.Images.push_back(script.Images[0]);
                             script.Images[1].Control = GifFrameControl{7, 2, GifDisposal::ToPrevious};
                             return script;
                         }}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.Name; });

// Calls out of order or out of range: refused as giflib refuses them, with
// the same bytes written before and after.
struct Step {
    std::function<bool(GifFileWriter&, Bytes& file)> Call;
    bool Succeeds;
    GifWriteError Error;  // Error() after the call: the last failure's
};

struct Misuse {
    std::string Name;
    std::vector<Step> Steps;
};

void PrintTo(const Misuse& misuse, std::ostream* out)
{
    *out << misuse.Name;
}

const std::vector<GifColour> Four = Palette(4);
const std::vector<GifColour> TooMany = Palette(257);
const Bytes Pixels = {0, 1, 2, 3};

std::vector<Misuse> Misuses()
{
    using E = GifWriteError;
    auto open = [](GifFileWriter& w, Bytes& file) {
        return w.Open([&file](std::span<const std::uint8_t> bytes) {
            file.insert(file.end(), bytes.begin(), bytes.end());
            return true;
        });
    };
    auto screen = [](const std::vector<GifColour>& colours) {
        return [&colours](GifFileWriter& w, Bytes&) { return w.PutScreen(2, 2, colours); };
    };
    auto image = [](const std::vector<GifColour>& colours) {
        return [&colours](GifFileWriter& w, Bytes&) { return w.PutImage(0, 0, 2, 2, colours); };
    };
    auto line = [](std::size_t count) {
        return [count](GifFileWriter& w, Bytes&) { return w.PutLine(std::span(Pixels).first(count)); };
    };
    auto close = [](GifFileWriter& w, Bytes&) { return w.Close(); };
    static const std::vector<GifColour> none;
    return {
        {"BeforeOpen", {{screen(Four), false, E::NotWriteable}, {line(1), false, E::NotWriteable},
                        {close, false, E::NotWriteable}}},
        {"OpenTwice", {{open, true, E::None}, {open, false, E::OpenFailed}, {screen(Four), true, E::OpenFailed}}},
        {"SecondScreenKeepsTheFirstTable",
         {{open, true, E::None}, {screen(Four), true, E::None}, {screen(Four), false, E::HasScreenDescriptor},
          {image(none), true, E::HasScreenDescriptor}, {line(4), true, E::HasScreenDescriptor}}},
        {"ImageWithoutAnyTable",
         {{open, true, E::None}, {screen(none), true, E::None}, {image(none), false, E::NoColourMap},
          {line(1), false, E::DataTooBig}, {image(Four), true, E::DataTooBig}, {line(4), true, E::DataTooBig}}},
        {"TooManyColours",
         {{open, true, E::None}, {screen(TooMany), false, E::NotEnoughMemory},
          {screen(Four), true, E::NotEnoughMemory}, {image(TooMany), false, E::NotEnoughMemory},
          {image(none), true, E::NotEnoughMemory}}},
        {"PixelsBeforeAnyImage",
         {{open, true, E::None}, {screen(Four), true, E::None}, {line(1), false, E::DataTooBig}}},
        {"MorePixelsThanTheImage",
         {{open, true, E::None}, {screen(Four), true, E::None}, {image(none), true, E::None}, {line(3), true, E::None},
          {line(2), false, E::DataTooBig}, {line(1), true, E::DataTooBig}, {line(1), false, E::DataTooBig}}},
        {"NoPixels", {{open, true, E::None}, {screen(Four), true, E::None}, {image(none), true, E::None},
                      {line(0), true, E::None}, {line(4), true, E::None}, {line(0), true, E::None}}},
        {"AfterClose", {{open, true, E::None}, {screen(Four), true, E::None}, {close, true, E::None},
                        {image(none), false, E::NotWriteable}, {close, false, E::NotWriteable},
                        {open, true, E::None}, {screen(Four), true, E::None}}},
    };
}

class Misused : public testing::TestWithParam<Misuse> {};

TEST_P(Misused, RefusedAsGiflibRefuses)
{
    Bytes files[2];
    std::unique_ptr<GifFileWriter> writers[2] = {Ours(), Giflibs()};
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k == 0 ? "ours" : "giflib's");
        const std::vector<Step>& steps = GetParam().Steps;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_EQ(steps[i].Call(*writers[k], files[k]), steps[i].Succeeds) << "step " << i;
            EXPECT_EQ(writers[k]->Error(), steps[i].Error) << "step " << i;
        }
        writers[k].reset();
    }
    EXPECT_TRUE(files[0] == files[1]);
}

INSTANTIATE_TEST_SUITE_P(Calls, Misused, testing::ValuesIn(Misuses()),
                         [](const testing::TestParamInfo<Misuse>& info) { return info.param.Name; });

}  // namespace
