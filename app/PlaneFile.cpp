#include "PlaneFile.h"

#include <QDir>
#include <QSaveFile>

bool WritePlanePng(const QImage& plane, const QString& path)
{
    if (path.isEmpty() || plane.isNull())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!plane.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString PlaneNotSavedText(const QString& path)
{
    return QStringLiteral("Obrázek se nepodařilo uložit do souboru %1.").arg(QDir::toNativeSeparators(path));
}
