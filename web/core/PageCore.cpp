// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageCore.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "LessonFormat.h"
#include "PlaneDescription.h"
#include "PlaneSvg.h"
#include "PressCaptions.h"
#include "ReadoutText.h"
#include "RealText.h"
#include "VariableValues.h"

namespace {

const char* ChangeName(PressesChange change)
{
    switch (change) {
    case PressesChange::Added: return "added";
    case PressesChange::LastReplaced: return "last-replaced";
    case PressesChange::AllReplaced: return "all-replaced";
    case PressesChange::WindowMoved: return "window-moved";
    case PressesChange::Cleared: return "cleared";
    }
    return "added";
}

const std::string NoBytes;

}  // namespace

PageCore::PageCore(std::function<bool()> stopAsked)
    : stop_(std::move(stopAsked)), document_(plane_), explore_(document_, stop_), variables_(document_, stop_),
      window_(*this)
{
    // The plot window as start-up leaves it: 500 x 500, white, the curve in
    // 0, 0, 200, t = 0.
    plane_.ResizePlane(500, 500);
    plane_.FillPlane(255, 255, 255);
    document_.SetColour(0, 0, 200);
    plane_.AddPlaneObserver(this);
    document_.AddListener(this);
    changed_ = plane_.Plane().Rect();
    sent_ = RgbImage(500, 500);
    sent_.Fill(ColorValue(0, 0, 0));  // unlike any plane: the first change is all of it
}

PageCore::~PageCore()
{
    trace_.reset();
    document_.RemoveListener(this);
    plane_.RemovePlaneObserver(this);
}

void PageCore::PressesChanged(PressesChange change)
{
    change_ = change;
}

void PageCore::PlaneChanged(const PixelRect& rect)
{
    changed_ = changed_.United(rect.Intersected(plane_.Plane().Rect()));
}

Json PageCore::TakeChanged()
{
    const RgbImage& plane = plane_.Plane();
    const PixelRect rect = std::exchange(changed_, PixelRect()).Intersected(plane.Rect());
    // A redraw puts the whole plane back before drawing, yet changes only
    // where the curve moved: only what differs goes to the page.
    int top = -1;
    int bottom = -1;
    int left = rect.Right() + 1;
    int right = rect.Left() - 1;
    const std::size_t bytes = std::size_t(rect.Width()) * 3;
    for (int y = rect.Top(); y <= rect.Bottom() && !rect.IsEmpty(); ++y) {
        std::uint8_t* shown = sent_.Line(y) + 3 * std::size_t(rect.Left());
        const std::uint8_t* now = plane.Line(y) + 3 * std::size_t(rect.Left());
        if (std::memcmp(shown, now, bytes) == 0)
            continue;
        if (top < 0)
            top = y;
        bottom = y;
        int first = 0;
        while (std::memcmp(shown + 3 * first, now + 3 * first, 3) == 0)
            ++first;
        int last = rect.Width() - 1;
        while (std::memcmp(shown + 3 * last, now + 3 * last, 3) == 0)
            --last;
        left = std::min(left, rect.Left() + first);
        right = std::max(right, rect.Left() + last);
        std::memcpy(shown, now, bytes);
    }
    if (top < 0)
        return Json{{"x", 0}, {"y", 0}, {"w", 0}, {"h", 0}};
    return Json{{"x", left}, {"y", top}, {"w", right - left + 1}, {"h", bottom - top + 1}};
}

Json PageCore::DocumentState() const
{
    return Json{{"change", change_ ? Json(ChangeName(*change_)) : Json(nullptr)},
                {"presses", document_.Presses().size()},
                {"description", DescribePlane(document_.Presses())},
                {"canReturn", explore_.CanReturn()},
                {"hasAnimation", document_.LastAnimation() != nullptr},
                {"penCount", document_.PenTrack().size()},
                {"nextT", ShortestText(document_.NextT())},
                {"unsaved", document_.Unsaved()}};
}

Json PageCore::WithDocument(Json reply) const
{
    reply["document"] = DocumentState();
    return reply;
}

TracePress PageCore::PanelPress(const Json& panel) const
{
    TracePress start = StartPress();
    start.TBefore = document_.NextT();
    start.Variables = document_.Variables();
    start.KeepTrace = document_.KeepTrace();
    return PressOfJson(panel, start);
}

Json PageCore::PenPointJson(std::size_t index, const std::optional<PlaneMapping>& mapping) const
{
    const PenPoint& point = document_.PenTrack()[index];
    Json px = nullptr;
    Json py = nullptr;
    if (mapping) {
        try {
            px = mapping->ScreenX(point.X);
            py = mapping->ScreenY(point.Y);
        } catch (const FloatFault&) {
            px = py = nullptr;  // too far out to map: the text without its ring
        }
    }
    return Json{{"index", index}, {"t", point.T},          {"x", point.X}, {"y", point.Y},
                {"px", px},       {"py", py}, {"text", PenReadoutText(point.T, point.X, point.Y, ReadoutZeroShown())}};
}

void PageCore::TraceWindow::PointTraced(std::size_t index, double, const WorldPoint&)
{
    // The document has followed the pen already; the point is mapped as the
    // press drew it.
    if (index < core_.document_.PenTrack().size())
        traced_ = core_.PenPointJson(index, core_.plane_.Mapping());
}

Json PageCore::PressBegin(const Json& panel)
{
    PageStop::Scope scope(stop_);
    trace_.reset();
    const TracePress press = PanelPress(panel);
    // The panel's variables and "ponechat stopu" are what the next press
    // starts from, as the desktop's document holds them.
    variables_.Take(press.Variables);
    document_.SetKeepTrace(press.KeepTrace);
    window_.Reset(press.Dashed);
    trace_ = std::make_unique<PressTrace>(document_, press, window_);
    const bool read = trace_->ReadInputs();
    return Json{{"ended", !read}};
}

Json PageCore::PressStep()
{
    if (!trace_)
        return Json{{"ended", true}, {"point", nullptr}};
    PageStop::Scope scope(stop_);
    const bool more = trace_->Step();
    const std::optional<Json> point = window_.TakePoint();
    return Json{{"ended", !more}, {"point", point ? *point : Json(nullptr)}};
}

void PageCore::PressStop()
{
    if (trace_)
        trace_->Stop();
}

Json PageCore::PressEnd()
{
    if (!trace_)
        return WithDocument(Json{{"result", nullptr}});
    if (!trace_->Run().Ended())
        trace_->Stop();
    const PressResult result = trace_->Result();
    trace_.reset();  // recorded as it goes
    return WithDocument(Json{{"result", ResultJson(result)}});
}

Json PageCore::Clear()
{
    trace_.reset();
    document_.Wipe();
    return WithDocument(Json::object());
}

Json PageCore::OpenLesson(std::string_view bytes, bool asSaved)
{
    const LessonReading reading = ReadLesson(bytes);
    if (!reading.Ok)
        return Json{{"ok", false}, {"problem", reading.Problem}};
    PageStop::Scope scope(stop_);
    trace_.reset();
    ReplayHost host(stop_);
    const PlaneReplay replay = document_.DrawAnew(reading.Read.Drawn, host);
    // Also after Esc: the panel is the lesson's, the plane as far as drawn.
    const TracePress& panel = reading.Read.Panel;
    const Json sliders = variables_.Take(panel.Variables);
    document_.SetKeepTrace(panel.KeepTrace);
    document_.SetNextT(panel.TBefore);
    document_.SetColour(panel.CurveR, panel.CurveG, panel.CurveB);
    if (asSaved)
        document_.MarkSaved(reading.Read.Drawn);
    Json results = Json::array();
    for (const PressResult& result : replay.Results)
        results.push_back(ResultJson(result));
    return WithDocument(Json{{"ok", true}, {"panel", PressJson(panel)}, {"sliders", sliders}, {"results", results},
                             {"stopped", replay.Stopped}});
}

Json PageCore::LessonText(const Json& panel)
{
    std::string problem;
    const std::string text = SaveableLessonText(Lesson{PanelPress(panel), document_.Presses()}, problem);
    if (text.empty())
        return Json{{"problem", problem}};
    return Json{{"text", text}};
}

Json PageCore::LessonSaved()
{
    document_.MarkSaved(document_.Presses());
    return WithDocument(Json::object());
}

Json PageCore::Svg() const
{
    return Json{{"text", PlaneSvgText(plane_.Record())}};
}

Json PageCore::PrintCaptions() const
{
    return Json{{"captions", PressCaptions(document_.Presses())}};
}

const std::string& PageCore::GifBytes() const
{
    const auto& animation = document_.LastAnimation();
    return animation ? animation->Bytes : NoBytes;
}

Json PageCore::GifSize() const
{
    const auto& animation = document_.LastAnimation();
    return Json{{"bytes", GifBytes().size()}, {"message", animation ? animation->Message : std::string()}};
}

Json PageCore::PenReadout(int index) const
{
    const std::vector<PenPoint>& track = document_.PenTrack();
    if (index < 0 || std::size_t(index) >= track.size())
        return Json::object();
    // Through the window the plane shows, never one a refused press left.
    std::optional<PlaneMapping> mapping;
    if (const std::optional<ShownWindow> shown = document_.Shown())
        mapping = shown->Mapping;
    Json reply = PenPointJson(std::size_t(index), mapping);
    const PenPoint& point = track[std::size_t(index)];
    reply["copy"] = CopiedShownPoint(point.T, point.X, point.Y, ReadoutZeroShown());
    reply["copyExact"] = CopiedExactPoint(point.T, point.X, point.Y);
    return reply;
}

ReadoutZero PageCore::ReadoutZeroShown() const
{
    // A hundredth of a pixel of the window the plane shows; none after "Vymaž".
    const std::optional<ShownWindow> shown = document_.Shown();
    if (!shown)
        return ReadoutZero{};
    const RgbImage& plane = document_.Surface().Plane();
    return ZeroOfWindow(shown->X1, shown->X2, shown->Y1, shown->Y2, plane.Width(), plane.Height());
}

Json PageCore::MouseReadout(int x, int y) const
{
    // The plane's window is the one of what is drawn: none after "Vymaž".
    const std::optional<ShownWindow> shown = document_.Shown();
    if (!shown)
        return Json{{"text", ""}};
    try {
        const PlaneMapping mapping = shown->Mapping;
        const WorldPoint here = PixelCentre(mapping, PixelPoint{x, y});
        const WorldPoint left = PixelCentre(mapping, PixelPoint{x - 1, y});
        const WorldPoint right = PixelCentre(mapping, PixelPoint{x + 1, y});
        const WorldPoint above = PixelCentre(mapping, PixelPoint{x, y - 1});
        const WorldPoint below = PixelCentre(mapping, PixelPoint{x, y + 1});
        // Enough digits that the neighbours read differently and the text
        // maps back to this very pixel.
        const auto sameColumn = [&](double value) {
            try {
                return mapping.ScreenX(value) == x;
            } catch (const FloatFault&) {
                return false;
            }
        };
        const auto sameRow = [&](double value) {
            try {
                return mapping.ScreenY(value) == y;
            } catch (const FloatFault&) {
                return false;
            }
        };
        const int xDigits = DistinctDigits(left.x, here.x, right.x, sameColumn);
        const int yDigits = DistinctDigits(below.y, here.y, above.y, sameRow);
        return Json{{"text", MouseReadoutText(here.x, xDigits, here.y, yDigits, ReadoutZeroShown())}};
    } catch (const FloatFault&) {
        return Json{{"text", ""}};  // no mapping yet
    }
}

Json PageCore::Zoom(int x, int y, double notches, const Json& fields)
{
    PageStop::Scope scope(stop_);
    return WithDocument(explore_.Zoom(x, y, notches, fields));
}

Json PageCore::Pan(int drag, int fromX, int fromY, int toX, int toY, const Json& fields)
{
    PageStop::Scope scope(stop_);
    return WithDocument(explore_.Pan(drag, PixelPoint{fromX, fromY}, PixelPoint{toX, toY}, fields));
}

Json PageCore::OriginalWindow()
{
    PageStop::Scope scope(stop_);
    return WithDocument(explore_.OriginalWindow());
}

Json PageCore::ReadValue(const char* letter, const std::string& text)
{
    const std::optional<std::size_t> variable = VariableOfLetter(letter);
    if (!variable)
        return Json{{"ok", false}, {"refusal", "Neznámá proměnná"}, {"fault", false}};
    return variables_.ReadValue(*variable, text);
}

Json PageCore::ReadRange(const char* letter, const VariableTexts& typed)
{
    const std::optional<std::size_t> variable = VariableOfLetter(letter);
    if (!variable)
        return Json{{"ok", false}, {"refusal", "Neznámá proměnná"}, {"part", "low"}, {"fault", false}};
    return variables_.ReadRange(*variable, typed);
}

Json PageCore::SliderValue(const char* letter, std::int64_t index)
{
    const std::optional<std::size_t> variable = VariableOfLetter(letter);
    if (!variable)
        return Json{{"valueText", ""}};
    return variables_.SliderValue(*variable, index);
}

Json PageCore::RedrawLast(const Json& variables)
{
    PageStop::Scope scope(stop_);
    variables_.Take(PanelPress(variables).Variables);
    return WithDocument(variables_.RedrawLast());
}

Json PageCore::AnimateBegin(const char* letter, bool keepTrace, const Json& variables, const Json& panel)
{
    const std::optional<std::size_t> variable = VariableOfLetter(letter);
    if (!variable)
        return Json{{"ended", true}};
    PageStop::Scope scope(stop_);
    trace_.reset();
    variables_.Take(PanelPress(variables).Variables);
    return variables_.AnimateBegin(*variable, keepTrace, PanelPress(panel));
}

Json PageCore::AnimateStep()
{
    PageStop::Scope scope(stop_);
    return variables_.AnimateStep();
}

void PageCore::AnimateStop()
{
    variables_.AnimateStop();
}

Json PageCore::AnimateEnd()
{
    return WithDocument(variables_.AnimateEnd());
}

Json PageCore::VariablesUsed(const std::string& text) const
{
    const std::array<bool, VariableCount> used = VariablesUsedBy(text);
    Json letters = Json::array();
    for (std::size_t i = 0; i < VariableCount; ++i) {
        if (used[i])
            letters.push_back(std::string(1, PressVariables[i].Letter));
    }
    return Json{{"used", letters}};
}
