#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <QCheckBox>
#include <QClipboard>
#include <QSpinBox>

#include <qcustomplot.h>

#include <cmath>

#include "plots/ploteditor.h"
#include "plots/plotticker.h"
#include "plots/xyplot.h"

using namespace lumo;

namespace {

// A plot with three channels bound to the default axes, design range
// 0..100 on both axes and margins of 0.5.
struct Fixture {
    XYPlot plot;
    PlotChannel* a;
    PlotChannel* b;
    PlotChannel* c;
    Fixture()
    {
        a = &plot.AddChannel(QStringLiteral("A"), Qt::red, 100);
        b = &plot.AddChannel(QStringLiteral("B"), Qt::blue, 100);
        c = &plot.AddChannel(QStringLiteral("C"), Qt::green, 100);
        for (PlotAxis* axis : {plot.GetXAxis(0), plot.GetYAxis(0)}) {
            axis->setDesignRange(0, 100);
            axis->setTrackingMargins(0.5, 0.5);
        }
        plot.endDesign();
    }
};

} // namespace

class XYPlotTest : public QObject {
    Q_OBJECT
private slots:
    void unchangedValueRaisesNoNotification()
    {
        Fixture f;
        QSignalSpy spy(&f.plot, &XYPlot::OnYAxisMinSpanChange);
        PlotAxis* y = f.plot.GetYAxis(0);
        y->SetMin(0);
        y->SetSpan(100);
        y->setRange(0, 100);
        QCOMPARE(spy.count(), 0);
        y->SetMin(5);
        QCOMPARE(spy.count(), 1);
        const QList<QVariant> args = spy.takeFirst();
        QCOMPARE(args[0].toInt(), 0);
        QCOMPARE(args[1].toDouble(), 0.0);
        QCOMPARE(args[2].toDouble(), 100.0);
        QCOMPARE(args[3].toDouble(), 5.0);
        QCOMPARE(args[4].toDouble(), 100.0);
        y->SetSpan(100);
        QCOMPARE(spy.count(), 0);
    }

    void designRangesRaiseNothing()
    {
        XYPlot plot;
        QSignalSpy spy(&plot, &XYPlot::OnXAxisMinSpanChange);
        plot.GetXAxis(0)->setDesignRange(3, 4);
        plot.GetXAxis(0)->setRange(1, 2);
        QCOMPARE(spy.count(), 0);
        plot.endDesign();
        plot.GetXAxis(0)->setRange(5, 6);
        QCOMPARE(spy.count(), 1);
    }

    void zoomToFitUsesVisibleChannelsWithMargins()
    {
        Fixture f;
        f.a->AddXY(10, 1);
        f.a->AddXY(20, 3);
        f.b->AddXY(-50, 500); // hidden: ignored by ZoomToFit
        f.a->SetVisible(true);
        f.plot.GetXAxis(0)->ZoomToFit();
        f.plot.GetYAxis(0)->ZoomToFit();
        QCOMPARE(f.plot.GetXAxis(0)->Min(), 9.5);
        QCOMPARE(f.plot.GetXAxis(0)->Span(), 11.0);
        QCOMPARE(f.plot.GetYAxis(0)->Min(), 0.5);
        QCOMPARE(f.plot.GetYAxis(0)->Span(), 3.0);
    }

    void zoomToFitLeavesAxisWithoutDataOrWithOneValue()
    {
        Fixture f;
        PlotAxis* x = f.plot.GetXAxis(0);
        x->SetTrackingEnabled(false);
        x->setRange(40, 20);
        QSignalSpy spy(&f.plot, &XYPlot::OnXAxisMinSpanChange);
        f.a->AddXY(7, 1);
        f.a->AddXY(7, 2); // one distinct X value
        f.b->AddXY(1, 1);
        f.b->AddXY(99, 1); // hidden
        x->ZoomToFit();
        QCOMPARE(x->Min(), 40.0);
        QCOMPARE(x->Span(), 20.0);
        f.a->SetVisible(true);
        x->ZoomToFit();
        QCOMPARE(x->Min(), 40.0);
        QCOMPARE(spy.count(), 0);
        // All channels hidden.
        f.a->SetVisible(false);
        x->ZoomToFit();
        QCOMPARE(x->Span(), 20.0);
        QCOMPARE(spy.count(), 0);
    }

    void fastZoomToFitIncludesHiddenChannels()
    {
        Fixture f;
        PlotAxis* x = f.plot.GetXAxis(0);
        f.a->AddXY(10, 1);
        f.a->AddXY(20, 1);
        f.b->AddXY(-30, 1); // hidden
        f.a->SetVisible(true);
        x->ZoomToFitFast();
        QCOMPARE(x->Min(), -30.5);
        QCOMPARE(x->Span(), 51.0);
        x->ZoomToFit();
        QCOMPARE(x->Min(), 9.5);
        QCOMPARE(x->Span(), 11.0);
    }

    void fastZoomToFitSkipsEmptyAndSingleValuedAxes()
    {
        Fixture f;
        PlotAxis* y = f.plot.GetYAxis(0);
        y->SetTrackingEnabled(false);
        y->ZoomToFitFast();
        QCOMPARE(y->Min(), 0.0);
        QCOMPARE(y->Span(), 100.0);
        f.c->AddXY(1, 4);
        f.c->AddXY(2, 4);
        y->ZoomToFitFast();
        QCOMPARE(y->Span(), 100.0);
    }

    void axisNamesMatchWithoutRegardToCase()
    {
        Fixture f;
        f.a->SetXAxisName(QStringLiteral("x-axis"));
        f.b->SetXAxisName(QStringLiteral("Other"));
        f.a->AddXY(1, 0);
        f.a->AddXY(2, 0);
        f.b->AddXY(-100, 0);
        f.b->AddXY(100, 0);
        f.a->SetVisible(true);
        f.b->SetVisible(true);
        f.plot.GetXAxis(0)->ZoomToFitFast();
        QCOMPARE(f.plot.GetXAxis(0)->Min(), 0.5);
        QCOMPARE(f.plot.GetXAxis(0)->Span(), 2.0);
    }

    void clearAllDataKeepsStatesAndRanges()
    {
        Fixture f;
        f.a->SetVisible(true);
        f.a->SetVisibleInLegend(true);
        f.a->AddXY(1, 2);
        f.a->AddXY(3, 4);
        f.plot.GetXAxis(0)->setRange(-1, 7);
        f.plot.ClearAllData();
        QCOMPARE(f.a->count(), 0);
        QVERIFY(f.a->Visible());
        QVERIFY(f.a->VisibleInLegend());
        QVERIFY(!f.b->Visible());
        QCOMPARE(f.plot.GetXAxis(0)->Min(), -1.0);
        QCOMPARE(f.plot.GetXAxis(0)->Span(), 7.0);
        f.a->AddXY(5, 6);
        QCOMPARE(f.a->xMin(), 5.0);
        QCOMPARE(f.a->yMax(), 6.0);
    }

    void statisticsFollowEveryPointButTheMarker()
    {
        Fixture f;
        f.c->AddXY(3, -1);
        f.c->AddXY(-2, 8);
        f.c->AddXY(1, -9999.9);
        f.c->AddXY(-9999.9, 2);
        f.c->AddXY(2, 4);
        QCOMPARE(f.c->count(), 3);
        QCOMPARE(f.c->xMin(), -2.0);
        QCOMPARE(f.c->xMax(), 3.0);
        QCOMPARE(f.c->yMin(), -1.0);
        QCOMPARE(f.c->yMax(), 8.0);
        QCOMPARE(f.c->Points()[1], QPointF(-2, 8));
        // The unknown values break the drawn line once, between (-2, 8) and (2, 4).
        f.c->syncCurve();
        const auto* data = f.c->curve()->data().data();
        QCOMPARE(data->size(), 4);
        QVERIFY(std::isnan((data->constBegin() + 2)->value));
        QCOMPARE((data->constBegin() + 3)->key, 2.0);
        f.plot.GetYAxis(0)->ZoomToFitFast();
        QVERIFY(f.plot.GetYAxis(0)->Min() > -10);
    }

    void trackingWidensRangeToTakeNewValues()
    {
        Fixture f;
        QSignalSpy spy(&f.plot, &XYPlot::OnYAxisMinSpanChange);
        f.b->AddXY(1, 150); // hidden channels feed tracking too
        f.b->AddXY(1, -20);
        PlotAxis* y = f.plot.GetYAxis(0);
        QCOMPARE(y->Min(), -20.5);
        QCOMPARE(y->Min() + y->Span(), 150.5);
        QCOMPARE(spy.count(), 1);
        // Inside the range: nothing changes.
        f.b->AddXY(1, 10);
        QCOMPARE(y->Min(), -20.5);
        QCOMPARE(spy.count(), 1);
    }

    void pausedAxisDoesNotTrack()
    {
        Fixture f;
        PlotAxis* y = f.plot.GetYAxis(0);
        y->SetTrackingEnabled(false);
        f.a->AddXY(0, 1000);
        QCOMPARE(y->Span(), 100.0);
    }

    void resumeRestoresTheRangeSavedAtPause()
    {
        Fixture f;
        f.plot.GetXAxis(0)->setRange(10, 30);
        f.plot.GetYAxis(0)->setRange(-5, 15);
        QSignalSpy buttons(&f.plot, &XYPlot::OnToolBarButtonClick);
        f.plot.performButton(ToolBarButton::ZoomIn); // pauses first
        QCOMPARE(f.plot.GetXAxis(0)->Min(), 17.5);
        QCOMPARE(f.plot.GetXAxis(0)->Span(), 15.0);
        QVERIFY(!f.plot.GetXAxis(0)->TrackingEnabled());
        f.plot.performButton(ToolBarButton::ZoomOut);
        f.plot.performButton(ToolBarButton::ZoomOut);
        QCOMPARE(f.plot.GetYAxis(0)->Span(), 30.0);
        f.plot.performButton(ToolBarButton::Resume);
        QVERIFY(f.plot.GetXAxis(0)->TrackingEnabled());
        QCOMPARE(f.plot.GetXAxis(0)->Min(), 10.0);
        QCOMPARE(f.plot.GetXAxis(0)->Span(), 30.0);
        QCOMPARE(f.plot.GetYAxis(0)->Min(), -5.0);
        QCOMPARE(f.plot.GetYAxis(0)->Span(), 15.0);
        QCOMPARE(buttons.count(), 4);
        QCOMPARE(buttons.last()[1].value<ToolBarButton>(), ToolBarButton::Resume);
    }

    void resumeWithoutRestoreKeepsTheRange()
    {
        Fixture f;
        PlotAxis* x = f.plot.GetXAxis(0);
        x->SetRestoreValuesOnResume(false);
        x->SetTrackingEnabled(false);
        x->setRange(3, 4);
        x->SetTrackingEnabled(true);
        QCOMPARE(x->Min(), 3.0);
    }

    void modeButtonsSetEveryAxis()
    {
        Fixture f;
        f.plot.performButton(ToolBarButton::ZoomAxesMode);
        QCOMPARE(f.plot.GetXAxis(0)->Mode(), AxisMode::Zoom);
        QCOMPARE(f.plot.GetYAxis(0)->Mode(), AxisMode::Zoom);
        f.plot.performButton(ToolBarButton::ScrollAxesMode);
        QCOMPARE(f.plot.GetYAxis(0)->Mode(), AxisMode::Scroll);
    }

    void buttonsShownByDefault()
    {
        XYPlot plot;
        QVERIFY(plot.buttonVisible(ToolBarButton::Resume));
        QVERIFY(plot.buttonVisible(ToolBarButton::Print));
        QVERIFY(!plot.buttonVisible(ToolBarButton::Select));
        QVERIFY(!plot.buttonVisible(ToolBarButton::Preview));
        plot.setButtonVisible(ToolBarButton::Copy, false);
        QVERIFY(!plot.buttonVisible(ToolBarButton::Copy));
    }

    void mouseDragScrollsAndPausesTracking()
    {
        Fixture f;
        f.plot.resize(400, 300);
        f.plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.plot));
        f.plot.replotNow();
        QWidget* area = f.plot.customPlot();
        const QRect rect = f.plot.customPlot()->axisRect()->rect();
        QSignalSpy spy(&f.plot, &XYPlot::OnXAxisMinSpanChange);
        QTest::mousePress(area, Qt::LeftButton, {}, rect.center());
        QMouseEvent move(QEvent::MouseMove, rect.center() + QPoint(rect.width() / 4, 0),
            area->mapToGlobal(rect.center() + QPoint(rect.width() / 4, 0)), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(area, &move);
        QTest::mouseRelease(area, Qt::LeftButton, {}, rect.center() + QPoint(rect.width() / 4, 0));
        // A quarter of the width to the right moves the range a quarter left.
        QVERIFY(spy.count() >= 1);
        QVERIFY(qAbs(f.plot.GetXAxis(0)->Min() + 25.0) < 1.0);
        QCOMPARE(f.plot.GetXAxis(0)->Span(), 100.0);
        QVERIFY(!f.plot.GetXAxis(0)->TrackingEnabled());
        f.plot.performButton(ToolBarButton::Resume);
        QCOMPARE(f.plot.GetXAxis(0)->Min(), 0.0);
    }

    void wheelZoomsTheYAxisOnly()
    {
        Fixture f;
        f.plot.resize(400, 300);
        f.plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.plot));
        f.plot.replotNow();
        QCustomPlot* cp = f.plot.customPlot();
        const QPointF at(cp->axisRect()->center());
        QWheelEvent wheel(at, cp->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(cp, &wheel);
        QVERIFY(f.plot.GetYAxis(0)->Span() < 100.0);
        QVERIFY(!f.plot.GetYAxis(0)->TrackingEnabled());
        QCOMPARE(f.plot.GetXAxis(0)->Span(), 100.0);
        QVERIFY(f.plot.GetXAxis(0)->TrackingEnabled());
    }

    void dragInZoomModeNarrowsTheRange()
    {
        Fixture f;
        f.plot.resize(400, 300);
        f.plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.plot));
        f.plot.replotNow();
        f.plot.performButton(ToolBarButton::ZoomAxesMode);
        QWidget* area = f.plot.customPlot();
        const QPoint from = f.plot.customPlot()->axisRect()->center();
        const QPoint to = from + QPoint(60, 0);
        QTest::mousePress(area, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, area->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(area, &move);
        QTest::mouseRelease(area, Qt::LeftButton, {}, to);
        QVERIFY(f.plot.GetXAxis(0)->Span() < 100.0);
        QCOMPARE(f.plot.GetYAxis(0)->Span(), 100.0); // no vertical movement
    }

    void hintNamesTheNearestVisiblePoint()
    {
        Fixture f;
        f.plot.resize(400, 300);
        f.plot.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.plot));
        f.a->AddXY(50, 50);
        f.a->AddXY(60, 60);
        f.a->SetVisible(true);
        f.plot.replotNow();
        QCustomPlot* cp = f.plot.customPlot();
        const QPoint at(int(cp->xAxis->coordToPixel(50)), int(cp->yAxis->coordToPixel(50)));
        const QString hint = f.plot.hintAt(cp->mapTo(&f.plot, at + QPoint(2, 1)));
        QVERIFY2(hint.contains(QStringLiteral("A")) && hint.contains(QStringLiteral("50.00")), qPrintable(hint));
        QVERIFY(f.plot.hintAt(cp->mapTo(&f.plot, QPoint(at.x() + 60, at.y() + 60))).isEmpty());
        f.a->SetVisible(false);
        QVERIFY(f.plot.hintAt(cp->mapTo(&f.plot, at)).isEmpty());
    }

    void tickLabelsUseDecimalPointWhateverTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        PlotTicker ticker;
        ticker.setDecimals(2);
        QCOMPARE(ticker.format(1.5), QStringLiteral("1.50"));
        ticker.setDateTime(true);
        // 2026-12-09 12:34:56 as days since 1899-12-30.
        QCOMPARE(ticker.format(46365.0 + (12 * 3600 + 34 * 60 + 56) / 86400.0), QStringLiteral("12:34:56"));
        QLocale::setDefault(QLocale::c());
    }

    void savesPictureInTheFormatOfTheExtension()
    {
        Fixture f;
        f.plot.SetTitleText(QStringLiteral("Title"));
        f.a->AddXY(0, 0);
        f.a->AddXY(100, 100);
        f.a->SetVisible(true);
        QTemporaryDir dir;
        const struct {
            const char* name;
            const char* format;
        } files[] = {{"p.png", "png"}, {"p.jpg", "jpg"}, {"p.jpeg", "jpg"}, {"p.bmp", "bmp"}};
        for (const auto& file : files) {
            const QString path = dir.filePath(QString::fromLatin1(file.name));
            QVERIFY(f.plot.saveToFile(path, 320, 240));
            QImage image(path, file.format);
            QCOMPARE(image.size(), QSize(320, 240));
        }
        const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
        QVERIFY(f.plot.saveToFile(pdf, 320, 240));
        QFile pdfFile(pdf);
        QVERIFY(pdfFile.open(QIODevice::ReadOnly));
        QVERIFY(pdfFile.read(5).startsWith("%PDF"));
        QVERIFY(!f.plot.saveToFile(dir.filePath(QStringLiteral("p.txt"))));
        QVERIFY(!f.plot.saveToFile(dir.filePath(QStringLiteral("absent/p.png"))));
        // Each picture went through a temporary file that is gone again.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 QStringList({"p.bmp", "p.jpeg", "p.jpg", "p.pdf", "p.png"}));
    }

    void visibleChannelIsDrawnInItsColour()
    {
        Fixture f;
        f.plot.GetXAxis(0)->SetTrackingEnabled(false);
        f.plot.GetYAxis(0)->SetTrackingEnabled(false);
        f.a->SetColor(QColor(0, 0, 255));
        f.a->SetTraceLineWidth(4);
        f.a->AddXY(0, 50);
        f.a->AddXY(100, 50);
        auto countBlue = [&] {
            const QImage image = f.plot.picture(300, 300).toImage();
            int blue = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixelColor(x, y) == QColor(0, 0, 255))
                        ++blue;
            return blue;
        };
        QCOMPARE(countBlue(), 0);
        f.a->SetVisible(true);
        QVERIFY(countBlue() > 200);
    }

    void legendListsMarkedChannelsInChannelOrder()
    {
        Fixture f;
        for (PlotChannel* ch : {f.a, f.b, f.c})
            ch->AddXY(1, 1);
        f.c->SetVisibleInLegend(true);
        f.a->SetVisibleInLegend(true);
        f.plot.picture(200, 200);
        QCPLegend* legend = f.plot.customPlot()->legend;
        QCOMPARE(legend->itemCount(), 2);
        QVERIFY(legend->visible());
        auto* first = static_cast<QCPPlottableLegendItem*>(legend->item(0));
        QCOMPARE(first->plottable()->name(), QStringLiteral("A"));
        QCOMPARE(first->textColor(), QColor(Qt::red));
        f.a->SetVisibleInLegend(false);
        f.c->SetVisibleInLegend(false);
        f.plot.picture(200, 200);
        QVERIFY(!legend->visible());
        // The legend lists what is drawn: a marked channel without points
        // has no entry, and gets one with its first point.
        f.b->clear();
        f.b->SetVisibleInLegend(true);
        f.plot.picture(200, 200);
        QVERIFY(!legend->visible());
        f.b->AddXY(2, 2);
        f.plot.picture(200, 200);
        QCOMPARE(legend->itemCount(), 1);
    }

    void pictureNameGetsTheFilterExtension()
    {
        QCOMPARE(XYPlot::withFilterExtension(QStringLiteral("/t/plot"), QStringLiteral("JPEG picture (*.jpg *.jpeg)")),
            QStringLiteral("/t/plot.jpg"));
        QCOMPARE(XYPlot::withFilterExtension(QStringLiteral("/t/plot.pdf"), QStringLiteral("PNG picture (*.png)")),
            QStringLiteral("/t/plot.pdf"));
    }

    // Zoom Out widens to the data's full range and no further; Reset zoom
    // goes straight back to it.
    void zoomOutStopsAtTheDataRange()
    {
        Fixture f;
        f.a->SetVisible(true);
        f.a->AddXY(10, 10);
        f.a->AddXY(20, 30);
        PlotAxis* x = f.plot.GetXAxis(0);
        x->ZoomToFit();
        const double min = x->Min(), span = x->Span();
        x->setRange(14, 2);
        f.plot.performButton(ToolBarButton::ZoomOut);
        QCOMPARE(x->Span(), 4.0);
        for (int i = 0; i < 5; ++i)
            f.plot.performButton(ToolBarButton::ZoomOut);
        QCOMPARE(x->Min(), min);
        QCOMPARE(x->Span(), span);
        x->setRange(14, 2);
        f.plot.resetZoom();
        QCOMPARE(x->Span(), span);
    }

    void legendLiesBelowTheDataAreaWithEveryEntry()
    {
        Fixture f;
        for (int i = 0; i < 12; ++i) {
            PlotChannel& c = f.plot.AddChannel(QStringLiteral("Channel %1").arg(i), Qt::blue, 100);
            c.SetVisible(true);
            c.SetVisibleInLegend(true);
            c.AddXY(i, i);
        }
        f.plot.resize(300, 400);
        f.plot.picture();
        QCustomPlot* cp = f.plot.customPlot();
        QCPLegend* legend = cp->legend;
        QCOMPARE(legend->itemCount(), 12);
        const QRect data = cp->axisRect()->rect();
        for (int i = 0; i < legend->itemCount(); ++i) {
            const QRect entry = legend->item(i)->outerRect();
            QVERIFY2(!entry.intersects(data), qPrintable(QString::number(i)));
            QVERIFY(cp->rect().contains(entry));
        }
        QVERIFY(legend->wrap() >= 1);
    }

    void lastTickLabelOfTheXAxisIsNotCut()
    {
        Fixture f;
        PlotAxis* x = f.plot.GetXAxis(0);
        x->setLabelDecimals(2);
        x->setRange(0, 123456);
        f.plot.resize(400, 300);
        f.plot.picture();
        QCustomPlot* cp = f.plot.customPlot();
        const QFontMetrics metrics(cp->xAxis->tickLabelFont());
        const int half = metrics.horizontalAdvance(QStringLiteral("123456.00")) / 2;
        QVERIFY(cp->axisRect()->rect().right() + half < cp->width());
    }

    void logarithmicAxisZoomsByEqualFactors()
    {
        Fixture f;
        PlotAxis* y = f.plot.GetYAxis(0);
        y->setLogarithmic(true);
        y->setRange(10, 990);
        f.plot.performButton(ToolBarButton::ZoomIn);
        // About the middle of 10..1000 in the logarithm: 100 +- one decade / 2.
        QVERIFY(std::fabs(y->Min() - std::pow(10.0, 1.5)) < 1e-9);
        QVERIFY(std::fabs(y->Min() + y->Span() - std::pow(10.0, 2.5)) < 1e-9);
        QVERIFY(f.plot.GetXAxis(0)->Span() == 50);
    }

    void higherLayerIsDrawnOverLowerLayer()
    {
        Fixture f;
        f.a->SetLayer(110);
        f.b->SetLayer(90);
        f.plot.picture(100, 100);
        QCustomPlot* cp = f.plot.customPlot();
        QVERIFY(f.a->curve()->layer()->index() > f.b->curve()->layer()->index());
        QVERIFY(f.b->curve()->layer()->index() > cp->layer(QStringLiteral("main"))->index());
        f.b->SetLayer(120);
        f.plot.picture(100, 100);
        QVERIFY(f.a->curve()->layer()->index() < f.b->curve()->layer()->index());
    }

    void editorChangesChannelsButKeepsThemAll()
    {
        Fixture f;
        PlotEditor editor(f.plot);
        const QList<QSpinBox*> widths = editor.findChildren<QSpinBox*>();
        QCOMPARE(widths.size(), 3); // one per channel, no way to add or remove
        widths[1]->setValue(5);
        const QList<QCheckBox*> boxes = editor.findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), 6); // visible and legend per channel
        boxes[4]->setChecked(true); // third channel visible
        editor.apply();
        QCOMPARE(f.plot.channelCount(), 3);
        QCOMPARE(f.b->TraceLineWidth(), 5);
        QCOMPARE(f.a->TraceLineWidth(), 2);
        QVERIFY(f.c->Visible());
        QVERIFY(!f.a->Visible());
        QCOMPARE(f.plot.GetXAxis(0)->Span(), 100.0);
    }

    void copyPutsAPictureOnTheClipboard()
    {
        Fixture f;
        f.plot.resize(300, 200);
        QApplication::clipboard()->clear();
        f.plot.performButton(ToolBarButton::Copy);
        QVERIFY(!QApplication::clipboard()->image().isNull());
    }
};

QTEST_MAIN(XYPlotTest)
#include "xyplot_test.moc"
