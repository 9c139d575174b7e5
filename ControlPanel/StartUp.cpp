#include "StartUp.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

#include "CaptionFont.h"
#include "ControlPanel.h"

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
    static QTranslator toolkit;
    const QString translation = CzechToolkitTranslation();
    if (!translation.isEmpty() && toolkit.load(translation))
        QCoreApplication::installTranslator(&toolkit);

    InstallFontFallback();
    IntendedFace();  // loaded now, before any window asks for it
}
