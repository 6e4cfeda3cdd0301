// The page handlers: numeric commit rule, instrument rules, end-of-flight
// boxes, ozonesonde navigation, the surface offset correction, the total
// ozone page and what enables re-calculation.
#include <fstream>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "flight/textfield.h"
#include "support/mainwindow.h"
#include "labelededit.h"
#include "numtext.h"
#include "qtdialogs.h"
#include "plots/mybutton.h"

using namespace lumo;
using namespace lumo::test;

class PagesTest : public QObject {
    Q_OBJECT

    // A window with the sample flight loaded (re-calculation disabled).
    static void load(App& app, const TempDir& dir)
    {
        app.frm->importFile(qs(copySample(dir, "flight1", "flight")));
        QVERIFY(app.frm->q5.isLoaded());
        QVERIFY(!app.frm->mReCalc->isEnabled());
    }

private slots:
    void initTestCase() { initGuiTests(); }

    void commitRuleStoresFormatsAndEnablesReCalc()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);

        typeAndLeave(w.edStnAlt, QStringLiteral("12.34"));
        QCOMPARE(w.q5.stnAlt, 12.34);
        QCOMPARE(w.edStnAlt->text(), QStringLiteral("12.3"));
        QVERIFY(w.mReCalc->isEnabled());
    }

    void commitRuleRefusesInvalidTextAndIgnoresEqualValue()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        QCOMPARE(w.q5.lpFilter, 0.0);

        // Not a number: the text stays, nothing is stored, and the message
        // follows the focus change.
        typeAndLeave(w.edLPFilter, QStringLiteral("abc"));
        QTRY_COMPARE(app.dialogs.errors().size(), std::size_t(1));
        QCOMPARE(w.edLPFilter->text(), QStringLiteral("abc"));
        QCOMPARE(w.q5.lpFilter, 0.0);
        QVERIFY(!w.mReCalc->isEnabled());

        typeAndLeave(w.edLPFilter, QStringLiteral("0.0"));
        QVERIFY(!w.mReCalc->isEnabled());

        // Leaving checks the range as Save Prefs does: no negative rate.
        typeAndLeave(w.edlDetVal, QStringLiteral("-1"));
        QTRY_COMPARE(app.dialogs.errors().size(), std::size_t(2));
        QCOMPARE(app.dialogs.errors()[1].text, std::string("Launch detect ascent rate is not valid."));
        QCOMPARE(w.q5.lDetVal, 2.0);
        QCOMPARE(w.edlDetVal->text(), QStringLiteral("-1"));
        QCOMPARE(w.pageControl->currentWidget(), w.tabPrefs);
    }

    void commitWithoutFlightStoresButKeepsReCalcDisabled()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        typeAndLeave(w.edEndFltAlt, QStringLiteral("15000"));
        QCOMPARE(w.q5.endFltAlt, 15000.0);
        QCOMPARE(w.edEndFltAlt->text(), QStringLiteral("15000.0"));
        QVERIFY(!w.mReCalc->isEnabled());
    }

    void typedNumbersInTheUsersLocaleOrWithPoint()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        double v = 0;
        QVERIFY(parseNumber(QStringLiteral("12,5"), v));
        QCOMPARE(v, 12.5);
        QVERIFY(parseNumber(QStringLiteral(" 12.5 "), v));
        QCOMPARE(v, 12.5);
        QVERIFY(parseNumber(QStringLiteral("1.234"), v));
        QCOMPARE(v, 1.234);
        QVERIFY(!parseNumber(QStringLiteral("12,5 hPa"), v));
        QVERIFY(!parseNumber(QString(), v));
        QLocale::setDefault(QLocale::c());

        // What the windows show always uses ".".
        QCOMPARE(formatNumber("%1.2f", 1013.25), QStringLiteral("1013.25"));
    }

    // The six captions show whole within the window's fixed width, whatever
    // the platform's font: here one a third wider than usual.
    void pageCaptionsFitTheWindow()
    {
        const QFont usual = QApplication::font();
        QFont wide = usual;
        wide.setLetterSpacing(QFont::PercentageSpacing, 133);
        QApplication::setFont(wide);
        TempDir dir;
        App app(dir.file("lumo.ini"));
        QApplication::setFont(usual);
        TMainFrm& w = *app.frm;
        QCOMPARE(w.pageControl->size(), QSize(417, 229));
        QTabBar* bar = w.pageControl->tabBar();
        const QFontMetrics metrics(bar->font());
        for (int i = 0; i < bar->count(); ++i) {
            QVERIFY2(bar->tabRect(i).right() < 417, qPrintable(bar->tabText(i)));
            QVERIFY(bar->tabRect(i).width() > metrics.horizontalAdvance(bar->tabText(i)));
        }
    }

    void dialogFiltersKeepTheirDescriptions()
    {
        // "All files" matches names without an extension too.
        QCOMPARE(QtDialogs::qtFilter("Raw data files (*.raw)|*.raw|All files (*.*)|*.*"),
            QStringLiteral("Raw data files (*.raw) (*.raw);;All files (*.*) (*)"));
        QCOMPARE(QtDialogs::qtFilter("Tables|*.eff;*.bkg"), QStringLiteral("Tables (*.eff *.bkg)"));
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QtDialogs::setFilterOf(dialog, "Raw data files (*.raw)|*.raw|All files (*.*)|*.*");
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        QCOMPARE(types->count(), 2);
        QCOMPARE(types->itemText(0), QStringLiteral("Raw data files (*.raw)"));
        QCOMPARE(types->itemText(1), QStringLiteral("All files (*.*)"));
    }

    void ozonesondeBoxesWriteToTheSlotShown()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QCOMPARE(w.iEditO3Numb->text(), QStringLiteral("3"));
        typeAndLeave(w.edO3PumpFlow, QStringLiteral("29.5"));
        QCOMPARE(w.q5.o3Sonde[2].flow, 29.5);
        QCOMPARE(w.q5.o3Sonde[0].flow, 0.0);
        typeAndLeave(w.edO3CellBkg, QString());
        QCOMPARE(w.edO3CellBkg->text(), QStringLiteral("0.00"));
    }

    void uncheckingPressureSensorSelectsGpsAndStandard()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        w.cbxRSPrInst->setChecked(false);

        QCOMPARE(int(w.q5.rsPrInst), 0);
        QVERIFY(w.cbxRSGPSInst->isChecked());
        QCOMPARE(int(w.q5.rsGpsInst), 1);
        QVERIFY(!w.rbLaunchDetPTU->isEnabled());
        QVERIFY(!w.rbLaunchDetPTU->isChecked());
        QVERIFY(w.rbLaunchDetGPS->isChecked());
        QCOMPARE(int(w.q5.lDetGps), 1);
        QVERIFY(!w.rbSfcUseRS->isEnabled());
        QVERIFY(w.rbSfcUseStd->isChecked());
        QCOMPARE(int(w.q5.sfcUseStd), 1);
        QVERIFY(!w.edSfcRSP->isEnabled());
        QVERIFY(w.mReCalc->isEnabled());

        w.cbxRSPrInst->setChecked(true);
        QVERIFY(w.rbLaunchDetPTU->isEnabled());
        QVERIFY(w.rbSfcUseRS->isEnabled());
        QVERIFY(w.rbLaunchDetGPS->isChecked()); // check states stay
        QVERIFY(w.edSfcRSP->isEnabled());
    }

    void uncheckingGpsRechecksPressureAndSelectsPtu()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        w.cbxRSPrInst->setChecked(false); // GPS detection now
        w.cbxRSGPSInst->setChecked(false);

        QVERIFY(w.cbxRSPrInst->isChecked());
        QCOMPARE(int(w.q5.rsPrInst), 1);
        QCOMPARE(int(w.q5.rsGpsInst), 0);
        QVERIFY(w.rbLaunchDetPTU->isChecked());
        QCOMPARE(int(w.q5.lDetGps), 0);
        QVERIFY(!w.rbLaunchDetGPS->isEnabled());
        QVERIFY(w.rbSfcUseRS->isEnabled());
        QVERIFY(!w.mReCalc->isEnabled()); // no flight loaded
    }

    void controlsChangedFromCodeRunTheirHandlers()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        w.cbxShowAll->setChecked(false);
        QCOMPARE(int(w.q5.showAll), 0);
        w.rbLaunchDetGPS->setChecked(true);
        QCOMPARE(int(w.q5.lDetGps), 1);
        w.rbSfcUseStd->setChecked(true);
        QCOMPARE(int(w.q5.sfcUseStd), 1);
        w.rbTable->setChecked(true);
        QCOMPARE(int(w.q5.resTable), 1);
        QVERIFY(w.edResO3TableFile->isEnabled());
    }

    void showAllDoesNotEnableReCalc()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        w.cbxShowAll->setChecked(false);
        QCOMPARE(int(w.q5.showAll), 0);
        QVERIFY(!w.mReCalc->isEnabled());
    }

    void endFlightBoxes()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);

        w.cbxEndFltPr->setChecked(true);
        QVERIFY(w.edEndFltPr->isEnabled());
        QVERIFY(!w.mReCalc->isEnabled()); // checking alone does not
        w.cbxEndFltPr->setChecked(false);
        QVERIFY(!w.mReCalc->isEnabled()); // endFltPr was 0

        w.cbxEndFltPr->setChecked(true);
        typeAndLeave(w.edEndFltPr, QStringLiteral("10"));
        QCOMPARE(w.q5.endFltPr, 10.0);
        QVERIFY(w.mReCalc->isEnabled());
        w.mReCalc->setEnabled(false);
        w.cbxEndFltPr->setChecked(false);
        QVERIFY(w.mReCalc->isEnabled());
        QCOMPARE(w.q5.endFltPr, 0.0);
        QCOMPARE(w.edEndFltPr->text(), QStringLiteral("0.00"));
        QVERIFY(!w.edEndFltPr->isEnabled());

        w.cbxEndFltAlt->setChecked(true);
        typeAndLeave(w.edEndFltAlt, QStringLiteral("20000"));
        w.cbxEndFltAlt->setChecked(false);
        QCOMPARE(w.edEndFltAlt->text(), QStringLiteral("0.0"));
        QCOMPARE(w.q5.endFltAlt, 0.0);
    }

    void ozonesondeNavigation()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        copyText(w.q5.o3Sonde[1].sn, "Z2002");
        w.q5.o3Sonde[1].bkg = 0.05;
        w.q5.o3Sonde[1].flow = 28.4;

        QVERIFY(!w.btnO3Prev->isEnabled());
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QCOMPARE(w.iEditO3Numb->text(), QStringLiteral("2"));
        QVERIFY(w.btnO3Prev->isEnabled());
        QCOMPARE(w.edO3sn->text(), QStringLiteral("Z2002"));
        QCOMPARE(w.edO3CellBkg->text(), QStringLiteral("0.05"));
        QCOMPARE(w.edO3PumpFlow->text(), QStringLiteral("28.40"));

        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QVERIFY(w.edO3CellBkg->text().isEmpty()); // slot 3 not in use
        QVERIFY(w.edO3PumpFlow->text().isEmpty());
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QCOMPARE(w.iEditO3Numb->text(), QStringLiteral("4"));
        QVERIFY(!w.btnO3Next->isEnabled());
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton); // disabled: no effect
        QCOMPARE(w.iEditO3Numb->text(), QStringLiteral("4"));

        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(w.btnO3Prev, Qt::LeftButton);
        QCOMPARE(w.iEditO3Numb->text(), QStringLiteral("1"));
        QVERIFY(!w.btnO3Prev->isEnabled());
        QVERIFY(w.btnO3Next->isEnabled());
        QVERIFY(!w.mReCalc->isEnabled());
    }

    void surfaceOffsetCorrection()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        w.q5.sfcP = 1010.0;
        w.q5.sfcT = 20.0;
        w.q5.sfcU = 50.0;
        typeAndLeave(w.edSfcStdP, QStringLiteral("1013.25"));
        typeAndLeave(w.edSfcStdT, QStringLiteral("21"));
        typeAndLeave(w.edSfcStdU, QStringLiteral("45"));
        QCOMPARE(w.edSfcDifP->text(), QStringLiteral("-3.25"));
        QCOMPARE(w.edSfcRSP->text(), QStringLiteral("1010.00"));

        w.cbxApplySfcCorr->setChecked(true);
        QCOMPARE(w.q5.sfcCorrP, 1010.0 - 1013.25);
        QCOMPARE(w.q5.sfcCorrT, -1.0);
        QCOMPARE(w.q5.sfcCorrU, 5.0);
        QCOMPARE(w.edSfcRSP->text(), QStringLiteral("1013.25"));
        QCOMPARE(w.edSfcDifP->text(), QStringLiteral("0.00"));
        QCOMPARE(w.edSfcRST->text(), QStringLiteral("21.0"));
        QCOMPARE(w.edSfcDifU->text(), QStringLiteral("0.0"));
        QVERIFY(!w.rbSfcUseStd->isEnabled());
        QVERIFY(!w.rbSfcUseRS->isEnabled());
        QVERIFY(!w.mReCalc->isEnabled()); // no flight loaded

        // A new standard keeps the correction in force.
        typeAndLeave(w.edSfcStdP, QStringLiteral("1013.2"));
        QCOMPARE(w.edSfcStdP->text(), QStringLiteral("1013.20"));
        QCOMPARE(w.q5.sfcCorrP, 1010.0 - 1013.25);
        QCOMPARE(w.edSfcRSP->text(), QStringLiteral("1013.25"));
        QCOMPARE(w.edSfcDifP->text(), QStringLiteral("0.05"));

        // Text that is no number stays as typed and changes nothing.
        typeAndLeave(w.edSfcStdT, QStringLiteral("warm"));
        QCOMPARE(w.edSfcStdT->text(), QStringLiteral("warm"));
        QCOMPARE(w.q5.stdT, 21.0);

        w.cbxApplySfcCorr->setChecked(false);
        QCOMPARE(w.q5.sfcCorrP, 0.0);
        QCOMPARE(w.edSfcRSP->text(), QStringLiteral("1010.00"));
        QCOMPARE(w.edSfcDifP->text(), QStringLiteral("-3.20"));
        QVERIFY(w.rbSfcUseStd->isEnabled());
        QVERIFY(w.rbSfcUseRS->isEnabled());
    }

    void surfaceChoicesEnableReCalcWhenLoaded()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        // A changed standard value makes the totals stale; the same value
        // typed again does not.
        typeAndLeave(w.edSfcStdP, QString::asprintf("%1.2f", w.q5.stdP));
        QVERIFY(!w.mReCalc->isEnabled());
        typeAndLeave(w.edSfcStdP, QStringLiteral("1000"));
        QVERIFY(w.mReCalc->isEnabled());
        w.mReCalc->setEnabled(false);
        w.rbSfcUseStd->setChecked(true);
        QVERIFY(w.mReCalc->isEnabled());
        w.mReCalc->setEnabled(false);
        w.cbxApplySfcCorr->setChecked(true);
        QVERIFY(w.mReCalc->isEnabled());
    }

    void totalOzoneNavigation()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        copyText(w.q5.o3Sonde[1].sn, "Z2002");
        w.q5.o3Measured[1] = 250.0;
        w.q5.o3Residual[1] = 62.5;

        QVERIFY(!w.btnTotalO3Prev->isEnabled());
        QTest::mouseClick(w.btnTotalO3Next, Qt::LeftButton);
        QCOMPARE(w.iEditTotalO3Numb->text(), QStringLiteral("2"));
        QCOMPARE(w.edTotalO3sn->text(), QStringLiteral("Z2002"));
        QCOMPARE(w.edTotalO3Measured->text(), QStringLiteral("250.00"));
        QCOMPARE(w.edTotalO3Residual->text(), QStringLiteral("62.50"));
        QCOMPARE(w.edTotalO3->text(), QStringLiteral("312.50"));
        QVERIFY(w.btnTotalO3Prev->isEnabled());

        QTest::mouseClick(w.btnTotalO3Next, Qt::LeftButton);
        QVERIFY(w.edTotalO3sn->text().isEmpty());
        QVERIFY(w.edTotalO3->text().isEmpty());
        QTest::mouseClick(w.btnTotalO3Next, Qt::LeftButton);
        QCOMPARE(w.iEditTotalO3Numb->text(), QStringLiteral("4"));
        QVERIFY(!w.btnTotalO3Next->isEnabled());
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(w.btnTotalO3Prev, Qt::LeftButton);
        QCOMPARE(w.iEditTotalO3Numb->text(), QStringLiteral("1"));
        QVERIFY(!w.btnTotalO3Prev->isEnabled());

        // A double click on an arrow steps twice, like two clicks: press,
        // release, the double click in place of the second press, release.
        const QPoint centre = w.btnTotalO3Next->rect().center();
        QTest::mouseClick(w.btnTotalO3Next, Qt::LeftButton, {}, centre);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, centre, w.btnTotalO3Next->mapToGlobal(centre), Qt::LeftButton,
            Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.btnTotalO3Next, &dbl);
        QTest::mouseRelease(w.btnTotalO3Next, Qt::LeftButton, {}, centre);
        QCOMPARE(w.iEditTotalO3Numb->text(), QStringLiteral("3"));
    }

    void totalOzoneUncertaintyCorrectionFactorAndTropopause()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        const std::string raw = copySample(dir, "flight1", "flight");
        std::ofstream(dir.file("flight.cfg"), std::ios::app | std::ios::binary) << "[reference]\r\ntotalO3=320\r\n";
        w.importFile(qs(raw));
        QVERIFY(w.q5.isLoaded());
        const double total = w.q5.o3Measured[0] + w.q5.o3Residual[0];
        QCOMPARE(w.lblTotalO3Unc->text(), QStringLiteral("\u00b1 ") + QString::number(w.q5.o3TotalUnc[0], 'f', 2));
        QVERIFY(w.lblTotalO3MeasuredUnc->text().startsWith(QStringLiteral("\u00b1 ")));
        QCOMPARE(w.lblCorrFactor->text(),
                 QStringLiteral("CF ") + QString::number(320 / total, 'f', 3) + QStringLiteral(" (ref. 320.0 DU)"));
        QCOMPARE(w.lblTropopause->text(), QStringLiteral("Tropopause ") + QString::number(w.q5.tropopause.p, 'f', 1)
                     + QStringLiteral(" hPa, ") + QString::number(w.q5.tropopause.height / 1000, 'f', 1) + QStringLiteral(" km"));
        // A slot without an ozonesonde shows no column values; the flight's tropopause stays.
        QTest::mouseClick(w.btnTotalO3Next, Qt::LeftButton);
        QVERIFY(w.lblTotalO3Unc->text().isEmpty());
        QVERIFY(w.lblCorrFactor->text().isEmpty());
        QVERIFY(w.lblTropopause->text().startsWith(QStringLiteral("Tropopause ")));
    }

    // With the standard method the totals say so, with the skipped steps'
    // reasons as the tip; the sonde's method inputs come from the configuration.
    void standardMethodBesideTotalsAndSondeInputs()
    {
        TempDir dir;
        App app(dir.write("s.ini", "[o3]\r\nmethod=standard\r\n"));
        TMainFrm& w = *app.frm;
        const std::string raw = copySample(dir, "flight1", "flight");
        std::string cfg = readFile(dir.file("flight.cfg"));
        const std::size_t at = cfg.find("[ozonesonde#1]");
        QVERIFY(at != std::string::npos);
        cfg.insert(cfg.find('\n', at) + 1, "kiPct=1.0\r\nbufferFraction=0.5\r\nthermistor=internal\r\n");
        std::ofstream(dir.file("flight.cfg"), std::ios::binary) << cfg;
        QVERIFY(w.lblO3Inputs->text().isEmpty());
        w.importFile(qs(raw));
        QVERIFY(w.q5.isLoaded());
        QVERIFY2(w.lblO3Inputs->text().startsWith(QStringLiteral("KI 1.00 %, buffer 0.50\nthermistor internal, sonde ")),
                 qPrintable(w.lblO3Inputs->text()));
        const O3MethodResult& r = w.q5.o3MethodResult[0];
        QCOMPARE(int(r.method), int(O3Method::Standard));
        QVERIFY(w.lblTotalO3Method->text().startsWith(QStringLiteral("Method: standard")));
        for (const SkippedStep& s : r.stepsSkipped) {
            QVERIFY(w.lblTotalO3Method->text().contains(QString::fromStdString(s.name)));
            QVERIFY(w.lblTotalO3Method->toolTip().contains(QString::fromStdString(s.warning)));
        }
        QVERIFY(w.lblTotalO3Method->text().contains(QStringLiteral("classic measured ")
                                                     + QString::number(r.classicMeasured, 'f', 2)));
        // A slot without a sonde shows neither.
        QTest::mouseClick(w.btnTotalO3Next, Qt::LeftButton);
        QVERIFY(w.lblTotalO3Method->text().isEmpty());
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QVERIFY(w.lblO3Inputs->text().isEmpty());
    }

    // A total that a quality warning concerns is marked where it is read;
    // the page counts the warnings and opens their list.
    void doubtfulTotalIsMarked()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        const QColor usual = w.edTotalO3->palette().color(QPalette::Text);
        QVERIFY(w.lblTotalO3Doubtful->text().isEmpty());
        QVERIFY(w.lblWarnings->text().contains(QStringLiteral("warning")));

        // A sounding cut at 20 hPa: short of 10 hPa.
        w.cbxEndFltPr->setChecked(true);
        w.edEndFltPr->selectAll();
        QTest::keyClicks(w.edEndFltPr, QStringLiteral("20")); // typing enables ReCalc
        w.mReCalc->trigger();
        QVERIFY(w.lblTotalO3Doubtful->text().contains(QStringLiteral("doubtful")));
        QVERIFY(w.lblTotalO3Doubtful->toolTip().contains(QStringLiteral("short of 10 hPa")));
        QVERIFY(w.edTotalO3->palette().color(QPalette::Text) != usual);
        QVERIFY(!w.edTotalO3->text().isEmpty());

        const std::size_t shown = app.dialogs.transcript.size();
        emit w.lblWarnings->linkActivated(QStringLiteral("warnings"));
        QCOMPARE(app.dialogs.transcript.size(), shown + 1);
        QVERIFY(app.dialogs.transcript.back().text.find("burst-above-10hpa") != std::string::npos);

        // Back to the full flight: the mark goes.
        w.cbxEndFltPr->setChecked(false);
        w.mReCalc->trigger();
        QVERIFY(w.lblTotalO3Doubtful->text().isEmpty());
        QCOMPARE(w.edTotalO3->palette().color(QPalette::Text), usual);
    }

    // The display keeps two decimals; the tool tip gives the stored value.
    void roundedBoxShowsTheStoredValueInItsTip()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        w.importFile(qs(copySample(dir, "flight4", "flight")));
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QCOMPARE(w.edO3CellBkg->text(), QStringLiteral("0.01"));
        QCOMPARE(w.edO3CellBkg->toolTip(),
            QStringLiteral("Ozonesonde cell background current without ozone (stored value 0.012)"));
        typeAndLeave(w.edO3CellBkg, QStringLiteral("0.05"));
        QCOMPARE(w.edO3CellBkg->toolTip(), QStringLiteral("Ozonesonde cell background current without ozone"));
    }

    void residualMethodAndTableFile()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        w.q5.resTableFile = "previous";
        w.rbTable->setChecked(true);
        QCOMPARE(w.q5.resTableFile, std::string()); // empty box
        QVERIFY(w.mReCalc->isEnabled());
        w.rbCMR->setChecked(true);
        QCOMPARE(int(w.q5.resTable), 0);
        QVERIFY(!w.edResO3TableFile->isEnabled());

        // Browsing keeps the method and does not enable re-calculation.
        w.mReCalc->setEnabled(false);
        const std::string toz = dir.write("column.toz", "");
        app.dialogs.openAnswers.push_back(toz);
        QTest::mouseClick(w.btnBrowse, Qt::LeftButton);
        QCOMPARE(app.dialogs.openRequests.back().title, std::string("Residual Ozone Table"));
        QCOMPARE(app.dialogs.openRequests.back().filter,
            std::string("Residual ozone table data (*.toz)|*.toz|All files (*.*)|*.*"));
        QCOMPARE(w.edResO3TableFile->text(), qs(toz));
        QCOMPARE(w.q5.resTableFile, toz);
        QVERIFY(w.rbCMR->isChecked());
        QVERIFY(!w.mReCalc->isEnabled());

        w.edResO3TableFile->setText(QStringLiteral("typed.toz"));
        leave(w.edResO3TableFile);
        QCOMPARE(w.q5.resTableFile, std::string("typed.toz"));
        QVERIFY(!w.mReCalc->isEnabled());
    }
};

QTEST_MAIN(PagesTest)
#include "pages_test.moc"
