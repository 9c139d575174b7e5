// SPDX-License-Identifier: GPL-3.0-or-later
// A whole animation written as an animated GIF, through the GIF stream
// (GifStream.h, which says how frames and colours are written). Where every
// colour of the animation fits one table of 255, that table is the global
// one and no frame carries its own.
#pragma once

#include <QString>

#include "GifStream.h"
#include "PlaneFrames.h"

class QIODevice;

// Writes the animation to `device`; an empty string on success, otherwise
// the message for the user (nothing is written for options out of range, an
// empty animation, a frame whose pixels do not match its rectangle or a
// frame of more than 255 colours).
QString WriteGif(const PlaneAnimation& animation, const GifOptions& options, QIODevice& device);
