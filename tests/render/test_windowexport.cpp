// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window's "Uložit animaci…" and SVG and PDF from "Uložit
// obrázek…": the animation is what the window showed step by step, from the
// plane as it stood at the press; the vector files follow the plane.
#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QTemporaryDir>

#include <optional>

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "../panel/PanelFixture.h"
#include "TracePause.h"
#include "PlaneDialogs.h"
#include "PlaneImage.h"
#include "SavePlane.h"
#include "export/GifDecode.h"
#include "export/VectorCheck.h"

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The plane as the window shows it: Image1 painted, its top-left 500 x 500.
QImage Shown()
{
    return Draw2D->Image1->grab().toImage().convertToFormat(QImage::Format_RGB888).copy(0, 0, 500, 500);
}

// Rendered curve pixels farther than a pixel from the bitmap's curve, but for
// those on the bitmap's axes: where the second press's axis covers the first
// curve, a smoothed rendering lets some blue through at its edge.
int StraysBesideAxes(const QImage& bitmap, const QImage& rendered)
{
    const auto isCurve = [](QRgb p) { return (p & 0xFFFFFF) == (CurveColour & 0xFFFFFF); };
    int strays = 0;
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 500; ++x) {
            strays += Blueness(rendered.pixel(x, y)) >= 50 && bitmap.pixel(x, y) != qRgb(255, 0, 0)
                      && !Near(bitmap, x, y, 1, isCurve);
        }
    }
    return strays;
}

void ChoosePreset(const char* button)
{
    auto* preset = Control_Panel->findChild<QRadioButton*>(button);
    QVERIFY(preset);
    QTest::mouseClick(preset, Qt::LeftButton);
    QVERIFY(preset->isChecked());
}

}  // namespace

Q_DECLARE_METATYPE(PictureFormat)
Q_DECLARE_METATYPE(std::optional<PictureFormat>)
Q_DECLARE_METATYPE(SaveWhat)

class TestWindowExport : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    QTemporaryDir folder;
    PlotMenu* actions = nullptr;
    SaveChoice chosen;  // what the chooser answers
    QList<SaveWhat> asked;
    int step = 0;
    std::function<void(int step)> duringPause;

    QString Path(const QString& name) const { return folder.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(folder.isValid()); }
    void init()
    {
        fixture.Start();
        actions = &TheMenu();
        chosen = SaveChoice{};
        asked.clear();
        step = 0;
        duringPause = nullptr;
        SetSaveFileChooser([this](QWidget* parent, SaveWhat what) {
            asked << what;
            return parent == Draw2D ? chosen : SaveChoice{};
        });
        SetTracePause([this] {
            if (duringPause)
                duringPause(step);
            ++step;
        });
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        SetSaveFileChooser(nullptr);
        fixture.Stop();
    }

    void MenuEntries();
    void AnimationIsWhatTheWindowShowed_data();
    void AnimationIsWhatTheWindowShowed();
    void AnimationEnabledOnceATraceRan_data();
    void AnimationEnabledOnceATraceRan();
    void PictureInEachFormat_data();
    void PictureInEachFormat();
    void UnwritableFileReported_data();
    void UnwritableFileReported();
};

void TestWindowExport::MenuEntries()
{
    QCOMPARE(Draw2D->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList texts;
    for (QAction* action : Draw2D->actions())
        texts << action->text();
    QCOMPARE(texts.mid(0, 3), (QStringList{"Uložit obrázek…", "Uložit animaci…", "Tisk…"}));
    QCOMPARE(actions->SavePicture->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(actions->Print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QCOMPARE(Draw2D->findChild<QAction*>(SaveAnimationActionName), actions->SaveAnimation);
    QCOMPARE(Draw2D->findChild<QAction*>(PrintPlaneActionName), actions->Print);
}

void TestWindowExport::AnimationIsWhatTheWindowShowed_data()
{
    QTest::addColumn<bool>("firstPress");      // the circle first, then the oblique throw
    QTest::addColumn<int>("dashedFromStep");   // -1: never
    QTest::addColumn<int>("escapeAtStep");     // -1: never
    QTest::addColumn<int>("frames");

    QTest::newRow("one press") << false << -1 << -1 << 102;
    QTest::newRow("two overlaid presses") << true << -1 << -1 << 102;
    QTest::newRow("dashed switched on at step 40") << true << 40 << -1 << 102;
    QTest::newRow("Esc at step 30") << true << -1 << 30 << 31;
}

// Every frame of the saved GIF, composed, is the plane the window showed
// after that step; the first frame keeps what was on the plane before.
void TestWindowExport::AnimationIsWhatTheWindowShowed()
{
    QFETCH(bool, firstPress);
    QFETCH(int, dashedFromStep);
    QFETCH(int, escapeAtStep);
    QFETCH(int, frames);

    QImage before = ToQImage(Draw2D->Plane()).copy();
    if (firstPress) {
        PressKresli();
        before = ToQImage(Draw2D->Plane()).copy();
        ChoosePreset("RadioButton2");  // the oblique throw, in 100 segments
    }
    std::vector<QImage> shown;
    step = 0;
    duringPause = [&](int at) {
        shown.push_back(Shown());
        QVERIFY(shown.back() == Draw2D->Plane());
        if (at + 1 == dashedFromStep)
            Control_Panel->CheckBox2->setChecked(true);
        if (at == escapeAtStep)
            QTest::keyClick(Control_Panel, Qt::Key_Escape);
    };
    PressKresli();
    QVERIFY(fixture.Boxes.isEmpty());
    QCOMPARE(int(shown.size()), frames);

    chosen = SaveChoice{Path("trace.gif"), std::nullopt};
    QVERIFY(actions->SaveAnimation->isEnabled());
    actions->SaveAnimation->trigger();
    QCOMPARE(asked, QList<SaveWhat>{SaveWhat::Animation});
    QVERIFY(fixture.Boxes.isEmpty());
    const DecodedGif gif = DecodeGif(ReadAll(Path("trace.gif")));
    QVERIFY2(gif.Error.isEmpty(), qPrintable(gif.Error));
    QCOMPARE(int(gif.Frames.size()), frames);
    for (int k = 0; k < frames; ++k)
        QVERIFY2(gif.Frames[std::size_t(k)] == shown[std::size_t(k)], qPrintable(QStringLiteral("frame %1").arg(k)));
    QCOMPARE(gif.Delays.back(), 200);
    QVERIFY(gif.Frames.back() == Draw2D->Plane());

    // The first frame still shows what was drawn before the press, the
    // first curve where the new axes do not cover it.
    int kept = 0, earlier = 0;
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 500; ++x) {
            if (before.pixel(x, y) == CurveColour) {
                ++earlier;
                kept += gif.Frames[0].pixel(x, y) == CurveColour;
            }
        }
    }
    if (firstPress) {
        QVERIFY(earlier > 500);
        QVERIFY(kept > earlier * 9 / 10);
    } else {
        QCOMPARE(earlier, 0);
    }
    if (dashedFromStep >= 0) {
        // Some segment before the switch that a dashed trace would skip.
        QVERIFY(shown[2] != shown[1]);
        QVERIFY(shown[std::size_t(dashedFromStep)] == shown[std::size_t(dashedFromStep - 1)]);
    }
}

void TestWindowExport::AnimationEnabledOnceATraceRan_data()
{
    QTest::addColumn<QString>("segments");
    QTest::addColumn<QString>("equationX");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("frames");

    QTest::newRow("at start") << "" << "" << false << 0;
    QTest::newRow("input refused: nothing traced") << "abc" << "3*cos(t)" << false << 0;
    QTest::newRow("formula error after the axes") << "100" << "3*" << true << 1;
    QTest::newRow("a whole trace") << "10" << "3*cos(t)" << true << 12;
}

void TestWindowExport::AnimationEnabledOnceATraceRan()
{
    QFETCH(QString, segments);
    QFETCH(QString, equationX);
    QFETCH(bool, enabled);
    QFETCH(int, frames);

    QVERIFY(!actions->SaveAnimation->isEnabled());
    if (!segments.isEmpty()) {
        Control_Panel->EditSeg->setText(segments);
        Control_Panel->EditEq1->setText(equationX);
        PressKresli();
    }
    QCOMPARE(actions->SaveAnimation->isEnabled(), enabled);

    // Triggered anyway (as code may): only a kept animation is written.
    chosen = SaveChoice{Path("enabled.gif"), std::nullopt};
    QFile::remove(chosen.Path);
    actions->SaveAnimation->setEnabled(true);
    actions->SaveAnimation->trigger();
    QCOMPARE(QFile::exists(chosen.Path), enabled);
    if (enabled) {
        const DecodedGif gif = DecodeGif(ReadAll(chosen.Path));
        QCOMPARE(int(gif.Frames.size()), frames);
        QVERIFY(gif.Frames.back() == Draw2D->Plane());
    }

    // A new window starts without one.
    fixture.Stop();
    fixture.Start();
    actions = &TheMenu();
    QVERIFY(!actions->SaveAnimation->isEnabled());
}

void TestWindowExport::PictureInEachFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<PictureFormat>>("type");  // chosen in the dialog
    QTest::addColumn<PictureFormat>("written");

    QTest::newRow("png") << "plane.png" << std::optional<PictureFormat>() << PictureFormat::Png;
    QTest::newRow("svg") << "plane.svg" << std::optional<PictureFormat>() << PictureFormat::Svg;
    QTest::newRow("pdf") << "plane.pdf" << std::optional<PictureFormat>() << PictureFormat::Pdf;
    QTest::newRow("svg by type, other extension") << "plane.obr" << std::optional(PictureFormat::Svg) << PictureFormat::Svg;
    QTest::newRow("pdf by name over the type png") << "typed.pdf" << std::optional(PictureFormat::Png) << PictureFormat::Pdf;
    QTest::newRow("gif asked for a picture: PNG") << "still.gif" << std::optional<PictureFormat>() << PictureFormat::Png;
}

// Two overlaid curves, the second dashed: each file shows the plane.
void TestWindowExport::PictureInEachFormat()
{
    QFETCH(QString, name);
    QFETCH(std::optional<PictureFormat>, type);
    QFETCH(PictureFormat, written);

    PressKresli();
    ChoosePreset("RadioButton4");  // the planet orbit
    Control_Panel->CheckBox2->setChecked(true);
    PressKresli();
    QVERIFY(fixture.Boxes.isEmpty());
    const QImage plane = ToQImage(Draw2D->Plane()).copy();

    chosen = SaveChoice{Path(name), type};
    QFile::remove(chosen.Path);
    actions->SavePicture->trigger();
    QCOMPARE(asked, QList<SaveWhat>{SaveWhat::Picture});
    QVERIFY(fixture.Boxes.isEmpty());
    const QByteArray bytes = ReadAll(chosen.Path);

    QImage rendered;
    switch (written) {
    case PictureFormat::Png:
        QVERIFY(bytes.startsWith("\x89PNG"));
        QVERIFY(QImage::fromData(bytes).convertToFormat(QImage::Format_RGB888) == plane);
        return;
    case PictureFormat::Svg:
        QVERIFY(bytes.startsWith("<?xml"));
        rendered = RenderSvg(bytes);
        break;
    case PictureFormat::Pdf:
        QVERIFY(bytes.startsWith("%PDF-"));
        if (Tool("pdftoppm").isEmpty())
            QSKIP("poppler-utils (pdftoppm) not installed");
        rendered = RenderPdf(chosen.Path, 96, folder.path());
        break;
    case PictureFormat::Gif:
        QFAIL("not offered");
    }
    const CurveMatch match = MatchCurve(plane, rendered);
    QVERIFY(match.Bitmap > 500);
    QCOMPARE(StraysBesideAxes(plane, rendered), 0);
    QCOMPARE(match.BitmapMissed, 0);
}

void TestWindowExport::UnwritableFileReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("animation");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("message");

    const QString proc = "%1 se nepodařilo uložit do souboru /proc/plane.%2: do této složky nelze ukládat soubory.";
    QTest::newRow("animation, no files here") << "proc" << true << "gif" << proc.arg("Animaci", "gif");
    QTest::newRow("svg, no files here") << "proc" << false << "svg" << proc.arg("Obrázek", "svg");
    QTest::newRow("pdf, no files here") << "proc" << false << "pdf" << proc.arg("Obrázek", "pdf");
    const QString full = "%1 se nepodařilo uložit do souboru %2: na disku není místo.";
    QTest::newRow("animation, private full device") << "full" << true << "gif" << full.arg("Animaci");
    QTest::newRow("svg, private full device") << "full" << false << "svg" << full.arg("Obrázek");
    QTest::newRow("pdf, private full device") << "full" << false << "pdf" << full.arg("Obrázek");
}

// The error box says why; no file appears, a device stays a device.
void TestWindowExport::UnwritableFileReported()
{
    QFETCH(QString, kind);
    QFETCH(bool, animation);
    QFETCH(QString, extension);
    QFETCH(QString, message);

    QTemporaryDir place;
    QString path = "/proc/plane." + extension;
    if (kind == "full") {
        path = place.filePath("full." + extension);
        if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("mknod is not permitted here; a private full device cannot be made");
        message = message.arg(path);
    }
    PressKresli();
    const QImage before = ToQImage(Draw2D->Plane()).copy();
    chosen = SaveChoice{path, std::nullopt};
    (animation ? actions->SaveAnimation : actions->SavePicture)->trigger();
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes.first().title, QString("Error"));
    QCOMPARE(fixture.Boxes.first().text, message);
    QVERIFY(!QFileInfo(path).isFile());
    if (kind == "full")
        QCOMPARE(QDir(place.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                 QStringList{"full." + extension});
    QVERIFY(Draw2D->Plane() == before);
}

QTEST_MAIN(TestWindowExport)
#include "test_windowexport.moc"
