// SPDX-License-Identifier: GPL-3.0-or-later
// What the GIF stream needs of a GIF file writer: a GIF89a file written block
// by block into a sink of bytes, as the blocks come. Two writers do it: one
// through giflib (the desktop) and one of our own (the browser, where there
// is no giflib), and both write the same bytes for the same calls.
//
// Calls go in the file's order: Open, PutScreen, PutLoop, then for each
// image PutFrameControl, PutImage and its pixels in PutLine calls, and Close.
// Each Put returns false on failure and Error() tells why, with giflib's own
// error numbers and as giflib reports them, which is not every time:
// - a sink that fails under the screen or a local colour table gives
//   WriteFailed, and under the pixels DiskIsFull;
// - a sink that fails under an extension, an image's position and size or
//   the trailer is not reported at all.
// So whoever wants to know whether the whole file was written watches the
// sink itself. After a failure of the sink what follows is no GIF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

struct GifColour {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;

    friend bool operator==(const GifColour&, const GifColour&) = default;
};

// Takes the next bytes of the file; false when not all of them were written.
using GifByteSink = std::function<bool(std::span<const std::uint8_t> bytes)>;

// giflib's E_GIF_ERR_ numbers.
enum class GifWriteError : int {
    None = 0,
    OpenFailed = 1,           // Open on a writer already open
    WriteFailed = 2,          // the sink failed under the screen or a colour table
    HasScreenDescriptor = 3,  // a second PutScreen
    NoColourMap = 5,          // an image with neither a table of its own nor a global one
    DataTooBig = 6,           // more pixels than the image has left
    NotEnoughMemory = 7,      // a colour table of more than 256 colours
    DiskIsFull = 8,           // the sink failed under the pixels
    NotWriteable = 10,        // a call before Open or after Close
};

// How a viewer disposes of an image before the next one.
enum class GifDisposal : std::uint8_t { Unspecified = 0, DoNotDispose = 1, ToBackground = 2, ToPrevious = 3 };

inline constexpr int GifNoTransparentIndex = -1;

// The most colours a colour table holds.
inline constexpr std::size_t GifMaxColours = 256;

struct GifFrameControl {
    int Delay = 0;                                 // hundredths of a second, 0 to 65535
    int TransparentIndex = GifNoTransparentIndex;  // or 0 to 255
    GifDisposal Disposal = GifDisposal::Unspecified;

    friend bool operator==(const GifFrameControl&, const GifFrameControl&) = default;
};

class GifFileWriter {
public:
    virtual ~GifFileWriter() = default;

    // Starts a file into `sink`. Nothing is written yet. Destroying a writer
    // that is open closes it first (the trailer goes to the sink), as giflib
    // frees a file only by closing it.
    virtual bool Open(GifByteSink sink) = 0;
    // "GIF89a" and the logical screen: its size, colour resolution 8 bits,
    // background index 0 and the global colour table, written with as many
    // entries as the next power of two (at least 2; the added ones black).
    // No colours: no global table. At most 256 colours.
    virtual bool PutScreen(int width, int height, std::span<const GifColour> colours) = 0;
    // The NETSCAPE2.0 block: the animation repeats `repeats` times more
    // (0 to 65535; 0 is forever).
    virtual bool PutLoop(int repeats) = 0;
    // The graphics control block of the next image.
    virtual bool PutFrameControl(const GifFrameControl& control) = 0;
    // An image's rectangle on the screen (0 to 65535 each) and its own
    // colour table, rounded up as the global one; no colours: the image uses
    // the global table.
    virtual bool PutImage(int left, int top, int width, int height, std::span<const GifColour> colours) = 0;
    // The next pixels of the image, row by row; a call may hold any number of
    // them, though one row a call is usual. An index beyond the table is
    // written as its low bits. No pixels: nothing happens.
    virtual bool PutLine(std::span<const std::uint8_t> pixels) = 0;
    // The trailer. The file is over; every call but Open then fails.
    virtual bool Close() = 0;

    // The reason of the last failure; None before any.
    GifWriteError Error() const { return error_; }

protected:
    bool Fail(GifWriteError error)
    {
        error_ = error;
        return false;
    }
    void SetError(GifWriteError error) { error_ = error; }

private:
    GifWriteError error_ = GifWriteError::None;
};

// The writer the build chose: ours under Emscripten or with
// PARAMCURVE_OWN_GIF, else giflib's.
std::unique_ptr<GifFileWriter> MakeGifFileWriter();
