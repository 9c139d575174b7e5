// SPDX-License-Identifier: GPL-3.0-or-later
// paramcurve-render as a process against hostile names: what a name points
// at is never replaced unless it is a regular file, one file is never
// written twice, and a user writes only what the user may. Devices, FIFOs,
// sockets and links are made in a private folder.
#include <QtTest>

#include <QDeadlineTimer>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "RendererProcess.h"
#include "WorkFolder.h"

namespace {

const QString Hint = QStringLiteral("Použití: paramcurve-render [volby] [LEKCE.paramcurve] -o SOUBOR.png|gif|svg|pdf\nNápověda: paramcurve-render --help\n");

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
    bool nodesPermitted = false;

    WorkFolder work;

    QString Path(const QString& name) const { return work.Path(name); }
    QStringList Entries() const { return work.Entries(); }

private slots:
    void initTestCase()
    {
        ::umask(022);
        QVERIFY(work.Open());
        nodesPermitted = MakeNode(work.Beside("probe"), S_IFCHR, 1, 3);
        QFile::remove(work.Beside("probe"));
    }
    void init()
    {
        QVERIFY(work.Empty());
        QVERIFY(::chmod(Native(work.Folder()).constData(), 0777) == 0);
    }

    void ObjectsAtTheName_data();
    void ObjectsAtTheName();
    void WaitsForTheFifosReader();
    void OneFileTwice_data();
    void OneFileTwice();
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
        QVERIFY(QDir(work.Folder()).mkdir("name"));
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
    QVERIFY(QDir(work.Folder()).mkdir("sub"));
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
        QVERIFY(QDir(work.Folder()).mkdir("closed"));
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
