// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the plane: its record drawn as vector graphics on one page,
// scaled to the printable area and centred on it.
#pragma once

#include <QString>

#include "PlaneRecord.h"

class QPrinter;

// Prints on a printer already set up (by the print dialog, or to a file); an
// empty string on success, otherwise the message for the user.
QString PrintPlane(const PlaneRecord& record, QPrinter& printer);
