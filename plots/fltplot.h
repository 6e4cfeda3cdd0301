#pragma once

// Flight plot window. What the main window may call:
//   fltPlot (XYPlot*): SetTitleText, GetXAxis(0)/GetYAxis(0)->ZoomToFit() ...
//   cbxP ... cbxTu, cbxARate, cbxO3pp ... cbxVbat (QCheckBox*), osNumber
//   (QLineEdit*), btnPrev, btnNext (TmyButton*) — inherited from SondePlotFrm;
//   LoadPlotData(q5) — refill (a PlotSink: add it to q5.plotSinks; it takes
//   itself out again when destroyed);
//   ApplyShowAll(flag) — "Show all data" changed, and at the end of import;
//   prepareAndShow() — the Plot > Flight command's work on this window;
//   clearForImport() / finishImport(flightName) — the import's steps on this
//   window (finishImport ends with ApplyShowAll(q5.showAll));
//   FormShow(), FormResize().
// The window reads q5.showAll when a box is clicked.

#include "sondeplotfrm.h"

namespace lumo {

// The flight profiles against height, each quantity as an ascent channel
// (up to and including the burst record) and a descent channel.
class TfltPlotFrm : public SondePlotFrm {
    Q_OBJECT
public:
    explicit TfltPlotFrm(Q5& q5, QWidget* parent = nullptr);

    XYPlot* fltPlot = nullptr;

    // Ascent channel design indices; the descent channel follows directly.
    static constexpr int ChP = 0, ChT = 2, ChU = 4, ChVb = 6, ChTi = 8, ChTp = 10, ChTu = 12, ChARate = 14;
    static constexpr int o3ChannelIndex(int sonde, int quantity) { return 16 + 10 * (sonde - 1) + 2 * quantity; }
    // The 1-sigma band of ozonesonde n's partial pressure (lower and upper
    // edge) and the two tropopause lines, each with its descent partner.
    static constexpr int bandLowIndex(int sonde) { return 56 + 4 * (sonde - 1); }
    static constexpr int bandHighIndex(int sonde) { return 56 + 4 * (sonde - 1) + 2; }
    static constexpr int ChTropopause = 72;
    static constexpr int PairCount = 38;

    QCheckBox* cbxUncertainty = nullptr; // band of the selected ozonesonde's O3pp
    QCheckBox* cbxTropopause = nullptr;

    void LoadPlotData(Q5& q) override;
    // Descent channels follow their ascent channel (true) or are all hidden
    // (false); then zoom X and Y to fit.
    void ApplyShowAll(bool flag);
    // Title "Flight Data - <flightName>", boxes, then ApplyShowAll(showAll).
    void finishImport(const QString& flightName) override;

    void cbxARateClick() { rsBoxClick(7); }
    // Shows the band of the ozonesonde selected and the tropopause lines as
    // their boxes say.
    void showExtras();

protected:
    int rsChannel(int box) const override { return 2 * box; }
    int o3Channel(int sonde, int quantity) const override { return o3ChannelIndex(sonde, quantity); }
    void showQuantity(int channel, bool on) override;
    void designRanges() override;
    PlotAxis* valueAxis() const override;
};

} // namespace lumo
