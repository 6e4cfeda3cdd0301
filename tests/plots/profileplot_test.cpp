#include <QCheckBox>
#include <QTest>
#include <qcustomplot.h>

#include <cmath>

#include "plots/profiledata.h"
#include "plots/profileplot.h"
#include "plots/xyplot.h"
#include "windowfixture.h"

using namespace lumo;
using namespace plotfixture;

namespace {

// Pressure sensor and GPS; a climb from 1000 hPa at 0 km to 10 hPa at
// 31 km (ten PTU samples), burst at the top, then three descent samples.
// Ozonesondes 1 and 3 report ozone just before every PTU sample; one sample
// of ozonesonde 1 holds the missing-value marker, one has no pressure.
void fillFlight(Q5& q5)
{
    q5.rsPrInst = q5.rsGpsInst = 1;
    for (int i = 0; i <= 12; ++i) {
        const int k = i <= 9 ? i : 18 - i;                  // descent back down
        const double p = 1000 * std::pow(0.01, k / 9.0); // 1000 .. 10 hPa
        const double h = 31000.0 * k / 9;
        RawRecord* ptu = addPtu(q5.fltRecs, i, p, 20 - 8.0 * k, 50, h, h);
        if (i == 9)
            q5.burstRec = ptu;
        for (int chain : {1, 3}) {
            RawRecord* o3 = addO3(q5.fltRecs, i - 0.5, chain, 50.0 * chain, h, h);
            o3->data.o3.p = (chain == 1 && i == 2) ? 0 : p;
            if (chain == 1 && i == 4)
                o3->data.o3.o3pp = Missing;
        }
    }
}

} // namespace

class ProfilePlotTest : public QObject {
    Q_OBJECT
private slots:
    void profileSplitsAtTheBurstAndLeavesUnknownValuesOut()
    {
        Q5 q5;
        fillFlight(q5);
        const ProfileData d = collectProfile(q5);
        // Ten ascent samples, two of them unknown for ozonesonde 1.
        QCOMPARE(d.ozone[0].ascent.size(), std::size_t(8));
        QCOMPARE(d.ozone[0].descent.size(), std::size_t(3));
        QCOMPARE(d.ozone[2].ascent.size(), std::size_t(10));
        QVERIFY(d.ozone[1].empty() && d.ozone[3].empty());
        QCOMPARE(d.temperature.ascent.size(), std::size_t(10));
        // 150 nb is 15 mPa, and 0.15 ppmv at 1000 hPa.
        QCOMPARE(d.ozone[2].ascent.front().value, 15.0);
        QCOMPARE(d.mixingRatio[2].ascent.front().value, 0.15);
        for (const ProfilePoint& pt : d.ozone[0].ascent)
            QVERIFY(pt.p > 0 && pt.value != Missing * MilliPascalPerNanobar);
    }

    void heightMarksSitWhereTheClimbFirstPassesThem()
    {
        // 2 km reached halfway (in log pressure) between 800 and 600 hPa;
        // the dip back below 2 km and the second crossing add nothing.
        const std::vector<ProfilePoint> climb = {{900, 1.2}, {800, 1.5}, {600, 2.5}, {650, 1.9}, {500, 4.2}};
        const std::vector<HeightMark> marks = heightMarks(climb, 2);
        QCOMPARE(marks.size(), std::size_t(2));
        QCOMPARE(marks[0].km, 2.0);
        QVERIFY(std::fabs(marks[0].p - std::sqrt(800.0 * 600.0)) < 1e-9);
        QCOMPARE(marks[1].km, 4.0);
        QVERIFY(marks[1].p > 500 && marks[1].p < 650);
    }

    void viewShowsTheAscentOfEachOzonesondeInItsOwnColour()
    {
        Q5 q5;
        fillFlight(q5);
        TprofilePlotFrm frm(q5);
        frm.LoadPlotData(q5);
        XYPlot& plot = *frm.profilePlot;
        PlotChannel* o3a = plot.GetChannel(TprofilePlotFrm::o3Channel(1));
        PlotChannel* o3c = plot.GetChannel(TprofilePlotFrm::o3Channel(3));
        QVERIFY(o3a->Visible() && o3a->VisibleInLegend() && o3c->Visible());
        QVERIFY(o3a->Color() != o3c->Color());
        // Ozonesondes without data and the descent stay out of sight.
        QVERIFY(!plot.GetChannel(TprofilePlotFrm::o3Channel(2))->VisibleInLegend());
        QVERIFY(!plot.GetChannel(TprofilePlotFrm::o3Channel(1) + 1)->Visible());
        QVERIFY(plot.GetChannel(TprofilePlotFrm::ChTemp)->Visible());
        frm.cbxDescent->setChecked(true);
        QVERIFY(plot.GetChannel(TprofilePlotFrm::o3Channel(1) + 1)->Visible());
        QVERIFY(!plot.GetChannel(TprofilePlotFrm::o3Channel(2) + 1)->Visible());
        // The legend keeps to one column of the drawn entries, and to a
        // quarter of the window with every layer on.
        frm.resize(600, 700);
        plot.picture();
        QCPLegend* legend = plot.customPlot()->legend;
        QCOMPARE(legend->columnCount(), 1);
        for (QCheckBox* box : {frm.cbxMixRatio, frm.cbxUncertainty, frm.cbxTropopause})
            box->setChecked(true);
        plot.picture();
        QVERIFY(legend->outerRect().height() <= frm.height() / 4);
    }

    void pressureAxisRunsFrom1000hPaUpToTheBurst()
    {
        Q5 q5;
        fillFlight(q5);
        TprofilePlotFrm frm(q5);
        frm.LoadPlotData(q5);
        const PlotAxis* p = frm.profilePlot->GetYAxis(0);
        QVERIFY(p->logarithmic() && p->reversed());
        QVERIFY(std::fabs(p->Min() + p->Span() - 1000) < 1e-9);
        QVERIFY(p->Min() < 10 && p->Min() > 8);
        // Ozone from 0 to a rounded end above 15 mPa; temperature in tens.
        QCOMPARE(frm.profilePlot->GetXAxis(TprofilePlotFrm::AxOzone)->Min(), 0.0);
        QVERIFY(frm.profilePlot->GetXAxis(TprofilePlotFrm::AxOzone)->Span() >= 15);
        // Temperature in tens, with room on both sides of the curve.
        const PlotAxis* t = frm.profilePlot->GetXAxis(TprofilePlotFrm::AxTemp);
        const PlotChannel* temp = frm.profilePlot->GetChannel(TprofilePlotFrm::ChTemp);
        QCOMPARE(std::fmod(t->Min(), 10.0), 0.0);
        QCOMPARE(std::fmod(t->Span(), 10.0), 0.0);
        QVERIFY(t->Min() < temp->xMin() - 1);
        QVERIFY(t->Min() + t->Span() > temp->xMax() + 1);
        QVERIFY(t->Span() <= 100);
        // Height marks every 5 km on the right-hand scale.
        frm.profilePlot->picture(400, 400);
        const auto ticker = frm.profilePlot->customPlot()->yAxis2->ticker().dynamicCast<QCPAxisTickerText>();
        QVERIFY(frm.profilePlot->customPlot()->yAxis2->visible());
        QCOMPARE(ticker->ticks().size(), 7); // 0, 5 .. 30 km
        QCOMPARE(ticker->ticks().first(), QStringLiteral("30")); // the least pressure
        QCOMPARE(ticker->ticks().last(), QStringLiteral("0"));
    }

    void mixingRatioBoxShowsItsChannelsOnTheirOwnAxis()
    {
        Q5 q5;
        fillFlight(q5);
        TprofilePlotFrm frm(q5);
        frm.LoadPlotData(q5);
        PlotAxis* mr = frm.profilePlot->GetXAxis(TprofilePlotFrm::AxMixRatio);
        PlotChannel* c = frm.profilePlot->GetChannel(TprofilePlotFrm::mixRatioChannel(3));
        QVERIFY(!mr->Visible() && !c->Visible());
        frm.cbxMixRatio->setChecked(true);
        QVERIFY(mr->Visible() && c->Visible());
        QCOMPARE(c->boundXAxis(), mr);
        QVERIFY(mr->Min() + mr->Span() >= c->xMax());
    }

    void uncertaintyBandAndTropopauseLineOnTheirBoxes()
    {
        Q5 q5;
        fillFlight(q5);
        // Ozonesonde 1 gets what the uncertainty needs; 3 has no flow.
        q5.o3Sonde[0].flow = 28;
        for (RawRecord& r : q5.fltRecs)
            if (r.isOzone() && r.o3Slot() == 0) {
                r.data.o3.ic = 2.0;
                r.data.o3.tp = 25;
            }
        q5.tropopause.p = 200;
        TprofilePlotFrm frm(q5);
        frm.LoadPlotData(q5);
        PlotChannel* low = frm.profilePlot->GetChannel(TprofilePlotFrm::bandLowChannel(1));
        PlotChannel* high = frm.profilePlot->GetChannel(TprofilePlotFrm::bandHighChannel(1));
        PlotChannel* trop = frm.profilePlot->GetChannel(TprofilePlotFrm::ChTropopause);
        QCOMPARE(low->count(), 8);
        QCOMPARE(frm.profilePlot->GetChannel(TprofilePlotFrm::bandLowChannel(3))->count(), 0);
        QVERIFY(low->xMax() < 5.0 && high->xMin() > 5.0); // around 50 nb = 5 mPa
        QCOMPARE(trop->yMin(), 200.0);
        QCOMPARE(trop->yMax(), 200.0);
        QVERIFY(!low->Visible() && !trop->Visible());
        frm.cbxUncertainty->setChecked(true);
        frm.cbxTropopause->setChecked(true);
        QVERIFY(low->Visible() && high->Visible() && trop->Visible());
    }

    // The classic profile is drawn only for a sonde the standard method ran
    // on, also where the standard value is unknown, and only with "Classic".
    void classicOverlayForStandardRunsOnly()
    {
        Q5 q5;
        fillFlight(q5);
        for (RawRecord& r : q5.fltRecs)
            if (r.isOzone())
                r.data.o3.o3ppClassic = 45; // nb
        q5.o3MethodResult[0].method = O3Method::Standard;
        const ProfileData d = collectProfile(q5);
        QCOMPARE(d.ozoneClassic[0].ascent.size(), std::size_t(9)); // the sample without pressure left out
        QCOMPARE(d.ozoneClassic[0].ascent.front().value, 4.5);
        QVERIFY(d.ozoneClassic[2].empty()); // ozonesonde 3 ran classic

        TprofilePlotFrm frm(q5);
        frm.LoadPlotData(q5);
        QCOMPARE(frm.cbxClassic->text(), QStringLiteral("Classic"));
        PlotChannel* classic = frm.profilePlot->GetChannel(TprofilePlotFrm::classicChannel(1));
        QCOMPARE(classic->count(), 9);
        QVERIFY(!classic->Visible());
        frm.cbxClassic->setChecked(true);
        QVERIFY(classic->Visible());
        QVERIFY(!frm.profilePlot->GetChannel(TprofilePlotFrm::classicChannel(3))->Visible());
        frm.cbxDescent->setChecked(true);
        QCOMPARE(frm.profilePlot->GetChannel(TprofilePlotFrm::classicChannel(1) + 1)->count(), 3);
    }
};

QTEST_MAIN(ProfilePlotTest)
#include "profileplot_test.moc"
