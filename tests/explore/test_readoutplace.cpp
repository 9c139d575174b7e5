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
#include "ReadoutText.h"
#include "WorldWindow.h"

namespace {

const QColor LabelBackground(255, 255, 224);

// What the label paints, in device pixels, and the colour at a point of it.
QColor PaintedAt(ReadoutLabel& label, QPoint at)
{
    const QImage painted = label.grab().toImage();
    const qreal k = painted.devicePixelRatio();
    return painted.pixelColor(QPoint(qFloor((at.x() + 0.5) * k), qFloor((at.y() + 0.5) * k)));
}

// How many device pixel rows of the box hold dark text.
int InkRows(ReadoutLabel& label)
{
    const QImage painted = label.grab(label.Box()).toImage();
    int rows = 0;
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            if (qGray(painted.pixel(x, y)) < 64) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

double Cosine(QPointF a, QPointF b)
{
    return QPointF::dotProduct(a, b) / (std::hypot(a.x(), a.y()) * std::hypot(b.x(), b.y()));
}

}  // namespace

class TestReadoutPlace : public QObject {
    Q_OBJECT

private:
    SettingsAside settings;
    ExploreFixture fixture;
    QFont desktopFont;

    // The pen's point put on plane pixel `pixel` (on or off the plane) of
    // the window -4 .. 4: a press of one point there.
    void PenTo(QPoint pixel)
    {
        const PlaneMapping mapping = TheDocument().Shown()->Mapping;
        const WorldPoint point = PixelCentre(mapping, PixelPoint{pixel.x(), pixel.y()});
        Control_Panel->EditEq1->setText(QString::fromStdString(FormulaText(point.x)));
        Control_Panel->EditEq2->setText(QString::fromStdString(FormulaText(point.y)));
        Control_Panel->EditSeg->setText("1");
        Control_Panel->CheckBox1->setChecked(false);
        PressKresli();
    }

    void CheckMouseBox(QPoint mouse)
    {
        const QRect plane = VisiblePlane(), box = fixture.Mouse().Box();
        QVERIFY(!box.isEmpty());
        QVERIFY2(plane.contains(box), qPrintable(QStringLiteral("mouse at (%1, %2)").arg(mouse.x()).arg(mouse.y())));
        QVERIFY(!box.contains(mouse));
        QVERIFY(!box.intersects(fixture.Pen().Box()));
        QVERIFY(!box.intersects(fixture.Pen().Arrow().boundingRect()));
        QVERIFY(!box.intersects(fixture.Pen().Ring()));
    }

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
        // The scale factor asked for is the one the window has.
        QCOMPARE(Draw2D->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        PressKresli();  // the window -4 .. 4
        QVERIFY(fixture.Readout().On());
    }
    void cleanup()
    {
        QApplication::setFont(desktopFont);
        fixture.Stop();
    }

    void PenBoxKeepsClear_data();
    void PenBoxKeepsClear();
    void TextFollowsTheGeneralFont_data();
    void TextFollowsTheGeneralFont();
};

void TestReadoutPlace::PenBoxKeepsClear_data()
{
    QTest::addColumn<QPoint>("pen");  // a plane pixel; the plane on screen is 0 .. 498
    QTest::newRow("the middle") << QPoint(250, 250);
    QTest::newRow("top left corner") << QPoint(0, 0);
    QTest::newRow("top right corner") << QPoint(498, 0);
    QTest::newRow("bottom left corner") << QPoint(0, 498);
    QTest::newRow("bottom right corner") << QPoint(498, 498);
    QTest::newRow("top edge") << QPoint(250, 0);
    QTest::newRow("bottom edge") << QPoint(250, 498);
    QTest::newRow("left edge") << QPoint(0, 250);
    QTest::newRow("right edge") << QPoint(498, 250);
    QTest::newRow("by the top right corner") << QPoint(480, 15);
    QTest::newRow("off to the right") << QPoint(700, 250);
    QTest::newRow("off to the left") << QPoint(-300, 250);
    QTest::newRow("off above") << QPoint(250, -200);
    QTest::newRow("off below") << QPoint(250, 800);
    QTest::newRow("off above right") << QPoint(700, -300);
    QTest::newRow("off above left") << QPoint(-200, -200);
    QTest::newRow("off below right") << QPoint(900, 700);
    QTest::newRow("off below, far left") << QPoint(-100, 900);
    QTest::newRow("off to the right, by the top") << QPoint(700, 3);
    QTest::newRow("off below the hidden last row") << QPoint(30, 499);
    QTest::newRow("far off to the right") << QPoint(1000000000, 400);
}

// For each pen point, with the mouse away, then on the pen's box, then by
// the ring.
void TestReadoutPlace::PenBoxKeepsClear()
{
    QFETCH(QPoint, pen);
    PenTo(pen);
    QCOMPARE(fixture.Pen().StepNumber(), fixture.Pen().StepCount());  // on the last point
    const QRect plane = VisiblePlane();
    const bool onPlane = plane.contains(pen);
    const int arrowLength = QFontMetrics(fixture.Pen().font()).height();

    fixture.Readout().MouseAt(std::nullopt);
    const QRect alone = fixture.Pen().Box();
    const QList<QPoint> mice{QPoint(-1, -1), alone.center(), alone.topLeft() + QPoint(2, 2),
                             onPlane ? pen + QPoint(12, -3) : plane.center()};
    for (const QPoint& mouse : mice) {
        const bool away = !plane.contains(mouse);
        if (away)
            fixture.Readout().MouseAt(std::nullopt);
        else
            MoveMouse(mouse);
        const QString where = QStringLiteral("mouse at (%1, %2)").arg(mouse.x()).arg(mouse.y());
        ReadoutLabel& label = fixture.Pen();
        const QRect box = label.Box();
        const QPolygon arrow = label.Arrow();
        QVERIFY2(plane.contains(box), qPrintable(where));
        QVERIFY2(plane.contains(arrow.boundingRect()) || arrow.isEmpty(), qPrintable(where));
        if (!away) {
            QVERIFY2(!box.contains(mouse), qPrintable(where));
            QVERIFY2(!arrow.containsPoint(mouse, Qt::OddEvenFill), qPrintable(where));
            CheckMouseBox(mouse);
        }
        QCOMPARE(PaintedAt(label, box.topLeft() + QPoint(2, 2)), LabelBackground);
        if (onPlane) {
            QCOMPARE(label.At(), std::optional<QPoint>(pen));
            QVERIFY(label.Ring().contains(pen));
            QVERIFY2(!box.intersects(label.Ring()), qPrintable(where));
            QVERIFY(arrow.isEmpty());
            continue;
        }
        // Off the plane: no ring; an arrow from the box toward the pen.
        QVERIFY(!label.At());
        QVERIFY(label.Ring().isEmpty());
        QCOMPARE(arrow.size(), 3);
        const QPointF tip = arrow[0], base = (QPointF(arrow[1]) + QPointF(arrow[2])) / 2;
        QVERIFY2(Cosine(tip - base, QPointF(pen) - base) > std::cos(qDegreesToRadians(30.0)), qPrintable(where));
        QVERIFY2(!box.contains(tip.toPoint()), qPrintable(where));
        // Drawn in the label's colours, a third of the way in from its tip.
        QCOMPARE(PaintedAt(label, (tip * 2 / 3 + base / 3).toPoint()), LabelBackground);
        if (away) {
            // At the edge (or corner) nearest to the pen.
            const int reach = arrowLength + 1;
            if (pen.x() > plane.right())
                QVERIFY(plane.right() - box.right() <= reach);
            if (pen.x() < plane.left())
                QVERIFY(box.left() - plane.left() <= reach);
            if (pen.y() > plane.bottom())
                QVERIFY(plane.bottom() - box.bottom() <= reach);
            if (pen.y() < plane.top())
                QVERIFY(box.top() - plane.top() <= reach);
        }
    }
}

void TestReadoutPlace::TextFollowsTheGeneralFont_data()
{
    QTest::addColumn<int>("pixels");  // the general font's size
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("lines");
    QTest::newRow("smaller than the readout's own stays 12") << 8 << 12 << 1;
    QTest::newRow("12 pixels") << 12 << 12 << 1;
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
    // The whole line where it fits across the plane, else a value a line.
    QVERIFY2(box.height() >= lines * expected && box.height() < (lines + 1) * expected, qPrintable(QString::number(box.height())));
    // On screen the text is scaled by the window's factor with the plane.
    const qreal k = Draw2D->devicePixelRatio();
    QVERIFY2(InkRows(label) >= lines * 0.6 * expected * k, qPrintable(QString::number(InkRows(label))));
}

QTEST_MAIN(TestReadoutPlace)
#include "test_readoutplace.moc"
