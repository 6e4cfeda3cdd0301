#include "fltplot.h"

#include <algorithm>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

#include "flight/q5.h"
#include "processing/uncertainty.h"
#include "outersize.h"
#include "xyplot.h"

namespace lumo {

namespace {

constexpr double Km = 0.001; // metres to kilometres

// A height in km; an unknown height stays unknown, so the plot leaves it out.
double km(double metres) { return metres == Missing ? Missing : metres * Km; }
constexpr double SecondsPerMinute = 60;

struct PairDesign {
    const char* name;
    QRgb ascent, descent;
    int ascentLayer, descentLayer;
};

constexpr PairDesign RsPairs[] = {
    {"P", 0xFF8080, 0x804040, 95, 96},
    {"T", 0x00C800, 0x008000, 95, 96},
    {"U", 0x8080FF, 0x0080FF, 95, 96},
    {"Vb", 0xFF80C0, 0x800080, 95, 96},
    {"Ti", 0x00FF00, 0x808000, 95, 96},
    {"Tp", 0xFF00FF, 0x800080, 95, 96},
    {"Tu", 0xFFAD5B, 0xFF661C, 95, 96},
    {"ARate", 0x808080, 0x408080, 96, 96},
};

struct QuantityDesign {
    const char* name;
    QRgb ascent, descent;
};

constexpr QuantityDesign O3Quantities[] = {
    {"O3pp", 0xFF0000, 0x804040},
    {"Icell", 0x0000FF, 0x000080},
    {"Tpmp", 0x00A000, 0x006400},
    {"Ipmp", 0xFFFF00, 0xC8C800},
    {"Vbat", 0xFF0080, 0x800040},
};

constexpr LineStyle SondeStyles[] = {LineStyle::Solid, LineStyle::Dash, LineStyle::Dot, LineStyle::DashDot};
constexpr int SondeLayers[] = {100, 105, 110, 115}; // ascent; descent one above

} // namespace

TfltPlotFrm::TfltPlotFrm(Q5& q5, QWidget* parent) : SondePlotFrm(q5, parent, true, 149, 180)
{
    setWindowTitle(tr("Flight"));

    fltPlot = plot_ = new XYPlot(this);
    fltPlot->setPrintDocument(tr("Flight Plot"), QPageLayout::Portrait);
    fltPlot->setButtonVisible(ToolBarButton::Resume, false);
    fltPlot->setButtonVisible(ToolBarButton::Pause, false);
    fltPlot->setButtonVisible(ToolBarButton::Select, true);
    fltPlot->setButtonVisible(ToolBarButton::Cursor, false);
    fltPlot->setButtonVisible(ToolBarButton::Preview, false);

    PlotAxis* x = fltPlot->GetXAxis(0);
    x->SetTitleShow(false);
    x->setDesignRange(0, 100);
    x->SetDesiredIncrement(0.1);
    x->setLabelDecimals(2);
    x->setTrackingMargins(0.5, 0.5);
    PlotAxis* y = fltPlot->GetYAxis(0);
    y->SetTitle(tr("Height (Km)"));
    y->setDesignRange(0, 40);
    y->SetDesiredIncrement(2);
    y->setLabelDecimals(2);
    y->setTrackingMargins(0.5, 0.5);

    for (const PairDesign& p : RsPairs) {
        fltPlot->AddChannel(QStringLiteral("%1(A)").arg(QLatin1String(p.name)), QColor(p.ascent), p.ascentLayer);
        fltPlot->AddChannel(QStringLiteral("%1(D)").arg(QLatin1String(p.name)), QColor(p.descent), p.descentLayer);
    }
    for (int n = 1; n <= MaxSondes; ++n) {
        for (const QuantityDesign& q : O3Quantities) {
            const QString name = QStringLiteral("%1.%2").arg(QLatin1String(q.name)).arg(n);
            fltPlot->AddChannel(name + QStringLiteral("(A)"), QColor(q.ascent), SondeLayers[n - 1], SondeStyles[n - 1]);
            fltPlot->AddChannel(name + QStringLiteral("(D)"), QColor(q.descent), SondeLayers[n - 1] + 1,
                SondeStyles[n - 1]);
        }
    }
    for (int n = 1; n <= MaxSondes; ++n)
        for (const char* edge : {"-", "+"})
            for (const char* part : {"(A)", "(D)"})
                fltPlot->AddChannel(QStringLiteral("O3pp.%1 %2 1\u03c3%3").arg(n).arg(QLatin1String(edge)).arg(QLatin1String(part)),
                    QColor(0xFF9090), SondeLayers[n - 1] - 1, LineStyle::Dot);
    for (const char* name : {"Trop(A)", "Trop(D)", "Trop2(A)", "Trop2(D)"})
        fltPlot->AddChannel(QLatin1String(name), QColor(0x8000A0), 90, LineStyle::Dash);
    fltPlot->endDesign();

    auto* gbxExtra = new QGroupBox(tr("Show"), this);
    gbxExtra->setGeometry(1, 316, 72, 54);
    cbxUncertainty = new QCheckBox(tr("1\u03c3"), gbxExtra);
    cbxUncertainty->setGeometry(12, 16, 58, 17);
    cbxUncertainty->setToolTip(tr("One-sigma uncertainty band of the selected ozonesonde's partial pressure"));
    cbxTropopause = new QCheckBox(tr("Trop"), gbxExtra);
    cbxTropopause->setGeometry(12, 32, 58, 17);
    cbxTropopause->setToolTip(tr("WMO lapse-rate tropopause(s) of the ascent"));
    for (QCheckBox* box : {cbxUncertainty, cbxTropopause})
        connect(box, &QCheckBox::toggled, this, [this] { showExtras(); });
    connect(osNumber, &QLineEdit::textChanged, this, [this] { showExtras(); });

    OuterSize::apply(*this, QSize(600, 600));
}

void TfltPlotFrm::LoadPlotData(Q5& q)
{
    XYPlot& plot = *fltPlot;
    plot.ClearAllData();
    const bool gps = q.rsGpsInst != 0;
    // Without a burst record the whole flight counts as ascent.
    const RawRecord* burst = q.burstRec;

    bool descent = false;
    for (const RawRecord& r : q.fltRecs) {
        if (!descent && burst && r.time > burst->time)
            descent = true;
        const int d = descent ? 1 : 0; // offset of the descent channel of a pair
        auto add = [&](int ascentChannel, double x, double y) { plot.GetChannel(ascentChannel + d)->AddXY(x, y); };

        if (r.isPtu()) {
            const PtuData& p = r.data.ptu;
            const double h = km(gps ? p.gpsAlt : p.hgt);
            add(ChP, p.p - q.sfcCorrP, h);
            add(ChT, p.t - q.sfcCorrT, h);
            add(ChU, p.u - q.sfcCorrU, h);
            add(ChVb, p.vbat, h);
            if (!gps)
                add(ChARate, p.rate * SecondsPerMinute, h);
            if (r.type == TypePtuExt) {
                add(ChTi, p.tint, h);
                add(ChTp, p.tpr, h);
                add(ChTu, p.tu, h);
            }
        } else if (r.isGps()) {
            if (gps)
                add(ChARate, r.data.gps.gpsRate * SecondsPerMinute, r.data.gps.alt * Km);
        } else if (r.isOzone() && r.o3Slot() >= 0) {
            const O3Data& o = r.data.o3;
            const int n = r.o3Slot() + 1;
            const double h = km(gps ? o.gpsAlt : o.hgt);
            add(o3ChannelIndex(n, 0), o.o3pp, h);
            add(o3ChannelIndex(n, 1), o.ic, h);
            add(o3ChannelIndex(n, 2), o.tp, h);
            add(o3ChannelIndex(n, 3), o.ip, h);
            add(o3ChannelIndex(n, 4), o.o3Bat, h);
            const double dp = o3ppUncertainty(q, r);
            if (dp != Missing) {
                add(bandLowIndex(n), o.o3pp - dp, h);
                add(bandHighIndex(n), o.o3pp + dp, h);
            }
        }
    }
    // Across the ozone partial pressures, so the line never widens the fit.
    double o3Max = 0;
    for (int n = 1; n <= MaxSondes; ++n)
        if (plot.GetChannel(o3ChannelIndex(n, 0))->count() > 0)
            o3Max = std::max(o3Max, plot.GetChannel(o3ChannelIndex(n, 0))->xMax());
    const Tropopause* trops[] = {&q.tropopause, &q.tropopause2};
    for (int t = 0; t < 2 && o3Max > 0; ++t)
        if (trops[t]->found()) {
            PlotChannel* line = plot.GetChannel(ChTropopause + 2 * t);
            line->AddXY(0, trops[t]->height * Km);
            line->AddXY(o3Max, trops[t]->height * Km);
        }
    showExtras();
    plot.replot();
}

void TfltPlotFrm::showExtras()
{
    const int sonde = currentSonde();
    for (int n = 1; n <= MaxSondes; ++n)
        for (int c : {bandLowIndex(n), bandHighIndex(n)})
            showQuantity(c, cbxUncertainty->isChecked() && n == sonde && fltPlot->GetChannel(c)->count() > 0);
    for (int c : {ChTropopause, ChTropopause + 2})
        showQuantity(c, cbxTropopause->isChecked() && fltPlot->GetChannel(c)->count() > 0);
    fltPlot->replot();
}

void TfltPlotFrm::showQuantity(int channel, bool on)
{
    PlotChannel* ascent = fltPlot->GetChannel(channel);
    PlotChannel* descentChannel = fltPlot->GetChannel(channel + 1);
    if (on) {
        ascent->SetVisible(true);
        ascent->SetVisibleInLegend(true);
        if (q5_.showAll) {
            descentChannel->SetVisible(true);
            descentChannel->SetVisibleInLegend(true);
        }
    } else {
        for (PlotChannel* c : {ascent, descentChannel}) {
            c->SetVisible(false);
            c->SetVisibleInLegend(false);
        }
    }
}

void TfltPlotFrm::ApplyShowAll(bool flag)
{
    for (int i = 0; i < PairCount; ++i) {
        PlotChannel* ascent = fltPlot->GetChannel(2 * i);
        PlotChannel* descentChannel = fltPlot->GetChannel(2 * i + 1);
        if (!flag) {
            descentChannel->SetVisible(false);
            descentChannel->SetVisibleInLegend(false);
        } else if (ascent->Visible()) {
            descentChannel->SetVisible(true);
            descentChannel->SetVisibleInLegend(true);
        }
    }
    zoomBoth();
}

void TfltPlotFrm::designRanges()
{
    fltPlot->GetXAxis(0)->setRange(0, 100);
    fltPlot->GetYAxis(0)->setRange(0, 40);
}

PlotAxis* TfltPlotFrm::valueAxis() const { return fltPlot->GetXAxis(0); }

void TfltPlotFrm::finishImport(const QString& flightName)
{
    fltPlot->SetTitleText(tr("Flight Data - %1").arg(flightName));
    finishImportBoxes();
    ApplyShowAll(q5_.showAll != 0);
}

} // namespace lumo
