// SPDX-License-Identifier: GPL-3.0-or-later
// One label of the position readout, painted over the plane on screen only:
// a see-through widget of the plane's size laid over Image1, so the plane's
// bitmap (and with it every picture, print and export) never holds it, and
// with nothing to show it paints nothing at all. Mouse events pass through
// it to the plane.
//
// The pen's label rings the pen's point and stands beside it, clear of the
// ring and of the point under the mouse; when the point lies off the plane,
// its box stands at the edge nearest to the point with an arrow toward it.
// The mouse's stands beside the cursor, clear of the pen's ring and box.
// Each box stands wholly on the part of the plane that is on screen. The
// text is set in the desktop's general font, never smaller than 12 pixels,
// and the toolkit scales it by the window's whole scale factor as it scales
// the plane; a line too wide for the plane is broken, one value a line.
//
// To a screen reader each is an object of its own (ReadoutAccessible.h):
// named "Poloha pera" and "Poloha myši", the text being its description,
// whether or not it is drawn.
#pragma once

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

// The readout's text was 12 pixels high before it followed the desktop.
inline constexpr int SmallestReadoutPixels = 12;

// What both labels leave to be seen around the point under the mouse.
QRect AroundCursor(QPoint pixel);

class ReadoutLabel : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Pen, Mouse };

    ReadoutLabel(Kind kind, QWidget* parent);

    Kind LabelKind() const { return kind_; }
    const QString& Text() const { return text_; }
    // `at`: the point the label is about, in plane coordinates: the pen's
    // pixel, which may lie off the plane (far off too), or the cursor's
    // pixel; none when it cannot be placed (the mouse away). The box, and an
    // arrow, keep clear of `keepClear` where the plane has room.
    void Show(const QString& text, std::optional<QPointF> at, const QList<QRect>& keepClear = {});
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
    // The arrow toward a pen off the plane, its tip first; empty when there
    // is none or nothing is drawn.
    QPolygon Arrow() const;
    // The square the pen's ring is drawn in; empty when there is none.
    QRect Ring() const;
    // The pixel the label is about: the pen's ring, or the cursor; none when
    // it cannot be placed or lies off the plane.
    std::optional<QPoint> At() const;
    // The part of the plane on screen, in the widget: where a box stands.
    QRect ShownPlane() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Layout {
        QRect Box;
        QPolygon Arrow;
        QRect Ring;
        QString Lines;  // the text as drawn, broken where too wide
        QRect Painted() const { return Box | Arrow.boundingRect() | Ring; }
    };
    Layout LayOut() const;
    void Relayout();
    void FollowDesktopFont();

    Kind kind_;
    QString text_;
    std::optional<QPointF> at_;
    QList<QRect> keepClear_;
    Layout layout_;
    bool drawn_ = false;
    int stepNumber_ = 0;
    int stepCount_ = 0;
};
