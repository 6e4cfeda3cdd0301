#include "plotmouse.h"

#include <qcustomplot.h>

#include <cmath>

#include "xyplot.h"

namespace lumo {

namespace {
constexpr double DragStartPixels = 3;
constexpr double ZoomPixelsPerE = 150; // drag length that zooms by the factor e
constexpr double WheelStepFactor = 0.85;
}

namespace {

// Position along an axis in the units the axis is drawn in.
double toScale(const PlotAxis& axis, double v)
{
    return axis.logarithmic() ? std::log10(v) : v;
}

double fromScale(const PlotAxis& axis, double u)
{
    return axis.logarithmic() ? std::pow(10.0, u) : u;
}

} // namespace

std::vector<PlotMouse::Start> PlotMouse::starts(bool x, double pixel) const
{
    std::vector<Start> out;
    for (int i = 0;; ++i) {
        PlotAxis* axis = x ? plot_.GetXAxis(i) : plot_.GetYAxis(i);
        if (!axis)
            break;
        out.push_back({axis, axis->Min(), axis->Span(), axis->qcpAxis()->pixelToCoord(pixel)});
    }
    return out;
}

void PlotMouse::press(QMouseEvent* event)
{
    QCustomPlot* cp = plot_.customPlot();
    if (event->button() != Qt::LeftButton || cp->selectionRectMode() != QCP::srmNone)
        return;
    if (!cp->axisRect()->rect().contains(event->position().toPoint()))
        return;
    pressed_ = true;
    dragging_ = false;
    pressPos_ = event->position();
    x_ = starts(true, pressPos_.x());
    y_ = starts(false, pressPos_.y());
}

void PlotMouse::move(QMouseEvent* event)
{
    if (!pressed_) {
        plot_.showHintAt(event->position().toPoint(), event->globalPosition().toPoint());
        return;
    }
    const QPointF delta = event->position() - pressPos_;
    if (!dragging_) {
        if (std::abs(delta.x()) < DragStartPixels && std::abs(delta.y()) < DragStartPixels)
            return;
        dragging_ = true;
        // Plain lines while dragging keep the redraw fast enough to follow
        // the pointer; the release draws them smooth again.
        plot_.customPlot()->setNotAntialiasedElements(QCP::aePlottables);
        for (const auto* list : {&x_, &y_})
            for (const Start& s : *list)
                s.axis->SetTrackingEnabled(false);
    }
    const QRect area = plot_.customPlot()->axisRect()->rect();
    // Dragging right (up) narrows the range about the pressed point.
    for (const Start& s : x_)
        moveAxis(s, delta.x(), area.width(), std::exp(-delta.x() / ZoomPixelsPerE), s.axis->Mode() == AxisMode::Zoom);
    // Pixels grow downwards, values upwards.
    for (const Start& s : y_)
        moveAxis(s, -delta.y(), area.height(), std::exp(delta.y() / ZoomPixelsPerE), s.axis->Mode() == AxisMode::Zoom);
}

void PlotMouse::moveAxis(const Start& start, double pixels, double length, double factor, bool zoom)
{
    PlotAxis& axis = *start.axis;
    if (length <= 0 || start.span <= 0 || (axis.logarithmic() && !(start.min > 0)))
        return;
    double lo = toScale(axis, start.min);
    double hi = toScale(axis, start.min + start.span);
    if (!zoom) {
        // The data follow the pointer, whichever way the axis grows.
        const double shift = pixels / length * (hi - lo) * (axis.reversed() ? -1 : 1);
        lo -= shift;
        hi -= shift;
    } else {
        const double anchor = toScale(axis, start.anchor);
        lo = anchor - (anchor - lo) * factor;
        hi = anchor + (hi - anchor) * factor;
    }
    double min = fromScale(axis, lo);
    double span = fromScale(axis, hi) - min;
    axis.limitRange(min, span);
    axis.setRange(min, span);
}

void PlotMouse::release(QMouseEvent*)
{
    if (dragging_) {
        plot_.customPlot()->setNotAntialiasedElements(QCP::aeNone);
        plot_.replot();
    }
    pressed_ = false;
    dragging_ = false;
}

void PlotMouse::wheel(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0)
        return;
    for (const Start& s : starts(false, event->position().y())) {
        s.axis->SetTrackingEnabled(false);
        moveAxis(s, 0, 1, std::pow(WheelStepFactor, steps), true);
    }
    event->accept();
}

} // namespace lumo
