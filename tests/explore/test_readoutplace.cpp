// SPDX-License-Identifier: GPL-3.0-or-later
// Where the readout's boxes stand: wholly on the plane on screen, never over
// the pen's ring or the point under the mouse, the mouse's clear of the
// pen's; a pen off the plane gets its box at the nearest edge with an arrow
// toward it. The text follows the desktop's general font. Run at the scale
// factor the environment asks for (ctest runs it at 1 and at 2).
#include <QtTest>

#include <QFontInfo>

#include <cmath>

#include "ExploreFixture.h"
#include "WorldWindow.h"

class TestReadoutPlace : public QObject {
    Q_OBJECT

private:
    SettingsAside settings;
    ExploreFixture fixture;
    QFont desktopFont;

    // A press of one point on plane pixel `pixel` (on or off the plane) of
    // the window -4 .. 4: the pen stands there.
    void PenTo(QPoint pixel)
    {
        const WorldPoint point = PixelCentre(TheDocument().Shown()->Mapping, PixelPoint{pixel.x(), pixel.y()});
        Control_Panel->EditEq1->setText(QString::fromStdString(FormulaText(point.x)));
        Control_Panel->EditEq2->setText(QString::fromStdString(FormulaText(point.y)));
        Control_Panel->EditSeg->setText("1");
        PressKresli();
    }

    // The label as painted, in device pixels.
    static QImage Painted(ReadoutLabel& label) { return label.grab().toImage(); }

private slots:
    void initTestCase()
    {
        QVERIFY(settings.Folder.isValid());
        desktopFont = QApplication::font();
    }
    void init()
    {
        UserSettings().setValue(QString::fromLatin1(ShowPositionSetting), true);
        fixture.Start();
        QCOMPARE(Draw2D->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        PressKresli();  // the window -4 .. 4
    }
    void cleanup()
    {
        QApplication::setFont(desktopFont);
        fixture.Stop();
    }

    void BoxesKeepClear_data();
    void BoxesKeepClear();
    void TextFollowsTheGeneralFont_data();
    void TextFollowsTheGeneralFont();
};

void TestReadoutPlace::BoxesKeepClear_data()
{
    QTest::addColumn<QPoint>("pen");  // a plane pixel; the plane on screen is 0 .. 498
    QTest::newRow("the middle") << QPoint(250, 250);
    QTest::newRow("top left corner") << QPoint(0, 0);
    QTest::newRow("top right corner") << QPoint(498, 0);
    QTest::newRow("bottom left corner") << QPoint(0, 498);
    QTest::newRow("bottom right corner") << QPoint(498, 498);
    QTest::newRow("top edge") << QPoint(250, 0);
    QTest::newRow("right edge") << QPoint(498, 250);
    QTest::newRow("off right") << QPoint(700, 250);
    QTest::newRow("off left") << QPoint(-300, 250);
    QTest::newRow("off above") << QPoint(250, -200);
    QTest::newRow("off below the hidden last row") << QPoint(30, 499);
    QTest::newRow("off above right") << QPoint(700, -300);
    QTest::newRow("off above left") << QPoint(-200, -200);
    QTest::newRow("off below right") << QPoint(900, 700);
    QTest::newRow("off below, far left") << QPoint(-100, 900);
    QTest::newRow("off right, by the top") << QPoint(700, 3);
    QTest::newRow("far off right") << QPoint(1000000000, 400);
}

// Each pen point with the mouse away, on the pen's box, and on the plane's
// middle (by the ring where the pen is on the plane).
void TestReadoutPlace::BoxesKeepClear()
{
    QFETCH(QPoint, pen);
    PenTo(pen);
    const QRect plane = VisiblePlane();
    ReadoutLabel& label = fixture.Pen();
    fixture.Readout().MouseAt(std::nullopt);
    const QRect alone = label.Box();
    const QPoint byRing = plane.contains(pen) ? pen + QPoint(12, -3) : plane.center();
    for (const QPoint& mouse : {QPoint(-1, -1), alone.center(), byRing}) {
        const bool away = !plane.contains(mouse);
        if (away)
            fixture.Readout().MouseAt(std::nullopt);
        else
            MoveMouse(mouse);
        const QString where = QStringLiteral("mouse at (%1, %2)").arg(mouse.x()).arg(mouse.y());
        const QRect box = label.Box();
        const QPolygon arrow = label.Arrow();
        QVERIFY2(plane.contains(box) && (arrow.isEmpty() || plane.contains(arrow.boundingRect())), qPrintable(where));
        QVERIFY2(!box.intersects(label.Ring()), qPrintable(where));
        if (!away) {
            const QRect other = fixture.Mouse().Box();
            QVERIFY2(!box.contains(mouse) && !arrow.containsPoint(mouse, Qt::OddEvenFill), qPrintable(where));
            QVERIFY2(plane.contains(other) && !other.contains(mouse), qPrintable(where));
            for (const QRect& pens : {box, arrow.boundingRect(), label.Ring()})
                QVERIFY2(!other.intersects(pens), qPrintable(where));
        }
        if (plane.contains(pen)) {
            QCOMPARE(label.At(), std::optional<QPoint>(pen));
            QVERIFY(label.Ring().contains(pen));
            QVERIFY(arrow.isEmpty());
            continue;
        }
        // Off the plane: no ring, an arrow from the box toward the pen,
        // painted in the label's colour a third of the way in from its tip.
        QVERIFY(!label.At() && label.Ring().isEmpty());
        QCOMPARE(arrow.size(), 3);
        const QPointF tip = arrow[0], base = (QPointF(arrow[1]) + QPointF(arrow[2])) / 2;
        const QPointF way = tip - base, toPen = QPointF(pen) - base;
        QVERIFY2(QPointF::dotProduct(way, toPen) > std::cos(qDegreesToRadians(30.0)) * std::hypot(way.x(), way.y()) *
                                                      std::hypot(toPen.x(), toPen.y()),
                 qPrintable(where));
        QVERIFY2(!box.contains(tip.toPoint()), qPrintable(where));
        const QImage painted = Painted(label);
        const QPointF inArrow = (tip * 2 + base) / 3 * painted.devicePixelRatio();
        QCOMPARE(painted.pixelColor(inArrow.toPoint()), QColor(255, 255, 224));
        if (away) {
            // At the edge (or corner) nearest to the pen, an arrow's length in.
            const int reach = QFontMetrics(label.font()).height() + 1;
            QVERIFY(pen.x() <= plane.right() || plane.right() - box.right() <= reach);
            QVERIFY(pen.x() >= plane.left() || box.left() - plane.left() <= reach);
            QVERIFY(pen.y() <= plane.bottom() || plane.bottom() - box.bottom() <= reach);
            QVERIFY(pen.y() >= plane.top() || box.top() - plane.top() <= reach);
        }
    }
}

void TestReadoutPlace::TextFollowsTheGeneralFont_data()
{
    QTest::addColumn<int>("pixels");  // the general font's size
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("lines");
    QTest::newRow("smaller than the readout's own stays 12") << 8 << 12 << 1;
    QTest::newRow("a projector's 20 pixels") << 20 << 20 << 1;
    QTest::newRow("40 pixels: a value a line") << 40 << 40 << 3;
}

void TestReadoutPlace::TextFollowsTheGeneralFont()
{
    QFETCH(int, pixels);
    QFETCH(int, expected);
    QFETCH(int, lines);
    QFont general = desktopFont;
    general.setPixelSize(pixels);
    QApplication::setFont(general);
    QCoreApplication::processEvents();  // the windows hear of it
    PenTo(QPoint(100, 400));
    ReadoutLabel& label = fixture.Pen();
    QCOMPARE(QFontInfo(label.font()).pixelSize(), expected);
    QCOMPARE(label.font().family(), general.family());
    const QRect box = label.Box();
    QVERIFY(VisiblePlane().contains(box));
    QVERIFY2(box.height() >= lines * expected && box.height() < (lines + 1) * expected,
             qPrintable(QString::number(box.height())));
    // On screen the text is scaled by the window's factor with the plane:
    // its dark rows, in device pixels.
    const qreal k = Draw2D->devicePixelRatio();
    const QImage shown = label.grab(box).toImage();
    int inkRows = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (qGray(shown.pixel(x, y)) < 64) {
                ++inkRows;
                break;
            }
        }
    }
    QVERIFY2(inkRows >= lines * 0.6 * expected * k, qPrintable(QString::number(inkRows)));
}

QTEST_MAIN(TestReadoutPlace)
#include "test_readoutplace.moc"
