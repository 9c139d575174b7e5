// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifStream.h"

#include <QIODevice>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace {

const char NotWrittenText[] = "Animaci GIF se nepodařilo zapsat.";
const char TooManyColoursText[] =
    "Animaci nelze uložit jako GIF: rovina má víc než 255 barev a žádnou barvu nelze změnit.";
const char BadPlaysText[] = "Počet přehrání animace musí být od 1 do 65536.";
const char BadDelayText[] = "Prodleva snímku musí být od 0 do 65535 setin sekundy.";
const char EmptyText[] = "Animace nemá žádný snímek.";
const char BrokenFrameText[] = "Animaci nelze zapsat: snímek neodpovídá svému obdélníku.";

// giflib ignores a failed write of the file's last byte, so the output
// remembers any failure itself.
struct GifOutput {
    QIODevice* Device;
    bool Failed = false;
};

int WriteToDevice(GifFileType* gif, const GifByteType* bytes, int length)
{
    auto* output = static_cast<GifOutput*>(gif->UserData);
    if (!output->Failed && output->Device->write(reinterpret_cast<const char*>(bytes), length) == length)
        return length;
    output->Failed = true;
    return 0;
}

// The NETSCAPE2.0 block repeats the animation: 0 times more means forever.
// Without the block it plays once.
bool PutLoop(GifFileType* gif, int plays)
{
    if (plays == 1)
        return true;
    const int repeats = plays == 0 ? 0 : plays - 1;
    const GifByteType loop[] = {1, GifByteType(repeats & 0xFF), GifByteType((repeats >> 8) & 0xFF)};
    return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
           EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool PutFrameControl(GifFileType* gif, int delay, int transparent)
{
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = transparent;
    GifByteType bytes[4];
    const auto length = int(EGifGCBToExtension(&control, bytes));
    return EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, length, bytes) == GIF_OK;
}

// A colour table of the palette's colours, its size a power of two.
struct ColourMap {
    explicit ColourMap(const GifPalette& palette)
    {
        std::vector<GifColorType> table(std::size_t(palette.TableSize()), GifColorType{0, 0, 0});
        for (std::size_t i = 0; i < palette.Colours().size(); ++i) {
            const std::uint32_t colour = palette.Colours()[i];
            table[i] = GifColorType{GifByteType(colour >> 16), GifByteType(colour >> 8), GifByteType(colour)};
        }
        Map = GifMakeMapObject(int(table.size()), table.data());
    }
    ~ColourMap() { GifFreeMapObject(Map); }
    ColourMap(const ColourMap&) = delete;
    ColourMap& operator=(const ColourMap&) = delete;

    ColorMapObject* Map = nullptr;
};

// The box of pixels where `after` differs from `before` within `area`.
QRect ChangedPixels(const QImage& before, const QImage& after, QRect area)
{
    int left = area.right() + 1, right = area.left() - 1, top = -1, bottom = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar* a = before.constScanLine(y);
        const uchar* b = after.constScanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            if (std::memcmp(a + 3 * x, b + 3 * x, 3) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                if (top < 0)
                    top = y;
                bottom = y;
            }
        }
    }
    if (top < 0)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

bool SamePixel(const uchar* a, const uchar* b)
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
    GifFileType* Gif = nullptr;
    GifPalette Global;
    std::vector<GifPixelType> Line;

    explicit Encoder(QIODevice& device) : Output{&device} {}
    ~Encoder()
    {
        if (Gif) {
            int error = 0;
            EGifCloseFile(Gif, &error);
        }
    }

    // `box` of `picture`, placed with `picture`'s corner at `origin` of the
    // screen; pixels equal to those of `before` (when given) transparent.
    // False with `tooManyColours` when the frame needs more than 255.
    bool Put(const QImage& picture, const QImage* before, QRect box, QPoint origin, int delay,
             bool& tooManyColours)
    {
        // The global table where it holds every colour the frame shows, else
        // one of the frame's own: the global one and the new colours, or
        // where those are too many the frame's colours alone.
        GifPalette local;
        const GifPalette* palette = &Global;
        if (!box.isEmpty() && !Covers(Global, picture, before, box)) {
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
        const int transparent = before ? palette->TransparentIndex() : NO_TRANSPARENT_COLOR;
        if (!PutFrameControl(Gif, delay, transparent))
            return false;
        if (box.isEmpty()) {
            // Nothing changed: one transparent pixel keeps the step's frame.
            GifPixelType pixel = GifPixelType(palette->TransparentIndex());
            return EGifPutImageDesc(Gif, 0, 0, 1, 1, false, nullptr) == GIF_OK && EGifPutLine(Gif, &pixel, 1) == GIF_OK;
        }
        std::optional<ColourMap> map;
        if (palette != &Global) {
            map.emplace(*palette);
            if (!map->Map)
                return false;
        }
        if (EGifPutImageDesc(Gif, origin.x() + box.left(), origin.y() + box.top(), box.width(), box.height(), false,
                             map ? map->Map : nullptr) != GIF_OK)
            return false;
        Line.resize(std::size_t(box.width()));
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const uchar* row = picture.constScanLine(y) + 3 * box.left();
            const uchar* old = before ? before->constScanLine(y) + 3 * box.left() : nullptr;
            for (int x = 0; x < box.width(); ++x) {
                if (old && SamePixel(row + 3 * x, old + 3 * x))
                    Line[std::size_t(x)] = GifPixelType(transparent);
                else
                    Line[std::size_t(x)] = palette->IndexOf(row + 3 * x);
            }
            if (EGifPutLine(Gif, Line.data(), box.width()) != GIF_OK)
                return false;
        }
        return true;
    }

private:
    // Whether `palette` has every colour the frame shows (the pixels of
    // `box` that differ from `before`).
    static bool Covers(const GifPalette& palette, const QImage& picture, const QImage* before, QRect box)
    {
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const uchar* row = picture.constScanLine(y);
            const uchar* old = before ? before->constScanLine(y) : nullptr;
            for (int x = box.left(); x <= box.right(); ++x) {
                if ((!old || !SamePixel(row + 3 * x, old + 3 * x)) && !palette.Has(row + 3 * x))
                    return false;
            }
        }
        return true;
    }

    static bool AddShown(GifPalette& palette, const QImage& picture, const QImage* before, QRect box)
    {
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const uchar* row = picture.constScanLine(y);
            const uchar* old = before ? before->constScanLine(y) : nullptr;
            for (int x = box.left(); x <= box.right(); ++x) {
                if ((!old || !SamePixel(row + 3 * x, old + 3 * x)) &&
                    !palette.AddColour(GifPalette::Pack(row + 3 * x), MaxGifColours))
                    return false;
            }
        }
        return true;
    }
};

GifStream::GifStream(QIODevice& device, const GifOptions& options, std::vector<std::uint32_t> knownColours)
    : device_(device), options_(options), known_(std::move(knownColours))
{
}

GifStream::~GifStream() = default;

void GifStream::Fail(const char* message)
{
    if (message_.isEmpty())
        message_ = QString::fromUtf8(message);
}

void GifStream::Start(const QImage& start)
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
    if (start.isNull())
        return Fail(EmptyText);
    shown_ = start.convertToFormat(QImage::Format_RGB888);

    encoder_ = std::make_unique<Encoder>(device_);
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
    int error = 0;
    encoder_->Gif = EGifOpen(&encoder_->Output, WriteToDevice, &error);
    if (!encoder_->Gif)
        return Fail(NotWrittenText);
    const ColourMap map(global);
    EGifSetGifVersion(encoder_->Gif, true);  // GIF89a: frame delays and transparency
    if (!map.Map || EGifPutScreenDesc(encoder_->Gif, shown_.width(), shown_.height(), 8, 0, map.Map) != GIF_OK ||
        !PutLoop(encoder_->Gif, options_.Plays))
        Fail(NotWrittenText);
}

void GifStream::Frame(const PlaneFrame& frame)
{
    if (!started_ || finished_ || Failed())
        return;
    if (!frame.Changed.isEmpty() &&
        (frame.Pixels.size() != frame.Changed.size() || frame.Pixels.format() != QImage::Format_RGB888))
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
        put = encoder_->Put(shown_, nullptr, shown_.rect(), QPoint(0, 0), delay, tooMany);
    } else {
        // Only the changed rectangle is compared and written. (An empty one
        // must not reach QImage::copy, which copies all for it.)
        const QRect area = frame.Changed & shown_.rect();
        if (area.isEmpty()) {
            put = encoder_->Put(shown_, &shown_, QRect(), QPoint(0, 0), delay, tooMany);
        } else {
            const QImage before = shown_.copy(area);
            ApplyFrame(shown_, frame);
            const QImage after = shown_.copy(area);
            put = encoder_->Put(after, &before, ChangedPixels(before, after, after.rect()), area.topLeft(), delay,
                                tooMany);
        }
    }
    ++frames_;
    if (!put)
        Fail(tooMany ? TooManyColoursText : NotWrittenText);
}

QString GifStream::Finish()
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
        GifFileType* gif = encoder_->Gif;
        encoder_->Gif = nullptr;
        int error = 0;
        if (EGifCloseFile(gif, &error) != GIF_OK)
            Fail(NotWrittenText);
    }
    if (encoder_ && encoder_->Output.Failed)
        Fail(NotWrittenText);
    return message_;
}

GifInMemory::GifInMemory(const GifOptions& options, std::vector<std::uint32_t> knownColours)
    : buffer_(&bytes_), stream_(buffer_, options, std::move(knownColours))
{
    buffer_.open(QIODevice::WriteOnly);
}

EncodedGif GifInMemory::Finish()
{
    EncodedGif encoded;
    encoded.Message = stream_.Finish();
    buffer_.close();
    if (encoded.Message.isEmpty())
        encoded.Bytes = std::move(bytes_);
    bytes_ = QByteArray();
    return encoded;
}
