// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifWriter.h"

#include <QIODevice>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "GifPalette.h"

namespace {

const char NotWrittenText[] = "Animaci GIF se nepodařilo zapsat.";
const char TooManyColoursText[] =
    "Animaci nelze uložit jako GIF: rovina má víc než 255 barev a žádnou barvu nelze změnit.";
const char BadPlaysText[] = "Počet přehrání animace musí být od 1 do 65536.";
const char BadDelayText[] = "Prodleva snímku musí být od 0 do 65535 setin sekundy.";
const char EmptyText[] = "Animace nemá žádný snímek.";
const char BrokenFrameText[] = "Animaci nelze zapsat: snímek neodpovídá svému obdélníku.";

bool FrameFits(const PlaneFrame& frame)
{
    return frame.Changed.isEmpty() ||
           (frame.Pixels.size() == frame.Changed.size() && frame.Pixels.format() == QImage::Format_RGB888);
}

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

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

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

class FrameEncoder {
public:
    FrameEncoder(GifFileType* gif, const GifPalette& palette) : gif_(gif), palette_(palette) {}

    // `box` of `picture`, placed with `picture`'s corner at `origin` of the
    // screen; pixels equal to those of `before` (when given) transparent.
    bool Put(const QImage& picture, const QImage* before, QRect box, QPoint origin, int delay)
    {
        const int transparent = before ? palette_.TransparentIndex() : NO_TRANSPARENT_COLOR;
        if (!PutFrameControl(gif_, delay, transparent))
            return false;
        if (box.isEmpty()) {
            // Nothing changed: one transparent pixel keeps the step's frame.
            GifPixelType pixel = GifPixelType(palette_.TransparentIndex());
            return EGifPutImageDesc(gif_, 0, 0, 1, 1, false, nullptr) == GIF_OK &&
                   EGifPutLine(gif_, &pixel, 1) == GIF_OK;
        }
        if (EGifPutImageDesc(gif_, origin.x() + box.left(), origin.y() + box.top(), box.width(), box.height(),
                             false, nullptr) != GIF_OK)
            return false;
        line_.resize(std::size_t(box.width()));
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const uchar* row = picture.constScanLine(y) + 3 * box.left();
            const uchar* old = before ? before->constScanLine(y) + 3 * box.left() : nullptr;
            for (int x = 0; x < box.width(); ++x) {
                if (old && std::memcmp(row + 3 * x, old + 3 * x, 3) == 0)
                    line_[std::size_t(x)] = GifPixelType(transparent);
                else
                    line_[std::size_t(x)] = palette_.IndexOf(row + 3 * x);
            }
            if (EGifPutLine(gif_, line_.data(), box.width()) != GIF_OK)
                return false;
        }
        return true;
    }

private:
    GifFileType* gif_;
    const GifPalette& palette_;
    std::vector<GifPixelType> line_;
};

bool PutScreen(GifFileType* gif, QSize size, const GifPalette& palette)
{
    std::vector<GifColorType> table(std::size_t(palette.TableSize()), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette.Colours().size(); ++i) {
        const std::uint32_t colour = palette.Colours()[i];
        table[i] = GifColorType{GifByteType(colour >> 16), GifByteType(colour >> 8), GifByteType(colour)};
    }
    ColorMapObject* map = GifMakeMapObject(int(table.size()), table.data());
    if (!map)
        return false;
    EGifSetGifVersion(gif, true);  // GIF89a: frame delays and transparency
    const bool put = EGifPutScreenDesc(gif, size.width(), size.height(), 8, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    return put;
}

}  // namespace

QString WriteGif(const PlaneAnimation& animation, const GifOptions& options, QIODevice& device)
{
    if (options.Plays < 0 || options.Plays > MaxGifPlays)
        return QString::fromUtf8(BadPlaysText);
    for (int delay : {options.FrameDelay, options.LastFrameDelay}) {
        if (delay < 0 || delay > 65535)
            return QString::fromUtf8(BadDelayText);
    }
    if (animation.Frames.empty() || animation.Start.isNull())
        return QString::fromUtf8(EmptyText);
    if (!std::all_of(animation.Frames.begin(), animation.Frames.end(), FrameFits))
        return QString::fromUtf8(BrokenFrameText);
    const QImage start = animation.Start.convertToFormat(QImage::Format_RGB888);

    // The whole palette first: the screen descriptor holds it. Colours met
    // only under later frames count too.
    GifPalette palette;
    bool fits = palette.AddColours(start, MaxGifColours);
    for (const PlaneFrame& frame : animation.Frames) {
        if (fits && !frame.Changed.isEmpty())
            fits = palette.AddColours(frame.Pixels, MaxGifColours);
    }
    if (!fits)
        return QString::fromUtf8(TooManyColoursText);

    int error = 0;
    GifOutput output{&device};
    GifHandle gif(EGifOpen(&output, WriteToDevice, &error));
    if (!gif || !PutScreen(gif.get(), start.size(), palette) || !PutLoop(gif.get(), options.Plays))
        return QString::fromUtf8(NotWrittenText);

    FrameEncoder encoder(gif.get(), palette);
    QImage shown = start;  // the picture after the frames written so far
    for (std::size_t k = 0; k < animation.Frames.size(); ++k) {
        const PlaneFrame& frame = animation.Frames[k];
        const int delay = k + 1 == animation.Frames.size() ? options.LastFrameDelay : options.FrameDelay;
        bool put;
        if (k == 0) {
            ApplyFrame(shown, frame);
            put = encoder.Put(shown, nullptr, shown.rect(), QPoint(0, 0), delay);
        } else {
            // Only the changed rectangle is compared and written. (An empty
            // one must not reach QImage::copy, which copies all for it.)
            const QRect area = frame.Changed & shown.rect();
            if (area.isEmpty()) {
                put = encoder.Put(shown, &shown, QRect(), QPoint(0, 0), delay);
            } else {
                const QImage before = shown.copy(area);
                ApplyFrame(shown, frame);
                const QImage after = shown.copy(area);
                put = encoder.Put(after, &before, ChangedPixels(before, after, after.rect()), area.topLeft(), delay);
            }
        }
        if (!put)
            return QString::fromUtf8(NotWrittenText);
    }
    GifFileType* raw = gif.release();
    if (EGifCloseFile(raw, &error) != GIF_OK || output.Failed)
        return QString::fromUtf8(NotWrittenText);
    return QString();
}
