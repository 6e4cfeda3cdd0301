#include "plotchannel.h"

#include <qcustomplot.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "flight/q5.h"

#include "xyplot.h"

namespace lumo {

namespace {

Qt::PenStyle penStyle(LineStyle style)
{
    switch (style) {
    case LineStyle::Dash:
        return Qt::DashLine;
    case LineStyle::Dot:
        return Qt::DotLine;
    case LineStyle::DashDot:
        return Qt::DashDotLine;
    case LineStyle::Solid:
        break;
    }
    return Qt::SolidLine;
}

bool isKnown(double v) { return v != Missing && std::isfinite(v); }

} // namespace

PlotChannel::PlotChannel(XYPlot& plot, QCPCurve* curve, const QString& name)
    : plot_(plot), curve_(curve), name_(name)
{
    curve_->setName(name_);
    curve_->setLineStyle(QCPCurve::lsLine);
    curve_->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    curve_->setSelectable(QCP::stNone);
    curve_->removeFromLegend();
    applyPen();
    curve_->setVisible(visible_);
    bindAxes();
}

void PlotChannel::SetXAxisName(const QString& name)
{
    xAxisName_ = name;
    bindAxes();
}

void PlotChannel::SetYAxisName(const QString& name)
{
    yAxisName_ = name;
    bindAxes();
}

void PlotChannel::bindAxes()
{
    boundX_ = boundY_ = nullptr;
    for (int i = 0; PlotAxis* axis = plot_.GetXAxis(i); ++i)
        if (!boundX_ && axis->binds(*this))
            boundX_ = axis;
    for (int i = 0; PlotAxis* axis = plot_.GetYAxis(i); ++i)
        if (!boundY_ && axis->binds(*this))
            boundY_ = axis;
    if (boundX_)
        curve_->setKeyAxis(boundX_->qcpAxis());
    if (boundY_)
        curve_->setValueAxis(boundY_->qcpAxis());
    dirty_ = true;
}

void PlotChannel::SetName(const QString& name)
{
    name_ = name;
    curve_->setName(name);
    plot_.legendChanged();
}

void PlotChannel::SetColor(const QColor& color)
{
    color_ = color;
    applyPen();
    plot_.legendChanged();
}

void PlotChannel::SetTraceLineStyle(LineStyle style)
{
    lineStyle_ = style;
    applyPen();
}

void PlotChannel::SetTraceLineWidth(int pixels)
{
    lineWidth_ = pixels;
    applyPen();
}

void PlotChannel::SetLayer(int layer)
{
    layer_ = layer;
    plot_.layersChanged();
}

void PlotChannel::SetVisible(bool visible)
{
    if (visible_ == visible)
        return;
    visible_ = visible;
    curve_->setVisible(visible);
    plot_.replot();
}

void PlotChannel::SetVisibleInLegend(bool inLegend)
{
    if (inLegend_ == inLegend)
        return;
    inLegend_ = inLegend;
    plot_.legendChanged();
}

void PlotChannel::applyPen()
{
    QPen pen(color_, lineWidth_, penStyle(lineStyle_));
    pen.setCapStyle(Qt::FlatCap);
    curve_->setPen(pen);
    plot_.replot();
}

void PlotChannel::AddXY(double x, double y)
{
    if (!isKnown(x) || !isKnown(y)) {
        addBreak();
        return;
    }
    if (points_.empty()) {
        xMin_ = xMax_ = x;
        yMin_ = yMax_ = y;
    } else {
        xMin_ = std::min(xMin_, x);
        xMax_ = std::max(xMax_, x);
        yMin_ = std::min(yMin_, y);
        yMax_ = std::max(yMax_, y);
    }
    points_.emplace_back(x, y);
    dirty_ = true;
    if (boundX_)
        boundX_->track(x);
    if (boundY_)
        boundY_->track(y);
}

void PlotChannel::addBreak()
{
    if (!points_.empty() && (breaks_.empty() || breaks_.back() != points_.size()))
        breaks_.push_back(points_.size());
}

void PlotChannel::clear()
{
    points_.clear();
    breaks_.clear();
    xMin_ = xMax_ = yMin_ = yMax_ = 0;
    dirty_ = true;
}

void PlotChannel::syncCurve()
{
    if (!dirty_)
        return;
    dirty_ = false;
    // The parameter t keeps the points in the order they were added: a
    // profile is not a function of either coordinate.
    // A point with unknown coordinates is where the drawing breaks the line.
    constexpr double Gap = std::numeric_limits<double>::quiet_NaN();
    QVector<QCPCurveData> data;
    data.reserve(static_cast<int>(points_.size() + breaks_.size()));
    double t = 0;
    auto nextBreak = breaks_.begin();
    for (std::size_t i = 0; i < points_.size(); ++i) {
        if (nextBreak != breaks_.end() && *nextBreak == i) {
            data.append(QCPCurveData(t++, Gap, Gap));
            ++nextBreak;
        }
        data.append(QCPCurveData(t++, points_[i].x(), points_[i].y()));
    }
    curve_->data()->set(data, true);
}

} // namespace lumo
