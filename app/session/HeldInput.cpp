// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeldInput.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <utility>

namespace {

// While a modal box or dialog is open the held input waits: handed past the
// box straight to a window it blocks, a click would act behind the box.
constexpr int ModalRetryMilliseconds = 50;

struct HeldEntry {
    std::function<void()> deliver;
    // A pointer move, replaced by the next move to the same receiver with the
    // same buttons: only where the pointer ended up matters, and a long trace
    // must not keep every wiggle.
    const QObject* moveReceiver = nullptr;
    Qt::MouseButtons moveButtons;
};

// One queue for all traces: input held by a trace that a replayed click
// started comes after the rest of what was held before it.
std::deque<HeldEntry>& Queue()
{
    static std::deque<HeldEntry> queue;
    return queue;
}

int HoldersActive = 0;
bool ReplayScheduled = false;

void ScheduleReplay(int delayMilliseconds);

void ReplayHeldInput()
{
    ReplayScheduled = false;
    std::deque<HeldEntry>& queue = Queue();
    while (!queue.empty()) {
        if (HoldersActive > 0)
            return;  // a trace runs again; its end replays the rest
        if (QApplication::activeModalWidget()) {
            ScheduleReplay(ModalRetryMilliseconds);
            return;
        }
        // Taken off before delivery: the handler it runs may start a trace or
        // a nested loop that replays further entries itself.
        const std::function<void()> deliver = std::move(queue.front().deliver);
        queue.pop_front();
        deliver();
    }
}

void ScheduleReplay(int delayMilliseconds)
{
    if (ReplayScheduled || Queue().empty())
        return;
    ReplayScheduled = true;
    QTimer::singleShot(delayMilliseconds, qApp, &ReplayHeldInput);
}

HeldEntry HoldMouse(QObject* receiver, const QMouseEvent& mouse)
{
    const QEvent::Type type = mouse.type();
    const QPointF position = mouse.position();
    const QPointF scenePosition = mouse.scenePosition();
    const QPointF globalPosition = mouse.globalPosition();
    const Qt::MouseButton button = mouse.button();
    const Qt::MouseButtons buttons = mouse.buttons();
    const Qt::KeyboardModifiers modifiers = mouse.modifiers();
    const quint64 timestamp = mouse.timestamp();
    const QPointer<const QPointingDevice> device = mouse.pointingDevice();
    HeldEntry entry;
    entry.deliver = [=, target = QPointer<QObject>(receiver)] {
        if (!target)
            return;
        QMouseEvent replay(type, position, scenePosition, globalPosition, button, buttons, modifiers,
                           device ? device.data() : QPointingDevice::primaryPointingDevice());
        replay.setTimestamp(timestamp);
        QCoreApplication::sendEvent(target, &replay);
    };
    if (type == QEvent::MouseMove) {
        entry.moveReceiver = receiver;
        entry.moveButtons = buttons;
    }
    return entry;
}

HeldEntry HoldWheel(QObject* receiver, const QWheelEvent& wheel)
{
    const QPointF position = wheel.position();
    const QPointF globalPosition = wheel.globalPosition();
    const QPoint pixelDelta = wheel.pixelDelta();
    const QPoint angleDelta = wheel.angleDelta();
    const Qt::MouseButtons buttons = wheel.buttons();
    const Qt::KeyboardModifiers modifiers = wheel.modifiers();
    const Qt::ScrollPhase phase = wheel.phase();
    const bool inverted = wheel.inverted();
    const quint64 timestamp = wheel.timestamp();
    const QPointer<const QPointingDevice> device = wheel.pointingDevice();
    HeldEntry entry;
    entry.deliver = [=, target = QPointer<QObject>(receiver)] {
        if (!target)
            return;
        QWheelEvent replay(position, globalPosition, pixelDelta, angleDelta, buttons, modifiers, phase, inverted,
                           Qt::MouseEventNotSynthesized,
                           device ? device.data() : QPointingDevice::primaryPointingDevice());
        replay.setTimestamp(timestamp);
        QCoreApplication::sendEvent(target, &replay);
    };
    return entry;
}

HeldEntry HoldClone(QObject* receiver, const QEvent& event)
{
    std::shared_ptr<QEvent> copy(event.clone());
    HeldEntry entry;
    entry.deliver = [copy, target = QPointer<QObject>(receiver)] {
        if (target)
            QCoreApplication::sendEvent(target, copy.get());
    };
    return entry;
}

HeldEntry HoldClose(QWidget* window)
{
    HeldEntry entry;
    entry.deliver = [target = QPointer<QWidget>(window)] {
        if (target)
            target->close();
    };
    return entry;
}

void Append(HeldEntry entry)
{
    std::deque<HeldEntry>& queue = Queue();
    if (entry.moveReceiver && !queue.empty() && queue.back().moveReceiver == entry.moveReceiver &&
        queue.back().moveButtons == entry.moveButtons) {
        queue.back() = std::move(entry);
        return;
    }
    queue.push_back(std::move(entry));
}

}  // namespace

HeldInput::HeldInput(std::vector<QWidget*> windows, std::atomic<bool>& stop) : stop_(stop)
{
    for (QWidget* window : windows) {
        if (window)
            windows_.emplace_back(window);
    }
    qApp->installEventFilter(this);
    holding_ = true;
    ++HoldersActive;
}

HeldInput::~HeldInput()
{
    Release();
    ScheduleReplay(0);
}

void HeldInput::Release()
{
    if (!holding_)
        return;
    holding_ = false;
    --HoldersActive;
    qApp->removeEventFilter(this);
}

bool HeldInput::IsHeldWindow(QObject* object) const
{
    for (const QPointer<QWidget>& window : windows_) {
        if (window && window == object)
            return true;
    }
    return false;
}

bool HeldInput::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            if (event->type() == QEvent::KeyPress)
                stop_.store(true, std::memory_order_relaxed);
            return true;  // Esc is spent on stopping, also its release
        }
        // A key held down counts once: its repeats would replay as many
        // presses, and Enter in a field as as many traces.
        if (static_cast<QKeyEvent*>(event)->isAutoRepeat())
            return true;
        Append(HoldClone(watched, *event));
        return true;
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
        Append(HoldClone(watched, *event));
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        Append(HoldMouse(watched, *static_cast<QMouseEvent*>(event)));
        return true;
    case QEvent::Wheel:
        Append(HoldWheel(watched, *static_cast<QWheelEvent*>(event)));
        return true;
    case QEvent::Close:
        if (!IsHeldWindow(watched))
            return false;
        event->ignore();  // the window stays until its turn comes
        Append(HoldClose(static_cast<QWidget*>(watched)));
        return true;
    default:
        return false;
    }
}

std::size_t HeldInputCount()
{
    return Queue().size();
}
