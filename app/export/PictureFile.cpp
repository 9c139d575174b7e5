// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFile.h"

#include <QBuffer>
#include <QIODevice>

QString PictureFileWhat(PictureFormat format)
{
    return format == PictureFormat::Gif ? QStringLiteral("Animaci") : QStringLiteral("Obrázek");
}

OutputFileResult WritePictureFile(PictureFormat format, const PictureSource& source, const QString& path,
                                  const OutputFileOptions& options)
{
    // Encoded first: an encoder never meets a write error halfway, a device
    // gets the file in one go, and a picture that cannot be encoded leaves
    // the name untouched.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString encoding = WritePicture(format, source, buffer);
    buffer.close();
    if (!encoding.isEmpty()) {
        OutputFileResult refused;
        refused.Message = encoding;
        return refused;
    }
    return WriteOutputFile(
        path, PictureFileWhat(format),
        [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); }, options);
}
