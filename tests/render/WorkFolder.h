// SPDX-License-Identifier: GPL-3.0-or-later
// A private folder for the files of one test program, emptied before every
// test. Its parent is open to every user, for the runs of the renderer as an
// unprivileged one.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/stat.h>

class WorkFolder {
public:
    // In initTestCase.
    bool Open()
    {
        folder_ = place_.filePath(QStringLiteral("work"));
        return place_.isValid() && ::chmod(QFile::encodeName(place_.path()).constData(), 0755) == 0;
    }

    // In init.
    bool Empty()
    {
        QDir(folder_).removeRecursively();
        return QDir().mkpath(folder_);
    }

    const QString& Folder() const { return folder_; }
    // The folder's parent, which is not emptied, and a name in it.
    QString Place() const { return place_.path(); }
    QString Beside(const QString& name) const { return place_.filePath(name); }
    QString Path(const QString& name) const { return folder_ + '/' + name; }
    QStringList Entries() const
    {
        return QDir(folder_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir place_;
    QString folder_;
};
