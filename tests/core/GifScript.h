// SPDX-License-Identifier: GPL-3.0-or-later
// A GIF file as the calls that write it, played on either writer into a sink
// that keeps what each call wrote and can fail on purpose, and a file
// decoded again with giflib to compare with the calls. No toolkit.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "GifFileWriter.h"

using Bytes = std::vector<std::uint8_t>;

struct GifScript {
    struct Image {
        std::optional<GifFrameControl> Control;
        int Left = 0, Top = 0, Width = 1, Height = 1;
        std::vector<GifColour> Colours;  // its own table; none: the global one
        Bytes Pixels;
        // The lengths of the PutLine calls; none: one a row.
        std::vector<std::size_t> Lines;
        // Left without its last pixels, for the next image to come anyway.
        std::size_t Unwritten = 0;
    };
    int Width = 1, Height = 1;
    std::vector<GifColour> Colours;  // the global table
    std::optional<int> Loop;         // the NETSCAPE2.0 block's repeats
    std::vector<Image> Images;
    bool Closed = true;              // else the writer is dropped open
};

// What each call of a played script wrote and answered.
struct Played {
    std::vector<std::string> Calls;
    std::vector<Bytes> Written;  // by call, and last what dropping the writer wrote
    std::vector<bool> Results;
    std::vector<GifWriteError> Errors;
    Bytes File;
    std::size_t PixelWrites = 0;  // the sink's writes under PutLine calls
};

// How a sink fails: it runs out of room after so many bytes, for good; or
// it loses one write of the image data (the n-th under PutLine calls) and
// takes all the others, as a link that drops a packet.
struct SinkFailure {
    std::size_t Room = std::numeric_limits<std::size_t>::max();
    std::optional<std::size_t> LostPixelWrite;
};

struct RecordingSink {
    Played* Into;
    SinkFailure Failure;
    bool UnderPixels = false;
    std::size_t PixelWrites = 0;

    bool Take(std::span<const std::uint8_t> bytes)
    {
        if (UnderPixels && PixelWrites++ == Failure.LostPixelWrite)
            return false;
        const std::size_t taken = std::min(bytes.size(), Failure.Room - Into->File.size());
        Into->File.insert(Into->File.end(), bytes.begin(), bytes.begin() + std::ptrdiff_t(taken));
        Into->Written.back().insert(Into->Written.back().end(), bytes.begin(), bytes.begin() + std::ptrdiff_t(taken));
        return taken == bytes.size();
    }
};

// Plays the script on a writer `make` makes, into a sink that fails as told.
template <typename MakeWriter>
Played Play(MakeWriter make, const GifScript& script, SinkFailure failure = {})
{
    Played played;
    played.Written.emplace_back();
    RecordingSink sink{&played, failure};
    {
        auto writer = make();
        auto call = [&](const std::string& name, bool result) {
            played.Calls.push_back(name);
            played.Results.push_back(result);
            played.Errors.push_back(writer->Error());
            played.Written.emplace_back();
        };
        // A call's bytes go into the last entry; a new one follows each call.
        call("open", writer->Open([&sink](std::span<const std::uint8_t> bytes) { return sink.Take(bytes); }));
        call("screen", writer->PutScreen(script.Width, script.Height, script.Colours));
        if (script.Loop)
            call("loop", writer->PutLoop(*script.Loop));
        for (std::size_t i = 0; i < script.Images.size(); ++i) {
            const GifScript::Image& image = script.Images[i];
            const std::string name = "image " + std::to_string(i);
            if (image.Control)
                call(name + " control", writer->PutFrameControl(*image.Control));
            call(name, writer->PutImage(image.Left, image.Top, image.Width, image.Height, image.Colours));
            const std::size_t end = image.Pixels.size() - image.Unwritten;
            std::size_t at = 0, line = 0;
            while (at < end) {
                std::size_t length = image.Lines.empty() ? std::size_t(image.Width) : image.Lines[line++];
                length = std::min(length, end - at);
                sink.UnderPixels = true;
                const bool written = writer->PutLine(std::span(image.Pixels).subspan(at, length));
                sink.UnderPixels = false;
                call(name + " pixels from " + std::to_string(at), written);
                at += length;
            }
        }
        if (script.Closed)
            call("close", writer->Close());
    }
    played.PixelWrites = sink.PixelWrites;
    return played;
}

// Where two plays differ, told for a person; empty when they do not.
inline std::string FirstDifference(const Played& a, const Played& b)
{
    std::ostringstream out;
    if (a.Calls != b.Calls)
        return "the calls differ";
    for (std::size_t i = 0; i < a.Calls.size(); ++i) {
        if (a.Results[i] != b.Results[i] || a.Errors[i] != b.Errors[i]) {
            out << a.Calls[i] << ": " << a.Results[i] << " error " << int(a.Errors[i]) << " against " << b.Results[i]
                << " error " << int(b.Errors[i]);
            return out.str();
        }
    }
    for (std::size_t i = 0; i < a.Written.size(); ++i) {
        const Bytes& x = a.Written[i];
        const Bytes& y = b.Written[i];
        if (x == y)
            continue;
        std::size_t at = 0;
        while (at < x.size() && at < y.size() && x[at] == y[at])
            ++at;
        out << (i < a.Calls.size() ? a.Calls[i] : std::string("dropping the writer"))
            << " wrote " << x.size() << " bytes against " << y.size() << ", first different at " << at;
        return out.str();
    }
    return {};
}

// A GIF decoded with giflib, each image as the indices stored.
struct DecodedImages {
    std::string Error;  // empty when the file decoded
    int Width = 0, Height = 0;
    std::vector<GifColour> Colours;
    std::optional<int> Loop;
    struct Image {
        int Left = 0, Top = 0, Width = 0, Height = 0;
        std::vector<GifColour> Colours;
        Bytes Pixels;
        std::optional<GifFrameControl> Control;
    };
    std::vector<Image> Images;
};

namespace gifscript {

struct Reader {
    const Bytes* File;
    std::size_t At = 0;
};

inline int Read(GifFileType* gif, GifByteType* into, int length)
{
    auto* reader = static_cast<Reader*>(gif->UserData);
    const std::size_t count = std::min(std::size_t(length), reader->File->size() - reader->At);
    std::memcpy(into, reader->File->data() + reader->At, count);
    reader->At += count;
    return int(count);
}

inline std::vector<GifColour> ColoursOf(const ColorMapObject* map)
{
    std::vector<GifColour> colours;
    for (int i = 0; map && i < map->ColorCount; ++i)
        colours.push_back(GifColour{map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    return colours;
}

}  // namespace gifscript

inline DecodedImages DecodeImages(const Bytes& file)
{
    DecodedImages decoded;
    gifscript::Reader reader{&file};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, gifscript::Read, &error);
    if (!gif) {
        decoded.Error = "DGifOpen: " + std::to_string(error);
        return decoded;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        decoded.Error = "DGifSlurp: " + std::to_string(gif->Error);
        DGifCloseFile(gif, &error);
        return decoded;
    }
    decoded.Width = gif->SWidth;
    decoded.Height = gif->SHeight;
    decoded.Colours = gifscript::ColoursOf(gif->SColorMap);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        DecodedImages::Image image;
        image.Left = saved.ImageDesc.Left;
        image.Top = saved.ImageDesc.Top;
        image.Width = saved.ImageDesc.Width;
        image.Height = saved.ImageDesc.Height;
        image.Colours = gifscript::ColoursOf(saved.ImageDesc.ColorMap);
        image.Pixels.assign(saved.RasterBits, saved.RasterBits + std::size_t(image.Width) * std::size_t(image.Height));
        for (int k = 0; k + 1 < saved.ExtensionBlockCount; ++k) {
            const ExtensionBlock& block = saved.ExtensionBlocks[k];
            const ExtensionBlock& data = saved.ExtensionBlocks[k + 1];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount == 3 && data.Bytes[0] == 1)
                decoded.Loop = data.Bytes[1] | (data.Bytes[2] << 8);
        }
        GraphicsControlBlock control{};
        if (DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK) {
            for (int k = 0; k < saved.ExtensionBlockCount; ++k) {
                if (saved.ExtensionBlocks[k].Function == GRAPHICS_EXT_FUNC_CODE)
                    image.Control = GifFrameControl{control.DelayTime, control.TransparentColor,
                                                    GifDisposal(control.DisposalMode)};
            }
        }
        decoded.Images.push_back(std::move(image));
    }
    DGifCloseFile(gif, &error);
    return decoded;
}
