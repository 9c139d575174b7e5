// SPDX-License-Identifier: GPL-3.0-or-later
#include "LastTrace.h"

#include <QWidget>

#include <utility>

namespace {

const char KeeperName[] = "LastTrace";

}  // namespace

LastTrace::LastTrace(QWidget& window) : QObject(&window)
{
    setObjectName(QString::fromLatin1(KeeperName));
}

LastTrace& LastTrace::Of(QWidget& window)
{
    auto* keeper = window.findChild<LastTrace*>(QString::fromLatin1(KeeperName), Qt::FindDirectChildrenOnly);
    return keeper ? *keeper : *new LastTrace(window);
}

void LastTrace::Keep(EncodedGif animation)
{
    animation_ = std::make_shared<const EncodedGif>(std::move(animation));
    emit Kept();
}
