#include "windplot.h"

#include <QLabel>
#include <QResizeEvent>
#include <QShowEvent>

#include <algorithm>
#include <cmath>

#include "flight/q5.h"
#include "outersize.h"
#include "xyplot.h"

namespace lumo {

namespace {

constexpr double Km = 0.001;
constexpr double MaxSpeedSpan = 500; // m/s
// All fitted speeds below about 1.95 m/s round to an empty span; show 0..5.
constexpr double LeastSpeedSpan = 5;
constexpr double HalfTurn = 180; // degrees

void designPlot(XYPlot& plot, const QString& xTitle, double xSpan, double xIncrement, int xDecimals)
{
    plot.setFrameStyle(QFrame::NoFrame);
    plot.SetTitleText(QStringLiteral(" "));
    plot.setHintsEnabled(false);
    plot.setPrintDocument(QObject::tr("Flight Plot"), QPageLayout::Portrait);
    PlotAxis* x = plot.GetXAxis(0);
    x->SetTitle(xTitle);
    x->setDesignRange(0, xSpan);
    x->SetDesiredIncrement(xIncrement);
    x->setLabelDecimals(xDecimals);
    x->setTrackingMargins(0.5, 0.5);
    PlotAxis* y = plot.GetYAxis(0);
    y->SetTitle(QObject::tr("Height (Km)"));
    y->setDesignRange(0, 40);
    y->SetDesiredIncrement(2);
    y->setLabelDecimals(2);
    y->setTrackingMargins(0.5, 0.5);
}

} // namespace

TwindPlotFrm::TwindPlotFrm(Q5& q5, QWidget* parent) : QWidget(parent, Qt::Window), q5_(q5)
{
    setWindowTitle(tr("Winds"));
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    windDirPlot = new XYPlot(this);
    windDirPlot->setGeometry(-1, 0, 300, 600);
    designPlot(*windDirPlot, tr("Direction (deg)"), 360, 90, 0);
    windDirPlot->GetXAxis(0)->setScrollLimits(0, 360);
    for (ToolBarButton b : {ToolBarButton::Pause, ToolBarButton::Select, ToolBarButton::ZoomBox,
             ToolBarButton::Cursor, ToolBarButton::Edit, ToolBarButton::Preview})
        windDirPlot->setButtonVisible(b, false);
    windDirPlot->setButtonVisible(ToolBarButton::Resume, true);
    PlotChannel& dirA = windDirPlot->AddChannel(QStringLiteral("Dir(A)"), QColor(0x0000FF), 100);
    dirA.SetVisible(true);
    windDirPlot->AddChannel(QStringLiteral("Dir(D)"), QColor(0x000080), 101);
    windDirPlot->endDesign();

    windSpdPlot = new XYPlot(this);
    windSpdPlot->setGeometry(299, 0, 300, 600);
    designPlot(*windSpdPlot, tr("Speed (m/s)"), 100, 1, 2);
    windSpdPlot->GetYAxis(0)->SetTitleShow(false);
    for (int b = 0; b < ToolBarButtonCount; ++b)
        windSpdPlot->setButtonVisible(static_cast<ToolBarButton>(b), false);
    PlotChannel& spdA = windSpdPlot->AddChannel(QStringLiteral("Spd(A)"), QColor(0xFF8080), 100);
    spdA.SetVisible(true);
    windSpdPlot->AddChannel(QStringLiteral("Spd(D)"), QColor(0x804040), 101);
    windSpdPlot->endDesign();

    lblTitle = new QLabel(tr("Wind Data"), this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(10);
    lblTitle->setFont(titleFont);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setWordWrap(false);
    lblTitle->setGeometry(268, 32, 63, 16);
    lblTitle->raise();

    connect(windDirPlot, &XYPlot::OnYAxisMinSpanChange, this, &TwindPlotFrm::windDirPlotYAxisMinSpanChange);
    connect(windDirPlot, &XYPlot::OnToolBarButtonClick, this, &TwindPlotFrm::windDirPlotToolBarButtonClick);
    connect(windSpdPlot, &XYPlot::OnXAxisMinSpanChange, this, &TwindPlotFrm::windSpdPlotXAxisMinSpanChange);
    connect(windSpdPlot, &XYPlot::OnYAxisMinSpanChange, this, &TwindPlotFrm::windSpdPlotYAxisMinSpanChange);

    OuterSize::apply(*this, QSize(607, 647));
}

TwindPlotFrm::~TwindPlotFrm()
{
    auto& sinks = q5_.plotSinks;
    sinks.erase(std::remove(sinks.begin(), sinks.end(), static_cast<PlotSink*>(this)), sinks.end());
}

void TwindPlotFrm::LoadPlotData(Q5& q)
{
    windDirPlot->ClearAllData();
    windSpdPlot->ClearAllData();
    if (!q.rsGpsInst)
        return;
    PlotChannel* dir[] = {windDirPlot->GetChannel(ChAscent), windDirPlot->GetChannel(ChDescent)};
    PlotChannel* spd[] = {windSpdPlot->GetChannel(ChAscent), windSpdPlot->GetChannel(ChDescent)};
    // Without a burst record every wind counts as ascent.
    const RawRecord* burst = q.burstRec;
    int part = 0;
    double lastDir[2] = {std::nan(""), std::nan("")};
    for (const WindRecord& w : q.windRecs) {
        if (part == 0 && burst && w.time > burst->time)
            part = 1;
        spd[part]->AddXY(w.ws, w.alt * Km);
        // Calm air has no direction: the line breaks there instead of
        // running to 0 degrees and back.
        if (w.ws == 0) {
            if (!std::isnan(lastDir[part]))
                dir[part]->addBreak();
            lastDir[part] = std::nan("");
            continue;
        }
        // A direction that wraps through north (a step of more than half a
        // turn) starts a new line instead of crossing the whole panel.
        if (std::fabs(w.wd - lastDir[part]) > HalfTurn)
            dir[part]->addBreak();
        lastDir[part] = w.wd;
        dir[part]->AddXY(w.wd, w.alt * Km);
    }
    windDirPlot->replot();
    windSpdPlot->replot();
}

void TwindPlotFrm::FitWindAxes()
{
    PlotAxis* spdX = windSpdPlot->GetXAxis(0);
    spdX->ZoomToFit();
    const double hi = spdX->Min() + spdX->Span();
    // Enlarge by 2 % and round to the nearest multiple of 5, halves upwards.
    double span = 5 * std::trunc(hi * 1.02 * 0.2 + 0.5);
    if (span > MaxSpeedSpan)
        span = MaxSpeedSpan;
    if (span <= 0)
        span = LeastSpeedSpan;
    spdX->SetSpan(span);
    spdX->SetMin(0);
    windSpdPlot->GetYAxis(0)->ZoomToFit();
    PlotAxis* dirX = windDirPlot->GetXAxis(0);
    dirX->SetMin(0);
    dirX->SetSpan(360);
    windDirPlot->GetYAxis(0)->ZoomToFit();
}

void TwindPlotFrm::ApplyShowAll(bool flag)
{
    showDescent(flag);
    FitWindAxes();
}

// Both panels list their channels below the data, so that their data areas
// stay equally high and the heights line up.
void TwindPlotFrm::showDescent(bool flag)
{
    for (XYPlot* plot : {windDirPlot, windSpdPlot}) {
        plot->GetChannel(ChAscent)->SetVisibleInLegend(true);
        plot->GetChannel(ChDescent)->SetVisible(flag);
        plot->GetChannel(ChDescent)->SetVisibleInLegend(flag);
    }
}

void TwindPlotFrm::prepareAndShow()
{
    windDirPlot->GetYAxis(0)->ZoomToFitFast();
    windSpdPlot->GetXAxis(0)->ZoomToFitFast();
    PlotAxis* dirY = windDirPlot->GetYAxis(0);
    PlotAxis* spdY = windSpdPlot->GetYAxis(0);
    spdY->SetSpan(dirY->Span());
    spdY->SetMin(dirY->Min());
    showDescent(q5_.showAll != 0);
    show();
    raise();
    activateWindow();
}

void TwindPlotFrm::finishImport(const QString& flightName)
{
    lblTitle->setText(tr("Wind Data - %1").arg(flightName));
    lblTitle->adjustSize();
    FormResize();
    ApplyShowAll(q5_.showAll != 0);
}

void TwindPlotFrm::windDirPlotYAxisMinSpanChange(int, double, double, double newMin, double newSpan)
{
    PlotAxis* spdY = windSpdPlot->GetYAxis(0);
    spdY->SetSpan(newSpan);
    spdY->SetMin(newMin);
}

void TwindPlotFrm::windSpdPlotYAxisMinSpanChange(int, double, double, double newMin, double newSpan)
{
    PlotAxis* dirY = windDirPlot->GetYAxis(0);
    dirY->SetSpan(newSpan);
    dirY->SetMin(newMin);
    windDirPlot->GetXAxis(0)->SetTrackingEnabled(false);
}

void TwindPlotFrm::windSpdPlotXAxisMinSpanChange(int, double, double, double, double)
{
    windDirPlot->GetXAxis(0)->SetTrackingEnabled(false);
}

void TwindPlotFrm::windDirPlotToolBarButtonClick(int, ToolBarButton buttonType)
{
    windSpdPlot->GetXAxis(0)->SetMode(windDirPlot->GetXAxis(0)->Mode());
    windSpdPlot->GetYAxis(0)->SetMode(windDirPlot->GetYAxis(0)->Mode());
    if (buttonType == ToolBarButton::Resume)
        FitWindAxes();
}

void TwindPlotFrm::FormShow()
{
    FitWindAxes();
}

void TwindPlotFrm::FormResize()
{
    if (!windDirPlot)
        return;
    // An odd width loses one pixel so that both plots are equally wide.
    const int width = 2 * (rect().width() / 2);
    const int half = width / 2;
    const int height = rect().height();
    windDirPlot->setGeometry(-1, 0, half, height);
    windSpdPlot->setGeometry(half, 0, half, height);
    lblTitle->move((width - lblTitle->width()) / 2, 32);
}

void TwindPlotFrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TwindPlotFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

} // namespace lumo
