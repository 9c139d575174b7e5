// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartUp.h"

#include <QCoreApplication>
#include <QFont>
#include <QFile>
#include <QLibraryInfo>

#include "CaptionFont.h"
#include "LastFolder.h"
#include "ToolkitCzech.h"

QStringList FallbackFaces()
{
    return {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
            QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")};
}

void InstallFontFallback()
{
    // Faces with Arial's widths come closest to the fixed control sizes; DejaVu
    // Sans, wider, is the one sure to be installed.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), FallbackFaces());
}

QString CzechToolkitTranslation()
{
    const QString file = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_cs.qm");
    return QFile::exists(file) ? file : QString();
}

void SetUpApplication()
{
    static bool done = false;
    if (done || !QCoreApplication::instance())
        return;
    done = true;

    // Every caption and message is Czech, so are the toolkit's own texts:
    // the colour and file dialogs, the fields' context menus.
    InstallToolkitCzech();
    // The settings (the folders used last) are the program's, whatever
    // executable runs it.
    if (QCoreApplication::organizationName().isEmpty()) {
        QCoreApplication::setOrganizationName(QString::fromLatin1(SettingsOrganization));
        QCoreApplication::setApplicationName(QString::fromLatin1(SettingsApplication));
    }

    InstallFontFallback();
    IntendedFace();  // loaded now, before any window asks for it
}
