// SPDX-License-Identifier: GPL-3.0-or-later
// The page's core: one document on a 500 x 500 plane, as the plot window
// holds it, and what the page asks of it (web/PROTOCOL.md, "Worker →
// module"): "Kresli" a step at a time (PressTrace, the page's timer keeping
// the tempo), "Vymaž", lessons read and written, zoom and pan, the
// variables and "Animovat", the readout's texts, the pictures (SVG, the
// GIF), the plane's description and the rectangle of it that changed. Each
// answer is a JSON value the exported functions (PageExports.cpp) hand on.
//
// Plain C++ over the core: it is built natively too, for its tests.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "PageExplore.h"
#include "PageJson.h"
#include "PageStop.h"
#include "PageVariables.h"
#include "ReadoutText.h"
#include "PlotDocument.h"
#include "PlotSurface.h"
#include "PressTrace.h"

class PageCore : private PlotListener, private PlaneObserver {
public:
    // `stopAsked` tells whether the page has asked to stop (Esc).
    explicit PageCore(std::function<bool()> stopAsked = nullptr);
    ~PageCore() override;
    PageCore(const PageCore&) = delete;
    PageCore& operator=(const PageCore&) = delete;

    PageStop& Stop() { return stop_; }
    const PlotDocument& Document() const { return document_; }

    // The plane's pixels: RGB, row by row from the top left, no padding.
    const std::uint8_t* PlanePixels() const { return plane_.Plane().Bits(); }
    // {x, y, w, h} changed since the last call (w 0: nothing), then forgotten:
    // the bounding box of the pixels that differ from those taken before
    // within what drawing may have changed.
    Json TakeChanged();

    // "Kresli": {ended} after reading the inputs, {ended, point} a step.
    Json PressBegin(const Json& panel);
    Json PressStep();
    void PressStop();
    // {result, document}; the trace is let go.
    Json PressEnd();

    Json Clear();
    // {ok: true, panel, sliders, results, document} or {ok: false, problem}.
    // A lesson the user opened counts as saved (closing loses nothing); one
    // the page draws again after its worker was made anew does not.
    Json OpenLesson(std::string_view bytes, bool asSaved = true);
    // {text} or {problem}.
    Json LessonText(const Json& panel);
    // The presses drawn are now in a saved file: {document}.
    Json LessonSaved();
    Json Svg() const;
    // The lines a printed page carries under the plane: {captions}.
    Json PrintCaptions() const;
    // The last animation's file, or its message; empty before one.
    const std::string& GifBytes() const;
    Json GifSize() const;

    Json PenReadout(int index) const;
    Json MouseReadout(int x, int y) const;

    Json Zoom(int x, int y, double notches, const Json& fields);
    Json Pan(int drag, int fromX, int fromY, int toX, int toY, const Json& fields);
    Json OriginalWindow();

    Json ReadValue(const char* letter, const std::string& text);
    Json ReadRange(const char* letter, const VariableTexts& typed);
    Json SliderValue(const char* letter, std::int64_t index);
    Json RedrawLast(const Json& variables);
    Json AnimateBegin(const char* letter, bool keepTrace, const Json& variables, const Json& panel);
    Json AnimateStep();
    void AnimateStop();
    Json AnimateEnd();
    Json VariablesUsed(const std::string& text) const;

    // What the page shows of the document after a change.
    Json DocumentState() const;

private:
    // The plot window's side of a trace: the press's own dashes; repaints
    // and pauses are the page's; the point traced is told with the step.
    class TraceWindow : public TraceHost {
    public:
        explicit TraceWindow(PageCore& core) : core_(core) {}
        bool Dashed() override { return dashed_; }
        void Repaint() override {}
        void Pause() override {}
        void PointTraced(std::size_t index, double t, const WorldPoint& point) override;
        void Reset(bool dashed)
        {
            dashed_ = dashed;
            traced_.reset();
        }
        std::optional<Json> TakePoint() { return std::exchange(traced_, std::nullopt); }

    private:
        PageCore& core_;
        bool dashed_ = false;
        std::optional<Json> traced_;
    };

    void PressesChanged(PressesChange change) override;
    void PlaneChanged(const PixelRect& rect) override;
    // The press the panel makes now: its texts over the document's t.
    TracePress PanelPress(const Json& panel) const;
    // {index, t, x, y, px, py, text}, mapped through `mapping` when given.
    // Below what a coordinate reads 0 in the readouts.
    ReadoutZero ReadoutZeroShown() const;
    Json PenPointJson(std::size_t index, const std::optional<PlaneMapping>& mapping) const;
    Json WithDocument(Json reply) const;

    PageStop stop_;
    PlotSurface plane_;
    PlotDocument document_;
    PageExplore explore_;
    PageVariables variables_;
    TraceWindow window_;
    std::unique_ptr<PressTrace> trace_;
    PixelRect changed_;
    RgbImage sent_;  // the plane as the page has it
    std::optional<PressesChange> change_;
};
