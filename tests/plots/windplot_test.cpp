#include <QLabel>
#include <qcustomplot.h>

#include <cmath>
#include <QTest>

#include "plots/windplot.h"
#include "plots/xyplot.h"
#include "windowfixture.h"

using namespace lumo;
using namespace plotfixture;

namespace {

// Ascent winds at 1..5 km (times 1..5, burst at 5), descent from 4.5 km
// down to 0.5 km; the greatest speed, topSpeed, at the top of the ascent.
void fillWinds(Q5& q5, double topSpeed)
{
    q5.rsGpsInst = 1;
    q5.burstRec = addPtu(q5.fltRecs, 5, 10, -50, 5, 30000, 30000);
    for (int i = 1; i <= 10; ++i) {
        const double alt = i <= 5 ? i * 1000.0 : (11 - i) * 1000.0 - 500;
        addWind(q5.windRecs, i, alt, 36.0 * i, topSpeed * (i <= 5 ? i / 5.0 : (11 - i) / 5.0 - 0.1));
    }
}

} // namespace

class WindPlotTest : public QObject {
    Q_OBJECT
private slots:
    void channelsFollowTheDesign()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        const struct {
            XYPlot* plot;
            const char* a;
            const char* d;
            QRgb ca, cd;
        } plots[] = {{frm.windDirPlot, "Dir(A)", "Dir(D)", 0x0000FF, 0x000080},
            {frm.windSpdPlot, "Spd(A)", "Spd(D)", 0xFF8080, 0x804040}};
        for (const auto& p : plots) {
            QCOMPARE(p.plot->channelCount(), 2);
            QCOMPARE(p.plot->GetChannel(0)->Name(), QString::fromLatin1(p.a));
            QCOMPARE(p.plot->GetChannel(1)->Name(), QString::fromLatin1(p.d));
            QCOMPARE(p.plot->GetChannel(0)->Color(), QColor(p.ca));
            QCOMPARE(p.plot->GetChannel(1)->Color(), QColor(p.cd));
            QCOMPARE(p.plot->GetChannel(0)->Layer(), 100);
            QCOMPARE(p.plot->GetChannel(1)->Layer(), 101);
            QVERIFY(p.plot->GetChannel(0)->Visible());
            QVERIFY(!p.plot->GetChannel(1)->Visible());
            QVERIFY(!p.plot->GetChannel(0)->VisibleInLegend());
        }
        QCOMPARE(frm.windDirPlot->GetXAxis(0)->Span(), 360.0);
        QCOMPARE(frm.windSpdPlot->GetXAxis(0)->Span(), 100.0);
        QVERIFY(frm.windDirPlot->buttonVisible(ToolBarButton::Resume));
        QVERIFY(!frm.windDirPlot->buttonVisible(ToolBarButton::Edit));
        for (int b = 0; b < ToolBarButtonCount; ++b)
            QVERIFY(!frm.windSpdPlot->buttonVisible(static_cast<ToolBarButton>(b)));
        QCOMPARE(frm.lblTitle->text(), QStringLiteral("Wind Data"));
    }

    void loadSplitsAtTheBurstTime()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        fillWinds(q5, 20);
        frm.LoadPlotData(q5);
        // The wind at the burst time itself belongs to the ascent.
        QCOMPARE(frm.windDirPlot->GetChannel(0)->count(), 5);
        QCOMPARE(frm.windDirPlot->GetChannel(1)->count(), 5);
        QCOMPARE(frm.windDirPlot->GetChannel(0)->Points()[4], QPointF(180, 5));
        QCOMPARE(frm.windSpdPlot->GetChannel(1)->Points()[0], QPointF(18, 4.5));
    }

    void noGpsLeavesBothPlotsEmpty()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        fillWinds(q5, 20);
        frm.LoadPlotData(q5);
        q5.rsGpsInst = 0;
        frm.LoadPlotData(q5);
        for (XYPlot* plot : {frm.windDirPlot, frm.windSpdPlot})
            for (int i = 0; i < 2; ++i)
                QCOMPARE(plot->GetChannel(i)->count(), 0);
    }

    void noBurstPutsEveryWindIntoTheAscent()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        fillWinds(q5, 20);
        q5.burstRec = nullptr;
        frm.LoadPlotData(q5);
        QCOMPARE(frm.windSpdPlot->GetChannel(0)->count(), 10);
        QCOMPARE(frm.windSpdPlot->GetChannel(1)->count(), 0);
    }

    void fitRoundsTheSpeedAxis_data()
    {
        QTest::addColumn<double>("topSpeed");
        QTest::addColumn<double>("expectedSpan");
        // The fit adds the 0.5 margin: 23.4 gives hi 23.9 and 0..25.
        QTest::newRow("23.4") << 23.4 << 25.0;
        QTest::newRow("599.5") << 599.5 << 500.0;
        QTest::newRow("12.2") << 12.2 << 15.0;
        QTest::newRow("1.2") << 1.2 << 5.0; // would round to an empty span
    }

    void fitRoundsTheSpeedAxis()
    {
        QFETCH(double, topSpeed);
        QFETCH(double, expectedSpan);
        Q5 q5;
        TwindPlotFrm frm(q5);
        fillWinds(q5, topSpeed);
        frm.LoadPlotData(q5);
        frm.FitWindAxes();
        QCOMPARE(frm.windSpdPlot->GetXAxis(0)->Min(), 0.0);
        QCOMPARE(frm.windSpdPlot->GetXAxis(0)->Span(), expectedSpan);
        QCOMPARE(frm.windDirPlot->GetXAxis(0)->Min(), 0.0);
        QCOMPARE(frm.windDirPlot->GetXAxis(0)->Span(), 360.0);
        // Heights fitted to the visible direction data (ascent 1..5 km).
        QCOMPARE(frm.windDirPlot->GetYAxis(0)->Min(), 0.5);
        QCOMPARE(frm.windDirPlot->GetYAxis(0)->Span(), 5.0);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Min(), 0.5);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Span(), 5.0);
    }

    void directionWrapBreaksTheLineInsteadOfCrossingThePanel()
    {
        Q5 q5;
        q5.rsGpsInst = 1;
        const double dirs[] = {340, 355, 5, 20, 10, 350};
        for (int i = 0; i < 6; ++i)
            addWind(q5.windRecs, i, 1000.0 * i, dirs[i], 5);
        TwindPlotFrm frm(q5);
        frm.LoadPlotData(q5);
        frm.windDirPlot->picture(200, 200);
        // Gaps (unknown points) stand before the 5 and the 350 only.
        const auto* data = frm.windDirPlot->GetChannel(0)->curve()->data().data();
        QCOMPARE(data->size(), 8);
        QVERIFY(std::isnan(data->at(2)->key) && std::isnan(data->at(6)->key));
        QCOMPARE(data->at(3)->key, 5.0);
        QCOMPARE(frm.windDirPlot->GetChannel(0)->count(), 6);
    }

    // A calm sample (0 m/s, 0 deg) has a speed but no direction: its
    // direction is left out and the line breaks there.
    void calmWindHasNoDirection()
    {
        Q5 q5;
        q5.rsGpsInst = 1;
        const double speeds[] = {5, 0, 6, 7};
        const double dirs[] = {90, 0, 100, 110};
        for (int i = 0; i < 4; ++i)
            addWind(q5.windRecs, i, 1000.0 * i, dirs[i], speeds[i]);
        TwindPlotFrm frm(q5);
        frm.LoadPlotData(q5);
        const PlotChannel* dir = frm.windDirPlot->GetChannel(0);
        QCOMPARE(dir->count(), 3);
        for (const QPointF& p : dir->Points())
            QVERIFY(p.x() != 0);
        QCOMPARE(dir->xMin(), 90.0);
        QCOMPARE(frm.windSpdPlot->GetChannel(0)->count(), 4);
        frm.windDirPlot->picture(200, 200);
        const auto* data = dir->curve()->data().data();
        QCOMPARE(data->size(), 4); // 90, gap, 100, 110
        QVERIFY(std::isnan(data->at(1)->key));
    }

    void zoomOutNeverLeavesAFullTurn()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        PlotAxis* dir = frm.windDirPlot->GetXAxis(0);
        frm.windDirPlot->performButton(ToolBarButton::ZoomOut);
        QCOMPARE(dir->Min(), 0.0);
        QCOMPARE(dir->Span(), 360.0);
        frm.windDirPlot->performButton(ToolBarButton::ZoomIn);
        dir->SetMin(250);
        frm.windDirPlot->performButton(ToolBarButton::ZoomOut);
        QCOMPARE(dir->Min(), 0.0);
        QCOMPARE(dir->Span(), 360.0);
    }

    void windowHasItsOuterSize()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        frm.setAttribute(Qt::WA_DontShowOnScreen);
        frm.show();
        QCOMPARE(frm.frameGeometry().size(), QSize(607, 647));
    }

    void fitWithoutDataKeepsTheSpeedRangeEnd()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        frm.LoadPlotData(q5);
        frm.FitWindAxes();
        QCOMPARE(frm.windSpdPlot->GetXAxis(0)->Min(), 0.0);
        QCOMPARE(frm.windSpdPlot->GetXAxis(0)->Span(), 100.0);
    }

    void heightAxesFollowEachOther()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        frm.windDirPlot->GetYAxis(0)->setRange(2, 8);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Min(), 2.0);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Span(), 8.0);
        QCOMPARE(frm.windDirPlot->GetYAxis(0)->Min(), 2.0);

        frm.windSpdPlot->GetYAxis(0)->SetMin(3);
        QCOMPARE(frm.windDirPlot->GetYAxis(0)->Min(), 3.0);
        QCOMPARE(frm.windDirPlot->GetYAxis(0)->Span(), 8.0);
        QVERIFY(!frm.windDirPlot->GetXAxis(0)->TrackingEnabled());
    }

    void speedScrollPausesDirectionAndResumeRefits()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        fillWinds(q5, 23.4);
        frm.LoadPlotData(q5);
        frm.FitWindAxes();
        frm.windSpdPlot->GetXAxis(0)->SetMin(4);
        QVERIFY(!frm.windDirPlot->GetXAxis(0)->TrackingEnabled());
        frm.windDirPlot->GetXAxis(0)->setRange(90, 90);
        frm.windDirPlot->GetYAxis(0)->setRange(1, 1);
        frm.windDirPlot->performButton(ToolBarButton::Resume);
        QCOMPARE(frm.windDirPlot->GetXAxis(0)->Min(), 0.0);
        QCOMPARE(frm.windDirPlot->GetXAxis(0)->Span(), 360.0);
        QCOMPARE(frm.windSpdPlot->GetXAxis(0)->Min(), 0.0);
        QCOMPARE(frm.windSpdPlot->GetXAxis(0)->Span(), 25.0);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Min(), 0.5);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Span(), 5.0);
    }

    void directionToolbarDrivesTheSpeedPlot()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        frm.windDirPlot->performButton(ToolBarButton::ZoomAxesMode);
        QCOMPARE(frm.windSpdPlot->GetXAxis(0)->Mode(), AxisMode::Zoom);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Mode(), AxisMode::Zoom);

        frm.windDirPlot->GetYAxis(0)->setRange(0, 40);
        frm.windSpdPlot->GetXAxis(0)->setRange(0, 100);
        frm.windDirPlot->performButton(ToolBarButton::ZoomIn);
        QCOMPARE(frm.windDirPlot->GetXAxis(0)->Span(), 180.0);
        QCOMPARE(frm.windDirPlot->GetYAxis(0)->Span(), 20.0);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Min(), 10.0);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Span(), 20.0);
        QCOMPARE(frm.windSpdPlot->GetXAxis(0)->Span(), 100.0);
    }

    void showAllSwitchesTheDescentChannels()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        fillWinds(q5, 20);
        frm.LoadPlotData(q5);
        frm.ApplyShowAll(true);
        QVERIFY(frm.windDirPlot->GetChannel(1)->Visible());
        QVERIFY(frm.windSpdPlot->GetChannel(1)->Visible());
        // Both panels list what they draw.
        QVERIFY(frm.windSpdPlot->GetChannel(1)->VisibleInLegend());
        QVERIFY(frm.windDirPlot->GetChannel(0)->VisibleInLegend());
        frm.ApplyShowAll(false);
        QVERIFY(!frm.windDirPlot->GetChannel(1)->VisibleInLegend());
        QVERIFY(!frm.windDirPlot->GetChannel(1)->Visible());
        QVERIFY(!frm.windSpdPlot->GetChannel(1)->Visible());
        QVERIFY(frm.windDirPlot->GetChannel(0)->Visible());
    }

    void menuCommandCopiesTheHeightRange()
    {
        Q5 q5;
        q5.showAll = 1;
        TwindPlotFrm frm(q5);
        fillWinds(q5, 20);
        frm.LoadPlotData(q5);
        frm.prepareAndShow();
        QVERIFY(frm.isVisible());
        QVERIFY(frm.windDirPlot->GetChannel(1)->Visible());
        // FormShow refits to the heights of ascent and descent, 0.5..5 km.
        QCOMPARE(frm.windDirPlot->GetYAxis(0)->Min(), 0.0);
        QCOMPARE(frm.windDirPlot->GetYAxis(0)->Span(), 5.5);
        QCOMPARE(frm.windSpdPlot->GetYAxis(0)->Span(), frm.windDirPlot->GetYAxis(0)->Span());
    }

    void importSetsTheTitleLabel()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        frm.finishImport(QStringLiteral("F0612"));
        QCOMPARE(frm.lblTitle->text(), QStringLiteral("Wind Data - F0612"));
    }

    void layoutSplitsTheWidthEvenly()
    {
        Q5 q5;
        TwindPlotFrm frm(q5);
        frm.show();
        frm.resize(601, 500);
        QTest::qWait(1);
        QCOMPARE(frm.windDirPlot->geometry(), QRect(-1, 0, 300, 500));
        QCOMPARE(frm.windSpdPlot->geometry(), QRect(300, 0, 300, 500));
        QCOMPARE(frm.lblTitle->y(), 32);
        QCOMPARE(frm.lblTitle->x(), (600 - frm.lblTitle->width()) / 2);
    }
};

QTEST_MAIN(WindPlotTest)
#include "windplot_test.moc"
