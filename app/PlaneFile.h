// Writing the plane to a PNG file: the plot window's "Uložit obrázek…" and
// the command-line renderer share it, and its message.
#pragma once

#include <QImage>
#include <QString>

#include "OutputFile.h"

// Writes `plane` as PNG to `path` by the rules of WriteOutputFile: a regular
// file appears whole or not at all. The message begins "Obrázek se
// nepodařilo uložit do souboru <path>: ".
OutputFileResult WritePlanePng(const QImage& plane, const QString& path, const OutputFileOptions& options = {});
