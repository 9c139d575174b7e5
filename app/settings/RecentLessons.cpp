// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecentLessons.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const char RecentKey[] = "RecentLessons";

// Names are kept as the user reached them (a link stays a link), but
// absolute and without "." or "..", so one file is one entry.
QString Absolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void Store(QStringList list)
{
    while (list.size() > MaxRecentLessons)
        list.removeLast();
    QSettings settings;
    settings.setValue(QString::fromLatin1(RecentKey), list);
}

}  // namespace

void UseProgramSettings()
{
    if (!QCoreApplication::organizationName().isEmpty())
        return;
    QCoreApplication::setOrganizationName(QStringLiteral("paramcurve"));
    QCoreApplication::setApplicationName(QStringLiteral("paramcurve"));
}

QStringList RecentLessons()
{
    QSettings settings;
    QStringList list;
    // A hand-edited settings file may hold anything: only absolute names,
    // each once.
    for (const QString& path : settings.value(QString::fromLatin1(RecentKey)).toStringList()) {
        if (QDir::isAbsolutePath(path) && !list.contains(path))
            list << path;
        if (list.size() == MaxRecentLessons)
            break;
    }
    return list;
}

void RememberRecentLesson(const QString& path)
{
    const QString name = Absolute(path);
    QStringList list = RecentLessons();
    list.removeAll(name);
    list.prepend(name);
    Store(list);
}

void ForgetRecentLesson(const QString& path)
{
    QStringList list = RecentLessons();
    list.removeAll(Absolute(path));
    Store(list);
}
