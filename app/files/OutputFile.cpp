// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputFile.h"

#include <QFile>
#include <QIODevice>
#include <QRandomGenerator>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include "OutputTarget.h"

using namespace OutputTarget;

namespace {

// Which standard descriptors came closed (GuardStandardDescriptors).
std::array<bool, 3> ClosedAtStart{};

// Giving up on a file that keeps changing under our feet.
constexpr int MaxAttempts = 3;

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel != nullptr && cancel->load(std::memory_order_relaxed);
}

// A file descriptor as a QIODevice, keeping the errno of a failed write.
// Seekable only on a regular file; a pipe or device is written in order.
class DescriptorDevice : public QIODevice {
public:
    DescriptorDevice(int descriptor, bool seekable, const std::atomic<bool>* cancel)
        : descriptor_(descriptor), seekable_(seekable), cancel_(cancel)
    {
    }
    int Error() const { return error_; }
    bool isSequential() const override { return !seekable_; }
    bool seek(qint64 position) override
    {
        if (!seekable_ || ::lseek(descriptor_, position, SEEK_SET) < 0)
            return false;
        return QIODevice::seek(position);
    }
    qint64 size() const override
    {
        struct stat status {};
        return seekable_ && ::fstat(descriptor_, &status) == 0 ? status.st_size : 0;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t written = ::write(descriptor_, data + done, static_cast<size_t>(size - done));
            if (written < 0) {
                if (errno == EINTR && !Cancelled(cancel_))
                    continue;
                error_ = errno;
                return -1;
            }
            done += written;
        }
        return done;
    }

private:
    int descriptor_;
    bool seekable_;
    const std::atomic<bool>* cancel_;
    int error_ = 0;
};

// Outcome of one attempt; Raced asks for another one.
struct Attempt {
    bool ok = false;
    bool raced = false;
    int error = 0;       // errno, or -1 when the writer failed by itself
    QString reason;      // overrides the errno's reason
};

Attempt Failed(int error)
{
    Attempt attempt;
    attempt.error = error;
    return attempt;
}

Attempt FailedBecause(const QString& reason)
{
    Attempt attempt;
    attempt.error = -1;
    attempt.reason = reason;
    return attempt;
}

// While it lives, a write to a pipe whose reader has gone fails with EPIPE
// instead of raising SIGPIPE, whatever the process does with that signal:
// the signal is blocked in this thread and a pending one taken away after.
class QuietBrokenPipe {
public:
    QuietBrokenPipe()
    {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        alreadyPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
    }
    ~QuietBrokenPipe()
    {
        sigset_t pending;
        if (!alreadyPending_ && sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{};
            sigtimedwait(&pipe_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    QuietBrokenPipe(const QuietBrokenPipe&) = delete;
    QuietBrokenPipe& operator=(const QuietBrokenPipe&) = delete;

private:
    sigset_t pipe_;
    sigset_t previous_;
    bool alreadyPending_ = false;
};

Attempt WriteTo(int descriptor, bool seekable, const ContentWriter& write, const OutputFileOptions& options)
{
    const QuietBrokenPipe quiet;
    DescriptorDevice device(descriptor, seekable, options.Cancel);
    device.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    const bool written = write(device);
    device.close();
    if (device.Error() != 0)
        return Failed(device.Error());
    if (!written)
        return FailedBecause(QStringLiteral("zápis dat selhal"));
    Attempt attempt;
    attempt.ok = true;
    return attempt;
}

Attempt WriteToDescriptor(int descriptor, const ContentWriter& write, const OutputFileOptions& options)
{
    if (descriptor >= 0 && descriptor < int(ClosedAtStart.size()) && ClosedAtStart[std::size_t(descriptor)])
        return FailedBecause(descriptor == STDOUT_FILENO ? QStringLiteral("standardní výstup je zavřený")
                                                         : QStringLiteral("deskriptor je zavřený"));
    // A copy, so closing it leaves the descriptor itself open; it shares the
    // offset, so a file behind ">" or ">>" is written where the shell meant.
    const int copy = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    if (copy < 0)
        return Failed(errno);
    struct stat status {};
    const bool seekable = ::fstat(copy, &status) == 0 && S_ISREG(status.st_mode);
    const Attempt attempt = WriteTo(copy, seekable, write, options);
    ::close(copy);
    return attempt;
}

Attempt WriteInPlace(const Target& target, const ContentWriter& write, const OutputFileOptions& options)
{
    const bool fifo = S_ISFIFO(target.status.st_mode);
    // Once a stop was asked for (the signal that would end the wait has been
    // spent on the trace), a FIFO nobody reads is not waited for either.
    const bool wait = options.WaitForReader && !Cancelled(options.Cancel);
    const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW | (fifo && !wait ? O_NONBLOCK : 0);
    int descriptor = -1;
    do {
        descriptor = ::open(target.path.c_str(), flags);
    } while (descriptor < 0 && errno == EINTR && !Cancelled(options.Cancel));
    if (descriptor < 0) {
        if (fifo && errno == ENXIO)
            return FailedBecause(QStringLiteral("z roury nikdo nečte"));
        return Failed(errno);
    }
    // Still the FIFO or device looked at, not a file put in its place.
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || status.st_dev != target.status.st_dev
        || status.st_ino != target.status.st_ino || S_ISREG(status.st_mode)) {
        ::close(descriptor);
        Attempt attempt;
        attempt.raced = true;
        return attempt;
    }
    if (flags & O_NONBLOCK)
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    const Attempt attempt = WriteTo(descriptor, false, write, options);
    ::close(descriptor);
    return attempt;
}

// A fresh temporary file beside `path`, created with 0666 less the umask.
int CreateTemporary(const std::string& path, std::string& temporary)
{
    // Room for the suffix within the usual 255-byte limit of a name.
    const std::string base = BaseNameOf(path).substr(0, 200);
    for (int tries = 0; tries < 100; ++tries) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", QRandomGenerator::global()->generate());
        temporary = FolderOf(path) + "/." + base + suffix + ".tmp";
        const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    errno = EEXIST;
    return -1;
}

Attempt WriteReplacing(const Target& target, const ContentWriter& write, const OutputFileOptions& options)
{
    const std::string base = BaseNameOf(target.path);
    if (base.empty() || base == "." || base == "..")
        return FailedBecause(QStringLiteral("není to název souboru"));
    // The rename would replace a file we may not write; refuse as ">" would.
    if (target.exists && ::access(target.path.c_str(), W_OK) != 0)
        return errno == EACCES ? FailedBecause(QStringLiteral("soubor je chráněn proti zápisu")) : Failed(errno);

    std::string temporary;
    const int descriptor = CreateTemporary(target.path, temporary);
    if (descriptor < 0) {
        const int error = errno;
        struct stat folder {};
        if (error == EACCES)
            return FailedBecause(QStringLiteral("chybí oprávnění k zápisu do složky"));
        // /proc and the like: the folder is there but takes no new files.
        if (error == ENOENT && ::stat(FolderOf(target.path).c_str(), &folder) == 0 && S_ISDIR(folder.st_mode))
            return FailedBecause(QStringLiteral("do této složky nelze ukládat soubory"));
        return Failed(error);
    }
    if (target.exists) {
        // Owner first: changing it may clear the set-id bits the mode restores.
        if (::fchown(descriptor, target.status.st_uid, target.status.st_gid) != 0) {
            // Only root may give a file away; the file then becomes ours.
        }
        ::fchmod(descriptor, target.status.st_mode & 07777);
    }

    Attempt attempt = WriteTo(descriptor, true, write, options);
    if (attempt.ok && ::fsync(descriptor) != 0 && errno != EINVAL && errno != EROFS)
        attempt = Failed(errno);
    if (::close(descriptor) != 0 && attempt.ok)
        attempt = Failed(errno);
    if (!attempt.ok) {
        ::unlink(temporary.c_str());
        return attempt;
    }

    int renamed = -1;
    if (target.exists) {
        // Replace only the very file looked at.
        struct stat now {};
        if (::lstat(target.path.c_str(), &now) != 0 || !S_ISREG(now.st_mode) || !SameObject(now, target.status)) {
            ::unlink(temporary.c_str());
            attempt.ok = false;
            attempt.raced = true;
            return attempt;
        }
        renamed = ::rename(temporary.c_str(), target.path.c_str());
    } else {
        // A name that was free must still be free: whatever appeared there
        // meanwhile is looked at afresh.
        renamed = ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.path.c_str(), RENAME_NOREPLACE);
        if (renamed != 0 && (errno == EINVAL || errno == ENOSYS))
            renamed = ::rename(temporary.c_str(), target.path.c_str());
        if (renamed != 0 && errno == EEXIST) {
            ::unlink(temporary.c_str());
            attempt.ok = false;
            attempt.raced = true;
            return attempt;
        }
    }
    if (renamed != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Failed(error);
    }
    return attempt;
}

OutputFileResult Fail(const QString& path, const QString& what, const QString& reason, bool readerGone = false)
{
    OutputFileResult result;
    result.ReaderGone = readerGone;
    if (path == QLatin1String(StandardOutputName))
        result.Message = QStringLiteral("%1 se nepodařilo zapsat na standardní výstup: %2.").arg(what, reason);
    else
        result.Message = QStringLiteral("%1 se nepodařilo uložit do souboru %2: %3.").arg(what, DisplayedPath(path), reason);
    return result;
}

}  // namespace

OutputFileResult WriteOutputFile(const QString& path, const QString& what, const ContentWriter& write,
                                 const OutputFileOptions& options)
{
    for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
        const Target target = ResolveName(path);
        Attempt outcome;
        switch (target.kind) {
        case Kind::Refused:
            return Fail(path, what, target.reason);
        case Kind::Descriptor:
            outcome = WriteToDescriptor(target.descriptor, write, options);
            break;
        case Kind::InPlace:
            outcome = WriteInPlace(target, write, options);
            break;
        case Kind::Replace:
            outcome = WriteReplacing(target, write, options);
            break;
        }
        if (outcome.raced)
            continue;
        if (outcome.ok)
            return OutputFileResult{true, false, QString()};
        return Fail(path, what, outcome.reason.isEmpty() ? ReasonOf(outcome.error) : outcome.reason,
                    outcome.error == EPIPE);
    }
    return Fail(path, what, QStringLiteral("soubor se během zápisu stále mění"));
}

QString OutputFileRefusal(const QString& path, const QString& what)
{
    const Target target = ResolveName(path);
    if (target.kind == Kind::Refused)
        return Fail(path, what, target.reason).Message;
    if (target.kind == Kind::Replace && !target.exists && RealFolder(target.path).empty())
        return Fail(path, what, ReasonOf(ENOENT)).Message;
    return QString();
}

void GuardStandardDescriptors()
{
    for (int descriptor = 0; descriptor < int(ClosedAtStart.size()); ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open() takes the lowest free number, which is this one.
        const int opened = ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        ClosedAtStart[std::size_t(descriptor)] = opened == descriptor;
        if (opened >= 0 && opened != descriptor)
            ::close(opened);
    }
    // Messages to a standard error whose reader has gone are lost, not fatal;
    // a file past the size limit (ulimit -f) is a write error, not the end.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

QString DisplayedPath(const QString& path)
{
    QString shown;
    shown.reserve(path.size());
    for (const QChar c : path) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format)
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}
