// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-render and lesson files, run as its own process: the lesson
// written by --save-lesson draws the very picture its options drew; a
// lesson's presses are drawn in order, the errors named by press and key;
// the GIF and the points hold every press; a file that will not do is
// refused with exit 2 and nothing written; and the usage rules.
#include <QtTest>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include "../export/GifDecode.h"
#include "../render/RendererProcess.h"
#include "../render/WorkFolder.h"

namespace {

const QString Usage = QStringLiteral("Použití: paramcurve-render [volby] [LEKCE.paramcurve] -o SOUBOR.png|gif|svg|pdf\n"
                                     "Nápověda: paramcurve-render --help\n");
// A power that takes seconds to work out, stopped from inside.
const QString LongPower = QStringLiteral("1.0000001^2147483647");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Two whole presses of 4 and 6 segments: 6 and 8 points.
const QByteArray TwoPresses = R"~({"paramcurve-lesson": 1, "drawn": [
    {"t2": "1", "segments": "4"},
    {"x": "t", "y": "t", "t1": "-3", "t2": "3", "segments": "6", "color": "#00a000", "axes": false}]})~";

}  // namespace

class TestRenderLesson : public QObject {
    Q_OBJECT

private:
    WorkFolder work;
    QString Path(const QString& name) const { return work.Path(name); }

private slots:
    void initTestCase() { QVERIFY(work.Open()); }
    void init() { QVERIFY(work.Empty()); }

    void SavedLessonDrawsTheSamePicture_data();
    void SavedLessonDrawsTheSamePicture();
    void PressesNamedInMessages_data();
    void PressesNamedInMessages();
    void EveryPressInTheGifAndThePoints();
    void FileThatWillNotDo_data();
    void FileThatWillNotDo();
    void UnreadableToTheUser();
    void BadUsage_data();
    void BadUsage();
    void LessonWrittenOverItself();
    void SavedLessonNotWritable();
};

void TestRenderLesson::SavedLessonDrawsTheSamePicture_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitStatus");  // of the options; the lesson's is 1 for an error, 0 for a stop
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("lessonMessage");

    QTest::newRow("inputs at start") << QStringList{} << 0 << "" << "";
    QTest::newRow("planet orbit dashed in colour without axes")
        << QStringList{"--preset", "draha-planety", "--dashed", "--color", "230,10,0", "--no-axes"} << 0 << "" << "";
    QTest::newRow("folium to t = -1") << QStringList{"--preset", "descartuv-list", "--segments", "40"} << 1
                                      << "--x: Dělení nulou\n" << "Kreslení 1, \"x\": Dělení nulou\n";
    QTest::newRow("a window from formulas") << QStringList{"--x1", "-pi", "--x2", "0,5*2*pi", "--t2", "sqrt(2)"}
                                            << 0 << "" << "";
    QTest::newRow("a refused segment count") << QStringList{"--segments", "x"} << 1 << "--segments: Počet segmentů není číslo\n"
                                             << "Kreslení 1, \"segments\": Počet segmentů není číslo\n";
    QTest::newRow("variables in the formulas and a bound")
        << QStringList{"--x", "r*cos(k*t)", "--y", "r*sin(n*t)", "--x1", "-r-1", "--set", "k=2", "--set", "r=3",
                       "--set", "n=0,5*3"}
        << 0 << "" << "";
    QTest::newRow("a fault after the axes") << QStringList{"--segments", "0"} << 1
                                            << "Floating point division by zero.\nPočet segmentů je 0.\n"
                                            << "Kreslení 1: Floating point division by zero.\nPočet segmentů je 0.\n";
    QTest::newRow("stopped in its first point") << QStringList{"--x", "t+" + LongPower, "--timeout", "0.3"} << 1
                                                << "Kreslení bylo ukončeno, uplynul čas --timeout; uloží se obrázek, jak byl nakreslen.\n" << "";
    QTest::newRow("stopped in a bound: nothing drawn") << QStringList{"--x2", LongPower, "--timeout", "0.3"} << 1
                                                       << "Kreslení bylo ukončeno, uplynul čas --timeout; uloží se obrázek, jak byl nakreslen.\n" << "";
}

// The PNG and the GIF of the lesson are byte for byte those of the options
// that wrote it, also when the trace ended early.
void TestRenderLesson::SavedLessonDrawsTheSamePicture()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitStatus);
    QFETCH(QString, message);
    QFETCH(QString, lessonMessage);

    for (const QString format : {"png", "gif"}) {
        const RendererRun direct
            = RunRenderer(options + QStringList{"-o", Path("direct." + format), "--save-lesson", Path("l.paramcurve")});
        QVERIFY(direct.Finished);
        QCOMPARE(direct.ExitStatus, exitStatus);
        QCOMPARE(QString::fromUtf8(direct.Err), message);
        QVERIFY(QFile::exists(Path("l.paramcurve")));

        const RendererRun lesson = RunRenderer({Path("l.paramcurve"), "-o", Path("lesson." + format)});
        QVERIFY(lesson.Finished);
        QCOMPARE(lesson.ExitStatus, lessonMessage.isEmpty() ? 0 : 1);
        QCOMPARE(QString::fromUtf8(lesson.Err), lessonMessage);
        QVERIFY(!ReadAll(Path("direct." + format)).isEmpty());
        QCOMPARE(ReadAll(Path("lesson." + format)), ReadAll(Path("direct." + format)));
    }
}

void TestRenderLesson::PressesNamedInMessages_data()
{
    QTest::addColumn<QByteArray>("lesson");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("messages");

    QTest::newRow("every kind of early end, the rest drawn") << QByteArray(R"~({"paramcurve-lesson": 1, "drawn": [
            {"segments": "10"},
            {"x": "1/(t-pi)", "t2": "2*pi", "segments": "4"},
            {"segments": "0"},
            {"segments": "2000"},
            {"x1": "ln(0)"},
            {"y": "2t"},
            {"segments": "10", "stopped-after": 3},
            {"segments": "10", "color": "#00a000"}]})~")
        << 1
        << "Kreslení 2, \"x\": Dělení nulou\n"
           "Kreslení 3: Floating point division by zero.\n"
           "Počet segmentů je 0.\n"
           "Kreslení 4, \"segments\": Počet segmentů musí být číslo od 1 do 1731\n"
           "Kreslení 5, \"x1\": Nepřípustný argument logaritmu\n"
           "Kreslení 6, \"y\": Chybný výraz\n";
    QTest::newRow("a press the user stopped is no error")
        << QByteArray(R"~({"paramcurve-lesson": 1, "drawn": [{"stopped-after": 5}]})~") << 0 << "";
    QTest::newRow("nothing drawn") << QByteArray(R"~({"paramcurve-lesson": 1})~") << 0 << "";
}

void TestRenderLesson::PressesNamedInMessages()
{
    QFETCH(QByteArray, lesson);
    QFETCH(int, exitStatus);
    QFETCH(QString, messages);

    WriteFile(Path("l.paramcurve"), lesson);
    const RendererRun run = RunRenderer({Path("l.paramcurve"), "-o", Path("l.png")});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, exitStatus);
    QCOMPARE(QString::fromUtf8(run.Err), messages);
    QCOMPARE(ReadPicture(Path("l.png")).size(), QSize(500, 500));
    if (lesson.contains("#00a000"))  // drawn after the early ends
        QVERIFY(PixelsOf(ReadPicture(Path("l.png")), 0, 160, 0) > 0);
}

// One frame per step of every press, in order; the points of every press
// under one header.
void TestRenderLesson::EveryPressInTheGifAndThePoints()
{
    WriteFile(Path("two.paramcurve"), TwoPresses);
    WriteFile(Path("first.paramcurve"), QByteArray(TwoPresses).replace(R"~(},
    {"x": "t")~", R"~(}], "ignored": [{"x": "t")~"));
    const RendererRun gif = RunRenderer({Path("two.paramcurve"), "-o", Path("two.gif"), "--points", Path("two.csv")});
    QCOMPARE(gif.ExitStatus, 0);
    QCOMPARE(RunRenderer({Path("two.paramcurve"), "-o", Path("two.png")}).ExitStatus, 0);
    QCOMPARE(RunRenderer({Path("first.paramcurve"), "-o", Path("first.png")}).ExitStatus, 0);

    const DecodedGif decoded = DecodeGif(ReadAll(Path("two.gif")));
    QVERIFY2(decoded.Error.isEmpty(), qPrintable(decoded.Error));
    QCOMPARE(int(decoded.Frames.size()), 6 + 8);
    QVERIFY(decoded.Frames[5] == ReadPicture(Path("first.png")));
    // Step 0 of the second press draws no segment yet; its step 1 does.
    QVERIFY(decoded.Frames[6] == decoded.Frames[5]);
    QVERIFY(decoded.Frames[7] != decoded.Frames[6]);
    QVERIFY(decoded.Frames.back() == ReadPicture(Path("two.png")));

    const QList<QByteArray> rows = ReadAll(Path("two.csv")).split('\n');
    QCOMPARE(rows.size(), 1 + 6 + 8 + 1);
    QCOMPARE(rows[0], QByteArray("t,x,y"));
    QCOMPARE(rows[1], QByteArray("0,3,0"));
    QCOMPARE(rows[7], QByteArray("-3,-3,-3"));
}

void TestRenderLesson::FileThatWillNotDo_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << "missing" << QByteArray() << "soubor neexistuje";
    QTest::newRow("in a missing folder") << "missing/l.paramcurve" << QByteArray() << "soubor neexistuje";
    QTest::newRow("below a file") << "file/l.paramcurve" << QByteArray("{}") << "část cesty není složka";
    QTest::newRow("a folder") << "folder" << QByteArray() << "je to složka";
    QTest::newRow("a FIFO, not waited for") << "fifo" << QByteArray() << "je to roura (FIFO), lekce musí být obyčejný soubor";
    QTest::newRow("a device") << "/dev/null" << QByteArray() << "je to zařízení, lekce musí být obyčejný soubor";
    QTest::newRow("a link loop") << "loop" << QByteArray() << "příliš mnoho symbolických odkazů";
    QTest::newRow("over 1 MiB") << "file" << QByteArray(1024 * 1024 + 1, '\n') << "soubor je větší než 1 MiB";
    QTest::newRow("malformed") << "file" << QByteArray("{\"paramcurve-lesson\": 1,}")
                               << "soubor není platný JSON: chybí hodnota (řádek 1, znak 25)";
    QTest::newRow("a picture") << "file" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                               << "soubor obsahuje nulový bajt, není to text";
    QTest::newRow("a number where a text is expected") << "file"
        << QByteArray(R"~({"paramcurve-lesson": 1, "drawn": [{}, {"x1": -4}]})~")
        << "kreslení 2 v \"drawn\", klíč \"x1\": má být text v uvozovkách";
}

// Exit 2, the file and the reason named, nothing written.
void TestRenderLesson::FileThatWillNotDo()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);

    QString name = Path("l.paramcurve");
    if (kind == "folder") {
        QVERIFY(QDir().mkpath(name));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    } else if (kind == "loop") {
        QVERIFY(QFile::link(Path("l.paramcurve"), Path("l.paramcurve")));
    } else if (kind == "file") {
        WriteFile(name, bytes);
    } else if (kind.startsWith('/')) {
        name = kind;
    } else if (kind != "missing") {
        name = Path(kind);
        if (kind.startsWith("file/"))
            WriteFile(Path("file"), bytes);
    }
    const RendererRun run = RunRenderer({name, "-o", Path("l.png"), "--points", Path("l.csv")});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 2);
    QCOMPARE(QString::fromUtf8(run.Err), QString("Lekci ze souboru %1 nelze otevřít: %2.\n").arg(name, reason));
    QCOMPARE(run.Out, QByteArray());
    QVERIFY(!QFile::exists(Path("l.png")));
    QVERIFY(!QFile::exists(Path("l.csv")));
}

// Root reads any file: the renderer runs as nobody for a lesson only root
// may read, and for a link to it.
void TestRenderLesson::UnreadableToTheUser()
{
    if (::geteuid() != 0)
        QSKIP("needs root to switch to another user");
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty())
        QSKIP("setpriv is not installed");
    QVERIFY(::chmod(QFile::encodeName(work.Folder()).constData(), 0777) == 0);
    WriteFile(Path("private.paramcurve"), TwoPresses);
    QCOMPARE(::chmod(QFile::encodeName(Path("private.paramcurve")).constData(), 0600), 0);
    QVERIFY(QFile::link(Path("private.paramcurve"), Path("link.paramcurve")));
    WriteFile(Path("open.paramcurve"), TwoPresses);

    for (const QString& name : {Path("private.paramcurve"), Path("link.paramcurve")}) {
        const RendererRun run = RunProgram(setpriv, {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                                     PARAMCURVE_RENDER_PATH, name, "-o", Path("nobody.png")}, {});
        QCOMPARE(run.ExitStatus, 2);
        QCOMPARE(QString::fromUtf8(run.Err),
                 QString("Lekci ze souboru %1 nelze otevřít: chybí oprávnění ke čtení.\n").arg(name));
        QVERIFY(!QFile::exists(Path("nobody.png")));
    }
    const RendererRun readable = RunProgram(setpriv, {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                                      PARAMCURVE_RENDER_PATH, Path("open.paramcurve"), "-o",
                                                      Path("nobody.png")}, {});
    QCOMPARE(readable.ExitStatus, 0);
    QCOMPARE(ReadPicture(Path("nobody.png")).size(), QSize(500, 500));
}

void TestRenderLesson::BadUsage_data()
{
    QTest::addColumn<QStringList>("arguments");  // "L" is the lesson file, "P" the picture
    QTest::addColumn<QString>("reason");

    QTest::newRow("a lesson with a formula") << QStringList{"L", "-o", "P", "--x", "t"}
                                             << "Lekci nelze kreslit s volbou --x; lekce určuje všechna pole sama";
    QTest::newRow("a lesson with a bound") << QStringList{"-x1=-5", "L", "-o", "P"}
                                           << "Lekci nelze kreslit s volbou --x1; lekce určuje všechna pole sama";
    QTest::newRow("a lesson with a preset") << QStringList{"L", "--preset", "kruznice", "-o", "P"}
                                            << "Lekci nelze kreslit s volbou --preset; lekce určuje všechna pole sama";
    QTest::newRow("a lesson with a colour") << QStringList{"L", "--color", "1,2,3", "-o", "P"}
                                            << "Lekci nelze kreslit s volbou --color; lekce určuje všechna pole sama";
    QTest::newRow("a lesson dashed") << QStringList{"L", "--dashed", "-o", "P"}
                                     << "Lekci nelze kreslit s volbou --dashed; lekce určuje všechna pole sama";
    QTest::newRow("a lesson without axes") << QStringList{"L", "--no-axes", "-o", "P"}
                                           << "Lekci nelze kreslit s volbou --no-axes; lekce určuje všechna pole sama";
    QTest::newRow("two lessons") << QStringList{"L", "L", "-o", "P"} << "Nadbytečný argument: L";
    QTest::newRow("the picture over the lesson") << QStringList{"L", "-o", "L"}
                                                 << "Do souboru lekce, která se kreslí, nelze zapsat obrázek ani body: L";
    QTest::newRow("the points over the lesson") << QStringList{"L", "-o", "P", "--points", "L"}
                                                << "Do souboru lekce, která se kreslí, nelze zapsat obrázek ani body: L";
    QTest::newRow("the saved lesson over the picture") << QStringList{"-o", "P", "--save-lesson", "P"}
                                                       << "Obrázek a lekci nelze zapsat do téhož souboru: P";
    QTest::newRow("the saved lesson over the points")
        << QStringList{"-o", "P", "--points", "-", "--save-lesson", "/dev/stdout"}
        << "Body a lekci nelze zapsat do téhož souboru: /dev/stdout";
    QTest::newRow("--save-lesson without a name") << QStringList{"-o", "P", "--save-lesson", ""}
                                                  << "Volba --save-lesson potřebuje SOUBOR";
    QTest::newRow("--save-lesson twice") << QStringList{"-o", "P", "--save-lesson", "a", "--save-lesson", "b"}
                                         << "Volba --save-lesson je zadána dvakrát";
}

void TestRenderLesson::BadUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);

    WriteFile(Path("l.paramcurve"), TwoPresses);
    QStringList given;
    for (const QString& argument : arguments)
        given << (argument == "L" ? Path("l.paramcurve") : argument == "P" ? Path("p.png") : argument);
    reason.replace(QRegularExpression(": L$"), ": " + Path("l.paramcurve"))
        .replace(QRegularExpression(": P$"), ": " + Path("p.png"));
    const RendererRun run = RunRenderer(given);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 2);
    QCOMPARE(QString::fromUtf8(run.Err), reason + '\n' + Usage);
    QCOMPARE(run.Out, QByteArray());
    QVERIFY(!QFile::exists(Path("p.png")));
    QCOMPARE(ReadAll(Path("l.paramcurve")), TwoPresses);
}

// The lesson drawn may be written again in its place: it was read whole.
void TestRenderLesson::LessonWrittenOverItself()
{
    WriteFile(Path("l.paramcurve"), TwoPresses);
    const RendererRun run = RunRenderer({Path("l.paramcurve"), "-o", Path("a.png"), "--save-lesson", Path("l.paramcurve")});
    QCOMPARE(run.ExitStatus, 0);
    const QByteArray rewritten = ReadAll(Path("l.paramcurve"));
    QVERIFY(rewritten.startsWith("{\n    \"paramcurve-lesson\": 1,"));
    QCOMPARE(rewritten.count("\"t-before\""), 3);
    QCOMPARE(RunRenderer({Path("l.paramcurve"), "-o", Path("b.png")}).ExitStatus, 0);
    QCOMPARE(ReadAll(Path("b.png")), ReadAll(Path("a.png")));
}

void TestRenderLesson::SavedLessonNotWritable()
{
    QVERIFY(QDir().mkpath(Path("folder")));
    const RendererRun run = RunRenderer({"-o", Path("p.png"), "--save-lesson", Path("folder")});
    QCOMPARE(run.ExitStatus, 3);
    QCOMPARE(QString::fromUtf8(run.Err), QString("Lekci se nepodařilo uložit do souboru %1: je to složka.\n").arg(Path("folder")));
    QCOMPARE(ReadPicture(Path("p.png")).size(), QSize(500, 500));

    // Nothing at all can be written: said before the trace.
    const RendererRun none = RunRenderer({"-o", Path("folder"), "--save-lesson", Path("missing/l.paramcurve")});
    QCOMPARE(none.ExitStatus, 3);
    QCOMPARE(QString::fromUtf8(none.Err),
             QString("Obrázek se nepodařilo uložit do souboru %1: je to složka.\n"
                     "Lekci se nepodařilo uložit do souboru %2: složka neexistuje.\n")
                 .arg(Path("folder"), Path("missing/l.paramcurve")));
}

QTEST_GUILESS_MAIN(TestRenderLesson)
#include "test_renderlesson.moc"
