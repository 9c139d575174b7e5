// SPDX-License-Identifier: GPL-3.0-or-later
// The document's news as the toolkit's signals: a window that shows part of
// what the plot holds makes one of these, its child, and connects to it.
#pragma once

#include <QObject>

#include "PlotDocument.h"

class DocumentSignals : public QObject {
    Q_OBJECT
public:
    DocumentSignals(PlotDocument& document, QObject* parent);
    ~DocumentSignals() override;

signals:
    void PressesChanged(PressesChange change);
    void PenMoved();
    void AnimationKept();
    void NextPressChanged();

private:
    class Relay : public PlotListener {
    public:
        explicit Relay(DocumentSignals& owner) : owner_(owner) {}
        void PressesChanged(PressesChange change) override { emit owner_.PressesChanged(change); }
        void PenMoved() override { emit owner_.PenMoved(); }
        void AnimationKept() override { emit owner_.AnimationKept(); }
        void NextPressChanged() override { emit owner_.NextPressChanged(); }

    private:
        DocumentSignals& owner_;
    };

    PlotDocument& document_;
    Relay relay_{*this};
};
