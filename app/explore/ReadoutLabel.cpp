// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadoutLabel.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int MarkerRadius = 6;
constexpr int PaddingX = 4;
constexpr int PaddingY = 2;
constexpr int PenGap = 10;     // from the pen's point to its label
constexpr int CursorGapX = 14;  // right of the cursor, clear of its arrow
constexpr int CursorGapY = 20;
constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop;

const QColor LabelBackground(255, 255, 224);
const QColor LabelBorder(120, 120, 120);

// Inside `bounds` as far as it fits, its top-left corner first.
QRect KeptInside(QRect box, const QRect& bounds)
{
    box.moveLeft(std::max(bounds.left(), std::min(box.left(), bounds.right() + 1 - box.width())));
    box.moveTop(std::max(bounds.top(), std::min(box.top(), bounds.bottom() + 1 - box.height())));
    return box;
}

}  // namespace

ReadoutLabel::ReadoutLabel(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    QFont labelFont = font();
    labelFont.setPixelSize(12);
    setFont(labelFont);
    setObjectName(kind == Kind::Pen ? QStringLiteral("PenReadout") : QStringLiteral("MouseReadout"));
    setAccessibleName(kind == Kind::Pen ? QStringLiteral("Poloha pera") : QStringLiteral("Poloha myši"));
    if (kind == Kind::Pen)
        setFocusPolicy(Qt::StrongFocus);  // the plot window's keys and a screen reader's focus
}

void ReadoutLabel::Show(const QString& text, std::optional<QPoint> at, const QRect& avoid)
{
    if (text == text_ && at == at_ && avoid == avoid_)
        return;
    const QRect before = Painted();
    text_ = text;
    at_ = at;
    avoid_ = avoid;
    if (drawn_)
        update(before | Painted());
}

void ReadoutLabel::SetDrawn(bool drawn)
{
    if (drawn == drawn_)
        return;
    const QRect area = BoxFor(text_, at_, avoid_) | MarkerRect();
    drawn_ = drawn;
    update(area);
}

void ReadoutLabel::SetStep(int number, int count)
{
    stepNumber_ = number;
    stepCount_ = count;
}

QRect ReadoutLabel::Box() const
{
    return drawn_ ? BoxFor(text_, at_, avoid_) : QRect();
}

QRect ReadoutLabel::BoxFor(const QString& text, std::optional<QPoint> at, const QRect& avoid) const
{
    if (text.isEmpty() || (kind_ == Kind::Mouse && !at))
        return QRect();
    const QSize textSize = fontMetrics().boundingRect(QRect(0, 0, 4000, 4000), TextFlags, text).size();
    QRect box(QPoint(0, 0), textSize + QSize(2 * PaddingX, 2 * PaddingY));
    if (!at) {
        box.moveTopLeft(QPoint(4, 4));
    } else if (kind_ == Kind::Pen) {
        // Above right of the point; left of it or below it near an edge.
        box.moveTopLeft(QPoint(at->x() + PenGap, at->y() - PenGap - box.height()));
        if (box.right() >= width())
            box.moveLeft(at->x() - PenGap - box.width());
        if (box.top() < 0)
            box.moveTop(at->y() + PenGap);
    } else {
        // Below right of the cursor, as a tooltip stands.
        box.moveTopLeft(QPoint(at->x() + CursorGapX, at->y() + CursorGapY));
        if (box.right() >= width())
            box.moveLeft(at->x() - 8 - box.width());
        if (box.bottom() >= height())
            box.moveTop(at->y() - 8 - box.height());
    }
    box = KeptInside(box, rect());
    if (box.intersects(avoid)) {
        // Below the other label, or above it where that leaves the plane.
        box.moveTop(avoid.bottom() + 3);
        if (box.bottom() >= height())
            box.moveTop(avoid.top() - 3 - box.height());
        box = KeptInside(box, rect());
    }
    return box;
}

QRect ReadoutLabel::MarkerRect() const
{
    if (kind_ != Kind::Pen || !at_ || text_.isEmpty())
        return QRect();
    const int reach = MarkerRadius + 3;
    return QRect(*at_ - QPoint(reach, reach), QSize(2 * reach + 1, 2 * reach + 1));
}

QRect ReadoutLabel::Painted() const
{
    return drawn_ ? BoxFor(text_, at_, avoid_) | MarkerRect() : QRect();
}

void ReadoutLabel::paintEvent(QPaintEvent*)
{
    if (!drawn_ || text_.isEmpty())
        return;
    QPainter painter(this);
    const QRect marker = MarkerRect();
    if (!marker.isEmpty()) {
        // A dark ring on a white halo shows on any curve and on the axes,
        // and leaves the point itself to be seen inside it.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 4));
        painter.drawEllipse(QPointF(*at_), MarkerRadius, MarkerRadius);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawEllipse(QPointF(*at_), MarkerRadius, MarkerRadius);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    const QRect box = BoxFor(text_, at_, avoid_);
    if (box.isEmpty())
        return;
    painter.setPen(LabelBorder);
    painter.setBrush(LabelBackground);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(PaddingX, PaddingY, -PaddingX, -PaddingY), TextFlags, text_);
}
