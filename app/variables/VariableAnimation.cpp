// SPDX-License-Identifier: GPL-3.0-or-later
#include "VariableAnimation.h"

#include <QCheckBox>

#include "LongWork.h"
#include "PressMessages.h"
#include "TracePause.h"
#include "TraceRecorder.h"
#include "VariablesWindow.h"
#include "WindowReplay.h"

void AnimateVariable(TVariables& window, std::size_t variable)
{
    PlotDocument& document = window.Document();
    if (TraceRunning() || !document.HasPlane())
        return;
    PlotSurface& plane = document.Surface();
    RecordedPress base{document.Presses().empty() ? window.Panel().CurrentPress() : document.Presses().back().Press,
                       std::nullopt, {}};
    base.Press.Variables = document.Variables();
    const SliderRange range = window.RangeOf(variable);
    const bool family = window.KeepTrace->isChecked();

    TraceSession session(ProgramWindows());
    SessionHost host(session);
    GifInMemory gif(GifOptions{}, PressColours(base.Press, plane.Canvas()));
    QString failure;
    {
        PlaneChanges changes(plane);
        const PixelRect bounds = plane.Plane().Rect();
        gif.Start(changes.Picture());
        for (std::int64_t i = 0; i < range.Count; ++i) {
            window.ShowStep(variable, i);
            RecordedPress press = base;
            press.Press.Variables = document.Variables();
            // A family begins where a moving animation does: the last press
            // takes the first value; each value after it is one press more.
            const DrawnPress drawn = family && i > 0 ? document.AddPress(press, host)
                                                     : document.RedrawLast(press, host);
            const QString failed = QString::fromStdString(EndedLine(drawn.Record.Result));
            if (!failed.isEmpty())
                failure = QString(QChar::fromLatin1(PressVariables[variable].Letter)) + " = " +
                          QString::fromStdString(press.Press.Variables[variable].Value) + ": " + failed;
            window.SetStatus(failed);
            plane.RepaintPlane();
            gif.Frame(changes.Take(bounds));
            if (drawn.Stopped)
                break;
            if (i + 1 < range.Count) {
                try {
                    PauseAsATrace(session);
                    session.ThrowIfStopped();
                } catch (const EvaluationCancelled&) {
                    break;
                }
            }
        }
    }
    document.KeepAnimation(gif.Finish());
    // The last value's failure, or else one met on the way.
    if (window.Status->text().isEmpty())
        window.SetStatus(failure);
}
