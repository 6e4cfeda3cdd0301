#pragma once

#include <QWidget>

#include <array>
#include <vector>

#include "flight/plotsink.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace lumo {

class PlotAxis;
class Q5;
class SondeSelector;
class TmyButton;
class XYPlot;

// What the surface and flight plot windows share: the radiosonde and ozone
// check boxes, each showing one quantity, and the ozonesonde selector (arrow
// buttons around the read-only number box) through which the five ozone
// boxes act on one ozonesonde at a time. A derived window maps boxes to its
// channels and fills the plot.
//
// Check boxes changed from code behave as if clicked: their handler runs on
// every change of state (and not when set to the state they already have).
class SondePlotFrm : public QWidget, public PlotSink {
    Q_OBJECT
public:
    ~SondePlotFrm() override;

    // Radiosonde group; cbxARate exists in the flight window only.
    QGroupBox* gbxRS = nullptr;
    QCheckBox* cbxP = nullptr;
    QCheckBox* cbxT = nullptr;
    QCheckBox* cbxU = nullptr;
    QCheckBox* cbxVb = nullptr;
    QCheckBox* cbxTi = nullptr;
    QCheckBox* cbxTp = nullptr;
    QCheckBox* cbxTu = nullptr;
    QCheckBox* cbxARate = nullptr;
    // Ozone group and the ozonesonde selector.
    QGroupBox* gbxO3 = nullptr;
    QCheckBox* cbxO3pp = nullptr;
    QCheckBox* cbxIcell = nullptr;
    QCheckBox* cbxTpmp = nullptr;
    QCheckBox* cbxIpmp = nullptr;
    QCheckBox* cbxVbat = nullptr;
    TmyButton* btnPrev = nullptr;
    QLineEdit* osNumber = nullptr;
    TmyButton* btnNext = nullptr;

    XYPlot* plot() const { return plot_; }

    // Current ozonesonde number from osNumber (0 when not a number).
    int currentSonde() const;

    // Plot menu command: enables or disables and unchecks the boxes the
    // instruments do not support, sets the design ranges when no box is
    // checked or fast-fits both axes otherwise, and shows the window.
    void prepareAndShow();
    // Before an import reads its files: empty title, cbxP/Ti/Tp/Tu disabled,
    // selector back at ozonesonde 1.
    void clearForImport();
    // After an import has read both files: title "<prefix> - <flightName>",
    // cbxP enabled with a pressure sensor, cbxTi/Tp/Tu enabled with extended
    // PTU packets and unchecked; then the window's own refit.
    virtual void finishImport(const QString& flightName) = 0;

    // When shown: zoom to fit X, then Y.
    void FormShow();
    // Plot right of the boxes, filling the rest of the client area.
    void FormResize();

    void btnPrevClick();
    void btnNextClick();

    // Check box handlers: run on every change of the box's state.
    void cbxPClick() { rsBoxClick(0); }
    void cbxTClick() { rsBoxClick(1); }
    void cbxUClick() { rsBoxClick(2); }
    void cbxVbClick() { rsBoxClick(3); }
    void cbxTiClick() { rsBoxClick(4); }
    void cbxTpClick() { rsBoxClick(5); }
    void cbxTuClick() { rsBoxClick(6); }
    void cbxO3ppClick() { o3BoxClick(0); }
    void cbxIcellClick() { o3BoxClick(1); }
    void cbxTpmpClick() { o3BoxClick(2); }
    void cbxIpmpClick() { o3BoxClick(3); }
    void cbxVbatClick() { o3BoxClick(4); }

protected:
    // The radiosonde group is rsHeight high; the ozone group starts below it.
    SondePlotFrm(Q5& q5, QWidget* parent, bool withAscentRate, int rsHeight, int o3Top);

    // Box order: P T U Vb Ti Tp Tu [ARate], then O3pp Icell Tpmp Ipmp Vbat.
    const std::vector<QCheckBox*>& rsBoxes() const { return rsBoxes_; }
    const std::array<QCheckBox*, 5>& o3Boxes() const { return o3Boxes_; }

    // Design index of the (ascent) channel of radiosonde box i and of
    // ozone quantity k (0..4) of ozonesonde n (1..4).
    virtual int rsChannel(int box) const = 0;
    virtual int o3Channel(int sonde, int quantity) const = 0;
    // Shows or hides the quantity whose (ascent) channel is given.
    virtual void showQuantity(int channel, bool on) = 0;
    // Ranges set by the menu command when no box is checked.
    virtual void designRanges() = 0;
    // The axis the quantities' values lie along.
    virtual PlotAxis* valueAxis() const = 0;
    void titleValueAxis();

    void finishImportBoxes();
    void zoomBoth();

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    Q5& q5_;
    XYPlot* plot_ = nullptr;

    void rsBoxClick(int box);
    void o3BoxClick(int quantity);

private:
    void showSonde(int n);

    SondeSelector* selector_ = nullptr;
    std::vector<QCheckBox*> rsBoxes_;
    std::array<QCheckBox*, 5> o3Boxes_{};
};

} // namespace lumo
