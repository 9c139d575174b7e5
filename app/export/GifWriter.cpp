// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifWriter.h"

#include <QIODevice>

namespace {

const char NotWrittenText[] = "Animaci GIF se nepodařilo zapsat.";

}  // namespace

QString WriteGif(const PlaneAnimation& animation, const GifOptions& options, QIODevice& device)
{
    const EncodedGif encoded = EncodeAnimation(animation, options);
    if (!encoded.Message.empty())
        return QString::fromStdString(encoded.Message);
    const auto length = qint64(encoded.Bytes.size());
    if (device.write(encoded.Bytes.data(), length) != length)
        return QString::fromUtf8(NotWrittenText);
    return QString();
}
