// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadoutAccessible.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

#include "ReadoutLabel.h"

namespace {

class ReadoutInterface : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ReadoutInterface(ReadoutLabel* label)
        : QAccessibleWidget(label, label->LabelKind() == ReadoutLabel::Kind::Pen ? QAccessible::Slider
                                                                               : QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Description)
            return Label()->Text();
        return QAccessibleWidget::text(kind);
    }

    QRect rect() const override
    {
        const QRect box = Label()->Box();
        if (box.isEmpty())
            return QAccessibleWidget::rect();
        return QRect(Label()->mapToGlobal(box.topLeft()), box.size());
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface && IsPen())
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The point's number, 1 for the first; the keys step it, not a reader.
    QVariant currentValue() const override { return Label()->StepNumber(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return Label()->StepCount(); }
    QVariant minimumValue() const override { return Label()->StepCount() > 0 ? 1 : 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    ReadoutLabel* Label() const { return static_cast<ReadoutLabel*>(widget()); }
    bool IsPen() const { return Label()->LabelKind() == ReadoutLabel::Kind::Pen; }
};

ReadoutAnnouncementWatcher& Watcher()
{
    static ReadoutAnnouncementWatcher watcher;
    return watcher;
}

void Raise(QAccessibleEvent& event)
{
    if (Watcher())
        Watcher()(event.type(), event.object());
    QAccessible::updateAccessibility(&event);
}

QAccessibleInterface* ReadoutFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("ReadoutLabel") && object && object->isWidgetType())
        return new ReadoutInterface(static_cast<ReadoutLabel*>(object));
    return nullptr;
}

}  // namespace

void InstallReadoutAccessible()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&ReadoutFactory);
}

void AnnounceReadout(ReadoutLabel& label)
{
    QAccessibleEvent description(&label, QAccessible::DescriptionChanged);
    Raise(description);
    if (label.LabelKind() == ReadoutLabel::Kind::Pen) {
        QAccessibleValueChangeEvent value(&label, label.StepNumber());
        Raise(value);
    }
}

void WatchReadoutAnnouncements(ReadoutAnnouncementWatcher watcher)
{
    Watcher() = std::move(watcher);
}
