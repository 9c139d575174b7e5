// SPDX-License-Identifier: GPL-3.0-or-later
#include "SavePlane.h"

#include <QPrinter>

#include <memory>

#include "Dialogs.h"
#include "Draw2D.h"
#include "PictureFile.h"
#include "PlaneDialogs.h"
#include "PrintCaptions.h"
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

void PrintWindowPlane(TDraw2D& window, const PlotDocument& document)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Parametrická křivka"));
    // What the plane shows when asked, whatever happens while the preview is open.
    const PlaneRecord record = window.Record();
    const QStringList captions = PrintCaptions(document.Presses());
    QString failed;
    const PagePainter paint = [&](QPrinter& target) { failed = PrintPlane(record, target, captions); };
    if (RunPrintPreview(printer, paint, &window) && !failed.isEmpty())
        ShowErrorBox(failed);
}
