// SPDX-License-Identifier: GPL-3.0-or-later
// One run of paramcurve-render: trace onto a fresh plane exactly as "Kresli"
// does (recording every step for a GIF), or draw every press of a lesson
// in order as opening it in the window does, then write the picture in its
// format and, if asked, the points and the lesson of what was drawn.
#pragma once

#include <QString>
#include <QStringList>

#include "Lesson.h"
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

// Standard output receives the points when PointsPath is "-". With a
// lesson (read from request.LessonPath) its presses are drawn instead of
// request.Press; a press that ended with a formula error or a fault is
// named in its message ("Kreslení 2, \"x\": Dělení nulou") and makes the
// status 1, one the user had stopped does not.
RenderResult RunRender(const RenderRequest& request, const Lesson* lesson = nullptr);
