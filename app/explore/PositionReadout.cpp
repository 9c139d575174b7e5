// SPDX-License-Identifier: GPL-3.0-or-later
#include "PositionReadout.h"

#include <QEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "DocumentSignals.h"
#include "Draw2D.h"
#include "PlaneImage.h"
#include "PlaneQt.h"
#include "ReadoutAccessible.h"
#include "ReadoutLabel.h"
#include "ReadoutText.h"
#include "WorldWindow.h"

namespace {

constexpr int NoteMilliseconds = 3000;
constexpr std::ptrdiff_t PageStep = 10;
// A pen's point further off than this (in pixels from the plane's middle)
// is brought nearer along the same line: the label needs only its way.
constexpr long double FarthestPixel = 1e6L;

// Where the point lies in plane pixels: the pixel it is drawn on, or, too
// far out to round to one, its place brought near along the same line.
std::optional<QPointF> PixelOf(const PlaneMapping& mapping, const PenPoint& point, QSize plane)
{
    try {
        return QPointF(mapping.ScreenX(point.X), mapping.ScreenY(point.Y));
    } catch (const FloatFault&) {
    }
    const long double middleX = plane.width() / 2.0L, middleY = plane.height() / 2.0L;
    long double x = mapping.PixelX(point.X) - middleX, y = mapping.PixelY(point.Y) - middleY;
    const long double farther = std::max(std::fabs(x), std::fabs(y));
    if (!std::isfinite(farther))
        return std::nullopt;
    if (farther > FarthestPixel) {
        x *= FarthestPixel / farther;
        y *= FarthestPixel / farther;
    }
    return QPointF(double(middleX + x), double(middleY + y));
}

// Keeps the labels over Image1 as it is moved or resized.
class FollowPlane : public QObject {
public:
    FollowPlane(QWidget& plane, std::function<void()> fit) : QObject(&plane), fit_(std::move(fit))
    {
        plane.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            fit_();
        return false;
    }

private:
    std::function<void()> fit_;
};

}  // namespace

PositionReadout::PositionReadout(TDraw2D& window, PlotDocument& document)
    : QObject(&window),
      window_(window),
      document_(document)
{
    // Before the labels exist: the toolkit keeps the first description it makes.
    InstallReadoutAccessible();
    pen_ = new ReadoutLabel(ReadoutLabel::Kind::Pen, window.Image1->parentWidget());
    mouse_ = new ReadoutLabel(ReadoutLabel::Kind::Mouse, window.Image1->parentWidget());
    FitToPlane();
    new FollowPlane(*window.Image1, [this] { FitToPlane(); });
    pen_->show();
    mouse_->show();

    noteTimer_.setSingleShot(true);
    noteTimer_.setInterval(NoteMilliseconds);
    connect(&noteTimer_, &QTimer::timeout, this, [this] {
        note_.clear();
        ShowMouse();
    });
    auto* news = new DocumentSignals(document_, this);
    connect(news, &DocumentSignals::PenMoved, this, &PositionReadout::TrackChanged);
    connect(news, &DocumentSignals::PressesChanged, this, &PositionReadout::PressesChanged);
    TrackChanged();
}

void PositionReadout::FitToPlane()
{
    // Laid over Image1, above it, the same size.
    for (ReadoutLabel* label : {pen_, mouse_}) {
        label->setGeometry(window_.Image1->geometry());
        label->raise();
    }
    ShowPen();  // where the plane on screen now has room
}

void PositionReadout::SetOn(bool on)
{
    if (on == on_)
        return;
    on_ = on;
    pen_->SetDrawn(on);
    mouse_->SetDrawn(on);
    ShowMouse();  // clear of the pen's label, now drawn or not
    emit OnChanged(on);
}

void PositionReadout::TrackChanged()
{
    const std::size_t count = document_.PenTrack().size();
    if (count == 0)
        penIndex_.reset();
    else
        penIndex_ = count - 1;  // with the pen: the last point drawn
    ShowPen();
}

void PositionReadout::PressesChanged(PressesChange change)
{
    // In another window the same press gives the same points: the pen keeps
    // its place. Anything else brings the pen to the last point drawn.
    const std::optional<std::size_t> held = penIndex_;
    TrackChanged();
    if (change == PressesChange::WindowMoved && held && penIndex_) {
        penIndex_ = std::min(*held, *penIndex_);
        ShowPen();
    }
    ShowMouse();  // a new window or a wiped plane moves the mouse's readout
}

void PositionReadout::StepPen(Step step)
{
    SetOn(true);
    const std::size_t count = document_.PenTrack().size();
    if (count == 0 || !penIndex_)
        return;
    const auto last = std::ptrdiff_t(count) - 1;
    const auto here = std::ptrdiff_t(*penIndex_);
    std::ptrdiff_t next = here;
    switch (step) {
    case Step::Previous: next = here - 1; break;
    case Step::Next: next = here + 1; break;
    case Step::First: next = 0; break;
    case Step::Last: next = last; break;
    case Step::TenBack: next = here - PageStep; break;
    case Step::TenOn: next = here + PageStep; break;
    }
    next = std::clamp<std::ptrdiff_t>(next, 0, last);
    if (next == here)
        return;
    penIndex_ = std::size_t(next);
    ShowPen();
    AnnounceReadout(*pen_);
}

const PenPoint* PositionReadout::PenAt() const
{
    const std::vector<PenPoint>& points = document_.PenTrack();
    if (!penIndex_ || *penIndex_ >= points.size())
        return nullptr;
    return &points[*penIndex_];
}

ReadoutZero PositionReadout::Zero() const
{
    // The window the plane shows, never one a refused press left.
    const std::optional<ShownWindow> shown = document_.Shown();
    if (!shown)
        return ReadoutZero{};
    const RgbImage& plane = document_.Surface().Plane();
    return ZeroOfWindow(shown->X1, shown->X2, shown->Y1, shown->Y2, plane.Width(), plane.Height());
}

QString PositionReadout::CopyShownText() const
{
    const PenPoint* point = PenAt();
    return point ? QString::fromStdString(CopiedShownPoint(point->T, point->X, point->Y, Zero())) : QString();
}

QString PositionReadout::CopyExactText() const
{
    const PenPoint* point = PenAt();
    return point ? QString::fromStdString(CopiedExactPoint(point->T, point->X, point->Y)) : QString();
}

void PositionReadout::ShowPen()
{
    const PenPoint* point = PenAt();
    if (!point) {
        pen_->SetStep(0, 0);
        pen_->Show(QString(), std::nullopt);
        ShowMouse();
        return;
    }
    std::optional<QPointF> at;
    // Through the window the plane shows, never one a refused press left.
    if (const std::optional<ShownWindow> shown = document_.Shown())
        at = PixelOf(shown->Mapping, *point, window_.Image1->size());
    // Clear of the point under the mouse.
    QList<QRect> keepClear;
    if (mousePixel_)
        keepClear << AroundCursor(*mousePixel_);
    pen_->SetStep(int(*penIndex_) + 1, int(document_.PenTrack().size()));
    pen_->Show(QString::fromStdString(PenReadoutText(point->T, point->X, point->Y, Zero())), at, keepClear);
    ShowMouse();  // clear of the pen's label
}

void PositionReadout::MouseAt(std::optional<QPoint> pixel)
{
    mousePixel_ = pixel;
    ShowPen();  // the pen's label clears the point, then the mouse's the pen's
}

void PositionReadout::Note(const QString& note)
{
    note_ = note;
    noteTimer_.start();
    ShowMouse();
    if (on_)
        AnnounceReadout(*mouse_);
}

void PositionReadout::ShowMouse()
{
    QString text;
    // The plane's window is the one of what is drawn: none after "Vymaž".
    const std::optional<ShownWindow> shown = document_.Shown();
    if (mousePixel_ && shown) {
        try {
            const PlaneMapping mapping = shown->Mapping;
            const QPoint pixel = *mousePixel_;
            const WorldPoint here = PixelCentre(mapping, FromQPoint(pixel));
            const WorldPoint left = PixelCentre(mapping, FromQPoint(pixel - QPoint(1, 0)));
            const WorldPoint right = PixelCentre(mapping, FromQPoint(pixel + QPoint(1, 0)));
            const WorldPoint above = PixelCentre(mapping, FromQPoint(pixel - QPoint(0, 1)));
            const WorldPoint below = PixelCentre(mapping, FromQPoint(pixel + QPoint(0, 1)));
            // Enough digits that the neighbours read differently and the
            // text maps back to this very pixel.
            const auto sameColumn = [&](double x) {
                try {
                    return mapping.ScreenX(x) == pixel.x();
                } catch (const FloatFault&) {
                    return false;
                }
            };
            const auto sameRow = [&](double y) {
                try {
                    return mapping.ScreenY(y) == pixel.y();
                } catch (const FloatFault&) {
                    return false;
                }
            };
            const int xDigits = DistinctDigits(left.x, here.x, right.x, sameColumn);
            const int yDigits = DistinctDigits(below.y, here.y, above.y, sameRow);
            text = QString::fromStdString(MouseReadoutText(here.x, xDigits, here.y, yDigits, Zero()));
        } catch (const FloatFault&) {
            text.clear();  // no mapping yet
        }
    }
    if (!note_.isEmpty())
        text = text.isEmpty() ? note_ : text + u'\n' + note_;
    std::optional<QPointF> at;
    if (mousePixel_)
        at = QPointF(*mousePixel_);
    mouse_->Show(text, at, {pen_->Box(), pen_->Arrow().boundingRect(), pen_->Ring()});
}
