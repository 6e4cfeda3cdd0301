#pragma once

#include <QSharedPointer>
#include <QString>

#include "plottypes.h"

class QCPAxis;

namespace lumo {
class PlotTicker;
}

namespace lumo {

class PlotChannel;
class XYPlot;

// One axis of an XYPlot. The visible range is Min to Min + Span in axis
// units. Changing either raises the plot's min/span notification; setting
// the value the axis already has changes nothing and raises none.
class PlotAxis {
public:
    enum class Direction { X, Y };

    PlotAxis(XYPlot& plot, QCPAxis* axis, Direction direction, int index, const QString& name);
    PlotAxis(const PlotAxis&) = delete;
    PlotAxis& operator=(const PlotAxis&) = delete;

    const QString& Name() const { return name_; }
    Direction direction() const { return direction_; }
    int index() const { return index_; }

    double Min() const;
    double Span() const;
    void SetMin(double min);
    void SetSpan(double span);
    // Sets both in one step: at most one notification.
    void setRange(double min, double span);
    // Initial range while the plot is built from its design: no notification.
    void setDesignRange(double min, double span);

    const QString& Title() const { return title_; }
    void SetTitle(const QString& title);
    bool TitleShow() const { return titleShow_; }
    void SetTitleShow(bool show);
    double DesiredIncrement() const { return desiredIncrement_; }
    void SetDesiredIncrement(double increment);
    // Tick labels as numbers with this many decimals ...
    void setLabelDecimals(int decimals);
    // ... or as time of day of a date-time in days ("hh:nn:ss").
    void setLabelDateTime(const QString& format);
    int labelDecimals() const;
    // A value written as the axis writes its labels.
    QString formatValue(double value) const;
    // Limits for scrolling and zooming by mouse and toolbar (none by default).
    void setScrollLimits(double lo, double hi);
    // Brings a range inside the scroll limits: no wider than they are, and
    // moved inside without changing its span.
    void limitRange(double& min, double& span) const;

    // Widens (factor > 1) or narrows the range about its middle, in the
    // axis's own scale, within the scroll limits.
    void zoomBy(double factor);

    // A logarithmic axis (its range must stay above 0) has decade ticks.
    bool logarithmic() const { return log_; }
    void setLogarithmic(bool on);
    // A reversed axis grows leftwards (X) or downwards (Y).
    bool reversed() const { return reversed_; }
    void setReversed(bool on);
    // Whether the axis line, ticks and title are drawn.
    bool Visible() const;
    void SetVisible(bool on);

    bool TrackingEnabled() const { return tracking_; }
    // Switching tracking off saves the range; switching it back on restores
    // that range when RestoreValuesOnResume is set.
    void SetTrackingEnabled(bool enabled);
    double TrackingMinMargin() const { return minMargin_; }
    double TrackingMaxMargin() const { return maxMargin_; }
    void setTrackingMargins(double below, double above);
    bool RestoreValuesOnResume() const { return restoreOnResume_; }
    void SetRestoreValuesOnResume(bool restore) { restoreOnResume_ = restore; }

    AxisMode Mode() const { return mode_; }
    void SetMode(AxisMode mode);

    // Whether the channel is drawn against this axis (names match without
    // regard to case).
    bool binds(const PlotChannel& channel) const;

    // Fits the range to the visible channels bound to this axis, with the
    // tracking margins; unchanged when they hold no points or one value only.
    void ZoomToFit();
    // The same from the statistics of every bound channel, hidden ones too.
    void ZoomToFitFast();

    // Widens (never narrows) the range so the value lies inside it with the
    // margins. Applied lazily: see flushTracking.
    void track(double value);
    // Applies values tracked since the last flush in one range change.
    void flushTracking() const;

    QCPAxis* qcpAxis() const { return axis_; }
    // The drawing layer's range changed (mouse or zoom box): take it over.
    void takeOverRange(double lower, double upper);
    // Scroll limits as set; lo > hi when there are none.
    double limitLo() const { return limitLo_; }
    double limitHi() const { return limitHi_; }

private:
    void fitTo(double lo, double hi, bool found);
    void applyRange(double min, double span, bool notify);

    XYPlot& plot_;
    QCPAxis* axis_;
    Direction direction_;
    int index_;
    QString name_;
    double min_ = 0, span_ = 100;
    QString title_;
    bool titleShow_ = true;
    double desiredIncrement_ = 0; // 0: automatic
    bool tracking_ = true;
    double minMargin_ = 0, maxMargin_ = 0;
    bool restoreOnResume_ = true;
    double savedMin_ = 0, savedSpan_ = 100;
    AxisMode mode_ = AxisMode::Scroll;
    bool pushing_ = false; // our own range is being handed to the drawing layer
    double limitLo_ = 1, limitHi_ = 0;
    bool log_ = false;
    bool reversed_ = false;
    QSharedPointer<PlotTicker> ticker_;
    // Lazily applied tracking (see track), mutable so the getters can flush.
    mutable bool trackPending_ = false;
    mutable double trackLo_ = 0, trackHi_ = 0;
};

} // namespace lumo
