// SPDX-License-Identifier: GPL-3.0-or-later
// The screen shows the plane: after each early end of "Kresli" with the axes
// on, what the screen shows where Image1 stands is the plane pixel for pixel,
// behind the error box, after the box closes, and after the window has been
// covered and exposed again.
//
// The screen is read with QScreen::grabWindow: headless, the offscreen
// platform's copy of the window as last painted; under X (scripts/check-x11.sh
// runs this test there too) the X server's screen itself. A grab of the
// widget would paint it afresh and could not see a stale screen.
#include <QtTest>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <functional>
#include <memory>

#include "../panel/PanelFixture.h"
#include "TracePause.h"
#include "PlaneImage.h"
#include "RecordingHost.h"

namespace {

const QRgb Prefill = qRgb(230, 230, 250);

// The part of Image1 that can be seen (the panel cuts off its last row and
// column), in Image1's and so in the plane's coordinates.
QRect VisiblePlane()
{
    return Draw2D->Image1->visibleRegion().boundingRect();
}

// The screen's pixels over the visible part of Image1.
QImage ShownPlane()
{
    const QRect visible = VisiblePlane();
    const QPoint global = Draw2D->Image1->mapToGlobal(visible.topLeft());
    QScreen* screen = Draw2D->screen();
    const QPoint onScreen = global - screen->geometry().topLeft();
    return screen->grabWindow(0, onScreen.x(), onScreen.y(), visible.width(), visible.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Pixels where the screen differs from the plane, leaving out what lies under
// `covered` (global coordinates), such as a box on top of the window. The
// first one is described in `where`.
int PixelsNotShown(const QRect& covered = QRect(), QString* where = nullptr)
{
    const QImage shown = ShownPlane();
    const QRect visible = VisiblePlane();
    const QImage plane = ToQImage(Draw2D->Plane()).copy(visible).convertToFormat(QImage::Format_RGB32);
    if (shown.size() != plane.size())
        return plane.width() * plane.height();
    const QPoint origin = Draw2D->Image1->mapToGlobal(visible.topLeft());
    int count = 0;
    for (int y = 0; y < plane.height(); ++y) {
        for (int x = 0; x < plane.width(); ++x) {
            if (covered.contains(origin + QPoint(x, y)) || shown.pixel(x, y) == plane.pixel(x, y))
                continue;
            if (count++ == 0 && where)
                *where = QStringLiteral("(%1, %2): shown %3, plane %4")
                             .arg(x).arg(y).arg(shown.pixel(x, y), 6, 16).arg(plane.pixel(x, y), 6, 16);
        }
    }
    return count;
}

// Waits (running the event loop, as the screen would) until the screen shows
// the plane, leaving out what lies under `onTop` if given; the pixels still
// wrong after 3 s. The frame of `onTop` is asked again each time, as a window
// manager reports it a little after the window shows.
int WaitUntilShown(const QWidget* onTop = nullptr, QString* where = nullptr)
{
    const auto covered = [onTop] {
        if (!onTop)
            return QRect();
        // The native window's frame is read afresh from the platform.
        return onTop->windowHandle() ? onTop->windowHandle()->frameGeometry() : onTop->frameGeometry();
    };
    QElapsedTimer clock;
    clock.start();
    int wrong = PixelsNotShown(covered(), where);
    while (wrong != 0 && clock.elapsed() < 3000) {
        QTest::qWait(20);
        wrong = PixelsNotShown(covered(), where);
    }
    return wrong;
}

// Covers the plot window with a window of another colour and takes it away,
// then hides and shows it: each time the window is exposed anew. (Headless,
// only the second reaches the plot window.)
void CoverAndExpose()
{
    QWidget cover(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                               Qt::WindowStaysOnTopHint);
    cover.setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette red = cover.palette();
    red.setColor(QPalette::Window, Qt::red);
    cover.setPalette(red);
    cover.setAutoFillBackground(true);
    cover.setGeometry(Draw2D->geometry());
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QTest::qWait(50);
    cover.hide();
    QTest::qWait(50);
    Draw2D->hide();
    QTest::qWait(50);
    Draw2D->show();
    QVERIFY(QTest::qWaitForWindowExposed(Draw2D));
}

}  // namespace

class TestPlaneShown : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;

private slots:
    void init()
    {
        fixture.Start();
        SetMessagePresenter(nullptr);  // the real modal box
        SetTracePause([] {});
        QVERIFY(QTest::qWaitForWindowExposed(Draw2D));
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        fixture.Stop();
    }

    void earlyEndShowsThePlane_data();
    void earlyEndShowsThePlane();
};

void TestPlaneShown::earlyEndShowsThePlane_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("axesDrawn");

    QTest::newRow("x fails to compile") << "EditEq1" << "3*cos(t" << "Chybny vyraz\nPole: x =" << true;
    QTest::newRow("y fails to compile") << "EditEq2" << "3*sin(t" << "Chybny vyraz\nPole: y =" << true;
    QTest::newRow("evaluation error at the first point")
        << "EditEq1" << "1/t" << QString::fromUtf8("Dělení nulou\nPole: x =") << true;
    QTest::newRow("segment count 0") << "EditSeg" << "0"
                                     << QString::fromUtf8("Floating point division by zero.\nPočet segmentů je 0.") << true;
    QTest::newRow("refused bound field")
        << "EditT2" << "pi pi" << QString::fromUtf8("Chybny vyraz\nPole: t, konec") << false;
}

void TestPlaneShown::earlyEndShowsThePlane()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(bool, axesDrawn);

    SetPanelTexts(StartTexts());
    Control_Panel->findChild<QLineEdit*>(field)->setText(text);
    QVERIFY(Control_Panel->CheckBox1->isChecked());
    // Drawn without a repaint, right before the press: the screen has to
    // catch up with this too.
    Draw2D->FillPlane(qRed(Prefill), qGreen(Prefill), qBlue(Prefill));

    QString boxText;
    int wrongBehindBox = -1;
    QString whereBehindBox;
    QTimer watch;
    watch.setInterval(10);
    connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !QTest::qWaitForWindowExposed(box))
            return;
        watch.stop();
        boxText = box->text();
        wrongBehindBox = WaitUntilShown(box, &whereBehindBox);
        QTest::keyClick(box, Qt::Key_Return);
    });
    watch.start();
    QTest::mouseClick(Control_Panel->Button1, Qt::LeftButton);
    watch.stop();

    QCOMPARE(boxText, message);
    QVERIFY(!TraceRunning());
    const int notPrefill = PixelsOtherThan(ToQImage(Draw2D->Plane()), qRed(Prefill), qGreen(Prefill), qBlue(Prefill));
    QCOMPARE(notPrefill > 0, axesDrawn);

    QVERIFY2(wrongBehindBox == 0, qPrintable(QStringLiteral("behind the box %1 wrong, first at %2")
                                                 .arg(wrongBehindBox).arg(whereBehindBox)));
    QString where;
    int wrong = WaitUntilShown(nullptr, &where);
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("after the box %1 wrong, first at %2").arg(wrong).arg(where)));
    CoverAndExpose();
    wrong = WaitUntilShown(nullptr, &where);
    QVERIFY2(wrong == 0, qPrintable(QStringLiteral("after an expose %1 wrong, first at %2").arg(wrong).arg(where)));
}

QTEST_MAIN(TestPlaneShown)
#include "test_planeshown.moc"
