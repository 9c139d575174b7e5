// SPDX-License-Identifier: GPL-3.0-or-later
#include "DocumentSignals.h"

DocumentSignals::DocumentSignals(PlotDocument& document, QObject* parent) : QObject(parent), document_(document)
{
    document_.AddListener(&relay_);
}

DocumentSignals::~DocumentSignals()
{
    document_.RemoveListener(&relay_);
}
