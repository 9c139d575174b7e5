// SPDX-License-Identifier: GPL-3.0-or-later
#include "GifWriter.h"

#include <QBuffer>
#include <QIODevice>

#include "GifPalette.h"

namespace {

const char NotWrittenText[] = "Animaci GIF se nepodařilo zapsat.";

}  // namespace

QString WriteGif(const PlaneAnimation& animation, const GifOptions& options, QIODevice& device)
{
    // Every colour in the order first met, starting with the start
    // picture's: the table the whole animation needs, where it fits one.
    GifPalette palette;
    const QImage start = animation.Start.convertToFormat(QImage::Format_RGB888);
    bool fits = palette.AddColours(start, MaxGifColours);
    for (const PlaneFrame& frame : animation.Frames) {
        if (fits && !frame.Changed.isEmpty() && frame.Pixels.format() == QImage::Format_RGB888)
            fits = palette.AddColours(frame.Pixels, MaxGifColours);
    }

    // Encoded in memory first, so a frame that cannot be written leaves the
    // device untouched.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    GifStream stream(buffer, options, fits ? palette.Colours() : std::vector<std::uint32_t>{});
    stream.Start(start);
    for (const PlaneFrame& frame : animation.Frames)
        stream.Frame(frame);
    const QString message = stream.Finish();
    if (!message.isEmpty())
        return message;
    if (device.write(bytes) != bytes.size())
        return QString::fromUtf8(NotWrittenText);
    return QString();
}
