// paramcurve-render as a process against hostile names and streams: what a
// name points at is never replaced unless it is a regular file, one file is
// never written twice, arguments reach the disk byte for byte or are refused,
// and a full or closed standard output is reported by the exit status.
// Devices, FIFOs, sockets and links are made in a private folder.
#include <QtTest>

#include <QDeadlineTimer>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "RendererProcess.h"

namespace {

const QString Hint = QStringLiteral("Použití: paramcurve-render [volby] -o SOUBOR.png\nNápověda: paramcurve-render --help\n");

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

// A device node any user may open, whatever the umask.
bool MakeNode(const QString& path, mode_t type, unsigned major, unsigned minor)
{
    return ::mknod(Native(path).constData(), type | 0666, makedev(major, minor)) == 0
           && ::chmod(Native(path).constData(), 0666) == 0;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// Everything readable from a non-blocking descriptor until the writer closed.
QByteArray Drain(int descriptor)
{
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got <= 0)
            return bytes;
        bytes.append(buffer, got);
    }
}

bool IsCsv(const QByteArray& bytes)
{
    return bytes.startsWith("t,x,y\n") && bytes.count('\n') > 2;
}

}  // namespace

class TestRenderFiles : public QObject {
    Q_OBJECT

private:
    QTemporaryDir place;
    QString folder;  // emptied before every test
    bool nodesPermitted = false;

    QString Path(const QString& name) const { return folder + '/' + name; }
    QStringList Entries() const
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(place.isValid());
        ::umask(022);
        // Open to every user, for the runs as an unprivileged one.
        QVERIFY(::chmod(Native(place.path()).constData(), 0755) == 0);
        folder = place.filePath("work");
        nodesPermitted = MakeNode(place.filePath("probe"), S_IFCHR, 1, 3);
        QFile::remove(place.filePath("probe"));
    }
    void init()
    {
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(::chmod(Native(folder).constData(), 0777) == 0);
    }

    void ObjectsAtTheName_data();
    void ObjectsAtTheName();
    void WaitsForTheFifosReader();
    void OneFileTwice_data();
    void OneFileTwice();
    void ArgumentBytes_data();
    void ArgumentBytes();
    void StandardOutput_data();
    void StandardOutput();
    void AsUnprivilegedUser_data();
    void AsUnprivilegedUser();
};

void TestRenderFiles::ObjectsAtTheName_data()
{
    QTest::addColumn<QString>("option");  // "-o" or "--points"
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("reason");  // end of the message; empty when written
    QTest::addColumn<QString>("content"); // file expected to hold what was written

    QTest::newRow("-o private full device") << "-o" << "full" << 3 << "na disku není místo" << "";
    QTest::newRow("--points private full device") << "--points" << "full" << 3 << "na disku není místo" << "";
    QTest::newRow("-o private null device") << "-o" << "null" << 0 << "" << "";
    QTest::newRow("-o private block device") << "-o" << "block" << 3 << "je to blokové zařízení (disk)" << "";
    QTest::newRow("--points private block device")
        << "--points" << "block" << 3 << "je to blokové zařízení (disk)" << "";
    QTest::newRow("-o folder") << "-o" << "folder" << 3 << "je to složka" << "";
    QTest::newRow("--points folder") << "--points" << "folder" << 3 << "je to složka" << "";
    QTest::newRow("-o socket") << "-o" << "socket" << 3 << "je to soket" << "";
    QTest::newRow("-o link to a file") << "-o" << "link" << 0 << "" << "target";
    QTest::newRow("--points link to a file") << "--points" << "link" << 0 << "" << "target";
    QTest::newRow("-o dangling link") << "-o" << "dangling" << 0 << "" << "target";
    QTest::newRow("-o link to a private full device") << "-o" << "link to full" << 3 << "na disku není místo" << "";
    QTest::newRow("-o FIFO with a reader") << "-o" << "fifo" << 0 << "" << "";
    QTest::newRow("--points FIFO with a reader") << "--points" << "fifo" << 0 << "" << "";
    QTest::newRow("-o link loop") << "-o" << "loop" << 3 << "příliš mnoho symbolických odkazů" << "";
}

// The object at the name is the same one afterwards (a link stays a link);
// only a regular file behind it changes.
void TestRenderFiles::ObjectsAtTheName()
{
    QFETCH(QString, option);
    QFETCH(QString, kind);
    QFETCH(int, exitStatus);
    QFETCH(QString, reason);
    QFETCH(QString, content);

    const QString name = Path("name");
    const QByteArray native = Native(name);
    int reader = -1;
    if (kind == "full" || kind == "null" || kind == "block" || kind == "link to full") {
        if (!nodesPermitted)
            QSKIP("mknod is not permitted here; device nodes cannot be tested");
        const bool block = kind == "block";
        const QString node = kind == "link to full" ? Path("full") : name;
        QVERIFY(MakeNode(node, block ? S_IFBLK : S_IFCHR, block ? 7 : 1, block ? 200 : kind == "null" ? 3 : 7));
        if (kind == "link to full")
            QVERIFY(QFile::link("full", name));
    } else if (kind == "folder") {
        QVERIFY(QDir(folder).mkdir("name"));
    } else if (kind == "socket") {
        const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(std::size_t(native.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
        QCOMPARE(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(sock);
    } else if (kind == "link") {
        WriteFile(Path("target"), "old");
        QVERIFY(QFile::link("target", name));
    } else if (kind == "dangling") {
        QVERIFY(QFile::link("target", name));
    } else if (kind == "fifo") {
        QCOMPARE(::mkfifo(native.constData(), 0644), 0);
        reader = ::open(native.constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
    } else if (kind == "loop") {
        QVERIFY(QFile::link("hop", name));
        QVERIFY(QFile::link("name", Path("hop")));
    }
    struct stat before {};
    QCOMPARE(::lstat(native.constData(), &before), 0);

    const QString picture = option == "-o" ? name : Path("plane.png");
    QStringList arguments{"-o", picture};
    if (option == "--points")
        arguments << "--points" << name;
    const RendererRun run = RunRenderer(arguments);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, exitStatus);
    const QString what = option == "-o" ? "Obrázek" : "Body";
    QCOMPARE(QString::fromUtf8(run.Err),
             reason.isEmpty() ? QString() : QString("%1 se nepodařilo uložit do souboru %2: %3.\n").arg(what, name, reason));

    struct stat after {};
    QCOMPARE(::lstat(native.constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_rdev, before.st_rdev);
    if (!content.isEmpty()) {
        const QByteArray written = ReadAll(Path(content));
        QVERIFY(option == "-o" ? written.startsWith("\x89PNG") : IsCsv(written));
    }
    if (reader >= 0) {
        const QByteArray received = Drain(reader);
        ::close(reader);
        QVERIFY(option == "-o" ? QImage::fromData(received, "PNG").size() == QSize(500, 500) : IsCsv(received));
    }
    if (option == "--points")
        QVERIFY(ReadAll(Path("plane.png")).startsWith("\x89PNG"));
}

// A FIFO opened by its reader only after the render has had time to reach
// it: the renderer waits for the reader, as a shell's ">" does, and the FIFO
// stays a FIFO.
void TestRenderFiles::WaitsForTheFifosReader()
{
    const QString fifo = Path("points");
    QCOMPARE(::mkfifo(Native(fifo).constData(), 0644), 0);
    QByteArray received;
    RendererSetup setup;
    setup.Started = [&](QProcess& process) {
        QTest::qWait(300);
        const int reader = ::open(Native(fifo).constData(), O_RDONLY | O_NONBLOCK);
        QVERIFY(reader >= 0);
        // Until the writer has come and gone, or the renderer ended.
        QDeadlineTimer deadline(30000);
        for (;;) {
            char buffer[4096];
            const ssize_t got = ::read(reader, buffer, sizeof buffer);
            if (got > 0) {
                received.append(buffer, got);
                continue;
            }
            if ((got == 0 && !received.isEmpty()) || deadline.hasExpired()
                || process.waitForFinished(10))
                break;
        }
        received += Drain(reader);
        ::close(reader);
    };
    const RendererRun run = RunRenderer({"-o", Path("plane.png"), "--points", fifo}, setup);
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 0);
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    QVERIFY(IsCsv(received));
    QCOMPARE(received.count('\n'), 103);  // header and 102 points
}

void TestRenderFiles::OneFileTwice_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("points");
    QTest::newRow("one name") << "x.png" << "x.png";
    QTest::newRow("through ..") << "x.png" << "sub/../x.png";
    QTest::newRow("through a link") << "x.png" << "link.png";
    QTest::newRow("hard link") << "x.png" << "hard.png";
    QTest::newRow("a new name twice") << "new.png" << "sub/../new.png";
    QTest::newRow("standard output twice") << "-" << "-";
    QTest::newRow("standard output by two names") << "/dev/stdout" << "-";
}

// Refused before anything is written: the file keeps its content and no
// file appears.
void TestRenderFiles::OneFileTwice()
{
    QFETCH(QString, picture);
    QFETCH(QString, points);
    WriteFile(Path("x.png"), "old");
    QVERIFY(QDir(folder).mkdir("sub"));
    QVERIFY(QFile::link("x.png", Path("link.png")));
    QCOMPARE(::link(Native(Path("x.png")).constData(), Native(Path("hard.png")).constData()), 0);
    const QStringList entriesBefore = Entries();

    const auto name = [this](const QString& given) { return given.startsWith('/') || given == "-" ? given : Path(given); };
    const RendererRun run = RunRenderer({"-o", name(picture), "--points", name(points)});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, 2);
    QCOMPARE(QString::fromUtf8(run.Err), "Obrázek a body nelze zapsat do téhož souboru: " + name(points) + '\n' + Hint);
    QCOMPARE(run.Out, QByteArray());
    QCOMPARE(ReadAll(Path("x.png")), QByteArray("old"));
    QCOMPARE(Entries(), entriesBefore);
}

void TestRenderFiles::ArgumentBytes_data()
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

void TestRenderFiles::ArgumentBytes()
{
    QFETCH(QString, script);
    QFETCH(int, exitStatus);
    QFETCH(QString, err);
    QFETCH(QStringList, files);
    const RendererRun run = RunRendererInShell("cd \"$1\" && shift && " + script, {folder});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, exitStatus);
    QCOMPARE(QString::fromUtf8(run.Err), err);
    QCOMPARE(Entries(), files);
}

void TestRenderFiles::StandardOutput_data()
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
void TestRenderFiles::StandardOutput()
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
        QVERIFY(MakeNode(Path("full"), S_IFCHR, 1, 7));
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
    const RendererRun run = RunRendererInShell("cd \"$1\" && shift && exec \"$0\" \"$@\"", QStringList{folder} + arguments, setup);
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

void TestRenderFiles::AsUnprivilegedUser_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("exitStatus");
    QTest::addColumn<QString>("reason");
    QTest::newRow("root's file") << "root's file" << 3 << "soubor je chráněn proti zápisu";
    QTest::newRow("link to root's file") << "link to root's file" << 3 << "soubor je chráněn proti zápisu";
    QTest::newRow("root's folder") << "root's folder" << 3 << "chybí oprávnění k zápisu do složky";
    QTest::newRow("private full device") << "full" << 3 << "na disku není místo";
    QTest::newRow("own new file") << "new" << 0 << "";
}

// What a user may not write stays as it was; what the user may, is written
// with the user's ownership and the usual mode.
void TestRenderFiles::AsUnprivilegedUser()
{
    QFETCH(QString, kind);
    QFETCH(int, exitStatus);
    QFETCH(QString, reason);
    if (::geteuid() != 0)
        QSKIP("needs root to switch to another user");
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty())
        QSKIP("setpriv is not installed");

    QString name = Path("plane.png");
    if (kind == "root's file" || kind == "link to root's file") {
        WriteFile(Path("plane.png"), "root's");
        QCOMPARE(::chmod(Native(Path("plane.png")).constData(), 0644), 0);
        if (kind == "link to root's file") {
            name = Path("link.png");
            QVERIFY(QFile::link("plane.png", name));
        }
    } else if (kind == "root's folder") {
        QVERIFY(QDir(folder).mkdir("closed"));
        QCOMPARE(::chmod(Native(Path("closed")).constData(), 0755), 0);
        name = Path("closed/plane.png");
    } else if (kind == "full") {
        if (!nodesPermitted)
            QSKIP("mknod is not permitted here; device nodes cannot be tested");
        name = Path("full");
        QVERIFY(MakeNode(name, S_IFCHR, 1, 7));
    }
    const QStringList entriesBefore = Entries();

    const RendererRun run = RunProgram(setpriv, {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                                 PARAMCURVE_RENDER_PATH, "-o", name}, {});
    QVERIFY(run.Finished);
    QCOMPARE(run.ExitStatus, exitStatus);
    QCOMPARE(QString::fromUtf8(run.Err),
             reason.isEmpty() ? QString() : QString("Obrázek se nepodařilo uložit do souboru %1: %2.\n").arg(name, reason));
    if (kind == "new") {
        QCOMPARE(QFileInfo(name).owner(), QString("nobody"));
        struct stat status {};
        QCOMPARE(::stat(Native(name).constData(), &status), 0);
        QCOMPARE(status.st_mode & 07777, mode_t(0644));
        QCOMPARE(QImage(name).size(), QSize(500, 500));
    } else {
        QCOMPARE(Entries(), entriesBefore);
        if (kind != "root's folder" && kind != "full")
            QCOMPARE(ReadAll(Path("plane.png")), QByteArray("root's"));
    }
}

QTEST_GUILESS_MAIN(TestRenderFiles)
#include "test_renderfiles.moc"
