// SPDX-License-Identifier: GPL-3.0-or-later
// What the plot shows, in one place: the presses of "Kresli" since the last
// "Vymaž" with the plane as it stood before the last of them, the pen's
// track, the last animation, and what the next press starts from (the curve
// colour, t and the variables' values). The windows read it and change it
// only through here; it tells its listeners exactly what changed.
//
// The document draws on a plane it is given (the plot window's, or a
// surface of the renderer's or the page's own); the colour and t are that
// plane's plot state, as the plot window keeps them. Drawing presses again
// (a lesson, a zoom, a slider, "Animovat") goes through DrawAnew,
// RedrawLast and AddPress; a press by hand through PressTrace.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "GifStream.h"
#include "PlotSurface.h"
#include "PressHistory.h"
#include "PressRun.h"

// A point of the pen's track: where the last press that drew any went.
struct PenPoint {
    double T = 0.0;
    double X = 0.0;
    double Y = 0.0;
};

// What happened to the presses.
enum class PressesChange {
    Added,         // one more press ("Kresli", a family's next curve)
    LastReplaced,  // the last press drawn again in its place (a slider)
    AllReplaced,   // a new list drawn on a wiped plane (a lesson opened)
    WindowMoved,   // the same presses drawn again in another window (a zoom, a pan)
    Cleared,       // "Vymaž"
};

// Told of each change as it happens. The pen's track goes with the presses:
// it may have changed with every change of them.
class PlotListener {
public:
    virtual ~PlotListener() = default;
    virtual void PressesChanged(PressesChange change);
    // The pen's track grew by a point: a press traced by hand.
    virtual void PenMoved();
    virtual void AnimationKept();
    // The colour, t, the variables' values or "ponechat stopu": what the
    // next press starts from.
    virtual void NextPressChanged();
};

// The world window a press drew its points in, and its mapping to pixels.
struct ShownWindow {
    PlaneMapping Mapping;
    double X1 = 0.0;
    double X2 = 0.0;
    double Y1 = 0.0;
    double Y2 = 0.0;
};

// How drawing presses again went.
struct PlaneReplay {
    bool Stopped = false;  // stopped from outside: the presses after it were not drawn
    std::vector<PressResult> Results;  // of the presses drawn, in order
};

// One press drawn again, as a record of how it went.
struct DrawnPress {
    RecordedPress Record;
    bool Stopped = false;  // stopped from outside, with StopAt where it stopped
    bool Kept = true;      // false: stopped before it drew anything, not in the list
};

class PlotDocument {
public:
    PlotDocument() = default;
    explicit PlotDocument(PlotSurface& plane) { AttachPlane(plane); }
    PlotDocument(const PlotDocument&) = delete;
    PlotDocument& operator=(const PlotDocument&) = delete;

    // The plane the presses are drawn on; it must outlive the document.
    void AttachPlane(PlotSurface& plane) { plane_ = &plane; }
    bool HasPlane() const { return plane_ != nullptr; }
    PlotSurface& Surface() { return *plane_; }
    const PlotSurface& Surface() const { return *plane_; }

    const PressHistory& Presses() const { return presses_; }
    // The plane before the last press; none while there is no press.
    const std::optional<PlaneSnapshot>& PlaneBeforeLast() const { return beforeLast_; }
    const std::vector<PenPoint>& PenTrack() const { return pen_; }
    // The window the plane shows: that of the last press that drew a point.
    // A press refused or faulted before its first point (a reversed window
    // with axes, equal bounds) leaves the plot state's mapping changed, but
    // not this. None after a wipe, or while no press drew a point.
    std::optional<ShownWindow> Shown() const;
    // The animation of the last "Kresli" or "Animovat"; null before one.
    const std::shared_ptr<const EncodedGif>& LastAnimation() const { return animation_; }

    // What the next press starts from.
    std::int32_t Colour() const;  // ColorValue, red in the low byte
    void SetColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    double NextT() const { return plane_->VarT; }
    void SetNextT(double t);
    const std::array<VariableTexts, VariableCount>& Variables() const { return variables_; }
    void SetVariables(const std::array<VariableTexts, VariableCount>& variables);
    // "ponechat stopu" for "Animovat".
    bool KeepTrace() const { return keepTrace_; }
    void SetKeepTrace(bool keep);

    // Whether there are presses and they differ from those last saved or
    // opened as a lesson (none at start): closing the program would lose them.
    bool Unsaved() const;
    // The presses a lesson saved or opened holds.
    void MarkSaved(const PressHistory& saved) { saved_ = saved; }

    // "Vymaž": the plane white, no presses, no track.
    void Wipe();

    // Each press on a wiped plane, in order; the list becomes what was
    // drawn (a press the host stopped with where it stopped). `change` is
    // AllReplaced or WindowMoved.
    PlaneReplay DrawAnew(const PressHistory& presses, TraceHost& host,
                         PressesChange change = PressesChange::AllReplaced);
    // `last` in place of the last press, over the plane as it stood before
    // it: the earlier curves stay. With no press yet, over the plane as it
    // stands, as one press more.
    DrawnPress RedrawLast(const RecordedPress& last, TraceHost& host);
    // `press` over the plane as it stands, as one press more.
    DrawnPress AddPress(const RecordedPress& press, TraceHost& host);

    // For a press traced by hand (PressTrace): its points as they come, and
    // the press once it has ended, with the plane before it.
    void FollowPen(std::size_t index, double t, const WorldPoint& point);
    // A press's first point: the plane's window is now the press's.
    void NoteFirstPoint();
    void AddTraced(RecordedPress press, PlaneSnapshot planeBefore);
    void KeepAnimation(EncodedGif animation);

    // Listeners are not owned; remove one before it goes.
    void AddListener(PlotListener* listener);
    void RemoveListener(PlotListener* listener);

private:
    DrawnPress DrawOne(const RecordedPress& press, TraceHost& host);
    void Keep(RecordedPress press);
    void RebuildPenTrack();
    void TellPresses(PressesChange change);
    void TellPen();
    void TellNextPress();

    PlotSurface* plane_ = nullptr;
    PressHistory presses_;
    // In step with presses_: the window each press drew its points in.
    std::vector<std::optional<ShownWindow>> windows_;
    std::optional<ShownWindow> drawing_;  // of the press being drawn
    std::optional<PlaneSnapshot> beforeLast_;
    std::vector<PenPoint> pen_;
    std::shared_ptr<const EncodedGif> animation_;
    std::array<VariableTexts, VariableCount> variables_{};
    bool keepTrace_ = false;
    PressHistory saved_;
    std::vector<PlotListener*> listeners_;
};
