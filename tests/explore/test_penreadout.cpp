// SPDX-License-Identifier: GPL-3.0-or-later
// The pen's readout: it follows the trace and stays at the last point
// drawn, the keys step it, never past the points the press reached, and its
// text and the copied line are those of the renderer's --points; each step
// is told to a screen reader.
#include <QtTest>

#include <QAction>
#include <QClipboard>

#include <vector>

#include "../render/RendererProcess.h"
#include "ExploreFixture.h"
#include "ReadoutAccessible.h"
#include "ReadoutText.h"
#include "WindowReplay.h"

namespace {

// The rows of the renderer's --points after its "t,x,y" header, as texts.
std::vector<QStringList> CsvRows(const QByteArray& csv)
{
    std::vector<QStringList> rows;
    const QList<QByteArray> lines = csv.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!lines[i].isEmpty())
            rows.push_back(QString::fromLatin1(lines[i]).split(','));
    }
    return rows;
}

std::vector<QStringList> RendererPoints(const TracePress& press, const QString& picture)
{
    const RendererRun run = RunRenderer(RendererOptions(press) << "-o" << picture << "--points" << "-");
    if (!run.Finished)
        return {};
    return CsvRows(run.Out);
}

}  // namespace

class TestPenReadout : public QObject {
    Q_OBJECT

private:
    SettingsAside settings;
    QTemporaryDir work;
    ExploreFixture fixture;

    QString Picture() const { return work.filePath("plane.png"); }

private slots:
    void initTestCase()
    {
        QVERIFY(settings.Folder.isValid());
        QVERIFY(work.isValid());
    }
    void init()
    {
        UserSettings().remove(QString::fromLatin1(ShowPositionSetting));
        fixture.Start();
    }
    void cleanup() { fixture.Stop(); }

    void KeysStepThePen_data();
    void KeysStepThePen();
    void StepsEndWhereThePressEnded_data();
    void StepsEndWhereThePressEnded();
    void ReadoutIsTheRenderersPoints_data();
    void ReadoutIsTheRenderersPoints();
    void FollowsThePenDuringATrace();
    void APressWithoutPointsLeavesTheOneBefore_data();
    void APressWithoutPointsLeavesTheOneBefore();
    void VymazLeavesNoPoint();
    void AFailedWindowMovesNoReadout_data();
    void AFailedWindowMovesNoReadout();
    void BothCopyForms_data();
    void BothCopyForms();
    void SteppingTellsTheScreenReader();
};

void TestPenReadout::KeysStepThePen_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("index");
    // 10 segments from 0 to 2*pi: 12 points, 0 to 11.
    QTest::newRow("after the trace: the last point") << QList<int>{} << 11;
    QTest::newRow("left") << QList<int>{Qt::Key_Left} << 10;
    QTest::newRow("right at the end stays") << QList<int>{Qt::Key_Right} << 11;
    QTest::newRow("home") << QList<int>{Qt::Key_Home} << 0;
    QTest::newRow("left at the start stays") << QList<int>{Qt::Key_Home, Qt::Key_Left} << 0;
    QTest::newRow("home, right") << QList<int>{Qt::Key_Home, Qt::Key_Right} << 1;
    QTest::newRow("home, page down") << QList<int>{Qt::Key_Home, Qt::Key_PageDown} << 10;
    QTest::newRow("page down stops at the last") << QList<int>{Qt::Key_Home, Qt::Key_PageDown, Qt::Key_PageDown}
                                                 << 11;
    QTest::newRow("page up") << QList<int>{Qt::Key_PageUp} << 1;
    QTest::newRow("page up stops at the first") << QList<int>{Qt::Key_PageUp, Qt::Key_PageUp} << 0;
    QTest::newRow("home, end") << QList<int>{Qt::Key_Home, Qt::Key_End} << 11;
}

void TestPenReadout::KeysStepThePen()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, index);
    Control_Panel->EditSeg->setText("10");
    PressKresli();
    QCOMPARE(int(fixture.PenPoints()), 12);
    QVERIFY(ActivatePlotWindow());
    for (int key : keys)
        QTest::keyClick(Draw2D, Qt::Key(key));
    QCOMPARE(int(*fixture.Readout().PenIndex()), index);
    // A step key turns the readout on; none leaves it as it was.
    QCOMPARE(fixture.Readout().On(), !keys.isEmpty());
    QCOMPARE(fixture.Menu->ShowPosition->isChecked(), !keys.isEmpty());
    const PenPoint& point = TheDocument().PenTrack()[index];
    QCOMPARE(fixture.Pen().Text(), QString::fromStdString(PenReadoutText(point.T, point.X, point.Y, ShownZero())));
    QCOMPARE(fixture.Pen().StepNumber(), index + 1);
}

void TestPenReadout::StepsEndWhereThePressEnded_data()
{
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("segments");
    QTest::addColumn<int>("reached");
    QTest::addColumn<int>("boxes");
    QTest::newRow("the whole press") << "3*cos(t)" << "20" << 22 << 0;
    // Division by zero at t = pi/5, the third point.
    QTest::newRow("a formula error") << "1/(t-pi/5)" << "10" << 2 << 1;
    // The second point is too far out to draw: its segment faults.
    QTest::newRow("a point too far to draw") << "t*1000000000000" << "10" << 2 << 1;
    QTest::newRow("no point at all") << "sqrt(t-100)" << "10" << 0 << 1;
}

// After an early end only the points the press reached are offered, the
// same the renderer lists.
void TestPenReadout::StepsEndWhereThePressEnded()
{
    QFETCH(QString, x);
    QFETCH(QString, segments);
    QFETCH(int, reached);
    QFETCH(int, boxes);
    Control_Panel->EditEq1->setText(x);
    Control_Panel->EditT2->setText("pi");
    Control_Panel->EditSeg->setText(segments);
    PressKresli();
    QCOMPARE(int(fixture.Panel.Boxes.size()), boxes);
    QCOMPARE(int(fixture.PenPoints()), reached);
    QCOMPARE(int(TheDocument().Presses().back().Result.PointCount), reached);
    const std::vector<QStringList> rows = RendererPoints(Control_Panel->CurrentPress(), Picture());
    QCOMPARE(int(rows.size()), reached);

    QVERIFY(ActivatePlotWindow());
    QTest::keyClick(Draw2D, Qt::Key_End);
    QTest::keyClick(Draw2D, Qt::Key_Right);
    QTest::keyClick(Draw2D, Qt::Key_PageDown);
    if (reached == 0) {
        QVERIFY(!fixture.Readout().PenIndex());
        QVERIFY(fixture.Pen().Text().isEmpty());
        QVERIFY(fixture.Readout().CopyExactText().isEmpty());
        QVERIFY(fixture.Readout().CopyShownText().isEmpty());
        QVERIFY(!fixture.Menu->CopyPosition->isEnabled());
        QVERIFY(!fixture.Menu->CopyExactPosition->isEnabled());
        return;
    }
    QCOMPARE(int(*fixture.Readout().PenIndex()), reached - 1);
    QCOMPARE(fixture.Readout().CopyExactText(), rows.back().join(';'));
    QCOMPARE(fixture.Pen().StepCount(), reached);
}

void TestPenReadout::ReadoutIsTheRenderersPoints_data()
{
    QTest::addColumn<TraceTexts>("texts");
    QTest::addColumn<bool>("dashed");
    QTest::newRow("the inputs at start") << StartPress().Texts << false;
    QTest::newRow("the folium, to its early end")
        << TraceTexts{"3*t/(1+t^3)", "3*t^2/(1+t^3)", "-3", "3", "-3", "3", "-20", "20", "40"} << false;
    QTest::newRow("a dashed Lissajous curve")
        << TraceTexts{"3*sin(3*t)", "3*cos(2*t)", "-4", "4", "-4", "4", "0", "2*pi", "97"} << true;
    QTest::newRow("huge and tiny values")
        << TraceTexts{"exp(t)*100000000000000000000", "exp(-t)/100000000000000000000", "0",
                      "2100000000000000000000", "0", "0.00000000000000000021", "-3", "3", "7"} << false;
}

// Stepped from the first point to the last, the readout shows each point
// the renderer lists, to six digits, and copies its very line.
void TestPenReadout::ReadoutIsTheRenderersPoints()
{
    QFETCH(TraceTexts, texts);
    QFETCH(bool, dashed);
    SetPanelTexts(texts);
    Control_Panel->CheckBox2->setChecked(dashed);
    PressKresli();
    const std::vector<QStringList> rows = RendererPoints(Control_Panel->CurrentPress(), Picture());
    QVERIFY(rows.size() > 2);
    QCOMPARE(fixture.PenPoints(), rows.size());

    QVERIFY(ActivatePlotWindow());
    QTest::keyClick(Draw2D, Qt::Key_Home);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QStringList& row = rows[i];
        QCOMPARE(int(*fixture.Readout().PenIndex()), int(i));
        QCOMPARE(fixture.Pen().Text(), QString::fromStdString(PenReadoutText(row[0].toDouble(), row[1].toDouble(),
                                                                     row[2].toDouble(), ShownZero())));
        QCOMPARE(fixture.Readout().CopyExactText(), row.join(';'));
        QTest::keyClick(Draw2D, Qt::Key_Right);
    }
}

// During a trace the pen's readout is at the point just drawn.
void TestPenReadout::FollowsThePenDuringATrace()
{
    fixture.Readout().SetOn(true);
    Control_Panel->EditSeg->setText("8");
    int pauses = 0;
    bool followed = true;
    SetTracePause([&] {
        const std::size_t drawn = std::size_t(pauses++);
        const WorldPoint& point = Draw2D->Points[drawn];
        followed = followed && fixture.Readout().PenIndex() == drawn &&
                   fixture.Pen().Text() ==
                       QString::fromStdString(PenReadoutText(Draw2D->VarT, point.x, point.y, ShownZero()));
    });
    PressKresli();
    QCOMPARE(pauses, 10);
    QVERIFY(followed);
    // Afterwards it stays at the last point drawn.
    QCOMPARE(int(*fixture.Readout().PenIndex()), 9);
}

void TestPenReadout::APressWithoutPointsLeavesTheOneBefore_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("by hand") << 0;
    QTest::newRow("all drawn anew") << 1;
    QTest::newRow("the last press changed in place") << 2;
}

// The pen is on the last press that drew points, however the presses came
// onto the plane.
void TestPenReadout::APressWithoutPointsLeavesTheOneBefore()
{
    QFETCH(int, how);
    Control_Panel->EditSeg->setText("10");
    PressKresli();
    const std::vector<PenPoint> first = TheDocument().PenTrack();
    Control_Panel->EditSeg->setText("7");
    Control_Panel->EditEq1->setText("t^2");
    PressKresli();
    QCOMPARE(int(fixture.PenPoints()), 9);
    RecordedPress empty = TheDocument().Presses().back();
    empty.Press.Texts.EquationY = "sqrt(t-100)";  // fails at its first point
    PressHistory presses{TheDocument().Presses().front(), empty};
    if (how == 0) {
        QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);
        Control_Panel->ShowPress(presses.front().Press);
        PressKresli();
        Control_Panel->ShowPress(empty.Press);
        PressKresli();
    } else if (how == 1) {
        QVERIFY(DrawPressesAnew(TheDocument(), presses).Ran);
    } else {
        QVERIFY(RedrawLastPress(TheDocument(), empty).Ran);
    }
    QCOMPARE(TheDocument().Presses().back().Result.PointCount, std::size_t(0));
    const std::vector<PenPoint>& track = TheDocument().PenTrack();
    QCOMPARE(track.size(), first.size());
    for (std::size_t i = 0; i < track.size(); ++i) {
        QCOMPARE(track[i].T, first[i].T);
        QCOMPARE(track[i].X, first[i].X);
        QCOMPARE(track[i].Y, first[i].Y);
    }
    QCOMPARE(*fixture.Readout().PenIndex(), first.size() - 1);
}

void TestPenReadout::AFailedWindowMovesNoReadout_data()
{
    QTest::addColumn<QString>("x1");
    QTest::addColumn<QString>("x2");
    QTest::addColumn<QString>("y");
    QTest::newRow("a reversed window with axes") << "4" << "-4" << "3*sin(t)";
    QTest::newRow("equal bounds") << "4" << "4" << "3*sin(t)";
    QTest::newRow("no point drawn") << "-8" << "8" << "1/(t-t)";
}

// A press refused or faulted before its first point leaves the plot state's
// mapping changed, yet the plane still shows the window before it: the
// pen's ring and the mouse's readout stay in that window.
void TestPenReadout::AFailedWindowMovesNoReadout()
{
    QFETCH(QString, x1);
    QFETCH(QString, x2);
    QFETCH(QString, y);
    Control_Panel->EditSeg->setText("10");
    PressKresli();
    fixture.Readout().SetOn(true);
    MoveMouse(QPoint(437, 250));  // by the tick of 3
    const std::optional<QPoint> ring = fixture.Pen().At();
    const QString pen = fixture.Pen().Text();
    const QString mouse = fixture.Mouse().Text();
    QVERIFY(ring);
    QVERIFY2(mouse.startsWith("x = 2,99"), qPrintable(mouse));

    Control_Panel->EditX1->setText(x1);
    Control_Panel->EditX2->setText(x2);
    Control_Panel->EditEq2->setText(y);
    PressKresli();
    QCOMPARE(fixture.Panel.Boxes.size(), 1);
    MoveMouse(QPoint(437, 251));
    MoveMouse(QPoint(437, 250));
    QCOMPARE(fixture.Pen().At(), ring);
    QCOMPARE(fixture.Pen().Text(), pen);
    QCOMPARE(fixture.Mouse().Text(), mouse);
}

void TestPenReadout::VymazLeavesNoPoint()
{
    PressKresli();
    QVERIFY(fixture.Readout().PenIndex());
    MoveMouse(QPoint(10, 10));
    QVERIFY(!fixture.Mouse().Text().isEmpty());
    QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);
    QVERIFY(!fixture.Readout().PenIndex());
    QVERIFY(fixture.Pen().Text().isEmpty());
    QVERIFY(fixture.Mouse().Text().isEmpty());  // nothing drawn: no window to read
    QVERIFY(!fixture.Menu->CopyPosition->isEnabled());
    QVERIFY(!fixture.Menu->CopyExactPosition->isEnabled());
}

void TestPenReadout::BothCopyForms_data()
{
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("copied");
    // The circle 3*cos(t), 3*sin(t) in four segments: the pen one point on
    // from the first stands at t = pi/2, on the y axis, where 3*cos(pi/2)
    // leaves 1.8e-16 in x.
    QTest::newRow("Ctrl+C: as shown, a cell each") << QKeySequence(Qt::CTRL | Qt::Key_C) << "1,5708\t0\t3";
    QTest::newRow("Ctrl+Shift+C: in full")
        << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C) << "1.5707963267948966;1.8369701987210297e-16;3";
}

void TestPenReadout::BothCopyForms()
{
    QFETCH(QKeySequence, keys);
    QFETCH(QString, copied);
    Control_Panel->EditT2->setText("2*pi");
    Control_Panel->EditSeg->setText("4");
    PressKresli();
    QVERIFY(ActivatePlotWindow());
    QTest::keyClick(Draw2D, Qt::Key_Home);
    QTest::keyClick(Draw2D, Qt::Key_Right);
    QGuiApplication::clipboard()->clear();
    QTest::keySequence(Draw2D, keys);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    // The shown form holds the readout's very numbers.
    const QStringList cells = copied.split('\t');
    if (cells.size() == 3)
        QCOMPARE(fixture.Pen().Text(), QStringLiteral("t = %1   x = %2   y = %3").arg(cells[0], cells[1], cells[2]));
}

void TestPenReadout::SteppingTellsTheScreenReader()
{
    Control_Panel->EditSeg->setText("10");
    PressKresli();
    QVERIFY(ActivatePlotWindow());
    // Headless no screen reader listens and the toolkit drops the events;
    // they are watched on their way.
    std::vector<QAccessible::Event> raised;
    WatchReadoutAnnouncements([&](QAccessible::Event type, QObject* object) {
        if (object == &fixture.Pen())
            raised.push_back(type);
    });
    QTest::keyClick(Draw2D, Qt::Key_Home);
    QTest::keyClick(Draw2D, Qt::Key_Left);  // at the start already: nothing new
    QTest::keyClick(Draw2D, Qt::Key_Right);
    WatchReadoutAnnouncements(nullptr);
    const std::vector<QAccessible::Event> expected{QAccessible::DescriptionChanged, QAccessible::ValueChanged,
                                                   QAccessible::DescriptionChanged, QAccessible::ValueChanged};
    QCOMPARE(raised, expected);
    QCOMPARE(QAccessible::queryAccessibleInterface(&fixture.Pen())->valueInterface()->currentValue().toInt(), 2);
}

QTEST_MAIN(TestPenReadout)
#include "test_penreadout.moc"
