// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the control panel is made from its layout, and its
// construction makes the plot window, which thereby is the main window.
// `paramcurve FILE` opens a lesson once both windows are up.
#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "ControlPanel.h"
#include "Dialogs.h"
#include "Draw2D.h"
#include "LessonActions.h"
#include "PlaneExplorer.h"
#include "SavePlane.h"
#include "StartArguments.h"
#include "ScreenScale.h"
#include "StartUp.h"
#include "VariablesActions.h"

int main(int argc, char* argv[])
{
    UseFittingScaleFactors(argc, argv);
    QApplication application(argc, argv);
    SetUpApplication();
    UseProgramSettings();
    const StartArguments start = ReadStartArguments(QCoreApplication::arguments());
    for (const QString& note : start.Notes)
        std::fprintf(stderr, "%s\n", note.toLocal8Bit().constData());

    new TControl_Panel;  // sets Control_Panel, creates Draw2D
    if (Draw2D) {
        InstallSavePlane(*Draw2D);  // "Uložit obrázek…" and Ctrl+S
        InstallLessonActions(*Draw2D, Control_Panel);
        InstallPlaneExplorer(*Draw2D);  // the position readout, zoom and pan
        InstallVariablesActions(*Control_Panel, *Draw2D);  // "Proměnné…" and Ctrl+R
    }
    Control_Panel->show();
    // From the event loop, so that a box about the file shows over both
    // windows, once; the program goes on either way.
    if (Draw2D && !start.LessonPath.isEmpty()) {
        QTimer::singleShot(0, Draw2D, [path = start.LessonPath] {
            RunHandler([&path] { OpenLesson(*Draw2D, path); });
        });
    }
    const int result = application.exec();
    delete Control_Panel;
    delete Draw2D;
    return result;
}
