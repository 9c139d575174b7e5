// SPDX-License-Identifier: GPL-3.0-or-later
// An animated GIF written frame by frame as the frames are made (through
// core/gif's writer: giflib, or our own encoder where there is none), so no
// animation has to be held whole: the device receives the file as it grows,
// and only the picture shown so far and the frame last given are kept.
//
// - The first frame is the whole picture; each later one only the bounding
//   box of the pixels that changed, with the unchanged pixels inside it
//   transparent, drawn over the frame before (a frame that changes nothing
//   is one transparent pixel, so every step keeps its frame).
// - Colours are exact, never approximated or dithered. The global colour
//   table holds the start picture's colours and the colours the caller
//   knows will come (a curve's, the axes'); a frame that brings others
//   carries a table of its own. A frame of more than 255 colours cannot be
//   written: the stream fails with the message for it.
// - Each frame is held FrameDelay hundredths of a second, the last one
//   LastFrameDelay; so a frame is written once the next one comes, or at
//   Finish.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "GifPalette.h"
#include "PlaneFrames.h"

// Where the file's bytes go as they are made; false when they could not be
// taken (the stream then fails).
using GifByteSink = std::function<bool(std::span<const std::uint8_t> bytes)>;

struct GifOptions {
    int FrameDelay = 5;        // hundredths of a second, 0 to 65535
    int LastFrameDelay = 200;
    int Plays = 0;             // 0: loop forever; otherwise 1 to MaxGifPlays times
};

inline constexpr int MaxGifPlays = 65536;
inline constexpr int MaxGifColours = 255;

// The colour of a canvas colour value (red in the low byte) as the GIF
// palette packs it.
std::uint32_t GifColourOf(std::int32_t canvasColour);

class GifStream : public PlaneFrameSink {
public:
    // Writes to `sink`; `knownColours` (0xRRGGBB) join the start picture's in
    // the global table, in that order.
    GifStream(GifByteSink sink, const GifOptions& options, std::vector<std::uint32_t> knownColours = {});
    ~GifStream() override;
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    // The header, the global table and the loop count.
    void Start(const RgbImage& start) override;
    void Frame(const PlaneFrame& frame) override;
    // Writes the last frame and the file's end. Empty on success, else the
    // first failure's message (and what was written is no whole file).
    std::string Finish();

    bool Failed() const { return !message_.empty(); }
    const std::string& Message() const { return message_; }
    std::size_t FrameCount() const { return frames_; }

    struct Encoder;

private:
    void Fail(const char* message);
    void Encode(const PlaneFrame& frame, int delay);

    GifByteSink sink_;
    GifOptions options_;
    std::vector<std::uint32_t> known_;
    std::unique_ptr<Encoder> encoder_;
    RgbImage shown_;                  // the picture after the frames written so far
    std::optional<PlaneFrame> held_;  // the frame given last, not yet written
    std::size_t frames_ = 0;
    bool started_ = false;
    bool finished_ = false;
    std::string message_;
};

// An animation encoded as it is made, the GIF kept in memory: the size of
// the file, never that of its frames.
struct EncodedGif {
    std::string Bytes;    // the whole file; empty when it could not be encoded
    std::string Message;  // why not; empty when Bytes holds it
};

class GifInMemory : public PlaneFrameSink {
public:
    explicit GifInMemory(const GifOptions& options = {}, std::vector<std::uint32_t> knownColours = {});

    void Start(const RgbImage& start) override { stream_.Start(start); }
    void Frame(const PlaneFrame& frame) override { stream_.Frame(frame); }
    std::size_t FrameCount() const { return stream_.FrameCount(); }
    // Ends the stream and hands the file over.
    EncodedGif Finish();

private:
    std::string bytes_;
    GifStream stream_;
};
