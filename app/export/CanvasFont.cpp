// SPDX-License-Identifier: GPL-3.0-or-later
#include "CanvasFont.h"

#include <QFontDatabase>
#include <QString>

#include <algorithm>

namespace {

QString CanvasFamily()
{
    static const QString family = [] {
        for (const char* name : {"MS Sans Serif", "DejaVu Sans"}) {
            if (QFontDatabase::hasFamily(QString::fromLatin1(name)))
                return QString::fromLatin1(name);
        }
        return QString();
    }();
    return family;
}

}  // namespace

QFont CanvasFont(int pixelHeight)
{
    QFont font(CanvasFamily());
    font.setPixelSize(std::max(pixelHeight, 1));
    // Without antialiasing every text pixel is either the font or the brush
    // colour, as on the bitmap fonts this plane was laid out for.
    font.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    font.setKerning(false);
    return font;
}
