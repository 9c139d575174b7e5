// SPDX-License-Identifier: GPL-3.0-or-later
#include "OwnGifFileWriter.h"

#include <algorithm>

namespace {

constexpr std::uint8_t Header[] = {'G', 'I', 'F', '8', '9', 'a'};
constexpr std::uint8_t ColourResolution = 8;
constexpr std::uint8_t ExtensionIntroducer = 0x21;
constexpr std::uint8_t ApplicationLabel = 0xFF;
constexpr std::uint8_t GraphicsControlLabel = 0xF9;
constexpr std::uint8_t ImageSeparator = 0x2C;
constexpr std::uint8_t Trailer = 0x3B;
constexpr std::uint8_t TableFollows = 0x80;

// Bits of the indices of a table of `count` colours: its size in the file is
// 2 to that power.
int TableBits(std::size_t count)
{
    int bits = 1;
    while ((std::size_t(1) << bits) < count)
        ++bits;
    return bits;
}

void PutWord(std::vector<std::uint8_t>& bytes, int value)
{
    bytes.push_back(std::uint8_t(value));
    bytes.push_back(std::uint8_t(value >> 8));
}

// The table padded with black to its size in the file.
void PutTable(std::vector<std::uint8_t>& bytes, std::span<const GifColour> colours, int bits)
{
    for (const GifColour& colour : colours)
        bytes.insert(bytes.end(), {colour.Red, colour.Green, colour.Blue});
    bytes.resize(bytes.size() + 3 * ((std::size_t(1) << bits) - colours.size()), 0);
}

}  // namespace

OwnGifFileWriter::OwnGifFileWriter() : codes_(sink_), encoder_(codes_) {}

OwnGifFileWriter::~OwnGifFileWriter()
{
    if (open_)
        Close();
}

bool OwnGifFileWriter::Open(GifByteSink sink)
{
    if (open_)
        return Fail(GifWriteError::OpenFailed);
    sink_ = std::move(sink);
    open_ = true;
    screenPut_ = false;
    globalBits_ = 0;
    pixelsLeft_ = 0;
    SetError(GifWriteError::None);
    return true;
}

bool OwnGifFileWriter::PutScreen(int width, int height, std::span<const GifColour> colours)
{
    if (!open_)
        return Fail(GifWriteError::NotWriteable);
    if (screenPut_)
        return Fail(GifWriteError::HasScreenDescriptor);
    if (colours.size() > GifMaxColours)
        return Fail(GifWriteError::NotEnoughMemory);
    // giflib reports a failed write of the header and of the table, not of
    // the descriptor between them; it takes the table once the header is
    // written.
    if (!Write(Header))
        return Fail(GifWriteError::WriteFailed);
    const int bits = colours.empty() ? 0 : TableBits(colours.size());
    globalBits_ = bits;
    bytes_.clear();
    PutWord(bytes_, width);
    PutWord(bytes_, height);
    // Without a table the field of its size still says 8 bits.
    bytes_.push_back(std::uint8_t((bits ? TableFollows : 0) | (ColourResolution - 1) << 4 | (bits ? bits - 1 : 7)));
    bytes_.push_back(0);  // background index
    bytes_.push_back(0);  // aspect ratio not given
    Write(bytes_);
    if (bits) {
        bytes_.clear();
        PutTable(bytes_, colours, bits);
        if (!Write(bytes_))
            return Fail(GifWriteError::WriteFailed);
    }
    screenPut_ = true;
    return true;
}

// giflib does not report a sink's failure under an extension.
bool OwnGifFileWriter::PutLoop(int repeats)
{
    if (!open_)
        return Fail(GifWriteError::NotWriteable);
    bytes_ = {ExtensionIntroducer, ApplicationLabel, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1};
    PutWord(bytes_, repeats);
    bytes_.push_back(0);
    Write(bytes_);
    return true;
}

bool OwnGifFileWriter::PutFrameControl(const GifFrameControl& control)
{
    if (!open_)
        return Fail(GifWriteError::NotWriteable);
    const bool transparent = control.TransparentIndex != GifNoTransparentIndex;
    bytes_ = {ExtensionIntroducer, GraphicsControlLabel, 4,
              std::uint8_t((int(control.Disposal) & 7) << 2 | (transparent ? 1 : 0))};
    PutWord(bytes_, control.Delay);
    bytes_.push_back(std::uint8_t(control.TransparentIndex));
    bytes_.push_back(0);
    Write(bytes_);
    return true;
}

bool OwnGifFileWriter::PutImage(int left, int top, int width, int height, std::span<const GifColour> colours)
{
    if (!open_)
        return Fail(GifWriteError::NotWriteable);
    if (colours.size() > GifMaxColours)
        return Fail(GifWriteError::NotEnoughMemory);
    const int bits = colours.empty() ? 0 : TableBits(colours.size());
    // giflib reports a failed write of the descriptor only in its table.
    bytes_ = {ImageSeparator};
    PutWord(bytes_, left);
    PutWord(bytes_, top);
    PutWord(bytes_, width);
    PutWord(bytes_, height);
    bytes_.push_back(std::uint8_t(bits ? TableFollows | (bits - 1) : 0));
    Write(bytes_);
    if (bits) {
        bytes_.clear();
        PutTable(bytes_, colours, bits);
        if (!Write(bytes_))
            return Fail(GifWriteError::WriteFailed);
    } else if (!globalBits_) {
        return Fail(GifWriteError::NoColourMap);
    }
    pixelsLeft_ = std::int64_t(width) * height;
    // Codes of at least 3 bits, even for a table of two colours.
    codeSize_ = std::max(2, bits ? bits : globalBits_);
    const std::uint8_t codeSize = std::uint8_t(codeSize_);
    Write(std::span(&codeSize, 1));
    encoder_.Start(codeSize_);
    return true;
}

bool OwnGifFileWriter::PutLine(std::span<const std::uint8_t> pixels)
{
    if (!open_)
        return Fail(GifWriteError::NotWriteable);
    if (pixels.empty())
        return true;
    if (std::int64_t(pixels.size()) > pixelsLeft_)
        return Fail(GifWriteError::DataTooBig);
    pixelsLeft_ -= std::int64_t(pixels.size());
    bool written = encoder_.Put(pixels);
    if (written && pixelsLeft_ == 0)
        written = encoder_.Finish();
    return written ? true : Fail(GifWriteError::DiskIsFull);
}

// giflib does not report a sink's failure under the trailer either.
bool OwnGifFileWriter::Close()
{
    if (!open_)
        return Fail(GifWriteError::NotWriteable);
    open_ = false;
    Write(std::span(&Trailer, 1));
    return true;
}
