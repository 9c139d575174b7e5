// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "RgbImage.h"

class QIODevice;

// The plane's pixels as a PNG file; an empty string, or the message.
QString WritePng(const RgbImage& plane, QIODevice& device);
