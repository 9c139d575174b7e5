// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the control panel is made from its layout, and its
// construction makes the plot window, which thereby is the main window.
// `paramcurve FILE` opens a lesson once both windows are up.
#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "Dialogs.h"
#include "Draw2D.h"
#include "LessonActions.h"
#include "PlotDocument.h"
#include "Program.h"
#include "RecentLessons.h"
#include "ScreenScale.h"
#include "StartArguments.h"
#include "StartUp.h"

int main(int argc, char* argv[])
{
    UseFittingScaleFactors(argc, argv);
    QApplication application(argc, argv);
    SetUpApplication();
    UseProgramSettings();
    const StartArguments start = ReadStartArguments(QCoreApplication::arguments());
    for (const QString& note : start.Notes)
        std::fprintf(stderr, "%s\n", note.toLocal8Bit().constData());

    PlotDocument document;
    Program program(document);
    program.Panel().show();
    // From the event loop, so that a box about the file shows over both
    // windows, once; the program goes on either way.
    if (program.Menu() && !start.LessonPath.isEmpty()) {
        QTimer::singleShot(0, program.PlotWindow(), [&program, &document, path = start.LessonPath] {
            RunHandler([&] {
                OpenLesson(document, program.Panel(), path);
                program.Menu()->ShowRecentLessons();
            });
        });
    }
    return application.exec();
}
