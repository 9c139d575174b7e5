// SPDX-License-Identifier: GPL-3.0-or-later
// "Kresli": the panel hands its press to the trace, shows what comes back,
// keeps user input waiting while the trace runs (Esc stops it), and adds the
// press to the plane's history however it ended.
#include "ParamCurve.h"

#include <QLineEdit>

#include <chrono>
#include <utility>

#include "ControlPanel.h"
#include "CurveTrace.h"
#include "Dialogs.h"
#include "Draw2D.h"
#include "LastTrace.h"
#include "LongWork.h"
#include "PenTrack.h"
#include "PlaneHistory.h"
#include "PressReplay.h"
#include "TraceRecorder.h"
#include "TraceSession.h"
#include "VariablesWindow.h"
#include "WindowReplay.h"

namespace {

TracePause PauseSeam;

// A refusal found by ReadInputs; Param_Curve shows it and ends.
struct InputRefused {
    TraceOutcome outcome;
};

class PanelTraceHost : public TraceHost {
public:
    PanelTraceHost(TControl_Panel& panel, TraceSession& session) : panel_(panel), session_(session) {}
    bool Dashed() override { return panel_.CheckBox2->isChecked(); }
    void Repaint() override { Draw2D->RepaintPlane(); }
    void Pause() override
    {
        PauseAsATrace(session_);
        // Esc during the pause stops the trace here, before the next point.
        session_.ThrowIfStopped();
    }
    void PointTraced(std::size_t index, double t, const WorldPoint& point) override
    {
        Points = index + 1;
        PenTrack::Of(*Draw2D).Add(index, t, point);  // the readout follows the pen
    }

    std::size_t Points = 0;

private:
    TControl_Panel& panel_;
    TraceSession& session_;
};

void FocusField(QLineEdit* field)
{
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

}  // namespace

void SetTracePause(TracePause pause)
{
    PauseSeam = std::move(pause);
}

void PauseAsATrace(TraceSession& session)
{
    if (PauseSeam)
        PauseSeam();
    else
        session.Wait(std::chrono::milliseconds(TracePauseMilliseconds));
}

bool TraceRunning()
{
    return TraceSession::Running();
}

void TControl_Panel::ReadInputs(const TracePress& press, FaultPlace& place)
{
    // The variables first: a bound may use them.
    TraceOutcome values = WriteVariables(*Draw2D, press, &place);
    if (!values.Ok())
        throw InputRefused{std::move(values)};
    TraceInputs inputs;
    TraceOutcome outcome = ReadTraceInputs(*Draw2D, press.Texts, inputs, &place);
    EquationX = inputs.EquationX;
    EquationY = inputs.EquationY;
    SegmentCount = inputs.SegmentCount;
    if (!outcome.Ok())
        throw InputRefused{std::move(outcome)};
}

void TControl_Panel::ShowMessageAbout(const QString& text, InputField field, bool fault)
{
    // Focus first: the box hands it back to the field when it closes.
    QLineEdit* edit = FieldEdit(field);
    if (edit)
        FocusField(edit);
    if (fault)
        ShowFaultBox(text);
    else
        ShowErrorBox(text);
    if (edit)
        FocusField(edit);
}

namespace {

// A fault's message with its cause on a second line, when it is known.
QString FaultText(const PressResult& result)
{
    const QString text = QString::fromStdString(result.Message);
    return result.Advice.empty() ? text : text + u'\n' + QString::fromStdString(result.Advice);
}

}  // namespace

void TControl_Panel::Param_Curve()
{
    if (TraceRunning() || !Draw2D)
        return;
    // Busy cursor, input held back and Esc watched until the handler returns;
    // every box comes after the session has ended. The variables window is
    // shown before the session, so that it is among the windows it holds.
    ShowVariablesFirstTime(CurrentPress().Texts);
    TraceSession session(ProgramWindows());
    const TracePress press = CurrentPress();
    FaultPlace place;

    try {
        ReadInputs(press, place);
    } catch (const InputRefused& refused) {
        session.End();
        ShowMessageAbout(RefusalText(refused.outcome.Message, refused.outcome.Focus), refused.outcome.Focus, false);
        return;
    } catch (const EvaluationCancelled&) {
        return;  // Esc during a slow bound: nothing drawn, nothing to say
    } catch (const FloatFault& fault) {
        const PressResult result = FaultResult(fault, place, *Draw2D, 0);
        session.End();
        ShowMessageAbout(FaultText(result), result.AdviceField, true);
        return;
    }

    PanelTraceHost host(*this, session);
    // What the user watches is recorded for "Uložit animaci…", from the plane
    // as it stands now; the press goes into the plane's history. Both are
    // kept however the trace ends.
    // The frames are encoded as they are taken: the recording costs the
    // GIF's size, not its frames'.
    const PlaneSnapshot before = Draw2D->Snapshot();
    GifInMemory gif(GifOptions{}, PressColours(press, Draw2D->Canvas()));
    TraceRecorder recorder(*Draw2D, host, gif);
    const auto keep = [&](PressResult result) {
        RecordedPress record{press, std::nullopt, std::move(result)};
        if (record.Result.End == PressEnd::Stopped)
            record.StopAt = record.Result.PointCount;
        recorder.Finish();
        LastTrace::Of(*Draw2D).Keep(gif.Finish());
        PlaneHistory::Of(*Draw2D).Add(std::move(record), before);
    };
    const TraceInputs inputs{EquationX, EquationY, SegmentCount};
    TraceOutcome outcome;
    try {
        outcome = TraceCurve(*Draw2D, inputs, press.ShowAxes, recorder, &place);
    } catch (const EvaluationCancelled&) {
        PressResult stopped;
        stopped.End = PressEnd::Stopped;
        stopped.PointCount = host.Points;
        keep(std::move(stopped));
        return;  // Esc: the plane keeps what was drawn, and nothing else is shown
    } catch (const FloatFault& fault) {
        const PressResult result = FaultResult(fault, place, *Draw2D, host.Points);
        keep(result);
        session.End();
        // Over what was drawn, as the default fault box shows it.
        ShowMessageAbout(FaultText(result), result.AdviceField, true);
        return;
    }
    keep(ResultOf(outcome));
    session.End();
    if (!outcome.Ok())
        ShowMessageAbout(RefusalText(outcome.Message, outcome.Focus), outcome.Focus, false);
}
