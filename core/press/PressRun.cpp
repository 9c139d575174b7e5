// SPDX-License-Identifier: GPL-3.0-or-later
#include "PressRun.h"

#include <algorithm>

#include "Expression.h"
#include "FaultAdvice.h"
#include "LongWork.h"
#include "PlotSurface.h"

void TraceHost::PointTraced(std::size_t, double, const WorldPoint&)
{
}

PressRun::PressRun(PlotSurface& surface, const TracePress& press, TraceHost* host)
    : surface_(surface), press_(press), host_(host)
{
}

template <typename Work>
bool PressRun::Guarded(Work&& work)
{
    try {
        return work();
    } catch (const FloatFault& fault) {
        Fault(fault);
    } catch (const EvaluationCancelled&) {
        Stop();
    }
    return false;
}

void PressRun::Note(TraceStage stage, InputField input)
{
    place_.Stage = stage;
    place_.Input = input;
}

void PressRun::End(PressResult result)
{
    result_ = std::move(result);
    stage_ = Stage::Ended;
    ended_ = true;
}

void PressRun::Refuse(const std::string& message, InputField focus)
{
    PressResult result;
    result.End = PressEnd::FormulaError;
    result.Message = message;
    result.Focus = focus;
    result.PointCount = points_;
    End(std::move(result));
}

void PressRun::Refuse(const TraceOutcome& refusal)
{
    Refuse(refusal.Message, refusal.Focus);
}

void PressRun::Fault(const FloatFault& fault)
{
    PressResult result;
    result.End = PressEnd::Fault;
    result.Message = FaultText(fault);
    result.Focus = place_.Input;
    result.PointCount = points_;
    result.Fault = fault.Kind();
    const FaultAdvice advice = AdviseFault(fault.Kind(), place_, surface_);
    result.Advice = advice.Cause;
    result.AdviceField = advice.Field;
    End(std::move(result));
}

void PressRun::Stop()
{
    if (!ended_)
        End(StoppedResult(points_));
}

bool PressRun::ReadInputs()
{
    if (stage_ != Stage::Start)
        return !ended_;
    return Guarded([this] {
        surface_.CurveR = press_.CurveR;
        surface_.CurveG = press_.CurveG;
        surface_.CurveB = press_.CurveB;
        surface_.VarT = press_.TBefore;
        // The variables first: a bound may use them.
        const TraceOutcome values = WriteVariables(surface_, press_, &place_);
        if (!values.Ok()) {
            Refuse(values);
            return false;
        }
        const TraceOutcome bounds = ReadTraceInputs(surface_, press_.Texts, inputs_, &place_);
        if (!bounds.Ok()) {
            Refuse(bounds);
            return false;
        }
        stage_ = Stage::InputsRead;
        return true;
    });
}

bool PressRun::Begin()
{
    if (!ReadInputs())
        return false;
    if (stage_ == Stage::InputsRead) {
        Guarded([this] {
            Prepare();
            return true;
        });
    }
    return !ended_;
}

void PressRun::Prepare()
{
    drawing_ = true;
    Note(TraceStage::SettingWorld);
    surface_.SetWorld(surface_.X1, surface_.X2, surface_.Y1, surface_.Y2);
    if (press_.ShowAxes) {
        surface_.Canvas().SetPenWidth(1);
        surface_.Canvas().SetFontHeight(10);
        Note(TraceStage::DrawingAxisX);
        surface_.DrawAxisX(surface_.X1, surface_.X2, 0.0, 255, 0, 0);
        Note(TraceStage::DrawingAxisY);
        surface_.DrawAxisY(surface_.Y1, surface_.Y2, 0.0, 255, 0, 0);
    }

    Note(TraceStage::FindingStep);
    const Extended span = static_cast<Extended>(surface_.T2) - static_cast<Extended>(surface_.T1);
    surface_.DT = StoreReal(DivideExtended(span, static_cast<Extended>(inputs_.SegmentCount)));
    surface_.VarT = surface_.T1;

    PostfixProgram programX;
    PostfixProgram programY;
    Note(TraceStage::Compiling, InputField::EquationX);
    CompileExpression(surface_, inputs_.EquationX, surface_.ErrorText, programX);
    const std::string messageX = surface_.ErrorText;
    Note(TraceStage::Compiling, InputField::EquationY);
    CompileExpression(surface_, inputs_.EquationY, surface_.ErrorText, programY);
    Note(TraceStage::Compiling);
    // Both are compiled; the y formula's message is shown when both fail.
    if (!surface_.ErrorText.empty()) {
        Refuse(surface_.ErrorText, InputField::EquationY);
        return;
    }
    if (!messageX.empty()) {
        Refuse(messageX, InputField::EquationX);
        return;
    }
    // Constant parts are worked out here, once; each step gives exactly what
    // EvaluatePostfix on the programs gives.
    programX_ = PrepareProgram(programX);
    programY_ = PrepareProgram(programY);

    // Rounding can keep t from ever passing T2 + DT (a step too small to move
    // it, or T1 = T2); the bound ends such traces inside Points.
    limit_ = static_cast<std::size_t>(
        std::clamp<std::int64_t>(std::int64_t{inputs_.SegmentCount} + 2, 1, PointCapacity));
    stage_ = Stage::Tracing;
}

bool PressRun::Next()
{
    if (!Begin())
        return false;
    return Guarded([this] { return Trace(); });
}

bool PressRun::Trace()
{
    const std::size_t i = points_;
    if (i > 0) {
        // The loop goes on while T2 + DT >= t; unordered (never, as no NaN
        // is stored) also ends it.
        Note(TraceStage::AdvancingT);
        surface_.VarT = StoreReal(static_cast<Extended>(surface_.VarT) + surface_.DT);
        if (i >= limit_ || !(static_cast<Extended>(surface_.T2) + surface_.DT >= surface_.VarT)) {
            PressResult completed;
            completed.PointCount = points_;
            End(std::move(completed));
            return false;
        }
    }
    if (stopAt_ && i >= *stopAt_) {
        stoppedAsRecorded_ = true;
        Stop();
        return false;
    }

    WorldPoint& point = surface_.Points[i];
    place_.Point = i;
    Note(TraceStage::Evaluating, InputField::EquationX);
    point.x = EvaluatePrepared(surface_, *programX_, surface_.ErrorText);
    if (!surface_.ErrorText.empty()) {
        Refuse(surface_.ErrorText, InputField::EquationX);
        return false;
    }
    Note(TraceStage::Evaluating, InputField::EquationY);
    point.y = EvaluatePrepared(surface_, *programY_, surface_.ErrorText);
    Note(TraceStage::DrawingSegment);
    if (!surface_.ErrorText.empty()) {
        Refuse(surface_.ErrorText, InputField::EquationY);
        return false;
    }
    points_ = i + 1;
    if (host_)
        host_->PointTraced(i, surface_.VarT, point);

    const bool dashed = host_ ? host_->Dashed() : press_.Dashed;
    if (i > 0 && (!dashed || i % 2 == 1))
        surface_.DrawLine(surface_.Points[i - 1], point, surface_.CurveR, surface_.CurveG, surface_.CurveB);
    return true;
}

bool DriveRun(PressRun& run, TraceHost& host)
{
    while (run.Next()) {
        host.Repaint();
        try {
            host.Pause();
        } catch (const EvaluationCancelled&) {
            run.Stop();
        }
    }
    if (run.Result().Ok())
        host.Repaint();
    return run.Result().End == PressEnd::Stopped && !run.StoppedAsRecorded();
}

PressResult RunPress(PlotSurface& surface, const TracePress& press, TraceHost& host)
{
    PressRun run(surface, press, &host);
    DriveRun(run, host);
    return run.Result();
}
