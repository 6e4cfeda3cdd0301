#pragma once

// Profile window, the view published ozonesonde profiles use: ozone partial
// pressure (mPa) of each ozonesonde against a logarithmic pressure axis
// (1000 hPa at the bottom, the burst at the top) with heights on a second
// scale, temperature on its own axis along the top and, when asked for, the
// ozone mixing ratio on a second axis below. Ascent only unless "Descent" is
// checked. What the main window may call:
//   profilePlot (XYPlot*); LoadPlotData(q5) (a PlotSink); fitProfileAxes();
//   prepareAndShow() (Plot > Profile); clearForImport() /
//   finishImport(flightName) (the import's steps).
//
// Optional layers: each check box of gbxShow shows or hides a set of
// channels (ascent channels; the descent channel of each follows at the next
// index and shows with "Descent"). A further layer adds its channels in the
// design (constructor), its box with addLayerBox, and fills its channels in
// LoadPlotData; the fit and the legend take it into account by themselves.

#include <QWidget>

#include <vector>

#include "flight/plotsink.h"
#include "plottypes.h"

class QCheckBox;
class QGroupBox;

namespace lumo {

class Q5;
class XYPlot;

class TprofilePlotFrm : public QWidget, public PlotSink {
    Q_OBJECT
public:
    explicit TprofilePlotFrm(Q5& q5, QWidget* parent = nullptr);
    ~TprofilePlotFrm() override;

    XYPlot* profilePlot = nullptr;
    QGroupBox* gbxShow = nullptr;
    QCheckBox* cbxTemp = nullptr;    // temperature, checked at start
    QCheckBox* cbxMixRatio = nullptr; // ozone mixing ratio
    QCheckBox* cbxDescent = nullptr;  // the descent beside the ascent
    QCheckBox* cbxUncertainty = nullptr; // the 1-sigma band of the partial pressures
    QCheckBox* cbxTropopause = nullptr;  // a line at each tropopause
    QCheckBox* cbxClassic = nullptr;     // the classic profiles beside the standard method's

    // Channel design indices (ascent; the descent channel is the next one).
    static constexpr int o3Channel(int sonde) { return 4 * (sonde - 1); }
    static constexpr int mixRatioChannel(int sonde) { return 4 * (sonde - 1) + 2; }
    static constexpr int ChTemp = 16;
    // The band's lower and upper edge of each ozonesonde, then the two
    // tropopause lines (each with its unused descent partner).
    static constexpr int bandLowChannel(int sonde) { return 18 + 4 * (sonde - 1); }
    static constexpr int bandHighChannel(int sonde) { return 18 + 4 * (sonde - 1) + 2; }
    static constexpr int ChTropopause = 34;
    // Each ozonesonde's partial pressure by the classic equation.
    static constexpr int classicChannel(int sonde) { return 38 + 2 * (sonde - 1); }
    // X axes: ozone (bottom), temperature (top), mixing ratio (below ozone).
    static constexpr int AxOzone = 0, AxTemp = 1, AxMixRatio = 2;

    void LoadPlotData(Q5& q) override;
    // Pressure from the greater of 1000 hPa and the highest pressure shown
    // (rounded up to 50 hPa) down to the lowest shown; ozone and mixing
    // ratio from 0, temperature in whole tens; each to rounded ends.
    void fitProfileAxes();
    void prepareAndShow();
    void clearForImport();
    // Title "Ozone Profile - <flightName>" and a fit.
    void finishImport(const QString& flightName);

    // Adds a check box for an optional layer to gbxShow; checking it shows
    // the channels (and their descent channels with "Descent").
    QCheckBox* addLayerBox(const QString& caption, const QString& hint, std::vector<int> ascentChannels, bool checked);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Layer {
        QCheckBox* box;
        std::vector<int> channels;
    };
    // Shows each channel that holds points and whose layer box is checked.
    void applyVisibility();

    Q5& q5_;
    std::vector<Layer> layers_;
};

} // namespace lumo
