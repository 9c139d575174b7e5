// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs of the plot window's save and print actions, each behind a
// replaceable seam so tests can answer them without a modal loop.
#pragma once

#include <QString>

#include <functional>
#include <optional>

#include "PictureWriter.h"

class QPrinter;
class QWidget;

// What is being saved: the plane as a picture (PNG at 1x, 2x or 4x, SVG or
// PDF), or the last trace as an animated GIF.
enum class SaveWhat { Picture, Animation };

struct SaveChoice {
    QString Path;  // empty: the user cancelled
    // The file type chosen in the dialog; none: by the name's extension.
    std::optional<PictureFormat> Format;
    int Scale = 1;  // of the PNG type chosen (PngScales)
};

using SaveFileChooser = std::function<SaveChoice(QWidget* parent, SaveWhat what)>;
// Sets the printer up and answers whether to print.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;
// Paints every page on a printer: the preview's, or the one to print on.
using PagePainter = std::function<void(QPrinter& printer)>;
// Shows the pages `paint` paints and prints them if the user asks; answers
// whether they were printed.
using PrintPreviewRunner = std::function<bool(QPrinter& printer, const PagePainter& paint, QWidget* parent)>;

// Tests answer instead of the dialogs; empty restores the dialogs. The save
// dialog asks before it overwrites a file, and opens in the folder it was
// last used in (LastFolder.h; pictures and animations share it).
void SetSaveFileChooser(SaveFileChooser chooser);
void SetPrintDialog(PrintDialogRunner runner);
void SetPrintPreview(PrintPreviewRunner runner);

SaveChoice ChooseSaveFile(QWidget* parent, SaveWhat what);
inline constexpr char SaveFolderPurpose[] = "save";
bool RunPrintDialog(QPrinter& printer, QWidget* parent);
// The toolkit's print preview, titled "Náhled tisku: " and the printer's
// document name; its "Tisk" entry asks through RunPrintDialog, then prints
// and closes the preview.
bool RunPrintPreview(QPrinter& printer, const PagePainter& paint, QWidget* parent);

// The format a choice is written in: the extension when it names a format
// the dialog offers, else the type chosen in the dialog, else PNG (GIF for an
// animation, whatever the name).
PictureFormat FormatOfChoice(const SaveChoice& choice, SaveWhat what);
// The enlargement a choice is written at: that of the PNG type chosen when
// it is written as PNG ("a.png" or "a" with "PNG, 2× větší" is 2x), else 1.
int ScaleOfChoice(const SaveChoice& choice, SaveWhat what);
