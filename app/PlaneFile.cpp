#include "PlaneFile.h"

#include <QBuffer>
#include <QIODevice>

OutputFileResult WritePlanePng(const QImage& plane, const QString& path, const OutputFileOptions& options)
{
    // Encoded in memory first: the encoder never meets a write error (it
    // would print its own English note), and a device gets the file in one go.
    QByteArray png;
    QBuffer buffer(&png);
    const bool encoded = !plane.isNull() && buffer.open(QIODevice::WriteOnly) && plane.save(&buffer, "PNG");
    return WriteOutputFile(
        path, QStringLiteral("Obrázek"),
        [&](QIODevice& device) { return encoded && device.write(png) == png.size(); }, options);
}
