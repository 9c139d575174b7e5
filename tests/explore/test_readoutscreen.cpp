// SPDX-License-Identifier: GPL-3.0-or-later
// The readout on screen: off at first start, the choice remembered; drawn
// over the plane on screen only, the screen the plane again when it is off;
// the mouse's point mapping back to the pixel under it; both readouts
// objects a screen reader reads.
#include <QtTest>

#include <QAction>

#include "ExploreFixture.h"
#include "ReadoutText.h"

class TestReadoutScreen : public QObject {
    Q_OBJECT

private:
    SettingsAside settings;
    ExploreFixture fixture;


private slots:
    void initTestCase()
    {
        QVERIFY(settings.Folder.isValid());
    }
    void init()
    {
        UserSettings().remove(QString::fromLatin1(ShowPositionSetting));
        fixture.Start();
    }
    void cleanup() { fixture.Stop(); }

    void OffAtFirstStart();
    void TheScreenIsThePlaneWhenOff();
    void DrawnOnScreenNeverOnThePlane();
    void TheChoiceIsRemembered();
    void MouseReadoutMapsBackToItsPixel_data();
    void MouseReadoutMapsBackToItsPixel();
    void ScreenReaderReadsBothReadouts();
};

void TestReadoutScreen::OffAtFirstStart()
{
    QVERIFY(fixture.Menu->ShowPosition->isCheckable());
    QVERIFY(!fixture.Menu->ShowPosition->isChecked());
    QVERIFY(!fixture.Readout().On());
    QCOMPARE(fixture.Menu->ShowPosition->shortcut(), QKeySequence(Qt::Key_F2));
    QVERIFY(Draw2D->actions().contains(fixture.Menu->ShowPosition));
    QVERIFY(!fixture.Menu->CopyPosition->isEnabled());  // no point yet
}

// Off, with the mouse on the plane and a trace drawn, the screen shows the
// plane and nothing else.
void TestReadoutScreen::TheScreenIsThePlaneWhenOff()
{
    PressKresli();
    MoveMouse(QPoint(200, 300));
    QVERIFY(!fixture.Pen().Text().isEmpty());
    QVERIFY(!fixture.Mouse().Text().isEmpty());
    QTRY_VERIFY(ShownPlane() == PlaneThere());
}

// On, the ring and the labels show on screen and the plane does not hold
// them; off again, the screen is the plane once more.
void TestReadoutScreen::DrawnOnScreenNeverOnThePlane()
{
    PressKresli();
    const QImage plane = ToQImage(Draw2D->Plane()).copy();
    QVERIFY(ActivatePlotWindow());
    QTest::keyClick(Draw2D, Qt::Key_F2);
    QVERIFY(fixture.Readout().On());
    MoveMouse(QPoint(120, 380));
    QVERIFY(Draw2D->Plane() == plane);

    QImage shown;
    QTRY_VERIFY((shown = ShownPlane()) != PlaneThere());
    // What differs lies in the two boxes and the ring, all of it.
    const QRect pen = fixture.Pen().Box(), mouse = fixture.Mouse().Box();
    QVERIFY(!pen.isEmpty());
    QVERIFY(!mouse.isEmpty());
    const QImage there = PlaneThere();
    const QPoint last(Draw2D->ScreenX(Draw2D->Points[fixture.PenPoints() - 1].x), Draw2D->ScreenY(Draw2D->Points[fixture.PenPoints() - 1].y));
    const QRect ring(last - QPoint(10, 10), QSize(21, 21));
    int differing = 0;
    for (int y = 0; y < there.height(); ++y) {
        for (int x = 0; x < there.width(); ++x) {
            if (shown.pixel(x, y) == there.pixel(x, y))
                continue;
            ++differing;
            QVERIFY2(pen.contains(x, y) || mouse.contains(x, y) || ring.contains(x, y),
                     qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
        }
    }
    QVERIFY(differing > 100);
    // The ring around the pen's pixel, the pixel itself left to the curve.
    QVERIFY(shown.pixel(last.x() + 6, last.y()) != there.pixel(last.x() + 6, last.y()));
    QCOMPARE(shown.pixel(last), there.pixel(last));

    QTest::keyClick(Draw2D, Qt::Key_F2);
    QVERIFY(!fixture.Readout().On());
    QTRY_VERIFY(ShownPlane() == PlaneThere());
    QVERIFY(Draw2D->Plane() == plane);
}

void TestReadoutScreen::TheChoiceIsRemembered()
{
    fixture.Menu->ShowPosition->trigger();
    QVERIFY(fixture.Readout().On());
    QCOMPARE(UserSettings().value(QString::fromLatin1(ShowPositionSetting)).toBool(), true);
    fixture.Stop();
    fixture.Start();
    QVERIFY(fixture.Menu->ShowPosition->isChecked());
    QVERIFY(fixture.Readout().On());
    fixture.Menu->ShowPosition->trigger();
    fixture.Stop();
    fixture.Start();
    QVERIFY(!fixture.Readout().On());
}

void TestReadoutScreen::MouseReadoutMapsBackToItsPixel_data()
{
    QTest::addColumn<QStringList>("window");
    QTest::addColumn<QPoint>("pixel");
    QTest::newRow("the circle's window") << QStringList{"-4", "4", "-4", "4"} << QPoint(172, 243);
    QTest::newRow("the origin") << QStringList{"-4", "4", "-4", "4"} << QPoint(250, 250);
    QTest::newRow("a corner") << QStringList{"-4", "4", "-4", "4"} << QPoint(0, 498);
    QTest::newRow("the oblique throw's window") << QStringList{"-0.5", "10", "-0.5", "10"} << QPoint(333, 77);
    QTest::newRow("far out and narrow")
        << QStringList{"1000000", "1000000.0001", "-0.000003", "-0.000002"} << QPoint(401, 17);
    QTest::newRow("huge") << QStringList{"-1e30", "1e30", "0", "1e25"} << QPoint(37, 460);
}

void TestReadoutScreen::MouseReadoutMapsBackToItsPixel()
{
    QFETCH(QStringList, window);
    QFETCH(QPoint, pixel);
    // Written out: the formula language has no exponent.
    for (QString& bound : window) {
        if (bound.contains('e'))
            bound = QString::fromStdString(FormulaText(bound.toDouble()));
    }
    Control_Panel->EditX1->setText(window[0]);
    Control_Panel->EditX2->setText(window[1]);
    Control_Panel->EditY1->setText(window[2]);
    Control_Panel->EditY2->setText(window[3]);
    // A small circle in the middle of the window, whatever its size.
    const double x1 = window[0].toDouble(), x2 = window[1].toDouble(), y1 = window[2].toDouble(),
                 y2 = window[3].toDouble();
    Control_Panel->EditEq1->setText(QString::fromStdString(FormulaText((x1 + x2) / 2) + "+" + FormulaText((x2 - x1) / 4) + "*cos(t)"));
    Control_Panel->EditEq2->setText(QString::fromStdString(FormulaText((y1 + y2) / 2) + "+" + FormulaText((y2 - y1) / 4) + "*sin(t)"));
    Control_Panel->CheckBox1->setChecked(false);
    PressKresli();
    QVERIFY(fixture.Panel.Boxes.isEmpty());

    const auto readAt = [&](QPoint at) {
        MoveMouse(at);
        QAccessibleInterface* mouse = QAccessible::queryAccessibleInterface(&fixture.Mouse());
        const QStringList parts = mouse->text(QAccessible::Description).split(QStringLiteral("   "));
        return parts;
    };
    const QStringList parts = readAt(pixel);
    QCOMPARE(parts.size(), 2);
    QVERIFY(parts[0].startsWith("x = "));
    QVERIFY(parts[1].startsWith("y = "));
    const std::optional<double> x = ReadReadoutNumber(parts[0].mid(4).toStdString());
    const std::optional<double> y = ReadReadoutNumber(parts[1].mid(4).toStdString());
    QVERIFY(x && y);
    QCOMPARE(Draw2D->ScreenX(*x), pixel.x());
    QCOMPARE(Draw2D->ScreenY(*y), pixel.y());
    // The neighbouring pixels read differently.
    QVERIFY(readAt(pixel + QPoint(1, 0))[0] != parts[0]);
    QVERIFY(readAt(pixel - QPoint(1, 0))[0] != parts[0]);
    QVERIFY(readAt(pixel + QPoint(0, 1))[1] != parts[1]);
    QVERIFY(readAt(pixel - QPoint(0, 1))[1] != parts[1]);
}

// Both readouts are objects of the plot window's accessible tree, each
// named, with the readout's text as its description.
void TestReadoutScreen::ScreenReaderReadsBothReadouts()
{
    Control_Panel->EditSeg->setText("10");
    PressKresli();
    MoveMouse(QPoint(250, 250));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(Draw2D);
    QAccessibleInterface* pen = FindAccessible(window, QStringLiteral("Poloha pera"));
    QAccessibleInterface* mouse = FindAccessible(window, QStringLiteral("Poloha myši"));
    QVERIFY(pen);
    QVERIFY(mouse);
    QCOMPARE(pen->object(), static_cast<QObject*>(&fixture.Pen()));
    QCOMPARE(pen->role(), QAccessible::Slider);
    QCOMPARE(mouse->role(), QAccessible::StaticText);
    const PenPoint& last = TheDocument().PenTrack().back();
    // Off, the texts are there all the same.
    QVERIFY(!fixture.Readout().On());
    QCOMPARE(pen->text(QAccessible::Description),
             QString::fromStdString(PenReadoutText(last.T, last.X, last.Y, ShownZero())));
    QCOMPARE(mouse->text(QAccessible::Description), QString("x = 0   y = 0"));
    QVERIFY(pen->valueInterface());
    QCOMPARE(pen->valueInterface()->currentValue().toInt(), 12);
    QCOMPARE(pen->valueInterface()->maximumValue().toInt(), 12);
    QVERIFY(pen->state().focusable);
}

QTEST_MAIN(TestReadoutScreen)
#include "test_readoutscreen.moc"
