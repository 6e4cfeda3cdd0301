// File > Import driven through the menu: a sample flight end to end, the
// configurations that decide the instrument choices, and every failure path.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "support/mainwindow.h"
#include "labelededit.h"
#include "lumoapp.h"
#include "numtext.h"
#include "plots/mybutton.h"
#include "plots/sfcplot.h"
#include "plots/fltplot.h"
#include "plots/profileplot.h"
#include "plots/windplot.h"
#include "plots/xyplot.h"

using namespace lumo;
using namespace lumo::test;

class ImportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { initGuiTests(); }

    void importFillsPagesAndEnablesCommands()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        app.dialogs.openAnswers.push_back(copySample(dir, "flight1", "flight"));
        w.mImport->trigger();

        QCOMPARE(app.dialogs.openRequests.size(), size_t(1));
        QCOMPARE(app.dialogs.openRequests[0].title, std::string("Import Data"));
        QCOMPARE(app.dialogs.openRequests[0].filter, std::string("Raw data files (*.raw)|*.raw|All files (*.*)|*.*"));
        QVERIFY(app.dialogs.errors().empty());
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumo - flight"));
        QCOMPARE(qApp->property("applicationTitle").toString(), QStringLiteral("Lumo - flight"));
        QCOMPARE(w.cfgFileName, qs(dir.file("flight.cfg")));
        QVERIFY(w.q5.isLoaded());

        QCOMPARE(w.edStation->text(), QString::fromLatin1(w.q5.stnName));
        QVERIFY(!w.edStation->text().isEmpty());
        QCOMPARE(w.edStnLat->text(), QString::asprintf("%1.4f", w.q5.stnLat));
        QCOMPARE(w.edStnAlt->text(), QString::asprintf("%1.1f", w.q5.stnAlt));
        QCOMPARE(w.edRSId->text(), QString::fromLatin1(w.q5.rsSondeId));
        QCOMPARE(w.edO3sn->text(), QString::fromLatin1(w.q5.o3Sonde[0].sn));
        QCOMPARE(w.edO3CellBkg->text(), QString::asprintf("%1.2f", w.q5.o3Sonde[0].bkg));
        QCOMPARE(w.edO3PumpFlow->text(), QString::asprintf("%1.2f", w.q5.o3Sonde[0].flow));
        QCOMPARE(w.edSfcStdP->text(), QString::asprintf("%1.2f", w.q5.stdP));
        QCOMPARE(w.edSfcRSP->text(), QString::asprintf("%1.2f", w.q5.sfcP));
        QCOMPARE(w.edSfcDifT->text(), QString::asprintf("%1.1f", w.q5.sfcT - w.q5.stdT));

        // Totals of ozonesonde 1, from a real processing run.
        QVERIFY(w.q5.o3Measured[0] > 0);
        QVERIFY(w.q5.o3Residual[0] > 0);
        QCOMPARE(w.edTotalO3sn->text(), QString::fromLatin1(w.q5.o3Sonde[0].sn));
        QCOMPARE(w.edTotalO3Measured->text(), QString::asprintf("%1.2f", w.q5.o3Measured[0]));
        QCOMPARE(w.edTotalO3Residual->text(), QString::asprintf("%1.2f", w.q5.o3Residual[0]));
        QCOMPARE(w.edTotalO3->text(), QString::asprintf("%1.2f", w.q5.o3Measured[0] + w.q5.o3Residual[0]));

        for (QAction* a : {w.mExportO3, w.mExportAll, w.mSurface, w.mFlight, w.mProfile})
            QVERIFY(a->isEnabled());
        QCOMPARE(w.mExportWinds->isEnabled(), bool(w.q5.rsGpsInst));
        QCOMPARE(w.mWinds->isEnabled(), bool(w.q5.rsGpsInst));
        QVERIFY(!w.mReCalc->isEnabled());
        for (QPushButton* b : {w.btnO3EffLoad, w.btnO3EffSave, w.btnO3BkgLoad, w.btnO3BkgSave})
            QVERIFY(b->isEnabled());
        QVERIFY(!w.btnO3Prev->isEnabled());
        QVERIFY(w.btnO3Next->isEnabled());

        QCOMPARE(w.sfcPlotFrm->sfcPlot->TitleText(), QStringLiteral("Surface Data - flight"));
        QCOMPARE(w.fltPlotFrm->fltPlot->TitleText(), QStringLiteral("Flight Data - flight"));
        QCOMPARE(w.windPlotFrm->lblTitle->text(), QStringLiteral("Wind Data - flight"));
        QCOMPARE(w.profilePlotFrm->profilePlot->TitleText(), QStringLiteral("Ozone Profile - flight"));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void commandLineImportsTheFlightAfterStartUp()
    {
        TempDir dir;
        ScriptedDialogs dialogs;
        const std::string raw = copySample(dir, "flight1", "cmdline");
        const auto w = startLumo({QStringLiteral("lumo"), qs(dir.file("c.ini")), qs(raw)}, dialogs, 0);
        QCOMPARE(w->prefsFileName, qs(dir.file("c.ini")));
        QVERIFY(w->isVisible());
        QVERIFY(w->sfcPlotFrm && w->fltPlotFrm && w->windPlotFrm);
        QCOMPARE(w->q5.plotSinks.size(), size_t(4));
        QCOMPARE(w->q5.plotSinks[0], static_cast<PlotSink*>(w->sfcPlotFrm));
        QCOMPARE(w->q5.plotSinks[2], static_cast<PlotSink*>(w->windPlotFrm));
        QCOMPARE(w->q5.plotSinks[3], static_cast<PlotSink*>(w->profilePlotFrm));
        QVERIFY(!w->q5.isLoaded()); // the import waits for the event loop
        QTRY_COMPARE(w->windowTitle(), QStringLiteral("Lumo - cmdline"));
        QVERIFY(w->q5.isLoaded());
        QVERIFY(dialogs.openRequests.empty());

        // Without a configuration beside it, the configuration is asked for.
        ScriptedDialogs asked;
        const std::string alone = copySample(dir, "flight1", "alone", false);
        const auto w2 = startLumo({QStringLiteral("lumo"), qs(dir.file("c.ini")), qs(alone)}, asked, 0);
        QTRY_COMPARE(asked.openRequests.size(), size_t(1));
        QCOMPARE(asked.openRequests[0].title, std::string("Import Configuration"));
        QCOMPARE(asked.errors().back().text, std::string("Flight config not found, load aborted."));
    }

    void importWhileLoadedAnsweredNoChangesNothing()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        w.importFile(qs(copySample(dir, "flight1", "first")));
        const QString title = w.windowTitle();
        const QString src = w.srcFileName;

        app.dialogs.openAnswers.push_back(copySample(dir, "flight1", "second"));
        app.dialogs.answers.push_back(false);
        w.mImport->trigger();

        QCOMPARE(app.dialogs.transcript.back().caption, std::string("Confirm"));
        QCOMPARE(app.dialogs.transcript.back().text, std::string("Unload current flight and import new flight?"));
        QVERIFY(app.dialogs.openRequests.empty());
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(w.srcFileName, src);

        app.dialogs.answers.push_back(true);
        w.mImport->trigger();
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumo - second"));
    }

    void missingConfigAskedForAndCancelled()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        const std::string raw = copySample(dir, "flight1", "alone", false);
        app.dialogs.openAnswers = {raw, std::nullopt};
        w.mImport->trigger();

        QCOMPARE(app.dialogs.openRequests.size(), size_t(2));
        QCOMPARE(app.dialogs.openRequests[1].title, std::string("Import Configuration"));
        QCOMPARE(app.dialogs.openRequests[1].filter, std::string("Configuration files (*.cfg)|*.cfg|All files (*.*)|*.*"));
        QCOMPARE(app.dialogs.errors().size(), size_t(1));
        QCOMPARE(app.dialogs.errors()[0].caption, std::string("Error"));
        QCOMPARE(app.dialogs.errors()[0].text, std::string("Flight config not found, load aborted."));
        QVERIFY(w.srcFileName.isEmpty());
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumo"));
        QVERIFY(!w.q5.isLoaded());
        QVERIFY(!w.mExportO3->isEnabled());
    }

    // An import that ends at the configuration dialog changes nothing: the
    // next export proposes and names the loaded flight's files.
    void abortedImportLeavesTheLoadedFlightsExport()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        const std::string raw = copySample(dir, "flight1", "flight");
        w.importFile(qs(raw));
        app.dialogs.answers.push_back(true);
        app.dialogs.openAnswers = {copySample(dir, "flight1", "alone", false), std::nullopt};
        w.mImport->trigger();
        QCOMPARE(app.dialogs.errors().back().text, std::string("Flight config not found, load aborted."));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumo - flight"));
        QVERIFY(w.mExportO3->isEnabled());

        const std::string out = dir.file("out.o3csv");
        app.dialogs.saveAnswers.push_back(out);
        w.mExportO3->trigger();
        QCOMPARE(app.dialogs.saveRequests.back().fileName, dir.file("flight.o3csv"));
        const std::string text = readFile(out);
        QVERIFY(text.find("Source file = " + raw + "\r\n") != std::string::npos);
        QVERIFY(text.find("Config file = " + dir.file("flight.cfg") + "\r\n") != std::string::npos);
        QVERIFY(text.find("alone") == std::string::npos);
    }

    void missingConfigChosenElsewhere()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        const std::string raw = copySample(dir, "flight1", "alone", false);
        copySample(dir, "flight1", "other");
        app.dialogs.openAnswers = {raw, dir.file("other.cfg")};
        w.mImport->trigger();
        QVERIFY(app.dialogs.errors().empty());
        QCOMPARE(w.cfgFileName, qs(dir.file("other.cfg")));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumo - alone"));
        QVERIFY(w.q5.isLoaded());
    }

    void unusableConfigAbortsWithClearedPages()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        // The loaded flight has no pressure sensor: clearing the pages checks
        // the box again, whose handler sees the old records still loaded.
        const std::string good = copySample(dir, "flight1", "good");
        QVERIFY(IniWriteText("radiosonde", "P_inst", "0", dir.file("good.cfg")));
        w.importFile(qs(good));
        QVERIFY(!w.edStation->text().isEmpty());
        QVERIFY(!w.cbxRSPrInst->isChecked());

        const std::string raw = copySample(dir, "flight1", "bad", false);
        dir.write("bad.cfg", "[station]\r\nname=Nowhere\r\n"); // no correction tables: unusable
        app.dialogs.answers.push_back(true);
        app.dialogs.openAnswers.push_back(raw);
        w.mImport->trigger();

        QCOMPARE(app.dialogs.errors().size(), size_t(1));
        QCOMPARE(app.dialogs.errors()[0].text, std::string("Error loading flight config, load aborted."));
        QVERIFY(w.edStation->text().isEmpty());
        QVERIFY(w.edTotalO3Measured->text().isEmpty());
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumo"));
        for (QAction* a : {w.mExportO3, w.mExportWinds, w.mExportAll, w.mReCalc, w.mSurface, w.mFlight, w.mWinds})
            QVERIFY(!a->isEnabled());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void unreadableRawAbortsWithConfigShown()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        const std::string raw = copySample(dir, "flight1", "broken");
        dir.write("broken.raw", "this is no telemetry\r\n");
        w.importFile(qs(raw));

        QCOMPARE(app.dialogs.errors().size(), size_t(1));
        QCOMPARE(app.dialogs.errors()[0].text, std::string("Error loading flight data, load aborted."));
        QVERIFY(!w.edStation->text().isEmpty());
        QVERIFY(!w.q5.isLoaded());
        QVERIFY(!w.mExportO3->isEnabled());
        QVERIFY(!w.mReCalc->isEnabled());
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumo"));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void neitherSensorEndsWithGpsAndStandardSurface()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        const std::string raw = copySample(dir, "flight1", "nosensor");
        QVERIFY(IniWriteText("radiosonde", "P_inst", "0", dir.file("nosensor.cfg")));
        QVERIFY(IniWriteText("radiosonde", "GPS_inst", "0", dir.file("nosensor.cfg")));
        w.importFile(qs(raw));

        QVERIFY(!w.cbxRSPrInst->isChecked());
        QVERIFY(w.cbxRSGPSInst->isChecked());
        QCOMPARE(int(w.q5.rsGpsInst), 1);
        QCOMPARE(int(w.q5.lDetGps), 1);
        QVERIFY(w.rbLaunchDetGPS->isChecked());
        QVERIFY(!w.rbLaunchDetPTU->isEnabled());
        QVERIFY(w.rbSfcUseStd->isChecked());
        QCOMPARE(int(w.q5.sfcUseStd), 1);
        QVERIFY(!w.edSfcRSP->isEnabled());
        QVERIFY(!w.edSfcDifP->isEnabled());
        QVERIFY(w.mWinds->isEnabled());
        // No sensor, no measured surface pressure: blank, not a number from
        // elsewhere; also with the offset correction applied.
        QVERIFY(w.edSfcRSP->text().isEmpty());
        QVERIFY(w.edSfcDifP->text().isEmpty());
        w.cbxApplySfcCorr->setChecked(true);
        QVERIFY(w.edSfcRSP->text().isEmpty());
        QVERIFY(w.edSfcDifP->text().isEmpty());
        QVERIFY(!w.edSfcRST->text().isEmpty());
        // A sensor installed after all: the value shows again.
        w.cbxRSPrInst->setChecked(true);
        QVERIFY(!w.edSfcRSP->text().isEmpty());
    }

    void pressureWithoutGpsDetectsByPtuAndHasNoWinds()
    {
        TempDir dir;
        QVERIFY(IniWriteText("pref", "lDet", "gps", dir.file("lumo.ini")));
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        QVERIFY(w.rbLaunchDetGPS->isChecked());
        const std::string raw = copySample(dir, "flight1", "nogps");
        QVERIFY(IniWriteText("radiosonde", "GPS_inst", "0", dir.file("nogps.cfg")));
        w.importFile(qs(raw));

        QVERIFY(w.rbLaunchDetPTU->isChecked());
        QCOMPARE(int(w.q5.lDetGps), 0);
        QVERIFY(!w.rbLaunchDetGPS->isEnabled());
        QVERIFY(!w.mExportWinds->isEnabled());
        QVERIFY(!w.mWinds->isEnabled());
        QVERIFY(w.mExportO3->isEnabled());
    }

    void warningsListedInOneDialogAfterImportAndReCalcAndOnRequest()
    {
        TempDir dir;
        // A residual table that does not exist: residual and total unknown.
        dir.write("lumo.ini", "[o3]\nresidual=table\nresidualTable=" + dir.file("none.toz") + "\n");
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        app.dialogs.openAnswers.push_back(copySample(dir, "flight1", "flight"));
        w.mImport->trigger();
        QVERIFY(app.dialogs.errors().empty());
        const auto warnings = [&app] {
            int n = 0;
            for (const ScriptedDialogs::Entry& e : app.dialogs.transcript)
                n += e.kind == ScriptedDialogs::Entry::Status && e.caption == "Warnings" ? 1 : 0;
            return n;
        };
        QCOMPARE(warnings(), 1);
        const std::string& text = app.dialogs.transcript.back().text;
        QVERIFY(text.find("residual-unknown: ") != std::string::npos);
        QVERIFY(w.edTotalO3Measured->text().toDouble() > 100);
        QVERIFY(w.edTotalO3Residual->text().isEmpty());
        QVERIFY(w.edTotalO3->text().isEmpty());

        w.mWarnings->trigger();
        QCOMPARE(warnings(), 2);
        QCOMPARE(app.dialogs.transcript.back().text, text);
        w.mReCalc->setEnabled(true);
        w.mReCalc->trigger();
        QCOMPARE(warnings(), 3);
    }
};

QTEST_MAIN(ImportTest)
#include "import_test.moc"
