// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas rules: the line walk, wide pens, clipping, rectangles and text.
#include "SurfaceTestSupport.h"

namespace {

struct SmallPlane {
    RgbImage image{40, 30};
    TCanvas canvas{image};
    SmallPlane() { image.Fill(Grey); }
};

PixelSet Square(int left, int top, int right, int bottom)  // inclusive
{
    PixelSet s;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            s.insert({x, y});
    return s;
}

}  // namespace

Q_DECLARE_METATYPE(PixelSet)

class TestCanvas : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        RgbImage image(4, 4);
        TCanvas canvas(image);
        QCOMPARE(canvas.PenWidth(), 1);
        QCOMPARE(canvas.PenColor(), 0);
        QCOMPARE(canvas.BrushColor(), 0);
        QCOMPARE(canvas.FontColor(), 0);
        QCOMPARE(canvas.FontHeight(), 10);
        QCOMPARE(ToQPoint(canvas.PenPos()), QPoint(0, 0));
    }

    void lineWalk_data()
    {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<PixelSet>("pixels");
        QTest::newRow("zero length") << QPoint(5, 5) << QPoint(5, 5) << PixelSet{};
        QTest::newRow("one step") << QPoint(5, 5) << QPoint(6, 5) << PixelSet{{5, 5}};
        QTest::newRow("right") << QPoint(2, 3) << QPoint(6, 3) << PixelSet{{2, 3}, {3, 3}, {4, 3}, {5, 3}};
        QTest::newRow("left") << QPoint(6, 3) << QPoint(2, 3) << PixelSet{{6, 3}, {5, 3}, {4, 3}, {3, 3}};
        QTest::newRow("down") << QPoint(1, 1) << QPoint(1, 4) << PixelSet{{1, 1}, {1, 2}, {1, 3}};
        QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(3, 3) << PixelSet{{0, 0}, {1, 1}, {2, 2}};
        QTest::newRow("gentle slope") << QPoint(0, 0) << QPoint(4, 2)
                                      << PixelSet{{0, 0}, {1, 1}, {2, 1}, {3, 2}};
        QTest::newRow("gentle slope back") << QPoint(4, 2) << QPoint(0, 0)
                                           << PixelSet{{4, 2}, {3, 1}, {2, 1}, {1, 0}};
        QTest::newRow("steep") << QPoint(10, 10) << QPoint(11, 15)
                               << PixelSet{{10, 10}, {10, 11}, {10, 12}, {11, 13}, {11, 14}};
        QTest::newRow("clipped at the left") << QPoint(-3, 2) << QPoint(2, 2) << PixelSet{{0, 2}, {1, 2}};
        QTest::newRow("clipped at the bottom") << QPoint(1, 27) << QPoint(1, 33) << PixelSet{{1, 27}, {1, 28}, {1, 29}};
        QTest::newRow("wholly off") << QPoint(-10, -10) << QPoint(-1, -20) << PixelSet{};
    }

    void lineWalk()
    {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        SmallPlane p;
        p.canvas.SetPenColor(Red);
        p.canvas.MoveTo(from.x(), from.y());
        p.canvas.LineTo(to.x(), to.y());
        QTEST(PixelsOf(p.image, Red), "pixels");
        QCOMPARE(ToQPoint(p.canvas.PenPos()), to);
    }

    void longLineThroughThePlane()
    {
        // Ends two billion pixels apart: the walk must still hit the one row
        // it crosses and take no time for the rest.
        SmallPlane p;
        p.canvas.SetPenColor(Red);
        p.canvas.MoveTo(-2000000000, 7);
        p.canvas.LineTo(2000000000, 7);
        QCOMPARE(ColumnsInRow(p.image, 7, Red).size(), 40);
        QCOMPARE(CountOf(p.image, Red), 40);
        // A steep one across the plane's height, seen as a vertical run.
        p.canvas.SetPenColor(Green);
        p.canvas.MoveTo(20, -2000000000);
        p.canvas.LineTo(20, 2000000000);
        QCOMPARE(RowsInColumn(p.image, 20, Green).size(), 30);
    }

    void linePixelMatchesTheWalk()
    {
        // LinePixel is how tick marks are laid; it must agree with LineTo.
        SmallPlane p;
        p.canvas.SetPenColor(Red);
        const QPoint from(3, 25), to(37, 2);
        p.canvas.MoveTo(from.x(), from.y());
        p.canvas.LineTo(to.x(), to.y());
        PixelSet walked;
        for (int k = 0; k < 34; ++k) {
            const PixelPoint q = TCanvas::LinePixel(FromQPoint(from), FromQPoint(to), k);
            walked.insert({q.X, q.Y});
        }
        QCOMPARE(PixelsOf(p.image, Red), walked);
    }

    void widePen_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<PixelSet>("pixels");
        // Horizontal from (10, 10) to (14, 10): walk pixels 10..13.
        QTest::newRow("width 3 centred") << 3 << Square(9, 9, 14, 11);
        QTest::newRow("width 2 down and right") << 2 << Square(10, 10, 14, 11);
        QTest::newRow("width 0 counts as 1") << 0 << Square(10, 10, 13, 10);
    }

    void widePen()
    {
        QFETCH(int, width);
        SmallPlane p;
        p.canvas.SetPenColor(Red);
        p.canvas.SetPenWidth(width);
        p.canvas.MoveTo(10, 10);
        p.canvas.LineTo(14, 10);
        QTEST(PixelsOf(p.image, Red), "pixels");
        QCOMPARE(p.canvas.PenWidth(), width);
    }

    void widePenAtTheEdge()
    {
        SmallPlane p;
        p.canvas.SetPenColor(Red);
        p.canvas.SetPenWidth(3);
        p.canvas.MoveTo(-1, 0);  // walk pixel off the plane, its square reaches in
        p.canvas.LineTo(-1, 3);
        QCOMPARE(PixelsOf(p.image, Red), Square(0, 0, 0, 3));
    }

    void rectangle_data()
    {
        QTest::addColumn<QRect>("corners");  // x1, y1 as topLeft, x2, y2 as the size fields
        QTest::addColumn<int>("penWidth");
        QTest::addColumn<PixelSet>("pen");
        QTest::addColumn<PixelSet>("brush");
        PixelSet outline = Square(2, 3, 7, 6);
        const PixelSet inner = Square(3, 4, 6, 5);
        for (const Pixel& q : inner)
            outline.erase(q);
        QTest::newRow("right and bottom exclusive") << QRect(2, 3, 8, 7) << 1 << outline << inner;
        QTest::newRow("corners swapped") << QRect(8, 7, 2, 3) << 1 << outline << inner;
        PixelSet thick = Square(2, 3, 9, 8);
        for (const Pixel& q : Square(4, 5, 7, 6))
            thick.erase(q);
        QTest::newRow("pen band of width 2") << QRect(2, 3, 10, 9) << 2 << thick << Square(4, 5, 7, 6);
        QTest::newRow("too small for a fill") << QRect(2, 3, 4, 5) << 1 << Square(2, 3, 3, 4) << PixelSet{};
        QTest::newRow("empty") << QRect(2, 3, 2, 9) << 1 << PixelSet{} << PixelSet{};
        // Columns -5..1, rows 27..39: the top edge and the right edge show.
        QTest::newRow("clipped") << QRect(-5, 27, 2, 40) << 1 << PixelSet{{0, 27}, {1, 27}, {1, 28}, {1, 29}}
                                 << PixelSet{{0, 28}, {0, 29}};
    }

    void rectangle()
    {
        QFETCH(QRect, corners);
        QFETCH(int, penWidth);
        SmallPlane p;
        p.canvas.SetPenColor(Red);
        p.canvas.SetBrushColor(Green);
        p.canvas.SetPenWidth(penWidth);
        p.canvas.Rectangle(corners.x(), corners.y(), corners.width(), corners.height());
        QTEST(PixelsOf(p.image, Red), "pen");
        QTEST(PixelsOf(p.image, Green), "brush");
    }

    void textBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("digits") << "12";
        QTest::newRow("negative") << "-301";
        QTest::newRow("exponent label") << "*10";
        QTest::newRow("blank") << "    ";
    }

    void textBox()
    {
        QFETCH(QString, text);
        SmallPlane p;
        p.canvas.SetBrushColor(Green);
        p.canvas.SetFontColor(Red);
        p.canvas.TextOut(5, 7, text.toStdString());
        const QRect box = ToQRect(p.canvas.TextBox(5, 7, text.toStdString()));
        QCOMPARE(box.topLeft(), QPoint(5, 7));
        QVERIFY(box.width() > 0);
        QCOMPARE(box.height(), p.canvas.TextHeight());
        // Opaque: every pixel of the box is brush or font, every other one untouched.
        int inked = 0;
        for (int y = 0; y < p.image.Height(); ++y) {
            for (int x = 0; x < p.image.Width(); ++x) {
                const std::int32_t c = PixelAt(p.image, x, y);
                if (box.contains(x, y)) {
                    QVERIFY2(c == Green || c == Red, "a text box pixel is neither brush nor font colour");
                    inked += c == Red;
                } else {
                    QCOMPARE(c, Grey);
                }
            }
        }
        QCOMPARE(inked > 0, text.trimmed().size() > 0);
    }

    void textBoxGrowsWithText()
    {
        RgbImage image(1, 1);
        TCanvas canvas(image);
        QVERIFY(canvas.TextWidth("-99999") > canvas.TextWidth("-9999"));
        QVERIFY(canvas.TextWidth("123") > canvas.TextWidth("12"));
        QCOMPARE(canvas.TextWidth(""), 0);
        const int tenPixels = canvas.TextHeight();
        QVERIFY(tenPixels >= 10);
        canvas.SetFontHeight(20);
        QVERIFY(canvas.TextHeight() >= 20);
        QVERIFY(canvas.TextHeight() > tenPixels);
        QCOMPARE(canvas.Face().PixelHeight(), 20);
    }

    void textIsTheSameWherever()
    {
        // The same text at another place, even half off the plane, gives the
        // same pixels: labels can be drawn off-plane or on a scratch image.
        SmallPlane a, b;
        for (SmallPlane* p : {&a, &b}) {
            p->canvas.SetBrushColor(Green);
            p->canvas.SetFontColor(Red);
        }
        a.canvas.TextOut(2, 2, "-47");
        b.canvas.TextOut(-4, -3, "-47");
        const QRect box = ToQRect(a.canvas.TextBox(2, 2, "-47"));
        for (int y = box.top() + 5; y <= box.bottom(); ++y)
            for (int x = box.left() + 6; x <= box.right(); ++x)
                QCOMPARE(PixelAt(b.image, x - 6, y - 5), PixelAt(a.image, x, y));
    }

    void textOffThePlane()
    {
        SmallPlane p;
        p.canvas.SetBrushColor(Green);
        p.canvas.TextOut(100, 5, "88");
        p.canvas.TextOut(-100, 5, "88");
        p.canvas.TextOut(5, 2000000000, "88");
        QCOMPARE(CountOf(p.image, Grey), 40 * 30);
    }
};

QTEST_MAIN(TestCanvas)
#include "test_canvas.moc"
