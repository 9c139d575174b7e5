// SPDX-License-Identifier: GPL-3.0-or-later
// Dense screens: the scale factor is always whole, so each plane pixel is
// shown as a k x k block of its own colour, and the largest one, up to the
// factor asked for rounded up, at which both windows fit the screen. Each row
// of the screen table runs this program again as a child on a screen of the
// given size and density with the given settings.
#include <QtTest>

#include <QProcess>
#include <QBackingStore>
#include <QTemporaryDir>

#include <cstdio>

#include "PanelFixture.h"
#include "PlaneImage.h"
#include "ScreenScale.h"

namespace {

const char* const ReportScale = "--report-scale";

// Device pixels of `shown` that differ from the plane pixel they stand for,
// when each plane pixel is to cover k x k of them; -1 if the sizes do not fit.
int PixelsOffTheBlocks(const QImage& shown, const QImage& plane, int k)
{
    if (k < 1 || shown.width() % k != 0 || shown.height() % k != 0 || shown.width() / k > plane.width() ||
        shown.height() / k > plane.height())
        return -1;
    const QImage device = shown.convertToFormat(QImage::Format_RGB32);
    int off = 0;
    for (int y = 0; y < device.height(); ++y) {
        for (int x = 0; x < device.width(); ++x)
            off += device.pixel(x, y) != plane.pixel(x / k, y / k);
    }
    return off;
}

// Axes with their digits and a curve: fine detail in which any blending or
// uneven doubling would show.
void DrawDetail()
{
    Draw2D->FillPlane(255, 255, 255);
    Draw2D->SetWorld(-4, 4, -4, 4);
    Draw2D->Canvas().SetPenWidth(1);
    Draw2D->Canvas().SetFontHeight(10);
    Draw2D->DrawAxisX(-4, 4, 0, 255, 0, 0);
    Draw2D->DrawAxisY(-4, 4, 0, 255, 0, 0);
    for (int i = 0; i < 60; ++i) {
        const double a = i * 0.11, b = (i + 1) * 0.11;
        Draw2D->DrawLine({3 * std::cos(a), 3 * std::sin(2 * a), 0}, {3 * std::cos(b), 3 * std::sin(2 * b), 0}, 0, 0,
                         200);
    }
    Draw2D->RepaintPlane();
}

// The visible part of Image1 as the widget paints it and as the plot window
// hands it to the screen (its backing store), with the plane cut to the same
// part.
struct ShownPlane {
    QImage Painted;
    QImage OnScreen;
    QImage Plane;
};

ShownPlane Show()
{
    TPlaneImage* image = Draw2D->Image1;
    const QRect visible = image->visibleRegion().boundingRect();
    QImage onScreen;
    QPaintDevice* store = Draw2D->backingStore() ? Draw2D->backingStore()->paintDevice() : nullptr;
    if (store && store->devType() == QInternal::Image) {
        const QImage& window = *static_cast<QImage*>(store);
        const qreal k = window.devicePixelRatio();
        const QRect area(image->mapTo(Draw2D, visible.topLeft()) * k, visible.size() * k);
        onScreen = window.copy(area);
    }
    return {image->grab(visible).toImage(), onScreen,
            ToQImage(Draw2D->Plane()).copy(visible).convertToFormat(QImage::Format_RGB32)};
}

// The child: starts as the program does, draws, and reports the factor, how
// many device pixels are off their blocks (painted, on screen), and the
// right and bottom edges of both windows' frames in the screen's pixels.
int ReportScaleChild(int argc, char* argv[])
{
    UseFittingScaleFactors(argc, argv);
    QApplication application(argc, argv);
    PanelFixture fixture;
    fixture.Start();
    if (!QTest::qWaitForWindowExposed(Draw2D))
        return 2;
    DrawDetail();
    QCoreApplication::processEvents();
    const ShownPlane shown = Show();
    const qreal ratio = Draw2D->devicePixelRatioF();
    const int k = qRound(ratio);
    const QRect frames = Control_Panel->frameGeometry() | Draw2D->frameGeometry();
    std::printf("%g %d %d %d %d\n", ratio, PixelsOffTheBlocks(shown.Painted, shown.Plane, k),
                PixelsOffTheBlocks(shown.OnScreen, shown.Plane, k), qRound((frames.right() + 1) * ratio),
                qRound((frames.bottom() + 1) * ratio));
    fixture.Stop();
    return 0;
}

}  // namespace

class TestScaling : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

private slots:
    void fittingScaleFactor_data()
    {
        QTest::addColumn<double>("requested");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<int>("factor");
        // Both windows span 872 x 567 from the screen's corner at 1.
        QTest::newRow("1280 x 1024 at 1.5") << 1.5 << QRect(0, 0, 1280, 1024) << 1;
        QTest::newRow("1280 x 1024 at 2") << 2.0 << QRect(0, 0, 1280, 1024) << 1;
        QTest::newRow("1920 x 1080 at 1.5: 1118 rows do not fit") << 1.5 << QRect(0, 0, 1920, 1080) << 1;
        QTest::newRow("1920 x 1080 at 2") << 2.0 << QRect(0, 0, 1920, 1080) << 1;
        QTest::newRow("2560 x 1600 at 1.5") << 1.5 << QRect(0, 0, 2560, 1600) << 2;
        QTest::newRow("2560 x 1600 at 2") << 2.0 << QRect(0, 0, 2560, 1600) << 2;
        QTest::newRow("2560 x 1600 at 3 is 2") << 3.0 << QRect(0, 0, 2560, 1600) << 2;
        QTest::newRow("3840 x 2160 at 2.5") << 2.5 << QRect(0, 0, 3840, 2160) << 3;
        QTest::newRow("3840 x 2160 at 4 is 3") << 4.0 << QRect(0, 0, 3840, 2160) << 3;
        QTest::newRow("a quarter more rounds up") << 1.25 << QRect(0, 0, 3000, 3000) << 2;
        QTest::newRow("whole stays") << 2.0 << QRect(0, 0, 3000, 3000) << 2;
        QTest::newRow("a hair over one is one") << 1.0000001 << QRect(0, 0, 3000, 3000) << 1;
        QTest::newRow("one") << 1.0 << QRect(0, 0, 3000, 3000) << 1;
        QTest::newRow("below one is one") << 0.5 << QRect(0, 0, 3000, 3000) << 1;
        QTest::newRow("zero is one") << 0.0 << QRect(0, 0, 3000, 3000) << 1;
        QTest::newRow("not a number is one") << std::nan("") << QRect(0, 0, 3000, 3000) << 1;
        QTest::newRow("absurdly large") << 1e6 << QRect(0, 0, 3000, 3000) << 3;
        QTest::newRow("too small even at 1") << 2.0 << QRect(0, 0, 800, 600) << 1;
        QTest::newRow("exactly fits at 2") << 2.0 << QRect(0, 0, 1744, 1134) << 2;
        QTest::newRow("one row short at 2") << 2.0 << QRect(0, 0, 1744, 1133) << 1;
        QTest::newRow("one column short at 2") << 2.0 << QRect(0, 0, 1743, 1134) << 1;
        // A panel at the top moves the windows down; a dock at the bottom
        // takes rows from them.
        QTest::newRow("1920 x 1200, top bar of 40") << 2.0 << QRect(0, 40, 1920, 1160) << 2;
        QTest::newRow("1920 x 1200, dock of 100 below") << 2.0 << QRect(0, 0, 1920, 1100) << 1;
    }

    void fittingScaleFactor()
    {
        QFETCH(double, requested);
        QFETCH(QRect, available);
        QFETCH(int, factor);
        QCOMPARE(FittingScaleFactor(requested, available, LaidOutFrames()), factor);
    }

    // The frames the rule uses are where the windows are.
    void laidOutFramesAreTheWindows()
    {
        Fixture.Start();
        QCOMPARE(LaidOutFrames(), QList<QRect>({Control_Panel->frameGeometry(), Draw2D->frameGeometry()}));
        Fixture.Stop();
    }

    void screens_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<int>("factor");
        const QStringList none;
        const QSize large(3000, 3000);
        QTest::newRow("96 dpi") << large << 96 << none << 1;
        QTest::newRow("120 dpi") << large << 120 << none << 2;
        QTest::newRow("144 dpi") << large << 144 << none << 2;
        QTest::newRow("168 dpi") << large << 168 << none << 2;
        QTest::newRow("240 dpi") << large << 240 << none << 3;
        QTest::newRow("144 dpi, smooth factors asked for")
            << large << 144 << QStringList{"QT_SCALE_FACTOR_ROUNDING_POLICY=PassThrough"} << 2;
        QTest::newRow("144 dpi, rounding down asked for")
            << large << 144 << QStringList{"QT_SCALE_FACTOR_ROUNDING_POLICY=Floor"} << 2;
        QTest::newRow("QT_SCALE_FACTOR=1.25") << large << 96 << QStringList{"QT_SCALE_FACTOR=1.25"} << 2;
        QTest::newRow("QT_SCALE_FACTOR=2.5") << large << 96 << QStringList{"QT_SCALE_FACTOR=2.5"} << 3;
        QTest::newRow("QT_SCREEN_SCALE_FACTORS=1.5") << large << 96 << QStringList{"QT_SCREEN_SCALE_FACTORS=1.5"}
                                                     << 2;
        QTest::newRow("144 dpi and QT_SCALE_FACTOR=1.5") << large << 144 << QStringList{"QT_SCALE_FACTOR=1.5"} << 3;
        for (const QSize screen : {QSize(1280, 1024), QSize(1920, 1080), QSize(2560, 1600)}) {
            for (const char* asked : {"1.5", "2"}) {
                QTest::addRow("%d x %d, QT_SCALE_FACTOR=%s", screen.width(), screen.height(), asked)
                    << screen << 96 << QStringList{QString("QT_SCALE_FACTOR=") + asked}
                    << (screen.height() >= 1134 ? 2 : 1);
            }
        }
        QTest::newRow("1920 x 1080 at 144 dpi") << QSize(1920, 1080) << 144 << none << 1;
        QTest::newRow("2560 x 1600 at 144 dpi") << QSize(2560, 1600) << 144 << none << 2;
    }

    // The program on a screen of `size` and `dpi` with the settings given: a
    // whole factor, the plane in blocks of that size, both windows on screen.
    void screens()
    {
        QFETCH(QSize, size);
        QFETCH(int, dpi);
        QFETCH(QStringList, environment);
        QFETCH(int, factor);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString config = folder.filePath("screen.json");
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1,)"
                                  R"( "height": %2, "logicalDpi": %3, "logicalBaseDpi": 96, "dpr": 1}]})")
                       .arg(size.width())
                       .arg(size.height())
                       .arg(dpi)
                       .toUtf8());
        file.close();

        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_SCALE_FACTOR_ROUNDING_POLICY"})
            variables.remove(QString::fromLatin1(name));
        variables.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
        for (const QString& setting : environment)
            variables.insert(setting.section('=', 0, 0), setting.section('=', 1));
        QProcess child;
        child.setProcessEnvironment(variables);
        child.start(QCoreApplication::applicationFilePath(), {ReportScale});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        const QStringList report = QString::fromLatin1(child.readAllStandardOutput()).trimmed().split(' ');
        QCOMPARE(report.size(), 5);
        QCOMPARE(report[0], QString::number(factor));
        QCOMPARE(report[1], QString("0"));  // painted
        QCOMPARE(report[2], QString("0"));  // on screen
        if (factor > 1) {  // at 1 the windows are as laid out, whatever the screen
            QVERIFY2(report[3].toInt() <= size.width(), qPrintable(report[3]));
            QVERIFY2(report[4].toInt() <= size.height(), qPrintable(report[4]));
        }
    }
};

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], ReportScale) == 0)
        return ReportScaleChild(argc, argv);
    QApplication application(argc, argv);
    TestScaling test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_scaling.moc"
