// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonFile.h"

#include <QFile>
#include <QIODevice>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "LessonFormat.h"

namespace {

QString ReadReason(int error)
{
    switch (error) {
    case ENOENT: return QStringLiteral("soubor neexistuje");
    case EACCES:
    case EPERM: return QStringLiteral("chybí oprávnění ke čtení");
    case ENOTDIR: return QStringLiteral("část cesty není složka");
    case ELOOP: return QStringLiteral("příliš mnoho symbolických odkazů");
    case ENAMETOOLONG: return QStringLiteral("název je příliš dlouhý");
    case EIO: return QStringLiteral("chyba čtení na zařízení");
    case EISDIR: return QStringLiteral("je to složka");
    case EMFILE:
    case ENFILE: return QStringLiteral("je otevřeno příliš mnoho souborů");
    default: return QStringLiteral("soubor nelze číst (%1)").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

// Empty for a regular file; else why it is not read.
QString KindProblem(const struct stat& status)
{
    const mode_t mode = status.st_mode;
    if (S_ISREG(mode))
        return QString();
    if (S_ISDIR(mode))
        return QStringLiteral("je to složka");
    if (S_ISFIFO(mode))
        return QStringLiteral("je to roura (FIFO), lekce musí být obyčejný soubor");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("je to zařízení, lekce musí být obyčejný soubor");
    if (S_ISSOCK(mode))
        return QStringLiteral("je to soket, lekce musí být obyčejný soubor");
    return QStringLiteral("není to obyčejný soubor");
}

const QString TooLarge = QStringLiteral("soubor je větší než 1 MiB");

// The file's bytes, at most one more than a lesson may have; the reason
// when it cannot be had. The kind is looked at before the file is opened,
// as opening a device may already do something, and again after, in case
// the name was replaced in between.
QString ReadBytes(const QString& path, QByteArray& bytes, bool& missing)
{
    if (path.isEmpty())
        return QStringLiteral("není to název souboru");
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0) {
        missing = errno == ENOENT;
        return ReadReason(errno);
    }
    QString problem = KindProblem(status);
    if (!problem.isEmpty())
        return problem;
    const int descriptor = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        missing = errno == ENOENT;
        return ReadReason(errno);
    }
    if (::fstat(descriptor, &status) != 0)
        problem = ReadReason(errno);
    else
        problem = KindProblem(status);
    if (problem.isEmpty() && static_cast<std::size_t>(status.st_size) > MaxLessonBytes)
        problem = TooLarge;
    bytes.clear();
    char buffer[65536];
    while (problem.isEmpty() && static_cast<std::size_t>(bytes.size()) <= MaxLessonBytes) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            problem = ReadReason(errno);
        else if (count == 0)
            break;
        else
            bytes.append(buffer, count);
    }
    ::close(descriptor);
    // It grew while being read.
    if (problem.isEmpty() && static_cast<std::size_t>(bytes.size()) > MaxLessonBytes)
        problem = TooLarge;
    return problem;
}

}  // namespace

QString LessonWhat()
{
    return QStringLiteral("Lekci");
}

LessonFileReading ReadLessonFile(const QString& path)
{
    LessonFileReading reading;
    QByteArray bytes;
    QString problem = ReadBytes(path, bytes, reading.Missing);
    if (problem.isEmpty()) {
        LessonReading read = ReadLesson(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        reading.Ok = read.Ok;
        reading.Read = std::move(read.Read);
        problem = QString::fromStdString(read.Problem);
    }
    if (!reading.Ok)
        reading.Message = QStringLiteral("Lekci ze souboru %1 nelze otevřít: %2.").arg(DisplayedPath(path), problem);
    return reading;
}

OutputFileResult WriteLessonFile(const QString& path, const Lesson& lesson, const OutputFileOptions& options)
{
    std::string problem;
    const std::string text = SaveableLessonText(lesson, problem);
    if (!problem.empty()) {
        OutputFileResult refused;
        refused.Message = QStringLiteral("%1 se nepodařilo uložit do souboru %2: %3.")
                              .arg(LessonWhat(), DisplayedPath(path), QString::fromStdString(problem));
        return refused;
    }
    return WriteOutputFile(
        path, LessonWhat(),
        [&text](QIODevice& device) {
            return device.write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size());
        },
        options);
}
