// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes a GIF with giflib and composes its frames one by one, as a viewer
// shows them, so tests can compare every frame with the plane it stands for.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

struct DecodedGif {
    QString Error;                   // empty when the file decoded
    QSize Screen;
    int GlobalColours = 0;           // entries of the global colour table
    bool LocalColourTables = false;
    std::optional<int> LoopRepeats;  // NETSCAPE2.0 count; nothing without the block
    std::vector<QImage> Frames;      // composed, RGB888
    std::vector<QRect> Rects;        // each image's rectangle on the screen
    std::vector<int> Delays;         // hundredths of a second
    std::vector<int> Disposals;
};

namespace gifdecode {

struct Reader {
    const QByteArray* bytes;
    int position = 0;
};

inline int Read(GifFileType* gif, GifByteType* into, int length)
{
    auto* reader = static_cast<Reader*>(gif->UserData);
    const int count = std::min<int>(length, int(reader->bytes->size()) - reader->position);
    std::memcpy(into, reader->bytes->constData() + reader->position, std::size_t(count));
    reader->position += count;
    return count;
}

inline std::optional<int> LoopRepeats(const SavedImage& image)
{
    for (int i = 0; i + 1 < image.ExtensionBlockCount; ++i) {
        const ExtensionBlock& block = image.ExtensionBlocks[i];
        const ExtensionBlock& data = image.ExtensionBlocks[i + 1];
        if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
            std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount == 3 && data.Bytes[0] == 1)
            return data.Bytes[1] | (data.Bytes[2] << 8);
    }
    return std::nullopt;
}

}  // namespace gifdecode

inline DecodedGif DecodeGif(const QByteArray& bytes)
{
    DecodedGif result;
    gifdecode::Reader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, gifdecode::Read, &error);
    if (!gif) {
        result.Error = QStringLiteral("DGifOpen: %1").arg(error);
        return result;
    }
    if (DGifSlurp(gif) != GIF_OK || !gif->SColorMap) {
        result.Error = QStringLiteral("DGifSlurp: %1").arg(gif->Error);
        DGifCloseFile(gif, &error);
        return result;
    }
    result.Screen = QSize(gif->SWidth, gif->SHeight);
    result.GlobalColours = gif->SColorMap->ColorCount;
    QImage screen(result.Screen, QImage::Format_RGB888);
    screen.fill(Qt::black);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        if (i == 0)
            result.LoopRepeats = gifdecode::LoopRepeats(image);
        GraphicsControlBlock control{};
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &control);
        result.Delays.push_back(control.DelayTime);
        result.Disposals.push_back(control.DisposalMode);
        const GifImageDesc& desc = image.ImageDesc;
        result.Rects.emplace_back(desc.Left, desc.Top, desc.Width, desc.Height);
        result.LocalColourTables = result.LocalColourTables || desc.ColorMap;
        const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int index = image.RasterBits[y * desc.Width + x];
                const int sx = desc.Left + x, sy = desc.Top + y;
                if (index == control.TransparentColor || sx >= screen.width() || sy >= screen.height())
                    continue;
                const GifColorType colour = map->Colors[std::min(index, map->ColorCount - 1)];
                uchar* p = screen.scanLine(sy) + 3 * sx;
                p[0] = colour.Red;
                p[1] = colour.Green;
                p[2] = colour.Blue;
            }
        }
        result.Frames.push_back(screen.copy());
    }
    DGifCloseFile(gif, &error);
    return result;
}

// A file held as a byte string (the document's animation).
inline DecodedGif DecodeGif(const std::string& bytes)
{
    return DecodeGif(QByteArray::fromStdString(bytes));
}
