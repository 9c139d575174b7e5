// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window, built offscreen: its layout and the plane it shows.
#include <QFrame>

#include "Draw2D.h"
#include "PlaneImage.h"
#include "SurfaceTestSupport.h"

class TestDraw2D : public QObject {
    Q_OBJECT

private slots:
    void layout()
    {
        TDraw2D window;
        QCOMPARE(window.windowTitle(), QStringLiteral("2D Graphic Plane"));
        QVERIFY(window.isVisible());
        QCOMPARE(window.frameGeometry().topLeft(), QPoint(327, 6));
        QCOMPARE(window.frameGeometry().size(), QSize(545, 560));
        QCOMPARE(window.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(window.font().pixelSize(), 10);
        QCOMPARE(window.font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(window.Panel1->parentWidget(), &window);
        QCOMPARE(window.Panel1->geometry(), QRect(0, 0, 500, 500));
        QCOMPARE(window.Panel1->frameShape(), QFrame::Panel);
        QCOMPARE(window.Panel1->frameShadow(), QFrame::Raised);
        QCOMPARE(window.Panel1->lineWidth(), 1);
        QCOMPARE(window.Image1->parentWidget(), window.Panel1);
        QCOMPARE(window.Image1->geometry(), QRect(1, 1, 498, 498));
        QCOMPARE(window.Image1->objectName(), QStringLiteral("Image1"));
        QVERIFY(ToQImage(window.Plane()).isNull());  // no bitmap until the plane is sized
    }

    void setPlaneSize_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("start-up 500 x 500") << 500 << 500;
        QTest::newRow("oblong") << 320 << 200;
    }

    void setPlaneSize()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        TDraw2D window;
        window.hide();
        window.SetPlaneSize(width, height);
        QCOMPARE(ToQImage(window.Plane()).size(), QSize(width, height));
        QCOMPARE(ToQImage(window.Plane()).format(), QImage::Format_RGB888);
        QCOMPARE(window.Panel1->geometry(), QRect(0, 0, width, height));
        // One pixel in: the last column and row fall outside the panel.
        QCOMPARE(window.Image1->geometry(), QRect(1, 1, width, height));
        QVERIFY(window.isVisible());
        // The mapping works on the new size.
        window.SetWorld(-4, 4, -4, 4);
        QCOMPARE(window.ScaleX, width / 8.0);
        QCOMPARE(window.ScaleY, height / 8.0);
    }

    void showsThePlaneUnscaled()
    {
        TDraw2D window;
        window.SetPlaneSize(500, 500);
        window.FillPlane(255, 255, 255);
        window.SetWorld(-4, 4, -4, 4);
        window.DrawLine({-4, 0, 0}, {4, 0, 0}, 0, 0, 200);
        window.Canvas().SetPenColor(ColorValue(255, 0, 0));
        window.Canvas().MoveTo(10, 20);
        window.Canvas().LineTo(11, 20);
        window.RepaintPlane();
        const QImage shown = window.Image1->grab().toImage();
        QCOMPARE(shown.size(), QSize(500, 500));
        QCOMPARE(shown.pixelColor(10, 20), QColor(255, 0, 0));
        QCOMPARE(shown.pixelColor(11, 20), QColor(Qt::white));
        QCOMPARE(shown.pixelColor(0, 250), QColor(0, 0, 200));
        QCOMPARE(shown.pixelColor(499, 250), QColor(0, 0, 200));
        QCOMPARE(shown.pixelColor(499, 251), QColor(Qt::white));
    }

    void plotStateStartsAtZero()
    {
        TDraw2D window;
        QCOMPARE(window.VarT, 0.0);
        QCOMPARE(window.ScaleX, 0.0);
        QCOMPARE(window.CurveB, std::uint8_t(0));
        QVERIFY(window.ErrorText.empty());
        PlotSurface* surface = &window;
        surface->RepaintPlane();  // dispatches to the window, with no plane yet
    }

    void globalStartsEmpty() { QCOMPARE(Draw2D, nullptr); }
};

QTEST_MAIN(TestDraw2D)
#include "test_draw2d.moc"
