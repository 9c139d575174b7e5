// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifStream.h"

#include <algorithm>
#include <cstring>

#include "GifFileWriter.h"

namespace {

const char NotWrittenText[] = "Animaci GIF se nepodařilo zapsat.";
const char TooManyColoursText[] =
    "Animaci nelze uložit jako GIF: rovina má víc než 255 barev a žádnou barvu nelze změnit.";
const char BadPlaysText[] = "Počet přehrání animace musí být od 1 do 65536.";
const char BadDelayText[] = "Prodleva snímku musí být od 0 do 65535 setin sekundy.";
const char EmptyText[] = "Animace nemá žádný snímek.";
const char BrokenFrameText[] = "Animaci nelze zapsat: snímek neodpovídá svému obdélníku.";

// The writer does not report every failed write (giflib ignores one under
// an extension or of the file's last byte), so the output remembers any
// failure itself.
struct GifOutput {
    GifByteSink* Sink;
    bool Failed = false;

    bool Write(std::span<const std::uint8_t> bytes)
    {
        if (!Failed && (*Sink)(bytes))
            return true;
        Failed = true;
        return false;
    }
};

// The NETSCAPE2.0 block repeats the animation: 0 times more means forever.
// Without the block it plays once.
bool PutLoop(GifFileWriter& gif, int plays)
{
    if (plays == 1)
        return true;
    return gif.PutLoop(plays == 0 ? 0 : plays - 1);
}

bool PutFrameControl(GifFileWriter& gif, int delay, int transparent)
{
    return gif.PutFrameControl(GifFrameControl{delay, transparent, GifDisposal::DoNotDispose});
}

// A colour table of the palette's colours, its size a power of two.
std::vector<GifColour> ColourTable(const GifPalette& palette)
{
    std::vector<GifColour> table(std::size_t(palette.TableSize()));
    for (std::size_t i = 0; i < palette.Colours().size(); ++i) {
        const std::uint32_t colour = palette.Colours()[i];
        table[i] = GifColour{std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour)};
    }
    return table;
}

// The box of pixels where `after` differs from `before` within `area`.
PixelRect ChangedPixels(const RgbImage& before, const RgbImage& after, PixelRect area)
{
    int left = area.Right() + 1, right = area.Left() - 1, top = -1, bottom = -1;
    const std::size_t rowBytes = 3 * std::size_t(area.Width());
    for (int y = area.Top(); y <= area.Bottom(); ++y) {
        const std::uint8_t* a = before.Line(y);
        const std::uint8_t* b = after.Line(y);
        // Most rows of a frame are unchanged: one comparison of the row, and
        // in a changed row only its first and last changed pixels matter.
        if (std::memcmp(a + 3 * area.Left(), b + 3 * area.Left(), rowBytes) == 0)
            continue;
        int first = area.Left();
        while (std::memcmp(a + 3 * first, b + 3 * first, 3) == 0)
            ++first;
        int last = area.Right();
        while (std::memcmp(a + 3 * last, b + 3 * last, 3) == 0)
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
        if (top < 0)
            top = y;
        bottom = y;
    }
    if (top < 0)
        return PixelRect();
    return PixelRect::FromCorners({left, top}, {right, bottom});
}

bool SamePixel(const std::uint8_t* a, const std::uint8_t* b)
{
    return std::memcmp(a, b, 3) == 0;
}

}  // namespace

std::uint32_t GifColourOf(std::int32_t canvasColour)
{
    return (std::uint32_t(canvasColour & 0xFF) << 16) | (std::uint32_t(canvasColour) & 0xFF00) |
           ((std::uint32_t(canvasColour) >> 16) & 0xFF);
}

struct GifStream::Encoder {
    GifOutput Output;
    // Declared after the output: an unfinished file is closed into it.
    std::unique_ptr<GifFileWriter> Gif;
    GifPalette Global;
    std::vector<std::uint8_t> Line;

    explicit Encoder(GifByteSink& sink) : Output{&sink} {}

    // `box` of `picture`, placed with `picture`'s corner at `origin` of the
    // screen; pixels equal to those of `before` (when given) transparent.
    // False with `tooManyColours` when the frame needs more than 255.
    bool Put(const RgbImage& picture, const RgbImage* before, PixelRect box, PixelPoint origin, int delay,
             bool& tooManyColours)
    {
        // The global table where it holds every colour the frame shows, else
        // one of the frame's own: the global one and the new colours, or
        // where those are too many the frame's colours alone.
        GifPalette local;
        const GifPalette* palette = &Global;
        if (!box.IsEmpty() && !Covers(Global, picture, before, box)) {
            local = Global;
            if (!AddShown(local, picture, before, box)) {
                local = GifPalette();
                if (!AddShown(local, picture, before, box)) {
                    tooManyColours = true;
                    return false;
                }
            }
            palette = &local;
        }
        const int transparent = before ? palette->TransparentIndex() : GifNoTransparentIndex;
        if (!PutFrameControl(*Gif, delay, transparent))
            return false;
        if (box.IsEmpty()) {
            // Nothing changed: one transparent pixel keeps the step's frame.
            const std::uint8_t pixel = std::uint8_t(palette->TransparentIndex());
            return Gif->PutImage(0, 0, 1, 1, {}) && Gif->PutLine(std::span(&pixel, 1));
        }
        std::vector<GifColour> table;
        if (palette != &Global)
            table = ColourTable(*palette);
        if (!Gif->PutImage(origin.X + box.Left(), origin.Y + box.Top(), box.Width(), box.Height(), table))
            return false;
        Line.resize(std::size_t(box.Width()));
        for (int y = box.Top(); y <= box.Bottom(); ++y) {
            const std::uint8_t* row = picture.Line(y) + 3 * box.Left();
            const std::uint8_t* old = before ? before->Line(y) + 3 * box.Left() : nullptr;
            for (int x = 0; x < box.Width(); ++x) {
                if (old && SamePixel(row + 3 * x, old + 3 * x))
                    Line[std::size_t(x)] = std::uint8_t(transparent);
                else
                    Line[std::size_t(x)] = palette->IndexOf(row + 3 * x);
            }
            if (!Gif->PutLine(Line))
                return false;
        }
        return true;
    }

private:
    // Whether `palette` has every colour the frame shows (the pixels of
    // `box` that differ from `before`).
    static bool Covers(const GifPalette& palette, const RgbImage& picture, const RgbImage* before, PixelRect box)
    {
        for (int y = box.Top(); y <= box.Bottom(); ++y) {
            const std::uint8_t* row = picture.Line(y);
            const std::uint8_t* old = before ? before->Line(y) : nullptr;
            for (int x = box.Left(); x <= box.Right(); ++x) {
                if ((!old || !SamePixel(row + 3 * x, old + 3 * x)) && !palette.Has(row + 3 * x))
                    return false;
            }
        }
        return true;
    }

    static bool AddShown(GifPalette& palette, const RgbImage& picture, const RgbImage* before, PixelRect box)
    {
        for (int y = box.Top(); y <= box.Bottom(); ++y) {
            const std::uint8_t* row = picture.Line(y);
            const std::uint8_t* old = before ? before->Line(y) : nullptr;
            for (int x = box.Left(); x <= box.Right(); ++x) {
                if ((!old || !SamePixel(row + 3 * x, old + 3 * x)) &&
                    !palette.AddColour(GifPalette::Pack(row + 3 * x), MaxGifColours))
                    return false;
            }
        }
        return true;
    }
};

GifStream::GifStream(GifByteSink sink, const GifOptions& options, std::vector<std::uint32_t> knownColours)
    : sink_(std::move(sink)), options_(options), known_(std::move(knownColours))
{
}

GifStream::~GifStream() = default;

void GifStream::Fail(const char* message)
{
    if (message_.empty())
        message_ = message;
}

void GifStream::Start(const RgbImage& start)
{
    if (started_ || Failed())
        return;
    started_ = true;
    if (options_.Plays < 0 || options_.Plays > MaxGifPlays)
        return Fail(BadPlaysText);
    for (int delay : {options_.FrameDelay, options_.LastFrameDelay}) {
        if (delay < 0 || delay > 65535)
            return Fail(BadDelayText);
    }
    if (start.IsNull())
        return Fail(EmptyText);
    shown_ = start;

    encoder_ = std::make_unique<Encoder>(sink_);
    // The start picture's colours first, then the known ones: where those
    // hold every colour, no frame needs a table of its own. Above 255 the
    // first frame (the whole picture) could not be written either.
    GifPalette& global = encoder_->Global;
    if (!global.AddColours(shown_, MaxGifColours))
        return Fail(TooManyColoursText);
    for (const std::uint32_t colour : known_) {
        if (!global.AddColour(colour, MaxGifColours))
            break;
    }
    encoder_->Gif = MakeGifFileWriter();
    GifOutput& output = encoder_->Output;
    if (!encoder_->Gif->Open([&output](std::span<const std::uint8_t> bytes) { return output.Write(bytes); })) {
        encoder_->Gif.reset();
        return Fail(NotWrittenText);
    }
    if (!encoder_->Gif->PutScreen(shown_.Width(), shown_.Height(), ColourTable(global)) ||
        !PutLoop(*encoder_->Gif, options_.Plays))
        Fail(NotWrittenText);
}

void GifStream::Frame(const PlaneFrame& frame)
{
    if (!started_ || finished_ || Failed())
        return;
    if (!frame.Changed.IsEmpty() && frame.Pixels.Size() != frame.Changed.Size())
        return Fail(BrokenFrameText);
    if (held_)
        Encode(*held_, options_.FrameDelay);
    held_ = frame;
}

void GifStream::Encode(const PlaneFrame& frame, int delay)
{
    bool tooMany = false;
    bool put;
    if (frames_ == 0) {
        ApplyFrame(shown_, frame);
        put = encoder_->Put(shown_, nullptr, shown_.Rect(), PixelPoint{0, 0}, delay, tooMany);
    } else {
        // Only the changed rectangle is compared and written.
        const PixelRect area = frame.Changed.Intersected(shown_.Rect());
        if (area.IsEmpty()) {
            put = encoder_->Put(shown_, &shown_, PixelRect(), PixelPoint{0, 0}, delay, tooMany);
        } else {
            const RgbImage before = shown_.Copy(area);
            ApplyFrame(shown_, frame);
            const RgbImage after = shown_.Copy(area);
            put = encoder_->Put(after, &before, ChangedPixels(before, after, after.Rect()), area.TopLeft(), delay,
                                tooMany);
        }
    }
    ++frames_;
    if (!put)
        Fail(tooMany ? TooManyColoursText : NotWrittenText);
}

std::string GifStream::Finish()
{
    if (finished_)
        return message_;
    finished_ = true;
    if (!started_)
        Fail(EmptyText);
    if (!Failed() && !held_)
        Fail(EmptyText);
    if (!Failed()) {
        Encode(*held_, options_.LastFrameDelay);
        held_.reset();
    }
    if (encoder_ && encoder_->Gif) {
        const std::unique_ptr<GifFileWriter> gif = std::move(encoder_->Gif);
        if (!gif->Close())
            Fail(NotWrittenText);
    }
    if (encoder_ && encoder_->Output.Failed)
        Fail(NotWrittenText);
    return message_;
}

GifInMemory::GifInMemory(const GifOptions& options, std::vector<std::uint32_t> knownColours)
    : stream_(
          [this](std::span<const std::uint8_t> bytes) {
              bytes_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
              return true;
          },
          options, std::move(knownColours))
{
}

EncodedGif GifInMemory::Finish()
{
    EncodedGif encoded;
    encoded.Message = stream_.Finish();
    if (encoded.Message.empty())
        encoded.Bytes = std::move(bytes_);
    bytes_.clear();
    return encoded;
}
