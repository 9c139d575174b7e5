// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom and pan on the page, as the desktop's (app/explore/PlaneZoom): the
// wheel zooms about the pixel under the cursor, 1.25 a notch, notch by
// notch, stopping at the last window that works; a drag moves the window it
// started from so that the point grabbed comes under the cursor; the window
// before the first zoom or pan since the last "Kresli" can be gone back to.
// Each writes its window as the fields show it (WrittenWindow) and draws
// every press since the wipe again in it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "PageJson.h"
#include "PageStop.h"
#include "PlotDocument.h"
#include "WindowMoves.h"

class PageExplore : private PlotListener {
public:
    PageExplore(PlotDocument& document, PageStop& stop);
    ~PageExplore() override;
    PageExplore(const PageExplore&) = delete;
    PageExplore& operator=(const PageExplore&) = delete;

    // Each gives {window, refusal}: the fields' new texts (null when
    // nothing was drawn) and the limit met ("" for none). `fields` are the
    // panel's four world texts as they stand, kept for the way back.
    //
    // `notches` up zoom in; a fraction is a part of a notch.
    Json Zoom(int x, int y, double notches, const Json& fields);
    // A drag from pixel `from` (where it began) to `to`; each drag has a
    // number of its own, and its first move takes the window it starts from.
    Json Pan(int drag, PixelPoint from, PixelPoint to, const Json& fields);
    Json OriginalWindow();

    bool CanReturn() const { return original_.has_value(); }

private:
    struct Original {
        std::vector<BoundTexts> PressBounds;
        Json Fields;
    };

    void PressesChanged(PressesChange change) override;
    Json Apply(const WorldWindow& window, const Json& fields);
    void DrawAgain(const PressHistory& presses);

    PlotDocument& document_;
    PageStop& stop_;
    WindowMoves moves_;
    std::optional<Original> original_;
    std::optional<int> drag_;
    WorldWindow dragStart_;
};
