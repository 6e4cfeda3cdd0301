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
    PlotAxis* xa = plot_.GetXAxis(0);
    PlotAxis* ya = plot_.GetYAxis(0);
    x_ = {xa->Min(), xa->Span(), xa->qcpAxis()->pixelToCoord(pressPos_.x())};
    y_ = {ya->Min(), ya->Span(), ya->qcpAxis()->pixelToCoord(pressPos_.y())};
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
        plot_.GetXAxis(0)->SetTrackingEnabled(false);
        plot_.GetYAxis(0)->SetTrackingEnabled(false);
    }
    const QRect area = plot_.customPlot()->axisRect()->rect();
    dragAxis(*plot_.GetXAxis(0), x_, delta.x(), area.width());
    // Pixels grow downwards, values upwards.
    dragAxis(*plot_.GetYAxis(0), y_, -delta.y(), area.height());
}

void PlotMouse::dragAxis(PlotAxis& axis, const Start& start, double pixels, double length)
{
    if (length <= 0 || start.span <= 0)
        return;
    double min = start.min;
    double span = start.span;
    if (axis.Mode() == AxisMode::Scroll) {
        min = start.min - pixels / length * start.span;
    } else {
        // Dragging right (up) narrows the range about the pressed point.
        span = start.span * std::exp(-pixels / ZoomPixelsPerE);
        min = start.anchor - (start.anchor - start.min) * span / start.span;
    }
    limit(axis, min, span);
    axis.SetRange(min, span);
}

void PlotMouse::limit(const PlotAxis& axis, double& min, double& span)
{
    const double lo = axis.limitLo();
    const double hi = axis.limitHi();
    if (lo >= hi)
        return;
    if (span > hi - lo)
        span = hi - lo;
    if (min < lo)
        min = lo;
    if (min + span > hi)
        min = hi - span;
}

void PlotMouse::release(QMouseEvent*)
{
    if (dragging_) {
        plot_.customPlot()->setNotAntialiasedElements(QCP::aeNone);
        plot_.Replot();
    }
    pressed_ = false;
    dragging_ = false;
}

void PlotMouse::wheel(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0)
        return;
    PlotAxis& axis = *plot_.GetYAxis(0);
    const double min0 = axis.Min();
    const double span0 = axis.Span();
    if (span0 <= 0)
        return;
    axis.SetTrackingEnabled(false);
    const double anchor = axis.qcpAxis()->pixelToCoord(event->position().y());
    double span = span0 * std::pow(WheelStepFactor, steps);
    double min = anchor - (anchor - min0) * span / span0;
    limit(axis, min, span);
    axis.SetRange(min, span);
    event->accept();
}

} // namespace lumo
