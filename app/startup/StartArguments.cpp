// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartArguments.h"

#include "OutputFile.h"

StartArguments ReadStartArguments(const QStringList& arguments)
{
    StartArguments start;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && argument.startsWith(u'-')) {
            start.Notes << QStringLiteral("paramcurve: neznámá volba %1 se pomíjí").arg(DisplayedPath(argument));
        } else if (argument.isEmpty()) {
            start.Notes << QStringLiteral("paramcurve: prázdný argument se pomíjí");
        } else if (start.LessonPath.isEmpty()) {
            start.LessonPath = argument;
        } else {
            start.Notes << QStringLiteral("paramcurve: otevírá se jen jedna lekce, %1 se pomíjí")
                               .arg(DisplayedPath(argument));
        }
    }
    return start;
}
