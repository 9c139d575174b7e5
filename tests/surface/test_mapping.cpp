// SPDX-License-Identifier: GPL-3.0-or-later
// The world-to-pixel mapping, filling the plane and drawing world segments.
#include "SurfaceTestSupport.h"

class TestMapping : public QObject {
    Q_OBJECT

private slots:
    void coefficients_data()
    {
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        QTest::addColumn<double>("bottom");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("scaleX");
        QTest::addColumn<double>("scaleY");
        QTest::addColumn<double>("offsetX");
        QTest::addColumn<double>("offsetY");
        QTest::newRow("-4..4") << -4.0 << 4.0 << -4.0 << 4.0 << 62.5 << 62.5 << 250.0 << 250.0;
        QTest::newRow("-0.5..10") << -0.5 << 10.0 << -0.5 << 10.0 << 47.61904761904762 << 47.61904761904762
                                  << 23.80952380952381 << 476.1904761904762;
        QTest::newRow("reversed x") << 4.0 << -4.0 << -4.0 << 4.0 << -62.5 << 62.5 << 250.0 << 250.0;
        QTest::newRow("reversed y") << -4.0 << 4.0 << 4.0 << -4.0 << 62.5 << -62.5 << 250.0 << 250.0;
        QTest::newRow("offset window") << 2.0 << 7.0 << 2.0 << 7.0 << 100.0 << 100.0 << -200.0 << 700.0;
    }

    void coefficients()
    {
        QFETCH(double, left);
        QFETCH(double, right);
        QFETCH(double, bottom);
        QFETCH(double, top);
        WhitePlane p;
        p.surface.SetWorld(left, right, bottom, top);
        QFETCH(double, scaleX);
        QFETCH(double, scaleY);
        QFETCH(double, offsetX);
        QFETCH(double, offsetY);
        QVERIFY(SameBits(p.surface.ScaleX, scaleX));
        QVERIFY(SameBits(p.surface.ScaleY, scaleY));
        QVERIFY(SameBits(p.surface.OffsetX, offsetX));
        QVERIFY(SameBits(p.surface.OffsetY, offsetY));
    }

    void worldBoundsFieldsUntouched()
    {
        WhitePlane p;
        p.surface.X1 = 7;
        p.surface.Y2 = -7;
        p.surface.SetWorld(-1, 1, -1, 1);
        QCOMPARE(p.surface.X1, 7.0);
        QCOMPARE(p.surface.Y2, -7.0);
    }

    void screenPositions_data()
    {
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<bool>("reverseX");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::newRow("x=1 tie to even") << -4.0 << 4.0 << false << 1.0 << 312 << 188;
        QTest::newRow("x=-1 tie to even") << -4.0 << 4.0 << false << -1.0 << 188 << 312;
        QTest::newRow("right edge one past") << -4.0 << 4.0 << false << 4.0 << 500 << 0;
        QTest::newRow("bottom edge one past") << -4.0 << 4.0 << false << -4.0 << 0 << 500;
        QTest::newRow("axis step lands right") << -4.0 << 4.0 << false << 1.0000000000000004 << 313 << 187;
        QTest::newRow("origin of -0.5..10") << -0.5 << 10.0 << false << 0.0 << 24 << 476;
        QTest::newRow("reversed x mirrors") << -4.0 << 4.0 << true << 1.0 << 188 << 188;
    }

    void screenPositions()
    {
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(bool, reverseX);
        QFETCH(double, value);
        WhitePlane p;
        if (reverseX)
            p.surface.SetWorld(hi, lo, lo, hi);
        else
            p.surface.SetWorld(lo, hi, lo, hi);
        QTEST(int(p.surface.ScreenX(value)), "column");
        QTEST(int(p.surface.ScreenY(value)), "row");
    }

    void equalBoundsKeepLaterCoefficients_data()
    {
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        QTest::addColumn<double>("bottom");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("scaleX");  // what ScaleX holds afterwards
        QTest::newRow("equal x keeps all four") << 1.0 << 1.0 << -4.0 << 4.0 << 47.61904761904762;
        QTest::newRow("equal y keeps the last three") << -2.0 << 2.0 << 3.0 << 3.0 << 125.0;
    }

    void equalBoundsKeepLaterCoefficients()
    {
        WhitePlane p(-0.5, 10);
        QFETCH(double, left);
        QFETCH(double, right);
        QFETCH(double, bottom);
        QFETCH(double, top);
        QCOMPARE(FaultOf([&] { p.surface.SetWorld(left, right, bottom, top); }),
                 std::optional(FloatFaultKind::DivisionByZero));
        QTEST(p.surface.ScaleX, "scaleX");
        QVERIFY(SameBits(p.surface.ScaleY, 47.61904761904762));
        QVERIFY(SameBits(p.surface.OffsetX, 23.80952380952381));
        QVERIFY(SameBits(p.surface.OffsetY, 476.1904761904762));
    }

    void narrowWindowOverflows()
    {
        WhitePlane p;
        QCOMPARE(FaultOf([&] { p.surface.SetWorld(0, 1e-307, -4, 4); }),
                 std::optional(FloatFaultKind::Overflow));
        QCOMPARE(p.surface.ScaleX, 62.5);
        // Just wide enough: 500 / 3e-306 is within range.
        QCOMPARE(FaultOf([&] { p.surface.SetWorld(0, 3e-306, -4, 4); }), std::nullopt);
    }

    void beyond32Bits_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<std::optional<FloatFaultKind>>("fault");
        const auto none = std::optional<FloatFaultKind>();
        const auto invalid = std::optional(FloatFaultKind::InvalidOperation);
        QTest::newRow("1e8 far right") << 1e8 << invalid;
        QTest::newRow("last column of 32 bits") << 34359734.352 << none;
        QTest::newRow("one past the last") << 34359734.368 << invalid;
        QTest::newRow("first column of 32 bits") << -34359742.368 << none;
        QTest::newRow("one before the first") << -34359742.384 << invalid;
    }

    void beyond32Bits()
    {
        QFETCH(double, x);
        WhitePlane p;
        QTEST(FaultOf([&] { p.surface.ScreenX(x); }), "fault");
        QTEST(FaultOf([&] { p.surface.ScreenY(-x); }), "fault");
    }

    void fillPlane_data()
    {
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::newRow("white") << 255 << 255 << 255;
        QTest::newRow("byte order") << 1 << 2 << 3;
        QTest::newRow("black") << 0 << 0 << 0;
    }

    void fillPlane()
    {
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        PlotSurface surface;
        surface.ResizePlane(500, 500);
        surface.Canvas().SetPenWidth(3);
        surface.FillPlane(uchar(red), uchar(green), uchar(blue));
        const std::int32_t colour = ColorValue(uchar(red), uchar(green), uchar(blue));
        QCOMPARE(CountOf(ToQImage(surface.Plane()), colour), 250000);
        QCOMPARE(ToQImage(surface.Plane()).pixelColor(499, 499), QColor(red, green, blue));
        QCOMPARE(surface.Canvas().PenColor(), colour);
        QCOMPARE(surface.Canvas().BrushColor(), colour);
        QCOMPARE(surface.Canvas().PenWidth(), 3);
    }

    void resizePlaneIsRgb888()
    {
        PlotSurface surface;
        QVERIFY(ToQImage(surface.Plane()).isNull());
        surface.ResizePlane(300, 200);
        QCOMPARE(ToQImage(surface.Plane()).size(), QSize(300, 200));
        QCOMPARE(ToQImage(surface.Plane()).format(), QImage::Format_RGB888);
        surface.ResizePlane(-5, 10);
        QVERIFY(ToQImage(surface.Plane()).isNull());
        surface.FillPlane(1, 2, 3);  // nothing to fill, no crash
        surface.DrawLine({0, 0, 0}, {1, 1, 0}, 1, 2, 3);
    }

    void drawLine_data()
    {
        QTest::addColumn<double>("x1");
        QTest::addColumn<double>("y1");
        QTest::addColumn<double>("x2");
        QTest::addColumn<double>("y2");
        QTest::addColumn<int>("count");
        QTest::addColumn<Pixel>("first");
        QTest::addColumn<Pixel>("missing");  // the end pixel, never drawn
        QTest::newRow("same point") << 0.0 << 0.0 << 0.0 << 0.0 << 0 << Pixel{-1, -1} << Pixel{250, 250};
        QTest::newRow("across -4..4") << -4.0 << 0.0 << 4.0 << 0.0 << 500 << Pixel{0, 250} << Pixel{500, 250};
        QTest::newRow("down the middle") << 0.0 << 4.0 << 0.0 << -4.0 << 500 << Pixel{250, 0} << Pixel{250, 500};
        QTest::newRow("diagonal") << -4.0 << 4.0 << 0.0 << 0.0 << 250 << Pixel{0, 0} << Pixel{250, 250};
        QTest::newRow("diagonal back") << 0.0 << 0.0 << -4.0 << 4.0 << 250 << Pixel{250, 250} << Pixel{0, 0};
    }

    void drawLine()
    {
        QFETCH(double, x1);
        QFETCH(double, y1);
        QFETCH(double, x2);
        QFETCH(double, y2);
        WhitePlane p;
        p.surface.DrawLine({x1, y1, 0}, {x2, y2, 0}, 255, 0, 0);
        const PixelSet red = PixelsOf(ToQImage(p.Plane()), Red);
        QTEST(int(red.size()), "count");
        QFETCH(Pixel, first);
        QFETCH(Pixel, missing);
        if (first.first >= 0)
            QVERIFY(red.count(first));
        QVERIFY(!red.count(missing));
        QCOMPARE(CountOf(ToQImage(p.Plane()), White), 250000 - int(red.size()));
        QCOMPARE(p.surface.Canvas().PenColor(), Red);
    }

    void horizontalRowIsWhole()
    {
        WhitePlane p;
        p.surface.DrawHorizontal(-4, 4, 0, 255, 0, 0);
        QList<int> expected;
        for (int x = 0; x < 500; ++x)
            expected << x;
        QCOMPARE(ColumnsInRow(ToQImage(p.Plane()), 250, Red), expected);
        // Upwards from row 500 (off the plane) to row 0, which is the end pixel.
        p.surface.DrawVertical(-4, 4, 1, 0, 0, 255);
        const QList<int> rows = RowsInColumn(ToQImage(p.Plane()), 312, ColorValue(0, 0, 255));
        QCOMPARE(rows.size(), 499);
        QCOMPARE(rows.first(), 1);
        QCOMPARE(rows.last(), 499);
    }

    void segmentsJoinWithoutGap()
    {
        WhitePlane p;
        p.surface.DrawLine({-4, 0, 0}, {0, 0, 0}, 255, 0, 0);
        p.surface.DrawLine({0, 0, 0}, {4, 0, 0}, 255, 0, 0);
        QCOMPARE(ColumnsInRow(ToQImage(p.Plane()), 250, Red).size(), 500);
    }

    void zIsIgnored()
    {
        WhitePlane a, b;
        a.surface.DrawLine({-1, -1, 0}, {3, 2, 0}, 255, 0, 0);
        b.surface.DrawLine({-1, -1, 1e300}, {3, 2, -1e300}, 255, 0, 0);
        QCOMPARE(a.Plane(), b.Plane());
    }

    void faultBeforeDrawing()
    {
        WhitePlane p;
        const QImage before = ToQImage(p.Plane()).copy();
        // 1.6e8 maps to column 10^10.
        QCOMPARE(FaultOf([&] { p.surface.DrawLine({0, 0, 0}, {1.6e8, 0, 0}, 0, 0, 255); }),
                 std::optional(FloatFaultKind::InvalidOperation));
        QCOMPARE(p.Plane(), before);
        QCOMPARE(p.surface.Canvas().PenColor(), ColorValue(0, 0, 255));
        QCOMPARE(p.surface.Canvas().PenPos(), QPoint(250, 250));
    }

    void offPlaneLinesClipQuickly()
    {
        // Ends near the edges of the 32-bit range: only the visible part is walked.
        WhitePlane p;
        QElapsedTimer timer;
        timer.start();
        p.surface.DrawLine({-34359740.0, 0, 0}, {34359730.0, 0, 0}, 255, 0, 0);
        QCOMPARE(ColumnsInRow(ToQImage(p.Plane()), 250, Red).size(), 500);
        QVERIFY2(timer.elapsed() < 1000, "a line across the 32-bit plane must not walk it all");
    }

    void stateStartsAtZero()
    {
        PlotSurface surface;
        QCOMPARE(surface.ScaleX, 0.0);
        QCOMPARE(surface.OffsetY, 0.0);
        QCOMPARE(surface.VarT, 0.0);
        QCOMPARE(surface.CurveB, std::uint8_t(0));
        QCOMPARE(surface.Points.size(), std::size_t(1733));
        QVERIFY(surface.ErrorText.empty());
    }
};

QTEST_MAIN(TestMapping)
#include "test_mapping.moc"
