// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneExplorer.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMouseEvent>
#include <QSettings>
#include <QShortcut>
#include <QWheelEvent>

#include <cmath>

#include "Dialogs.h"
#include "Draw2D.h"
#include "PenTrack.h"
#include "PlaneImage.h"
#include "PlaneZoom.h"
#include "PositionReadout.h"
#include "ReadoutLabel.h"

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

QAction* AddAction(TDraw2D& window, const QString& text, const char* name, const QKeySequence& shortcut)
{
    auto* action = new QAction(text, &window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    return action;
}

void AddStepKey(TDraw2D& window, PositionReadout& readout, Qt::Key key, PositionReadout::Step step)
{
    auto* shortcut = new QShortcut(QKeySequence(key), &window);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(true);
    QObject::connect(shortcut, &QShortcut::activated, &readout,
                     [&readout, step] { RunHandler([&] { readout.StepPen(step); }); });
}

}  // namespace

PlaneExplorer InstallPlaneExplorer(TDraw2D& window)
{
    PlaneExplorer explorer;
    explorer.Readout = new PositionReadout(window);
    explorer.Zoom = new PlaneZoom(window, *explorer.Readout);
    PositionReadout& readout = *explorer.Readout;
    PlaneZoom& zoom = *explorer.Zoom;
    new PlaneMouse(*window.Image1, readout, zoom, readout.PenLabel());
    // Focus given to the window goes to the pen's readout, which the window's
    // keys step and a screen reader reads.
    window.setFocusProxy(&readout.PenLabel());

    auto* separator = new QAction(&window);
    separator->setSeparator(true);
    window.addAction(separator);

    QAction* show = AddAction(window, QStringLiteral("Ukazovat polohu"), ShowPositionActionName,
                              QKeySequence(Qt::Key_F2));
    show->setCheckable(true);
    show->setChecked(UserSettings().value(QString::fromLatin1(ShowPositionSetting), false).toBool());
    readout.SetOn(show->isChecked());
    QObject::connect(show, &QAction::toggled, &readout, [&readout](bool on) {
        RunHandler([&] {
            readout.SetOn(on);
            UserSettings().setValue(QString::fromLatin1(ShowPositionSetting), on);
        });
    });
    // A step key turns the readout on: the action shows it, and keeps it.
    QObject::connect(&readout, &PositionReadout::OnChanged, show, [show](bool on) { show->setChecked(on); });
    explorer.ShowPosition = show;

    QAction* copy = AddAction(window, QStringLiteral("Kopírovat polohu"), CopyPositionActionName,
                              QKeySequence(Qt::CTRL | Qt::Key_C));
    const auto updateCopy = [copy, &readout] { copy->setEnabled(readout.PenIndex().has_value()); };
    updateCopy();
    QObject::connect(&PenTrack::Of(window), &PenTrack::Changed, copy, updateCopy);
    QObject::connect(copy, &QAction::triggered, &readout, [&readout] {
        RunHandler([&] {
            const QString line = readout.CopyText();
            if (!line.isEmpty())
                QGuiApplication::clipboard()->setText(line);
        });
    });
    explorer.CopyPosition = copy;

    QAction* original = AddAction(window, QStringLiteral("Původní zorné pole"), OriginalWindowActionName,
                                  QKeySequence(Qt::CTRL | Qt::Key_0));
    original->setEnabled(zoom.CanReturn());
    QObject::connect(&zoom, &PlaneZoom::CanReturnChanged, original, &QAction::setEnabled);
    QObject::connect(original, &QAction::triggered, &zoom, [&zoom] { RunHandler([&] { zoom.ReturnToOriginal(); }); });
    explorer.OriginalWindow = original;

    using Step = PositionReadout::Step;
    AddStepKey(window, readout, Qt::Key_Left, Step::Previous);
    AddStepKey(window, readout, Qt::Key_Right, Step::Next);
    AddStepKey(window, readout, Qt::Key_Home, Step::First);
    AddStepKey(window, readout, Qt::Key_End, Step::Last);
    AddStepKey(window, readout, Qt::Key_PageUp, Step::TenBack);
    AddStepKey(window, readout, Qt::Key_PageDown, Step::TenOn);
    return explorer;
}
