// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolkitCzech.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLocale>

#include <cstring>

#include "StartUp.h"

namespace {

struct Addition {
    const char* Context;
    const char* Source;
    const char* Disambiguation;  // null: any
    const char* Czech;
};

// What qtbase_cs.qm of Qt 6.4 leaves in English in the file and print
// dialogs (found by asking it for every text those dialogs request).
const Addition Additions[] = {
    {"QAbstractFileIconProvider", "Folder", nullptr, "Složka"},
    {"QAbstractFileIconProvider", "File", nullptr, "Soubor"},
    {"QAbstractFileIconProvider", "Drive", nullptr, "Disk"},
    {"QPrintSettingsOutput", "Pages", nullptr, "Strany"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. "
     "E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     nullptr,
     "Zadejte strany nebo rozsahy oddělené čárkami. Rozsah tvoří dvě čísla spojená pomlčkou. Například 3,5-7,9 "
     "vytiskne strany 3, 5, 6, 7 a 9."},
    {"QPrintSettingsOutput", "Double Sided Printing", nullptr, "Oboustranný tisk"},
    {"QPrintSettingsOutput", "Off", nullptr, "Vypnuto"},
    {"QPrintSettingsOutput", "Long side binding", nullptr, "Vazba na delší straně"},
    {"QPrintSettingsOutput", "Short side binding", nullptr, "Vazba na kratší straně"},
    {"QPrintPropertiesWidget", "Advanced", nullptr, "Pokročilé"},
    {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.", nullptr,
     "Některé volby si odporují. Opravte je, prosím."},
};

bool Same(const char* a, const char* b)
{
    return a && b && std::strcmp(a, b) == 0;
}

const QLocale& Czech()
{
    static const QLocale czech(QLocale::Czech, QLocale::Czechia);
    return czech;
}

}  // namespace

QString ToolkitCzechAdditions::translate(const char* context, const char* sourceText, const char* disambiguation,
                                         int) const
{
    for (const Addition& addition : Additions) {
        if (Same(addition.Context, context) && Same(addition.Source, sourceText) &&
            (!addition.Disambiguation || Same(addition.Disambiguation, disambiguation)))
            return QString::fromUtf8(addition.Czech);
    }
    return QString();
}

void InstallToolkitCzech()
{
    static bool done = false;
    if (done || !QCoreApplication::instance())
        return;
    done = true;
    static QTranslator toolkit;
    const QString translation = CzechToolkitTranslation();
    if (!translation.isEmpty() && toolkit.load(translation))
        QCoreApplication::installTranslator(&toolkit);
    static ToolkitCzechAdditions additions;
    QCoreApplication::installTranslator(&additions);
    QLocale::setDefault(Czech());
}

QString CzechFileSize(qint64 bytes)
{
    if (bytes >= 1024 || bytes < 0)
        return Czech().formattedDataSize(bytes);
    // The locale's data has one form for all counts.
    const char* unit = bytes == 1 ? "bajt" : bytes >= 2 && bytes <= 4 ? "bajty" : "bajtů";
    return Czech().toString(bytes) + u' ' + QString::fromUtf8(unit);
}

QVariant CzechFileModel::data(const QModelIndex& index, int role) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files || role != Qt::DisplayRole)
        return QIdentityProxyModel::data(index, role);
    const QModelIndex file = mapToSource(index);
    // The file model's columns: name, size, type, date modified.
    switch (index.column()) {
    case 1: return files->isDir(file) ? QString() : CzechFileSize(files->size(file));
    case 3: return Czech().toString(files->lastModified(file), QLocale::ShortFormat);
    default: return QIdentityProxyModel::data(index, role);
    }
}

void UseCzechFileModel(QFileDialog& dialog)
{
    // Only the toolkit's own dialog has views; it has them from the start.
    if (!dialog.findChild<QFileSystemModel*>())
        return;
    dialog.setProxyModel(new CzechFileModel(&dialog));
}
