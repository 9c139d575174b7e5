// SPDX-License-Identifier: GPL-3.0-or-later
// The record of what the plane holds: what a wipe, axes, traces and dashed
// traces leave in it, and the recorder's frames and memory.
#include <QtTest>

#include <cmath>

#include "ExportTestSupport.h"
#include "FaultTesting.h"

namespace {

const std::int32_t Red = ColorValue(255, 0, 0);
const std::int32_t White = ColorValue(255, 255, 255);
const std::int32_t Blue = ColorValue(0, 0, 200);

template <typename Item>
std::vector<const Item*> ItemsOf(const PlaneRecord& record)
{
    std::vector<const Item*> found;
    for (const PlaneItem& item : record.Items()) {
        if (const auto* typed = std::get_if<Item>(&item))
            found.push_back(typed);
    }
    return found;
}

QString KindsOf(const PlaneRecord& record)
{
    QString kinds;
    for (const PlaneItem& item : record.Items()) {
        if (const auto* axis = std::get_if<AxisRecord>(&item))
            kinds += axis->Axis == AxisKind::X ? u'X' : u'Y';
        else
            kinds += u'C';
    }
    return kinds;
}

// Pixel positions of the traced points, as the bitmap maps them before rounding.
QPointF PixelOf(const PlotSurface& surface, const TracedPoint& point)
{
    const PlaneMapping mapping = surface.Mapping();
    return QPointF(double(mapping.PixelX(point.x)), double(mapping.PixelY(point.y)));
}

}  // namespace

class TestPlaneRecord : public QObject {
    Q_OBJECT

private slots:
    void WipeStartsAnEmptyRecord_data();
    void WipeStartsAnEmptyRecord();
    void Axes_data();
    void Axes();
    void AxisStoppedByAFault();
    void TracesOverlaid();
    void DashedKeepsOnlyDrawnSegments();
    void SegmentsThatDrawNothing_data();
    void SegmentsThatDrawNothing();
    void RecorderFrames_data();
    void RecorderFrames();
    void RecorderMemoryForLongTrace();
};

void TestPlaneRecord::WipeStartsAnEmptyRecord_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("white") << 255 << 255 << 255;
    QTest::newRow("a colour") << 10 << 20 << 30;
}

void TestPlaneRecord::WipeStartsAnEmptyRecord()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);

    auto surface = FreshSurface();
    RecordTrace(*surface, StartTexts(), false);
    QCOMPARE(KindsOf(surface->Record()), QStringLiteral("XYC"));
    surface->FillPlane(std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue));
    QVERIFY(surface->Record().Items().empty());
    QCOMPARE(surface->Record().Background(), ColorValue(std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue)));
    QCOMPARE(ToQSize(surface->Record().Size()), QSize(500, 500));

    surface->ResizePlane(300, 200);
    QVERIFY(surface->Record().Items().empty());
    QCOMPARE(ToQSize(surface->Record().Size()), QSize(300, 200));
    QCOMPARE(surface->Record().Background(), White);
}

void TestPlaneRecord::Axes_data()
{
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");

    QTest::newRow("-4 .. 4") << -4.0 << 4.0 << 0 << -3 << 6;
    QTest::newRow("-0.5 .. 10") << -0.5 << 10.0 << 0 << -1 << 10;
    QTest::newRow("0 .. 3") << 0.0 << 3.0 << -1 << 1 << 28;
    QTest::newRow("-1 .. 1") << -1.0 << 1.0 << -1 << -9 << 18;
    // About 2 * 10^5 ticks, kept as a few numbers.
    QTest::newRow("-1e35 .. 1e35") << -1e35 << 1e35 << 30 << -99999 << 199998;
}

void TestPlaneRecord::Axes()
{
    QFETCH(double, lo);
    QFETCH(double, hi);
    QFETCH(int, exponent);
    QFETCH(int, first);
    QFETCH(int, count);

    auto surface = FreshSurface();
    DrawReferenceAxes(*surface, Window(lo, hi, lo, hi));
    const auto axes = ItemsOf<AxisRecord>(surface->Record());
    QCOMPARE(KindsOf(surface->Record()), QStringLiteral("XY"));
    for (const AxisRecord* axis : axes) {
        QCOMPARE(axis->Min, lo);
        QCOMPARE(axis->Max, hi);
        QCOMPARE(axis->At, 0.0);
        QCOMPARE(axis->Colour, Red);
        QCOMPARE(axis->FontHeight, 10);
        QCOMPARE(axis->PenWidth, 1);
        QCOMPARE(axis->Brush, White);
        QVERIFY(axis->Mapping == surface->Mapping());
        QVERIFY(axis->HasStep);
        QVERIFY(axis->Complete);
        QCOMPARE(axis->Step.Exponent, exponent);
        QCOMPARE(axis->FirstTick, first);
        QCOMPARE(axis->TickCount, qint64(count));
    }
    QCOMPARE(axes[0]->Step.Step, FindAxisStep(lo, hi).Step);
}

void TestPlaneRecord::AxisStoppedByAFault()
{
    // A reversed window: the x axis line is drawn, then the step search
    // divides by zero; the y axis is never begun.
    auto surface = FreshSurface();
    const PlotState reversed = Window(4, -4, -4, 4);
    QVERIFY(FaultOf([&] { DrawReferenceAxes(*surface, reversed); }) == FloatFaultKind::DivisionByZero);
    QCOMPARE(KindsOf(surface->Record()), QStringLiteral("X"));
    const AxisRecord& axis = std::get<AxisRecord>(surface->Record().Items()[0]);
    QVERIFY(!axis.HasStep);
    QCOMPARE(axis.TickCount, qint64(0));
    QVERIFY(!axis.Complete);

    // An axis whose row lies beyond the 32-bit range draws nothing at all.
    auto far = FreshSurface();
    const PlotState offRange = Window(-4, 4, 1e9, 1e9 + 1);
    QVERIFY(FaultOf([&] { DrawReferenceAxes(*far, offRange); }) == FloatFaultKind::InvalidOperation);
    QVERIFY(far->Record().Items().empty());
}

void TestPlaneRecord::TracesOverlaid()
{
    auto surface = FreshSurface();
    const RecordedTrace circle = RecordTrace(*surface, StartTexts(), false);
    const PlaneMapping circleMapping = surface->Mapping();
    const RecordedTrace throwTrace = RecordTrace(*surface, PresetTexts(Preset("sikmy-vrh"), "50"), false);
    QCOMPARE(KindsOf(surface->Record()), QStringLiteral("XYCXYC"));

    const auto curves = ItemsOf<CurveRecord>(surface->Record());
    QCOMPARE(curves[0]->Points.size(), circle.Points.size());
    QCOMPARE(curves[1]->Points.size(), throwTrace.Points.size());
    for (const CurveRecord* curve : curves) {
        QCOMPARE(curve->Colour, Blue);
        QCOMPARE(curve->PenWidth, 1);
    }
    // The unrounded positions of the traced points, each in its own mapping.
    for (std::size_t i = 0; i < circle.Points.size(); ++i) {
        const TracedPoint& p = circle.Points[i];
        QCOMPARE(ToQPointF(curves[0]->Points[i]),
                 QPointF(double(circleMapping.PixelX(p.x)), double(circleMapping.PixelY(p.y))));
        QVERIFY(std::abs(curves[0]->Points[i].X - circleMapping.ScreenX(p.x)) <= 0.5);
    }
    for (std::size_t i = 0; i < throwTrace.Points.size(); ++i)
        QCOMPARE(ToQPointF(curves[1]->Points[i]), PixelOf(*surface, throwTrace.Points[i]));
    const auto axes = ItemsOf<AxisRecord>(surface->Record());
    QCOMPARE(axes[0]->Max, 4.0);
    QCOMPARE(axes[2]->Max, 10.0);
}

void TestPlaneRecord::DashedKeepsOnlyDrawnSegments()
{
    auto surface = FreshSurface();
    const RecordedTrace trace = RecordTrace(*surface, StartTexts(), true);
    QCOMPARE(trace.Points.size(), std::size_t(102));
    const auto curves = ItemsOf<CurveRecord>(surface->Record());
    // The segments ending at points 1, 3, ..., 101, each on its own.
    QCOMPARE(curves.size(), std::size_t(51));
    for (std::size_t k = 0; k < curves.size(); ++k) {
        QCOMPARE(curves[k]->Points.size(), std::size_t(2));
        QCOMPARE(ToQPointF(curves[k]->Points[0]), PixelOf(*surface, trace.Points[2 * k]));
        QCOMPARE(ToQPointF(curves[k]->Points[1]), PixelOf(*surface, trace.Points[2 * k + 1]));
    }
}

void TestPlaneRecord::SegmentsThatDrawNothing_data()
{
    QTest::addColumn<TraceTexts>("texts");
    QTest::addColumn<int>("polylines");
    QTest::addColumn<int>("firstPoint");  // index of the traced point the polyline starts at
    QTest::addColumn<int>("points");

    // Every segment rounds to one pixel: the bitmap shows no curve.
    QTest::newRow("a point") << TraceTexts{"1", "1", "-4", "4", "-4", "4", "0", "1", "10"} << 0 << 0 << 0;
    // 0.061 pixels a step from column 250: the first 8 steps stay in one
    // pixel and draw nothing; from the first that does, it is one polyline.
    QTest::newRow("creeping") << TraceTexts{"t/1024", "0", "-4", "4", "-4", "4", "0", "40", "40"} << 1 << 8
                              << 34;
}

void TestPlaneRecord::SegmentsThatDrawNothing()
{
    QFETCH(TraceTexts, texts);
    QFETCH(int, polylines);
    QFETCH(int, firstPoint);
    QFETCH(int, points);

    auto surface = FreshSurface();
    WholePlaneHost host(*surface);
    QVERIFY(RunPress(*surface, PressOn(*surface, texts, false), host).Ok());
    const auto curves = ItemsOf<CurveRecord>(surface->Record());
    QCOMPARE(int(curves.size()), polylines);
    if (polylines == 0) {
        QCOMPARE(CountNotWhite(ToQImage(surface->Plane())), 0);
        return;
    }
    QCOMPARE(ToQPointF(curves[0]->Points.front()), PixelOf(*surface, host.Points[std::size_t(firstPoint)]));
    QCOMPARE(int(curves[0]->Points.size()), points);
    QCOMPARE(ToQPointF(curves[0]->Points.back()), PixelOf(*surface, host.Points.back()));
}

void TestPlaneRecord::RecorderFrames_data()
{
    QTest::addColumn<TraceTexts>("texts");
    QTest::addColumn<int>("frames");

    QTest::newRow("inputs at start") << StartTexts() << 102;
    // The x formula fails to compile after the axes: one frame, the axes.
    QTest::newRow("compile error") << TraceTexts{"3*", "t", "-4", "4", "-4", "4", "0", "1", "10"} << 1;
    // A step of zero divides by zero after the axes: one frame, the axes.
    QTest::newRow("zero segments") << TraceTexts{"t", "t", "-4", "4", "-4", "4", "0", "1", "0"} << 1;
    // Refused before anything is drawn: the plane as it was.
    QTest::newRow("refused bound") << TraceTexts{"t", "t", "-4", "4", "-4", "4", "0", "1/0", "10"} << 1;
}

void TestPlaneRecord::RecorderFrames()
{
    QFETCH(TraceTexts, texts);
    QFETCH(int, frames);

    auto surface = FreshSurface();
    const QImage before = ToQImage(surface->Plane()).copy();
    const RecordedTrace trace = RecordTrace(*surface, texts, false);
    QVERIFY(trace.Animation.Start == before);
    QCOMPARE(int(trace.Animation.Frames.size()), frames);
    const std::vector<QImage> composed = ComposeFrames(trace.Animation);
    for (std::size_t k = 0; k < trace.StepPlanes.size(); ++k)
        QVERIFY(composed[k] == trace.StepPlanes[k]);
    QVERIFY(composed.back() == surface->Plane());
}

void TestPlaneRecord::RecorderMemoryForLongTrace()
{
    auto surface = FreshSurface();
    RecordingHost host;
    TraceRecorder recorder(*surface, host);
    TraceTexts texts = StartTexts();
    texts.Segments = "1731";
    QVERIFY(RunPress(*surface, PressOn(*surface, texts, true), recorder).Ok());
    const PlaneAnimation animation = recorder.Finish();
    QCOMPARE(animation.Frames.size(), std::size_t(1733));
    // Frame 0 holds the axes; each later one a few pixels of one segment.
    qint64 laterBytes = 0;
    for (std::size_t k = 1; k < animation.Frames.size(); ++k) {
        laterBytes += qint64(animation.Frames[k].Pixels.BytesPerLine()) * animation.Frames[k].Pixels.Height();
        QVERIFY(animation.Frames[k].Changed.Width() <= 3 && animation.Frames[k].Changed.Height() <= 3);
    }
    QVERIFY2(laterBytes < 100 * 1024, qPrintable(QString::number(laterBytes)));
    RgbImage composed = animation.Start;
    for (const PlaneFrame& frame : animation.Frames)
        ApplyFrame(composed, frame);
    QVERIFY(composed == surface->Plane());
}

QTEST_MAIN(TestPlaneRecord)
#include "test_planerecord.moc"
