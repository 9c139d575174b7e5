// SPDX-License-Identifier: GPL-3.0-or-later
// One run of paramcurve-render: trace onto a fresh plane exactly as "Kresli"
// does (recording every step for a GIF), then write the picture in its
// format and, if asked, the points.
#pragma once

#include <QString>
#include <QStringList>

#include "RenderOptions.h"

// Exit statuses of the renderer.
inline constexpr int RenderOk = 0;
inline constexpr int RenderTraceFailed = 1;  // a message the error box would show
inline constexpr int RenderBadUsage = 2;
inline constexpr int RenderNotWritten = 3;   // the picture or the points file

struct RenderResult {
    int ExitStatus = RenderOk;
    QStringList Messages;  // for standard error, in order
};

// Standard output receives the points when PointsPath is "-".
RenderResult RunRender(const RenderRequest& request);
