// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-render writing GIF, SVG and PDF, run as its own process: the GIF
// decoded with giflib and composed frame by frame is the plane after every
// step of the same trace run here; SVG and PDF rendered again follow the PNG
// of the same inputs; the format follows the name or --format; a stopped or
// failed trace writes what was drawn; a file that cannot be written leaves
// nothing under the target's name.
#include <QtTest>


#include <cstring>
#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "StartUp.h"
#include "RendererProcess.h"
#include "WorkFolder.h"
#include "export/EnlargedCheck.h"
#include "export/ExportTestSupport.h"
#include "export/GifDecode.h"
#include "export/VectorCheck.h"

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The box of pixels that differ between two planes.
QRect DifferenceBox(const QImage& a, const QImage& b)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y) {
        const uchar* rowA = a.constScanLine(y);
        const uchar* rowB = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x) {
            if (std::memcmp(rowA + 3 * x, rowB + 3 * x, 3) != 0)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

enum class Magic { Png, Gif, Svg, Pdf };

Magic MagicOf(const QByteArray& bytes)
{
    if (bytes.startsWith("GIF89a"))
        return Magic::Gif;
    if (bytes.startsWith("<?xml") && bytes.contains("<svg"))
        return Magic::Svg;
    if (bytes.startsWith("%PDF-"))
        return Magic::Pdf;
    return Magic::Png;  // checked to be one below
}

bool IsPng(const QByteArray& bytes)
{
    return bytes.startsWith("\x89PNG\r\n\x1a\n");
}

}  // namespace

Q_DECLARE_METATYPE(Magic)

class TestRenderFormats : public QObject {
    Q_OBJECT

private:

    WorkFolder work;

    QString Path(const QString& name) const { return work.Path(name); }
    QStringList Entries() const { return work.Entries(); }

private slots:
    void initTestCase()
    {
        // The renderer's fonts, so the axes' text of a trace run here is
        // the renderer's pixel for pixel.
        InstallFontFallback();
        QVERIFY(work.Open());
    }
    void init() { QVERIFY(work.Empty()); }

    void GifIsThePlaneStepByStep_data();
    void GifIsThePlaneStepByStep();
    void LoopOption_data();
    void LoopOption();
    void FormatFollowsTheName_data();
    void FormatFollowsTheName();
    void ScaledPng_data();
    void ScaledPng();
    void VectorFollowsThePng_data();
    void VectorFollowsThePng();
    void StoppedTraceWritesWhatWasDrawn_data();
    void StoppedTraceWritesWhatWasDrawn();
    void UnwritableLeavesNoFile_data();
    void UnwritableLeavesNoFile();
};

void TestRenderFormats::GifIsThePlaneStepByStep_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<TraceTexts>("texts");
    QTest::addColumn<bool>("dashed");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("message");

    QTest::newRow("inputs at start") << QStringList{} << StartTexts() << false << 102 << 0 << "";
    QTest::newRow("planet orbit dashed") << QStringList{"--preset", "draha-planety", "--dashed"}
                                         << PresetTexts(Preset("draha-planety"), "100") << true << 101 << 0 << "";
    // Steps of exactly 1 from -20: t = -1 divides by zero; the animation
    // ends with the last step drawn.
    QTest::newRow("folium to t = -1") << QStringList{"--preset", "descartuv-list", "--segments", "40"}
                                      << PresetTexts(Preset("descartuv-list"), "40") << false << 19 << 1
                                      << "--x: Dělení nulou\n";
}

void TestRenderFormats::GifIsThePlaneStepByStep()
{
    QFETCH(QStringList, options);
    QFETCH(TraceTexts, texts);
    QFETCH(bool, dashed);
    QFETCH(int, frames);
    QFETCH(int, exitStatus);
    QFETCH(QString, message);

    const RendererRun run = RunRenderer(options + QStringList{"-o", Path("trace.gif")});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, exitStatus);
    QCOMPARE(QString::fromUtf8(run.Err), message);

    // The same trace here, the plane copied at every repaint.
    auto surface = FreshSurface();
    const RecordedTrace trace = RecordTrace(*surface, texts, dashed);
    QCOMPARE(int(trace.StepPlanes.size()), frames);

    const DecodedGif gif = DecodeGif(ReadAll(Path("trace.gif")));
    QVERIFY2(gif.Error.isEmpty(), qPrintable(gif.Error));
    QCOMPARE(gif.Screen, QSize(500, 500));
    QCOMPARE(int(gif.Frames.size()), frames);
    QCOMPARE(gif.LoopRepeats, std::optional<int>(0));
    for (int k = 0; k < frames; ++k) {
        const std::size_t at = std::size_t(k);
        QVERIFY2(gif.Frames[at] == trace.StepPlanes[at], qPrintable(QStringLiteral("frame %1").arg(k)));
        QCOMPARE(gif.Delays[at], k + 1 == frames ? 200 : 5);
        // Only what changed is stored: the first frame is the whole plane,
        // the rest no more than the box of changed pixels.
        const QRect stored = k == 0 ? QRect(0, 0, 500, 500) : DifferenceBox(trace.StepPlanes[at - 1], trace.StepPlanes[at]);
        QCOMPARE(gif.Rects[at], stored.isEmpty() ? QRect(0, 0, 1, 1) : stored);
    }

    // The last frame is the PNG of the same inputs.
    const RendererRun png = RunRenderer(options + QStringList{"-o", Path("trace.png")});
    QCOMPARE(png.ExitStatus, exitStatus);
    QVERIFY(gif.Frames.back() == ReadPicture(Path("trace.png")));
}

void TestRenderFormats::LoopOption_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("repeats");  // -1: no loop block, played once

    QTest::newRow("forever by default") << QStringList{} << 0;
    QTest::newRow("--loop 0: forever") << QStringList{"--loop", "0"} << 0;
    QTest::newRow("--loop 1: once") << QStringList{"--loop", "1"} << -1;
    QTest::newRow("--loop 3") << QStringList{"--loop", "3"} << 2;
    QTest::newRow("--loop=65536") << QStringList{"--loop=65536"} << 65535;
    QTest::newRow("--format gif to standard output") << QStringList{"--format", "gif", "--loop", "2"} << 1;
}

void TestRenderFormats::LoopOption()
{
    QFETCH(QStringList, options);
    QFETCH(int, repeats);

    const bool toStandardOutput = options.contains("--format");
    const RendererRun run = RunRenderer(QStringList{"--segments", "4", "-o", toStandardOutput ? "-" : Path("loop.gif")} + options);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 0);
    const DecodedGif gif = DecodeGif(toStandardOutput ? run.Out : ReadAll(Path("loop.gif")));
    QVERIFY2(gif.Error.isEmpty(), qPrintable(gif.Error));
    QCOMPARE(gif.Frames.size(), std::size_t(6));
    QCOMPARE(gif.LoopRepeats, repeats < 0 ? std::nullopt : std::optional<int>(repeats));
}

void TestRenderFormats::FormatFollowsTheName_data()
{
    QTest::addColumn<QString>("name");  // "-": standard output
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<Magic>("written");

    QTest::newRow(".gif") << "a.gif" << QStringList{} << Magic::Gif;
    QTest::newRow(".GIF in capitals") << "a.GIF" << QStringList{} << Magic::Gif;
    QTest::newRow(".svg") << "a.svg" << QStringList{} << Magic::Svg;
    QTest::newRow(".pdf") << "a.pdf" << QStringList{} << Magic::Pdf;
    QTest::newRow(".png") << "a.png" << QStringList{} << Magic::Png;
    QTest::newRow("other extension: PNG") << "a.jpg" << QStringList{} << Magic::Png;
    QTest::newRow("no extension: PNG") << "plane" << QStringList{} << Magic::Png;
    QTest::newRow("standard output: PNG") << "-" << QStringList{} << Magic::Png;
    QTest::newRow("--format overrides .png") << "a.png" << QStringList{"--format", "svg"} << Magic::Svg;
    QTest::newRow("--format PDF in capitals") << "a.gif" << QStringList{"--format=PDF"} << Magic::Pdf;
    QTest::newRow("--format png overrides .gif") << "a.gif" << QStringList{"--format", "png"} << Magic::Png;
    QTest::newRow("--format gif to standard output") << "-" << QStringList{"--format", "gif"} << Magic::Gif;
}

void TestRenderFormats::FormatFollowsTheName()
{
    QFETCH(QString, name);
    QFETCH(QStringList, options);
    QFETCH(Magic, written);

    const bool toStandardOutput = name == "-";
    const RendererRun run = RunRenderer(QStringList{"-o", toStandardOutput ? name : Path(name)} + options);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 0);
    QCOMPARE(run.Err, QByteArray());
    const QByteArray bytes = toStandardOutput ? run.Out : ReadAll(Path(name));
    QCOMPARE(MagicOf(bytes), written);
    if (written == Magic::Png)
        QVERIFY(IsPng(bytes));
    if (!toStandardOutput)
        QCOMPARE(Entries(), QStringList{name});
}

void TestRenderFormats::ScaledPng_data()
{
    QTest::addColumn<QStringList>("options");  // of the curve, for both pictures
    QTest::addColumn<QStringList>("scaling");  // only for the enlarged one
    QTest::addColumn<int>("scale");

    QTest::newRow("--scale 1: the very same bytes") << QStringList{} << QStringList{"--scale", "1"} << 1;
    QTest::newRow("--scale=4, planet orbit dashed") << QStringList{"--preset", "draha-planety", "--dashed"}
                                                    << QStringList{"--scale=4"} << 4;
    QTest::newRow("--scale 2 to standard output, --format png") << QStringList{"--preset", "sikmy-vrh"}
                                                                << QStringList{"--scale", "2", "--format", "png"} << 2;
}

// The enlarged PNG is the PNG of the same inputs with each pixel a block of
// scale x scale; at 1 it is that PNG byte for byte.
void TestRenderFormats::ScaledPng()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, scaling);
    QFETCH(int, scale);

    const RendererRun plain = RunRenderer(options + QStringList{"-o", Path("plain.png")});
    QCOMPARE(plain.ExitStatus, 0);
    const bool toStandardOutput = scaling.contains("--format");
    const RendererRun scaled = RunRenderer(options + scaling + QStringList{"-o", toStandardOutput ? "-" : Path("scaled.png")});
    QVERIFY(scaled.Finished);
    QCOMPARE(scaled.ExitStatus, 0);
    QCOMPARE(scaled.Err, QByteArray());
    const QByteArray bytes = toStandardOutput ? scaled.Out : ReadAll(Path("scaled.png"));
    QVERIFY(IsPng(bytes));
    if (scale == 1)
        QCOMPARE(bytes, ReadAll(Path("plain.png")));
    const QString unlike = NotEnlarged(QImage(Path("plain.png")), QImage::fromData(bytes), scale);
    QVERIFY2(unlike.isEmpty(), qPrintable(unlike));
}

void TestRenderFormats::VectorFollowsThePng_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<TraceTexts>("texts");
    QTest::addColumn<bool>("dashed");

    QTest::newRow("inputs at start") << QStringList{} << StartTexts() << false;
    QTest::newRow("planet orbit dashed") << QStringList{"--preset", "draha-planety", "--dashed"}
                                         << PresetTexts(Preset("draha-planety"), "100") << true;
    QTest::newRow("folium to t = -1") << QStringList{"--preset", "descartuv-list", "--segments", "40"}
                                      << PresetTexts(Preset("descartuv-list"), "40") << false;
}

// The SVG rendered at 500 x 500 and the PDF at 96 dots per inch: the curve
// within a pixel of the PNG's curve both ways, the SVG's x-axis ticks at the
// PNG's tick columns.
void TestRenderFormats::VectorFollowsThePng()
{
    QFETCH(QStringList, options);
    QFETCH(TraceTexts, texts);
    QFETCH(bool, dashed);

    for (const char* name : {"plane.png", "plane.svg", "plane.pdf"})
        RunRenderer(options + QStringList{"-o", Path(name)});
    const QImage png = ReadPicture(Path("plane.png"));
    QCOMPARE(png.size(), QSize(500, 500));

    const QImage svg = RenderSvg(ReadAll(Path("plane.svg")));
    const CurveMatch svgMatch = MatchCurve(png, svg);
    QVERIFY(svgMatch.Bitmap > 100);
    QCOMPARE(svgMatch.RenderedStray, 0);
    QCOMPARE(svgMatch.BitmapMissed, 0);

    // The ticks: the same trace here gives the world, and its axes drawn
    // alone the tick columns (on the PNG the curve may cover a tick).
    auto surface = FreshSurface();
    RecordTrace(*surface, texts, dashed);
    QVERIFY(surface->Plane() == png);
    auto axes = FreshSurface();
    DrawReferenceAxes(*axes, *surface);
    const int row = surface->ScreenY(0) - 2, end = surface->ScreenX(surface->X2) - 20;
    const QList<int> columns = RedInLine(ToQImage(axes->Plane()), row, true, 0, end);
    QVERIFY(columns.size() >= 3);
    CompareTicks(columns, RedRunCentres(svg, row, true, 0, end));

    if (Tool("pdftoppm").isEmpty() || Tool("pdfinfo").isEmpty())
        QSKIP("poppler-utils (pdftoppm, pdfinfo) not installed");
    QCOMPARE(PdfPages(Path("plane.pdf")).first, 1);
    const QImage pdf = RenderPdf(Path("plane.pdf"), 96, work.Place());
    QCOMPARE(pdf.size(), QSize(500, 500));
    const CurveMatch pdfMatch = MatchCurve(png, pdf);
    QCOMPARE(pdfMatch.RenderedStray, 0);
    QCOMPARE(pdfMatch.BitmapMissed, 0);
}

void TestRenderFormats::StoppedTraceWritesWhatWasDrawn_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("png") << "stopped.png";
    QTest::newRow("gif") << "stopped.gif";
    QTest::newRow("svg") << "stopped.svg";
    QTest::newRow("pdf") << "stopped.pdf";
}

// A time limit over at once stops the trace after its first point, the
// same for every format: the axes are written, no segment, exit status 1.
void TestRenderFormats::StoppedTraceWritesWhatWasDrawn()
{
    QFETCH(QString, name);
    const RendererRun run = RunRenderer({"--timeout", "0.000001", "-o", Path(name)});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 1);
    QCOMPARE(QString::fromUtf8(run.Err),
             QString("Kreslení bylo ukončeno, uplynul čas --timeout; uloží se obrázek, jak byl nakreslen.\n"));

    QImage picture;
    if (name.endsWith(".gif")) {
        const DecodedGif gif = DecodeGif(ReadAll(Path(name)));
        QCOMPARE(gif.Frames.size(), std::size_t(1));  // step 0
        QCOMPARE(gif.Delays.front(), 200);
        picture = gif.Frames.front();
    } else if (name.endsWith(".svg")) {
        picture = RenderSvg(ReadAll(Path(name)));
    } else if (name.endsWith(".pdf")) {
        if (Tool("pdftoppm").isEmpty())
            QSKIP("poppler-utils (pdftoppm) not installed");
        picture = RenderPdf(Path(name), 96, work.Place());
    } else {
        picture = ReadPicture(Path(name));
    }
    QCOMPARE(picture.size(), QSize(500, 500));
    int red = 0, blue = 0;
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 500; ++x) {
            red += Redness(picture.pixel(x, y)) >= 200;
            blue += Blueness(picture.pixel(x, y)) >= 50;
        }
    }
    QVERIFY(red > 500);  // the axes
    QCOMPARE(blue, 0);   // no segment
}

void TestRenderFormats::UnwritableLeavesNoFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("reason");

    for (const char* extension : {"png", "gif", "svg", "pdf"}) {
        const QString ext = QString::fromLatin1(extension);
        QTest::addRow("read-only folder, %s", extension) << "read-only folder" << ext << "chybí oprávnění k zápisu do složky";
        QTest::addRow("full disk, new file, %s", extension) << "full disk" << ext << "soubor by byl příliš velký";
        QTest::addRow("full disk, file kept, %s", extension) << "full disk, existing" << ext << "soubor by byl příliš velký";
        QTest::addRow("private full device, %s", extension) << "full device" << ext << "na disku není místo";
    }
}

// Nothing appears under the target's name, an existing file keeps its
// content, and no temporary file is left behind. The full disk is a file
// size limit (ulimit -f) smaller than any picture, so the writing fails
// midway, as on a disk that fills up.
void TestRenderFormats::UnwritableLeavesNoFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, extension);
    QFETCH(QString, reason);

    QString name = Path("plane." + extension);
    QStringList command{PARAMCURVE_RENDER_PATH};
    RendererSetup setup;
    if (kind == "read-only folder") {
        QVERIFY(QDir(work.Folder()).mkdir("closed"));
        name = Path("closed/plane." + extension);
        if (::geteuid() == 0) {
            // Root writes anywhere: the renderer runs as nobody instead, the
            // folder being root's.
            const QString setpriv = QStandardPaths::findExecutable("setpriv");
            if (setpriv.isEmpty())
                QSKIP("setpriv is not installed");
            QCOMPARE(::chmod(QFile::encodeName(work.Folder()).constData(), 0755), 0);
            command = QStringList{setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups", PARAMCURVE_RENDER_PATH};
        }
        QCOMPARE(::chmod(QFile::encodeName(Path("closed")).constData(), 0555), 0);
    } else if (kind.startsWith("full disk")) {
        if (kind.endsWith("existing")) {
            QFile old(name);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old content");
        }
        setup.InChild = [] {
            const rlimit limit{1000, 1000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        };
    } else if (kind == "full device") {
        if (::mknod(QFile::encodeName(name).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("mknod is not permitted here; a private full device cannot be made");
    }
    const QStringList before = QDir(QFileInfo(name).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    const QString program = command.takeFirst();
    const RendererRun run = RunProgram(program, command + QStringList{"-o", name}, setup);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 3);
    const QString what = extension == "gif" ? "Animaci" : "Obrázek";
    QCOMPARE(QString::fromUtf8(run.Err), QString("%1 se nepodařilo uložit do souboru %2: %3.\n").arg(what, name, reason));
    QCOMPARE(QDir(QFileInfo(name).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
    if (kind == "full device")
        QVERIFY(!QFileInfo(name).isFile());
    else if (kind.endsWith("existing"))
        QCOMPARE(ReadAll(name), QByteArray("old content"));
    else
        QVERIFY(!QFileInfo::exists(name));
}

QTEST_MAIN(TestRenderFormats)
#include "test_renderformats.moc"
