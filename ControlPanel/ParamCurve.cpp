// SPDX-License-Identifier: GPL-3.0-or-later
// "Kresli": the panel hands its press to the document's trace, which runs it
// step by step and keeps it however it ends; the panel pauses between the
// steps, keeps user input waiting meanwhile (Esc stops the trace) and shows
// what came back.
#include <QLineEdit>

#include "ControlPanel.h"
#include "Dialogs.h"
#include "Draw2D.h"
#include "PressMessages.h"
#include "PressTrace.h"
#include "TracePause.h"
#include "TraceSession.h"

namespace {

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

void TControl_Panel::ReadInputs(PressRun& run)
{
    run.ReadInputs();
    EquationX = run.Inputs().EquationX;
    EquationY = run.Inputs().EquationY;
    SegmentCount = run.Inputs().SegmentCount;
}

void TControl_Panel::ShowMessageAbout(const PressResult& result)
{
    const QString text = QString::fromStdString(EndedText(result));
    if (text.isEmpty())
        return;
    const bool fault = result.End == PressEnd::Fault;
    // Focus first: the box hands it back to the field when it closes.
    QLineEdit* edit = FieldEdit(fault ? result.AdviceField : result.Focus);
    if (edit)
        FocusField(edit);
    if (fault)
        ShowFaultBox(text);
    else
        ShowErrorBox(text);
    if (edit)
        FocusField(edit);
}

void TControl_Panel::Param_Curve()
{
    if (TraceRunning() || !Draw2D)
        return;
    // The variables window may show first, before the session holds input,
    // so that it is among the windows the session holds.
    emit Pressing(CurrentPress().Texts);
    // Busy cursor, input held back and Esc watched until the trace ends;
    // every box comes after the session has ended.
    TraceSession session(ProgramWindows());
    PanelTraceHost host(*this, session);
    PressTrace trace(document_, CurrentPress(), host);
    ReadInputs(trace.Run());
    const PressResult& result = trace.Drive();
    session.End();
    // Over what was drawn; Esc or a stop in a slow bound says nothing.
    ShowMessageAbout(result);
}
