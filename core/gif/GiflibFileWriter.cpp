// SPDX-License-Identifier: GPL-3.0-or-later
#include "GiflibFileWriter.h"

#include <gif_lib.h>

#include <climits>

namespace {

static_assert(int(GifWriteError::OpenFailed) == E_GIF_ERR_OPEN_FAILED);
static_assert(int(GifWriteError::WriteFailed) == E_GIF_ERR_WRITE_FAILED);
static_assert(int(GifWriteError::HasScreenDescriptor) == E_GIF_ERR_HAS_SCRN_DSCR);
static_assert(int(GifWriteError::NoColourMap) == E_GIF_ERR_NO_COLOR_MAP);
static_assert(int(GifWriteError::DataTooBig) == E_GIF_ERR_DATA_TOO_BIG);
static_assert(int(GifWriteError::NotEnoughMemory) == E_GIF_ERR_NOT_ENOUGH_MEM);
static_assert(int(GifWriteError::DiskIsFull) == E_GIF_ERR_DISK_IS_FULL);
static_assert(int(GifWriteError::NotWriteable) == E_GIF_ERR_NOT_WRITEABLE);
static_assert(int(GifDisposal::DoNotDispose) == DISPOSE_DO_NOT && int(GifDisposal::ToPrevious) == DISPOSE_PREVIOUS);
static_assert(GifNoTransparentIndex == NO_TRANSPARENT_COLOR);

// A giflib colour map of the colours, padded with black to a power of two:
// giflib makes no other.
struct ColourMap {
    explicit ColourMap(std::span<const GifColour> colours)
    {
        if (colours.empty())
            return;
        int size = 2;
        while (std::size_t(size) < colours.size())
            size *= 2;
        std::vector<GifColorType> table(std::size_t(size), GifColorType{0, 0, 0});
        for (std::size_t i = 0; i < colours.size(); ++i)
            table[i] = GifColorType{colours[i].Red, colours[i].Green, colours[i].Blue};
        Map = GifMakeMapObject(size, table.data());
        Failed = !Map;
    }
    ~ColourMap() { GifFreeMapObject(Map); }
    ColourMap(const ColourMap&) = delete;
    ColourMap& operator=(const ColourMap&) = delete;

    ColorMapObject* Map = nullptr;
    bool Failed = false;
};

}  // namespace

GiflibFileWriter::~GiflibFileWriter()
{
    if (gif_)
        Close();
}

int GiflibFileWriter::WriteToSink(GifFileType* gif, const std::uint8_t* bytes, int length)
{
    auto* writer = static_cast<GiflibFileWriter*>(gif->UserData);
    return writer->sink_(std::span(bytes, std::size_t(length))) ? length : 0;
}

bool GiflibFileWriter::Result(int status)
{
    return status == GIF_OK ? true : Fail(GifWriteError(gif_->Error));
}

bool GiflibFileWriter::Open(GifByteSink sink)
{
    if (gif_)
        return Fail(GifWriteError::OpenFailed);
    sink_ = std::move(sink);
    int error = 0;
    gif_ = EGifOpen(this, WriteToSink, &error);
    if (!gif_)
        return Fail(GifWriteError(error));
    EGifSetGifVersion(gif_, true);  // GIF89a: frame delays and transparency
    screenPut_ = false;
    SetError(GifWriteError::None);
    return true;
}

bool GiflibFileWriter::PutScreen(int width, int height, std::span<const GifColour> colours)
{
    if (!gif_)
        return Fail(GifWriteError::NotWriteable);
    // giflib would report a second screen too, but lose the first one's table.
    if (screenPut_)
        return Fail(GifWriteError::HasScreenDescriptor);
    if (colours.size() > GifMaxColours)
        return Fail(GifWriteError::NotEnoughMemory);
    const ColourMap map(colours);
    if (map.Failed)
        return Fail(GifWriteError::NotEnoughMemory);
    screenPut_ = Result(EGifPutScreenDesc(gif_, width, height, 8, 0, map.Map));
    return screenPut_;
}

bool GiflibFileWriter::PutLoop(int repeats)
{
    if (!gif_)
        return Fail(GifWriteError::NotWriteable);
    const GifByteType loop[] = {1, GifByteType(repeats & 0xFF), GifByteType((repeats >> 8) & 0xFF)};
    return Result(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE)) &&
           Result(EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0")) && Result(EGifPutExtensionBlock(gif_, 3, loop)) &&
           Result(EGifPutExtensionTrailer(gif_));
}

bool GiflibFileWriter::PutFrameControl(const GifFrameControl& frame)
{
    if (!gif_)
        return Fail(GifWriteError::NotWriteable);
    GraphicsControlBlock control{};
    control.DisposalMode = int(frame.Disposal);
    control.UserInputFlag = false;
    control.DelayTime = frame.Delay;
    control.TransparentColor = frame.TransparentIndex;
    GifByteType bytes[4];
    const auto length = int(EGifGCBToExtension(&control, bytes));
    return Result(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, length, bytes));
}

bool GiflibFileWriter::PutImage(int left, int top, int width, int height, std::span<const GifColour> colours)
{
    if (!gif_)
        return Fail(GifWriteError::NotWriteable);
    if (colours.size() > GifMaxColours)
        return Fail(GifWriteError::NotEnoughMemory);
    const ColourMap map(colours);
    if (map.Failed)
        return Fail(GifWriteError::NotEnoughMemory);
    // giflib 5.2.1 forgets the table of the image before without freeing it
    // when this one has none.
    if (!map.Map && gif_->Image.ColorMap) {
        GifFreeMapObject(gif_->Image.ColorMap);
        gif_->Image.ColorMap = nullptr;
    }
    return Result(EGifPutImageDesc(gif_, left, top, width, height, false, map.Map));
}

bool GiflibFileWriter::PutLine(std::span<const std::uint8_t> pixels)
{
    if (!gif_)
        return Fail(GifWriteError::NotWriteable);
    // giflib takes no pixels as a whole row.
    if (pixels.empty())
        return true;
    if (pixels.size() > std::size_t(INT_MAX))
        return Fail(GifWriteError::DataTooBig);
    line_.assign(pixels.begin(), pixels.end());
    return Result(EGifPutLine(gif_, line_.data(), int(line_.size())));
}

bool GiflibFileWriter::Close()
{
    if (!gif_)
        return Fail(GifWriteError::NotWriteable);
    GifFileType* gif = gif_;
    gif_ = nullptr;
    int error = 0;
    return EGifCloseFile(gif, &error) == GIF_OK ? true : Fail(GifWriteError(error));
}
