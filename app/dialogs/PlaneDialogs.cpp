// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneDialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <span>
#include <utility>
#include <vector>

#include "LastFolder.h"
#include "ToolkitCzech.h"

namespace {

SaveFileChooser& SaveChooser()
{
    static SaveFileChooser chooser;
    return chooser;
}

PrintDialogRunner& PrintRunner()
{
    static PrintDialogRunner runner;
    return runner;
}

PrintPreviewRunner& PreviewRunner()
{
    static PrintPreviewRunner runner;
    return runner;
}

struct FileType {
    PictureFormat Format;
    const char* Filter;
    int Scale = 1;  // of a PNG
};

// The picture types, in the order the dialog offers them; PNG first, then
// PNG enlarged for a worksheet (PngScales).
const FileType PictureTypes[] = {
    {PictureFormat::Png, "Obrázek PNG (*.png)"},
    {PictureFormat::Png, "Obrázek PNG, 2× větší (*.png)", 2},
    {PictureFormat::Png, "Obrázek PNG, 4× větší (*.png)", 4},
    {PictureFormat::Svg, "Obrázek SVG (*.svg)"},
    {PictureFormat::Pdf, "Dokument PDF (*.pdf)"},
};
const FileType AnimationType{PictureFormat::Gif, "Animace GIF (*.gif)"};

std::span<const FileType> TypesFor(SaveWhat what)
{
    return what == SaveWhat::Animation ? std::span<const FileType>(&AnimationType, 1)
                                       : std::span<const FileType>(PictureTypes);
}

bool Offered(PictureFormat format, SaveWhat what)
{
    for (const FileType& type : TypesFor(what)) {
        if (type.Format == format)
            return true;
    }
    return false;
}

SaveChoice AskForFile(QWidget* parent, SaveWhat what)
{
    const bool animation = what == SaveWhat::Animation;
    QStringList filters;
    std::vector<FileType> types;  // of each filter
    for (const FileType& type : TypesFor(what)) {
        filters << QString::fromUtf8(type.Filter);
        types.push_back(type);
    }
    QFileDialog dialog(parent, animation ? QStringLiteral("Uložit animaci") : QStringLiteral("Uložit obrázek"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    UseCzechFileModel(dialog);
    const QString lastFolder = LastFolder(SaveFolderPurpose);
    if (!lastFolder.isEmpty())
        dialog.setDirectory(lastFolder);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(PictureFormatName(types.front().Format));  // "krivka" saves as "krivka.png"
    dialog.selectFile(QStringLiteral("krivka.") + PictureFormatName(types.front().Format));

    const auto typeOfFilter = [&](const QString& filter) -> std::optional<FileType> {
        const qsizetype index = filters.indexOf(filter);
        return index < 0 ? std::nullopt : std::optional<FileType>(types[std::size_t(index)]);
    };
    // Another file type: a name with the extension of one of ours takes the
    // new one; a name without one gets it as the default suffix.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const std::optional<FileType> type = typeOfFilter(filter);
        if (!type)
            return;
        const QString suffix = PictureFormatName(type->Format);
        dialog.setDefaultSuffix(suffix);
        const QString typed = dialog.selectedFiles().value(0);
        const std::optional<PictureFormat> typedFormat = PictureFormatOfPath(typed);
        if (typedFormat && Offered(*typedFormat, what) && !QFileInfo(typed).isDir())
            dialog.selectFile(QFileInfo(typed).completeBaseName() + '.' + suffix);
    });

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return SaveChoice{};
    RememberFolder(SaveFolderPurpose, dialog.selectedFiles().first());
    SaveChoice choice{dialog.selectedFiles().first(), std::nullopt};
    if (const std::optional<FileType> type = typeOfFilter(dialog.selectedNameFilter())) {
        choice.Format = type->Format;
        choice.Scale = type->Scale;
    }
    return choice;
}

bool AskToPrint(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Tisk"));
    return dialog.exec() == QDialog::Accepted;
}

// The preview's own "Tisk" entry, known by its text in the toolkit's
// translation; none where a later toolkit names it otherwise.
QAction* PreviewPrintAction(QPrintPreviewDialog& preview)
{
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    for (QAction* action : preview.findChildren<QAction*>()) {
        if (action->text() == print)
            return action;
    }
    return nullptr;
}

bool ShowPreview(QPrinter& printer, const PagePainter& paint, QWidget* parent)
{
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&paint](QPrinter* target) { paint(*target); });
    // Its print entry asks through our print dialog, titled as ours and a
    // seam for tests, instead of the toolkit's own; then prints what the
    // preview shows, on the printer that dialog set up.
    if (QAction* print = PreviewPrintAction(preview)) {
        print->disconnect(&preview);
        QObject::connect(print, &QAction::triggered, &preview, [&] {
            if (!RunPrintDialog(printer, &preview))
                return;
            paint(printer);
            preview.accept();
        });
    }
    return preview.exec() == QDialog::Accepted;
}

}  // namespace

void SetSaveFileChooser(SaveFileChooser chooser)
{
    SaveChooser() = std::move(chooser);
}

void SetPrintDialog(PrintDialogRunner runner)
{
    PrintRunner() = std::move(runner);
}

SaveChoice ChooseSaveFile(QWidget* parent, SaveWhat what)
{
    return SaveChooser() ? SaveChooser()(parent, what) : AskForFile(parent, what);
}

bool RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    return PrintRunner() ? PrintRunner()(printer, parent) : AskToPrint(printer, parent);
}

void SetPrintPreview(PrintPreviewRunner runner)
{
    PreviewRunner() = std::move(runner);
}

bool RunPrintPreview(QPrinter& printer, const PagePainter& paint, QWidget* parent)
{
    return PreviewRunner() ? PreviewRunner()(printer, paint, parent) : ShowPreview(printer, paint, parent);
}

PictureFormat FormatOfChoice(const SaveChoice& choice, SaveWhat what)
{
    if (what == SaveWhat::Animation)
        return PictureFormat::Gif;
    const std::optional<PictureFormat> named = PictureFormatOfPath(choice.Path);
    if (named && Offered(*named, what))
        return *named;
    if (choice.Format && Offered(*choice.Format, what))
        return *choice.Format;
    return PictureFormat::Png;
}

int ScaleOfChoice(const SaveChoice& choice, SaveWhat what)
{
    const bool pngChosen = choice.Format == PictureFormat::Png;
    return FormatOfChoice(choice, what) == PictureFormat::Png && pngChosen ? choice.Scale : 1;
}
