// Program entry: the control panel is made from its layout, and its
// construction makes the plot window, which thereby is the main window.
#include <QApplication>

#include "ControlPanel.h"
#include "Draw2D.h"
#include "PlaneExplorer.h"
#include "SavePlane.h"
#include "StartUp.h"

int main(int argc, char* argv[])
{
    UseWholeScaleFactors();
    QApplication application(argc, argv);
    SetUpApplication();
    // Where the user's choices are kept (QSettings).
    if (QCoreApplication::organizationName().isEmpty()) {
        QCoreApplication::setOrganizationName(QStringLiteral("paramcurve"));
        QCoreApplication::setApplicationName(QStringLiteral("paramcurve"));
    }
    new TControl_Panel;  // sets Control_Panel, creates Draw2D
    if (Draw2D)
        InstallSavePlane(*Draw2D);  // "Uložit obrázek…" and Ctrl+S
    if (Draw2D)
        InstallPlaneExplorer(*Draw2D);  // the position readout, zoom and pan
    Control_Panel->show();
    const int result = application.exec();
    delete Control_Panel;
    delete Draw2D;
    return result;
}
