// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadoutLabel.h"

#include <QApplication>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "ReadoutPlacement.h"

namespace {

constexpr int MarkerRadius = 6;
constexpr int MarkerReach = MarkerRadius + 3;  // with the white halo
constexpr int PenGap = 10;      // from the pen's point to its label
constexpr int CursorGapX = 14;  // right of the cursor, clear of its arrow
constexpr int CursorGapY = 20;
constexpr int CursorGapBefore = 8;  // left of or above the cursor
constexpr int CursorClearance = 3;  // pixels around the cursor's point left seen
constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop;
const QString ValueSeparator = QStringLiteral("   ");

const QColor LabelBackground(255, 255, 224);
const QColor LabelBorder(120, 120, 120);

// The desktop's general font, at its own size but never below what the
// readout had. Its size is in the widget's logical pixels: on screen the
// toolkit multiplies it by the window's scale factor, as it does the plane.
QFont ReadoutFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(std::max(SmallestReadoutPixels, QFontInfo(font).pixelSize()));
    return font;
}

// Around the text inside its box, growing with the text.
QMargins TextMargins(const QFont& font)
{
    const int across = std::max(4, font.pixelSize() / 3), down = std::max(2, font.pixelSize() / 6);
    return QMargins(across, down, across, down);
}

}  // namespace

QRect AroundCursor(QPoint pixel)
{
    return QRect(pixel - QPoint(CursorClearance, CursorClearance),
                 QSize(2 * CursorClearance + 1, 2 * CursorClearance + 1));
}

ReadoutLabel::ReadoutLabel(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    FollowDesktopFont();
    window()->installEventFilter(this);
    setObjectName(kind == Kind::Pen ? QStringLiteral("PenReadout") : QStringLiteral("MouseReadout"));
    setAccessibleName(kind == Kind::Pen ? QStringLiteral("Poloha pera") : QStringLiteral("Poloha myši"));
    if (kind == Kind::Pen)
        setFocusPolicy(Qt::StrongFocus);  // the plot window's keys and a screen reader's focus
}

void ReadoutLabel::FollowDesktopFont()
{
    setFont(ReadoutFont());
    Relayout();
}

void ReadoutLabel::Show(const QString& text, std::optional<QPointF> at, const QList<QRect>& keepClear)
{
    if (text == text_ && at == at_ && keepClear == keepClear_)
        return;
    text_ = text;
    at_ = at;
    keepClear_ = keepClear;
    Relayout();
}

void ReadoutLabel::Relayout()
{
    const QRect before = layout_.Painted();
    layout_ = LayOut();
    if (drawn_)
        update(before | layout_.Painted());
}

void ReadoutLabel::SetDrawn(bool drawn)
{
    if (drawn == drawn_)
        return;
    drawn_ = drawn;
    update(layout_.Painted());
}

void ReadoutLabel::SetStep(int number, int count)
{
    stepNumber_ = number;
    stepCount_ = count;
}

QRect ReadoutLabel::Box() const
{
    return drawn_ ? layout_.Box : QRect();
}

QPolygon ReadoutLabel::Arrow() const
{
    return drawn_ ? layout_.Arrow : QPolygon();
}

QRect ReadoutLabel::Ring() const
{
    return drawn_ ? layout_.Ring : QRect();
}

std::optional<QPoint> ReadoutLabel::At() const
{
    if (!at_ || !ShownPlane().contains(at_->toPoint()))
        return std::nullopt;
    return at_->toPoint();
}

QRect ReadoutLabel::ShownPlane() const
{
    const QRect own(QPoint(0, 0), size());
    return parentWidget() ? own & parentWidget()->rect().translated(-pos()) : own;
}

ReadoutLabel::Layout ReadoutLabel::LayOut() const
{
    Layout layout;
    if (text_.isEmpty() || (kind_ == Kind::Mouse && !at_))
        return layout;
    const QRect plane = ShownPlane();
    const QFontMetrics metrics = fontMetrics();
    const QMargins margins = TextMargins(font());
    const auto boxSize = [&](const QString& lines) {
        return metrics.boundingRect(QRect(0, 0, 100000, 100000), TextFlags, lines).size().grownBy(margins);
    };
    // One value a line where the line would not fit across the plane.
    layout.Lines = text_;
    QSize size = boxSize(layout.Lines);
    if (size.width() > plane.width()) {
        layout.Lines.replace(ValueSeparator, QStringLiteral("\n"));
        size = boxSize(layout.Lines);
    }

    QList<QRect> keepClear = keepClear_;
    if (kind_ == Kind::Mouse) {
        // Beside the cursor as a tooltip stands: below right, else where it fits.
        const QPoint at = at_->toPoint();
        const int left = at.x() - CursorGapBefore - size.width(), right = at.x() + CursorGapX;
        const int above = at.y() - CursorGapBefore - size.height(), below = at.y() + CursorGapY;
        keepClear << AroundCursor(at);
        layout.Box = PlaceBox(size, {{right, below}, {left, below}, {right, above}, {left, above}}, plane, keepClear);
    } else if (!at_) {
        // Nowhere to point to: the top-left corner.
        layout.Box = PlaceBox(size, {plane.topLeft() + QPoint(4, 4)}, plane, keepClear);
    } else if (const QPoint at = at_->toPoint(); plane.contains(at)) {
        layout.Ring = QRect(at - QPoint(MarkerReach, MarkerReach), QSize(2 * MarkerReach + 1, 2 * MarkerReach + 1));
        keepClear << layout.Ring.adjusted(-1, -1, 1, 1);
        // Above right of the point as at first, else in another quarter.
        const int left = at.x() - PenGap - size.width(), right = at.x() + PenGap;
        const int above = at.y() - PenGap - size.height(), below = at.y() + PenGap;
        const int middle = at.y() - size.height() / 2;
        layout.Box = PlaceBox(size, {{right, above}, {left, above}, {right, below}, {left, below}, {right, middle},
                                     {left, middle}},
                              plane, keepClear);
    } else {
        const Callout callout = EdgeCallout(size, *at_, plane, metrics.height(), keepClear);
        layout.Box = callout.Box;
        layout.Arrow = callout.Arrow;
    }
    return layout;
}

void ReadoutLabel::resizeEvent(QResizeEvent*)
{
    Relayout();
}

void ReadoutLabel::moveEvent(QMoveEvent*)
{
    Relayout();  // the part of the plane on screen may have changed
}

bool ReadoutLabel::eventFilter(QObject* watched, QEvent* event)
{
    // The toolkit tells the windows, not their children, of a new general
    // font; the label's own font is set, so nothing reaches it otherwise.
    if (event->type() == QEvent::ApplicationFontChange)
        FollowDesktopFont();
    return QWidget::eventFilter(watched, event);
}

void ReadoutLabel::paintEvent(QPaintEvent*)
{
    if (!drawn_ || text_.isEmpty())
        return;
    QPainter painter(this);
    if (!layout_.Ring.isEmpty()) {
        // A dark ring on a white halo shows on any curve and on the axes,
        // and leaves the point itself to be seen inside it.
        const QPointF at = *at_;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 4));
        painter.drawEllipse(at, MarkerRadius, MarkerRadius);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawEllipse(at, MarkerRadius, MarkerRadius);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    const QRect box = layout_.Box;
    if (box.isEmpty())
        return;
    painter.setPen(LabelBorder);
    painter.setBrush(LabelBackground);
    if (layout_.Arrow.isEmpty()) {
        painter.drawRect(box.adjusted(0, 0, -1, -1));
    } else {
        // Box and arrow as one shape, outlined once, in the label's colours.
        QPainterPath shape;
        shape.addRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
        QPainterPath arrow;
        arrow.addPolygon(QPolygonF(layout_.Arrow).translated(0.5, 0.5));
        arrow.closeSubpath();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawPath(shape.united(arrow));
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.setPen(Qt::black);
    painter.drawText(box.marginsRemoved(TextMargins(font())), TextFlags, layout_.Lines);
}
