// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageVariables.h"

#include <algorithm>

#include "PressMessages.h"
#include "RealText.h"
#include "TraceRecorder.h"

struct PageVariables::Animation {
    std::size_t Variable = 0;
    bool Family = false;
    RecordedPress Base;
    GifInMemory Gif;
    std::optional<PlaneChanges> Changes;
    PixelRect Bounds;
    std::int64_t Next = 0;      // the value to draw next
    std::int64_t Position = 0;  // the value drawn last
    bool Ended = false;
    std::string Status;   // the last value's failure
    std::string Failure;  // one met on the way, with its value
    std::string ValueText;

    Animation(const GifOptions& options, std::vector<std::uint32_t> colours) : Gif(options, std::move(colours)) {}
};

PageVariables::PageVariables(PlotDocument& document, PageStop& stop) : document_(document), stop_(stop) {}

Json PageVariables::Slider(std::size_t variable, double value) const
{
    const SliderRange& range = ranges_[variable];
    return Json{{"count", range.Count}, {"position", NearestStep(range, value)}};
}

Json PageVariables::Take(const std::array<VariableTexts, VariableCount>& texts)
{
    document_.SetVariables(texts);
    Json sliders = Json::object();
    for (std::size_t i = 0; i < VariableCount; ++i) {
        // As the desktop's window shows a lesson's texts: a range that will
        // not do is the default one, a value that will not do is 0.
        PlotState scratch;
        std::string message;
        SliderRange range;
        double value = 0.0;
        try {
            if (!ReadSliderRange(scratch, texts[i], range, message))
                range = SliderRange{};
            if (!EvaluateValue(scratch, texts[i].Value, value, message))
                value = 0.0;
        } catch (const FloatFault&) {
            range = SliderRange{};
            value = 0.0;
        }
        ranges_[i] = range;
        sliders[std::string(1, PressVariables[i].Letter)] = Slider(i, value);
    }
    return sliders;
}

Json PageVariables::ReadValue(std::size_t variable, const std::string& text)
{
    PlotState scratch;
    double value = 0.0;
    std::string message;
    try {
        if (!EvaluateValue(scratch, text, value, message))
            return Json{{"ok", false}, {"refusal", RefusalText(message, PressVariables[variable].Field)},
                        {"fault", false}};
    } catch (const FloatFault& fault) {
        return Json{{"ok", false}, {"refusal", RefusalText(FaultText(fault), PressVariables[variable].Field)},
                    {"fault", true}};
    }
    std::array<VariableTexts, VariableCount> texts = document_.Variables();
    texts[variable].Value = text;
    document_.SetVariables(texts);
    Json reply = Slider(variable, value);
    reply["ok"] = true;
    return reply;
}

Json PageVariables::ReadRange(std::size_t variable, const VariableTexts& typed)
{
    const VariableRangeReading reading = ReadVariableRange(variable, typed);
    if (!reading.Range) {
        const char* parts[] = {"low", "high", "step"};
        return Json{{"ok", false}, {"refusal", reading.Refusal}, {"part", parts[int(reading.Part)]},
                    {"fault", reading.Fault}};
    }
    const SliderRange range = *reading.Range;
    std::array<VariableTexts, VariableCount> texts = document_.Variables();
    texts[variable].Low = typed.Low;
    texts[variable].High = typed.High;
    texts[variable].Step = typed.Step;
    ranges_[variable] = range;
    PlotState scratch;
    std::string message;
    double value = 0.0;
    try {
        EvaluateValue(scratch, texts[variable].Value, value, message);  // read before, so it reads again
    } catch (const FloatFault&) {
        value = 0.0;
    }
    Json reply = Json::object();
    // A value the new range leaves out comes to its nearer end, and the
    // last press is drawn with it.
    if (value < range.Low || value > range.High) {
        value = SweepValue(range, value < range.Low ? 0 : range.Count - 1);
        texts[variable].Value = FormulaText(value);
        reply["valueText"] = texts[variable].Value;
    }
    document_.SetVariables(texts);
    reply.update(Slider(variable, value));
    reply["ok"] = true;
    return reply;
}

Json PageVariables::SliderValue(std::size_t variable, std::int64_t index)
{
    return Json{{"valueText", ShowStep(variable, index)}};
}

std::string PageVariables::ShowStep(std::size_t variable, std::int64_t index)
{
    const double value = SweepValue(ranges_[variable], std::clamp<std::int64_t>(index, 0, ranges_[variable].Count - 1));
    std::array<VariableTexts, VariableCount> texts = document_.Variables();
    texts[variable].Value = FormulaText(value);
    document_.SetVariables(texts);
    return texts[variable].Value;
}

Json PageVariables::RedrawLast()
{
    // Nothing drawn yet: the next "Kresli" takes the values.
    if (document_.Presses().empty())
        return Json{{"line", ""}};
    RecordedPress last = document_.Presses().back();
    last.StopAt.reset();
    last.Press.Variables = document_.Variables();
    ReplayHost host(stop_);
    const DrawnPress drawn = document_.RedrawLast(last, host);
    return Json{{"line", EndedLine(drawn.Record.Result)}};
}

Json PageVariables::AnimateBegin(std::size_t variable, bool keepTrace, const TracePress& panel)
{
    PlotSurface& plane = document_.Surface();
    RecordedPress base{document_.Presses().empty() ? panel : document_.Presses().back().Press, std::nullopt, {}};
    base.Press.Variables = document_.Variables();
    document_.SetKeepTrace(keepTrace);
    animation_ = std::make_shared<Animation>(GifOptions{}, PressColours(base.Press, plane.Canvas()));
    Animation& a = *animation_;
    a.Variable = variable;
    a.Family = keepTrace;
    a.Base = std::move(base);
    a.Changes.emplace(plane);
    a.Bounds = plane.Plane().Rect();
    a.Gif.Start(a.Changes->Picture());
    a.Ended = ranges_[variable].Count <= 0;
    return Json{{"ended", a.Ended}};
}

Json PageVariables::AnimateStep()
{
    if (!animation_ || animation_->Ended)
        return Json{{"ended", true}, {"point", nullptr}};
    Animation& a = *animation_;
    const std::int64_t i = a.Next++;
    a.ValueText = ShowStep(a.Variable, i);
    a.Position = i;
    RecordedPress press = a.Base;
    press.Press.Variables = document_.Variables();
    ReplayHost host(stop_);
    // A family begins where a moving animation does: the last press takes
    // the first value; each value after it is one press more.
    const DrawnPress drawn = a.Family && i > 0 ? document_.AddPress(press, host) : document_.RedrawLast(press, host);
    const std::string failed = EndedLine(drawn.Record.Result);
    if (!failed.empty())
        a.Failure = std::string(1, PressVariables[a.Variable].Letter) + " = " + a.ValueText + ": " + failed;
    a.Status = failed;
    a.Gif.Frame(a.Changes->Take(a.Bounds));
    a.Ended = drawn.Stopped || a.Next >= ranges_[a.Variable].Count;
    return Json{{"ended", a.Ended}, {"point", nullptr}};
}

void PageVariables::AnimateStop()
{
    if (animation_)
        animation_->Ended = true;
}

Json PageVariables::AnimateEnd()
{
    if (!animation_)
        return Json{{"line", ""}};
    const std::shared_ptr<Animation> a = std::move(animation_);
    a->Changes.reset();
    document_.KeepAnimation(a->Gif.Finish());
    Json reply{{"line", a->Status.empty() ? a->Failure : a->Status},
               {"count", ranges_[a->Variable].Count},
               {"position", a->Position}};
    if (a->Next > 0)
        reply["valueText"] = a->ValueText;
    return reply;
}
