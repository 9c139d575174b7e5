// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom and pan on the plot window: the wheel zooms about the point under the
// cursor, 1.25 a notch; a drag with the left button moves the window so the
// point grabbed follows the cursor; "Původní zorné pole" goes back to the
// window before the first zoom or pan since the last "Kresli".
//
// Each writes its window into the four bound fields and draws the presses
// since the last "Vymaž" again in it (DrawPressesAnew): the pixels "Kresli"
// would give for each press with those bounds. A window in which the plane
// cannot be mapped, or the axes cannot be drawn, is found on a scratch
// surface first: the zoom stops at the last window that works, with a note
// in the readout, and nothing is redrawn.
//
// Zoom and pan need a window the plane shows: with no point drawn there is
// none to move.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "PanelPress.h"
#include "PlotDocument.h"
#include "PressHistory.h"
#include "WindowMoves.h"
#include "WorldWindow.h"

class PositionReadout;


class PlaneZoom : public QObject {
    Q_OBJECT
public:
    // The zoom's window goes into the panel's four world fields.
    PlaneZoom(PlotDocument& document, PanelPress& panel, PositionReadout& readout, QObject* parent);

    // A wheel turned over plane pixel `pixel`; 120 is one notch, away from
    // the user zooms in.
    void Wheel(QPoint pixel, int angleDelta);

    // A drag with the left button: pressed, moved (redrawn once the event
    // loop comes round, for the last position only), released.
    void Press(QPoint pixel);
    void DragTo(QPoint pixel);
    void Release(QPoint pixel);
    bool Dragging() const { return drag_.has_value(); }

    bool CanReturn() const { return original_.has_value(); }
    void ReturnToOriginal();

signals:
    void CanReturnChanged(bool can);

private:
    struct Original {
        std::vector<BoundTexts> PressBounds;
        BoundTexts Fields;
    };
    struct Drag {
        QPoint From;
        WorldWindow Start;
        bool Moving = false;  // past the drag distance
    };

    void Apply(const WorldWindow& window);
    void DrawAgain(const PressHistory& presses, const std::array<std::string, 4>& fields);
    void PanNow();
    void ForgetOriginal();

    PlotDocument& document_;
    PanelPress& panel_;
    PositionReadout& readout_;
    WindowMoves moves_;
    std::optional<Original> original_;
    std::optional<Drag> drag_;
    QPoint dragTarget_;
    bool panQueued_ = false;
};
