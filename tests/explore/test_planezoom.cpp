// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom and pan in the plot window: the wheel and a drag write their window
// into the bound fields and draw the presses since "Vymaž" again, the very
// pixels the renderer and a replay give for those bounds; a window that
// would fail is never drawn; "Původní zorné pole" goes back.
#include <QtTest>

#include <QAction>

#include <cmath>

#include "../render/RendererProcess.h"
#include "DocumentSignals.h"
#include "ExploreFixture.h"
#include "ReadoutText.h"
#include "WorldWindow.h"

namespace {

WorldWindow FieldWindow()
{
    const std::array<std::string, 4> texts = BoundFieldTexts();
    return WorldWindow{std::stod(texts[0]), std::stod(texts[1]), std::stod(texts[2]), std::stod(texts[3])};
}

}  // namespace

class TestPlaneZoom : public QObject {
    Q_OBJECT

private:
    SettingsAside settings;
    QTemporaryDir work;
    ExploreFixture fixture;
    int redraws = 0;  // the plane's history replaced

    QString Picture() const { return work.filePath("plane.png"); }
    const PressHistory& History() { return TheDocument().Presses(); }

    // The plane is what those bounds give: drawn again at once on a fresh
    // plane, and, for a single press, by the renderer.
    void CheckPlaneIsOfTheFields()
    {
        const std::array<std::string, 4> bounds = BoundFieldTexts();
        for (const RecordedPress& press : History()) {
            QCOMPARE(press.Press.Texts.X1, bounds[0]);
            QCOMPARE(press.Press.Texts.Y2, bounds[3]);
        }
        QVERIFY(Draw2D->Plane() == PlaneOfPresses(History()));
        if (History().size() == 1) {
            const RendererRun run = RunRenderer(RendererOptions(History().front().Press) << "-o" << Picture());
            QVERIFY(run.Finished);
            QVERIFY(ReadPicture(Picture()) == Draw2D->Plane());
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(settings.Folder.isValid());
        QVERIFY(work.isValid());
    }
    void init()
    {
        fixture.Start();
        redraws = 0;
        auto* news = new DocumentSignals(TheDocument(), Draw2D);
        QObject::connect(news, &DocumentSignals::PressesChanged, Draw2D, [this] { ++redraws; });
    }
    void cleanup() { fixture.Stop(); }

    void WheelZoomsAboutTheCursor_data();
    void WheelZoomsAboutTheCursor();
    void EveryPressDrawnAgainInTheNewWindow();
    void DragPans_data();
    void DragPans();
    void AClickDoesNotPan();
    void ADragIsDrawnOncePerTurn();
    void NothingToZoomBeforeAPress();
    void ZoomStopsAtTheLastWindowThatWorks_data();
    void ZoomStopsAtTheLastWindowThatWorks();
    void PanStopsWhereTheAxesEnd();
    void ACurveTooFarOutEndsWithoutABox();
    void BackToTheOriginalWindow();
    void KresliAndVymazForgetTheOriginal();
    void ThePenKeepsItsPointThroughAZoom();
};

void TestPlaneZoom::WheelZoomsAboutTheCursor_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<int>("delta");
    QTest::addColumn<bool>("axes");
    QTest::addColumn<double>("factor");
    QTest::newRow("a notch in at the centre") << QPoint(250, 250) << 120 << true << 1.25;
    QTest::newRow("a notch in at a corner") << QPoint(12, 470) << 120 << true << 1.25;
    QTest::newRow("a notch out") << QPoint(300, 100) << -120 << true << 0.8;
    QTest::newRow("three notches at once") << QPoint(400, 220) << 360 << false << 1.953125;
    QTest::newRow("half a notch of a fine wheel") << QPoint(77, 88) << 60 << true << std::sqrt(1.25);
}

void TestPlaneZoom::WheelZoomsAboutTheCursor()
{
    QFETCH(QPoint, pixel);
    QFETCH(int, delta);
    QFETCH(bool, axes);
    QFETCH(double, factor);
    Control_Panel->CheckBox1->setChecked(axes);
    PressKresli();
    const WorldWindow before = WindowOf(*Draw2D);
    const WorldPoint under = PixelCentre(Draw2D->Mapping(), FromQPoint(pixel));
    redraws = 0;

    TurnWheel(pixel, delta);
    QCOMPARE(redraws, 1);
    QVERIFY(fixture.Panel.Boxes.isEmpty());
    const WorldWindow after = FieldWindow();
    QCOMPARE(WindowOf(*Draw2D), after);
    // The factor, but for the bounds written as short decimals: each within
    // a tenth of a pixel, so the width within two tenths of one.
    const double pixels = 0.2 / 500 * (1 + 1e-9);
    QVERIFY(std::fabs((after.X2 - after.X1) * factor / (before.X2 - before.X1) - 1) <= pixels);
    QVERIFY(std::fabs((after.Y2 - after.Y1) * factor / (before.Y2 - before.Y1) - 1) <= pixels);
    // The point under the cursor stays under it.
    QCOMPARE(Draw2D->ScreenX(under.x), pixel.x());
    QCOMPARE(Draw2D->ScreenY(under.y), pixel.y());
    CheckPlaneIsOfTheFields();
}

// Presses in other windows, colours and modes are all drawn in the new
// window, in their order, each with its axes if it had them.
void TestPlaneZoom::EveryPressDrawnAgainInTheNewWindow()
{
    SetPanelTexts({"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "60"});
    PressKresli();
    SetPanelTexts({"t", "t^2/4", "-5", "5", "-1", "6", "-3", "3", "30"});
    Control_Panel->CheckBox1->setChecked(false);
    Control_Panel->CheckBox2->setChecked(true);
    Draw2D->CurveR = 200;
    PressKresli();
    QCOMPARE(int(History().size()), 2);
    const PressHistory before = History();

    TurnWheel(QPoint(260, 240), 120);
    QCOMPARE(int(History().size()), 2);
    for (std::size_t i = 0; i < before.size(); ++i) {
        QCOMPARE(History()[i].Press.Texts.EquationX, before[i].Press.Texts.EquationX);
        QCOMPARE(History()[i].Press.ShowAxes, before[i].Press.ShowAxes);
        QCOMPARE(History()[i].Press.Dashed, before[i].Press.Dashed);
        QCOMPARE(History()[i].Press.CurveR, before[i].Press.CurveR);
        QCOMPARE(History()[i].Press.Texts.T1, before[i].Press.Texts.T1);
    }
    QVERIFY(Draw2D->Plane() == PlaneOfPresses(WithBounds(before, BoundFieldTexts())));
    CheckPlaneIsOfTheFields();
}

void TestPlaneZoom::DragPans_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("right and down") << QPoint(250, 250) << QPoint(330, 320);
    QTest::newRow("left and up") << QPoint(400, 400) << QPoint(150, 37);
    QTest::newRow("just past the drag distance") << QPoint(100, 100) << QPoint(104, 107);
}

// The world point grabbed follows the cursor.
void TestPlaneZoom::DragPans()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    PressKresli();
    const WorldPoint grabbed = PixelCentre(Draw2D->Mapping(), FromQPoint(from));
    Drag(from, to);
    QVERIFY(fixture.Panel.Boxes.isEmpty());
    QCOMPARE(Draw2D->ScreenX(grabbed.x), to.x());
    QCOMPARE(Draw2D->ScreenY(grabbed.y), to.y());
    QCOMPARE(WindowOf(*Draw2D), FieldWindow());
    CheckPlaneIsOfTheFields();
}

void TestPlaneZoom::AClickDoesNotPan()
{
    PressKresli();
    const QImage plane = ToQImage(Draw2D->Plane()).copy();
    const std::array<std::string, 4> fields = BoundFieldTexts();
    redraws = 0;
    Drag(QPoint(200, 200), QPoint(200, 200));
    Drag(QPoint(200, 200), QPoint(201, 202), 1);  // a hand that shakes a little
    QCOMPARE(redraws, 0);
    QVERIFY(BoundFieldTexts() == fields);
    QVERIFY(Draw2D->Plane() == plane);
}

// Moves that come faster than the plane is drawn are drawn once, for the
// last position.
void TestPlaneZoom::ADragIsDrawnOncePerTurn()
{
    PressKresli();
    const WorldPoint grabbed = PixelCentre(Draw2D->Mapping(), FromQPoint(QPoint(100, 100)));
    redraws = 0;
    SendMouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    for (int i = 1; i <= 20; ++i)
        MoveMouse(QPoint(100 + 5 * i, 100 + 2 * i), Qt::LeftButton);
    QCOMPARE(redraws, 0);
    QCoreApplication::processEvents();
    QCOMPARE(redraws, 1);
    SendMouse(QEvent::MouseButtonRelease, QPoint(200, 140), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(redraws, 1);  // released where it was drawn last
    QCOMPARE(Draw2D->ScreenX(grabbed.x), 200);
    QCOMPARE(Draw2D->ScreenY(grabbed.y), 140);
    CheckPlaneIsOfTheFields();
}

void TestPlaneZoom::NothingToZoomBeforeAPress()
{
    const std::array<std::string, 4> fields = BoundFieldTexts();
    TurnWheel(QPoint(250, 250), 120);
    Drag(QPoint(100, 100), QPoint(200, 200));
    PressKresli();
    QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);  // "Vymaž"
    TurnWheel(QPoint(250, 250), 120);
    Drag(QPoint(100, 100), QPoint(200, 200));
    QVERIFY(BoundFieldTexts() == fields);
    QCOMPARE(PixelsOtherThan(ToQImage(Draw2D->Plane()), 255, 255, 255), 0);
    QVERIFY(fixture.Panel.Boxes.isEmpty());
}

void TestPlaneZoom::ZoomStopsAtTheLastWindowThatWorks_data()
{
    QTest::addColumn<bool>("axes");
    QTest::addColumn<int>("notches");
    QTest::addColumn<QString>("note");
    QTest::newRow("in, without axes: the doubles run out") << false << 300 << ZoomInLimitText;
    QTest::newRow("in, with axes: the origin leaves 32 bits") << true << 300 << ZoomInLimitText;
    QTest::newRow("out, with axes: too many ticks") << true << -400 << ZoomOutLimitText;
    QTest::newRow("out, without axes: beyond the doubles") << false << -4000 << ZoomOutLimitText;
}

// Turned far, the wheel stops quietly at the last window that works, says
// so in the readout, and a further notch changes nothing.
void TestPlaneZoom::ZoomStopsAtTheLastWindowThatWorks()
{
    QFETCH(bool, axes);
    QFETCH(int, notches);
    QFETCH(QString, note);
    Control_Panel->CheckBox1->setChecked(axes);
    Control_Panel->EditSeg->setText("20");
    PressKresli();
    fixture.Readout().SetOn(true);
    const QPoint pixel(300, 200);  // off the origin, so zooming in leaves it behind
    MoveMouse(pixel);
    TurnWheel(pixel, 120 * notches);
    QVERIFY(fixture.Panel.Boxes.isEmpty());
    QVERIFY2(fixture.Readout().MouseLabel().Text().endsWith(note), qPrintable(fixture.Readout().MouseLabel().Text()));

    const WorldWindow reached = FieldWindow();
    QCOMPARE(WindowOf(*Draw2D), reached);
    PlotSurface scratch;
    scratch.ResizePlane(500, 500);
    QVERIFY(MappingWorks(scratch, reached));
    if (axes)
        QVERIFY(AxesFit(scratch, reached));
    QVERIFY(!(reached == WorldWindow{-4, 4, -4, 4}));
    // The next notch would not work.
    const WorldPoint under = PixelCentre(Draw2D->Mapping(), FromQPoint(pixel));
    bool nextWorks = false;
    try {
        const WorldWindow next = ZoomedWindow(reached, under, notches > 0 ? 1.25L : 0.8L);
        nextWorks = !(next == reached) && MappingWorks(scratch, next) && (!axes || AxesFit(scratch, next));
    } catch (const FloatFault&) {
    }
    QVERIFY(!nextWorks);
    redraws = 0;
    TurnWheel(pixel, notches > 0 ? 120 : -120);
    QCOMPARE(redraws, 0);
    QCOMPARE(FieldWindow(), reached);
    QVERIFY(Draw2D->Plane() == PlaneOfPresses(History()));
}

void TestPlaneZoom::PanStopsWhereTheAxesEnd()
{
    // The y axis's column is 2147483250, under 400 pixels left of where
    // 32 bits end.
    SetPanelTexts({"4.294967+0.0000002*cos(t)", "0.0000002*sin(t)", "4.2949665", "4.2949675", "-0.0000005",
                   "0.0000005", "0", "2*pi", "20"});
    PressKresli();
    QVERIFY(fixture.Panel.Boxes.isEmpty());
    QCOMPARE(Draw2D->ScreenX(0.0), -2147483250);
    fixture.Readout().SetOn(true);
    // Dragged left by 480 pixels in four moves: the first three are drawn.
    Drag(QPoint(490, 250), QPoint(10, 250));
    QVERIFY(fixture.Readout().MouseLabel().Text().endsWith(PanLimitText));
    QCOMPARE(Draw2D->ScreenX(0.0), -2147483250 - 360);
    // Once more: the first move would already cross.
    Drag(QPoint(490, 250), QPoint(10, 250));
    QCOMPARE(Draw2D->ScreenX(0.0), -2147483250 - 360);
    QVERIFY(fixture.Panel.Boxes.isEmpty());
    QCOMPARE(History().back().Result.End, PressEnd::Completed);
    CheckPlaneIsOfTheFields();
}

// A curve whose points lie too far out in the new window ends early, as
// "Kresli" would end it, and no box is shown.
void TestPlaneZoom::ACurveTooFarOutEndsWithoutABox()
{
    SetPanelTexts({"t*1000", "0", "-4", "4", "-4", "4", "0", "1", "20"});
    Control_Panel->CheckBox1->setChecked(false);
    PressKresli();
    QCOMPARE(History().back().Result.End, PressEnd::Completed);
    TurnWheel(QPoint(250, 250), 120 * 100);
    QVERIFY(fixture.Panel.Boxes.isEmpty());
    QCOMPARE(History().back().Result.End, PressEnd::Fault);
    QVERIFY(History().back().Result.PointCount < 21);
    CheckPlaneIsOfTheFields();
}

void TestPlaneZoom::BackToTheOriginalWindow()
{
    SetPanelTexts({"3*cos(t)", "2*sin(t)", "-pi", "pi", "-2", "2", "0", "2*pi", "50"});
    PressKresli();
    SetPanelTexts({"cos(t)", "sin(t)", "-1", "1", "-1", "1", "0", "pi", "25"});
    PressKresli();
    // The fields as the user left them, not as the last press had them.
    Control_Panel->EditX1->setText("-3*pi");
    const QImage original = ToQImage(Draw2D->Plane()).copy();
    const PressHistory presses = History();
    QAction* back = fixture.Menu->OriginalWindow;
    QVERIFY(!back->isEnabled());
    QCOMPARE(back->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));

    TurnWheel(QPoint(100, 100), 240);
    QVERIFY(back->isEnabled());
    Drag(QPoint(200, 200), QPoint(300, 260));
    TurnWheel(QPoint(400, 300), -120);
    QVERIFY(Draw2D->Plane() != original);

    QVERIFY(ActivatePlotWindow());
    QTest::keyClick(Draw2D, Qt::Key_0, Qt::ControlModifier);
    QVERIFY(fixture.Panel.Boxes.isEmpty());
    QVERIFY(Draw2D->Plane() == original);
    QCOMPARE(Control_Panel->EditX1->text(), QString("-3*pi"));
    QCOMPARE(Control_Panel->EditX2->text(), QString("1"));
    QCOMPARE(History().size(), presses.size());
    for (std::size_t i = 0; i < presses.size(); ++i)
        QVERIFY(History()[i].Press == presses[i].Press);
    QVERIFY(!back->isEnabled());
}

void TestPlaneZoom::KresliAndVymazForgetTheOriginal()
{
    QAction* back = fixture.Menu->OriginalWindow;
    PressKresli();
    TurnWheel(QPoint(250, 250), 120);
    QVERIFY(back->isEnabled());
    PressKresli();  // in the zoomed window the fields now hold
    QVERIFY(!back->isEnabled());
    QCOMPARE(History().back().Press.Texts.X1, BoundFieldTexts()[0]);
    TurnWheel(QPoint(250, 250), 120);
    QVERIFY(back->isEnabled());
    QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);
    QVERIFY(!back->isEnabled());
}

void TestPlaneZoom::ThePenKeepsItsPointThroughAZoom()
{
    Control_Panel->EditSeg->setText("30");
    PressKresli();
    QVERIFY(ActivatePlotWindow());
    QTest::keyClick(Draw2D, Qt::Key_Home);
    QTest::keyClick(Draw2D, Qt::Key_PageDown);
    const QString text = fixture.Readout().PenLabel().Text();
    TurnWheel(QPoint(250, 250), 120);
    Drag(QPoint(250, 250), QPoint(200, 200));
    QCOMPARE(int(*fixture.Readout().PenIndex()), 10);
    QCOMPARE(fixture.Readout().PenLabel().Text(), text);
    // A new press puts the pen at its last point.
    PressKresli();
    QCOMPARE(*fixture.Readout().PenIndex(), TheDocument().PenTrack().size() - 1);
    QVERIFY(*fixture.Readout().PenIndex() > 10);
}

QTEST_MAIN(TestPlaneZoom)
#include "test_planezoom.moc"
