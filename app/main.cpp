// Program entry: the control panel is made from its layout, and its
// construction makes the plot window, which thereby is the main window.
#include <QApplication>

#include "ControlPanel.h"
#include "Draw2D.h"
#include "SavePlane.h"
#include "ScreenScale.h"
#include "StartUp.h"

int main(int argc, char* argv[])
{
    UseFittingScaleFactors(argc, argv);
    QApplication application(argc, argv);
    SetUpApplication();
    new TControl_Panel;  // sets Control_Panel, creates Draw2D
    if (Draw2D)
        InstallSavePlane(*Draw2D);  // "Uložit obrázek…" and Ctrl+S
    Control_Panel->show();
    const int result = application.exec();
    delete Control_Panel;
    delete Draw2D;
    return result;
}
