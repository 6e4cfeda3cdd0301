#pragma once

#include <QFrame>
#include <QPageLayout>
#include <QPixmap>

#include <array>
#include <memory>
#include <vector>

#include "plotaxis.h"
#include "plotchannel.h"
#include "plottypes.h"

class QAction;
class QCustomPlot;
class QCPTextElement;
class QMouseEvent;
class QPrinter;
class QToolBar;
class QWheelEvent;

namespace lumo {

class PlotMouse;

// XY plot: channels drawn against named X and Y axes (one of each by
// default, "X-Axis" and "Y-Axis"; more X axes can be added above or below
// the data area), a title, a legend of the channels marked for it below the
// data area, and a toolbar. Channels and axes are referred to by their
// design index. Built on QCustomPlot; tick labels use the C locale whatever
// the user's locale is.
class XYPlot : public QFrame {
    Q_OBJECT
public:
    explicit XYPlot(QWidget* parent = nullptr);
    ~XYPlot() override;

    // Design: appends a channel (hidden, width 2, not in the legend).
    PlotChannel& AddChannel(const QString& name, const QColor& color, int layer,
        LineStyle style = LineStyle::Solid);
    // Design: appends an X axis above (top) or below the data area; channels
    // whose X axis name matches it are drawn against it.
    PlotAxis& AddXAxis(const QString& name, bool top);
    // A labelled scale on the right that follows the Y axis's range (a
    // second scale of the same quantity, such as heights beside pressures):
    // ticks at the given Y values with their labels; none hides it.
    void setMirrorYAxis(const QString& title, const QVector<double>& ticks, const QVector<QString>& labels);
    // The legend in one column, taking more columns only where one would
    // be higher than a quarter of the plot.
    void setLegendOneColumn(bool on) { legendOneColumn_ = on; legendChanged(); }
    // Ends the design: from now on range changes raise notifications.
    void endDesign();

    int channelCount() const { return static_cast<int>(channels_.size()); }
    int xAxisCount() const { return static_cast<int>(xAxes_.size()); }
    PlotChannel* GetChannel(int index) const;
    PlotAxis* GetXAxis(int index) const;
    PlotAxis* GetYAxis(int index) const;
    const std::vector<std::unique_ptr<PlotChannel>>& channels() const { return channels_; }

    // Removes every point of every channel; visibility, legend membership
    // and axis ranges stay.
    void ClearAllData();

    QString TitleText() const;
    void SetTitleText(const QString& text);

    bool buttonVisible(ToolBarButton button) const;
    void setButtonVisible(ToolBarButton button, bool visible);
    // Carries out the button's action, then raises OnToolBarButtonClick.
    void performButton(ToolBarButton button);
    // Every axis back to the full range of the data shown.
    void resetZoom();
    // A picture name without an extension gets the chosen filter's first
    // one ("PNG picture (*.png)" gives ".png").
    static QString withFilterExtension(const QString& path, const QString& filter);

    void setPrintDocument(const QString& name, QPageLayout::Orientation orientation);
    const QString& PrintDocumentName() const { return printName_; }
    // Hint with a point's values under the pointer.
    void setHintsEnabled(bool on) { hintsEnabled_ = on; }
    bool hintsEnabled() const { return hintsEnabled_; }
    // Nearest visible point within `radius` pixels of a widget position, as
    // hint text ("" when none).
    QString hintAt(const QPoint& pos, int radius = 8) const;

    // Shows the hint for a position in the plot widget (global: where).
    void showHintAt(const QPoint& pos, const QPoint& global);

    // Picture of the plot (title, axes, legend, data; no toolbar).
    QPixmap picture(int width = 0, int height = 0);
    // Writes PNG, JPEG, BMP or PDF, chosen by the file's extension.
    bool saveToFile(const QString& path, int width = 0, int height = 0);
    // Draws the plot onto a printer's page (printing and preview).
    void printTo(QPrinter& printer);

    // Applies pending range tracking and hands new points to the drawing.
    void flushTracking();
    // Redraws at the next event-loop turn.
    void replot();
    // Redraws now.
    void replotNow();

    QCustomPlot* customPlot() const { return plot_; }
    QToolBar* toolBar() const { return toolBar_; }

    // Called by the axes: a range changed from old to new.
    void axisRangeChanged(PlotAxis& axis, double oldMin, double oldSpan, double newMin, double newSpan);
    // Called by the channels when their drawing order changed.
    void layersChanged();
    // Called by the channels: legend membership or colour changed.
    void legendChanged();

signals:
    void OnXAxisMinSpanChange(int index, double oldMin, double oldSpan, double newMin, double newSpan);
    void OnYAxisMinSpanChange(int index, double oldMin, double oldSpan, double newMin, double newSpan);
    void OnToolBarButtonClick(int index, lumo::ToolBarButton buttonType);

private:
    void buildToolBar();
    // Hands new points, drawing order and legend to the drawing layer.
    void prepareDraw();
    // The legend's rows below the data area: as many entries side by side as
    // the width holds; taken out of the layout while it lists nothing.
    void layOutLegend();
    // Room right of the data area for half the widest label at the end of an
    // X axis, so that the last tick label is never cut off.
    void reserveEndLabelRoom();
    void pauseAll();
    void resumeAll();
    void setModeAll(AxisMode mode);
    void zoomAll(double factor);
    void copyPicture();
    void savePicture();
    void printPlot();
    void previewPlot();
    void editProperties();

    QCustomPlot* plot_ = nullptr;
    QCPTextElement* title_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    std::array<QAction*, ToolBarButtonCount> actions_{};
    std::vector<std::unique_ptr<PlotChannel>> channels_;
    std::vector<std::unique_ptr<PlotAxis>> xAxes_;
    std::vector<std::unique_ptr<PlotAxis>> yAxes_;
    bool mirrorShown_ = false;
    std::unique_ptr<PlotMouse> mouse_;
    bool designing_ = true;
    bool layersDirty_ = true;
    bool legendDirty_ = true;
    int legendRoom_ = -1;
    std::vector<bool> legendEntries_; // which channels the legend lists
    bool legendOneColumn_ = false;
    int legendHeight_ = -1;
    bool hintsEnabled_ = true;
    QString printName_;
    QPageLayout::Orientation orientation_ = QPageLayout::Landscape;
};

} // namespace lumo

Q_DECLARE_METATYPE(lumo::ToolBarButton)
