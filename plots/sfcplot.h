#pragma once

// Surface plot window. What the main window may call:
//   sfcPlot (XYPlot*): SetTitleText, GetXAxis(0)/GetYAxis(0)->ZoomToFit() ...
//   cbxP, cbxT, cbxU, cbxVb, cbxTi, cbxTp, cbxTu, cbxO3pp, cbxIcell, cbxTpmp,
//   cbxIpmp, cbxVbat (QCheckBox*), osNumber (QLineEdit*), btnPrev, btnNext
//   (TmyButton*) — inherited from SondePlotFrm;
//   LoadPlotData(q5) — refill (the window is a PlotSink: add it to
//   q5.plotSinks; it takes itself out again when destroyed);
//   prepareAndShow() — the Plot > Surface command's work on this window;
//   clearForImport() / finishImport(flightName) — the import's steps on this
//   window; FormShow(), FormResize().

#include "sondeplotfrm.h"

namespace lumo {

// The surface records (before the separator line) against time: radiosonde
// quantities and, per ozonesonde, its five quantities.
class TsfcPlotFrm : public SondePlotFrm {
    Q_OBJECT
public:
    explicit TsfcPlotFrm(Q5& q5, QWidget* parent = nullptr);

    XYPlot* sfcPlot = nullptr;

    // Channel design indices.
    static constexpr int ChP = 0, ChT = 1, ChU = 2, ChVb = 3, ChTi = 4, ChTp = 5, ChTu = 6;
    static constexpr int o3ChannelIndex(int sonde, int quantity) { return 7 + 5 * (sonde - 1) + quantity; }

    void LoadPlotData(Q5& q) override;
    // Title "Surface Data - <flightName>", boxes, then zoom X and Y to fit.
    void finishImport(const QString& flightName) override;

protected:
    int rsChannel(int box) const override { return box; }
    int o3Channel(int sonde, int quantity) const override { return o3ChannelIndex(sonde, quantity); }
    void showQuantity(int channel, bool on) override;
    void designRanges() override;
    PlotAxis* valueAxis() const override;
};

} // namespace lumo
