// SPDX-License-Identifier: GPL-3.0-or-later
// The tracing loop on a plot surface: which points are evaluated, which
// segments reach the plane, what ends a trace, and what a refusal leaves.
#include <QtTest>

#include <cmath>
#include <limits>
#include <string>

#include "PressRun.h"
#include "PlaneCheck.h"
#include "Presets.h"

Q_DECLARE_METATYPE(FloatFaultKind)
Q_DECLARE_METATYPE(PressEnd)
Q_DECLARE_METATYPE(InputField)
Q_DECLARE_METATYPE(TraceTexts)

namespace {

const double Skip = std::numeric_limits<double>::quiet_NaN();

TraceTexts PresetTexts(const CurvePreset& preset, const char* segments)
{
    TraceTexts texts;
    ApplyPreset(texts, preset);
    texts.Segments = segments;
    return texts;
}

TraceTexts LineTexts(const char* x, const char* y, const char* t1, const char* t2, const char* segments)
{
    return TraceTexts{x, y, "-4", "4", "-4", "4", t1, t2, segments};
}

}  // namespace

class TestCurveTrace : public QObject {
    Q_OBJECT

private slots:
    void Traces_data();
    void Traces();
    void QuarterStepsOnRow250_data();
    void QuarterStepsOnRow250();
    void FoliumStopsAtMinusOne();
    void CircleValues();
    void Refusals_data();
    void Refusals();
    void ZeroSegments_data();
    void ZeroSegments();
    void TwoPressesOverlap();
    void DashedAndColourReadEveryStep();
    void AxesWithThinPenAndSmallFont();
    void FaultInLoopKeepsSegments();
};

void TestCurveTrace::Traces_data()
{
    QTest::addColumn<TraceTexts>("texts");
    QTest::addColumn<bool>("axes");
    QTest::addColumn<bool>("dashed");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("lastT");
    QTest::addColumn<InputField>("focus");  // the formula a message is about

    QTest::newRow("t 0..1 in 4 segments") << LineTexts("t", "t*t", "0", "1", "4") << false << false << 6
                                          << QString() << 1.25 << InputField::None;
    QTest::newRow("t 0..1 in 4 segments dashed") << LineTexts("t", "t*t", "0", "1", "4") << true << true
                                                 << 6 << QString() << 1.25 << InputField::None;
    QTest::newRow("inputs at start") << StartTexts() << true << false << 102 << QString()
                                     << 6.346017160251373 << InputField::None;
    QTest::newRow("circle preset") << PresetTexts(CurvePresets[0], "100") << true << false << 101
                                   << QString() << 6.283300000000009 << InputField::None;
    QTest::newRow("oblique throw preset") << PresetTexts(CurvePresets[1], "100") << true << true << 102
                                          << QString() << 3.029999999999995 << InputField::None;
    QTest::newRow("planet preset") << PresetTexts(CurvePresets[3], "100") << true << false << 101
                                   << QString() << 3.1415926535897984 << InputField::None;
    QTest::newRow("T2 below T1") << LineTexts("t", "t", "1", "0", "4") << false << false << 1 << QString()
                                 << 1.0 << InputField::None;
    // Ten steps of 0.1 add up to 0.9999999999999999, so t = 1.0999999999999999
    // still passes the test; T1 + 11 * DT would not.
    QTest::newRow("t accumulates") << LineTexts("t", "t", "0", "1", "10") << false << false << 12
                                   << QString() << 1.0999999999999999 << InputField::None;
    QTest::newRow("1731 segments fill Points") << LineTexts("t", "t", "0", "1731/1024", "1731") << true
                                               << false << 1733 << QString() << 1.69140625 << InputField::None;
    QTest::newRow("T1 = T2 ends after count + 2") << LineTexts("t", "t", "1", "1", "4") << false << false
                                                  << 6 << QString() << 1.0 << InputField::None;
    QTest::newRow("T1 = T2 with 1731 segments") << LineTexts("t", "t", "1", "1", "1731") << false << false
                                                << 1733 << QString() << 1.0 << InputField::None;
    QTest::newRow("step too small to move t")
        << LineTexts("0", "0", "10000000000000000", "10000000000000002", "1731") << false << false << 1733
        << QString() << 1e16 << InputField::None;
    QTest::newRow("x fails to compile") << LineTexts("3*cos(t", "3*sin(t)", "0", "1", "4") << true
                                        << false << 0 << QString("Chybny vyraz") << Skip << InputField::EquationX;
    QTest::newRow("y has a bad number") << LineTexts("t", "1.2.3*t", "0", "1", "4") << true << false << 0
                                        << QString("Chybne cislo") << Skip << InputField::EquationY;
    QTest::newRow("both fail, y's message") << LineTexts("sin(", "1.2.3", "0", "1", "4") << true << false
                                            << 0 << QString("Chybne cislo") << Skip << InputField::EquationY;
    QTest::newRow("both fail, y's message again") << LineTexts("1.2.3", "sin(", "0", "1", "4") << true
                                                  << false << 0 << QString("Chybny vyraz") << Skip << InputField::EquationY;
    QTest::newRow("x error at the first point") << LineTexts("1/t", "t", "0", "1", "4") << false << false
                                                << 0 << QString("Dělení nulou") << Skip << InputField::EquationX;
    QTest::newRow("y error at the fourth point") << LineTexts("t", "sqrt(0.5-t)", "0", "1", "4") << false
                                                 << false << 3 << QString("Záporný argument odmocniny")
                                                 << 0.5 << InputField::EquationY;
}

// The plane equals a fresh one with the axes and the segments between the
// reported points drawn by hand; counts and the last t pin the loop.
void TestCurveTrace::Traces()
{
    QFETCH(TraceTexts, texts);
    QFETCH(bool, axes);
    QFETCH(bool, dashed);
    QFETCH(int, points);
    QFETCH(QString, message);
    QFETCH(double, lastT);
    QFETCH(InputField, focus);

    auto surface = FreshSurface();
    RecordingHost host;
    host.DashedMode = dashed;
    const PressResult outcome = RunPress(*surface, PressOn(*surface, texts, axes), host);

    QCOMPARE(QString::fromStdString(outcome.Message), message);
    QCOMPARE(outcome.Focus, focus);
    QCOMPARE(int(outcome.PointCount), points);
    QCOMPARE(int(host.Points.size()), points);
    QCOMPARE(host.Pauses, points);
    QCOMPARE(host.Repaints, points + (message.isEmpty() ? 1 : 0));  // final repaint only on success
    if (!std::isnan(lastT))
        QCOMPARE(host.Points.back().t, lastT);
    for (int i = 0; i < points; ++i) {
        QCOMPARE(int(host.Points[i].index), i);
        QCOMPARE(surface->Points[i].x, host.Points[i].x);
        QCOMPARE(surface->Points[i].y, host.Points[i].y);
    }

    auto reference = FreshSurface();
    if (axes)
        DrawReferenceAxes(*reference, *surface);
    DrawReferenceCurve(*reference, *surface, host.Points, dashed);
    QVERIFY(surface->Plane() == reference->Plane());
    // Points that never move (T1 = T2, a step lost in rounding) draw nothing.
    const bool moves = points > 1 && (host.Points.front().x != host.Points.back().x ||
                                      host.Points.front().y != host.Points.back().y);
    QCOMPARE(CountNotWhite(ToQImage(surface->Plane())) > 0, moves || axes);
}

void TestCurveTrace::QuarterStepsOnRow250_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<bool>("dashed");
    QTest::addColumn<QList<int>>("edges");  // drawn columns: [from, to) pairs

    // t = 0 .. 1.25 maps to columns 250, 266, 281, 297, 312, 328.
    QTest::newRow("solid, five segments") << QString("t") << false << QList<int>{250, 328};
    QTest::newRow("dashed, segments 1, 3, 5") << QString("t") << true
                                              << QList<int>{250, 266, 281, 297, 312, 328};
    QTest::newRow("x formula x+t") << QString("x+t") << false << QList<int>{250, 328};
}

// Independent of the drawing code: the pixels of row 250 that must be set.
void TestCurveTrace::QuarterStepsOnRow250()
{
    QFETCH(QString, x);
    QFETCH(bool, dashed);
    QFETCH(QList<int>, edges);

    auto surface = FreshSurface();
    RecordingHost host;
    host.DashedMode = dashed;
    const PressResult outcome =
        RunPress(*surface, PressOn(*surface, LineTexts(x.toStdString().c_str(), "y", "0", "1", "4"), false), host);
    QVERIFY(outcome.Ok());

    int expected = 0;
    for (int column = 0; column < 500; ++column) {
        bool drawn = false;
        for (int k = 0; k + 1 < edges.size(); k += 2)
            drawn = drawn || (column >= edges[k] && column < edges[k + 1]);
        expected += drawn;
        const QRgb want = drawn ? CurveColour : qRgb(255, 255, 255);
        QVERIFY2(ToQImage(surface->Plane()).pixel(column, 250) == want, qPrintable(QString::number(column)));
    }
    QCOMPARE(CountNotWhite(ToQImage(surface->Plane())), expected);
}

void TestCurveTrace::FoliumStopsAtMinusOne()
{
    auto surface = FreshSurface();
    RecordingHost host;
    const PressResult outcome = RunPress(*surface, PressOn(*surface, PresetTexts(CurvePresets[2], "40"), true), host);

    QCOMPARE(QString::fromStdString(outcome.Message), QString("Dělení nulou"));
    QCOMPARE(surface->DT, 1.0);
    QCOMPARE(surface->VarT, -1.0);  // the t at which the error arose
    QCOMPARE(int(host.Points.size()), 19);  // t = -20 .. -2
    for (std::size_t i = 0; i < host.Points.size(); ++i) {
        const double t = -20.0 + double(i);
        QCOMPARE(host.Points[i].t, t);
        QVERIFY(std::fabs(host.Points[i].x - 3 * t / (1 + t * t * t)) < 1e-15);
        QVERIFY(std::fabs(host.Points[i].y - 3 * t * t / (1 + t * t * t)) < 1e-14);
    }
    // The last drawn segment ends at t = -2, (6/7, -12/7): the pixel before its
    // end is set, and the segment from t = -3 ends there.
    const int endColumn = surface->ScreenX(6.0 / 7.0);
    const int endRow = surface->ScreenY(-12.0 / 7.0);
    QCOMPARE(ToQImage(surface->Plane()).pixel(endColumn, endRow), qRgb(255, 255, 255));
    int curvePixelsNearEnd = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx)
            curvePixelsNearEnd += ToQImage(surface->Plane()).pixel(endColumn + dx, endRow + dy) == CurveColour;
    }
    QVERIFY(curvePixelsNearEnd >= 1);
}

void TestCurveTrace::CircleValues()
{
    auto surface = FreshSurface();
    RecordingHost host;
    QVERIFY(RunPress(*surface, PressOn(*surface, StartTexts(), false), host).Ok());
    const double step = 2 * 3.141592653589793 / 100;
    QCOMPARE(surface->DT, step);
    for (const TracedPoint& point : host.Points) {
        QVERIFY(std::fabs(point.t - double(point.index) * step) < 1e-13);
        QVERIFY(std::fabs(point.x - 3 * std::cos(point.t)) < 1e-14);
        QVERIFY(std::fabs(point.y - 3 * std::sin(point.t)) < 1e-14);
        // Every drawn segment covers its start pixel.
        if (point.index < 101)
            QCOMPARE(ToQImage(surface->Plane()).pixel(surface->ScreenX(point.x), surface->ScreenY(point.y)), CurveColour);
    }
}

void TestCurveTrace::Refusals_data()
{
    QTest::addColumn<int>("which");  // 0..5 bound fields X1..T2, 6 the segments
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<InputField>("focus");

    QTest::newRow("X1 unbalanced") << 0 << QString("2*(3") << QString("Chybny vyraz") << InputField::X1;
    QTest::newRow("X2 bad number") << 1 << QString("1.2.3") << QString("Chybne cislo") << InputField::X2;
    QTest::newRow("Y1 divides by zero") << 2 << QString("1/0") << QString("Dělení nulou") << InputField::Y1;
    QTest::newRow("Y2 negative root") << 3 << QString("sqrt(-1)") << QString("Záporný argument odmocniny") << InputField::Y2;
    QTest::newRow("T1 logarithm of 0") << 4 << QString("ln(0)") << QString("Nepřípustný argument logaritmu") << InputField::T1;
    QTest::newRow("T2 empty") << 5 << QString("") << QString("Chybny vyraz") << InputField::T2;
    QTest::newRow("segments 100x") << 6 << QString("100x") << QString("Počet segmentů není číslo") << InputField::Segments;
    QTest::newRow("segments abc") << 6 << QString("abc") << QString("Počet segmentů není číslo") << InputField::Segments;
    QTest::newRow("segments empty") << 6 << QString("") << QString("Počet segmentů není číslo") << InputField::Segments;
    QTest::newRow("segments 1732") << 6 << QString("1732") << QString("Počet segmentů musí být číslo od 1 do 1731")
                                   << InputField::Segments;
    QTest::newRow("segments -1") << 6 << QString("-1") << QString("Počet segmentů musí být číslo od 1 do 1731")
                                 << InputField::Segments;
    QTest::newRow("segments -2147483648") << 6 << QString("-2147483648")
                                          << QString("Počet segmentů musí být číslo od 1 do 1731") << InputField::Segments;
}

// A refusal: its message and field, nothing drawn, nothing traced, and the
// bounds not yet read keep their values.
void TestCurveTrace::Refusals()
{
    QFETCH(int, which);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(InputField, focus);

    TraceTexts texts = StartTexts();
    std::string* fields[] = {&texts.X1, &texts.X2, &texts.Y1, &texts.Y2, &texts.T1, &texts.T2, &texts.Segments};
    *fields[which] = text.toStdString();

    auto surface = FreshSurface();
    surface->VarT = 5.5;
    surface->T2 = 9.0;
    surface->DT = 0.125;
    RecordingHost host;
    const PressResult outcome = RunPress(*surface, PressOn(*surface, texts, true), host);

    QCOMPARE(QString::fromStdString(outcome.Message), message);
    QCOMPARE(outcome.Focus, focus);
    QCOMPARE(CountNotWhite(ToQImage(surface->Plane())), 0);
    QCOMPARE(host.Repaints + host.Pauses + int(host.Points.size()), 0);
    QCOMPARE(surface->VarT, 5.5);
    QCOMPARE(surface->DT, 0.125);
    QCOMPARE(surface->T2, which <= 5 ? 9.0 : 2 * 3.141592653589793);
}

void TestCurveTrace::ZeroSegments_data()
{
    QTest::addColumn<QString>("t2");
    QTest::addColumn<QString>("segments");
    QTest::addColumn<FloatFaultKind>("kind");

    QTest::newRow("0") << QString("2*pi") << QString("0") << FloatFaultKind::DivisionByZero;
    QTest::newRow("-0") << QString("2*pi") << QString("-0") << FloatFaultKind::DivisionByZero;
    QTest::newRow("0.5 truncates to 0") << QString("2*pi") << QString("0.5") << FloatFaultKind::DivisionByZero;
    QTest::newRow("0 with T1 = T2") << QString("0") << QString("0") << FloatFaultKind::InvalidOperation;
}

void TestCurveTrace::ZeroSegments()
{
    QFETCH(QString, t2);
    QFETCH(QString, segments);
    QFETCH(FloatFaultKind, kind);

    TraceTexts texts = StartTexts();
    texts.T2 = t2.toStdString();
    texts.Segments = segments.toStdString();
    auto surface = FreshSurface();
    surface->DT = 0.125;
    surface->VarT = 7.0;
    RecordingHost host;
    const PressResult result = RunPress(*surface, PressOn(*surface, texts, true), host);
    QCOMPARE(result.End, PressEnd::Fault);
    QCOMPARE(result.Fault, kind);
    QCOMPARE(surface->DT, 0.125);
    QCOMPARE(surface->VarT, 7.0);
    QCOMPARE(host.Repaints + host.Pauses, 0);
    auto reference = FreshSurface();
    DrawReferenceAxes(*reference, *surface);
    QVERIFY(surface->Plane() == reference->Plane());  // the axes, no curve
    QVERIFY(CountNotWhite(ToQImage(surface->Plane())) > 0);
}

void TestCurveTrace::TwoPressesOverlap()
{
    auto surface = FreshSurface();
    RecordingHost first;
    QVERIFY(RunPress(*surface, PressOn(*surface, StartTexts(), true), first).Ok());
    TraceTexts smaller = StartTexts();
    smaller.EquationX = "2*cos(t)";
    smaller.EquationY = "2*sin(t)";
    surface->CurveG = 150;  // the second curve in another colour
    RecordingHost second;
    QVERIFY(RunPress(*surface, PressOn(*surface, smaller, true), second).Ok());

    auto reference = FreshSurface();
    DrawReferenceAxes(*reference, *surface);
    DrawReferenceCurve(*reference, *surface, first.Points, false);
    DrawReferenceAxes(*reference, *surface);
    reference->CurveG = 150;
    DrawReferenceCurve(*reference, *surface, second.Points, false);
    QVERIFY(surface->Plane() == reference->Plane());
    // Both curves stand: a start pixel of each, away from the axes.
    const TracedPoint& outer = first.Points[12];
    const TracedPoint& inner = second.Points[12];
    QCOMPARE(ToQImage(surface->Plane()).pixel(surface->ScreenX(outer.x), surface->ScreenY(outer.y)), CurveColour);
    QCOMPARE(ToQImage(surface->Plane()).pixel(surface->ScreenX(inner.x), surface->ScreenY(inner.y)), qRgb(0, 150, 200));
}

// The check box and the colour may change between steps; each segment
// takes them as they stand when it is drawn.
void TestCurveTrace::DashedAndColourReadEveryStep()
{
    auto surface = FreshSurface();
    RecordingHost host;
    PlotSurface& plane = *surface;
    host.OnPoint = [&](std::size_t index) {
        if (index == 3) {
            host.DashedMode = true;
            plane.CurveR = 255;
            plane.CurveB = 0;
        }
    };
    QVERIFY(RunPress(*surface, PressOn(*surface, LineTexts("t", "0", "0", "1", "4"), false), host).Ok());
    QCOMPARE(host.DashedQueries, 6);

    // Segments 1, 2 solid in blue; 3 red; 4 skipped; 5 red.
    const QRgb red = qRgb(255, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    const struct {
        int column;
        QRgb colour;
    } probes[] = {{250, CurveColour}, {265, CurveColour}, {266, CurveColour}, {280, CurveColour},
                  {281, red},         {296, red},         {297, white},       {311, white},
                  {312, red},         {327, red},         {328, white}};
    for (const auto& probe : probes)
        QVERIFY2(ToQImage(surface->Plane()).pixel(probe.column, 250) == probe.colour, qPrintable(QString::number(probe.column)));
}

void TestCurveTrace::AxesWithThinPenAndSmallFont()
{
    auto surface = FreshSurface();
    surface->Canvas().SetPenWidth(3);
    surface->Canvas().SetFontHeight(20);
    RecordingHost host;
    QVERIFY(RunPress(*surface, PressOn(*surface, LineTexts("t", "t", "1", "0", "4"), true), host).Ok());
    auto reference = FreshSurface();
    DrawReferenceAxes(*reference, *surface);  // pen width 1, font height 10
    QVERIFY(surface->Plane() == reference->Plane());
    QCOMPARE(surface->Canvas().FontHeight(), 10);
}

// A fault of the mapping ends the trace; what was drawn stays.
void TestCurveTrace::FaultInLoopKeepsSegments()
{
    auto surface = FreshSurface();
    RecordingHost host;
    // t = 0.5 maps to column 3e10, beyond the 32-bit range.
    const PressResult result =
        RunPress(*surface, PressOn(*surface, LineTexts("exp(40*t)-1", "0", "0", "1", "4"), false), host);
    QCOMPARE(result.End, PressEnd::Fault);
    QCOMPARE(result.Fault, FloatFaultKind::InvalidOperation);
    QCOMPARE(result.Message, std::string("Invalid floating point operation."));
    QCOMPARE(int(host.Points.size()), 3);
    QCOMPARE(host.Repaints, 2);
    QCOMPARE(CountNotWhite(ToQImage(surface->Plane())), 250);  // row 250 from column 250 to the edge
    QCOMPARE(ToQImage(surface->Plane()).pixel(499, 250), CurveColour);
}

QTEST_MAIN(TestCurveTrace)
#include "test_curvetrace.moc"
