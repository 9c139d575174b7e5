// SPDX-License-Identifier: GPL-3.0-or-later
#include "LastFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QString Key(const char* purpose)
{
    return QStringLiteral("LastFolder/") + QString::fromUtf8(purpose);
}

}  // namespace

QString LastFolder(const char* purpose)
{
    const QString folder = QSettings().value(Key(purpose)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolder(const char* purpose, const QString& file)
{
    if (file.isEmpty())
        return;
    const QFileInfo chosen(file);
    const QString folder = chosen.isDir() ? chosen.absoluteFilePath() : chosen.absolutePath();
    QSettings().setValue(Key(purpose), QDir::cleanPath(folder));
}
