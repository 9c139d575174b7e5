// SPDX-License-Identifier: GPL-3.0-or-later
// The save dialog of the plot window's picture and animation entries: the
// real dialog offers the file types (PNG at 1x, 2x and 4x, SVG, PDF; GIF for
// an animation), names the file after the type picked and writes it in that
// type; and the format and enlargement a choice is written in.
#include <QtTest>

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <optional>

#include "../panel/PanelFixture.h"
#include "TracePause.h"
#include "PlaneDialogs.h"
#include "PlaneImage.h"
#include "SavePlane.h"
#include "WhenModal.h"
#include "export/EnlargedCheck.h"

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

Q_DECLARE_METATYPE(PictureFormat)
Q_DECLARE_METATYPE(std::optional<PictureFormat>)
Q_DECLARE_METATYPE(SaveWhat)

class TestWindowDialogs : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    QTemporaryDir folder;
    PlotMenu* actions = nullptr;

    QString Path(const QString& name) const { return folder.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(folder.isValid()); }
    void init()
    {
        fixture.Start();
        actions = &TheMenu();
        SetTracePause([] {});
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        SetSaveFileChooser(nullptr);
        fixture.Stop();
    }

    void FormatOfAChoice_data();
    void FormatOfAChoice();
    void SaveDialogOffersTheTypes_data();
    void SaveDialogOffersTheTypes();
};

void TestWindowDialogs::FormatOfAChoice_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<std::optional<PictureFormat>>("type");
    QTest::addColumn<int>("typeScale");  // of the type chosen
    QTest::addColumn<SaveWhat>("what");
    QTest::addColumn<PictureFormat>("format");
    QTest::addColumn<int>("scale");

    const std::optional<PictureFormat> none;
    const auto png = std::optional(PictureFormat::Png);
    const SaveWhat picture = SaveWhat::Picture;
    QTest::newRow("by extension") << "a.svg" << none << 1 << picture << PictureFormat::Svg << 1;
    QTest::newRow("extension in capitals") << "a.PDF" << none << 1 << picture << PictureFormat::Pdf << 1;
    QTest::newRow("extension over the type") << "a.png" << std::optional(PictureFormat::Pdf) << 1 << picture
                                             << PictureFormat::Png << 1;
    QTest::newRow("other extension: the type") << "a.v2" << std::optional(PictureFormat::Svg) << 1 << picture
                                               << PictureFormat::Svg << 1;
    QTest::newRow("no extension, no type: PNG") << "a" << none << 1 << picture << PictureFormat::Png << 1;
    QTest::newRow("gif is no picture type") << "a.gif" << none << 1 << picture << PictureFormat::Png << 1;
    QTest::newRow("animation: GIF whatever the name") << "a.png" << none << 1 << SaveWhat::Animation
                                                      << PictureFormat::Gif << 1;
    QTest::newRow("PNG 2x, named .png") << "a.png" << png << 2 << picture << PictureFormat::Png << 2;
    QTest::newRow("PNG 4x, no extension") << "a" << png << 4 << picture << PictureFormat::Png << 4;
    QTest::newRow("PNG 2x chosen, named .svg: SVG") << "a.svg" << png << 2 << picture << PictureFormat::Svg << 1;
}

void TestWindowDialogs::FormatOfAChoice()
{
    QFETCH(QString, path);
    QFETCH(std::optional<PictureFormat>, type);
    QFETCH(int, typeScale);
    QFETCH(SaveWhat, what);
    QFETCH(PictureFormat, format);
    QFETCH(int, scale);
    const SaveChoice choice{path, type, typeScale};
    QCOMPARE(FormatOfChoice(choice, what), format);
    QCOMPARE(ScaleOfChoice(choice, what), scale);
}

void TestWindowDialogs::SaveDialogOffersTheTypes_data()
{
    QTest::addColumn<bool>("animation");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<int>("typeChosen");  // the index picked in the type box
    QTest::addColumn<QString>("saved");   // the name "krivka" is saved under
    QTest::addColumn<int>("scale");       // of a PNG

    const QStringList pictures{"Obrázek PNG (*.png)", "Obrázek PNG, 2× větší (*.png)", "Obrázek PNG, 4× větší (*.png)",
                               "Obrázek SVG (*.svg)", "Dokument PDF (*.pdf)"};
    QTest::newRow("picture as PNG") << false << pictures << 0 << "krivka.png" << 1;
    QTest::newRow("picture as PNG 2x") << false << pictures << 1 << "krivka.png" << 2;
    QTest::newRow("picture as PNG 4x") << false << pictures << 2 << "krivka.png" << 4;
    QTest::newRow("picture as SVG") << false << pictures << 3 << "krivka.svg" << 1;
    QTest::newRow("picture as PDF") << false << pictures << 4 << "krivka.pdf" << 1;
    QTest::newRow("animation") << true << QStringList{"Animace GIF (*.gif)"} << 0 << "krivka.gif" << 1;
}

// The real dialog: its file types, the suggested name following the type
// picked, and the file written in that type.
void TestWindowDialogs::SaveDialogOffersTheTypes()
{
    QFETCH(bool, animation);
    QFETCH(QStringList, filters);
    QFETCH(int, typeChosen);
    QFETCH(QString, saved);
    QFETCH(int, scale);
    SetSaveFileChooser(nullptr);
    PressKresli();
    QFile::remove(Path(saved));

    QStringList offered;
    QString suggested, title;
    WhenModal<QFileDialog>(this, [](QFileDialog* dialog) { return dialog->findChild<QComboBox*>("fileTypeCombo"); },
                           [&](QFileDialog* dialog) {
                               offered = dialog->nameFilters();
                               title = dialog->windowTitle();
                               dialog->setDirectory(folder.path());
                               auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
                               types->setCurrentIndex(typeChosen);
                               emit types->activated(typeChosen);
                               emit types->textActivated(types->currentText());
                               suggested = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
                               dialog->findChild<QLineEdit*>("fileNameEdit")->setText("krivka");
                               QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
                           });
    (animation ? actions->SaveAnimation : actions->SavePicture)->trigger();

    QCOMPARE(offered, filters);
    QCOMPARE(title, animation ? QString("Uložit animaci") : QString("Uložit obrázek"));
    QCOMPARE(suggested, saved);
    QVERIFY(fixture.Boxes.isEmpty());
    const QByteArray bytes = ReadAll(Path(saved));
    const QByteArray magic = saved.endsWith("png") ? "\x89PNG" : saved.endsWith("svg") ? "<?xml"
                             : saved.endsWith("pdf") ? "%PDF-" : "GIF89a";
    QVERIFY2(bytes.startsWith(magic), bytes.left(10).constData());
    if (saved.endsWith("png")) {
        const QString unlike = NotEnlarged(ToQImage(Draw2D->Plane()), QImage::fromData(bytes), scale);
        QVERIFY2(unlike.isEmpty(), qPrintable(unlike));
    }
}

QTEST_MAIN(TestWindowDialogs)
#include "test_windowdialogs.moc"
