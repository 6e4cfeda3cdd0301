#include "sfcplot.h"

#include <QCheckBox>

#include "flight/q5.h"
#include "outersize.h"
#include "xyplot.h"

namespace lumo {

namespace {

constexpr double TenMinutes = 0.00694444444444444;  // days
constexpr double TwoMinutes = 0.00138888888888889;  // days

struct ChannelDesign {
    const char* name;
    QRgb colour;
};

constexpr ChannelDesign RsChannels[] = {
    {"P", 0xFF8080}, {"T", 0x00C800}, {"U", 0x8080FF}, {"Vb", 0xFF80C0},
    {"Ti", 0x00FF00}, {"Tp", 0xFF00FF}, {"Tu", 0xFF8040},
};

constexpr ChannelDesign O3Quantities[] = {
    {"O3pp", 0xFF0000}, {"Icell", 0x0000FF}, {"Tpmp", 0x00A000}, {"Ipmp", 0xFFFF00}, {"Vbat", 0xFF0080},
};

// Per ozonesonde 1..4: line style and layer tell the chain positions apart.
constexpr LineStyle SondeStyles[] = {LineStyle::Solid, LineStyle::Dash, LineStyle::Dot, LineStyle::DashDot};

} // namespace

TsfcPlotFrm::TsfcPlotFrm(Q5& q5, QWidget* parent) : SondePlotFrm(q5, parent, false, 133, 164)
{
    setWindowTitle(tr("Surface"));

    sfcPlot = plot_ = new XYPlot(this);
    sfcPlot->setPrintDocument(tr("Surface Plot"), QPageLayout::Landscape);
    sfcPlot->setButtonVisible(ToolBarButton::Resume, false);
    sfcPlot->setButtonVisible(ToolBarButton::Pause, false);
    sfcPlot->setButtonVisible(ToolBarButton::Select, true);
    sfcPlot->setButtonVisible(ToolBarButton::Cursor, false);
    sfcPlot->setButtonVisible(ToolBarButton::Preview, false);

    PlotAxis* x = sfcPlot->GetXAxis(0);
    x->SetTitle(tr("Time"));
    x->setLabelDateTime(QStringLiteral("hh:nn:ss"));
    x->setDesignRange(0, TenMinutes);
    x->SetDesiredIncrement(TwoMinutes);
    x->setTrackingMargins(0, 0);
    PlotAxis* y = sfcPlot->GetYAxis(0);
    y->SetTitleShow(false);
    y->setDesignRange(0, 100);
    y->setLabelDecimals(2);
    y->setTrackingMargins(0.5, 0.5);

    for (const ChannelDesign& c : RsChannels)
        sfcPlot->AddChannel(QString::fromLatin1(c.name), QColor(c.colour), 100);
    for (int n = 1; n <= MaxSondes; ++n)
        for (const ChannelDesign& q : O3Quantities)
            sfcPlot->AddChannel(QStringLiteral("%1.%2").arg(QLatin1String(q.name)).arg(n), QColor(q.colour), 100 + n,
                SondeStyles[n - 1]);
    sfcPlot->endDesign();

    OuterSize::apply(*this, QSize(900, 500));
}

void TsfcPlotFrm::LoadPlotData(Q5& q)
{
    XYPlot& plot = *sfcPlot;
    plot.ClearAllData();
    PlotChannel* ch[ChTu + 1];
    for (int i = ChP; i <= ChTu; ++i)
        ch[i] = plot.GetChannel(i);

    for (const RawRecord& r : q.sfcRecs) {
        const double t = r.time;
        if (r.isPtu()) {
            const PtuData& d = r.data.ptu;
            ch[ChP]->AddXY(t, d.p - q.sfcCorrP);
            ch[ChT]->AddXY(t, d.t - q.sfcCorrT);
            ch[ChU]->AddXY(t, d.u - q.sfcCorrU);
            ch[ChVb]->AddXY(t, d.vbat);
            if (r.type == TypePtuExt) {
                ch[ChTi]->AddXY(t, d.tint);
                ch[ChTp]->AddXY(t, d.tpr);
                ch[ChTu]->AddXY(t, d.tu);
            }
        } else if (r.isOzone() && r.o3Slot() >= 0) {
            const O3Data& d = r.data.o3;
            const int n = r.o3Slot() + 1;
            plot.GetChannel(o3ChannelIndex(n, 0))->AddXY(t, d.o3pp);
            plot.GetChannel(o3ChannelIndex(n, 1))->AddXY(t, d.ic);
            plot.GetChannel(o3ChannelIndex(n, 2))->AddXY(t, d.tp);
            plot.GetChannel(o3ChannelIndex(n, 3))->AddXY(t, d.ip);
            plot.GetChannel(o3ChannelIndex(n, 4))->AddXY(t, d.o3Bat);
        }
    }
    plot.replot();
}

void TsfcPlotFrm::showQuantity(int channel, bool on)
{
    PlotChannel* c = sfcPlot->GetChannel(channel);
    c->SetVisible(on);
    c->SetVisibleInLegend(on);
}

void TsfcPlotFrm::designRanges()
{
    sfcPlot->GetXAxis(0)->setRange(0, TenMinutes);
    sfcPlot->GetYAxis(0)->setRange(0, 100);
}

PlotAxis* TsfcPlotFrm::valueAxis() const { return sfcPlot->GetYAxis(0); }

void TsfcPlotFrm::finishImport(const QString& flightName)
{
    sfcPlot->SetTitleText(tr("Surface Data - %1").arg(flightName));
    finishImportBoxes();
    zoomBoth();
}

} // namespace lumo
