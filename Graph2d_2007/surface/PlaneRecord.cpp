// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneRecord.h"

namespace {

// QPointF's == is fuzzy; a polyline continues only from its very end.
bool SamePoint(QPointF a, QPointF b)
{
    return a.x() == b.x() && a.y() == b.y();
}

}  // namespace

void PlaneRecord::Restart(QSize size, std::int32_t background)
{
    size_ = size;
    background_ = background;
    items_.clear();
}

AxisRecord& PlaneRecord::AddAxis(const AxisRecord& axis)
{
    return std::get<AxisRecord>(items_.emplace_back(axis));
}

void PlaneRecord::AddSegment(QPointF from, QPointF to, std::int32_t colour, int penWidth, bool drawsNothing)
{
    if (!items_.empty()) {
        auto* curve = std::get_if<CurveRecord>(&items_.back());
        if (curve && curve->Colour == colour && curve->PenWidth == penWidth && SamePoint(curve->Points.back(), from)) {
            curve->Points.push_back(to);
            return;
        }
    }
    if (drawsNothing)
        return;
    items_.emplace_back(CurveRecord{colour, penWidth, {from, to}});
}
