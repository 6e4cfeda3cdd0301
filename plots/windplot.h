#pragma once

// Wind plot window. What the main window may call:
//   windDirPlot, windSpdPlot (XYPlot*), lblTitle (QLabel*: setText);
//   LoadPlotData(q5) — refill (a PlotSink: add it to q5.plotSinks; it takes
//   itself out again when destroyed);
//   ApplyShowAll(flag) — "Show all data" changed, and at the end of import;
//   prepareAndShow() — the Plot > Winds command's work on this window;
//   finishImport(flightName) — title "Wind Data - <flightName>", then
//   ApplyShowAll(q5.showAll);
//   FitWindAxes(), FormShow(), FormResize().

#include <QWidget>

#include "flight/plotsink.h"
#include "plottypes.h"

class QLabel;

namespace lumo {

class Q5;
class XYPlot;

// Wind direction (left) and speed (right) against height, ascent and
// descent channels, the two height axes coupled.
class TwindPlotFrm : public QWidget, public PlotSink {
    Q_OBJECT
public:
    explicit TwindPlotFrm(Q5& q5, QWidget* parent = nullptr);
    ~TwindPlotFrm() override;

    XYPlot* windDirPlot = nullptr;
    XYPlot* windSpdPlot = nullptr;
    QLabel* lblTitle = nullptr;

    // Channel design indices, the same in both plots.
    static constexpr int ChAscent = 0, ChDescent = 1;

    void LoadPlotData(Q5& q) override;
    void ApplyShowAll(bool flag);
    // Speed axis from 0 to a rounded end (at most 500), direction 0..360,
    // heights fitted to the direction plot's visible data.
    void FitWindAxes();
    void prepareAndShow();
    void finishImport(const QString& flightName);

    void FormShow();
    void FormResize();

    // Coupling of the two plots.
    void windDirPlotYAxisMinSpanChange(int index, double oldMin, double oldSpan, double newMin, double newSpan);
    void windSpdPlotYAxisMinSpanChange(int index, double oldMin, double oldSpan, double newMin, double newSpan);
    void windSpdPlotXAxisMinSpanChange(int index, double oldMin, double oldSpan, double newMin, double newSpan);
    void windDirPlotToolBarButtonClick(int index, lumo::ToolBarButton buttonType);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showDescent(bool flag);
    Q5& q5_;
};

} // namespace lumo
