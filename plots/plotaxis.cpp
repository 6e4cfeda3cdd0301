#include "plotaxis.h"

#include <algorithm>
#include <cmath>

#include <qcustomplot.h>
#include <limits>

#include "plotticker.h"
#include "xyplot.h"

namespace lumo {

PlotAxis::PlotAxis(XYPlot& plot, QCPAxis* axis, Direction direction, int index, const QString& name)
    : plot_(plot), axis_(axis), direction_(direction), index_(index), name_(name), ticker_(new PlotTicker)
{
    ticker_->setAxis(axis_);
    axis_->setTicker(ticker_);
    axis_->setRange(min_, min_ + span_);
    QObject::connect(axis_, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), &plot_,
        [this](const QCPRange& range) { takeOverRange(range.lower, range.upper); });
}

double PlotAxis::Min() const
{
    flushTracking();
    return min_;
}

double PlotAxis::Span() const
{
    flushTracking();
    return span_;
}

void PlotAxis::SetMin(double min)
{
    setRange(min, Span());
}

void PlotAxis::SetSpan(double span)
{
    setRange(Min(), span);
}

void PlotAxis::setRange(double min, double span)
{
    flushTracking();
    if (min == min_ && span == span_)
        return;
    applyRange(min, span, true);
}

void PlotAxis::setDesignRange(double min, double span)
{
    applyRange(min, span, false);
    savedMin_ = min;
    savedSpan_ = span;
}

void PlotAxis::applyRange(double min, double span, bool notify)
{
    const double oldMin = min_;
    const double oldSpan = span_;
    min_ = min;
    span_ = span;
    // The drawing layer refuses an empty or reversed range and keeps its
    // previous one; the stored values stay what was asked for.
    pushing_ = true;
    axis_->setRange(min, min + span);
    pushing_ = false;
    plot_.replot();
    if (notify)
        plot_.axisRangeChanged(*this, oldMin, oldSpan, min, span);
}

void PlotAxis::takeOverRange(double lower, double upper)
{
    if (pushing_)
        return;
    const double span = upper - lower;
    if (lower == min_ && span == span_)
        return;
    applyRange(lower, span, true);
}

void PlotAxis::SetTitle(const QString& title)
{
    title_ = title;
    axis_->setLabel(titleShow_ ? title : QString());
    plot_.replot();
}

void PlotAxis::SetTitleShow(bool show)
{
    titleShow_ = show;
    axis_->setLabel(show ? title_ : QString());
    plot_.replot();
}

void PlotAxis::SetDesiredIncrement(double increment)
{
    desiredIncrement_ = increment;
    ticker_->setDesiredIncrement(increment);
    plot_.replot();
}

void PlotAxis::setLabelDecimals(int decimals)
{
    ticker_->setDecimals(decimals);
    plot_.replot();
}

void PlotAxis::setLabelDateTime(const QString&)
{
    // The one date-time format in use is the time of day "hh:nn:ss".
    ticker_->setDateTime(true);
    plot_.replot();
}

int PlotAxis::labelDecimals() const
{
    return ticker_->decimals();
}

QString PlotAxis::formatValue(double value) const
{
    return ticker_->format(value);
}

void PlotAxis::setScrollLimits(double lo, double hi)
{
    limitLo_ = lo;
    limitHi_ = hi;
}

void PlotAxis::limitRange(double& min, double& span) const
{
    if (limitLo_ >= limitHi_)
        return;
    span = std::min(span, limitHi_ - limitLo_);
    min = std::clamp(min, limitLo_, limitHi_ - span);
}

void PlotAxis::zoomBy(double factor)
{
    double min = Min();
    double span = Span();
    // Zooming out ends at the full range of the data shown.
    if (factor > 1) {
        double lo = std::numeric_limits<double>::infinity();
        double hi = -lo;
        const bool isX = direction_ == Direction::X;
        for (const auto& channel : plot_.channels())
            if (channel->Visible() && channel->count() > 0 && binds(*channel)) {
                lo = std::min(lo, isX ? channel->xMin() : channel->yMin());
                hi = std::max(hi, isX ? channel->xMax() : channel->yMax());
            }
        const double wider = span * factor;
        const double centre = min + span / 2;
        if (hi > lo && centre - wider / 2 <= lo && centre + wider / 2 >= hi) {
            ZoomToFit();
            return;
        }
    }
    if (log_ && min > 0 && span > 0) {
        const double lo = std::log10(min);
        const double hi = std::log10(min + span);
        const double centre = (lo + hi) / 2;
        min = std::pow(10.0, centre - (hi - lo) * factor / 2);
        span = std::pow(10.0, centre + (hi - lo) * factor / 2) - min;
    } else {
        const double centre = min + span / 2;
        span *= factor;
        min = centre - span / 2;
    }
    limitRange(min, span);
    setRange(min, span);
}

void PlotAxis::setLogarithmic(bool on)
{
    log_ = on;
    axis_->setScaleType(on ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
    ticker_->setLogarithmic(on);
    plot_.replot();
}

void PlotAxis::setReversed(bool on)
{
    reversed_ = on;
    axis_->setRangeReversed(on);
    plot_.replot();
}

bool PlotAxis::Visible() const
{
    return axis_->visible();
}

void PlotAxis::SetVisible(bool on)
{
    axis_->setVisible(on);
    plot_.replot();
}

void PlotAxis::SetTrackingEnabled(bool enabled)
{
    if (enabled == tracking_)
        return;
    if (!enabled) {
        flushTracking();
        savedMin_ = min_;
        savedSpan_ = span_;
        tracking_ = false;
        return;
    }
    tracking_ = true;
    if (restoreOnResume_)
        setRange(savedMin_, savedSpan_);
}

void PlotAxis::setTrackingMargins(double below, double above)
{
    minMargin_ = below;
    maxMargin_ = above;
}

void PlotAxis::SetMode(AxisMode mode)
{
    mode_ = mode;
}

bool PlotAxis::binds(const PlotChannel& channel) const
{
    const QString& name = direction_ == Direction::X ? channel.XAxisName() : channel.YAxisName();
    return name.compare(name_, Qt::CaseInsensitive) == 0;
}

void PlotAxis::ZoomToFit()
{
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    bool found = false;
    const bool isX = direction_ == Direction::X;
    for (const auto& channel : plot_.channels()) {
        if (!channel->Visible() || !binds(*channel))
            continue;
        for (const QPointF& p : channel->Points()) {
            const double v = isX ? p.x() : p.y();
            lo = std::min(lo, v);
            hi = std::max(hi, v);
            found = true;
        }
    }
    fitTo(lo, hi, found);
}

void PlotAxis::ZoomToFitFast()
{
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    bool found = false;
    const bool isX = direction_ == Direction::X;
    for (const auto& channel : plot_.channels()) {
        if (channel->count() == 0 || !binds(*channel))
            continue;
        lo = std::min(lo, isX ? channel->xMin() : channel->yMin());
        hi = std::max(hi, isX ? channel->xMax() : channel->yMax());
        found = true;
    }
    fitTo(lo, hi, found);
}

void PlotAxis::fitTo(double lo, double hi, bool found)
{
    if (!found || hi == lo)
        return;
    setRange(lo - minMargin_, (hi - lo) + minMargin_ + maxMargin_);
}

void PlotAxis::track(double value)
{
    if (!tracking_)
        return;
    if (!trackPending_) {
        trackLo_ = trackHi_ = value;
        trackPending_ = true;
        return;
    }
    trackLo_ = std::min(trackLo_, value);
    trackHi_ = std::max(trackHi_, value);
}

void PlotAxis::flushTracking() const
{
    if (!trackPending_)
        return;
    trackPending_ = false;
    const double lo = std::min(min_, trackLo_ - minMargin_);
    const double hi = std::max(min_ + span_, trackHi_ + maxMargin_);
    if (lo == min_ && hi == min_ + span_)
        return;
    // Tracking is part of reading the range: a getter may apply it.
    const_cast<PlotAxis*>(this)->applyRange(lo, hi - lo, true);
}

} // namespace lumo
