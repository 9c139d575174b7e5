// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <utility>

#include "LastFolder.h"
#include "Lesson.h"
#include "RecentLessons.h"

namespace {

const char LessonFolderPurpose[] = "lesson";

LessonFileChooser& LessonChooser()
{
    static LessonFileChooser chooser;
    return chooser;
}

QString AskForFile(QWidget* parent, LessonDialog which)
{
    const bool open = which == LessonDialog::Open;
    const QString extension = QString::fromLatin1(LessonExtension);
    QFileDialog dialog(parent, open ? QStringLiteral("Otevřít lekci") : QStringLiteral("Uložit lekci"));
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList filters{QStringLiteral("Lekce (*.%1)").arg(extension)};
    if (open)
        filters << QStringLiteral("Všechny soubory (*)");
    dialog.setNameFilters(filters);
    dialog.setDirectory(LessonDialogFolder());
    if (!open) {
        dialog.setDefaultSuffix(extension);  // "krivky" saves as "krivky.paramcurve"
        dialog.selectFile(QStringLiteral("lekce.") + extension);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    RememberFolder(LessonFolderPurpose, dialog.selectedFiles().first());
    return dialog.selectedFiles().first();
}

}  // namespace

void SetLessonFileChooser(LessonFileChooser chooser)
{
    LessonChooser() = std::move(chooser);
}

QString ChooseLessonFile(QWidget* parent, LessonDialog which)
{
    return LessonChooser() ? LessonChooser()(parent, which) : AskForFile(parent, which);
}

QString LessonDialogFolder()
{
    // Where a lesson was last opened or saved through the dialogs, else by
    // the newest of the recent lessons (one named on the command line).
    const QString last = LastFolder(LessonFolderPurpose);
    if (!last.isEmpty())
        return last;
    const QStringList recent = RecentLessons();
    if (!recent.isEmpty()) {
        const QString folder = QFileInfo(recent.first()).absolutePath();
        if (QFileInfo(folder).isDir())
            return folder;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}
