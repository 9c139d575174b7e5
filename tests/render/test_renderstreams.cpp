// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-render as a process, its arguments and standard output: every
// argument reaches the disk byte for byte or is refused, a byte-order mark is
// kept (and so refused in a formula), and a full, closed or abandoned
// standard output is reported by the exit status, never by SIGPIPE.
#include <QtTest>


#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "RendererProcess.h"
#include "WorkFolder.h"

namespace {

const QString Hint = QStringLiteral("Použití: paramcurve-render [volby] [LEKCE.paramcurve] -o SOUBOR.png|gif|svg|pdf\nNápověda: paramcurve-render --help\n");

}  // namespace

class TestRenderStreams : public QObject {
    Q_OBJECT

private:
    bool nodesPermitted = false;

    WorkFolder work;

    QString Path(const QString& name) const { return work.Path(name); }
    QStringList Entries() const { return work.Entries(); }
    bool MakeFullDevice(const QString& path) const
    {
        return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 7)) == 0;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work.Open());
        nodesPermitted = MakeFullDevice(work.Beside("probe"));
        QFile::remove(work.Beside("probe"));
    }
    void init() { QVERIFY(work.Empty()); }

    void ArgumentBytes_data();
    void ArgumentBytes();
    void StandardOutput_data();
    void StandardOutput();
};

void TestRenderStreams::ArgumentBytes_data()
{
    QTest::addColumn<QString>("script");    // run in the folder; "$0" is the renderer
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("files");  // what the folder holds afterwards

    const QString bom = QString(QChar(0xFEFF));
    QTest::newRow("file name not UTF-8")
        << R"sh(exec "$0" -o "$(printf 'obr\341zek.png')")sh" << 2
        << "Argument není platný text v kódování UTF-8: obr\\xe1zek.png\n" + Hint << QStringList{};
    QTest::newRow("formula not UTF-8")
        << R"sh(exec "$0" -o plane.png --x "$(printf '3*\377')")sh" << 2
        << "Argument není platný text v kódování UTF-8: 3*\\xff\n" + Hint << QStringList{};
    QTest::newRow("file name in UTF-8 kept as given")
        << R"sh(exec "$0" -o "$(printf 'obr\303\241zek.png')")sh" << 0 << "" << QStringList{"obrázek.png"};
    QTest::newRow("byte-order mark before a formula")
        << R"sh(exec "$0" -o plane.png --x "$(printf '\357\273\2773*cos(t)')")sh" << 1 << "--x: Chybny vyraz\n"
        << QStringList{"plane.png"};
    QTest::newRow("byte-order mark before a bound")
        << R"sh(exec "$0" -o plane.png --t2 "$(printf '\357\273\2772*pi')")sh" << 1 << "--t2: Chybny vyraz\n"
        << QStringList{"plane.png"};
    QTest::newRow("byte-order mark before the segments")
        << R"sh(exec "$0" -o plane.png --segments "$(printf '\357\273\277100')")sh" << 1
        << "--segments: Počet segmentů není číslo\n" << QStringList{"plane.png"};
    QTest::newRow("byte-order mark kept in a file name")
        << R"sh(exec "$0" -o "$(printf '\357\273\277plane.png')")sh" << 0 << "" << QStringList{bom + "plane.png"};
}

void TestRenderStreams::ArgumentBytes()
{
    QFETCH(QString, script);
    QFETCH(int, exitStatus);
    QFETCH(QString, err);
    QFETCH(QStringList, files);
    const RendererRun run = RunRendererInShell("cd \"$1\" && shift && " + script, {work.Folder()});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, exitStatus);
    QCOMPARE(QString::fromUtf8(run.Err), err);
    QCOMPARE(Entries(), files);
}

void TestRenderStreams::StandardOutput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");  // "full": a private full device; "closed pipe"; "closed"; "pipe"
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("err");
    QTest::addColumn<bool>("picture");     // plane.png written

    QTest::newRow("help into a full device")
        << QStringList{"--help"} << "full" << 3
        << "Nápovědu se nepodařilo zapsat na standardní výstup: na disku není místo.\n" << false;
    QTest::newRow("points into a full device")
        << QStringList{"-o", "plane.png", "--points", "-"} << "full" << 3
        << "Body se nepodařilo zapsat na standardní výstup: na disku není místo.\n" << true;
    QTest::newRow("picture into a full device")
        << QStringList{"-o", "-"} << "full" << 3
        << "Obrázek se nepodařilo zapsat na standardní výstup: na disku není místo.\n" << false;
    QTest::newRow("points into a closed pipe, quietly")
        << QStringList{"-o", "plane.png", "--points", "-", "--segments", "1731"} << "closed pipe" << 3 << "" << true;
    QTest::newRow("help into a closed pipe, quietly") << QStringList{"--help"} << "closed pipe" << 3 << "" << false;
    QTest::newRow("points with standard output closed")
        << QStringList{"-o", "plane.png", "--points", "-"} << "closed" << 3
        << "Body se nepodařilo zapsat na standardní výstup: standardní výstup je zavřený.\n" << true;
    QTest::newRow("/dev/stdout with standard output closed")
        << QStringList{"-o", "/dev/stdout"} << "closed" << 3
        << "Obrázek se nepodařilo uložit do souboru /dev/stdout: standardní výstup je zavřený.\n" << false;
    QTest::newRow("picture to standard output") << QStringList{"-o", "-"} << "pipe" << 0 << "" << false;
    QTest::newRow("picture to /dev/stdout") << QStringList{"-o", "/dev/stdout"} << "pipe" << 0 << "" << false;
    QTest::newRow("picture to /dev/fd/1") << QStringList{"-o", "/dev/fd/1"} << "pipe" << 0 << "" << false;
}

// Never killed by SIGPIPE (Finished means a normal exit), never silent about
// a failed write except to a reader that went away.
void TestRenderStreams::StandardOutput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    QFETCH(int, exitStatus);
    QFETCH(QString, err);
    QFETCH(bool, picture);

    RendererSetup setup;
    int pipeEnds[2] = {-1, -1};
    if (output == "full") {
        if (!nodesPermitted)
            QSKIP("mknod is not permitted here; device nodes cannot be tested");
        QVERIFY(MakeFullDevice(Path("full")));
        setup.StandardOutputFile = Path("full");
    } else if (output == "closed pipe") {
        // A pipe whose only reader is gone before the renderer starts.
        QCOMPARE(::pipe(pipeEnds), 0);
        ::close(pipeEnds[0]);
        const int writeEnd = pipeEnds[1];
        setup.InChild = [writeEnd] { ::dup2(writeEnd, STDOUT_FILENO); };
    } else if (output == "closed") {
        setup.InChild = [] { ::close(STDOUT_FILENO); };
    }
    const RendererRun run = RunRendererInShell("cd \"$1\" && shift && exec \"$0\" \"$@\"", QStringList{work.Folder()} + arguments, setup);
    if (pipeEnds[1] >= 0)
        ::close(pipeEnds[1]);

    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, exitStatus);
    QCOMPARE(QString::fromUtf8(run.Err), err);
    QCOMPARE(QFile::exists(Path("plane.png")), picture);
    if (picture)
        QCOMPARE(QImage(Path("plane.png")).size(), QSize(500, 500));
    if (output == "pipe")
        QCOMPARE(QImage::fromData(run.Out, "PNG").size(), QSize(500, 500));
}

QTEST_GUILESS_MAIN(TestRenderStreams)
#include "test_renderstreams.moc"
