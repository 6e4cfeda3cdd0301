#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "plots/fltplot.h"
#include "plots/mybutton.h"
#include "plots/sfcplot.h"
#include "plots/xyplot.h"
#include "windowfixture.h"

using namespace lumo;
using namespace plotfixture;

namespace {

struct Expected {
    QString name;
    QRgb colour;
    int layer;
    LineStyle style;
};

void checkDesign(const XYPlot& plot, const std::vector<Expected>& table)
{
    QCOMPARE(plot.channelCount(), int(table.size()));
    for (int i = 0; i < plot.channelCount(); ++i) {
        const PlotChannel& c = *plot.GetChannel(i);
        const Expected& e = table[std::size_t(i)];
        QCOMPARE(c.Name(), e.name);
        QCOMPARE(c.Color(), QColor(e.colour));
        QCOMPARE(c.Layer(), e.layer);
        QCOMPARE(c.TraceLineStyle(), e.style);
        QCOMPARE(c.TraceLineWidth(), 2);
        QVERIFY(!c.Visible());
        QVERIFY(!c.VisibleInLegend());
    }
}

const LineStyle Styles[] = {LineStyle::Solid, LineStyle::Dash, LineStyle::Dot, LineStyle::DashDot};

// Two surface records and a flight split by a burst record at time 3.
void fillFlight(Q5& q5)
{
    addPtu(q5.sfcRecs, 0.50, 1000, 20, 50, 0, 0);
    addO3(q5.sfcRecs, 0.51, 1, 30, 0, 0);
    addPtu(q5.fltRecs, 1, 900, 10, 40, 1000, 1100);
    addO3(q5.fltRecs, 1.5, 1, 40, 1500, 1600);
    addPtu(q5.fltRecs, 2, 500, -20, 30, 5000, 5100);
    q5.burstRec = addPtu(q5.fltRecs, 3, 10, -50, 5, 30000, 30100);
    addPtu(q5.fltRecs, 3, 11, -51, 6, 29990, 30090); // same time as the burst: ascent
    addO3(q5.fltRecs, 4, 1, 20, 20000, 20100);
    addPtu(q5.fltRecs, 5, 700, -10, 60, 3000, 3100);
}

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void surfaceChannelsFollowTheDesign()
    {
        Q5 q5;
        TsfcPlotFrm frm(q5);
        std::vector<Expected> table = {
            {"P", 0xFF8080, 100, LineStyle::Solid}, {"T", 0x00C800, 100, LineStyle::Solid},
            {"U", 0x8080FF, 100, LineStyle::Solid}, {"Vb", 0xFF80C0, 100, LineStyle::Solid},
            {"Ti", 0x00FF00, 100, LineStyle::Solid}, {"Tp", 0xFF00FF, 100, LineStyle::Solid},
            {"Tu", 0xFF8040, 100, LineStyle::Solid}};
        const char* quantities[] = {"O3pp", "Icell", "Tpmp", "Ipmp", "Vbat"};
        const QRgb colours[] = {0xFF0000, 0x0000FF, 0x00A000, 0xFFFF00, 0xFF0080};
        for (int n = 1; n <= 4; ++n)
            for (int k = 0; k < 5; ++k)
                table.push_back({QStringLiteral("%1.%2").arg(QLatin1String(quantities[k])).arg(n), colours[k], 100 + n,
                    Styles[n - 1]});
        checkDesign(*frm.sfcPlot, table);
        QCOMPARE(frm.sfcPlot->GetChannel(7)->Name(), QStringLiteral("O3pp.1"));
        QCOMPARE(frm.sfcPlot->GetChannel(26)->Name(), QStringLiteral("Vbat.4"));
        QCOMPARE(frm.windowTitle(), QStringLiteral("Surface"));
        QVERIFY(!frm.sfcPlot->buttonVisible(ToolBarButton::Resume));
        QVERIFY(frm.sfcPlot->buttonVisible(ToolBarButton::Select));
        QCOMPARE(frm.sfcPlot->GetXAxis(0)->Span(), 0.00694444444444444);
        QCOMPARE(frm.sfcPlot->GetYAxis(0)->Span(), 100.0);
    }

    void flightChannelsFollowTheDesign()
    {
        Q5 q5;
        TfltPlotFrm frm(q5);
        std::vector<Expected> table;
        const struct {
            const char* name;
            QRgb a, d;
            int la, ld;
        } rs[] = {{"P", 0xFF8080, 0x804040, 95, 96}, {"T", 0x00C800, 0x008000, 95, 96},
            {"U", 0x8080FF, 0x0080FF, 95, 96}, {"Vb", 0xFF80C0, 0x800080, 95, 96},
            {"Ti", 0x00FF00, 0x808000, 95, 96}, {"Tp", 0xFF00FF, 0x800080, 95, 96},
            {"Tu", 0xFFAD5B, 0xFF661C, 95, 96}, {"ARate", 0x808080, 0x408080, 96, 96}};
        for (const auto& r : rs) {
            table.push_back({QStringLiteral("%1(A)").arg(QLatin1String(r.name)), r.a, r.la, LineStyle::Solid});
            table.push_back({QStringLiteral("%1(D)").arg(QLatin1String(r.name)), r.d, r.ld, LineStyle::Solid});
        }
        const char* quantities[] = {"O3pp", "Icell", "Tpmp", "Ipmp", "Vbat"};
        const QRgb ascent[] = {0xFF0000, 0x0000FF, 0x00A000, 0xFFFF00, 0xFF0080};
        const QRgb descent[] = {0x804040, 0x000080, 0x006400, 0xC8C800, 0x800040};
        const int layers[] = {100, 105, 110, 115};
        for (int n = 1; n <= 4; ++n)
            for (int k = 0; k < 5; ++k) {
                const QString base = QStringLiteral("%1.%2").arg(QLatin1String(quantities[k])).arg(n);
                table.push_back({base + "(A)", ascent[k], layers[n - 1], Styles[n - 1]});
                table.push_back({base + "(D)", descent[k], layers[n - 1] + 1, Styles[n - 1]});
            }
        for (int n = 1; n <= 4; ++n)
            for (const char* edge : {"-", "+"})
                for (const char* part : {"(A)", "(D)"})
                    table.push_back({QStringLiteral("O3pp.%1 %2 1\u03c3%3").arg(n).arg(QLatin1String(edge)).arg(QLatin1String(part)),
                        0xFF9090, layers[n - 1] - 1, LineStyle::Dot});
        for (const char* name : {"Trop(A)", "Trop(D)", "Trop2(A)", "Trop2(D)"})
            table.push_back({QLatin1String(name), 0x8000A0, 90, LineStyle::Dash});
        checkDesign(*frm.fltPlot, table);
        QCOMPARE(frm.fltPlot->GetChannel(16)->Name(), QStringLiteral("O3pp.1(A)"));
        QCOMPARE(frm.fltPlot->GetChannel(29)->Name(), QStringLiteral("Icell.2(D)"));
        QCOMPARE(frm.fltPlot->GetYAxis(0)->Title(), QStringLiteral("Height (Km)"));
    }

    void surfaceLoadTakesSurfaceRecordsOnly()
    {
        Q5 q5;
        q5.sfcCorrP = 1;
        q5.sfcCorrT = 0.5;
        q5.sfcCorrU = -2;
        TsfcPlotFrm frm(q5);
        addPtu(q5.sfcRecs, 0.25, 1000, 20, 50, 0, 0);
        addPtu(q5.sfcRecs, 0.26, 1001, 21, 51, 0, 0, true);
        addO3(q5.sfcRecs, 0.27, 2, lumo::Missing, 0, 0);
        addO3(q5.sfcRecs, 0.28, 9, 5, 0, 0); // chain number outside 1..4
        addGps(q5.sfcRecs, 0.29, 100, 5);
        addPtu(q5.fltRecs, 1, 900, 0, 0, 0, 0);
        frm.LoadPlotData(q5);
        XYPlot& plot = *frm.sfcPlot;
        QCOMPARE(plot.GetChannel(TsfcPlotFrm::ChP)->Points(), (std::vector<QPointF>{{0.25, 999}, {0.26, 1000}}));
        QCOMPARE(plot.GetChannel(TsfcPlotFrm::ChT)->Points()[0], QPointF(0.25, 19.5));
        QCOMPARE(plot.GetChannel(TsfcPlotFrm::ChU)->Points()[1], QPointF(0.26, 53));
        QCOMPARE(plot.GetChannel(TsfcPlotFrm::ChVb)->count(), 2);
        QCOMPARE(plot.GetChannel(TsfcPlotFrm::ChTi)->Points(), (std::vector<QPointF>{{0.26, 21}}));
        QCOMPARE(plot.GetChannel(TsfcPlotFrm::ChTu)->count(), 1);
        // The invalid partial pressure is left out of the plot.
        QCOMPARE(plot.GetChannel(TsfcPlotFrm::o3ChannelIndex(2, 0))->count(), 0);
        QCOMPARE(plot.GetChannel(TsfcPlotFrm::o3ChannelIndex(2, 4))->Points()[0].y(), 12.0);
        int total = 0;
        for (int i = 0; i < plot.channelCount(); ++i)
            total += plot.GetChannel(i)->count();
        QCOMPARE(total, 2 * 4 + 3 + 4);

        // A refill replaces the points.
        frm.LoadPlotData(q5);
        QCOMPARE(plot.GetChannel(TsfcPlotFrm::ChP)->count(), 2);
    }

    void flightPlotLeavesUnknownPointsOutOfLinesAndRanges()
    {
        Q5 q5;
        q5.rsGpsInst = 0;
        TfltPlotFrm frm(q5);
        fillFlight(q5);
        addO3(q5.fltRecs, 5.5, 1, lumo::Missing, 2000, 2100);         // invalid partial pressure
        addO3(q5.fltRecs, 6, 1, lumo::Missing, lumo::Missing, 0);      // after the last PTU sample
        frm.LoadPlotData(q5);
        XYPlot& plot = *frm.fltPlot;
        const int ascent = TfltPlotFrm::o3ChannelIndex(1, 0);
        QCOMPARE(plot.GetChannel(ascent)->Points(), (std::vector<QPointF>{{40, 1.5}}));
        QCOMPARE(plot.GetChannel(ascent + 1)->Points(), (std::vector<QPointF>{{20, 20}}));
        // The last sample's raw current is known, its height is not: no point,
        // no line down to 0 km.
        QCOMPARE(plot.GetChannel(TfltPlotFrm::o3ChannelIndex(1, 1) + 1)->count(), 2);
        plot.GetXAxis(0)->ZoomToFit();
        QVERIFY(plot.GetXAxis(0)->Min() > -100);
    }

    void flightLoadSplitsAtTheBurstTime()
    {
        Q5 q5;
        q5.rsGpsInst = 0;
        TfltPlotFrm frm(q5);
        fillFlight(q5);
        frm.LoadPlotData(q5);
        XYPlot& plot = *frm.fltPlot;
        QCOMPARE(plot.GetChannel(TfltPlotFrm::ChP)->Points(),
            (std::vector<QPointF>{{900, 1}, {500, 5}, {10, 30}, {11, 29.99}}));
        QCOMPARE(plot.GetChannel(TfltPlotFrm::ChP + 1)->Points(), (std::vector<QPointF>{{700, 3}}));
        // Without GPS the ascent rate comes from the PTU records, in m/min.
        QCOMPARE(plot.GetChannel(TfltPlotFrm::ChARate)->Points()[0], QPointF(300, 1));
        QCOMPARE(plot.GetChannel(TfltPlotFrm::o3ChannelIndex(1, 0))->Points(), (std::vector<QPointF>{{40, 1.5}}));
        QCOMPARE(plot.GetChannel(TfltPlotFrm::o3ChannelIndex(1, 0) + 1)->Points(), (std::vector<QPointF>{{20, 20}}));
        QCOMPARE(plot.GetChannel(TfltPlotFrm::ChTi)->count(), 0);
    }

    void flightBandOfTheSelectedOzonesondeAndTropopauseLine()
    {
        Q5 q5;
        fillFlight(q5);
        q5.rsPrInst = 1;
        q5.o3Sonde[0].flow = 28;
        for (RawRecord& r : q5.fltRecs)
            if (r.isOzone()) {
                r.data.o3.p = 800;
                r.data.o3.ic = 2;
                r.data.o3.tp = 25;
            }
        q5.tropopause.height = 12000;
        q5.tropopause.p = 200;
        TfltPlotFrm frm(q5);
        frm.LoadPlotData(q5);
        PlotChannel* low = frm.fltPlot->GetChannel(TfltPlotFrm::bandLowIndex(1));
        PlotChannel* trop = frm.fltPlot->GetChannel(TfltPlotFrm::ChTropopause);
        QCOMPARE(low->count(), 1);
        QVERIFY(low->xMax() < 40 && frm.fltPlot->GetChannel(TfltPlotFrm::bandHighIndex(1))->xMin() > 40);
        QCOMPARE(trop->Points(), (std::vector<QPointF>{{0, 12}, {40, 12}}));
        QVERIFY(!low->Visible() && !trop->Visible());
        frm.cbxUncertainty->setChecked(true);
        frm.cbxTropopause->setChecked(true);
        QVERIFY(low->Visible() && trop->Visible());
        frm.btnNextClick(); // ozonesonde 2 has no band
        QVERIFY(!low->Visible());
    }

    void flightLoadWithGpsUsesGpsHeightsAndRates()
    {
        Q5 q5;
        q5.rsGpsInst = 1;
        TfltPlotFrm frm(q5);
        addPtu(q5.fltRecs, 1, 900, 10, 40, 1000, 1100);
        addGps(q5.fltRecs, 1.2, 1150, 6);
        addO3(q5.fltRecs, 1.5, 1, 40, 1500, 1600);
        q5.burstRec = addPtu(q5.fltRecs, 3, 10, -50, 5, 30000, 30100);
        addGps(q5.fltRecs, 6, 1000, -10);
        frm.LoadPlotData(q5);
        XYPlot& plot = *frm.fltPlot;
        QCOMPARE(plot.GetChannel(TfltPlotFrm::ChP)->Points()[0], QPointF(900, 1.1));
        // With GPS the ascent rate comes from the GPS records only.
        QCOMPARE(plot.GetChannel(TfltPlotFrm::ChARate)->Points(), (std::vector<QPointF>{{360, 1.15}}));
        QCOMPARE(plot.GetChannel(TfltPlotFrm::ChARate + 1)->Points(), (std::vector<QPointF>{{-600, 1}}));
        QCOMPARE(plot.GetChannel(TfltPlotFrm::o3ChannelIndex(1, 0))->Points()[0], QPointF(40, 1.6));
    }

    void flightWithoutBurstIsAllAscent()
    {
        Q5 q5;
        TfltPlotFrm frm(q5);
        fillFlight(q5);
        q5.burstRec = nullptr;
        frm.LoadPlotData(q5);
        QCOMPARE(frm.fltPlot->GetChannel(TfltPlotFrm::ChP)->count(), 5);
        QCOMPARE(frm.fltPlot->GetChannel(TfltPlotFrm::ChP + 1)->count(), 0);
    }

    void surfaceBoxesShowTheirChannels()
    {
        Q5 q5;
        TsfcPlotFrm frm(q5);
        QCheckBox* boxes[] = {frm.cbxP, frm.cbxT, frm.cbxU, frm.cbxVb, frm.cbxTi, frm.cbxTp, frm.cbxTu};
        for (int i = 0; i < 7; ++i) {
            boxes[i]->setChecked(true);
            for (int c = 0; c < frm.sfcPlot->channelCount(); ++c) {
                QCOMPARE(frm.sfcPlot->GetChannel(c)->Visible(), c == i);
                QCOMPARE(frm.sfcPlot->GetChannel(c)->VisibleInLegend(), c == i);
            }
            boxes[i]->setChecked(false);
        }
        QCheckBox* o3[] = {frm.cbxO3pp, frm.cbxIcell, frm.cbxTpmp, frm.cbxIpmp, frm.cbxVbat};
        for (int k = 0; k < 5; ++k) {
            o3[k]->setChecked(true);
            QVERIFY(frm.sfcPlot->GetChannel(7 + k)->Visible());
            o3[k]->setChecked(false);
            QVERIFY(!frm.sfcPlot->GetChannel(7 + k)->Visible());
        }
    }

    void checkingABoxFitsBothAxes()
    {
        Q5 q5;
        TsfcPlotFrm frm(q5);
        addPtu(q5.sfcRecs, 0.25, 1000, 20, 50, 0, 0);
        addPtu(q5.sfcRecs, 0.75, 990, 22, 50, 0, 0);
        frm.LoadPlotData(q5);
        frm.cbxT->setChecked(true);
        QCOMPARE(frm.sfcPlot->GetXAxis(0)->Min(), 0.25);
        QCOMPARE(frm.sfcPlot->GetXAxis(0)->Span(), 0.5);
        QCOMPARE(frm.sfcPlot->GetYAxis(0)->Min(), 19.5);
        QCOMPARE(frm.sfcPlot->GetYAxis(0)->Span(), 3.0);
    }

    void selectorCarriesStatesBetweenOzonesondes()
    {
        Q5 q5;
        TfltPlotFrm frm(q5);
        XYPlot& plot = *frm.fltPlot;
        const int o3pp1 = TfltPlotFrm::o3ChannelIndex(1, 0);
        const int icell2 = TfltPlotFrm::o3ChannelIndex(2, 1);
        frm.cbxO3pp->setChecked(true);
        QVERIFY(plot.GetChannel(o3pp1)->Visible());

        QTest::mouseClick(frm.btnNext, Qt::LeftButton);
        QCOMPARE(frm.osNumber->text(), QStringLiteral("2"));
        QVERIFY(frm.btnPrev->isEnabled());
        QVERIFY(!frm.cbxO3pp->isChecked());
        QVERIFY(plot.GetChannel(o3pp1)->Visible()); // left behind, still shown
        frm.cbxIcell->setChecked(true);
        QVERIFY(plot.GetChannel(icell2)->Visible());

        frm.btnPrevClick();
        QCOMPARE(frm.osNumber->text(), QStringLiteral("1"));
        QVERIFY(!frm.btnPrev->isEnabled());
        QVERIFY(frm.btnNext->isEnabled());
        QVERIFY(frm.cbxO3pp->isChecked());
        QVERIFY(!frm.cbxIcell->isChecked());
        QVERIFY(plot.GetChannel(icell2)->Visible());

        frm.btnNextClick();
        frm.btnNextClick();
        QVERIFY(frm.btnNext->isEnabled());
        frm.btnNextClick();
        QCOMPARE(frm.osNumber->text(), QStringLiteral("4"));
        QVERIFY(!frm.btnNext->isEnabled());
        QVERIFY(!frm.cbxO3pp->isChecked());
        QVERIFY(!frm.cbxIcell->isChecked());
    }

    void descentShownOnlyWithShowAll()
    {
        Q5 q5;
        q5.showAll = 0;
        TfltPlotFrm frm(q5);
        XYPlot& plot = *frm.fltPlot;
        frm.cbxT->setChecked(true);
        QVERIFY(plot.GetChannel(TfltPlotFrm::ChT)->Visible());
        QVERIFY(!plot.GetChannel(TfltPlotFrm::ChT + 1)->Visible());

        q5.showAll = 1;
        frm.ApplyShowAll(true);
        QVERIFY(plot.GetChannel(TfltPlotFrm::ChT + 1)->Visible());
        QVERIFY(plot.GetChannel(TfltPlotFrm::ChT + 1)->VisibleInLegend());
        QVERIFY(!plot.GetChannel(TfltPlotFrm::ChU + 1)->Visible()); // its ascent is hidden

        frm.cbxO3pp->setChecked(true); // showAll on: both channels
        QVERIFY(plot.GetChannel(TfltPlotFrm::o3ChannelIndex(1, 0) + 1)->Visible());

        q5.showAll = 0;
        frm.ApplyShowAll(false);
        for (int i = 1; i < plot.channelCount(); i += 2)
            QVERIFY(!plot.GetChannel(i)->Visible());
        QVERIFY(plot.GetChannel(TfltPlotFrm::ChT)->Visible());

        // Unchecking hides both whatever showAll is.
        frm.ApplyShowAll(true);
        frm.cbxT->setChecked(false);
        QVERIFY(!plot.GetChannel(TfltPlotFrm::ChT)->Visible());
        QVERIFY(!plot.GetChannel(TfltPlotFrm::ChT + 1)->Visible());
    }

    void menuCommandWithoutSensorsUnchecksTheirBoxes()
    {
        Q5 q5;
        q5.rsPrInst = 0;
        q5.hasPtuExt = 0;
        TfltPlotFrm frm(q5);
        frm.cbxP->setChecked(true);
        frm.cbxTp->setChecked(true);
        frm.cbxTi->setChecked(true);
        frm.prepareAndShow();
        for (QCheckBox* box : {frm.cbxP, frm.cbxTi, frm.cbxTp, frm.cbxTu}) {
            QVERIFY(!box->isEnabled());
            QVERIFY(!box->isChecked());
        }
        QVERIFY(!frm.fltPlot->GetChannel(TfltPlotFrm::ChP)->Visible());
        QVERIFY(frm.isVisible());
        // No box checked: the design ranges.
        QCOMPARE(frm.fltPlot->GetXAxis(0)->Min(), 0.0);
        QCOMPARE(frm.fltPlot->GetXAxis(0)->Span(), 100.0);
        QCOMPARE(frm.fltPlot->GetYAxis(0)->Span(), 40.0);
    }

    void menuCommandFastFitsWhenABoxIsChecked()
    {
        Q5 q5;
        q5.rsPrInst = 1;
        q5.hasPtuExt = 1;
        TsfcPlotFrm frm(q5);
        addPtu(q5.sfcRecs, 0.25, 1000, 20, 50, 0, 0);
        addPtu(q5.sfcRecs, 0.5, 1000, 30, 50, 0, 0);
        frm.LoadPlotData(q5);
        frm.cbxT->setChecked(true);
        frm.sfcPlot->GetYAxis(0)->setRange(0, 1);
        QSignalSpy spy(frm.sfcPlot, &XYPlot::OnYAxisMinSpanChange);
        frm.prepareAndShow();
        QVERIFY(frm.cbxTi->isEnabled());
        // Fast fit covers every channel's data, hidden ones too (Vb 9.1 to
        // P 1000) ...
        QVERIFY(spy.count() >= 1);
        QCOMPARE(spy.first()[3].toDouble(), 8.6);
        QCOMPARE(spy.first()[3].toDouble() + spy.first()[4].toDouble(), 1000.5);
        // ... and showing the window then fits to the visible data.
        QCOMPARE(frm.sfcPlot->GetYAxis(0)->Min(), 19.5);
        QCOMPARE(frm.sfcPlot->GetYAxis(0)->Span(), 11.0);
    }

    void importStepsOnTheWindow()
    {
        Q5 q5;
        q5.rsPrInst = 1;
        q5.hasPtuExt = 0;
        TfltPlotFrm frm(q5);
        frm.btnNextClick();
        frm.cbxTu->setChecked(true);
        frm.fltPlot->SetTitleText(QStringLiteral("old"));
        frm.clearForImport();
        QCOMPARE(frm.fltPlot->TitleText(), QString());
        QVERIFY(!frm.cbxP->isEnabled() && !frm.cbxTu->isEnabled());
        QVERIFY(frm.cbxTu->isChecked());
        QCOMPARE(frm.osNumber->text(), QStringLiteral("1"));
        QVERIFY(!frm.btnPrev->isEnabled());
        QVERIFY(frm.btnNext->isEnabled());
        frm.finishImport(QStringLiteral("F0612"));
        QCOMPARE(frm.fltPlot->TitleText(), QStringLiteral("Flight Data - F0612"));
        QVERIFY(frm.cbxP->isEnabled());
        QVERIFY(!frm.cbxTu->isEnabled());
        QVERIFY(!frm.cbxTu->isChecked());
        QVERIFY(!frm.fltPlot->GetChannel(TfltPlotFrm::ChTu)->Visible());
    }

    void plotFillsTheClientAreaRightOfTheBoxes()
    {
        Q5 q5;
        TsfcPlotFrm frm(q5);
        frm.show();
        frm.resize(700, 400);
        QTest::qWait(1);
        QCOMPARE(frm.sfcPlot->geometry(), QRect(75, 0, 625, 400));
        QCOMPARE(frm.gbxO3->geometry(), QRect(1, 164, 72, 133));
        QCOMPARE(frm.btnNext->geometry(), QRect(43, 103, 16, 21));
    }

    void windowLeavesTheSinkListWhenDestroyed()
    {
        Q5 q5;
        {
            TsfcPlotFrm frm(q5);
            q5.plotSinks.push_back(&frm);
        }
        QVERIFY(q5.plotSinks.empty());
    }
};

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
