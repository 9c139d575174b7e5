// SPDX-License-Identifier: GPL-3.0-or-later
// Dense screens: the scale factor is always whole, so each plane pixel is
// shown as a k x k block of its own colour. Run with QT_SCALE_FACTOR=1.5 (set
// by CTest); each row of the screen table runs this program again as a child
// on a screen of the given density with the given settings.
#include <QtTest>

#include <QProcess>
#include <QBackingStore>
#include <QTemporaryDir>

#include <cstdio>

#include "PanelFixture.h"
#include "PlaneImage.h"

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
            Draw2D->Plane().copy(visible).convertToFormat(QImage::Format_RGB32)};
}

// The child: starts as the program does, draws, and reports the factor and
// how many device pixels are off their blocks, painted and on screen.
int ReportScaleChild(int argc, char* argv[])
{
    UseWholeScaleFactors();
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
    std::printf("%g %d %d\n", ratio, PixelsOffTheBlocks(shown.Painted, shown.Plane, k),
                PixelsOffTheBlocks(shown.OnScreen, shown.Plane, k));
    fixture.Stop();
    return 0;
}

}  // namespace

class TestScaling : public QObject {
    Q_OBJECT
    PanelFixture Fixture;

private slots:
    void wholeScaleFactors_data()
    {
        QTest::addColumn<QByteArray>("setting");
        QTest::addColumn<QByteArray>("whole");
        QTest::newRow("one and a half rounds up") << QByteArray("1.5") << QByteArray("2");
        QTest::newRow("a quarter more rounds down") << QByteArray("1.25") << QByteArray("1");
        QTest::newRow("three quarters more rounds up") << QByteArray("1.75") << QByteArray("2");
        QTest::newRow("two and a half") << QByteArray("2.5") << QByteArray("3");
        QTest::newRow("whole stays") << QByteArray("2") << QByteArray("2");
        QTest::newRow("below one becomes one") << QByteArray("0.4") << QByteArray("1");
        QTest::newRow("spaces") << QByteArray(" 1.5 ") << QByteArray("2");
        QTest::newRow("per screen") << QByteArray("1.5;2.25") << QByteArray("2;2");
        QTest::newRow("per named screen") << QByteArray("HDMI-1=1.5;DP-1=1.25") << QByteArray("HDMI-1=2;DP-1=1");
        QTest::newRow("not a number kept") << QByteArray("big") << QByteArray("big");
        QTest::newRow("zero kept") << QByteArray("0") << QByteArray("0");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void wholeScaleFactors()
    {
        QFETCH(QByteArray, setting);
        QFETCH(QByteArray, whole);
        QCOMPARE(WholeScaleFactors(setting), whole);
    }

    // This process: QT_SCALE_FACTOR=1.5 became 2, and the plane is shown in
    // 2 x 2 blocks, painted and on screen.
    void planeInWholeBlocks()
    {
        Fixture.Start();
        QVERIFY(QTest::qWaitForWindowExposed(Draw2D));
        QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
        QCOMPARE(Draw2D->devicePixelRatioF(), 2.0);
        DrawDetail();
        QCoreApplication::processEvents();
        const ShownPlane shown = Show();
        QCOMPARE(shown.Painted.size(), shown.Plane.size() * 2);
        QCOMPARE(PixelsOffTheBlocks(shown.Painted, shown.Plane, 2), 0);
        QCOMPARE(PixelsOffTheBlocks(shown.OnScreen, shown.Plane, 2), 0);
        Fixture.Stop();
    }

    void screens_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<int>("factor");
        const QStringList none;
        QTest::newRow("96 dpi") << 96 << none << 1;
        QTest::newRow("120 dpi") << 120 << none << 1;
        QTest::newRow("144 dpi") << 144 << none << 2;
        QTest::newRow("168 dpi") << 168 << none << 2;
        QTest::newRow("240 dpi") << 240 << none << 3;
        QTest::newRow("144 dpi, smooth factors asked for")
            << 144 << QStringList{"QT_SCALE_FACTOR_ROUNDING_POLICY=PassThrough"} << 2;
        QTest::newRow("QT_SCALE_FACTOR=1.25") << 96 << QStringList{"QT_SCALE_FACTOR=1.25"} << 1;
        QTest::newRow("QT_SCALE_FACTOR=2.5") << 96 << QStringList{"QT_SCALE_FACTOR=2.5"} << 3;
        QTest::newRow("QT_SCREEN_SCALE_FACTORS=1.5") << 96 << QStringList{"QT_SCREEN_SCALE_FACTORS=1.5"} << 2;
        QTest::newRow("144 dpi and QT_SCALE_FACTOR=1.5") << 144 << QStringList{"QT_SCALE_FACTOR=1.5"} << 4;
    }

    // The program on a screen of `dpi` with the settings given: a whole factor,
    // and the plane in blocks of that size.
    void screens()
    {
        QFETCH(int, dpi);
        QFETCH(QStringList, environment);
        QFETCH(int, factor);

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString config = folder.filePath("screen.json");
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 3000,)"
                                  R"( "height": 3000, "logicalDpi": %1, "logicalBaseDpi": 96, "dpr": 1}]})")
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
        const QStringList report = QString::fromLatin1(child.readAllStandardOutput()).split(' ');
        QCOMPARE(report.size(), 3);
        QCOMPARE(report[0], QString::number(factor));
        QCOMPARE(report[1].trimmed(), QString("0"));  // painted
        QCOMPARE(report[2].trimmed(), QString("0"));  // on screen
    }
};

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], ReportScale) == 0)
        return ReportScaleChild(argc, argv);
    UseWholeScaleFactors();
    QApplication application(argc, argv);
    TestScaling test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_scaling.moc"
