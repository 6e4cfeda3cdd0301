#include "profileplot.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <limits>

#include "flight/q5.h"
#include "outersize.h"
#include "profiledata.h"
#include "xyplot.h"

namespace lumo {

namespace {

// The boxes' captions are longer than the other plot windows' ones.
constexpr int PlotLeft = 92;
constexpr int GroupWidth = 89;
constexpr int BoxTop = 16, BoxStep = 16, BoxWidth = 80, BoxHeight = 17;
constexpr double StandardBottom = 1000;  // hPa
constexpr double BottomRounding = 50;    // hPa
constexpr double TopMargin = 1.1;        // the top pressure is divided by this
constexpr double DesignTop = 5;          // hPa, until a flight is shown

// One colour per ozonesonde, told apart at a glance and in print.
constexpr QRgb SondeColours[MaxSondes] = {0xD00000, 0x0050E0, 0x009000, 0xE08000};
constexpr QRgb TempColour = 0x404040;

// The least 1-2-5 step that divides `span` into at most `most` parts.
double niceStep(double span, int most)
{
    if (!(span > 0))
        return 1;
    const double base = std::pow(10.0, std::floor(std::log10(span / most)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (span / (base * f) <= most)
            return base * f;
    return base * 10;
}

struct Extent {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool found() const { return lo <= hi; }
};

void designAxis(PlotAxis& axis, const QString& title, double min, double span, int decimals)
{
    axis.SetTitle(title);
    axis.setDesignRange(min, span);
    axis.setLabelDecimals(decimals);
    axis.setTrackingMargins(0, 0);
}

} // namespace

TprofilePlotFrm::TprofilePlotFrm(Q5& q5, QWidget* parent) : QWidget(parent, Qt::Window), q5_(q5)
{
    setWindowTitle(tr("Profile"));
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    profilePlot = new XYPlot(this);
    XYPlot& plot = *profilePlot;
    plot.setPrintDocument(tr("Ozone Profile"), QPageLayout::Portrait);
    plot.setLegendOneColumn(true);
    for (ToolBarButton b : {ToolBarButton::Pause, ToolBarButton::Cursor, ToolBarButton::Preview})
        plot.setButtonVisible(b, false);
    plot.setButtonVisible(ToolBarButton::Select, true);

    designAxis(*plot.GetXAxis(0), tr("Ozone partial pressure (mPa)"), 0, 20, 0);
    designAxis(plot.AddXAxis(QStringLiteral("T-Axis"), true), tr("Temperature (\u00B0C)"), -80, 120, 0);
    PlotAxis& mr = plot.AddXAxis(QStringLiteral("MR-Axis"), false);
    designAxis(mr, tr("Ozone mixing ratio (ppmv)"), 0, 10, 1);
    mr.SetVisible(false);
    PlotAxis& p = *plot.GetYAxis(0);
    designAxis(p, tr("Pressure (hPa)"), DesignTop, StandardBottom - DesignTop, 0);
    p.setLogarithmic(true);
    p.setReversed(true);
    p.setScrollLimits(0.1, 1100);

    for (int n = 1; n <= MaxSondes; ++n) {
        const QColor colour(SondeColours[n - 1]);
        const QString o3 = QStringLiteral("O3 %1").arg(n);
        const QString mix = QStringLiteral("MR %1").arg(n);
        plot.AddChannel(o3, colour, 110 + n);
        plot.AddChannel(o3 + tr(" descent"), colour.darker(140), 110 + n, LineStyle::Dash);
        plot.AddChannel(mix, colour, 105 + n, LineStyle::Dot).SetXAxisName(QStringLiteral("MR-Axis"));
        plot.AddChannel(mix + tr(" descent"), colour.darker(140), 105 + n, LineStyle::DashDot)
            .SetXAxisName(QStringLiteral("MR-Axis"));
    }
    plot.AddChannel(tr("T"), QColor(TempColour), 100).SetXAxisName(QStringLiteral("T-Axis"));
    plot.AddChannel(tr("T descent"), QColor(TempColour).lighter(200), 100, LineStyle::Dash)
        .SetXAxisName(QStringLiteral("T-Axis"));
    for (int n = 1; n <= MaxSondes; ++n) {
        const QColor colour = QColor(SondeColours[n - 1]).lighter(150);
        for (const QString& edge : {QStringLiteral("-"), QStringLiteral("+")}) {
            const QString name = QStringLiteral("O3 %1 %2 1\u03c3").arg(n).arg(edge);
            plot.AddChannel(name, colour, 90 + n, LineStyle::Dot);
            plot.AddChannel(name + tr(" descent"), colour.darker(140), 90 + n, LineStyle::Dot);
        }
    }
    for (const QString& name : {tr("Tropopause"), tr("Tropopause 2")}) {
        plot.AddChannel(name, QColor(0x8000A0), 80, LineStyle::Dash);
        plot.AddChannel(name + tr(" descent"), QColor(0x8000A0), 80, LineStyle::Dash);
    }
    for (int n = 1; n <= MaxSondes; ++n) {
        const QColor colour = QColor(SondeColours[n - 1]).lighter(160);
        const QString name = QStringLiteral("O3 %1 classic").arg(n);
        plot.AddChannel(name, colour, 95 + n, LineStyle::Dash);
        plot.AddChannel(name + tr(" descent"), colour.darker(140), 95 + n, LineStyle::DashDot);
    }
    plot.endDesign();
    connect(&plot, &XYPlot::OnToolBarButtonClick, this, [this](int, ToolBarButton b) {
        if (b == ToolBarButton::Resume)
            fitProfileAxes();
    });

    gbxShow = new QGroupBox(tr("Show"), this);
    gbxShow->setGeometry(1, 24, GroupWidth, BoxTop + 4);
    layers_.push_back({nullptr, {o3Channel(1), o3Channel(2), o3Channel(3), o3Channel(4)}});
    cbxTemp = addLayerBox(tr("Temp"), tr("Air temperature (\u00B0C), on the axis along the top"), {ChTemp}, true);
    cbxMixRatio = addLayerBox(tr("Mix ratio"), tr("Ozone mixing ratio (ppmv), on a second axis below"),
        {mixRatioChannel(1), mixRatioChannel(2), mixRatioChannel(3), mixRatioChannel(4)}, false);
    connect(cbxMixRatio, &QCheckBox::toggled, this, [this](bool on) {
        profilePlot->GetXAxis(AxMixRatio)->SetVisible(on);
    });
    cbxDescent = addLayerBox(tr("Descent"), tr("Draw the descent as well as the ascent"), {}, false);
    std::vector<int> band;
    for (int n = 1; n <= MaxSondes; ++n)
        band.insert(band.end(), {bandLowChannel(n), bandHighChannel(n)});
    cbxUncertainty = addLayerBox(tr("1\u03c3 band"), tr("One-sigma uncertainty band of the ozone partial pressure"), band, false);
    cbxTropopause = addLayerBox(tr("Tropopause"), tr("WMO lapse-rate tropopause(s) of the ascent"),
        {ChTropopause, ChTropopause + 2}, false);
    cbxClassic = addLayerBox(QStringLiteral("Classic"),
        tr("The classic equation's profile of each ozonesonde beside the standard method's (standard method runs only)"),
        {classicChannel(1), classicChannel(2), classicChannel(3), classicChannel(4)}, false);

    OuterSize::apply(*this, QSize(600, 700));
}

TprofilePlotFrm::~TprofilePlotFrm()
{
    auto& sinks = q5_.plotSinks;
    sinks.erase(std::remove(sinks.begin(), sinks.end(), static_cast<PlotSink*>(this)), sinks.end());
}

QCheckBox* TprofilePlotFrm::addLayerBox(const QString& caption, const QString& hint, std::vector<int> ascentChannels,
    bool checked)
{
    const int boxes = static_cast<int>(std::count_if(layers_.begin(), layers_.end(), [](const Layer& l) { return l.box; }));
    auto* box = new QCheckBox(caption, gbxShow);
    // As wide as the caption needs within the group ("Tropopause" whole).
    box->setGeometry(6, BoxTop + BoxStep * boxes, std::clamp(box->sizeHint().width(), BoxWidth, GroupWidth - 7), BoxHeight);
    box->setToolTip(hint);
    box->setChecked(checked);
    box->show();
    gbxShow->resize(gbxShow->width(), BoxTop + BoxStep * (boxes + 1) + 6);
    layers_.push_back({box, std::move(ascentChannels)});
    connect(box, &QCheckBox::toggled, this, [this] {
        applyVisibility();
        fitProfileAxes();
    });
    return box;
}

void TprofilePlotFrm::applyVisibility()
{
    const bool descent = cbxDescent && cbxDescent->isChecked();
    for (const Layer& layer : layers_) {
        const bool on = !layer.box || layer.box->isChecked();
        for (int c : layer.channels)
            for (int d : {0, 1}) {
                PlotChannel* channel = profilePlot->GetChannel(c + d);
                const bool shown = on && (d == 0 || descent) && channel->count() > 0;
                channel->SetVisible(shown);
                channel->SetVisibleInLegend(shown);
            }
    }
}

void TprofilePlotFrm::LoadPlotData(Q5& q)
{
    XYPlot& plot = *profilePlot;
    plot.ClearAllData();
    const ProfileData data = collectProfile(q);
    auto fill = [&plot](int channel, const ProfileSeries& series) {
        for (const ProfilePoint& pt : series.ascent)
            plot.GetChannel(channel)->AddXY(pt.value, pt.p);
        for (const ProfilePoint& pt : series.descent)
            plot.GetChannel(channel + 1)->AddXY(pt.value, pt.p);
    };
    for (int n = 1; n <= MaxSondes; ++n) {
        fill(o3Channel(n), data.ozone[static_cast<std::size_t>(n - 1)]);
        fill(mixRatioChannel(n), data.mixingRatio[static_cast<std::size_t>(n - 1)]);
    }
    fill(ChTemp, data.temperature);
    double o3Max = 0;
    for (int n = 1; n <= MaxSondes; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        fill(bandLowChannel(n), data.ozoneLow[i]);
        fill(bandHighChannel(n), data.ozoneHigh[i]);
        fill(classicChannel(n), data.ozoneClassic[i]);
        for (const ProfilePoint& pt : data.ozone[i].ascent)
            o3Max = std::max(o3Max, pt.value);
    }
    // Across the ozone axis as far as the ozone goes, so the line never widens the fit.
    for (std::size_t t = 0; t < data.tropopauses.size() && o3Max > 0; ++t) {
        PlotChannel* line = plot.GetChannel(ChTropopause + 2 * static_cast<int>(t));
        line->AddXY(0, data.tropopauses[t]);
        line->AddXY(o3Max, data.tropopauses[t]);
    }

    QVector<double> ticks;
    QVector<QString> labels;
    for (const HeightMark& m : data.heights) {
        ticks << m.p;
        labels << QString::number(m.km, 'g', 6);
    }
    plot.setMirrorYAxis(tr("Height (km)"), ticks, labels);
    applyVisibility();
    fitProfileAxes();
}

void TprofilePlotFrm::fitProfileAxes()
{
    XYPlot& plot = *profilePlot;
    Extent x[3], p;
    for (int i = 0; i < plot.channelCount(); ++i) {
        const PlotChannel& c = *plot.GetChannel(i);
        if (!c.Visible() || c.count() == 0)
            continue;
        const PlotAxis* axis = c.boundXAxis();
        const int a = axis ? axis->index() : 0;
        x[a].lo = std::min(x[a].lo, c.xMin());
        x[a].hi = std::max(x[a].hi, c.xMax());
        p.lo = std::min(p.lo, c.yMin());
        p.hi = std::max(p.hi, c.yMax());
    }
    if (p.found()) {
        const double bottom = std::max(StandardBottom, std::ceil(p.hi / BottomRounding) * BottomRounding);
        const double top = p.lo / TopMargin;
        plot.GetYAxis(0)->setRange(top, bottom - top);
    }
    // Ozone and mixing ratio from 0 (or a rounded negative value), the
    // temperature to whole tens.
    for (int a : {AxOzone, AxMixRatio}) {
        if (!x[a].found())
            continue;
        const double step = niceStep(std::max(x[a].hi, 0.0) - std::min(x[a].lo, 0.0), 8);
        const double lo = std::min(0.0, std::floor(x[a].lo / step) * step);
        const double hi = std::max(lo + step, std::ceil(x[a].hi * 1.02 / step) * step);
        plot.GetXAxis(a)->SetDesiredIncrement(step);
        plot.GetXAxis(a)->setRange(lo, hi - lo);
    }
    if (x[AxTemp].found()) {
        // A few per cent of room on both sides: the curve never runs along
        // the axis lines.
        const double room = 0.03 * std::max(x[AxTemp].hi - x[AxTemp].lo, 10.0);
        const double lo = std::floor((x[AxTemp].lo - room) / 10) * 10;
        const double hi = std::max(lo + 10, std::ceil((x[AxTemp].hi + room) / 10) * 10);
        plot.GetXAxis(AxTemp)->SetDesiredIncrement(niceStep(hi - lo, 8));
        plot.GetXAxis(AxTemp)->setRange(lo, hi - lo);
    }
}

void TprofilePlotFrm::prepareAndShow()
{
    fitProfileAxes();
    show();
    raise();
    activateWindow();
}

void TprofilePlotFrm::clearForImport()
{
    profilePlot->SetTitleText(QString());
}

void TprofilePlotFrm::finishImport(const QString& flightName)
{
    profilePlot->SetTitleText(tr("Ozone Profile - %1").arg(flightName));
    fitProfileAxes();
}

void TprofilePlotFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QRect client = rect();
    profilePlot->setGeometry(client.left() + PlotLeft, client.top(), client.width() - PlotLeft, client.height());
}

} // namespace lumo
