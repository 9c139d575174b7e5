// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartUp.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QList>
#include <QTranslator>

#include <algorithm>
#include <cmath>

#include "CaptionFont.h"
#include "ControlPanel.h"

namespace {

QByteArray WholeFactor(const QByteArray& number)
{
    bool ok = false;
    const double factor = number.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(factor) || factor <= 0 || factor > 1e6)
        return number;
    return QByteArray::number(std::max(1.0, std::floor(factor + 0.5)), 'f', 0);
}

void RoundSetting(const char* name)
{
    if (qEnvironmentVariableIsSet(name))
        qputenv(name, WholeScaleFactors(qgetenv(name)));
}

}  // namespace

QByteArray WholeScaleFactors(const QByteArray& setting)
{
    QList<QByteArray> entries = setting.split(';');
    for (QByteArray& entry : entries) {
        const qsizetype equals = entry.indexOf('=');
        entry = entry.left(equals + 1) + WholeFactor(entry.mid(equals + 1));
    }
    return entries.join(';');
}

void UseWholeScaleFactors()
{
    // The policy set here is the one the toolkit applies to the screen's factor;
    // the variable would override it, so it is set the same way.
    qputenv("QT_SCALE_FACTOR_ROUNDING_POLICY", "Round");
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    // Factors given by hand are applied as they are: round them here.
    RoundSetting("QT_SCALE_FACTOR");
    RoundSetting("QT_SCREEN_SCALE_FACTORS");
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
    static QTranslator toolkit;
    const QString translation = CzechToolkitTranslation();
    if (!translation.isEmpty() && toolkit.load(translation))
        QCoreApplication::installTranslator(&toolkit);

    InstallFontFallback();
    IntendedFace();  // loaded now, before any window asks for it
}
