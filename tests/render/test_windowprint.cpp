// SPDX-License-Identifier: GPL-3.0-or-later
// "Tisk…": the toolkit's print preview, in Czech, from which the print dialog
// prints; and the page printed to a PDF file, read back with poppler: the
// plane scaled to fit at the top, and under it a caption for each press,
// oldest first, continued over further pages with nothing cut.
#include <QtTest>

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>

#include "../panel/PanelFixture.h"
#include "LessonDialogs.h"
#include "PlaneDialogs.h"
#include "TracePause.h"
#include "WhenModal.h"
#include "export/VectorCheck.h"

namespace {

struct PdfWord {
    QString Text;
    QRectF Box;  // in points from the page's top left corner
};

// The words of every page (pdftotext -bbox), in reading order.
QList<QList<PdfWord>> PdfWords(const QString& path)
{
    static const QRegularExpression word(QStringLiteral(
        R"~(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)~"));
    QList<QList<PdfWord>> pages;
    for (const QString& line : RunTool("pdftotext", {"-bbox", "-enc", "UTF-8", path, "-"}).split(u'\n')) {
        if (line.contains(QStringLiteral("<page ")))
            pages.append(QList<PdfWord>());
        const QRegularExpressionMatch found = word.match(line);
        if (found.hasMatch() && !pages.isEmpty())
            pages.last().append({found.captured(5).replace("&amp;", "&"),
                                 QRectF(QPointF(found.captured(1).toDouble(), found.captured(2).toDouble()),
                                        QPointF(found.captured(3).toDouble(), found.captured(4).toDouble()))});
    }
    return pages;
}

QString NoSpaces(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s+")));
}

const QString Rest = "zorné pole x od -4 do 4, y od -4 do 4; parametr t od 0 do 2*pi; počet segmentů ";
const QString Circle = "1. x = 3*cos(t), y = 3*sin(t); " + Rest + "100";

// A lesson's presses: `count` curves of 4 segments without axes.
QStringList ShortPresses(int count, QStringList* captions)
{
    QStringList drawn;
    for (int i = 1; i <= count; ++i) {
        drawn << QStringLiteral(R"~("x": "%1*cos(t)/10", "segments": "4", "axes": false)~").arg(i);
        *captions << QStringLiteral("%1. x = %1*cos(t)/10, y = 3*sin(t); ").arg(i) + Rest + "4";
    }
    return drawn;
}

}  // namespace

class TestWindowPrint : public QObject {
    Q_OBJECT

    PanelFixture fixture;
    QTemporaryDir folder;
    QTemporaryDir config;
    QTranslator czech;  // the toolkit's Czech, read apart from the program
    PlotMenu* actions = nullptr;

    // Opens a lesson of these presses, each given by its keys (README).
    void OpenLesson(const QStringList& drawn)
    {
        QFile file(folder.filePath("lesson.paramcurve"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("{\"paramcurve-lesson\": 1, \"drawn\": [{" + drawn.join("}, {") + "}]}").toUtf8());
        file.close();
        SetLessonFileChooser([&file](QWidget*, LessonDialog) { return file.fileName(); });
        actions->OpenLesson->trigger();
        QCOMPARE(TheDocument().Presses().size(), std::size_t(drawn.size()));
    }

private slots:
    void initTestCase()
    {
        if (Tool("pdftoppm").isEmpty() || Tool("pdftotext").isEmpty())
            QSKIP("poppler-utils (pdftoppm, pdftotext) not installed");
        QVERIFY(folder.isValid() && config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));  // the recent lessons
        QVERIFY2(czech.load(CzechToolkitTranslation()), "qtbase_cs.qm is not installed");
    }
    void init()
    {
        fixture.Start();
        actions = &TheMenu();
        SetTracePause([] {});
    }
    void cleanup()
    {
        SetTracePause(nullptr);
        SetLessonFileChooser(nullptr);
        SetPrintPreview(nullptr);
        SetPrintDialog(nullptr);
        fixture.Stop();
    }

    void PrintedPage_data();
    void PrintedPage();
    void Preview_data();
    void Preview();
};

void TestWindowPrint::PrintedPage_data()
{
    QTest::addColumn<QStringList>("drawn");  // the presses of a lesson opened first
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("fewestPages");

    const auto portrait = QPageLayout::Portrait;
    QTest::newRow("nothing drawn") << QStringList{} << portrait << QStringList{} << 1;
    QTest::newRow("the circle") << QStringList{""} << portrait << QStringList{Circle} << 1;
    QTest::newRow("landscape: the plane fills the page, the caption on the next")
        << QStringList{""} << QPageLayout::Landscape << QStringList{Circle} << 2;
    QTest::newRow("as typed, the variables used, a stop, an error, a fault")
        << QStringList{R"~("x": "r*cos(k*t)", "x1": "-4,0", "k": "2", "r": "pi/2", "n": "5")~",
                       R"~("segments": "60", "stopped-after": 21)~", R"~("y": "1/t")~", R"~("segments": "0")~"}
        << portrait
        << QStringList{"1. x = r*cos(k*t), y = 3*sin(t); zorné pole x od -4,0 do 4, y od -4 do 4; parametr t od 0 do "
                       "2*pi; počet segmentů 100; k = 2; r = pi/2",
                       "2. x = 3*cos(t), y = 3*sin(t); " + Rest + "60 (zastaveno po 21 bodech)",
                       "3. x = 3*cos(t), y = 1/t; " + Rest + "100 (skončilo dříve: Dělení nulou, Pole: y =)",
                       "4. x = 3*cos(t), y = 3*sin(t); " + Rest +
                           "0 (skončilo dříve: Floating point division by zero. Počet segmentů je 0)"}
        << 1;
    QStringList captions;
    const QStringList sixty = ShortPresses(60, &captions);
    QTest::newRow("sixty presses") << sixty << portrait << captions << 2;
    // Too long for the engine, refused; one word broken anywhere over lines and pages.
    const QString formula = "3*cos(t)" + QString("+0*t").repeated(700);
    QTest::newRow("a formula longer than a page")
        << QStringList{R"~("segments": "4", "x": ")~" + formula + '"'} << portrait
        << QStringList{"1. x = " + formula + ", y = 3*sin(t); " + Rest + "4 (skončilo dříve: Chybny vyraz, Pole: x =)"}
        << 2;
}

// The plane is the largest square of the printable area, at its top,
// centred across: the circle 3/4 of its side wide, 1/8 of it below its top.
// Every other word is a caption's, within the printable area and below the
// plane; together they are the captions, in order, whole.
void TestWindowPrint::PrintedPage()
{
    QFETCH(QStringList, drawn);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(QStringList, captions);
    QFETCH(int, fewestPages);

    if (!drawn.isEmpty())
        OpenLesson(drawn);
    const QString path = folder.filePath("page.pdf");
    const QPageLayout layout(QPageSize(QPageSize::A4), orientation, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    SetPrintPreview([&](QPrinter& printer, const PagePainter& paint, QWidget* parent) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageLayout(layout);
        paint(printer);
        return parent == Draw2D;
    });
    actions->Print->trigger();
    QVERIFY(fixture.Boxes.isEmpty());

    const QRectF area = layout.paintRect(QPageLayout::Point);
    const qreal side = std::min(area.width(), area.height());
    const QRectF plane(area.center().x() - side / 2, area.top(), side, side);
    if (drawn == QStringList{""}) {
        const QRectF blue = QRectF(BlueBounds(RenderPdf(path, 72, folder.path()))).adjusted(0, 0, 1, 1);
        QVERIFY2(std::abs(blue.width() - 0.75 * side) <= 4, qPrintable(QString::number(blue.width())));
        QVERIFY(std::abs(blue.top() - plane.top() - side / 8) <= 3);
        QVERIFY(std::abs(blue.center().x() - plane.center().x()) <= 2);
    }
    const QList<QList<PdfWord>> pages = PdfWords(path);
    QVERIFY2(pages.size() >= fewestPages, qPrintable(QString::number(pages.size())));
    QString text;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        for (const PdfWord& word : pages[i]) {
            if (i == 0 && plane.contains(word.Box))
                continue;  // the axes' numbers
            text += word.Text;
            QVERIFY2(area.adjusted(-1, -1, 1, 1).contains(word.Box) && (i > 0 || word.Box.top() >= plane.bottom()),
                     qPrintable(QStringLiteral("page %1: %2").arg(i + 1).arg(word.Text)));
        }
    }
    QCOMPARE(text, NoSpaces(captions.join(QString())));
}

void TestWindowPrint::Preview_data()
{
    QTest::addColumn<bool>("printEntry");   // "Tisk" chosen in the preview, else the preview closed
    QTest::addColumn<bool>("printAnswer");  // what the print dialog answers
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("box");

    QTest::newRow("printed") << true << true << "printed.pdf" << "";
    QTest::newRow("print dialog cancelled: the preview stays") << true << false << "" << "";
    QTest::newRow("preview closed") << false << false << "" << "";
    QTest::newRow("a file that cannot be written") << true << true << "" << "Rovinu se nepodařilo vytisknout.";
}

// The real preview, titled and labelled in the toolkit's Czech: its "Tisk"
// asks the print dialog over it, and prints as many pages as it shows.
void TestWindowPrint::Preview()
{
    QFETCH(bool, printEntry);
    QFETCH(bool, printAnswer);
    QFETCH(QString, file);
    QFETCH(QString, box);

    QStringList captions;
    OpenLesson(ShortPresses(40, &captions));
    const QString path = folder.filePath(file.isEmpty() ? "missing/print.pdf" : file);
    int asked = 0;
    SetPrintDialog([&](QPrinter& printer, QWidget* parent) {
        asked += qobject_cast<QPrintPreviewDialog*>(parent) != nullptr;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return printAnswer;
    });
    QString title;
    QStringList entries;
    int shown = 0;
    bool stayed = false;
    const auto entry = [this](const char* source) { return czech.translate("QPrintPreviewDialog", source); };
    WhenModal<QPrintPreviewDialog>(
        this, [](QPrintPreviewDialog* preview) { return preview->findChild<QPrintPreviewWidget*>()->pageCount() > 0; },
        [&](QPrintPreviewDialog* preview) {
            title = preview->windowTitle();
            shown = preview->findChild<QPrintPreviewWidget*>()->pageCount();
            for (QAction* action : preview->findChildren<QAction*>()) {
                entries << action->text();
                if (printEntry && action->text() == entry("Print"))
                    action->trigger();
            }
            stayed = preview->isVisible();
            if (stayed)
                preview->reject();
        });
    actions->Print->trigger();

    QCOMPARE(title, entry("Print Preview") + ": Parametrická křivka");
    for (const char* source : {"Print", "Page setup", "Zoom in", "Next page", "Show overview of all pages"}) {
        QVERIFY2(entry(source) != QLatin1String(source), source);
        QVERIFY2(entries.contains(entry(source)) && !entries.contains(source), qPrintable(entries.join(" | ")));
    }
    QVERIFY(shown >= 2);
    QCOMPARE(asked, printEntry ? 1 : 0);
    QCOMPARE(stayed, !printEntry || !printAnswer);
    QCOMPARE(fixture.Boxes.size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty())
        QCOMPARE(fixture.Boxes.first().text, box);
    QCOMPARE(QFile::exists(path), !file.isEmpty());
    if (!file.isEmpty()) {
        const QList<QList<PdfWord>> pages = PdfWords(path);
        QCOMPARE(int(pages.size()), shown);
        QString text;
        for (const QList<PdfWord>& page : pages) {
            for (const PdfWord& word : page)
                text += word.Text;
        }
        QCOMPARE(text, NoSpaces(captions.join(QString())));
    }
}

QTEST_MAIN(TestWindowPrint)
#include "test_windowprint.moc"
