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

QVector<double> PlotTicker::createTickVector(double tickStep, const QCPRange& range)
{
    if (!log_)
        return QCPAxisTicker::createTickVector(tickStep, range);
    QVector<double> ticks;
    if (!(range.lower > 0) || !(range.upper > range.lower))
        return ticks;
    const double decades = std::log10(range.upper / range.lower);
    // 1-2-5 while the decades leave room for them, else the powers of ten.
    const bool withSteps = decades * 3 <= maxTicks();
    for (double decade = std::pow(10.0, std::floor(std::log10(range.lower))); decade <= range.upper; decade *= 10)
        for (double f : {1.0, 2.0, 5.0}) {
            if (f != 1.0 && !withSteps)
                continue;
            const double tick = decade * f;
            if (tick >= range.lower * (1 - 1e-9) && tick <= range.upper * (1 + 1e-9))
                ticks.append(tick);
        }
    return ticks;
}

QVector<double> PlotTicker::createSubTickVector(int subTickCount, const QVector<double>& ticks)
{
    if (!log_)
        return QCPAxisTicker::createSubTickVector(subTickCount, ticks);
    // Every whole multiple of a power of ten that is not a tick.
    QVector<double> sub;
    if (ticks.isEmpty())
        return sub;
    const double first = std::pow(10.0, std::floor(std::log10(ticks.front())) - 1);
    for (double decade = first; decade <= ticks.back() * 10; decade *= 10)
        for (int m = 2; m <= 9; ++m) {
            const double v = decade * m;
            const bool isTick = std::any_of(ticks.begin(), ticks.end(),
                [v](double t) { return std::fabs(t - v) <= 1e-9 * v; });
            if (!isTick)
                sub.append(v);
        }
    return sub;
}

QString PlotTicker::getTickLabel(double tick, const QLocale&, QChar, int)
{
    if (log_)
        return QString::number(tick, 'g', 6);
    // Snap values that are zero but for rounding, so "-0.00" never shows.
    if (!dateTime_ && std::fabs(tick) < 1e-12)
        tick = 0;
    return format(tick);
}

} // namespace lumo
