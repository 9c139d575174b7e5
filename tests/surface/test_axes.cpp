// SPDX-License-Identifier: GPL-3.0-or-later
// The axes read back as pixels: tick lines, numbers, the "*10" exponent label,
// the arrowheads, the colours left on the canvas, and the faults.
#include "AxisScale.h"
#include "SurfaceTestSupport.h"

namespace {

// A grey plane with a green brush, so that label boxes show where they are.
struct AxisPlane : WhitePlane {
    explicit AxisPlane(double lo = -4, double hi = 4) : WhitePlane(lo, hi)
    {
        surface.FillPlane(128, 128, 128);
        surface.Canvas().SetBrushColor(Green);
        surface.Canvas().SetPenWidth(1);
        surface.Canvas().SetFontHeight(10);
    }
};

QList<int> Below(const QList<int>& values, int limit)
{
    QList<int> kept;
    for (int v : values)
        if (v < limit)
            kept << v;
    return kept;
}

QList<int> Above(const QList<int>& values, int limit)
{
    QList<int> kept;
    for (int v : values)
        if (v > limit)
            kept << v;
    return kept;
}

// The axes drawn mark after mark exactly as described, with nothing but the
// canvas: what the real ones must match pixel for pixel.
void PlainAxisX(PlotSurface& s, double min, double max, double at)
{
    s.DrawHorizontal(min, max, at, 255, 0, 0);
    TCanvas& c = s.Canvas();
    c.SetFontColor(Red);
    c.SetPenColor(Red);
    const AxisStep step = FindAxisStep(min, max);
    const TickRange ticks = FindTicks(min, max, step.Step);
    const int y = s.ScreenY(at);
    for (int i = ticks.First; i <= ticks.Last; ++i) {
        const int x = s.ScreenX(static_cast<double>(static_cast<long double>(i) * step.Step));
        c.MoveTo(x, y - 3);
        c.LineTo(x, y + 3);
        c.TextOut(x + 3, y + 5, std::to_string(i));
    }
    c.SetBrushColor(White);
    const int xm = s.ScreenX(max);
    c.TextOut(xm - 45, y + 5, "*10");
    c.TextOut(xm - 25, y + 1, std::to_string(step.Exponent));
    c.SetPenWidth(3);
    c.MoveTo(xm, y);
    c.LineTo(xm - 15, y - 3);
    c.MoveTo(xm - 15, y + 3);
    c.LineTo(xm, y);
    c.SetPenWidth(1);
}

void PlainAxisY(PlotSurface& s, double min, double max, double at)
{
    s.DrawVertical(min, max, at, 255, 0, 0);
    TCanvas& c = s.Canvas();
    c.SetFontColor(Red);
    c.SetPenColor(Red);
    const AxisStep step = FindAxisStep(min, max);
    const TickRange ticks = FindTicks(min, max, step.Step);
    const int x = s.ScreenX(at);
    for (int i = ticks.First; i <= ticks.Last; ++i) {
        const int y = s.ScreenY(static_cast<double>(static_cast<long double>(i) * step.Step));
        c.MoveTo(x - 3, y);
        c.LineTo(x + 3, y);
        c.TextOut(x - 25, y - 15, std::to_string(i));
    }
    const int ym = s.ScreenY(max);
    c.TextOut(x + 5, ym + 10, "    ");
    c.TextOut(x + 5, ym + 10, "*10");
    c.TextOut(x + 25, ym + 3, std::to_string(step.Exponent));
    c.SetPenWidth(3);
    c.MoveTo(x, ym + 5);
    c.LineTo(x - 3, ym + 20);
    c.MoveTo(x + 3, ym + 20);
    c.LineTo(x, ym + 5);
    c.SetPenWidth(1);
}

}  // namespace

class TestAxes : public QObject {
    Q_OBJECT

private slots:
    void circleWindowX()
    {
        AxisPlane p;
        p.surface.DrawAxisX(-4, 4, 0, 255, 0, 0);
        const QImage plane = ToQImage(p.Plane());
        const QList<int> ticks{62, 125, 187, 250, 313, 375};
        // Tick lines cover rows 247..252 (the end pixel at 253 is left out).
        for (int row = 247; row <= 252; ++row) {
            if (row != 250)
                QCOMPARE(Below(ColumnsInRow(plane, row, Red), 470), ticks);
        }
        QVERIFY(Below(ColumnsInRow(plane, 246, Red), 470).isEmpty());
        QVERIFY(Below(ColumnsInRow(plane, 253, Red), 470).isEmpty());
        QCOMPARE(ColumnsInRow(plane, 250, Red).size(), 500);
        // Numbers on the brush in force, three right of and five below the tick.
        for (int i = -3; i <= 2; ++i) {
            const int x = ticks[i + 3];
            QVERIFY2(ShowsText(plane, x + 3, 255, QString::number(i), Green, Red), qPrintable(QString::number(i)));
            QCOMPARE(PixelAt(plane, x + 2, 255), Grey);
        }
        QVERIFY(ShowsText(plane, 455, 255, "*10", White, Red));
        QVERIFY(ShowsText(plane, 475, 251, QStringLiteral("0"), White, Red));
        QCOMPARE(PixelAt(plane, 474, 251), Grey);
        QCOMPARE(PixelAt(plane, 454, 255), Grey);
    }

    void circleWindowXArrowhead_data()
    {
        QTest::addColumn<Pixel>("pixel");
        QTest::addColumn<bool>("red");
        // Strokes (500,250)->(485,247) and (485,253)->(500,250), 3 pixels wide.
        QTest::newRow("upper stroke middle") << Pixel{490, 247} << true;
        QTest::newRow("upper stroke near tip") << Pixel{499, 251} << true;
        QTest::newRow("above upper stroke") << Pixel{490, 246} << false;
        QTest::newRow("lower stroke middle") << Pixel{490, 253} << true;
        QTest::newRow("lower stroke start") << Pixel{486, 254} << true;
        QTest::newRow("below lower stroke") << Pixel{490, 254} << false;
        QTest::newRow("left of the strokes") << Pixel{483, 247} << false;
    }

    void circleWindowXArrowhead()
    {
        QFETCH(Pixel, pixel);
        AxisPlane p;
        p.surface.DrawAxisX(-4, 4, 0, 255, 0, 0);
        QTEST(PixelAt(ToQImage(p.Plane()), pixel.first, pixel.second) == Red, "red");
    }

    void circleWindowY()
    {
        AxisPlane p;
        p.surface.DrawAxisY(-4, 4, 0, 255, 0, 0);
        const QImage plane = ToQImage(p.Plane());
        const QList<int> ticks{438, 375, 313, 250, 187, 125};  // ticks -3 .. 2
        QList<int> sorted = ticks;
        std::sort(sorted.begin(), sorted.end());
        for (int column = 247; column <= 252; ++column) {
            if (column != 250)
                QCOMPARE(Above(RowsInColumn(plane, column, Red), 30), sorted);
        }
        QVERIFY(Above(RowsInColumn(plane, 246, Red), 30).isEmpty());
        QVERIFY(Above(RowsInColumn(plane, 253, Red), 30).isEmpty());
        QCOMPARE(RowsInColumn(plane, 250, Red).size(), 499);  // rows 1..499
        for (int i = -3; i <= 2; ++i)
            QVERIFY(ShowsText(plane, 225, ticks[i + 3] - 15, QString::number(i), Green, Red));
        // "    " then "*10" on the same spot, both on the brush in force.
        QVERIFY(ShowsText(plane, 255, 10, "*10", Green, Red));
        QVERIFY(ShowsText(plane, 275, 3, QStringLiteral("0"), Green, Red));
        // Arrowhead strokes (250,5)->(247,20) and (253,20)->(250,5).
        QCOMPARE(PixelAt(plane, 246, 19), Red);
        QCOMPARE(PixelAt(plane, 245, 19), Grey);
        QCOMPARE(PixelAt(plane, 254, 21), Red);
        QCOMPARE(PixelAt(plane, 254, 22), Grey);
        QCOMPARE(PixelAt(plane, 248, 3), Grey);
        QCOMPARE(PixelAt(plane, 251, 12), Red);
    }

    void canvasLeftAsDescribed()
    {
        AxisPlane p;
        TCanvas& c = p.surface.Canvas();
        c.SetPenWidth(2);
        p.surface.DrawAxisY(-4, 4, 0, 0, 0, 255);
        QCOMPARE(c.BrushColor(), Green);  // the y axis leaves the brush alone
        QCOMPARE(c.PenWidth(), 1);        // back to 1, not to what it was
        QCOMPARE(c.PenColor(), ColorValue(0, 0, 255));
        QCOMPARE(c.FontColor(), ColorValue(0, 0, 255));
        p.surface.DrawAxisX(-4, 4, 0, 0, 255, 0);
        QCOMPARE(c.BrushColor(), White);
        QCOMPARE(c.PenWidth(), 1);
        QCOMPARE(c.PenColor(), Green);
        QCOMPARE(c.FontColor(), Green);
    }

    void throwWindowBothAxes()
    {
        // As a draw request does it: white plane, x axis then y axis.
        WhitePlane p(-0.5, 10);
        p.surface.DrawAxisX(-0.5, 10, 0, 255, 0, 0);
        p.surface.DrawAxisY(-0.5, 10, 0, 255, 0, 0);
        const QImage plane = ToQImage(p.Plane());
        const QList<int> columns{24, 71, 119, 167, 214, 262, 310, 357, 405};  // ticks 0..8
        QCOMPARE(Below(ColumnsInRow(plane, 473, Red), 470), columns);
        QList<int> rows{95, 143, 190, 238, 286, 333, 381, 429, 476};
        QCOMPARE(Above(RowsInColumn(plane, 21, Red), 30), rows);
        for (int i = 0; i <= 8; ++i) {
            QVERIFY(ShowsText(plane, columns[i] + 3, 481, QString::number(i), White, Red));
            QVERIFY(ShowsText(plane, -1, rows[8 - i] - 15, QString::number(i), White, Red));
        }
        // Tick -1 lies off the plane (column -24, row 524), there is none at 9.
        QCOMPARE(PixelAt(plane, 452, 473), White);
        QCOMPARE(PixelAt(plane, 21, 48), White);
    }

    void exponentLabels_data()
    {
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<QString>("exponent");
        QTest::newRow("-1..1") << -1.0 << 1.0 << "-1";
        QTest::newRow("0.5..0.6") << 0.5 << 0.6 << "-2";
        QTest::newRow("0.001..0.005") << 0.001 << 0.005 << "-3";
        QTest::newRow("1e-300..2e-300") << 1e-300 << 2e-300 << "-301";
        QTest::newRow("-1e35..1e35") << -1e35 << 1e35 << "30";
        QTest::newRow("-3..3") << -3.0 << 3.0 << "0";
    }

    void exponentLabels()
    {
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(QString, exponent);
        // The y axis at x = 0 of the window -4..4 across; its top at row 0.
        AxisPlane p;
        p.surface.SetWorld(-4, 4, min, max);
        p.surface.DrawAxisY(min, max, 0, 255, 0, 0);
        QVERIFY(ShowsText(ToQImage(p.Plane()), 275, 3, exponent, Green, Red));
        // The x axis: its exponent box meets the arrowhead from column 484 on.
        AxisPlane q;
        q.surface.SetWorld(min, max, -4, 4);
        q.surface.DrawAxisX(min, max, 0, 255, 0, 0);
        QVERIFY(ShowsText(ToQImage(q.Plane()), 475, 251, exponent, White, Red, QRect(0, 0, 484, 500)));
    }

    void labelsAreTickIndices()
    {
        // 0..3: ticks 1..28 labelled "1".."28", 1/6 of a unit apart, none at 0.
        AxisPlane q(0, 3);
        q.surface.SetWorld(0, 3, -4, 4);
        q.surface.DrawAxisX(0, 3, 0, 255, 0, 0);
        const QList<int> columns = Below(ColumnsInRow(ToQImage(q.Plane()), 247, Red), 470);
        QCOMPARE(columns.size(), 28);
        QCOMPARE(columns.first(), 17);  // 0.10000000000000005 * 500/3 = 16.67
        QCOMPARE(columns.last(), 467);
        QCOMPARE(PixelAt(ToQImage(q.Plane()), 0, 247), Grey);
        QVERIFY(ShowsText(ToQImage(q.Plane()), 17 + 3, 255, QStringLiteral("1"), Green, Red));
        const int x28 = q.surface.ScreenX(static_cast<double>(28 * 0.10000000000000005L));
        QCOMPARE(x28, 467);
        QVERIFY(ShowsText(ToQImage(q.Plane()), x28 + 3, 255, QStringLiteral("28"), Green, Red, QRect(0, 0, 455, 500)));
        QCOMPARE(PixelAt(ToQImage(q.Plane()), 483, 247), Grey);  // no tick 29
    }

    void matchesPlainDrawing_data()
    {
        QTest::addColumn<QRectF>("world");  // left, bottom as x, y; right, top as width, height
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<int>("penWidth");
        QTest::addColumn<int>("fontHeight");
        QTest::newRow("-4..4") << QRectF(-4, -4, 4, 4) << -4.0 << 4.0 << 1 << 10;
        QTest::newRow("-0.5..10") << QRectF(-0.5, -0.5, 10, 10) << -0.5 << 10.0 << 1 << 10;
        QTest::newRow("0..3") << QRectF(0, -4, 3, 4) << 0.0 << 3.0 << 1 << 10;
        QTest::newRow("-1..1 crowded labels") << QRectF(-1, -1, 1, 1) << -1.0 << 1.0 << 1 << 10;
        QTest::newRow("2000 ticks") << QRectF(-1e33, -1e33, 1e33, 1e33) << -1e33 << 1e33 << 1 << 10;
        QTest::newRow("20000 ticks") << QRectF(-1e34, -1e34, 1e34, 1e34) << -1e34 << 1e34 << 1 << 10;
        QTest::newRow("200000 ticks") << QRectF(-1e35, -1e35, 1e35, 1e35) << -1e35 << 1e35 << 1 << 10;
        QTest::newRow("mirrored world") << QRectF(4, 4, -4, -4) << -4.0 << 4.0 << 1 << 10;
        QTest::newRow("axis off the plane") << QRectF(2, 2, 7, 7) << 2.0 << 7.0 << 1 << 10;
        QTest::newRow("axis wider than the world") << QRectF(-1, -1, 1, 1) << -30.0 << 30.0 << 1 << 10;
        QTest::newRow("pen width 5 from the caller") << QRectF(-1e32, -1e32, 1e32, 1e32) << -1e32 << 1e32 << 5 << 10;
        QTest::newRow("font height 16") << QRectF(-1, -1, 1, 1) << -1.0 << 1.0 << 1 << 16;
    }

    void matchesPlainDrawing()
    {
        QFETCH(QRectF, world);
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(int, penWidth);
        QFETCH(int, fontHeight);
        AxisPlane real, plain;
        for (AxisPlane* p : {&real, &plain}) {
            p->surface.SetWorld(world.x(), world.width(), world.y(), world.height());
            p->surface.Canvas().SetPenWidth(penWidth);
            p->surface.Canvas().SetFontHeight(fontHeight);
        }
        real.surface.DrawAxisX(min, max, 0, 255, 0, 0);
        PlainAxisX(plain.surface, min, max, 0);
        QVERIFY2(real.Plane() == plain.Plane(), "x axis");
        QCOMPARE(real.surface.Canvas().PenPos(), plain.surface.Canvas().PenPos());
        real.surface.Canvas().SetPenWidth(penWidth);
        plain.surface.Canvas().SetPenWidth(penWidth);
        real.surface.DrawAxisY(min, max, 0, 255, 0, 0);
        PlainAxisY(plain.surface, min, max, 0);
        QVERIFY2(real.Plane() == plain.Plane(), "y axis");
    }

    void faults_data()
    {
        QTest::addColumn<QRectF>("world");
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<FloatFaultKind>("fault");
        QTest::addColumn<int>("redPixels");  // what was drawn before the fault
        QTest::newRow("reversed: line, then division by zero")
            << QRectF(-4, -4, 4, 4) << 4.0 << -4.0 << FloatFaultKind::DivisionByZero << 499;
        QTest::newRow("equal: a point, then 0/0")
            << QRectF(-4, -4, 4, 4) << 1.0 << 1.0 << FloatFaultKind::InvalidOperation << 0;
        QTest::newRow("tick index beyond 32 bits")
            << QRectF(3e39, -4, 3.00001e39, 4) << 3e39 << 3.00001e39 << FloatFaultKind::InvalidOperation << 500;
        QTest::newRow("beyond a million ticks")
            << QRectF(-6e35, -4, 6e35, 4) << -6e35 << 6e35 << FloatFaultKind::InvalidOperation << 500;
    }

    void faults()
    {
        QFETCH(QRectF, world);
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(FloatFaultKind, fault);
        AxisPlane p;
        p.surface.SetWorld(world.x(), world.width(), world.y(), world.height());
        QCOMPARE(FaultOf([&] { p.surface.DrawAxisX(min, max, 0, 255, 0, 0); }), std::optional(fault));
        QTEST(CountOf(ToQImage(p.Plane()), Red), "redPixels");
        QCOMPARE(CountOf(ToQImage(p.Plane()), Green), 0);  // no label
        if (CountOf(ToQImage(p.Plane()), Red) > 0)
            QCOMPARE(ColumnsInRow(ToQImage(p.Plane()), 250, Red).size(), CountOf(ToQImage(p.Plane()), Red));
    }

    void axisBeyond32Bits()
    {
        // The x axis of the y window 1e9 .. 1e9+1 lies at row 5e11.
        AxisPlane p;
        p.surface.SetWorld(-4, 4, 1e9, 1e9 + 1);
        const QImage before = ToQImage(p.Plane()).copy();
        QCOMPARE(FaultOf([&] { p.surface.DrawAxisX(-4, 4, 0, 255, 0, 0); }),
                 std::optional(FloatFaultKind::InvalidOperation));
        QCOMPARE(p.Plane(), before);
        p.surface.SetWorld(1e9, 1e9 + 1, -4, 4);
        QCOMPARE(FaultOf([&] { p.surface.DrawAxisY(-4, 4, 0, 255, 0, 0); }),
                 std::optional(FloatFaultKind::InvalidOperation));
        QCOMPARE(p.Plane(), before);
    }

    void firstTickBeyond32Bits()
    {
        // min = 1.5 maps just inside the 32-bit range; the first tick, at 1,
        // lies left of it and outside: the fault comes after the axis line.
        AxisPlane p;
        p.surface.SetWorld(34359739.708, 34359747.708, -4, 4);
        QVERIFY(p.surface.ScreenX(1.5) > -2147483648LL + 5);
        QCOMPARE(FaultOf([&] { p.surface.DrawAxisX(1.5, 5.5, 0, 255, 0, 0); }),
                 std::optional(FloatFaultKind::InvalidOperation));
        QCOMPARE(CountOf(ToQImage(p.Plane()), Red), 0);  // the whole axis lies far left of the plane
        QCOMPARE(CountOf(ToQImage(p.Plane()), Green), 0);
    }

    void offsetsNearThe32BitEdge()
    {
        // The y axis at column -2147483640: its labels sit 25 columns further
        // left, beyond the range; they are simply not on the plane.
        AxisPlane p;
        const QImage before = ToQImage(p.Plane()).copy();
        const double at = (-2147483640.0 - 250) / 62.5;
        QCOMPARE(p.surface.ScreenX(at), -2147483640);
        QCOMPARE(FaultOf([&] { p.surface.DrawAxisY(-4, 4, at, 255, 0, 0); }), std::nullopt);
        QCOMPARE(p.Plane(), before);
        const double right = (2147483640.0 - 250) / 62.5;
        QCOMPARE(FaultOf([&] { p.surface.DrawAxisY(-4, 4, right, 255, 0, 0); }), std::nullopt);
        QCOMPARE(p.Plane(), before);
    }

    void aMillionTicksAreDrawn()
    {
        AxisPlane p;
        p.surface.SetWorld(-5e35, 5e35, -4, 4);
        QElapsedTimer timer;
        timer.start();
        p.surface.DrawAxisX(-5e35, 5e35, 0, 255, 0, 0);
        const qint64 ms = timer.elapsed();
        // Every column holds ticks, and the exponent reads 30.
        QCOMPARE(ColumnsInRow(ToQImage(p.Plane()), 247, Red).size(), 500);
        QVERIFY(ShowsText(ToQImage(p.Plane()), 475, 251, QStringLiteral("30"), White, Red, QRect(0, 0, 484, 500)));
        qInfo("x axis of 999998 ticks: %lld ms", static_cast<long long>(ms));
    }
};

QTEST_MAIN(TestAxes)
#include "test_axes.moc"
