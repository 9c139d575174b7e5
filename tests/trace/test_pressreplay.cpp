// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing recorded presses again: a list of presses replayed on a fresh plane
// gives the very plane the presses drew when they were made one after the
// other, with every early end where it was; and the one table of the nine
// fields agrees with the presets, the start texts and the options.
#include <QtTest>

#include <set>
#include <string>

#include "LongWork.h"
#include "PlaneDescription.h"
#include "PlaneCheck.h"
#include "Presets.h"
#include "PressReplay.h"
#include "RecordingHost.h"

Q_DECLARE_METATYPE(PressHistory)
Q_DECLARE_METATYPE(PressEnd)

namespace {

TracePress Press(const char* x, const char* y, const char* t1, const char* t2, const char* segments,
                 bool axes = false, bool dashed = false)
{
    TracePress press = StartPress();
    press.Texts.EquationX = x;
    press.Texts.EquationY = y;
    press.Texts.T1 = t1;
    press.Texts.T2 = t2;
    press.Texts.Segments = segments;
    press.ShowAxes = axes;
    press.Dashed = dashed;
    return press;
}

TracePress Coloured(TracePress press, int red, int green, int blue)
{
    press.CurveR = std::uint8_t(red);
    press.CurveG = std::uint8_t(green);
    press.CurveB = std::uint8_t(blue);
    return press;
}

// Stops the trace in the pause after its `stopAfter`-th step, as Esc does.
class StoppingHost : public RecordingHost {
public:
    explicit StoppingHost(int stopAfter) : stopAfter_(stopAfter) {}
    void Pause() override
    {
        RecordingHost::Pause();
        if (stopAfter_ >= 0 && Pauses == stopAfter_)
            throw EvaluationCancelled();
    }

private:
    int stopAfter_;
};

// Makes each press as "Kresli" makes it, one after the other on one plane,
// each starting from the t the one before left behind; a press is stopped
// after `stops[i]` steps when that is not negative. Returns the history as
// the window records it.
PressHistory MakeByHand(PlotSurface& surface, const QList<TracePress>& presses, const QList<int>& stops)
{
    PressHistory history;
    for (qsizetype i = 0; i < presses.size(); ++i) {
        TracePress press = presses[i];
        press.TBefore = surface.VarT;
        StoppingHost host(i < stops.size() ? stops[i] : -1);
        host.DashedMode = press.Dashed;
        RecordedPress record{press, std::nullopt, {}};
        record.Result = RunPress(surface, press, host);
        if (record.Result.End == PressEnd::Stopped)
            record.StopAt = record.Result.PointCount;
        history.push_back(record);
    }
    return history;
}

}  // namespace

class TestPressReplay : public QObject {
    Q_OBJECT

private slots:
    void SamePlaneAsByHand_data();
    void SamePlaneAsByHand();
    void StopsWhereTheRecordSays_data();
    void StopsWhereTheRecordSays();
    void KeepsTAndColourOfThePressToCome();
    void DashesAreThePressesOwn();
    void ACancelFromTheCallerPassesOut();
    void FieldTableAgreesWithItsUsers();
    void DescribesWhatThePlaneHolds();
};

void TestPressReplay::SamePlaneAsByHand_data()
{
    QTest::addColumn<QList<TracePress>>("presses");
    QTest::addColumn<QList<int>>("stops");
    QTest::addColumn<QList<PressEnd>>("ends");

    const TracePress circle = StartPress();
    QTest::newRow("the start press") << QList<TracePress>{circle} << QList<int>{} << QList<PressEnd>{PressEnd::Completed};
    QTest::newRow("two circles, a colour each")
        << QList<TracePress>{circle, Coloured(Press("2*cos(t)", "2*sin(t)", "0", "2*pi", "50", true), 200, 0, 0)}
        << QList<int>{} << QList<PressEnd>{PressEnd::Completed, PressEnd::Completed};
    // The window of each reads the t the press before left behind: 2.5 at
    // first (see below), then about 6.35 after the circle.
    TracePress fromT = Press("t", "t", "0", "t", "30", true, true);
    fromT.Texts.X1 = "-t";
    fromT.Texts.X2 = "t";
    QTest::newRow("a bound uses the t left behind")
        << QList<TracePress>{fromT, circle, fromT} << QList<int>{}
        << QList<PressEnd>{PressEnd::Completed, PressEnd::Completed, PressEnd::Completed};
    TracePress folium = StartPress();
    ApplyPreset(folium.Texts, CurvePresets[2]);
    folium.Texts.Segments = "40";
    QTest::newRow("a formula error ends the first, the second is whole")
        << QList<TracePress>{folium, circle} << QList<int>{}
        << QList<PressEnd>{PressEnd::FormulaError, PressEnd::Completed};
    QTest::newRow("a fault mid-curve, axes before it")
        << QList<TracePress>{Press("exp(40*t)-1", "0", "0", "1", "4", true), circle} << QList<int>{}
        << QList<PressEnd>{PressEnd::Fault, PressEnd::Completed};
    QTest::newRow("zero segments: axes only, then the fault")
        << QList<TracePress>{Press("t", "t", "0", "1", "0", true)} << QList<int>{} << QList<PressEnd>{PressEnd::Fault};
    QTest::newRow("a refused bound draws nothing")
        << QList<TracePress>{Press("t", "t", "0", "1/0", "4", true), circle} << QList<int>{}
        << QList<PressEnd>{PressEnd::FormulaError, PressEnd::Completed};
    QTest::newRow("stopped after 7 steps, then another")
        << QList<TracePress>{circle, Press("t/2", "t/3", "0", "6", "20", false, true)} << QList<int>{7}
        << QList<PressEnd>{PressEnd::Stopped, PressEnd::Completed};
    QTest::newRow("stopped in the first pause")
        << QList<TracePress>{circle} << QList<int>{1} << QList<PressEnd>{PressEnd::Stopped};
}

// What a lesson, a zoom and the renderer rely on: the replay draws exactly
// what the presses drew, and ends each one the same way.
void TestPressReplay::SamePlaneAsByHand()
{
    QFETCH(QList<TracePress>, presses);
    QFETCH(QList<int>, stops);
    QFETCH(QList<PressEnd>, ends);

    // A t left behind by a press before the list: the replay starts from a
    // surface that has another, so each press must bring its own.
    auto byHand = FreshSurface();
    byHand->VarT = 2.5;
    const PressHistory history = MakeByHand(*byHand, presses, stops);
    auto replayed = FreshSurface();
    RecordingHost steps;
    const std::vector<PressResult> results = ReplayPresses(*replayed, history, &steps);

    QVERIFY(replayed->Plane() == byHand->Plane());
    QCOMPARE(int(results.size()), int(history.size()));
    for (std::size_t i = 0; i < results.size(); ++i) {
        QCOMPARE(results[i].End, ends[qsizetype(i)]);
        QCOMPARE(results[i].End, history[i].Result.End);
        QCOMPARE(results[i].Message, history[i].Result.Message);
        QCOMPARE(results[i].PointCount, history[i].Result.PointCount);
    }
    // The replay does not pause for the eye: every step is passed on at once.
    std::size_t points = 0;
    for (const PressResult& result : results)
        points += result.PointCount;
    QCOMPARE(steps.Points.size(), points);
    QCOMPARE(steps.DashedQueries, 0);
}

void TestPressReplay::StopsWhereTheRecordSays_data()
{
    QTest::addColumn<int>("stopAt");
    QTest::addColumn<int>("points");

    QTest::newRow("before the first point: the axes only") << 0 << 0;
    QTest::newRow("after five points") << 5 << 5;
    QTest::newRow("past the end: the whole curve") << 500 << 102;
}

void TestPressReplay::StopsWhereTheRecordSays()
{
    QFETCH(int, stopAt);
    QFETCH(int, points);

    RecordedPress press{StartPress(), std::size_t(stopAt), {}};
    auto replayed = FreshSurface();
    RecordingHost steps;
    const PressResult result = ReplayPress(*replayed, press, &steps);
    QCOMPARE(int(result.PointCount), points);
    QCOMPARE(result.End, stopAt < 102 ? PressEnd::Stopped : PressEnd::Completed);
    QCOMPARE(int(steps.Points.size()), points);

    // The same plane as the press stopped by hand after as many steps.
    auto byHand = FreshSurface();
    StoppingHost stopping(points);
    try {
        RunPress(*byHand, StartPress(), stopping);
    } catch (const EvaluationCancelled&) {
    }
    if (points == 0) {
        // Nothing to stop in a pause: the axes are all the plane holds.
        byHand = FreshSurface();
        DrawReferenceAxes(*byHand, *replayed);
    }
    QVERIFY(replayed->Plane() == byHand->Plane());
}

// VarT and the colour are the panel's, for the press still to come.
void TestPressReplay::KeepsTAndColourOfThePressToCome()
{
    auto surface = FreshSurface();
    surface->VarT = 42.5;
    surface->CurveR = 10;
    surface->CurveG = 20;
    surface->CurveB = 30;
    const PressHistory history{{Coloured(StartPress(), 255, 0, 0), std::nullopt, {}}};
    ReplayPresses(*surface, history);
    QCOMPARE(surface->VarT, 42.5);
    QCOMPARE(int(surface->CurveR), 10);
    QCOMPARE(int(surface->CurveG), 20);
    QCOMPARE(int(surface->CurveB), 30);
    // ... while the curve itself was drawn in the press's red.
    const QImage plane = ToQImage(surface->Plane());
    int red = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 500; ++x)
            red += plane.pixel(x, y) == qRgb(255, 0, 0);
    QVERIFY(red > 500);
}

void TestPressReplay::DashesAreThePressesOwn()
{
    const TracePress dashed = Press("t", "0", "0", "1", "4", false, true);
    auto replayed = FreshSurface();
    ReplayPresses(*replayed, PressHistory{{dashed, std::nullopt, {}}});
    // Segments ending at points 1, 3 and 5 only (t = 0 .. 1.25 on row 250).
    for (int column : {250, 265, 281, 296, 312, 327})
        QCOMPARE(ToQImage(replayed->Plane()).pixel(column, 250), CurveColour);
    for (int column : {266, 280, 297, 311, 328})
        QCOMPARE(ToQImage(replayed->Plane()).pixel(column, 250), qRgb(255, 255, 255));
}

// Esc during a replay stops the whole replay, not just one press.
void TestPressReplay::ACancelFromTheCallerPassesOut()
{
    auto surface = FreshSurface();
    surface->VarT = 3.0;
    StoppingHost stopping(3);
    const PressHistory history{{StartPress(), std::nullopt, {}}, {StartPress(), std::nullopt, {}}};
    QVERIFY_THROWS_EXCEPTION(EvaluationCancelled, ReplayPresses(*surface, history, &stopping));
    QCOMPARE(int(stopping.Points.size()), 3);
    QCOMPARE(surface->VarT, 3.0);
}

void TestPressReplay::FieldTableAgreesWithItsUsers()
{
    std::set<std::string> widgets, options, keys, accessible;
    for (const PressField& field : PressFields) {
        widgets.insert(field.WidgetName);
        options.insert(field.OptionName);
        keys.insert(field.LessonKey);
        accessible.insert(field.AccessibleName);
        QCOMPARE(FindPressField(field.Field), &field);
        QCOMPARE(StartPress().Texts.*field.Text, std::string(field.StartText));
    }
    QCOMPARE(widgets.size(), PressFields.size());
    QCOMPARE(options.size(), PressFields.size());
    QCOMPARE(keys.size(), PressFields.size());
    QCOMPARE(accessible.size(), PressFields.size());
    QVERIFY(FindPressField(InputField::None) == nullptr);

    // A preset writes the first eight fields and leaves the segment count.
    TraceTexts texts = StartPress().Texts;
    texts.Segments = "40";
    ApplyPreset(texts, CurvePresets[1]);
    QCOMPARE(texts.EquationY, std::string("14*t*sin(80*pi/180)-5*t^2"));
    QCOMPARE(texts.X1, std::string("-0.5"));
    QCOMPARE(texts.T2, std::string("3"));
    QCOMPARE(texts.Segments, std::string("40"));
}

// The words a screen reader reads for the plane, from the presses as they
// ended when drawn.
void TestPressReplay::DescribesWhatThePlaneHolds()
{
    QCOMPARE(QString::fromStdString(DescribePlane({})), QString("Prázdná rovina 500 x 500 bodů."));

    TracePress folium = StartPress();
    ApplyPreset(folium.Texts, CurvePresets[2]);
    folium.Texts.Segments = "40";
    folium.Dashed = true;
    auto surface = FreshSurface();
    PressHistory history = MakeByHand(*surface, {StartPress(), folium, StartPress()}, {-1, -1, 3});
    QCOMPARE(QString::fromStdString(DescribePlane(history)),
             QString("Rovina 500 x 500 bodů, 3 křivky."
                     " 1. x = 3*cos(t), y = 3*sin(t); zorné pole x od -4 do 4, y od -4 do 4; t od 0 do 2*pi;"
                     " počet segmentů 100; s osami; nakreslena celá."
                     " 2. x = 3*t/(1+t^3), y = 3*t^2/(1+t^3); zorné pole x od -3 do 3, y od -3 do 3; t od -20 do 20;"
                     " počet segmentů 40; s osami; přerušovaně; skončila předčasně po 19 bodech: Dělení nulou."
                     " 3. x = 3*cos(t), y = 3*sin(t); zorné pole x od -4 do 4, y od -4 do 4; t od 0 do 2*pi;"
                     " počet segmentů 100; s osami; zastavena po 3 bodech."));
    history.resize(1);
    QVERIFY(QString::fromStdString(DescribePlane(history)).startsWith("Rovina 500 x 500 bodů, 1 křivka. 1. "));
    history.resize(5, history.front());
    QVERIFY(QString::fromStdString(DescribePlane(history)).startsWith("Rovina 500 x 500 bodů, 5 křivek. 1. "));
}

QTEST_MAIN(TestPressReplay)
#include "test_pressreplay.moc"
