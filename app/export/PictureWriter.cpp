// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureWriter.h"

#include <QFileInfo>

#include "PngWriter.h"
#include "VectorWriters.h"

namespace {

struct FormatName {
    PictureFormat Format;
    const char* Name;
};

constexpr FormatName FormatNames[] = {
    {PictureFormat::Png, "png"},
    {PictureFormat::Gif, "gif"},
    {PictureFormat::Svg, "svg"},
    {PictureFormat::Pdf, "pdf"},
};

QString NothingToWrite(PictureFormat format)
{
    return QStringLiteral("Pro formát %1 není co zapsat.").arg(PictureFormatName(format).toUpper());
}

// The bitmap as an animation of one frame.
PlaneAnimation StillAnimation(const RgbImage& plane)
{
    PlaneAnimation still;
    still.Start = plane;
    still.Frames.emplace_back();
    return still;
}

}  // namespace

std::optional<PictureFormat> PictureFormatNamed(QStringView name)
{
    for (const FormatName& entry : FormatNames) {
        if (name.compare(QLatin1String(entry.Name), Qt::CaseInsensitive) == 0)
            return entry.Format;
    }
    return std::nullopt;
}

std::optional<PictureFormat> PictureFormatOfPath(const QString& path)
{
    return PictureFormatNamed(QFileInfo(path).suffix());
}

QString PictureFormatName(PictureFormat format)
{
    for (const FormatName& entry : FormatNames) {
        if (entry.Format == format)
            return QString::fromLatin1(entry.Name);
    }
    return QString();
}

QString WritePicture(PictureFormat format, const PictureSource& source, QIODevice& device)
{
    switch (format) {
    case PictureFormat::Png:
        if (source.Plane)
            return WritePng(*source.Plane, device, source.PngScale);
        break;
    case PictureFormat::Gif:
        if (source.Encoded) {
            if (!source.Encoded->Message.empty())
                return QString::fromStdString(source.Encoded->Message);
            const auto length = qint64(source.Encoded->Bytes.size());
            return device.write(source.Encoded->Bytes.data(), length) == length
                       ? QString()
                       : QStringLiteral("Animaci GIF se nepodařilo zapsat.");
        }
        if (source.Animation)
            return WriteGif(*source.Animation, source.Gif, device);
        if (source.Plane)
            return WriteGif(StillAnimation(*source.Plane), source.Gif, device);
        break;
    case PictureFormat::Svg:
        if (source.Record)
            return WriteSvg(*source.Record, device);
        break;
    case PictureFormat::Pdf:
        if (source.Record)
            return WritePdf(*source.Record, device);
        break;
    }
    return NothingToWrite(format);
}
