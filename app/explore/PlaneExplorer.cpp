// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneExplorer.h"

#include <QKeySequence>
#include <QMouseEvent>
#include <QSettings>
#include <QShortcut>
#include <QWheelEvent>

#include <cmath>

#include "Dialogs.h"
#include "Draw2D.h"
#include "PlaneImage.h"
#include "PlaneZoom.h"
#include "PositionReadout.h"
#include "ReadoutLabel.h"
#include "TracePause.h"

namespace {

QSettings UserSettings()
{
    return QSettings(QStringLiteral("paramcurve"), QStringLiteral("paramcurve"));
}

// The plane pixel a mouse position lies on (a whole pixel on a scaled screen
// covers several positions).
QPoint PixelAt(const QPointF& position)
{
    return QPoint(int(std::floor(position.x())), int(std::floor(position.y())));
}

// The mouse over Image1: the readout follows it, the wheel zooms and the
// left button pans. The right button is left to the window's menu.
class PlaneMouse : public QObject {
public:
    PlaneMouse(QWidget& plane, PositionReadout& readout, PlaneZoom& zoom, QWidget& focus)
        : QObject(&plane), readout_(readout), zoom_(zoom), focus_(focus)
    {
        plane.setMouseTracking(true);
        plane.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // The mouse waits with the rest of the input while a trace runs.
        if (TraceRunning())
            return false;
        switch (event->type()) {
        case QEvent::MouseMove: {
            const auto& mouse = *static_cast<QMouseEvent*>(event);
            const QPoint pixel = PixelAt(mouse.position());
            RunHandler([&] {
                readout_.MouseAt(pixel);
                if (mouse.buttons() & Qt::LeftButton)
                    zoom_.DragTo(pixel);
            });
            return false;
        }
        case QEvent::MouseButtonPress: {
            const auto& mouse = *static_cast<QMouseEvent*>(event);
            if (mouse.button() == Qt::LeftButton) {
                // The window's keys step the pen from now on.
                focus_.setFocus(Qt::MouseFocusReason);
                RunHandler([&] { zoom_.Press(PixelAt(mouse.position())); });
            }
            return false;
        }
        case QEvent::MouseButtonRelease: {
            const auto& mouse = *static_cast<QMouseEvent*>(event);
            if (mouse.button() == Qt::LeftButton)
                RunHandler([&] { zoom_.Release(PixelAt(mouse.position())); });
            return false;
        }
        case QEvent::Wheel: {
            const auto& wheel = *static_cast<QWheelEvent*>(event);
            RunHandler([&] { zoom_.Wheel(PixelAt(wheel.position()), wheel.angleDelta().y()); });
            return true;
        }
        case QEvent::Leave:
            RunHandler([&] { readout_.MouseAt(std::nullopt); });
            return false;
        default:
            return false;
        }
    }

private:
    PositionReadout& readout_;
    PlaneZoom& zoom_;
    QWidget& focus_;
};

void AddStepKey(TDraw2D& window, PositionReadout& readout, Qt::Key key, PositionReadout::Step step)
{
    auto* shortcut = new QShortcut(QKeySequence(key), &window);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(true);
    QObject::connect(shortcut, &QShortcut::activated, &readout,
                     [&readout, step] { RunHandler([&] { readout.StepPen(step); }); });
}

}  // namespace

PlaneExplorer InstallPlaneExplorer(TDraw2D& window, PlotDocument& document, PanelPress& panel)
{
    PlaneExplorer explorer;
    explorer.Readout = new PositionReadout(window, document);
    explorer.Zoom = new PlaneZoom(document, panel, *explorer.Readout, &window);
    PositionReadout& readout = *explorer.Readout;
    new PlaneMouse(*window.Image1, readout, *explorer.Zoom, readout.PenLabel());
    // Focus given to the window goes to the pen's readout, which the window's
    // keys step and a screen reader reads.
    window.setFocusProxy(&readout.PenLabel());
    readout.SetOn(ReadoutRemembered());

    using Step = PositionReadout::Step;
    AddStepKey(window, readout, Qt::Key_Left, Step::Previous);
    AddStepKey(window, readout, Qt::Key_Right, Step::Next);
    AddStepKey(window, readout, Qt::Key_Home, Step::First);
    AddStepKey(window, readout, Qt::Key_End, Step::Last);
    AddStepKey(window, readout, Qt::Key_PageUp, Step::TenBack);
    AddStepKey(window, readout, Qt::Key_PageDown, Step::TenOn);
    return explorer;
}

bool ReadoutRemembered()
{
    return UserSettings().value(QString::fromLatin1(ShowPositionSetting), false).toBool();
}

void RememberReadout(bool on)
{
    UserSettings().setValue(QString::fromLatin1(ShowPositionSetting), on);
}
