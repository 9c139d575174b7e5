// SPDX-License-Identifier: GPL-3.0-or-later
// Text on the canvas: the face, the box rule and the drawing of labels.
#include "Canvas.h"

#include <QColor>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

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

QColor ToQColor(std::int32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace

QFont TCanvas::Font() const
{
    EnsureFontMetrics();
    return font_;
}

void TCanvas::EnsureFontMetrics() const
{
    if (metricsValid_)
        return;
    QFont font(CanvasFamily());
    font.setPixelSize(std::max(fontHeight_, 1));
    // Without antialiasing every text pixel is either the font or the brush
    // colour, as on the bitmap fonts this plane was laid out for.
    font.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
    font.setKerning(false);
    font_ = font;
    const QFontMetrics metrics(font_);
    ascent_ = metrics.ascent();
    textHeight_ = metrics.ascent() + metrics.descent();
    for (int c = 0; c < 128; ++c)
        asciiAdvance_[c] = metrics.horizontalAdvance(QChar(c));
    metricsValid_ = true;
}

int TCanvas::CharAdvance(char32_t c) const
{
    EnsureFontMetrics();
    if (c < 128)
        return asciiAdvance_[c];
    return QFontMetrics(font_).horizontalAdvance(QString::fromUcs4(&c, 1));
}

int TCanvas::TextWidth(const QString& text) const
{
    int width = 0;
    for (char32_t c : text.toUcs4())
        width += CharAdvance(c);
    return width;
}

int TCanvas::TextWidth(std::string_view ascii) const
{
    EnsureFontMetrics();
    int width = 0;
    for (char c : ascii)
        width += asciiAdvance_[static_cast<unsigned char>(c) & 0x7F];
    return width;
}

int TCanvas::TextHeight() const
{
    EnsureFontMetrics();
    return textHeight_;
}

QRect TCanvas::TextBox(int x, int y, const QString& text) const
{
    return QRect(x, y, TextWidth(text), TextHeight());
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    if (image_.isNull())
        return;
    EnsureFontMetrics();
    const std::int64_t width = TextWidth(text);
    const std::int64_t right = std::int64_t(x) + width, bottom = std::int64_t(y) + textHeight_;
    FillBox(x, y, right, bottom, brushColour_);
    NoteChanged(x, y, right, bottom);
    if (right <= 0 || bottom <= 0 || x >= image_.width() || y >= image_.height())
        return;

    const QRect clip = QRect(0, 0, image_.width(), image_.height())
        .intersected(QRect(QPoint(int(std::max<std::int64_t>(x, 0)), int(std::max<std::int64_t>(y, 0))),
                           QPoint(int(std::min<std::int64_t>(right, image_.width()) - 1),
                                  int(std::min<std::int64_t>(bottom, image_.height()) - 1))));
    QPainter painter(&image_);
    painter.setFont(font_);
    painter.setPen(ToQColor(fontColour_));
    painter.setClipRect(clip);
    std::int64_t pos = x;
    for (char32_t c : text.toUcs4()) {
        const int advance = CharAdvance(c);
        // Glyphs may overhang their advance; skip only those far off the clip.
        const std::int64_t slack = textHeight_;
        if (c != U' ' && pos + advance + slack > clip.left() && pos - slack <= clip.right())
            painter.drawText(QPoint(int(pos), y + ascent_), QString::fromUcs4(&c, 1));
        pos += advance;
    }
}
