// SPDX-License-Identifier: GPL-3.0-or-later
// The plane as vector graphics, replayed from its record (PlanePainter.h):
// SVG and a one-page PDF whose page is the plane. A plane pixel is 1/96 inch
// (the size the window shows it at), so a 500 x 500 plane is a page of
// 375 x 375 points; both formats scale without loss.
#pragma once

#include <QString>

#include "PlaneRecord.h"

class QIODevice;

inline constexpr int VectorDotsPerInch = 96;

// Each returns an empty string on success, otherwise the message for the user.
QString WriteSvg(const PlaneRecord& record, QIODevice& device);
QString WritePdf(const PlaneRecord& record, QIODevice& device);
