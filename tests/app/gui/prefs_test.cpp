// Start-up from a preferences file, Save Prefs with its validation, the
// splash window, and the exit confirmation.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabWidget>

#include "support/mainwindow.h"
#include "labelededit.h"
#include "plots/mybutton.h"
#include "splashfrm.h"

using namespace lumo;
using namespace lumo::test;

class PrefsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { initGuiTests(); }

    void missingFileGivesDefaults()
    {
        TempDir dir;
        App app(dir.file("none.ini"));
        TMainFrm& w = *app.frm;
        QCOMPARE(w.prefsFileName, qs(dir.file("none.ini")));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumo"));
        QCOMPARE(w.pageControl->currentWidget(), w.tabStation);
        QVERIFY(w.rbLaunchDetPTU->isChecked());
        QCOMPARE(w.edlDetVal->text(), QStringLiteral("2.00"));
        QCOMPARE(w.q5.lDetVal, 2.0);
        QVERIFY(!w.cbxEndFltPr->isChecked());
        QVERIFY(!w.edEndFltPr->isEnabled());
        QCOMPARE(w.edEndFltPr->text(), QStringLiteral("0.00"));
        QCOMPARE(w.edEndFltAlt->text(), QStringLiteral("0.0"));
        QVERIFY(w.cbxShowAll->isChecked());
        QCOMPARE(int(w.q5.showAll), 1);
        QCOMPARE(w.edLPFilter->text(), QStringLiteral("0.0"));
        QVERIFY(w.rbCMR->isChecked());
        QVERIFY(!w.edResO3TableFile->isEnabled());
        QCOMPARE(int(w.q5.resTable), 0);
        QCOMPARE(w.iEditO3Numb->text(), QStringLiteral("1"));
        QVERIFY(!w.btnO3Prev->isEnabled());
        QVERIFY(!w.btnTotalO3Prev->isEnabled());
        QVERIFY(w.btnTotalO3Next->isEnabled());
        QVERIFY(w.splashDone);
        QVERIFY(!w.splash->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
        for (QAction* a : {w.mExportO3, w.mExportWinds, w.mExportAll, w.mSurface, w.mFlight, w.mProfile, w.mWinds, w.mReCalc})
            QVERIFY(!a->isEnabled());
        QVERIFY(w.mImport->isEnabled());
        QVERIFY(!std::filesystem::exists(dir.file("none.ini")));
        // The defaults in force are worth a word, with the other warnings.
        QVERIFY(app.dialogs.transcript.empty());
        w.mWarnings->trigger();
        QCOMPARE(app.dialogs.transcript.size(), size_t(1));
        const std::string& list = app.dialogs.transcript[0].text;
        QVERIFY(list.find("prefs-missing: The preferences file " + dir.file("none.ini") + " does not exist")
                != std::string::npos);
    }

    void menuAndPagesInTheirOrder()
    {
        TempDir dir;
        App app(dir.file("m.ini"));
        TMainFrm& w = *app.frm;
        auto captions = [](const QList<QAction*>& actions) {
            QStringList out;
            for (const QAction* a : actions)
                out << (a->isSeparator() ? QStringLiteral("-") : a->text());
            return out;
        };
        QCOMPARE(captions(w.menuBar()->actions()), QStringList({"&File", "&Plot", "&ReCalc", "&Help"}));
        QCOMPARE(captions(w.mFile->actions()),
            QStringList({"&Import", "Recent &flights", "-", "Export &O3", "Export &Winds", "Export &All", QString::fromUtf8("Export a&rchive files\u2026"),
                QString::fromUtf8("&Warnings\u2026"), "-", "Save &Prefs", "-", "E&xit"}));
        QCOMPARE(captions(w.mPlot->actions()), QStringList({"&Surface", "&Flight", "&Profile", "-", "&Winds"}));
        QCOMPARE(w.menuBar()->actions()[2], w.mReCalc);
        QStringList pages;
        for (int i = 0; i < w.pageControl->count(); ++i)
            pages << w.pageControl->tabText(i);
        QCOMPARE(pages, QStringList({"Station", "Radiosonde", "Ozonesonde(s)", "Preferences", "Surface Data", "Total Ozone"}));
        QCOMPARE(w.pageControl->size(), QSize(417, 229));
        QCOMPARE(w.edStnAlt->EditLabel->text(), QStringLiteral("Altitude "));
        QCOMPARE(w.edStnAlt->unitLabel->text(), QStringLiteral("meters"));
        QCOMPARE(w.edO3BkgFile->toolTip(), QStringLiteral("Ozoneosnde cell background adjust filename"));
    }

    void startUpAppliesEveryKey()
    {
        TempDir dir;
        const std::string ini = dir.write("p.ini",
            "[pref]\r\nlDet=GPS\r\nlDetVal=3.5\r\nendFlt=pa\r\nendFltPr=7.25\r\nendFltAlt=30000\r\n"
            "showAll=YES\r\nLPfilter=12.5\r\n[o3]\r\nresidual=xyz\r\nresidualTable=\"/data/column.toz\"\r\n");
        App app(ini);
        TMainFrm& w = *app.frm;
        QVERIFY(w.rbLaunchDetGPS->isChecked());
        QCOMPARE(int(w.q5.lDetGps), 1);
        QCOMPARE(w.edlDetVal->text(), QStringLiteral("3.50"));
        QCOMPARE(w.q5.lDetVal, 3.5);
        QVERIFY(w.cbxEndFltPr->isChecked());
        QVERIFY(w.cbxEndFltAlt->isChecked());
        QVERIFY(w.edEndFltPr->isEnabled());
        QVERIFY(w.edEndFltAlt->isEnabled());
        QCOMPARE(w.edEndFltPr->text(), QStringLiteral("7.25"));
        QCOMPARE(w.q5.endFltPr, 7.25);
        QCOMPARE(w.edEndFltAlt->text(), QStringLiteral("30000.0"));
        QCOMPARE(w.q5.endFltAlt, 30000.0);
        QVERIFY(w.cbxShowAll->isChecked());
        QCOMPARE(w.q5.lpFilter, 12.5);
        QVERIFY(w.rbTable->isChecked());
        QVERIFY(!w.rbCMR->isChecked());
        QVERIFY(w.edResO3TableFile->isEnabled());
        QCOMPARE(w.edResO3TableFile->text(), QStringLiteral("/data/column.toz"));
        QCOMPARE(int(w.q5.resTable), 1);
        QCOMPARE(w.q5.resTableFile, std::string("/data/column.toz"));
    }

    // The method's choices are read from [o3], taken for the next run as
    // they change, and saved under the keys they were read from; the time
    // constants without a box keep their value.
    void o3MethodChoicesReadAndSaved()
    {
        TempDir dir;
        const std::string ini = dir.write("m.ini",
            "[o3]\r\nmethod=standard\r\nresponseCorrection=yes\r\npumpTable=noaa\r\nbackground=ib1\r\n"
            "transferTo=z05\r\ntauSlow=1200\r\npumpHeatOffset=no\r\n");
        App app(ini);
        TMainFrm& w = *app.frm;
        QCOMPARE(w.cbO3Method->currentText(), QStringLiteral("standard"));
        QVERIFY(w.cbxResponseCorr->isChecked());
        QCOMPARE(w.cbPumpTable->currentText(), QStringLiteral("NOAA"));
        QCOMPARE(w.cbBackground->currentText(), QStringLiteral("Ib1"));
        QCOMPARE(int(w.q5.o3Method.transferTo), int(TransferTo::Z05));
        QVERIFY(!w.cbxPumpHeat->isChecked());
        QVERIFY(w.cbPumpTable->isEnabled());
        // The page scrolls down, never sideways: its content is no wider than the window's pages.
        QVERIFY(w.gbxO3Method->parentWidget()->minimumSizeHint().width() <= w.pageControl->width());

        w.cbBackground->setCurrentIndex(w.cbBackground->findText(QStringLiteral("Ib2")));
        emit w.cbBackground->activated(w.cbBackground->currentIndex());
        QCOMPARE(int(w.q5.o3Method.background), int(BackgroundChoice::Ib2));
        w.cbO3Method->setCurrentIndex(0);
        emit w.cbO3Method->activated(0);
        QCOMPARE(int(w.q5.o3Method.method), int(O3Method::Classic));
        QVERIFY(!w.cbPumpTable->isEnabled());
        QVERIFY(!w.cbxResponseCorr->isEnabled());

        w.mSavePrefs->trigger();
        QCOMPARE(IniReadText("o3", "method", "", ini), std::string("classic"));
        QCOMPARE(IniReadText("o3", "responseCorrection", "", ini), std::string("yes"));
        QCOMPARE(IniReadText("o3", "pumpTable", "", ini), std::string("noaa"));
        QCOMPARE(IniReadText("o3", "background", "", ini), std::string("ib2"));
        QCOMPARE(IniReadText("o3", "transferTo", "", ini), std::string("z05"));
        QCOMPARE(IniReadText("o3", "tauSlow", "", ini), std::string("1200"));
        QCOMPARE(IniReadText("o3", "pumpHeatOffset", "", ini), std::string("no"));
        App again(ini);
        QCOMPARE(again.frm->q5.o3Method.background, BackgroundChoice::Ib2);
        QCOMPARE(again.frm->q5.o3Method.tauSlow, 1200.0);
        QVERIFY(again.frm->q5.warnings.empty());
    }

    void badValuesFallBack()
    {
        TempDir dir;
        const std::string ini = dir.write("p.ini",
            "[pref]\r\nlDetVal=abc\r\nendFlt=P\r\nendFltPr=-5\r\nshowAll=1\r\nLPfilter=-1\r\n[o3]\r\nresidual=TABLE\r\n");
        App app(ini);
        TMainFrm& w = *app.frm;
        QCOMPARE(w.edlDetVal->text(), QStringLiteral("2.00"));
        QCOMPARE(w.q5.lDetVal, 2.0);
        QVERIFY(!w.cbxEndFltPr->isChecked()); // the letter test is case-sensitive
        QCOMPARE(w.edEndFltPr->text(), QStringLiteral("0.00"));
        QVERIFY(!w.cbxShowAll->isChecked());
        QCOMPARE(int(w.q5.showAll), 0);
        QCOMPARE(w.edLPFilter->text(), QStringLiteral("0.0"));
        QCOMPARE(w.q5.lpFilter, 0.0);
        QVERIFY(w.rbTable->isChecked());
    }

    void savePrefsWritesEveryKey()
    {
        TempDir dir;
        const std::string ini = dir.file("saved.ini");
        App app(ini);
        TMainFrm& w = *app.frm;
        w.cbxEndFltPr->setChecked(true);
        w.edEndFltPr->setText(QStringLiteral("500"));
        w.cbxShowAll->setChecked(false);
        w.edLPFilter->setText(QStringLiteral("2.25"));
        w.rbLaunchDetGPS->setChecked(true);
        w.edResO3TableFile->setText(QStringLiteral("/data/a b.toz"));
        w.edArchive[3]->setText(QStringLiteral("339")); // platformId
        w.mSavePrefs->trigger();

        QCOMPARE(app.dialogs.transcript.size(), size_t(1));
        QCOMPARE(app.dialogs.transcript[0].kind, ScriptedDialogs::Entry::Status);
        QCOMPARE(app.dialogs.transcript[0].caption, std::string("Status"));
        QCOMPARE(app.dialogs.transcript[0].text, std::string("Preferences have been saved."));
        QCOMPARE(IniReadText("pref", "lDet", "", ini), std::string("gps"));
        QCOMPARE(IniReadText("pref", "lDetVal", "", ini), std::string("2.00"));
        QCOMPARE(IniReadText("pref", "endFlt", "?", ini), std::string("p"));
        QCOMPARE(IniReadText("pref", "endFltPr", "", ini), std::string("500.00"));
        QCOMPARE(IniReadText("pref", "endFltAlt", "", ini), std::string("0.0"));
        QCOMPARE(IniReadText("pref", "showAll", "", ini), std::string("no"));
        QCOMPARE(IniReadText("pref", "LPfilter", "", ini), std::string("2.2")); // single precision, "%1.1f"
        QCOMPARE(IniReadText("o3", "residual", "", ini), std::string("cmr"));
        QCOMPARE(IniReadText("o3", "residualTable", "", ini), std::string("/data/a b.toz"));
        QVERIFY(readFile(ini).find("residualTable=\"/data/a b.toz\"") != std::string::npos);

        // A second start reads the same settings back.
        App again(ini);
        QVERIFY(again.frm->rbLaunchDetGPS->isChecked());
        QVERIFY(again.frm->cbxEndFltPr->isChecked());
        QCOMPARE(again.frm->q5.endFltPr, 500.0);
        QVERIFY(!again.frm->cbxShowAll->isChecked());
        QCOMPARE(IniReadText("archive", "platformId", "", ini), std::string("339"));
        QCOMPARE(again.frm->edArchive[3]->text(), QStringLiteral("339"));
        QCOMPARE(again.frm->edArchive[2]->text(), QStringLiteral("STN")); // the default platform type
    }

    void savePrefsValidation_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("message");
        QTest::newRow("end pressure") << "edEndFltPr" << "Pressure value for ending flight is not valid.";
        QTest::newRow("end altitude") << "edEndFltAlt" << "Altitude value for ending flight is not valid.";
        QTest::newRow("ascent rate") << "edlDetVal" << "Launch detect ascent rate is not valid.";
        QTest::newRow("filter") << "edLPFilter"
                                << "Low-pass filter time constant is not valid,\nthe time constant must be a positive number (0 for no filtering).";
    }

    void savePrefsValidation()
    {
        QFETCH(QString, box);
        QFETCH(QString, message);
        TempDir dir;
        const std::string ini = dir.file("v.ini");
        App app(ini);
        TMainFrm& w = *app.frm;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cbxEndFltPr->setChecked(true);
        w.cbxEndFltAlt->setChecked(true);
        const std::pair<const char*, QLineEdit*> boxes[] = {
            {"edEndFltPr", w.edEndFltPr}, {"edEndFltAlt", w.edEndFltAlt}, {"edlDetVal", w.edlDetVal}, {"edLPFilter", w.edLPFilter}};
        QLineEdit* target = nullptr;
        for (const auto& [name, edit] : boxes)
            if (box == QLatin1String(name))
                target = edit;
        QVERIFY(target);
        target->setText(QStringLiteral("-1"));
        w.pageControl->setCurrentWidget(w.tabStation);
        w.mSavePrefs->trigger();

        QCOMPARE(app.dialogs.transcript.size(), size_t(1));
        QCOMPARE(app.dialogs.transcript[0].caption, std::string("Error"));
        QCOMPARE(qs(app.dialogs.transcript[0].text), message);
        QCOMPARE(w.pageControl->currentWidget(), w.tabPrefs);
        QTRY_VERIFY(target->hasFocus());
        QVERIFY(!std::filesystem::exists(ini));
    }

    void disabledEndFlightBoxesAreReset()
    {
        TempDir dir;
        const std::string ini = dir.file("r.ini");
        App app(ini);
        TMainFrm& w = *app.frm;
        w.edEndFltPr->setText(QStringLiteral("junk"));
        w.edEndFltAlt->setText(QStringLiteral("junk"));
        w.mSavePrefs->trigger();
        QCOMPARE(w.edEndFltPr->text(), QStringLiteral("0.0"));
        QCOMPARE(w.edEndFltAlt->text(), QStringLiteral("0"));
        QCOMPARE(IniReadText("pref", "endFltPr", "", ini), std::string("0.00"));
        QCOMPARE(app.dialogs.transcript.back().text, std::string("Preferences have been saved."));
    }

    void unwritablePrefsFileIsReported()
    {
        TempDir dir;
        App app(dir.file("missing/folder/p.ini"));
        app.frm->mSavePrefs->trigger();
        QCOMPARE(app.dialogs.transcript.size(), size_t(1));
        QCOMPARE(app.dialogs.transcript[0].caption, std::string("Error"));
        // The path and the reason, not only that it failed.
        QCOMPARE(app.dialogs.transcript[0].text, "Unable to save preferences file.\n\n" + dir.file("missing/folder/p.ini")
                     + ": the folder " + dir.file("missing/folder") + " does not exist");
    }

    // Shortcuts, Help, and the recent flights kept in the preferences file.
    void desktopConveniences()
    {
        TempDir dir;
        const std::string ini = dir.file("r.ini");
        {
            App app(ini);
            TMainFrm& w = *app.frm;
            QCOMPARE(w.mImport->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
            QCOMPARE(w.mExportAll->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
            QCOMPARE(w.mReCalc->shortcut(), QKeySequence(QStringLiteral("F5")));
            QCOMPARE(w.mExit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
            QCOMPARE(w.mGuide->shortcut(), QKeySequence(QStringLiteral("F1")));
            QVERIFY(!w.mRecent->isEnabled());
            w.mAbout->trigger();
            QCOMPARE(app.dialogs.transcript.back().caption, std::string("About Lumo"));
            QVERIFY(app.dialogs.transcript.back().text.find("QCustomPlot") != std::string::npos);
            w.importFile(qs(copySample(dir, "flight1", "one")));
            w.importFile(qs(copySample(dir, "flight1", "two")));
            QCOMPARE(w.mRecent->actions().size(), 2);
            QVERIFY(w.mRecent->actions()[0]->text().endsWith(QStringLiteral("two.raw")));
            // The Import dialog starts in the last flight's folder.
            app.dialogs.answers.push_back(true);
            app.dialogs.openAnswers.push_back(std::nullopt);
            w.mImport->trigger();
            QCOMPARE(app.dialogs.openRequests.back().fileName, dir.file(""));
        }
        App again(ini);
        QCOMPARE(again.frm->mRecent->actions().size(), 2);
        again.frm->mRecent->actions()[1]->trigger();
        QCOMPARE(again.frm->srcFileName, qs(dir.file("one.raw")));
        QCOMPARE(again.frm->mRecent->actions().size(), 2);
        QVERIFY(again.frm->mRecent->actions()[0]->text().endsWith(QStringLiteral("one.raw")));
    }

    void barePrefsNameLivesInConfigFolder()
    {
        const QString path = TMainFrm::resolvePrefsPath(QStringLiteral("lumo.ini"));
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("lumo.ini"));
        QCOMPARE(QFileInfo(path).absolutePath(), QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
        QVERIFY(QFileInfo(QFileInfo(path).absolutePath()).isDir());
        QCOMPARE(TMainFrm::resolvePrefsPath(QStringLiteral("./here.ini")), QStringLiteral("./here.ini"));
    }

    void splashStaysItsTime()
    {
        TempDir dir;
        ScriptedDialogs dialogs;
        TMainFrm::Options options;
        options.prefsFile = qs(dir.file("s.ini"));
        options.splashMs = 300;
        QElapsedTimer clock;
        clock.start();
        TMainFrm w(dialogs, options);
        QVERIFY(clock.elapsed() >= 290);
        QVERIFY(w.splashDone);
        QCOMPARE(w.splash->size(), QSize(TSplashFrm::PictureWidth, TSplashFrm::PictureHeight));
        const QImage picture = w.splash->picture();
        QCOMPARE(picture.size(), QSize(359, 180));
        QVERIFY(picture.pixelColor(5, 5) != picture.pixelColor(5, 175)); // a drawn picture, not a blank
    }

    void exitAsksAndNoKeepsRunning()
    {
        TempDir dir;
        App app(dir.file("e.ini"));
        TMainFrm& w = *app.frm;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.close(); // the window's close button
        QCOMPARE(app.dialogs.transcript.back().caption, std::string("Confirm"));
        QCOMPARE(app.dialogs.transcript.back().text, std::string("Terminate program?"));
        QVERIFY(w.isVisible());

        app.dialogs.answers.push_back(true);
        w.mExit->trigger();
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(PrefsTest)
#include "prefs_test.moc"
