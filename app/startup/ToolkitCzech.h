// SPDX-License-Identifier: GPL-3.0-or-later
// Czech for the toolkit's own dialogs beyond its Czech translation
// (qtbase_cs.qm): the few texts that translation lacks, the locale of the
// numbers, units and dates the dialogs show, and the file dialog's sizes and
// dates, which the toolkit's file model writes in the system's locale (US
// dates and "bytes" under an English one) whatever the program asks.
#pragma once

#include <QIdentityProxyModel>
#include <QTranslator>

class QFileDialog;

// Answers only for the texts it has; installed after the toolkit's
// translation, so that it is asked first and the rest falls through.
class ToolkitCzechAdditions : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
};

// The toolkit's Czech translation with the additions, and Czech as the
// default locale (decimal commas, millimetres). Once per application.
void InstallToolkitCzech();

// The size column as a Czech file manager shows it: "1 bajt", "3 bajty",
// "6 bajtů", "4,88 KiB".
QString CzechFileSize(qint64 bytes);

// The file dialog's model seen through this one: sizes and modification
// dates in Czech.
class CzechFileModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

// Puts a CzechFileModel under the views of the toolkit's own file dialog (a
// native dialog speaks the desktop's language and is left alone).
void UseCzechFileModel(QFileDialog& dialog);
