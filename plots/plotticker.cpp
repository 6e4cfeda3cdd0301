#include "plotticker.h"

#include <algorithm>
#include <cmath>

namespace lumo {

namespace {
constexpr double SecondsPerDay = 86400.0;
constexpr int MaxTicks = 12;
// Room a label needs along the axis, in pixels.
constexpr int LabelWidth = 50;
constexpr int LabelHeight = 32;
}

int PlotTicker::maxTicks() const
{
    if (!axis_ || !axis_->axisRect())
        return MaxTicks;
    const bool horizontal = axis_->orientation() == Qt::Horizontal;
    const int length = horizontal ? axis_->axisRect()->width() : axis_->axisRect()->height();
    if (length <= 0)
        return MaxTicks;
    return std::clamp(length / (horizontal ? LabelWidth : LabelHeight), 2, MaxTicks);
}

QString PlotTicker::format(double value) const
{
    if (!dateTime_)
        return QString::number(value, 'f', decimals_);
    // Time of day of a date-time in days, to the nearest second.
    double dayFraction = value - std::floor(value);
    long long seconds = std::llround(dayFraction * SecondsPerDay) % 86400;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

double PlotTicker::getTickStep(const QCPRange& range)
{
    if (increment_ <= 0 || range.size() <= 0)
        return QCPAxisTicker::getTickStep(range);
    // Widen the desired step by 2, 5, 10, ... until the ticks fit; narrow it
    // by 2, 5, 10, ... when fewer than two ticks would show.
    const double size = range.size();
    const int most = maxTicks();
    if (size / increment_ > most) {
        for (double base = increment_; std::isfinite(base); base *= 10)
            for (double f : {1.0, 2.0, 5.0})
                if (size / (base * f) <= most)
                    return base * f;
    } else if (size / increment_ < 2) {
        for (double base = increment_; base > 0; base /= 10)
            for (double f : {0.5, 0.2, 0.1})
                if (size / (base * f) >= 2)
                    return base * f;
    }
    return increment_;
}

QString PlotTicker::getTickLabel(double tick, const QLocale&, QChar, int)
{
    // Snap values that are zero but for rounding, so "-0.00" never shows.
    if (!dateTime_ && std::fabs(tick) < 1e-12)
        tick = 0;
    return format(tick);
}

} // namespace lumo
