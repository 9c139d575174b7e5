// SPDX-License-Identifier: GPL-3.0-or-later
// A lesson read from a file and written to one, with messages that name the
// file. A lesson comes from elsewhere: only a regular file is read (never a
// folder, a FIFO or a device, which could hang the program or never end),
// at most MaxLessonBytes of it, and the whole of it is checked before the
// caller changes anything. Writing goes through OutputFile: a temporary
// file and a rename, so the lesson appears whole or not at all.
#pragma once

#include <QString>

#include "Lesson.h"
#include "OutputFile.h"

struct LessonFileReading {
    bool Ok = false;
    Lesson Read;
    // "Lekci ze souboru X nelze otevřít: soubor neexistuje."
    QString Message;
    bool Missing = false;  // the name does not exist (any more)
};

LessonFileReading ReadLessonFile(const QString& path);

// What a message calls a lesson (WriteOutputFile's `what`).
QString LessonWhat();

// Writes the lesson to `path` by the rules of WriteOutputFile. A lesson
// that could not be read back as it is (SaveableLessonText) is refused
// before anything is written: "Lekci se nepodařilo uložit do souboru X: …".
OutputFileResult WriteLessonFile(const QString& path, const Lesson& lesson, const OutputFileOptions& options = {});
