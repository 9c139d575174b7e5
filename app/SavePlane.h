// "Uložit obrázek…" on the plot window: a context-menu entry and Ctrl+S that
// write the plane as it stands to a PNG file chosen in the save dialog.
#pragma once

#include <QString>

#include <functional>

class QAction;
class QWidget;
class TDraw2D;

// Asks for the file to save to; an empty name means the user cancelled.
using SaveFileChooser = std::function<QString(QWidget* parent)>;

// Tests choose the file name instead of the dialog; empty restores the dialog,
// which asks before it overwrites a file.
void SetSaveFileChooser(SaveFileChooser chooser);

// Adds the action to the window's context menu and its Ctrl+S shortcut.
QAction* InstallSavePlane(TDraw2D& window);

// The action's work: choose a file and write the plane there (WriteOutputFile
// decides how). Does nothing while a trace runs. A file that cannot be
// written is reported in the error box; the plane is only read.
void SavePlane(TDraw2D& window);

inline constexpr char SavePlaneActionName[] = "SavePlaneAction";
