// SPDX-License-Identifier: GPL-3.0-or-later
#include "VariableAnimation.h"

#include <QCheckBox>

#include "ControlPanel.h"
#include "Draw2D.h"
#include "LastTrace.h"
#include "LongWork.h"
#include "ParamCurve.h"
#include "PlaneHistory.h"
#include "TraceRecorder.h"
#include "TraceSession.h"
#include "VariablesWindow.h"
#include "WindowReplay.h"

namespace {

QString FailureOf(const PressResult& result)
{
    if (result.End != PressEnd::FormulaError && result.End != PressEnd::Fault)
        return QString();
    return RefusalText(result.Message, result.Focus).replace(u'\n', QStringLiteral(", "));
}

}  // namespace

void AnimateVariable(TVariables& window, std::size_t variable)
{
    if (TraceRunning() || !Draw2D || !Control_Panel)
        return;
    TDraw2D& plot = *Draw2D;
    const PlaneHistory& history = PlaneHistory::Of(plot);
    RecordedPress base{history.Presses().empty() ? Control_Panel->CurrentPress() : history.Presses().back().Press,
                       std::nullopt, {}};
    base.Press.Variables = window.Texts();
    const SliderRange range = window.RangeOf(variable);
    const bool family = window.KeepTrace->isChecked();

    TraceSession session(ProgramWindows());
    GifInMemory gif(GifOptions{}, PressColours(base.Press, plot.Canvas()));
    QString failure;
    {
        PlaneChanges changes(plot);
        const QRect bounds = plot.Plane().rect();
        gif.Start(changes.Picture());
        for (std::int64_t i = 0; i < range.Count; ++i) {
            window.ShowStep(variable, i);
            RecordedPress press = base;
            press.Press.Variables = window.Texts();
            // A family begins where a moving animation does: the last press
            // takes the first value; each value after it is one press more.
            const DrawnPress drawn = family && i > 0 ? AddPressIn(session, plot, press)
                                                     : RedrawLastPressIn(session, plot, press);
            const QString failed = FailureOf(drawn.Record.Result);
            if (!failed.isEmpty())
                failure = QString(QChar::fromLatin1(PressVariables[variable].Letter)) + " = " +
                          QString::fromStdString(press.Press.Variables[variable].Value) + ": " + failed;
            window.SetStatus(failed);
            plot.RepaintPlane();
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
    LastTrace::Of(plot).Keep(gif.Finish());
    // The last value's failure, or else one met on the way.
    if (window.Status->text().isEmpty())
        window.SetStatus(failure);
}
