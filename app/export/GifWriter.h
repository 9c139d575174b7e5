// SPDX-License-Identifier: GPL-3.0-or-later
// A whole animation written to a device as an animated GIF (GifAnimation.h).
#pragma once

#include <QString>

#include "GifAnimation.h"

class QIODevice;

// Writes the animation to `device`; an empty string on success, otherwise
// the message for the user. Encoded in memory first, so an animation that
// cannot be written leaves the device untouched.
QString WriteGif(const PlaneAnimation& animation, const GifOptions& options, QIODevice& device);
