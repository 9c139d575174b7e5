// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of `paramcurve`, once the toolkit has taken its own
// options (-platform, -style, …) out of it: at most one lesson file to open
// at start, as a desktop's "Open with" or a double click passes it.
#pragma once

#include <QString>
#include <QStringList>

struct StartArguments {
    QString LessonPath;  // empty: start with the panel as usual
    // What was passed over, one line each for standard error: an unknown
    // option, a second file. The program starts all the same.
    QStringList Notes;
};

// `arguments` as QCoreApplication::arguments() gives them, the program
// first. "--" ends the options, so a file whose name starts with "-" can be
// named after it.
StartArguments ReadStartArguments(const QStringList& arguments);
