// SPDX-License-Identifier: GPL-3.0-or-later
#include "LessonActions.h"

#include <QDir>
#include <QFileInfo>

#include "Dialogs.h"
#include "LessonDialogs.h"
#include "LessonFile.h"
#include "LessonFormat.h"
#include "RecentLessons.h"
#include "WindowReplay.h"

bool OpenLesson(PlotDocument& document, PanelPress& panel, const QString& path)
{
    const LessonFileReading reading = ReadLessonFile(path);
    if (!reading.Ok) {
        QString message = reading.Message;
        if (reading.Missing && RecentLessons().contains(QDir::cleanPath(QFileInfo(path).absoluteFilePath()))) {
            ForgetRecentLesson(path);
            message += QStringLiteral("\nLekce byla odebrána z nedávných lekcí.");
        }
        ShowErrorBox(message);
        return false;
    }
    if (!DrawPressesAnew(document, reading.Read.Drawn).Ran)
        return false;
    // Also after Esc: the panel is the lesson's, the plane as far as drawn.
    panel.ShowPress(reading.Read.Panel);
    document.MarkSaved(reading.Read.Drawn);
    RememberRecentLesson(path);
    return true;
}

void OpenChosenLesson(PlotDocument& document, PanelPress& panel, QWidget* parent)
{
    const QString path = ChooseLessonFile(parent, LessonDialog::Open);
    if (!path.isEmpty())
        OpenLesson(document, panel, path);
}

bool SaveLesson(PlotDocument& document, PanelPress& panel, QWidget* parent)
{
    // Said before the dialog rather than after it.
    std::string problem;
    if (SaveableLessonText(Lesson{panel.CurrentPress(), document.Presses()}, problem).empty()) {
        ShowErrorBox(QStringLiteral("Lekci nelze uložit: %1.").arg(QString::fromStdString(problem)));
        return false;
    }
    const QString path = ChooseLessonFile(parent, LessonDialog::Save);
    if (path.isEmpty())
        return false;
    const Lesson lesson{panel.CurrentPress(), document.Presses()};
    // A FIFO nobody reads is refused rather than waited for.
    OutputFileOptions options;
    options.WaitForReader = false;
    const OutputFileResult written = WriteLessonFile(path, lesson, options);
    if (!written.Ok) {
        ShowErrorBox(written.Message);
        return false;
    }
    document.MarkSaved(lesson.Drawn);
    // Only what can be opened again is offered again (not /dev/null).
    if (QFileInfo(path).isFile())
        RememberRecentLesson(path);
    return true;
}

bool OfferToSaveLesson(PlotDocument& document, PanelPress& panel, QWidget* parent)
{
    if (!document.Unsaved())
        return true;
    switch (AskSaveLesson()) {
    case UnsavedChoice::Save:
        return SaveLesson(document, panel, parent);
    case UnsavedChoice::Discard:
        return true;
    case UnsavedChoice::Cancel:
        break;
    }
    return false;
}
