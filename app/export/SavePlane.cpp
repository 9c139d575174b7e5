// SPDX-License-Identifier: GPL-3.0-or-later
#include "SavePlane.h"

#include <QPrinter>

#include <memory>

#include "Dialogs.h"
#include "Draw2D.h"
#include "PictureFile.h"
#include "PlaneDialogs.h"
#include "PrintPlane.h"

namespace {

void WriteChosen(TDraw2D& window, SaveWhat what, const PictureSource& source)
{
    const SaveChoice choice = ChooseSaveFile(&window, what);
    if (choice.Path.isEmpty())
        return;
    // A FIFO nobody reads is refused rather than waited for: the window
    // would hang.
    OutputFileOptions options;
    options.WaitForReader = false;
    PictureSource scaled = source;
    scaled.PngScale = ScaleOfChoice(choice, what);
    const OutputFileResult result = WritePictureFile(FormatOfChoice(choice, what), scaled, choice.Path, options);
    if (!result.Ok)
        ShowErrorBox(result.Message);
}

}  // namespace

void SavePlane(TDraw2D& window)
{
    PictureSource source;
    source.Plane = &window.Plane();
    source.Record = &window.Record();
    WriteChosen(window, SaveWhat::Picture, source);
}

void SaveAnimation(TDraw2D& window, const PlotDocument& document)
{
    // Held while the dialog is open, whatever happens to the document's.
    const std::shared_ptr<const EncodedGif> animation = document.LastAnimation();
    if (!animation)
        return;
    PictureSource source;
    source.Encoded = animation.get();
    WriteChosen(window, SaveWhat::Animation, source);
}

void PrintWindowPlane(TDraw2D& window)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Parametrická křivka"));
    if (!RunPrintDialog(printer, &window))
        return;
    const QString failed = PrintPlane(window.Record(), printer);
    if (!failed.isEmpty())
        ShowErrorBox(failed);
}
