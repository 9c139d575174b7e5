// SPDX-License-Identifier: GPL-3.0-or-later
// A whole animation, held frame by frame, encoded as an animated GIF through
// the GIF stream (GifStream.h says how frames and colours are written).
// Where every colour of the animation fits one table of 255, that table is
// the global one and no frame carries its own.
#pragma once

#include "GifStream.h"
#include "PlaneFrames.h"

// The file, or (nothing encoded) the message for the user: options out of
// range, an empty animation, a frame whose pixels do not match its
// rectangle, a frame of more than 255 colours.
EncodedGif EncodeAnimation(const PlaneAnimation& animation, const GifOptions& options);
