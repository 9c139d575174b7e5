// SPDX-License-Identifier: GPL-3.0-or-later
// The plane as SVG and PDF and on a printer: rendered again (QtSvg, poppler's
// pdftoppm) and compared with the bitmap: the curve within a pixel of the
// bitmap's curve, the tick marks at the bitmap's tick columns and rows.
#include <QtTest>

#include <QBuffer>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>

#include "ExportTestSupport.h"
#include "PictureWriter.h"
#include "PrintPlane.h"
#include "VectorCheck.h"

namespace {

QByteArray Written(PictureFormat format, const PlotSurface& surface)
{
    PictureSource source;
    source.Plane = &surface.Plane();
    source.Record = &surface.Record();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const QString message = WritePicture(format, source, buffer);
    if (!message.isEmpty())
        qWarning() << message;
    return message.isEmpty() ? buffer.data() : QByteArray();
}

}  // namespace

class TestVectorWriters : public QObject {
    Q_OBJECT

private slots:
    void SvgCurveFollowsBitmap_data();
    void SvgCurveFollowsBitmap();
    void SvgTicksAtBitmapTicks_data();
    void SvgTicksAtBitmapTicks();
    void DenseAxisStaysSmall();
    void PdfOnePageWithCurve();
    void PrintScaledAtTheTop_data();
    void PrintScaledAtTheTop();
    void FormatsByName_data();
    void FormatsByName();
    void FailuresReported_data();
    void FailuresReported();
};

void TestVectorWriters::SvgCurveFollowsBitmap_data()
{
    QTest::addColumn<TraceTexts>("texts");
    QTest::addColumn<bool>("dashed");
    QTest::addColumn<TraceTexts>("overlay");  // a second press, when its x formula is not empty

    const TraceTexts none{};
    QTest::newRow("inputs at start") << StartTexts() << false << none;
    QTest::newRow("planet orbit dashed") << PresetTexts(Preset("draha-planety"), "100") << true << none;
    QTest::newRow("folium to t = -1") << PresetTexts(Preset("descartuv-list"), "40") << false << none;
    QTest::newRow("circle under the oblique throw")
        << StartTexts() << false << PresetTexts(Preset("sikmy-vrh"), "100");
    QTest::newRow("1731 segments") << TraceTexts{"3*cos(t)", "3*sin(t)", "-4", "4", "-4", "4", "0", "2*pi", "1731"}
                                   << false << none;
}

void TestVectorWriters::SvgCurveFollowsBitmap()
{
    QFETCH(TraceTexts, texts);
    QFETCH(bool, dashed);
    QFETCH(TraceTexts, overlay);

    auto surface = FreshSurface();
    RecordTrace(*surface, texts, dashed);
    if (!overlay.EquationX.empty())
        RecordTrace(*surface, overlay, false);
    const QByteArray svg = Written(PictureFormat::Svg, *surface);
    QVERIFY(svg.startsWith("<?xml"));
    const QImage rendered = RenderSvg(svg);
    const CurveMatch match = MatchCurve(ToQImage(surface->Plane()), rendered);
    QVERIFY(match.Bitmap > 100);
    QCOMPARE(match.RenderedStray, 0);
    QCOMPARE(match.BitmapMissed, 0);
    QVERIFY(match.Rendered >= match.Bitmap / 2);
}

void TestVectorWriters::SvgTicksAtBitmapTicks_data()
{
    QTest::addColumn<double>("lo");
    QTest::addColumn<double>("hi");

    QTest::newRow("-4 .. 4") << -4.0 << 4.0;
    QTest::newRow("-0.5 .. 10") << -0.5 << 10.0;
    QTest::newRow("-1 .. 1") << -1.0 << 1.0;
    QTest::newRow("-3 .. 3") << -3.0 << 3.0;
    QTest::newRow("-2.5 .. 7.3") << -2.5 << 7.3;
}

void TestVectorWriters::SvgTicksAtBitmapTicks()
{
    QFETCH(double, lo);
    QFETCH(double, hi);

    auto surface = FreshSurface();
    DrawReferenceAxes(*surface, Window(lo, hi, lo, hi));
    const QImage bitmap = ToQImage(surface->Plane());
    const QImage rendered = RenderSvg(Written(PictureFormat::Svg, *surface));
    const int axisRow = surface->ScreenY(0), axisColumn = surface->ScreenX(0);
    const int endColumn = surface->ScreenX(hi), endRow = surface->ScreenY(hi);

    // Above the x axis only its ticks stand (and the y axis line among
    // them); the arrowhead is left out. Right of the y axis likewise.
    const QList<int> columns = RedInLine(bitmap, axisRow - 2, true, 0, endColumn - 20);
    QVERIFY(columns.size() >= 4);
    CompareTicks(columns, RedRunCentres(rendered, axisRow - 2, true, 0, endColumn - 20));
    const QList<int> rows = RedInLine(bitmap, axisColumn + 1, false, endRow + 25, 499);
    QVERIFY(rows.size() >= 4);
    CompareTicks(rows, RedRunCentres(rendered, axisColumn + 1, false, endRow + 25, 499));

    // The exponent label and "*10" are there: red text right of the y axis
    // near its top, where the bitmap has it.
    int bitmapText = 0, renderedText = 0;
    for (int y = std::max(endRow, 0); y < endRow + 25; ++y) {
        for (int x = axisColumn + 5; x < std::min(axisColumn + 45, 500); ++x) {
            bitmapText += bitmap.pixel(x, y) == qRgb(255, 0, 0);
            renderedText += Redness(rendered.pixel(x, y)) >= 40;
        }
    }
    QVERIFY(bitmapText > 10);
    QVERIFY(renderedText > bitmapText / 3);
}

void TestVectorWriters::DenseAxisStaysSmall()
{
    // About 2 * 10^5 ticks per axis; the file holds only those the bitmap shows.
    auto surface = FreshSurface();
    DrawReferenceAxes(*surface, Window(-1e35, 1e35, -1e35, 1e35));
    const QByteArray svg = Written(PictureFormat::Svg, *surface);
    QVERIFY2(svg.size() < 2 * 1024 * 1024, qPrintable(QString::number(svg.size())));
    const QImage rendered = RenderSvg(svg);
    // Red along the x axis almost everywhere the bitmap has it.
    const int row = surface->ScreenY(0) - 2;
    const QList<int> bitmapRed = RedInLine(ToQImage(surface->Plane()), row, true, 0, 480);
    int covered = 0;
    for (int x : bitmapRed)
        covered += Near(rendered, x, row, 1, [](QRgb p) { return Redness(p) >= 40; });
    QVERIFY(bitmapRed.size() > 300);
    QVERIFY(covered >= bitmapRed.size() * 95 / 100);
}

void TestVectorWriters::PdfOnePageWithCurve()
{
    if (Tool("pdftoppm").isEmpty() || Tool("pdfinfo").isEmpty())
        QSKIP("poppler-utils (pdftoppm, pdfinfo) not installed");
    auto surface = FreshSurface();
    RecordTrace(*surface, StartTexts(), false);
    const QByteArray pdf = Written(PictureFormat::Pdf, *surface);
    QVERIFY(pdf.startsWith("%PDF"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plane.pdf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();

    const auto [pages, size] = PdfPages(path);
    QCOMPARE(pages, 1);
    QCOMPARE(size, QStringLiteral("375 x 375 pts"));
    // At 96 dots per inch the page is the plane again, pixel for pixel.
    const QImage rendered = RenderPdf(path, 96, dir.path());
    QCOMPARE(rendered.size(), QSize(500, 500));
    const CurveMatch match = MatchCurve(ToQImage(surface->Plane()), rendered);
    QVERIFY(match.Bitmap > 100);
    QCOMPARE(match.RenderedStray, 0);
    QCOMPARE(match.BitmapMissed, 0);
}

void TestVectorWriters::PrintScaledAtTheTop_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<double>("left");  // page margins in millimetres
    QTest::addColumn<double>("top");

    QTest::newRow("A4 portrait") << QPageSize::A4 << QPageLayout::Portrait << 10.0 << 10.0;
    QTest::newRow("A4 landscape") << QPageSize::A4 << QPageLayout::Landscape << 10.0 << 10.0;
    QTest::newRow("A5 wide left margin") << QPageSize::A5 << QPageLayout::Portrait << 40.0 << 5.0;
}

void TestVectorWriters::PrintScaledAtTheTop()
{
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(double, left);
    QFETCH(double, top);
    if (Tool("pdftoppm").isEmpty() || Tool("pdfinfo").isEmpty())
        QSKIP("poppler-utils (pdftoppm, pdfinfo) not installed");

    auto surface = FreshSurface();
    RecordTrace(*surface, StartTexts(), false);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("print.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageLayout(QPageLayout(QPageSize(paper), orientation, QMarginsF(left, top, 10, 10),
                                      QPageLayout::Millimeter));
    QCOMPARE(PrintPlane(surface->Record(), printer), QString());
    QCOMPARE(PdfPages(path).first, 1);

    // The circle spans 6 of the plane's 8 units and sits at its centre; the
    // plane fills the shorter side, at the top of the area, centred across.
    const int dpi = 50;
    const QImage page = RenderPdf(path, dpi, dir.path());
    QVERIFY(!page.isNull());
    const QRect blue = BlueBounds(page);
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Point);
    const double pixelsPerPoint = dpi / 72.0;
    const double planeSide = std::min(area.width(), area.height()) * pixelsPerPoint;
    const QPointF centre(area.center().x() * pixelsPerPoint, area.top() * pixelsPerPoint + planeSide / 2);
    QVERIFY2(std::abs(blue.width() - 0.75 * planeSide) <= 3,
             qPrintable(QStringLiteral("%1 vs %2").arg(blue.width()).arg(0.75 * planeSide)));
    QVERIFY(std::abs(blue.height() - 0.75 * planeSide) <= 3);
    QVERIFY(std::abs(QRectF(blue).center().x() + 0.5 - centre.x()) <= 2);
    QVERIFY(std::abs(QRectF(blue).center().y() + 0.5 - centre.y()) <= 2);
}

void TestVectorWriters::FormatsByName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("format");  // -1: none

    QTest::newRow("png") << QStringLiteral("a/b.png") << int(PictureFormat::Png);
    QTest::newRow("GIF upper case") << QStringLiteral("trace.GIF") << int(PictureFormat::Gif);
    QTest::newRow("svg after dots") << QStringLiteral("x.y.svg") << int(PictureFormat::Svg);
    QTest::newRow("pdf") << QStringLiteral("/tmp/plane.pdf") << int(PictureFormat::Pdf);
    QTest::newRow("jpeg") << QStringLiteral("plane.jpg") << -1;
    QTest::newRow("no extension") << QStringLiteral("plane") << -1;
    QTest::newRow("folder with a dot") << QStringLiteral("dir.svg/plane") << -1;
}

void TestVectorWriters::FormatsByName()
{
    QFETCH(QString, path);
    QFETCH(int, format);

    const std::optional<PictureFormat> found = PictureFormatOfPath(path);
    QCOMPARE(found ? int(*found) : -1, format);
    if (found)
        QCOMPARE(PictureFormatNamed(PictureFormatName(*found)), found);
}

void TestVectorWriters::FailuresReported_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("withSource");
    QTest::addColumn<QString>("message");

    const QString nothing = QStringLiteral("Pro formát %1 není co zapsat.");
    QTest::newRow("png, full device") << int(PictureFormat::Png) << true
                                      << QStringLiteral("Obrázek PNG se nepodařilo zapsat.");
    QTest::newRow("gif, full device") << int(PictureFormat::Gif) << true
                                      << QStringLiteral("Animaci GIF se nepodařilo zapsat.");
    QTest::newRow("svg, full device") << int(PictureFormat::Svg) << true
                                      << QStringLiteral("Obrázek SVG se nepodařilo zapsat.");
    QTest::newRow("pdf, full device") << int(PictureFormat::Pdf) << true
                                      << QStringLiteral("Dokument PDF se nepodařilo zapsat.");
    QTest::newRow("png without a plane") << int(PictureFormat::Png) << false << nothing.arg(u"PNG");
    QTest::newRow("gif without a plane") << int(PictureFormat::Gif) << false << nothing.arg(u"GIF");
    QTest::newRow("svg without a record") << int(PictureFormat::Svg) << false << nothing.arg(u"SVG");
    QTest::newRow("pdf without a record") << int(PictureFormat::Pdf) << false << nothing.arg(u"PDF");
}

void TestVectorWriters::FailuresReported()
{
    QFETCH(int, format);
    QFETCH(bool, withSource);
    QFETCH(QString, message);

    auto surface = FreshSurface();
    RecordTrace(*surface, StartTexts(), false);
    PictureSource source;
    if (withSource) {
        source.Plane = &surface->Plane();
        source.Record = &surface->Record();
    }
    FullDevice full(withSource ? 100 : 1000000);
    QCOMPARE(WritePicture(PictureFormat(format), source, full), message);
}

QTEST_MAIN(TestVectorWriters)
#include "test_vectorwriters.moc"
