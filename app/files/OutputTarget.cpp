// SPDX-License-Identifier: GPL-3.0-or-later
#include "OutputTarget.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>

#include <unistd.h>

#include "OutputFile.h"

namespace OutputTarget {

namespace {

// Symbolic links followed at most, as the kernel's own limit.
constexpr int MaxLinkHops = 40;

// /proc/self/fd/N, /dev/fd/N and the like: names of this process's open
// descriptors. Reading such a link gives "pipe:[…]" or a file's path, neither
// of which reaches the descriptor itself.
bool IsOwnDescriptor(const std::string& path, int& descriptor)
{
    const std::string base = BaseNameOf(path);
    if (base.empty() || base.size() > 9 || base.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const std::string folder = RealFolder(path);
    const std::string own = "/proc/" + std::to_string(::getpid()) + "/";
    const bool ownFolder = folder.compare(0, own.size(), own) == 0 && folder.size() >= 3
                           && folder.compare(folder.size() - 3, 3, "/fd") == 0;
    if (!ownFolder)
        return false;
    descriptor = std::stoi(base);
    return true;
}

Target Refuse(const QString& reason, const struct stat& status = {})
{
    Target target;
    target.kind = Kind::Refused;
    target.reason = reason;
    target.status = status;
    return target;
}

// Follows the links of `path` to what will be written.
Target Resolve(const std::string& given)
{
    std::string path = given;
    for (int hop = 0; hop <= MaxLinkHops; ++hop) {
        Target target;
        if (IsOwnDescriptor(path, target.descriptor)) {
            target.kind = Kind::Descriptor;
            return target;
        }
        target.path = path;
        if (::lstat(path.c_str(), &target.status) != 0) {
            if (errno != ENOENT)
                return Refuse(ReasonOf(errno));
            target.kind = Kind::Replace;
            return target;
        }
        const mode_t mode = target.status.st_mode;
        if (S_ISLNK(mode)) {
            char link[4096];
            const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
            if (length < 0)
                return Refuse(ReasonOf(errno));
            if (static_cast<std::size_t>(length) >= sizeof link)
                return Refuse(ReasonOf(ENAMETOOLONG));
            const std::string next(link, static_cast<std::size_t>(length));
            path = next.starts_with('/') ? next : FolderOf(path) + "/" + next;
            continue;
        }
        if (S_ISREG(mode)) {
            target.kind = Kind::Replace;
            target.exists = true;
        } else if (S_ISFIFO(mode) || S_ISCHR(mode)) {
            target.kind = Kind::InPlace;
        } else if (S_ISDIR(mode)) {
            return Refuse(QStringLiteral("je to složka"), target.status);
        } else if (S_ISSOCK(mode)) {
            return Refuse(QStringLiteral("je to soket"), target.status);
        } else if (S_ISBLK(mode)) {
            return Refuse(QStringLiteral("je to blokové zařízení (disk)"), target.status);
        } else {
            return Refuse(QStringLiteral("není to obyčejný soubor"), target.status);
        }
        return target;
    }
    return Refuse(ReasonOf(ELOOP));
}

}  // namespace

QString ReasonOf(int error)
{
    switch (error) {
    case ENOENT: return QStringLiteral("složka neexistuje");
    case EACCES:
    case EPERM: return QStringLiteral("chybí oprávnění");
    case EROFS: return QStringLiteral("systém souborů je jen pro čtení");
    case ENOSPC: return QStringLiteral("na disku není místo");
    case EDQUOT: return QStringLiteral("je překročena kvóta disku");
    case EFBIG: return QStringLiteral("soubor by byl příliš velký");
    case ENOTDIR: return QStringLiteral("část cesty není složka");
    case ENAMETOOLONG: return QStringLiteral("název je příliš dlouhý");
    case ELOOP: return QStringLiteral("příliš mnoho symbolických odkazů");
    case EISDIR: return QStringLiteral("je to složka");
    case EPIPE: return QStringLiteral("čtenář už skončil");
    case EBADF: return QStringLiteral("není otevřený pro zápis");
    case EIO: return QStringLiteral("chyba čtení nebo zápisu na zařízení");
    case ETXTBSY: return QStringLiteral("soubor je právě spuštěný program");
    case EMFILE:
    case ENFILE: return QStringLiteral("je otevřeno příliš mnoho souborů");
    case ENXIO:
    case ENODEV: return QStringLiteral("zařízení není k dispozici");
    case EAGAIN: return QStringLiteral("zápis by čekal");
    case EINTR: return QStringLiteral("zápis byl přerušen");
    case EINVAL: return QStringLiteral("do tohoto souboru nelze zapisovat");
    default: return QStringLiteral("chyba systému číslo %1").arg(error);
    }
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RealFolder(const std::string& path)
{
    char* real = ::realpath(FolderOf(path).c_str(), nullptr);
    if (real == nullptr)
        return std::string();
    std::string folder(real);
    std::free(real);
    return folder;
}

Target ResolveName(const QString& path)
{
    if (path == QLatin1String(StandardOutputName)) {
        Target target;
        target.kind = Kind::Descriptor;
        target.descriptor = STDOUT_FILENO;
        return target;
    }
    if (path.isEmpty())
        return Refuse(QStringLiteral("název souboru chybí"));
    return Resolve(QFile::encodeName(path).toStdString());
}

bool SameObject(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace OutputTarget

using namespace OutputTarget;

bool SameOutputFile(const QString& first, const QString& second)
{
    if (first == second)
        return true;
    struct Identity {
        bool object = false;  // an existing object: status holds it
        struct stat status {};
        std::string name;     // otherwise: the name with its folder resolved
    };
    const auto identify = [](const QString& path) {
        Identity identity;
        const Target target = ResolveName(path);
        if (target.kind == Kind::Descriptor) {
            identity.object = ::fstat(target.descriptor, &identity.status) == 0;
        } else if (target.kind != Kind::Replace || target.exists) {
            identity.object = target.kind != Kind::Refused || target.status.st_ino != 0;
            identity.status = target.status;
        }
        if (!identity.object) {
            const std::string name = target.path.empty() ? QFile::encodeName(path).toStdString() : target.path;
            const std::string folder = RealFolder(name);
            identity.name = folder.empty() ? name : folder + "/" + BaseNameOf(name);
        }
        return identity;
    };
    const Identity a = identify(first);
    const Identity b = identify(second);
    if (a.object != b.object)
        return false;
    if (!a.object)
        return a.name == b.name;
    return SameObject(a.status, b.status) && !S_ISCHR(a.status.st_mode);
}

