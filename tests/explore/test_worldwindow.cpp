// SPDX-License-Identifier: GPL-3.0-or-later
// The windows a zoom and a pan move to, and the trial of a window on a
// scratch surface before the plot window is redrawn in it.
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>

#include <charconv>
#include "PlaneImages.h"
#include "RealText.h"
#include "PlotSurface.h"
#include "WorldWindow.h"

Q_DECLARE_METATYPE(WorldWindow)

namespace {

std::unique_ptr<PlotSurface> Scratch()
{
    auto surface = std::make_unique<PlotSurface>();
    surface->ResizePlane(500, 500);
    return surface;
}

// Both axes really drawn, as "Kresli" draws them: whether that passes.
bool AxesDraw(const WorldWindow& window)
{
    auto surface = Scratch();
    try {
        surface->SetWorld(window.X1, window.X2, window.Y1, window.Y2);
        surface->Canvas().SetPenWidth(1);
        surface->Canvas().SetFontHeight(10);
        surface->DrawAxisX(window.X1, window.X2, 0.0, 255, 0, 0);
        surface->DrawAxisY(window.Y1, window.Y2, 0.0, 255, 0, 0);
    } catch (const FloatFault&) {
        return false;
    }
    return true;
}

PlaneMapping MappingOf(const WorldWindow& window)
{
    auto surface = Scratch();
    surface->SetWorld(window.X1, window.X2, window.Y1, window.Y2);
    return surface->Mapping();
}

}  // namespace

class TestWorldWindow : public QObject {
    Q_OBJECT

private slots:
    void PixelCentreMapsBack_data();
    void PixelCentreMapsBack();
    void ZoomKeepsThePointUnderTheCursor_data();
    void ZoomKeepsThePointUnderTheCursor();
    void PanMovesTheGrabbedPointToTheCursor_data();
    void PanMovesTheGrabbedPointToTheCursor();
    void WrittenBoundsAreShortDecimals_data();
    void WrittenBoundsAreShortDecimals();
    void WindowsThatMap_data();
    void WindowsThatMap();
    void AxesFitWhereTheyDraw_data();
    void AxesFitWhereTheyDraw();
};

void TestWorldWindow::PixelCentreMapsBack_data()
{
    QTest::addColumn<WorldWindow>("window");
    QTest::addColumn<QPoint>("pixel");
    QTest::newRow("the circle's window, the centre") << WorldWindow{-4, 4, -4, 4} << QPoint(250, 250);
    QTest::newRow("a corner") << WorldWindow{-4, 4, -4, 4} << QPoint(0, 499);
    QTest::newRow("a reversed window") << WorldWindow{4, -4, -4, 4} << QPoint(17, 300);
    QTest::newRow("far from the origin") << WorldWindow{1e9, 1e9 + 1, -1e-3, 2e-3} << QPoint(123, 77);
    QTest::newRow("huge") << WorldWindow{-1e300, 1e300, 1e200, 3e200} << QPoint(499, 0);
}

void TestWorldWindow::PixelCentreMapsBack()
{
    QFETCH(WorldWindow, window);
    QFETCH(QPoint, pixel);
    const PlaneMapping mapping = MappingOf(window);
    const WorldPoint centre = PixelCentre(mapping, FromQPoint(pixel));
    QCOMPARE(mapping.ScreenX(centre.x), pixel.x());
    QCOMPARE(mapping.ScreenY(centre.y), pixel.y());
}

void TestWorldWindow::ZoomKeepsThePointUnderTheCursor_data()
{
    QTest::addColumn<WorldWindow>("window");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<double>("factor");
    QTest::newRow("in about the centre") << WorldWindow{-4, 4, -4, 4} << QPoint(250, 250) << 1.25;
    QTest::newRow("in about a corner") << WorldWindow{-4, 4, -4, 4} << QPoint(3, 491) << 1.25;
    QTest::newRow("out") << WorldWindow{-0.5, 10, -0.5, 10} << QPoint(400, 100) << 0.8;
    QTest::newRow("far in") << WorldWindow{-4, 4, -4, 4} << QPoint(312, 188) << 1e6;
    QTest::newRow("reversed") << WorldWindow{4, -4, 4, -4} << QPoint(100, 420) << 1.25;
}

void TestWorldWindow::ZoomKeepsThePointUnderTheCursor()
{
    QFETCH(WorldWindow, window);
    QFETCH(QPoint, pixel);
    QFETCH(double, factor);
    const WorldPoint at = PixelCentre(MappingOf(window), FromQPoint(pixel));
    const WorldWindow zoomed = ZoomedWindow(window, at, factor);
    // The window is factor times narrower (wider), in the same orientation,
    // but for the rounding of its bounds.
    const double width = window.X2 - window.X1, zoomedWidth = zoomed.X2 - zoomed.X1;
    QVERIFY(std::fabs(zoomedWidth * factor / width - 1) < 1e-9);
    QVERIFY(std::fabs((zoomed.Y2 - zoomed.Y1) * factor / (window.Y2 - window.Y1) - 1) < 1e-9);
    const PlaneMapping mapping = MappingOf(zoomed);
    QCOMPARE(mapping.ScreenX(at.x), pixel.x());
    QCOMPARE(mapping.ScreenY(at.y), pixel.y());
}

void TestWorldWindow::PanMovesTheGrabbedPointToTheCursor_data()
{
    QTest::addColumn<WorldWindow>("window");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("right and down") << WorldWindow{-4, 4, -4, 4} << QPoint(250, 250) << QPoint(330, 320);
    QTest::newRow("left and up") << WorldWindow{-0.5, 10, -0.5, 10} << QPoint(100, 400) << QPoint(7, 12);
    QTest::newRow("a whole plane") << WorldWindow{-4, 4, -4, 4} << QPoint(0, 0) << QPoint(499, 499);
    QTest::newRow("reversed") << WorldWindow{4, -4, 4, -4} << QPoint(10, 10) << QPoint(60, 110);
}

void TestWorldWindow::PanMovesTheGrabbedPointToTheCursor()
{
    QFETCH(WorldWindow, window);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    const WorldPoint grabbed = PixelCentre(MappingOf(window), FromQPoint(from));
    const WorldWindow panned = PannedWindow(window, PixelSize{500, 500}, FromQPoint(from), FromQPoint(to));
    const PlaneMapping mapping = MappingOf(panned);
    QCOMPARE(mapping.ScreenX(grabbed.x), to.x());
    QCOMPARE(mapping.ScreenY(grabbed.y), to.y());
    // The width stays.
    QVERIFY(std::fabs((panned.X2 - panned.X1) - (window.X2 - window.X1)) < 1e-12 * std::fabs(window.X2 - window.X1));
}

void TestWorldWindow::WrittenBoundsAreShortDecimals_data()
{
    QTest::addColumn<double>("x1");
    QTest::addColumn<double>("x2");
    QTest::addColumn<QString>("written1");
    QTest::addColumn<QString>("written2");
    // -4 .. 4 zoomed in a notch about a pixel off the centre.
    QTest::newRow("a zoom") << -1.0719999999999998 << 5.3280000000000003 << "-1.072" << "5.328";
    QTest::newRow("a pan") << -23.84185791015625 << -15.841857910156248 << "-23.842" << "-15.842";
    QTest::newRow("already short") << -4.0 << 4.0 << "-4" << "4";
    // So narrow that every digit counts.
    QTest::newRow("tiny") << 1.2345678912345678e-20 << 1.2345678912345681e-20
                          << "0.000000000000000000012345678912345678" << "0.000000000000000000012345678912345681";
    QTest::newRow("huge") << -3.0000000012345e30 << 2.999999998765e30 << "-3000000000000000000000000000000"
                          << "3000000000000000000000000000000";
}

// Each bound the shortest decimal within a tenth of a pixel (on 500 pixels)
// of the exact one: no decimal of fewer digits lies that near.
void TestWorldWindow::WrittenBoundsAreShortDecimals()
{
    QFETCH(double, x1);
    QFETCH(double, x2);
    QFETCH(QString, written1);
    QFETCH(QString, written2);
    const WorldWindow exact{x1, x2, -4.0, 4.0};
    const WorldWindow written = WrittenWindow(exact, PixelSize{500, 500});
    QCOMPARE(QString::fromStdString(FormulaText(written.X1)), written1);
    QCOMPARE(QString::fromStdString(FormulaText(written.X2)), written2);
    QCOMPARE(written.Y1, -4.0);
    QCOMPARE(written.Y2, 4.0);
    const long double tenth = std::fabs((long double)x2 - x1) / 5000;
    for (const auto& [bound, near] : {std::pair{x1, written.X1}, std::pair{x2, written.X2}}) {
        QVERIFY(std::fabs((long double)near - bound) <= tenth);
        // One digit fewer is too far.
        char digits[40];
        // The digits of the written bound: those of its shortest form.
        const auto mantissa = std::to_chars(digits, digits + sizeof digits, near, std::chars_format::scientific).ptr;
        int significant = 0;
        for (const char* c = digits; c != mantissa && *c != 'e'; ++c)
            significant += *c >= '0' && *c <= '9';
        if (significant > 1) {
            const auto end = std::to_chars(digits, digits + sizeof digits, bound, std::chars_format::scientific,
                                           int(significant) - 2).ptr;
            double shorter = 0.0;
            std::from_chars(digits, end, shorter);
            QVERIFY(std::fabs((long double)shorter - bound) > tenth);
        }
    }
}

void TestWorldWindow::WindowsThatMap_data()
{
    QTest::addColumn<WorldWindow>("window");
    QTest::addColumn<bool>("maps");
    const double one = 1.0;
    QTest::newRow("the circle's window") << WorldWindow{-4, 4, -4, 4} << true;
    QTest::newRow("reversed") << WorldWindow{4, -4, -4, 4} << true;
    QTest::newRow("equal x bounds") << WorldWindow{1, 1, -4, 4} << false;
    QTest::newRow("equal y bounds") << WorldWindow{-4, 4, 2, 2} << false;
    QTest::newRow("a scale beyond the doubles") << WorldWindow{0, 1e-308, -4, 4} << false;
    QTest::newRow("huge") << WorldWindow{-1e307, 1e307, -1e307, 1e307} << true;
    // At 1 the doubles are 2^-52 apart: 500 pixels need 500 of them.
    QTest::newRow("just one double per pixel") << WorldWindow{one, one + 500 * 0x1p-52, -4, 4} << true;
    QTest::newRow("fewer doubles than pixels") << WorldWindow{one, one + 499 * 0x1p-52, -4, 4} << false;
    QTest::newRow("fewer in y") << WorldWindow{-4, 4, -one - 100 * 0x1p-52, -one} << false;
    QTest::newRow("narrow near zero is fine") << WorldWindow{-1e-300, 1e-300, -4, 4} << true;
}

void TestWorldWindow::WindowsThatMap()
{
    QFETCH(WorldWindow, window);
    QFETCH(bool, maps);
    auto scratch = Scratch();
    QCOMPARE(MappingWorks(*scratch, window), maps);
}

void TestWorldWindow::AxesFitWhereTheyDraw_data()
{
    QTest::addColumn<WorldWindow>("window");
    QTest::addColumn<bool>("fit");
    QTest::newRow("the circle's window") << WorldWindow{-4, 4, -4, 4} << true;
    QTest::newRow("the origin off the plane") << WorldWindow{2, 7, 2, 7} << true;
    QTest::newRow("the x axis beyond 32 bits of rows") << WorldWindow{-4, 4, 1e9, 1e9 + 1} << false;
    QTest::newRow("the y axis beyond 32 bits of columns") << WorldWindow{1e9, 1e9 + 1, -4, 4} << false;
    QTest::newRow("just inside 32 bits") << WorldWindow{4e6, 4e6 + 1, -4, 4} << true;
    QTest::newRow("reversed") << WorldWindow{4, -4, -4, 4} << false;
    QTest::newRow("reversed in y") << WorldWindow{-4, 4, 4, -4} << false;
    QTest::newRow("two hundred thousand ticks") << WorldWindow{-1e35, 1e35, -4, 4} << true;
    QTest::newRow("more than a million ticks") << WorldWindow{-1e37, 1e37, -4, 4} << false;
    QTest::newRow("ticks beyond 32-bit indices") << WorldWindow{-4, 4, -3e39, 3e39} << false;
    QTest::newRow("a tiny window at the origin") << WorldWindow{-1e-300, 1e-300, -1e-300, 1e-300} << true;
    QTest::newRow("a narrow window off the origin") << WorldWindow{1e-3, 1e-3 + 1e-9, -4, 4} << true;
    QTest::newRow("a narrow window far off the origin") << WorldWindow{1, 1 + 1e-9, -4, 4} << false;
}

// The trial without painting a tick says what drawing them says.
void TestWorldWindow::AxesFitWhereTheyDraw()
{
    QFETCH(WorldWindow, window);
    QFETCH(bool, fit);
    QCOMPARE(AxesDraw(window), fit);
    auto scratch = Scratch();
    QCOMPARE(AxesFit(*scratch, window), fit);
}

QTEST_MAIN(TestWorldWindow)
#include "test_worldwindow.moc"
