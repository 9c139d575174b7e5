// SPDX-License-Identifier: GPL-3.0-or-later
// "Tisk…": the toolkit's print preview, in Czech, from which the print dialog
// prints; and the page printed to a PDF file, read back with poppler: the
// plane scaled to fit at the top as the screen shows it, and under it a
// caption for each press since "Vymaž", oldest first, wrapped and continued
// over further pages with nothing cut.
#include <QtTest>

#include <QAction>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>

#include "../panel/PanelFixture.h"
#include "LessonDialogs.h"
#include "PlaneDialogs.h"
#include "TracePause.h"
#include "WhenModal.h"
#include "export/VectorCheck.h"

namespace {

// A word of a printed page as pdftotext places it, in points from the
// page's top left corner.
struct PdfWord {
    QString Text;
    QRectF Box;
};

QString Unescaped(QString text)
{
    return text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'").replace("&amp;", "&");
}

// The words of every page, in reading order.
QList<QList<PdfWord>> PdfWords(const QString& path)
{
    static const QRegularExpression page(QStringLiteral("<page "));
    static const QRegularExpression word(
        QStringLiteral(R"~(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)~"));
    QList<QList<PdfWord>> pages;
    for (const QString& line : RunTool("pdftotext", {"-bbox", "-enc", "UTF-8", path, "-"}).split(u'\n')) {
        if (line.contains(page))
            pages.append(QList<PdfWord>());
        const QRegularExpressionMatch found = word.match(line);
        if (found.hasMatch() && !pages.isEmpty()) {
            const QPointF from(found.captured(1).toDouble(), found.captured(2).toDouble());
            const QPointF to(found.captured(3).toDouble(), found.captured(4).toDouble());
            pages.last().append({Unescaped(found.captured(5)), QRectF(from, to)});
        }
    }
    return pages;
}

QString WithoutSpaces(QString text)
{
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    return text.remove(spaces);
}

// The printed words outside `plane` (where the axes' numbers are), run
// together: what the captions say, whatever lines they were broken into.
QString CaptionText(const QList<QList<PdfWord>>& pages, const QRectF& plane = QRectF())
{
    QString text;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        for (const PdfWord& word : pages[i]) {
            if (i > 0 || !plane.contains(word.Box))
                text += word.Text;
        }
    }
    return text;
}

// Words reaching out of the printable area, or (on the first page) into
// the plane without lying within it: anything cut off or overlapping.
QStringList WordsOutOfPlace(const QList<QList<PdfWord>>& pages, const QRectF& area, const QRectF& plane)
{
    QStringList misplaced;
    const QRectF inside = area.adjusted(-0.5, -0.5, 0.5, 0.5);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        for (const PdfWord& word : pages[i]) {
            const bool inPlane = i == 0 && plane.contains(word.Box);
            if (!inside.contains(word.Box) || (i == 0 && !inPlane && word.Box.top() < plane.bottom()))
                misplaced << QStringLiteral("page %1: %2").arg(i + 1).arg(word.Text);
        }
    }
    return misplaced;
}

QString Joined(const QStringList& captions)
{
    return WithoutSpaces(captions.join(QString()));
}

const QString Circle = QStringLiteral(
    "1. x = 3*cos(t), y = 3*sin(t); zorné pole x od -4 do 4, y od -4 do 4; parametr t od 0 do 2*pi; počet segmentů 100");

// A lesson of these presses, each given by the keys that differ from the
// panel at start.
QByteArray LessonOf(const QStringList& drawn)
{
    QStringList objects;
    for (const QString& press : drawn)
        objects << '{' + press + '}';
    return ("{\"paramcurve-lesson\": 1, \"drawn\": [" + objects.join(", ") + "]}").toUtf8();
}

// `count` presses of a few segments without axes, each its own curve.
QStringList ShortPresses(int count)
{
    QStringList drawn;
    for (int i = 0; i < count; ++i)
        drawn << QStringLiteral(R"~("x": "%1*cos(t)/10", "segments": "4", "axes": false)~").arg(i + 1);
    return drawn;
}

QStringList ShortCaptions(int count)
{
    QStringList captions;
    for (int i = 0; i < count; ++i)
        captions << QStringLiteral("%1. x = %1*cos(t)/10, y = 3*sin(t); zorné pole x od -4 do 4, y od -4 do 4; "
                                   "parametr t od 0 do 2*pi; počet segmentů 4")
                        .arg(i + 1);
    return captions;
}

QPageLayout Layout(QPageSize::PageSizeId paper, QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    return QPageLayout(QPageSize(paper), orientation, QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

// The plane's place on the first page, in points: the largest square the
// printable area holds, at its top, centred across.
QRectF PlaneOnPage(const QPageLayout& layout)
{
    const QRectF area = layout.paintRect(QPageLayout::Point);
    const qreal side = std::min(area.width(), area.height());
    return QRectF(area.left() + (area.width() - side) / 2, area.top(), side, side);
}

}  // namespace

class TestWindowPrint : public QObject {
    Q_OBJECT

private:
    PanelFixture fixture;
    QTemporaryDir folder;
    QTemporaryDir config;
    PlotMenu* actions = nullptr;
    QString lessonChosen;
    QTranslator czech;  // the toolkit's Czech, read from its file apart from the program

    QString Path(const QString& name) const { return folder.filePath(name); }

    void OpenLesson(const QStringList& drawn)
    {
        QFile file(Path("lesson.paramcurve"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(LessonOf(drawn)) > 0);
        file.close();
        lessonChosen = file.fileName();
        actions->OpenLesson->trigger();
        QVERIFY2(fixture.Boxes.isEmpty(), qPrintable(fixture.Boxes.value(0).text));
        QCOMPARE(TheDocument().Presses().size(), std::size_t(drawn.size()));
    }

    // "Tisk…" with the preview answered: printed at once, to a PDF file.
    void PrintTo(const QString& path, const QPageLayout& layout)
    {
        SetPrintPreview([&](QPrinter& printer, const PagePainter& paint, QWidget* parent) {
            if (parent != Draw2D)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageLayout(layout);
            paint(printer);
            return true;
        });
        actions->Print->trigger();
        SetPrintPreview(nullptr);
    }

    // The real preview's entry of that text in the toolkit's Czech.
    QAction* PreviewEntry(QPrintPreviewDialog* preview, const char* source)
    {
        for (QAction* action : preview->findChildren<QAction*>()) {
            if (action->text() == czech.translate("QPrintPreviewDialog", source))
                return action;
        }
        return nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid() && config.isValid());
        if (Tool("pdftoppm").isEmpty() || Tool("pdftotext").isEmpty() || Tool("pdfinfo").isEmpty())
            QSKIP("poppler-utils (pdftoppm, pdftotext, pdfinfo) not installed");
        // Opening lessons keeps them as recent: in a settings file of this test's own.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        QVERIFY2(czech.load(CzechToolkitTranslation()), "qtbase_cs.qm is not installed");
    }
    void init()
    {
        fixture.Start();
        actions = &TheMenu();
        lessonChosen.clear();
        SetLessonFileChooser([this](QWidget*, LessonDialog) { return lessonChosen; });
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

    void PlaneAtTheTopCaptionsBelow_data();
    void PlaneAtTheTopCaptionsBelow();
    void PlaneAsTheScreenShowsIt();
    void CaptionOfEachPress_data();
    void CaptionOfEachPress();
    void OnlyThePressesSinceVymaz();
    void LongCaptionsGoOnOverPages_data();
    void LongCaptionsGoOnOverPages();
    void PreviewIsCzech_data();
    void PreviewIsCzech();
    void PreviewPrintsThroughThePrintDialog_data();
    void PreviewPrintsThroughThePrintDialog();
    void RealPrintDialogFromThePreview();
    void FailedPrintReported();
};

void TestWindowPrint::PlaneAtTheTopCaptionsBelow_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<bool>("drawn");         // the circle drawn, else the plane as it starts
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("captionPage");    // where the caption is, from 0

    QTest::newRow("A4 portrait") << QPageSize::A4 << QPageLayout::Portrait << true << 1 << 0;
    QTest::newRow("A5 portrait") << QPageSize::A5 << QPageLayout::Portrait << true << 1 << 0;
    QTest::newRow("Letter landscape: caption on a page of its own") << QPageSize::Letter << QPageLayout::Landscape
                                                                     << true << 2 << 1;
    QTest::newRow("nothing drawn: no caption") << QPageSize::A4 << QPageLayout::Portrait << false << 1 << -1;
}

// The circle spans 6 of the plane's 8 units, from 1/8 of its side below its
// top; the plane fills the shorter side of the printable area, at its top,
// centred across. The caption is every word outside the plane.
void TestWindowPrint::PlaneAtTheTopCaptionsBelow()
{
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(bool, drawn);
    QFETCH(int, pages);
    QFETCH(int, captionPage);

    if (drawn)
        PressKresli();
    const QString path = Path("page.pdf");
    QFile::remove(path);
    const QPageLayout layout = Layout(paper, orientation);
    PrintTo(path, layout);
    QVERIFY(fixture.Boxes.isEmpty());
    QCOMPARE(PdfPages(path).first, pages);

    const int dpi = 50;
    const QImage page = RenderPdf(path, dpi, folder.path());
    QVERIFY(!page.isNull());
    const QRectF plane = PlaneOnPage(layout);
    const QRect blue = BlueBounds(page);
    if (!drawn) {
        QVERIFY(blue.isEmpty());
    } else {
        const double side = plane.width() * dpi / 72.0;
        QVERIFY2(std::abs(blue.width() - 0.75 * side) <= 3, qPrintable(QString::number(blue.width())));
        QVERIFY2(std::abs(blue.top() - (plane.top() * dpi / 72.0 + side / 8)) <= 2, qPrintable(QString::number(blue.top())));
        QVERIFY(std::abs(QRectF(blue).center().x() + 0.5 - plane.center().x() * dpi / 72.0) <= 2);
    }

    const QList<QList<PdfWord>> words = PdfWords(path);
    QCOMPARE(words.size(), pages);
    const QStringList misplaced = WordsOutOfPlace(words, layout.paintRect(QPageLayout::Point), plane);
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced.join(", ")));
    QCOMPARE(CaptionText(words, plane), drawn ? WithoutSpaces(Circle) : QString());
    if (captionPage > 0)
        QVERIFY(words[captionPage - 1].size() < 20);  // the axes' numbers only
}

// On a page whose printable width is the plane at 96 dpi, the printed
// plane rendered at 96 dpi is the plane on screen: its curve where the
// bitmap's is.
void TestWindowPrint::PlaneAsTheScreenShowsIt()
{
    // A rose of three petals, over both axes.
    Control_Panel->EditEq1->setText("3*cos(3*t)*cos(t)");
    Control_Panel->EditEq2->setText("3*cos(3*t)*sin(t)");
    Control_Panel->EditSeg->setText("300");
    PressKresli();
    const QString path = Path("screen.pdf");
    // 375 points wide (500 pixels at 96 dpi) between margins of 60 points
    // (80 pixels).
    const QPageLayout layout(QPageSize(QSizeF(495, 700), QPageSize::Point), QPageLayout::Portrait,
                             QMarginsF(60, 60, 60, 60), QPageLayout::Point);
    PrintTo(path, layout);
    QVERIFY(fixture.Boxes.isEmpty());
    const QImage page = RenderPdf(path, 96, folder.path());
    QCOMPARE(page.width(), 660);
    const QImage plane = ToQImage(Draw2D->Plane()).copy();
    const CurveMatch match = MatchCurve(plane, page.copy(80, 80, 500, 500));
    QVERIFY(match.Bitmap > 1000);
    QCOMPARE(match.BitmapMissed, 0);
    QCOMPARE(match.RenderedStray, 0);
}

void TestWindowPrint::CaptionOfEachPress_data()
{
    QTest::addColumn<QStringList>("drawn");     // the lesson's presses
    QTest::addColumn<QStringList>("captions");

    const QString start = "zorné pole x od -4 do 4, y od -4 do 4; parametr t od 0 do 2*pi";
    QTest::newRow("the circle at start") << QStringList{""} << QStringList{Circle};
    QTest::newRow("two presses, oldest first")
        << QStringList{"", R"~("x": "t/2", "y": "1/(t-2)", "t1": "-t", "t2": "4", "segments": "64", "t-before": "6.408849013323168")~"}
        << QStringList{Circle, "2. x = t/2, y = 1/(t-2); zorné pole x od -4 do 4, y od -4 do 4; parametr t od -t do 4; "
                               "počet segmentů 64"};
    QTest::newRow("texts as typed")
        << QStringList{R"~("x": "3*COS(t)", "x1": "-4,0", "y2": "+4", "t2": "6,2832", "segments": "050")~"}
        << QStringList{"1. x = 3*COS(t), y = 3*sin(t); zorné pole x od -4,0 do 4, y od -4 do +4; parametr t od 0 do "
                       "6,2832; počet segmentů 050"};
    QTest::newRow("values of the variables its formulas use")
        << QStringList{R"~("x": "r*cos(k*t)", "y": "r*sin(t)", "k": "2", "r": "3", "n": "5")~"}
        << QStringList{"1. x = r*cos(k*t), y = r*sin(t); " + start + "; počet segmentů 100; k = 2; r = 3"};
    QTest::newRow("a variable in a bound") << QStringList{R"~("x1": "-r-1", "r": "pi/2")~"}
                                           << QStringList{"1. x = 3*cos(t), y = 3*sin(t); zorné pole x od -r-1 do 4, "
                                                          "y od -4 do 4; parametr t od 0 do 2*pi; počet segmentů 100; "
                                                          "r = pi/2"};
    QTest::newRow("stopped by the user") << QStringList{R"~("segments": "60", "stopped-after": 21)~"}
                                         << QStringList{"1. x = 3*cos(t), y = 3*sin(t); " + start +
                                                        "; počet segmentů 60 (zastaveno po 21 bodech)"};
    QTest::newRow("a formula error") << QStringList{R"~("x": "1/t")~"}
                                     << QStringList{"1. x = 1/t, y = 3*sin(t); " + start +
                                                    "; počet segmentů 100 (skončilo dříve: Dělení nulou, Pole: x =)"};
    QTest::newRow("a refused field") << QStringList{R"~("segments": "abc")~"}
                                     << QStringList{"1. x = 3*cos(t), y = 3*sin(t); " + start +
                                                    "; počet segmentů abc (skončilo dříve: Počet segmentů není číslo, "
                                                    "Pole: počet segmentů)"};
    QTest::newRow("a fault with its cause")
        << QStringList{R"~("segments": "0")~"}
        << QStringList{"1. x = 3*cos(t), y = 3*sin(t); " + start +
                       "; počet segmentů 0 (skončilo dříve: Floating point division by zero. Počet segmentů je 0)"};
}

// Each press of the lesson opened, in order, with its texts as typed.
void TestWindowPrint::CaptionOfEachPress()
{
    QFETCH(QStringList, drawn);
    QFETCH(QStringList, captions);

    OpenLesson(drawn);
    const QString path = Path("captions.pdf");
    const QPageLayout layout = Layout(QPageSize::A4);
    PrintTo(path, layout);
    QVERIFY(fixture.Boxes.isEmpty());
    const QList<QList<PdfWord>> words = PdfWords(path);
    QCOMPARE(words.size(), 1);
    QCOMPARE(CaptionText(words, PlaneOnPage(layout)), Joined(captions));
}

// "Vymaž" forgets the presses before it: the page tells only what it shows.
void TestWindowPrint::OnlyThePressesSinceVymaz()
{
    PressKresli();
    QTest::mouseClick(Control_Panel->Button3, Qt::LeftButton);
    Control_Panel->EditSeg->setText("12");
    PressKresli();
    const QString path = Path("wiped.pdf");
    const QPageLayout layout = Layout(QPageSize::A4);
    PrintTo(path, layout);
    QString second = Circle;
    second.replace("počet segmentů 100", "počet segmentů 12");
    QCOMPARE(CaptionText(PdfWords(path), PlaneOnPage(layout)), WithoutSpaces(second));
}

void TestWindowPrint::LongCaptionsGoOnOverPages_data()
{
    QTest::addColumn<QStringList>("drawn");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<int>("fewestPages");

    QTest::newRow("sixty presses") << ShortPresses(60) << ShortCaptions(60) << 2;
    // Formulas without a space, broken anywhere: one of 228 characters, and
    // one of 2,808 (too long for the engine, so refused) whose caption goes
    // on over the second page.
    const QString formula = "3*cos(t)" + QString("+0*t").repeated(55);
    QTest::newRow("a formula longer than a line")
        << QStringList{QStringLiteral(R"~("x": "%1", "segments": "4", "axes": false)~").arg(formula)}
        << QStringList{"1. x = " + formula + ", y = 3*sin(t); zorné pole x od -4 do 4, y od -4 do 4; "
                                             "parametr t od 0 do 2*pi; počet segmentů 4"}
        << 1;
    const QString refused = "3*cos(t)" + QString("+0*t").repeated(700);
    QTest::newRow("a formula longer than a page")
        << QStringList{QStringLiteral(R"~("x": "%1", "segments": "4", "axes": false)~").arg(refused)}
        << QStringList{"1. x = " + refused + ", y = 3*sin(t); zorné pole x od -4 do 4, y od -4 do 4; "
                                             "parametr t od 0 do 2*pi; počet segmentů 4 (skončilo dříve: Chybny vyraz, "
                                             "Pole: x =)"}
        << 2;
}

// Every caption whole, in order, every word within the printable area of
// its page and none over the plane.
void TestWindowPrint::LongCaptionsGoOnOverPages()
{
    QFETCH(QStringList, drawn);
    QFETCH(QStringList, captions);
    QFETCH(int, fewestPages);

    OpenLesson(drawn);
    const QString path = Path("long.pdf");
    const QPageLayout layout = Layout(QPageSize::A4);
    PrintTo(path, layout);
    QVERIFY(fixture.Boxes.isEmpty());
    const QList<QList<PdfWord>> words = PdfWords(path);
    QVERIFY2(words.size() >= fewestPages, qPrintable(QString::number(words.size())));
    QCOMPARE(PdfPages(path).first, int(words.size()));
    const QRectF plane = PlaneOnPage(layout);
    const QStringList misplaced = WordsOutOfPlace(words, layout.paintRect(QPageLayout::Point), plane);
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced.join(", ")));
    QCOMPARE(CaptionText(words, plane), Joined(captions));
    for (const QList<PdfWord>& page : words)
        QVERIFY(!page.isEmpty());  // no blank page
}

void TestWindowPrint::PreviewIsCzech_data()
{
    QTest::addColumn<QString>("source");  // the toolkit's English text
    for (const char* source : {"Print", "Page setup", "Zoom in", "Zoom out", "Fit width", "Fit page", "Portrait",
                               "Landscape", "First page", "Previous page", "Next page", "Last page",
                               "Show single page", "Show facing pages", "Show overview of all pages"})
        QTest::newRow(source) << QString::fromLatin1(source);
}

// The real preview: titled "Náhled tisku" with the document's name, each of
// its entries in the toolkit's Czech (and not the English one).
void TestWindowPrint::PreviewIsCzech()
{
    QFETCH(QString, source);
    const QString expected = czech.translate("QPrintPreviewDialog", source.toLatin1().constData());
    QVERIFY2(!expected.isEmpty() && expected != source, qPrintable("no Czech text for " + source));

    QString title;
    QStringList entries;
    WhenModal<QPrintPreviewDialog>(this, [](QPrintPreviewDialog*) { return true; }, [&](QPrintPreviewDialog* preview) {
        title = preview->windowTitle();
        for (const QAction* action : preview->findChildren<QAction*>())
            entries << action->text();
        preview->reject();
    });
    actions->Print->trigger();
    QCOMPARE(title, czech.translate("QPrintPreviewDialog", "Print Preview") + ": Parametrická křivka");
    QVERIFY2(entries.contains(expected), qPrintable(entries.join(" | ")));
    QVERIFY(!entries.contains(source));
    QVERIFY(fixture.Boxes.isEmpty());
}

void TestWindowPrint::PreviewPrintsThroughThePrintDialog_data()
{
    QTest::addColumn<bool>("printEntry");  // "Tisk" in the preview, else the preview closed
    QTest::addColumn<bool>("printAnswer"); // what the print dialog answers
    QTest::addColumn<bool>("printed");

    QTest::newRow("printed") << true << true << true;
    QTest::newRow("print dialog cancelled: the preview stays") << true << false << false;
    QTest::newRow("preview closed") << false << false << false;
}

// The pages the preview shows are the pages printed: after "Tisk" in the
// preview and the print dialog answered, the file holds as many pages,
// with every caption, and the preview is gone.
void TestWindowPrint::PreviewPrintsThroughThePrintDialog()
{
    QFETCH(bool, printEntry);
    QFETCH(bool, printAnswer);
    QFETCH(bool, printed);

    OpenLesson(ShortPresses(40));
    const QString path = Path("previewed.pdf");
    QFile::remove(path);
    QList<bool> asked;  // whether over the preview
    SetPrintDialog([&](QPrinter& printer, QWidget* parent) {
        asked << (qobject_cast<QPrintPreviewDialog*>(parent) != nullptr);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return printAnswer;
    });
    int shown = -1;
    bool stayed = false;
    WhenModal<QPrintPreviewDialog>(this, [](QPrintPreviewDialog* preview) {
        return preview->findChild<QPrintPreviewWidget*>()->pageCount() > 0;
    }, [&](QPrintPreviewDialog* preview) {
        shown = preview->findChild<QPrintPreviewWidget*>()->pageCount();
        if (printEntry) {
            QAction* print = PreviewEntry(preview, "Print");
            QVERIFY(print);
            print->trigger();
        }
        stayed = preview->isVisible();
        if (stayed)
            preview->reject();
    });
    actions->Print->trigger();

    QVERIFY(shown >= 2);
    QCOMPARE(asked.size(), printEntry ? 1 : 0);
    if (printEntry)
        QVERIFY(asked.first());
    QCOMPARE(stayed, !printed);
    QCOMPARE(QFile::exists(path), printed);
    QVERIFY(fixture.Boxes.isEmpty());
    if (printed) {
        QCOMPARE(PdfPages(path).first, shown);
        QCOMPARE(CaptionText(PdfWords(path)), Joined(ShortCaptions(40)));
    }
}

// "Tisk" in the real preview opens the real print dialog, titled "Tisk";
// cancelled, nothing is printed and the preview stays.
void TestWindowPrint::RealPrintDialogFromThePreview()
{
    QString title;
    bool stayed = false;
    WhenModal<QPrintPreviewDialog>(this, [](QPrintPreviewDialog*) { return true; }, [&](QPrintPreviewDialog* preview) {
        WhenModal<QPrintDialog>(this, [](QPrintDialog*) { return true; }, [&](QPrintDialog* dialog) {
            title = dialog->windowTitle();
            dialog->reject();
        });
        QAction* print = PreviewEntry(preview, "Print");
        QVERIFY(print);
        print->trigger();
        stayed = preview->isVisible();
        preview->reject();
    });
    actions->Print->trigger();
    QCOMPARE(title, czech.translate("QPrintDialog", "Print"));
    QVERIFY(stayed);
    QVERIFY(fixture.Boxes.isEmpty());
}

// A file the printer cannot write: the box says so.
void TestWindowPrint::FailedPrintReported()
{
    PressKresli();
    const QString path = Path("missing/print.pdf");
    PrintTo(path, Layout(QPageSize::A4));
    QCOMPARE(fixture.Boxes.size(), 1);
    QCOMPARE(fixture.Boxes.first().text, QString("Rovinu se nepodařilo vytisknout."));
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestWindowPrint)
#include "test_windowprint.moc"
