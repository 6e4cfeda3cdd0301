#pragma once

#include <qcustomplot.h>

namespace lumo {

// Tick placement and labels of a PlotAxis: numbers with a fixed count of
// decimals, or the time of day of a date-time counted in days ("hh:nn:ss").
// Ticks follow the desired increment when it gives a readable count,
// otherwise a multiple of it (or QCustomPlot's own choice when none is set).
// A logarithmic axis has its ticks at 1, 2 and 5 times the powers of ten
// (the 2 and 5 left out when they would crowd), sub-ticks at the other
// multiples, and labels without trailing zeros.
class PlotTicker : public QCPAxisTicker {
public:
    void setDecimals(int decimals)
    {
        decimals_ = decimals;
        dateTime_ = false;
    }
    void setDateTime(bool on) { dateTime_ = on; }
    void setLogarithmic(bool on) { log_ = on; }
    bool isLogarithmic() const { return log_; }
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
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;
    QVector<double> createSubTickVector(int subTickCount, const QVector<double>& ticks) override;

private:
    int decimals_ = 2;
    bool dateTime_ = false;
    bool log_ = false;
    double increment_ = 0;
    QCPAxis* axis_ = nullptr;
};

} // namespace lumo
