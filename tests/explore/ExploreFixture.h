// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh control panel and plot window with the readout, zoom and pan
// installed, traces at once, the user's settings in a folder of their own;
// and the helpers the readout and zoom tests share: the screen over the
// plane, mouse and wheel events sent to the plane, and the presses drawn
// again on a fresh surface, and the renderer's options for a press.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <array>
#include <memory>
#include <string>

#include "../panel/PanelFixture.h"
#include "Draw2D.h"
#include "TracePause.h"
#include "PlaneExplorer.h"
#include "PlaneImage.h"
#include "PlaneZoom.h"
#include "PositionReadout.h"
#include "PressReplay.h"
#include "ReadoutLabel.h"
#include "ReadoutText.h"

// The user's settings under a temporary folder, never the real ~/.config,
// from before anything reads them.
struct SettingsAside {
    QTemporaryDir Folder;
    SettingsAside() { qputenv("XDG_CONFIG_HOME", Folder.path().toLocal8Bit()); }
};

inline QSettings UserSettings()
{
    return QSettings(QStringLiteral("paramcurve"), QStringLiteral("paramcurve"));
}

struct ExploreFixture {
    PanelFixture Panel;
    PlaneExplorer Explorer;
    PlotMenu* Menu = nullptr;

    void Start()
    {
        Panel.Start();
        SetTracePause([] {});
        Explorer = Panel.Windows->Explorer();
        Menu = Panel.Windows->Menu();
        QVERIFY(QTest::qWaitForWindowExposed(Draw2D));
    }
    void Stop()
    {
        SetTracePause(nullptr);
        Panel.Stop();
        Explorer = {};
        Menu = nullptr;
    }
    PositionReadout& Readout() { return *Explorer.Readout; }
    ReadoutLabel& Pen() { return Readout().PenLabel(); }
    ReadoutLabel& Mouse() { return Readout().MouseLabel(); }
    // The points the last press reached.
    static std::size_t PenPoints() { return TheDocument().PenTrack().size(); }
    PlaneZoom& Zoom() { return *Explorer.Zoom; }
};

// The readout's zero rule in the window the plane shows, on its 500 x 500
// pixels.
inline ReadoutZero ShownZero()
{
    const std::optional<ShownWindow> shown = TheDocument().Shown();
    return shown ? ZeroOfWindow(shown->X1, shown->X2, shown->Y1, shown->Y2, 500, 500) : ReadoutZero{};
}

// The plot window active, so its keys reach it.
inline bool ActivatePlotWindow()
{
    Draw2D->activateWindow();
    return QTest::qWaitForWindowActive(Draw2D);
}

// The part of Image1 that can be seen, in plane coordinates.
inline QRect VisiblePlane()
{
    return QRect(QPoint(0, 0), Draw2D->Image1->size()) & QRect(QPoint(0, 0), Draw2D->Panel1->size() - QSize(1, 1));
}

// The screen over the visible part of Image1 (headless: the platform's copy
// of the window as last painted), and the plane there.
inline QImage ShownPlane()
{
    QCoreApplication::processEvents();
    const QRect visible = VisiblePlane();
    const QPoint global = Draw2D->Image1->mapToGlobal(visible.topLeft());
    QScreen* screen = Draw2D->screen();
    const QPoint onScreen = global - screen->geometry().topLeft();
    return screen->grabWindow(0, onScreen.x(), onScreen.y(), visible.width(), visible.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

inline QImage PlaneThere()
{
    return ToQImage(Draw2D->Plane()).copy(VisiblePlane()).convertToFormat(QImage::Format_RGB32);
}

// Mouse and wheel events as the window system hands them to the plane.
inline void SendMouse(QEvent::Type type, QPoint pixel, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QWidget* plane = Draw2D->Image1;
    const QPointF position(pixel.x() + 0.5, pixel.y() + 0.5);
    QMouseEvent event(type, position, plane->mapTo(plane->window(), position), plane->mapToGlobal(position),
                      button, buttons, Qt::NoModifier);
    QApplication::sendEvent(plane, &event);
}

inline void MoveMouse(QPoint pixel, Qt::MouseButtons buttons = Qt::NoButton)
{
    SendMouse(QEvent::MouseMove, pixel, Qt::NoButton, buttons);
}

inline void TurnWheel(QPoint pixel, int angleDelta)
{
    QWidget* plane = Draw2D->Image1;
    const QPointF position(pixel.x() + 0.5, pixel.y() + 0.5);
    QWheelEvent event(position, plane->mapToGlobal(position), QPoint(), QPoint(0, angleDelta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plane, &event);
}

// A drag with the left button from `from` to `to`, by way of `steps` moves,
// each let through the event loop.
inline void Drag(QPoint from, QPoint to, int steps = 4)
{
    SendMouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    for (int i = 1; i <= steps; ++i) {
        MoveMouse(from + (to - from) * i / steps, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    SendMouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    QCoreApplication::processEvents();
}

// The four bound fields of the panel: x, začátek .. y, konec.
inline std::array<std::string, 4> BoundFieldTexts()
{
    TControl_Panel& panel = *Control_Panel;
    return {panel.EditX1->text().toStdString(), panel.EditX2->text().toStdString(),
            panel.EditY1->text().toStdString(), panel.EditY2->text().toStdString()};
}

// The presses with these four bound texts instead of their own.
inline PressHistory WithBounds(PressHistory presses, const std::array<std::string, 4>& bounds)
{
    for (RecordedPress& press : presses) {
        press.Press.Texts.X1 = bounds[0];
        press.Press.Texts.X2 = bounds[1];
        press.Press.Texts.Y1 = bounds[2];
        press.Press.Texts.Y2 = bounds[3];
    }
    return presses;
}

// The plane those presses give, drawn at once on a fresh 500 x 500 plane.
inline QImage PlaneOfPresses(const PressHistory& presses)
{
    PlotSurface surface;
    surface.ResizePlane(500, 500);
    surface.FillPlane(255, 255, 255);
    ReplayPresses(surface, presses);
    return ToQImage(surface.Plane()).copy();
}

// The renderer's options for one press (its t starts at 0, as the first
// press of a window does).
inline QStringList RendererOptions(const TracePress& press)
{
    QStringList options;
    for (const PressField& field : PressFields)
        options << QStringLiteral("--%1").arg(QString::fromLatin1(field.OptionName))
                << QString::fromStdString(press.Texts.*field.Text);
    if (!press.ShowAxes)
        options << "--no-axes";
    if (press.Dashed)
        options << "--dashed";
    options << "--color" << QStringLiteral("%1,%2,%3").arg(press.CurveR).arg(press.CurveG).arg(press.CurveB);
    return options;
}

// The accessible object of that name under `root`, searched depth first.
inline QAccessibleInterface* FindAccessible(QAccessibleInterface* root, const QString& name)
{
    if (!root)
        return nullptr;
    if (root->text(QAccessible::Name) == name)
        return root;
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* found = FindAccessible(root->child(i), name))
            return found;
    }
    return nullptr;
}
