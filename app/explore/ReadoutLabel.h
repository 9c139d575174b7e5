// SPDX-License-Identifier: GPL-3.0-or-later
// One label of the position readout, painted over the plane on screen only:
// a see-through widget of the plane's size laid over Image1, so the plane's
// bitmap (and with it every picture, print and export) never holds it, and
// with nothing to show it paints nothing at all. Mouse events pass through
// it to the plane.
//
// The pen's label rings the pen's point and stands beside it; the mouse's
// stands beside the cursor. To a screen reader each is an object of its own
// (ReadoutAccessible.h): named "Poloha pera" and "Poloha myši", the text
// being its description, whether or not it is drawn.
#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

class ReadoutLabel : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Pen, Mouse };

    ReadoutLabel(Kind kind, QWidget* parent);

    Kind LabelKind() const { return kind_; }
    const QString& Text() const { return text_; }
    // `at`: the pen's pixel or the cursor's, in plane coordinates; none when
    // it cannot be placed (the mouse away, a point too far to map). The box
    // keeps clear of `avoid` where it can (the other label).
    void Show(const QString& text, std::optional<QPoint> at, const QRect& avoid = QRect());
    // Drawn on screen or not; the text stays for a screen reader either way.
    void SetDrawn(bool drawn);
    bool Drawn() const { return drawn_; }

    // The pen's place among the points, for a screen reader's value: 1 to
    // `count`, 0 for none.
    void SetStep(int number, int count);
    int StepNumber() const { return stepNumber_; }
    int StepCount() const { return stepCount_; }

    // Where the label's box stands, in the widget; empty when nothing is drawn.
    QRect Box() const;
    // The pixel the label is about (the pen's ring, the cursor); none when it
    // cannot be placed.
    std::optional<QPoint> At() const { return at_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect BoxFor(const QString& text, std::optional<QPoint> at, const QRect& avoid) const;
    QRect MarkerRect() const;
    QRect Painted() const;  // all that is drawn: box and marker

    Kind kind_;
    QString text_;
    std::optional<QPoint> at_;
    QRect avoid_;
    bool drawn_ = false;
    int stepNumber_ = 0;
    int stepCount_ = 0;
};
