// Writing the plane to a PNG file: the plot window's "Uložit obrázek…" and
// the command-line renderer share it, and its message.
#pragma once

#include <QImage>
#include <QString>

// Writes `plane` as PNG. The file appears whole or not at all: it is written
// beside the target and renamed over it only when complete.
bool WritePlanePng(const QImage& plane, const QString& path);

// "Obrázek se nepodařilo uložit do souboru <path>."
QString PlaneNotSavedText(const QString& path);
