// SPDX-License-Identifier: GPL-3.0-or-later
// Painting only the ticks that can show (TickSelection.h) gives the axis of
// every tick painted: the same pixels, the same record, the same changed
// rectangles and the same fault, over windows of a few ticks to a million,
// shifted, mirrored, off the plane and running past the 32-bit pixels.
#include "AxisScale.h"
#include "SurfaceTestSupport.h"
#include "TickSelection.h"

namespace {

struct Changes : PlaneObserver {
    std::vector<QRect> Rects;
    void PlaneChanged(const PixelRect& rect) override { Rects.push_back(ToQRect(rect)); }
};

struct DrawnAxis {
    QImage Plane;
    std::vector<QRect> Changed;
    std::optional<FloatFaultKind> Fault;
    QPoint PenPos;
    AxisRecord Record;
    bool HasRecord = false;
};

DrawnAxis Draw(bool selecting, bool yAxis, QRectF world, double min, double max, int penWidth, int fontHeight)
{
    SetTickSelection(selecting);
    WhitePlane p;
    p.surface.FillPlane(128, 128, 128);
    p.surface.Canvas().SetBrushColor(Green);
    p.surface.Canvas().SetPenWidth(penWidth);
    p.surface.Canvas().SetFontHeight(fontHeight);
    p.surface.SetWorld(world.x(), world.width(), world.y(), world.height());
    Changes changes;
    p.surface.AddPlaneObserver(&changes);
    DrawnAxis drawn;
    drawn.Fault = FaultOf([&] {
        if (yAxis)
            p.surface.DrawAxisY(min, max, 0, 255, 0, 0);
        else
            p.surface.DrawAxisX(min, max, 0, 255, 0, 0);
    });
    p.surface.RemovePlaneObserver(&changes);
    SetTickSelection(true);
    drawn.Plane = ToQImage(p.Plane()).copy();
    drawn.Changed = changes.Rects;
    drawn.PenPos = ToQPoint(p.surface.Canvas().PenPos());
    for (const PlaneItem& item : p.surface.Record().Items()) {
        if (const auto* axis = std::get_if<AxisRecord>(&item)) {
            drawn.Record = *axis;
            drawn.HasRecord = true;
        }
    }
    return drawn;
}

}  // namespace

class TestTickSelection : public QObject {
    Q_OBJECT

private slots:
    void SameAsEveryTick_data()
    {
        QTest::addColumn<QRectF>("world");  // left, bottom as x, y; right, top as width, height
        QTest::addColumn<double>("min");
        QTest::addColumn<double>("max");
        QTest::addColumn<int>("penWidth");
        QTest::addColumn<int>("fontHeight");
        const auto square = [](double lo, double hi) { return QRectF(lo, lo, hi, hi); };
        QTest::newRow("the circle's window") << square(-4, 4) << -4.0 << 4.0 << 1 << 10;
        QTest::newRow("crowded labels") << square(-1, 1) << -1.0 << 1.0 << 1 << 10;
        QTest::newRow("2000 ticks") << square(-1e33, 1e33) << -1e33 << 1e33 << 1 << 10;
        QTest::newRow("20000 ticks") << square(-1e34, 1e34) << -1e34 << 1e34 << 1 << 10;
        QTest::newRow("200000 ticks") << square(-1e35, 1e35) << -1e35 << 1e35 << 1 << 10;
        QTest::newRow("a million ticks") << square(-5e35, 5e35) << -5e35 << 5e35 << 1 << 10;
        QTest::newRow("dense, off centre") << square(-1.23456e35, 3.5e35) << -1.23456e35 << 3.5e35 << 1 << 10;
        QTest::newRow("dense, all positive") << square(1e34, 2.7e35) << 1e34 << 2.7e35 << 1 << 10;
        QTest::newRow("dense, all negative") << square(-2.7e35, -1e34) << -2.7e35 << -1e34 << 1 << 10;
        QTest::newRow("dense, mirrored") << square(1e35, -1e35) << -1e35 << 1e35 << 1 << 10;
        QTest::newRow("dense, wide pen") << square(-1e35, 1e35) << -1e35 << 1e35 << 5 << 10;
        QTest::newRow("dense, tall numbers") << square(-1e35, 1e35) << -1e35 << 1e35 << 1 << 16;
        QTest::newRow("dense, small numbers") << square(-1e35, 1e35) << -1e35 << 1e35 << 1 << 7;
        QTest::newRow("dense, the axis far off the plane")
            << QRectF(-1e35, 1e30, 1e35, 2e30) << -1e35 << 1e35 << 1 << 10;
        QTest::newRow("dense, the axis just off the plane")
            << QRectF(-1e35, 0.02, 1e35, 8.02) << -1e35 << 1e35 << 1 << 10;
        QTest::newRow("an axis much longer than the window") << square(-1, 1) << -1e6 << 1e6 << 1 << 10;
        QTest::newRow("dense ticks mostly beyond the plane") << square(-1e33, 1e33) << -3e35 << 3e35 << 1 << 10;
        QTest::newRow("the pixels leave 32 bits") << square(-4, 4) << -4.0 << 1e8 << 1 << 10;
        QTest::newRow("dense, the pixels leave 32 bits") << square(-1e28, 1e28) << -1e35 << 1e35 << 1 << 10;
        QTest::newRow("beyond a million ticks") << square(-6e35, 6e35) << -6e35 << 6e35 << 1 << 10;
    }

    void SameAsEveryTick()
    {
        QFETCH(QRectF, world);
        QFETCH(double, min);
        QFETCH(double, max);
        QFETCH(int, penWidth);
        QFETCH(int, fontHeight);
        for (const bool yAxis : {false, true}) {
            const DrawnAxis chosen = Draw(true, yAxis, world, min, max, penWidth, fontHeight);
            const DrawnAxis every = Draw(false, yAxis, world, min, max, penWidth, fontHeight);
            const char* which = yAxis ? "y axis" : "x axis";
            QVERIFY2(chosen.Plane == every.Plane, which);
            QCOMPARE(chosen.Fault, every.Fault);
            QCOMPARE(chosen.PenPos, every.PenPos);
            QVERIFY2(chosen.Changed == every.Changed, which);
            QCOMPARE(chosen.HasRecord, every.HasRecord);
            QCOMPARE(chosen.Record.FirstTick, every.Record.FirstTick);
            QCOMPARE(chosen.Record.TickCount, every.Record.TickCount);
            QCOMPARE(chosen.Record.Complete, every.Record.Complete);
            QCOMPARE(chosen.Record.HasStep, every.Record.HasStep);
        }
    }

    // The windows above reach what they are there for: the dense ones hold
    // far more ticks than pixels, also where most lie beyond the plane, and
    // the faulting ones fault (in the axis line, before any tick).
    void WindowsHoldWhatTheyClaim()
    {
        const DrawnAxis dense = Draw(true, false, QRectF(-1e35, -1e35, 1e35, 1e35), -1e35, 1e35, 1, 10);
        QCOMPARE(dense.Record.TickCount, qint64(199998));
        QVERIFY(!dense.Fault);
        const DrawnAxis beyond = Draw(true, false, QRectF(-1e33, -1e33, 1e33, 1e33), -3e35, 3e35, 1, 10);
        QVERIFY(beyond.Record.TickCount > 500000);
        QVERIFY(beyond.Record.Complete);
        for (const QRectF& world : {QRectF(-4, -4, 4, 4), QRectF(-1e28, -1e28, 1e28, 1e28)}) {
            const DrawnAxis faulted = Draw(true, false, world, world.x() < -5 ? -1e35 : -4.0,
                                           world.x() < -5 ? 1e35 : 1e8, 1, 10);
            QCOMPARE(faulted.Fault, std::optional(FloatFaultKind::InvalidOperation));
            QVERIFY(!faulted.Record.Complete);
        }
    }
};

QTEST_MAIN(TestTickSelection)
#include "test_tickselection.moc"
