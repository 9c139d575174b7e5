// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialogs of "Otevřít lekci…" and "Uložit lekci…", filtered on
// *.paramcurve, behind a replaceable seam so tests can answer them without
// a modal loop.
#pragma once

#include <QString>

#include <functional>

class QWidget;

enum class LessonDialog { Open, Save };

using LessonFileChooser = std::function<QString(QWidget* parent, LessonDialog which)>;

// Tests answer instead of the dialogs; empty restores the dialogs.
void SetLessonFileChooser(LessonFileChooser chooser);

// The file chosen; empty when the user cancelled. The save dialog adds
// ".paramcurve" to a name without an extension and asks before it replaces
// a file.
QString ChooseLessonFile(QWidget* parent, LessonDialog which);

// Where both dialogs start: the folder of the lesson opened or saved last,
// else the user's documents.
QString LessonDialogFolder();
