// SPDX-License-Identifier: GPL-3.0-or-later
// One entry for writing the plane in any output format: the format is chosen
// by name or by the file's extension, and each format takes from the source
// what it needs:
//   PNG  the bitmap, at 1x, 2x or 4x;
//   GIF  an animation already encoded, or the animation of a trace, or else
//        the bitmap as a single frame;
//   SVG  the record of what was drawn (vector graphics);
//   PDF  likewise, one page.
// Every writer writes into a QIODevice (a safe file, a buffer) and returns an
// empty string on success, otherwise a message for the user.
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

#include "GifWriter.h"
#include "PlaneRecord.h"
#include "RgbImage.h"
#include "PlaneFrames.h"

class QIODevice;

enum class PictureFormat { Png, Gif, Svg, Pdf };

// "png", "gif", "svg" or "pdf", in any case; nothing for other names.
std::optional<PictureFormat> PictureFormatNamed(QStringView name);
// By the extension of a file name or path, as PictureFormatNamed.
std::optional<PictureFormat> PictureFormatOfPath(const QString& path);
QString PictureFormatName(PictureFormat format);  // "png", ...

struct PictureSource {
    const RgbImage* Plane = nullptr;
    const PlaneRecord* Record = nullptr;
    const PlaneAnimation* Animation = nullptr;
    const EncodedGif* Encoded = nullptr;  // written as it is; Gif's options were applied already
    GifOptions Gif;
    int PngScale = 1;  // each plane pixel a block this wide and high (PngScales)
};

QString WritePicture(PictureFormat format, const PictureSource& source, QIODevice& device);
