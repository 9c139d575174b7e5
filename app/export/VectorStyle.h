// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers of the vector replay (PlanePainter.h).
#pragma once

#include <QColor>
#include <QPointF>

#include <cstdint>

inline QColor VectorColour(std::int32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// The centre of the pixel that a bitmap position p rounds to lies at p + 0.5.
inline QPointF PixelCentre(QPointF position)
{
    return position + QPointF(0.5, 0.5);
}
