#pragma once

#include <QColor>
#include <QPointF>
#include <QString>

#include <vector>

#include "plottypes.h"

class QCPCurve;

namespace lumo {

class PlotAxis;
class XYPlot;

// One data series of an XYPlot: its points in the order added, the smallest
// and greatest X and Y since the last clear, and how it is drawn.
class PlotChannel {
public:
    PlotChannel(XYPlot& plot, QCPCurve* curve, const QString& name);
    PlotChannel(const PlotChannel&) = delete;
    PlotChannel& operator=(const PlotChannel&) = delete;

    // The name is also the legend text.
    const QString& Name() const { return name_; }
    void SetName(const QString& name);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    LineStyle TraceLineStyle() const { return lineStyle_; }
    void SetTraceLineStyle(LineStyle style);
    int TraceLineWidth() const { return lineWidth_; }
    void SetTraceLineWidth(int pixels);
    // Drawing order: a higher layer is drawn over a lower one.
    int Layer() const { return layer_; }
    void SetLayer(int layer);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool VisibleInLegend() const { return inLegend_; }
    void SetVisibleInLegend(bool inLegend);

    // Axes the channel is drawn against, matched by name without regard to case.
    const QString& XAxisName() const { return xAxisName_; }
    const QString& YAxisName() const { return yAxisName_; }
    void SetXAxisName(const QString& name);
    void SetYAxisName(const QString& name);

    // Appends a point, updates the statistics and feeds the axes' tracking,
    // whether or not the channel is visible. A point with an unknown
    // coordinate (the missing-value marker, or not finite) is left out and
    // breaks the line there; it never reaches the statistics or the axes.
    void AddXY(double x, double y);
    void clear();

    const std::vector<QPointF>& Points() const { return points_; }
    int count() const { return static_cast<int>(points_.size()); }
    double xMin() const { return xMin_; }
    double xMax() const { return xMax_; }
    double yMin() const { return yMin_; }
    double yMax() const { return yMax_; }

    // Ends the trace here: the next point added starts a new line, so no
    // line joins the points on either side (a wrap of wind direction).
    void addBreak();

    QCPCurve* curve() const { return curve_; }
    // The axes the channel is drawn against (null when no axis has its name).
    PlotAxis* boundXAxis() const { return boundX_; }
    PlotAxis* boundYAxis() const { return boundY_; }
    // Binds the channel to the plot's axes of its axis names.
    void bindAxes();
    // Hands points added since the last call to the drawing layer.
    void syncCurve();

private:
    void applyPen();

    XYPlot& plot_;
    QCPCurve* curve_;
    QString name_;
    QColor color_{255, 0, 0};
    LineStyle lineStyle_ = LineStyle::Solid;
    int lineWidth_ = 1;
    int layer_ = 100;
    bool visible_ = true;
    bool inLegend_ = false;
    QString xAxisName_ = QStringLiteral("X-Axis");
    QString yAxisName_ = QStringLiteral("Y-Axis");
    PlotAxis* boundX_ = nullptr; // axes fed by AddXY, from the names above
    PlotAxis* boundY_ = nullptr;
    std::vector<QPointF> points_;
    std::vector<std::size_t> breaks_; // point indices that start a new line
    double xMin_ = 0, xMax_ = 0, yMin_ = 0, yMax_ = 0;
    bool dirty_ = false;
};

} // namespace lumo
