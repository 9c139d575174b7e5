// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

#include <span>
#include <utility>
#include <vector>

#include "LastFolder.h"
#include "ToolkitCzech.h"

namespace {

SaveFileChooser& Chooser()
{
    static SaveFileChooser chooser;
    return chooser;
}

PrintDialogRunner& PrintRunner()
{
    static PrintDialogRunner runner;
    return runner;
}

struct FileType {
    PictureFormat Format;
    const char* Filter;
};

// The picture types, in the order the dialog offers them; PNG first.
const FileType PictureTypes[] = {
    {PictureFormat::Png, "Obrázek PNG (*.png)"},
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
    std::vector<PictureFormat> formats;  // of each filter
    for (const FileType& type : TypesFor(what)) {
        filters << QString::fromUtf8(type.Filter);
        formats.push_back(type.Format);
    }
    QFileDialog dialog(parent, animation ? QStringLiteral("Uložit animaci") : QStringLiteral("Uložit obrázek"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    UseCzechFileModel(dialog);
    const QString lastFolder = LastFolder(SaveFolderPurpose);
    if (!lastFolder.isEmpty())
        dialog.setDirectory(lastFolder);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(PictureFormatName(formats.front()));  // "krivka" saves as "krivka.png"
    dialog.selectFile(QStringLiteral("krivka.") + PictureFormatName(formats.front()));

    const auto formatOfFilter = [&](const QString& filter) -> std::optional<PictureFormat> {
        const qsizetype index = filters.indexOf(filter);
        return index < 0 ? std::nullopt : std::optional<PictureFormat>(formats[std::size_t(index)]);
    };
    // Another file type: a name with the extension of one of ours takes the
    // new one; a name without one gets it as the default suffix.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
        const std::optional<PictureFormat> format = formatOfFilter(filter);
        if (!format)
            return;
        const QString suffix = PictureFormatName(*format);
        dialog.setDefaultSuffix(suffix);
        const QString typed = dialog.selectedFiles().value(0);
        const std::optional<PictureFormat> typedFormat = PictureFormatOfPath(typed);
        if (typedFormat && Offered(*typedFormat, what) && !QFileInfo(typed).isDir())
            dialog.selectFile(QFileInfo(typed).completeBaseName() + '.' + suffix);
    });

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return SaveChoice{};
    RememberFolder(SaveFolderPurpose, dialog.selectedFiles().first());
    return SaveChoice{dialog.selectedFiles().first(), formatOfFilter(dialog.selectedNameFilter())};
}

bool AskToPrint(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Tisk"));
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

void SetSaveFileChooser(SaveFileChooser chooser)
{
    Chooser() = std::move(chooser);
}

void SetPrintDialog(PrintDialogRunner runner)
{
    PrintRunner() = std::move(runner);
}

SaveChoice ChooseSaveFile(QWidget* parent, SaveWhat what)
{
    return Chooser() ? Chooser()(parent, what) : AskForFile(parent, what);
}

bool RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    return PrintRunner() ? PrintRunner()(printer, parent) : AskToPrint(printer, parent);
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
