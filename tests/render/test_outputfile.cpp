// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file by its name: what the name points at decides how, and
// nothing but a regular file is ever replaced. Devices, FIFOs, sockets and
// links are made in a private folder, never taken from /dev.
#include <QtTest>

#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "OutputFile.h"

namespace {

const QByteArray Payload = "payload\n";

// What stands at the name before the write.
enum class Setup {
    Nothing,
    RegularFile,       // "old", mode 0640
    LinkToFile,        // name -> file.txt ("old")
    DanglingLink,      // name -> missing.txt
    ChainOfLinks,      // name -> hop -> file.txt
    LinkLoop,          // name -> hop -> name
    Folder,
    Socket,
    BlockDevice,       // a loop device's numbers
    NullDevice,        // the numbers of /dev/null
    FullDevice,        // the numbers of /dev/full
    LinkToNullDevice,  // name -> null device
    FifoWithoutReader,
    FifoWithReader,
    FifoReaderLeaves,  // the reader closes while the content is written
    NameInMissingFolder,
    TrailingSlash,
};

// What must stand at the name afterwards.
enum class After { Content, Untouched };

}  // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(After)

class TestOutputFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder;
    int reader = -1;  // read end of the FIFO rows
    bool nodesPermitted = false;

    QString Path(const QString& name) const { return folder.filePath(name); }
    QByteArray Native(const QString& name) const { return QFile::encodeName(Path(name)); }

    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    void WriteFile(const QString& name, const QByteArray& content, mode_t mode)
    {
        QFile file(Path(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        QCOMPARE(::chmod(Native(name).constData(), mode), 0);
    }

    void MakeNode(const QString& name, mode_t type, unsigned major, unsigned minor)
    {
        QCOMPARE(::mknod(Native(name).constData(), type | 0666, makedev(major, minor)), 0);
    }

    static bool NeedsNodes(Setup setup)
    {
        return setup == Setup::BlockDevice || setup == Setup::NullDevice || setup == Setup::FullDevice
               || setup == Setup::LinkToNullDevice;
    }

    // Leftover temporary files are the one thing a failed write may not leave.
    QStringList Leftovers() const
    {
        return QDir(folder.path()).entryList({".*.tmp"}, QDir::Files | QDir::Hidden | QDir::System);
    }

    void Prepare(Setup setup, const QString& name)
    {
        const QByteArray path = Native(name);
        switch (setup) {
        case Setup::Nothing:
        case Setup::NameInMissingFolder:
        case Setup::TrailingSlash:
            break;
        case Setup::RegularFile:
            WriteFile(name, "old", 0640);
            break;
        case Setup::LinkToFile:
            WriteFile("file.txt", "old", 0644);
            QCOMPARE(::symlink("file.txt", path.constData()), 0);
            break;
        case Setup::DanglingLink:
            QCOMPARE(::symlink("missing.txt", path.constData()), 0);
            break;
        case Setup::ChainOfLinks:
            WriteFile("file.txt", "old", 0644);
            QCOMPARE(::symlink("file.txt", Native("hop").constData()), 0);
            QCOMPARE(::symlink("hop", path.constData()), 0);
            break;
        case Setup::LinkLoop:
            QCOMPARE(::symlink(name.toUtf8().constData(), Native("hop").constData()), 0);
            QCOMPARE(::symlink("hop", path.constData()), 0);
            break;
        case Setup::Folder:
            QVERIFY(QDir(folder.path()).mkdir(name));
            break;
        case Setup::Socket: {
            const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            QVERIFY(std::size_t(path.size()) < sizeof address.sun_path);
            std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
            QCOMPARE(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
            ::close(sock);
            break;
        }
        case Setup::BlockDevice:
            MakeNode(name, S_IFBLK, 7, 200);
            break;
        case Setup::NullDevice:
            MakeNode(name, S_IFCHR, 1, 3);
            break;
        case Setup::FullDevice:
            MakeNode(name, S_IFCHR, 1, 7);
            break;
        case Setup::LinkToNullDevice:
            MakeNode("null", S_IFCHR, 1, 3);
            QCOMPARE(::symlink("null", path.constData()), 0);
            break;
        case Setup::FifoWithoutReader:
            QCOMPARE(::mkfifo(path.constData(), 0644), 0);
            break;
        case Setup::FifoWithReader:
        case Setup::FifoReaderLeaves:
            QCOMPARE(::mkfifo(path.constData(), 0644), 0);
            reader = ::open(path.constData(), O_RDONLY | O_NONBLOCK);
            QVERIFY(reader >= 0);
            break;
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        ::umask(022);
        // Device nodes need root (or CAP_MKNOD); without it those rows skip.
        nodesPermitted = ::mknod(Native("probe").constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        QFile::remove(Path("probe"));
    }
    void cleanup()
    {
        if (reader >= 0)
            ::close(reader);
        reader = -1;
        QDir(folder.path()).removeRecursively();
        QVERIFY(QDir().mkpath(folder.path()));
    }

    void WritesByWhatTheNameIs_data();
    void WritesByWhatTheNameIs();
    void NewFileTakesTheUmask_data();
    void NewFileTakesTheUmask();
    void FailedWriterLeavesTheFileAlone();
    void SameFile_data();
    void SameFile();
    void DisplayedPathEscapesControls();
};

void TestOutputFile::WritesByWhatTheNameIs_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("reason");       // the end of the message when refused
    QTest::addColumn<QString>("contentAt");    // where the content lands; empty: nowhere
    QTest::addColumn<mode_t>("type");          // what stands at the name afterwards

    QTest::newRow("new name") << Setup::Nothing << true << "" << "out" << mode_t(S_IFREG);
    QTest::newRow("regular file replaced") << Setup::RegularFile << true << "" << "out" << mode_t(S_IFREG);
    QTest::newRow("link to a file") << Setup::LinkToFile << true << "" << "file.txt" << mode_t(S_IFLNK);
    QTest::newRow("dangling link creates its target")
        << Setup::DanglingLink << true << "" << "missing.txt" << mode_t(S_IFLNK);
    QTest::newRow("chain of links") << Setup::ChainOfLinks << true << "" << "file.txt" << mode_t(S_IFLNK);
    QTest::newRow("link loop") << Setup::LinkLoop << false << "příliš mnoho symbolických odkazů" << ""
                               << mode_t(S_IFLNK);
    QTest::newRow("folder") << Setup::Folder << false << "je to složka" << "" << mode_t(S_IFDIR);
    QTest::newRow("socket") << Setup::Socket << false << "je to soket" << "" << mode_t(S_IFSOCK);
    QTest::newRow("block device") << Setup::BlockDevice << false << "je to blokové zařízení (disk)" << ""
                                  << mode_t(S_IFBLK);
    QTest::newRow("null device written in place") << Setup::NullDevice << true << "" << "" << mode_t(S_IFCHR);
    QTest::newRow("full device") << Setup::FullDevice << false << "na disku není místo" << "" << mode_t(S_IFCHR);
    QTest::newRow("link to a null device") << Setup::LinkToNullDevice << true << "" << "" << mode_t(S_IFLNK);
    QTest::newRow("FIFO nobody reads") << Setup::FifoWithoutReader << false << "z roury nikdo nečte" << ""
                                       << mode_t(S_IFIFO);
    QTest::newRow("FIFO with a reader") << Setup::FifoWithReader << true << "" << "" << mode_t(S_IFIFO);
    QTest::newRow("FIFO whose reader leaves") << Setup::FifoReaderLeaves << false << "čtenář už skončil" << ""
                                              << mode_t(S_IFIFO);
    QTest::newRow("missing folder") << Setup::NameInMissingFolder << false << "složka neexistuje" << ""
                                    << mode_t(0);
    QTest::newRow("name ending in a slash") << Setup::TrailingSlash << false << "není to název souboru" << ""
                                            << mode_t(0);
}

void TestOutputFile::WritesByWhatTheNameIs()
{
    QFETCH(Setup, setup);
    QFETCH(bool, ok);
    QFETCH(QString, reason);
    QFETCH(QString, contentAt);
    QFETCH(mode_t, type);

    QString name = "out";
    if (setup == Setup::NameInMissingFolder)
        name = "missing/out";
    else if (setup == Setup::TrailingSlash)
        name = "out/";
    if (NeedsNodes(setup) && !nodesPermitted)
        QSKIP("mknod is not permitted here; device nodes cannot be tested");
    Prepare(setup, name);
    if (QTest::currentTestFailed())
        return;
    struct stat before {};
    const bool existed = ::lstat(Native(name).constData(), &before) == 0;

    const ContentWriter writer = [this, setup](QIODevice& device) {
        if (setup == Setup::FifoReaderLeaves) {
            ::close(reader);
            reader = -1;
        }
        return device.write(Payload) == Payload.size();
    };
    OutputFileOptions options;
    options.WaitForReader = false;
    const OutputFileResult result = WriteOutputFile(Path(name), "Obsah", writer, options);

    QCOMPARE(result.Ok, ok);
    QCOMPARE(result.ReaderGone, setup == Setup::FifoReaderLeaves);
    if (ok)
        QCOMPARE(result.Message, QString());
    else
        QCOMPARE(result.Message, QString("Obsah se nepodařilo uložit do souboru %1: %2.").arg(Path(name), reason));

    struct stat after {};
    if (type == 0) {
        QVERIFY(::lstat(Native(name).constData(), &after) != 0);
    } else {
        QCOMPARE(::lstat(Native(name).constData(), &after), 0);
        QCOMPARE(after.st_mode & S_IFMT, type);
        // Anything but a regular file is the very same object as before.
        if (existed && type != S_IFREG) {
            QCOMPARE(after.st_ino, before.st_ino);
            QCOMPARE(after.st_rdev, before.st_rdev);
        }
    }
    if (!contentAt.isEmpty())
        QCOMPARE(Read(contentAt), Payload);
    if (setup == Setup::RegularFile) {
        QCOMPARE(after.st_mode & 07777, mode_t(0640));
    }
    if (setup == Setup::LinkToFile || setup == Setup::ChainOfLinks || setup == Setup::DanglingLink)
        QVERIFY(QFileInfo(Path(name)).isSymLink());
    if (setup == Setup::FifoWithReader) {
        char buffer[64] = {};
        QCOMPARE(::read(reader, buffer, sizeof buffer), ssize_t(Payload.size()));
        QCOMPARE(QByteArray(buffer), Payload);
    }
    QCOMPARE(Leftovers(), QStringList());
}

void TestOutputFile::NewFileTakesTheUmask_data()
{
    QTest::addColumn<mode_t>("umask");
    QTest::addColumn<mode_t>("mode");
    QTest::newRow("022") << mode_t(022) << mode_t(0644);
    QTest::newRow("077") << mode_t(077) << mode_t(0600);
    QTest::newRow("002") << mode_t(002) << mode_t(0664);
}

// Not the 0600 of a private temporary file: what any program would create.
void TestOutputFile::NewFileTakesTheUmask()
{
    QFETCH(mode_t, umask);
    QFETCH(mode_t, mode);
    const mode_t previous = ::umask(umask);
    const OutputFileResult result = WriteOutputFile(Path("new"), "Obsah", [](QIODevice& device) {
        return device.write(Payload) == Payload.size();
    });
    ::umask(previous);
    QVERIFY2(result.Ok, qPrintable(result.Message));
    struct stat status {};
    QCOMPARE(::stat(Native("new").constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, mode);
}

// A writer that fails halfway leaves the old file as it was and no
// temporary file behind.
void TestOutputFile::FailedWriterLeavesTheFileAlone()
{
    WriteFile("kept", "old content", 0600);
    const OutputFileResult result = WriteOutputFile(Path("kept"), "Obsah", [](QIODevice& device) {
        device.write("half");
        return false;
    });
    QVERIFY(!result.Ok);
    QCOMPARE(result.Message, QString("Obsah se nepodařilo uložit do souboru %1: zápis dat selhal.").arg(Path("kept")));
    QCOMPARE(Read("kept"), QByteArray("old content"));
    QCOMPARE(Leftovers(), QStringList());
}

void TestOutputFile::SameFile_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("same");
    QTest::newRow("one spelling") << "x.png" << "x.png" << true;
    QTest::newRow("through ..") << "x.png" << "sub/../x.png" << true;
    QTest::newRow("through a linked folder") << "x.png" << "linked/x.png" << true;
    QTest::newRow("link and target") << "x.png" << "link.png" << true;
    QTest::newRow("hard link") << "x.png" << "hard.png" << true;
    QTest::newRow("new name twice") << "new.png" << "sub/../new.png" << true;
    QTest::newRow("two files") << "x.png" << "y.png" << false;
    QTest::newRow("two new names") << "new.png" << "other.png" << false;
    QTest::newRow("standard output twice") << "-" << "-" << true;
    QTest::newRow("standard output and a file") << "-" << "x.png" << false;
    QTest::newRow("a character device through two names") << "null" << "nulllink" << false;
}

void TestOutputFile::SameFile()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, same);
    WriteFile("x.png", "x", 0644);
    WriteFile("y.png", "y", 0644);
    QVERIFY(QDir(folder.path()).mkdir("sub"));
    QCOMPARE(::symlink(".", Native("linked").constData()), 0);
    QCOMPARE(::symlink("x.png", Native("link.png").constData()), 0);
    QCOMPARE(::link(Native("x.png").constData(), Native("hard.png").constData()), 0);
    if (first == "null") {
        if (!nodesPermitted)
            QSKIP("mknod is not permitted here; device nodes cannot be tested");
        MakeNode("null", S_IFCHR, 1, 3);
        QCOMPARE(::symlink("null", Native("nulllink").constData()), 0);
    }
    const auto name = [this](const QString& given) { return given == "-" ? given : Path(given); };
    QCOMPARE(SameOutputFile(name(first), name(second)), same);
    QCOMPARE(SameOutputFile(name(second), name(first)), same);
}

void TestOutputFile::DisplayedPathEscapesControls()
{
    QCOMPARE(DisplayedPath("obrázek.png"), QString("obrázek.png"));
    QCOMPARE(DisplayedPath(QString("a\nb\x1b[31m.png")), QString("a\\u000ab\\u001b[31m.png"));
    QCOMPARE(DisplayedPath(QString(QChar(0xFEFF)) + "x"), QString("\\ufeffx"));
}

QTEST_GUILESS_MAIN(TestOutputFile)
#include "test_outputfile.moc"
