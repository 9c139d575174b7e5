// SPDX-License-Identifier: GPL-3.0-or-later
// The captions a printed page carries under the plane (PressCaptions.h, in
// the core, where the page takes them too), as the toolkit's strings.
#pragma once

#include <QStringList>

#include "PressHistory.h"

QStringList PrintCaptions(const PressHistory& presses);
