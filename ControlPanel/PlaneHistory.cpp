// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneHistory.h"

#include <QWidget>

#include <utility>

namespace {

const char KeeperName[] = "PlaneHistory";

}  // namespace

PlaneHistory::PlaneHistory(QWidget& window) : QObject(&window)
{
    setObjectName(QString::fromLatin1(KeeperName));
}

PlaneHistory& PlaneHistory::Of(QWidget& window)
{
    auto* keeper = window.findChild<PlaneHistory*>(QString::fromLatin1(KeeperName), Qt::FindDirectChildrenOnly);
    return keeper ? *keeper : *new PlaneHistory(window);
}

void PlaneHistory::Add(RecordedPress press, PlaneSnapshot planeBefore)
{
    presses_.push_back(std::move(press));
    beforeLast_ = std::move(planeBefore);
    emit Changed();
}

void PlaneHistory::ReplaceLast(RecordedPress press, const PlaneSnapshot& planeBefore)
{
    if (presses_.empty() || !beforeLast_) {
        Add(std::move(press), planeBefore);
        return;
    }
    presses_.back() = std::move(press);
    emit Changed();
}

void PlaneHistory::Replace(PressHistory presses, std::optional<PlaneSnapshot> planeBeforeLast)
{
    presses_ = std::move(presses);
    beforeLast_ = presses_.empty() ? std::nullopt : std::move(planeBeforeLast);
    emit Changed();
}

void PlaneHistory::Clear()
{
    presses_.clear();
    beforeLast_.reset();
    emit Changed();
}
