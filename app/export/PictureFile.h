// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the plane to a file in one of the output formats: the plot window's
// save actions and the command-line renderer share it, and its messages.
#pragma once

#include <QString>

#include "OutputFile.h"
#include "PictureWriter.h"

// What the message calls the content: "Animaci" for GIF, else "Obrázek".
QString PictureFileWhat(PictureFormat format);

// Encodes the picture in memory and writes it to `path` by the rules of
// WriteOutputFile, so a regular file appears whole or not at all. A failed
// write reads "Obrázek se nepodařilo uložit do souboru <path>: <reason>.";
// a picture that cannot be encoded (a GIF of more than 255 colours) is the
// encoder's message, and nothing is written.
OutputFileResult WritePictureFile(PictureFormat format, const PictureSource& source, const QString& path,
                                  const OutputFileOptions& options = {});
