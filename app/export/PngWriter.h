// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "RgbImage.h"

class QIODevice;

// The enlargements a PNG is offered in, for a worksheet printed larger.
inline constexpr int PngScales[] = {1, 2, 4};

// The plane's pixels as a PNG file, each pixel a block of `scale` x `scale`
// (one of PngScales) with nothing smoothed; an empty string, or the message.
QString WritePng(const RgbImage& plane, QIODevice& device, int scale = 1);
