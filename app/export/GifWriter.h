// SPDX-License-Identifier: GPL-3.0-or-later
// The animation of a trace as an animated GIF (giflib).
//
// - The first frame is the whole picture; each later one only the bounding
//   box of the pixels that changed, with the unchanged pixels inside it
//   transparent, drawn over the frame before (a frame that changes nothing
//   is one transparent pixel, so every step keeps its frame).
// - The palette is exact: every colour of the animation once, plus the
//   transparent index. Above 255 colours nothing is written: a colour is
//   never approximated or dithered.
// - Each frame is held FrameDelay hundredths of a second, the last one
//   LastFrameDelay.
#pragma once

#include <QString>

#include "PlaneFrames.h"

class QIODevice;

struct GifOptions {
    int FrameDelay = 5;        // hundredths of a second, 0 to 65535
    int LastFrameDelay = 200;
    int Plays = 0;             // 0: loop forever; otherwise 1 to MaxGifPlays times
};

inline constexpr int MaxGifPlays = 65536;
inline constexpr int MaxGifColours = 255;

// Writes the animation to `device`; an empty string on success, otherwise
// the message for the user (nothing is written for options out of range, an
// empty animation, a frame whose pixels do not match its rectangle or too
// many colours).
QString WriteGif(const PlaneAnimation& animation, const GifOptions& options, QIODevice& device);
