// SPDX-License-Identifier: GPL-3.0-or-later
// The glyph table against the toolkit on this machine: every character at
// every height of the table, and a table of texts, drawn by the canvas from
// the table and by the toolkit as the canvas drew them before the table
// (kept below), must give the same pixels, widths and heights. Skipped where
// DejaVu Sans, the table's face, is not the face the toolkit would use.
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "CanvasFont.h"
#include "SurfaceTestSupport.h"

namespace {

// The canvas's text as drawn before the glyph table: the toolkit's face,
// each character drawn by itself at the sum of the advances before it,
// clipped to the opaque box.
class ToolkitText {
public:
    explicit ToolkitText(int height)
    {
        QString family;
        for (const char* name : {"MS Sans Serif", "DejaVu Sans"}) {
            if (family.isEmpty() && QFontDatabase::hasFamily(QString::fromLatin1(name)))
                family = QString::fromLatin1(name);
        }
        font_ = QFont(family);
        font_.setPixelSize(std::max(height, 1));
        font_.setStyleHint(QFont::SansSerif, QFont::NoAntialias);
        font_.setKerning(false);
        const QFontMetrics metrics(font_);
        ascent_ = metrics.ascent();
        height_ = metrics.ascent() + metrics.descent();
    }

    const QFont& Font() const { return font_; }
    int Ascent() const { return ascent_; }
    int Height() const { return height_; }
    int Advance(char32_t c) const { return QFontMetrics(font_).horizontalAdvance(QString::fromUcs4(&c, 1)); }

    int Width(const QString& text) const
    {
        int width = 0;
        for (char32_t c : text.toUcs4())
            width += Advance(c);
        return width;
    }

    void TextOut(QImage& image, int x, int y, const QString& text, std::int32_t brush, std::int32_t colour) const
    {
        const QRect box = QRect(x, y, Width(text), height_).intersected(image.rect());
        if (box.isEmpty())
            return;
        QPainter painter(&image);
        painter.fillRect(box, ToQColor(brush));
        painter.setFont(font_);
        painter.setPen(ToQColor(colour));
        painter.setClipRect(box);
        int pos = x;
        for (char32_t c : text.toUcs4()) {
            if (c != U' ')
                painter.drawText(QPoint(pos, y + ascent_), QString::fromUcs4(&c, 1));
            pos += Advance(c);
        }
    }

private:
    static QColor ToQColor(std::int32_t colour)
    {
        return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    }

    QFont font_;
    int ascent_ = 0;
    int height_ = 0;
};

QList<int> TableHeights()
{
    QList<int> heights;
    for (int h = GlyphFace::SmallestHeight(); h <= GlyphFace::LargestHeight(); ++h)
        heights << h;
    return heights;
}

QImage GreyImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(QColor(128, 128, 128));
    return image;
}

// Both ways of drawing `text` at (x, y) on equal grey images.
std::pair<QImage, QImage> BothDrawn(int height, QSize size, int x, int y, const QString& text)
{
    RgbImage table = FromQImage(GreyImage(size.width(), size.height()));
    TCanvas canvas(table);
    canvas.SetFontHeight(height);
    canvas.SetBrushColor(Green);
    canvas.SetFontColor(Red);
    canvas.TextOut(x, y, text.toStdString());
    const QImage fromTable = ToQImage(table);
    QImage fromToolkit = GreyImage(size.width(), size.height());
    ToolkitText(height).TextOut(fromToolkit, x, y, text, Green, Red);
    return {fromTable, fromToolkit};
}

// The first pixel in which two images differ, for the failure message.
QString FirstDifference(const QImage& a, const QImage& b)
{
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (PixelAt(a, x, y) != PixelAt(b, x, y))
                return QStringLiteral("first difference at (%1, %2)").arg(x).arg(y);
        }
    }
    return QString();
}

}  // namespace

class TestGlyphText : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QString family = QFontInfo(ToolkitText(10).Font()).family();
        if (family != QStringLiteral("DejaVu Sans"))
            QSKIP(qPrintable(QStringLiteral("the toolkit's face here is \"%1\", not DejaVu Sans (fonts-dejavu-core), "
                                            "which the glyph table was made from")
                                 .arg(family)));
    }

    // Vector output still writes the toolkit's face, set up as before.
    void vectorFaceUnchanged_data()
    {
        QTest::addColumn<int>("height");
        for (int height : {-3, 0, 1, 10, 16, 20, 32, 40})
            QTest::addRow("height %d", height) << height;
    }

    void vectorFaceUnchanged()
    {
        QFETCH(int, height);
        const QFont expected = ToolkitText(height).Font();
        QCOMPARE(CanvasFont(height), expected);
        QCOMPARE(CanvasFont(height).styleStrategy(), expected.styleStrategy());
        QCOMPARE(CanvasFont(height).kerning(), false);
    }

    void everyCharacter_data()
    {
        QTest::addColumn<int>("height");
        for (int height : TableHeights())
            QTest::addRow("height %d", height) << height;
    }

    // Alone, between spaces (ink overhanging its advance shows there) and
    // clipped by the image's edges, at the table's heights.
    void everyCharacter()
    {
        QFETCH(int, height);
        const ToolkitText toolkit(height);
        RgbImage none;
        TCanvas canvas(none);
        canvas.SetFontHeight(height);
        QCOMPARE(canvas.TextHeight(), toolkit.Height());
        QCOMPARE(canvas.Face().Ascent(), toolkit.Ascent());
        const QSize size(6 * height + 20, 3 * height + 10);
        for (char c = ' '; c <= '~'; ++c) {
            const QString alone(QChar::fromLatin1(c));
            QCOMPARE(canvas.TextWidth(alone.toStdString()), toolkit.Width(alone));
            QCOMPARE(canvas.TextWidth(std::string_view(&c, 1)), toolkit.Width(alone));
            const QString spaced = QStringLiteral("  %1  ").arg(alone);
            const struct {
                QString text;
                QPoint at;
            } placings[] = {{alone, {height, height}}, {spaced, {height, height}}, {spaced, {-1, -2}},
                            {alone, {size.width() - 2, size.height() - height + 1}}};
            for (const auto& placing : placings) {
                const auto [fromTable, fromToolkit] = BothDrawn(height, size, placing.at.x(), placing.at.y(),
                                                                placing.text);
                QVERIFY2(fromTable == fromToolkit,
                         qPrintable(QStringLiteral("'%1' at (%2, %3): %4")
                                        .arg(placing.text)
                                        .arg(placing.at.x())
                                        .arg(placing.at.y())
                                        .arg(FirstDifference(fromTable, fromToolkit))));
            }
        }
    }

    // The whole ink of each character, also beyond its box, as the tick
    // numbers used to take it from the toolkit (unclipped, at whole pixels).
    void everyCharacterUnclipped_data() { everyCharacter_data(); }

    void everyCharacterUnclipped()
    {
        QFETCH(int, height);
        const ToolkitText toolkit(height);
        const GlyphFace& face = GlyphFace::ForHeight(height);
        const int room = 3 * height + 8;
        for (char c = ' '; c <= '~'; ++c) {
            QImage fromToolkit = GreyImage(face.Advance(c) + 2 * room, toolkit.Height() + 2 * room);
            {
                QPainter painter(&fromToolkit);
                painter.setFont(toolkit.Font());
                painter.setPen(Qt::red);
                painter.drawText(QPoint(room, room + toolkit.Ascent()), QString(QChar::fromLatin1(c)));
            }
            QImage fromTable = GreyImage(fromToolkit.width(), fromToolkit.height());
            const RgbBuffer target{fromTable.bits(), fromTable.width(), fromTable.height(), fromTable.bytesPerLine()};
            face.Draw(target, room, room, std::string_view(&c, 1), Red,
                      GlyphClip{0, 0, fromTable.width(), fromTable.height()});
            QVERIFY2(fromTable == fromToolkit,
                     qPrintable(QStringLiteral("'%1': %2").arg(c).arg(FirstDifference(fromTable, fromToolkit))));
        }
    }

    void texts_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("text");
        QString printable;
        for (char c = ' '; c <= '~'; ++c)
            printable += QChar::fromLatin1(c);
        const QStringList texts{QStringLiteral("-2147483648"), QStringLiteral("*10"), QStringLiteral("0"),
                                QStringLiteral("   "), QStringLiteral("    "), QStringLiteral("-0123456789"),
                                QStringLiteral("x = 1,5; y = -3e-7"), QStringLiteral("W@j|_Ay\"'`"),
                                QString(), printable};
        for (int height : TableHeights()) {
            for (const QString& text : texts)
                QTest::addRow("height %d, \"%s\"", height, qPrintable(text)) << height << text;
        }
    }

    // Widths, heights and pixels of whole texts, placed inside the image and
    // across each of its edges.
    void texts()
    {
        QFETCH(int, height);
        QFETCH(QString, text);
        const ToolkitText toolkit(height);
        RgbImage none;
        TCanvas canvas(none);
        canvas.SetFontHeight(height);
        const int width = toolkit.Width(text);
        QCOMPARE(canvas.TextWidth(text.toStdString()), width);
        QCOMPARE(canvas.TextWidth(std::string_view(text.toLatin1().constData(), std::size_t(text.size()))), width);
        QCOMPARE(canvas.TextHeight(), toolkit.Height());
        const QSize size(width / 2 + 12, toolkit.Height() + 12);
        const QPoint placings[] = {{4, 4}, {-width / 3, 5}, {size.width() - width / 2, 3}, {2, -height / 2},
                                   {3, size.height() - toolkit.Height() / 2}};
        for (const QPoint at : placings) {
            const auto [fromTable, fromToolkit] = BothDrawn(height, size, at.x(), at.y(), text);
            QVERIFY2(fromTable == fromToolkit,
                     qPrintable(QStringLiteral("at (%1, %2): %3")
                                    .arg(at.x())
                                    .arg(at.y())
                                    .arg(FirstDifference(fromTable, fromToolkit))));
        }
    }

    // Bytes the table has no glyph for stand as '?', one each: a character
    // beyond ASCII is as many as its UTF-8 has bytes.
    void charactersBeyondTheTable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shownAs");
        QTest::newRow("accented") << QStringLiteral("-1,5\u00e9") << QStringLiteral("-1,5??");
        QTest::newRow("control") << QStringLiteral("a\tb") << QStringLiteral("a?b");
        QTest::newRow("delete") << QStringLiteral("\u007f1") << QStringLiteral("?1");
        QTest::newRow("beyond 16 bits") << QString::fromUcs4(U"x\U0001D465y") << QStringLiteral("x????y");
    }

    void charactersBeyondTheTable()
    {
        QFETCH(QString, text);
        QFETCH(QString, shownAs);
        QCOMPARE(RenderedText(text, Green, Red), RenderedText(shownAs, Green, Red));
        RgbImage none;
        TCanvas canvas(none);
        QCOMPARE(canvas.TextWidth(text.toStdString()), canvas.TextWidth(shownAs.toStdString()));
    }
};

QTEST_MAIN(TestGlyphText)
#include "test_glyphtext.moc"
