// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the plane: its record drawn as vector graphics, scaled to fit the
// printable area, with the captions of a worksheet under it (PrintCaptions.h).
// The plane stands at the top of the printable area, centred across; the
// captions follow below it, each wrapped to the printable width, and go on
// over further pages as far as they need (where the plane fills the height,
// as on a landscape page, they start on the second).
#pragma once

#include <QString>
#include <QStringList>

#include "PlaneRecord.h"

class QPrinter;

// Prints on a printer already set up (by the print dialog, or to a file); an
// empty string on success, otherwise the message for the user.
QString PrintPlane(const PlaneRecord& record, QPrinter& printer, const QStringList& captions = {});
