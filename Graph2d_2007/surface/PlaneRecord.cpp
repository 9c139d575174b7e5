// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneRecord.h"

void PlaneRecord::Restart(PixelSize size, std::int32_t background)
{
    size_ = size;
    background_ = background;
    items_.clear();
}

AxisRecord& PlaneRecord::AddAxis(const AxisRecord& axis)
{
    return std::get<AxisRecord>(items_.emplace_back(axis));
}

void PlaneRecord::AddSegment(PlanePoint from, PlanePoint to, std::int32_t colour, int penWidth, bool drawsNothing)
{
    // A polyline continues only from its very end.
    if (!items_.empty()) {
        auto* curve = std::get_if<CurveRecord>(&items_.back());
        if (curve && curve->Colour == colour && curve->PenWidth == penWidth && curve->Points.back() == from) {
            curve->Points.push_back(to);
            return;
        }
    }
    if (drawsNothing)
        return;
    items_.emplace_back(CurveRecord{colour, penWidth, {from, to}});
}
