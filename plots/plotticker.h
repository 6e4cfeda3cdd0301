#pragma once

#include <qcustomplot.h>

namespace lumo {

// Tick placement and labels of a PlotAxis: numbers with a fixed count of
// decimals, or the time of day of a date-time counted in days ("hh:nn:ss").
// Ticks follow the desired increment when it gives a readable count,
// otherwise a multiple of it (or QCustomPlot's own choice when none is set).
class PlotTicker : public QCPAxisTicker {
public:
    void setDecimals(int decimals)
    {
        decimals_ = decimals;
        dateTime_ = false;
    }
    void setDateTime(bool on) { dateTime_ = on; }
    void setDesiredIncrement(double increment) { increment_ = increment; }
    // The axis whose length in pixels limits how many labels fit.
    void setAxis(QCPAxis* axis) { axis_ = axis; }
    bool isDateTime() const { return dateTime_; }
    int decimals() const { return decimals_; }

    // Label text of a value, as on the axis.
    QString format(double value) const;

protected:
    int maxTicks() const;
    double getTickStep(const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

private:
    int decimals_ = 2;
    bool dateTime_ = false;
    double increment_ = 0;
    QCPAxis* axis_ = nullptr;
};

} // namespace lumo
