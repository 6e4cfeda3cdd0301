// ReCalc, the three export commands and the correction-table Load/Save
// buttons, driven through the menu and the buttons.
#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>

#include <algorithm>
#include <filesystem>

#include "support/mainwindow.h"
#include "labelededit.h"
#include "plots/mybutton.h"

using namespace lumo;
using namespace lumo::test;

class CommandsTest : public QObject {
    Q_OBJECT

    static void load(App& app, const TempDir& dir)
    {
        app.frm->importFile(qs(copySample(dir, "flight1", "flight")));
        QVERIFY(app.frm->q5.isLoaded());
    }

private slots:
    void initTestCase() { initGuiTests(); }

    void reCalcCommitsEditsAndKeepsTheSlotShown()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        QTest::mouseClick(w.btnTotalO3Next, Qt::LeftButton);
        QCOMPARE(w.iEditTotalO3Numb->text(), QStringLiteral("2"));

        // Typed but not yet committed: ReCalc commits it first.
        w.cbxEndFltAlt->setChecked(true);
        w.edEndFltAlt->setText(QStringLiteral("5000"));
        w.rbTable->setChecked(true); // enables ReCalc
        w.rbCMR->setChecked(true);
        QVERIFY(w.mReCalc->isEnabled());
        w.q5.o3Measured[0] = -1; // a fresh run replaces it
        w.mReCalc->trigger();

        QCOMPARE(w.q5.endFltAlt, 5000.0);
        QCOMPARE(w.edEndFltAlt->text(), QStringLiteral("5000.0"));
        QVERIFY(w.q5.o3Measured[0] > 0);
        // The selector keeps the ozonesonde shown; its totals are fresh.
        QCOMPARE(w.iEditTotalO3Numb->text(), QStringLiteral("2"));
        QVERIFY(w.btnTotalO3Prev->isEnabled());
        QCOMPARE(w.edTotalO3sn->text(), QString::fromLatin1(w.q5.o3Sonde[1].sn));
        QTest::mouseClick(w.btnTotalO3Prev, Qt::LeftButton);
        QCOMPARE(w.edTotalO3Measured->text(), QString::asprintf("%1.2f", w.q5.o3Measured[0]));
        QVERIFY(!w.mReCalc->isEnabled());
        QCOMPARE(w.mWinds->isEnabled(), bool(w.q5.rsGpsInst));
        QVERIFY(app.dialogs.errors().empty());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void reCalcWithoutGpsDisablesWinds()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        QVERIFY(w.mWinds->isEnabled());
        w.cbxRSGPSInst->setChecked(false);
        w.mReCalc->trigger();
        QVERIFY(!w.mWinds->isEnabled());
        QVERIFY(!w.mExportWinds->isEnabled());
    }

    void failedReCalcReportsAndKeepsMenus()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        w.edTotalO3->setText(QStringLiteral("kept"));
        // A standard pressure of 300 hPa applied as offset puts the corrected
        // surface pressure below what the processing accepts.
        typeAndLeave(w.edSfcStdP, QStringLiteral("300"));
        w.cbxApplySfcCorr->setChecked(true);
        QVERIFY(w.mReCalc->isEnabled());
        w.mReCalc->trigger();

        const auto errors = app.dialogs.errors();
        QVERIFY(!errors.empty());
        QCOMPARE(errors.back().caption, std::string("Error"));
        QCOMPARE(errors.back().text, std::string("Error calculating total ozone data."));
        QCOMPARE(w.edTotalO3->text(), QStringLiteral("kept"));
        QVERIFY(!w.mReCalc->isEnabled());
        QVERIFY(w.mWinds->isEnabled());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void failedImportProcessingStillEnablesCommands()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        // Only the lines before the separator: no flight part to process.
        copySample(dir, "flight1", "ground");
        const std::string all = readFile(dir.file("ground.raw"));
        std::size_t cut = 0;
        for (int line = 0; line < 1800; ++line)
            cut = all.find('\n', cut) + 1;
        dir.write("ground.raw", all.substr(0, cut));
        w.importFile(qs(dir.file("ground.raw")));

        QCOMPARE(app.dialogs.errors().size(), size_t(1));
        QCOMPARE(app.dialogs.errors()[0].text, std::string("Error calculating total ozone data."));
        QCOMPARE(w.windowTitle(), QStringLiteral("Lumo - ground"));
        for (QAction* a : {w.mExportO3, w.mExportAll, w.mSurface, w.mFlight, w.mWinds, w.mExportWinds})
            QVERIFY(a->isEnabled());
        QVERIFY(!w.mReCalc->isEnabled());
    }

    void exportEachKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("filter");
        QTest::newRow("o3") << 0 << ".o3csv" << "Ozone text files (*.o3csv)|*.o3csv|All files (*.*)|*.*";
        QTest::newRow("winds") << 1 << ".wcsv" << "Ozone text files (*.wcsv)|*.wcsv|All files (*.*)|*.*";
        QTest::newRow("all") << 2 << ".csv" << "Data files (*.csv)|*.csv|All files (*.*)|*.*";
    }

    void exportEachKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, extension);
        QFETCH(QString, filter);
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        QAction* command[] = {w.mExportO3, w.mExportWinds, w.mExportAll};

        const std::string out = dir.file("out" + extension.toStdString());
        app.dialogs.saveAnswers.push_back(out);
        command[kind]->trigger();

        QCOMPARE(app.dialogs.saveRequests.size(), size_t(1));
        const FileDialogRequest& r = app.dialogs.saveRequests[0];
        QCOMPARE(r.title, std::string("Export"));
        QCOMPARE(qs(r.filter), filter);
        QCOMPARE(qs(r.fileName), qs(dir.file("flight")) + extension);
        QVERIFY(app.dialogs.errors().empty());
        const std::string text = readFile(out);
        QVERIFY(text.size() > 200);
        QVERIFY(text.find(dir.file("flight.raw")) != std::string::npos); // header names the source
        QVERIFY(text.find("\r\n") != std::string::npos);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void cancelledExportStillReprocesses()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        w.q5.o3Measured[0] = -1; // a fresh run replaces it
        w.mExportO3->trigger();
        QCOMPARE(app.dialogs.saveRequests.size(), size_t(1));
        QVERIFY(w.q5.o3Measured[0] > 0);
        QVERIFY(!std::filesystem::exists(dir.file("flight.o3csv")));
    }

    void exportToUnwritableFolderReportsIt()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        app.dialogs.saveAnswers.push_back(dir.file("missing/out.csv"));
        w.mExportAll->trigger();
        QCOMPARE(app.dialogs.errors().size(), size_t(1));
        QCOMPARE(app.dialogs.errors()[0].caption, std::string("Error"));
        QCOMPARE(app.dialogs.errors()[0].text, std::string("Unable to open file to export data."));
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void exportArchiveFilesIntoAFolderWithThePageMetadata()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        QVERIFY(w.mExportArchive->isEnabled());
        w.edArchive[0]->setText(QStringLiteral("LUMO")); // agency
        std::filesystem::create_directory(dir.path() / "out");
        app.dialogs.folderAnswers.push_back(dir.file("out"));
        w.mExportArchive->trigger();

        QCOMPARE(app.dialogs.folderRequests.size(), size_t(1));
        QCOMPARE(app.dialogs.folderRequests[0].fileName, dir.path().string());
        QVERIFY(app.dialogs.errors().empty());
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.path() / "out"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        QCOMPARE(names.size(), size_t(3));
        QVERIFY(names[0].find(".ECC.") != std::string::npos && names[0].find(".LUMO.csv") != std::string::npos);
        QCOMPARE(names[1].substr(0, 7), std::string("flight."));
        QCOMPARE(names[2], std::string("flight.nc"));
        // The status names every file written and what the archives miss.
        const auto& last = app.dialogs.transcript.back();
        QCOMPARE(last.kind, ScriptedDialogs::Entry::Status);
        for (const std::string& n : names)
            QVERIFY(last.text.find(n) != std::string::npos);
        // The boxes the desktop user fills, not the preferences file's keys.
        QVERIFY(last.text.find("Platform ID on the Preferences page, Archive group") != std::string::npos);
        QVERIFY(last.text.find("platformId in the preferences") == std::string::npos);
        QVERIFY(!QGuiApplication::overrideCursor());

        // Cancelled: nothing more is written.
        w.mExportArchive->trigger();
        QCOMPARE(app.dialogs.folderRequests.size(), size_t(2));
        QCOMPARE(std::distance(std::filesystem::directory_iterator(dir.path() / "out"), {}), 3);
    }

    void tableSaveAndLoadBack()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        w.q5.effCount = 2;
        w.q5.effP[0] = 1000;
        w.q5.effVal[0] = 1;
        w.q5.effP[1] = 5.04;
        w.q5.effVal[1] = 1.2345;

        const std::string eff = dir.file("pump.eff");
        app.dialogs.saveAnswers.push_back(eff);
        QTest::mouseClick(w.btnO3EffSave, Qt::LeftButton);
        QCOMPARE(app.dialogs.saveRequests[0].defaultExt, std::string("eff"));
        QCOMPARE(app.dialogs.saveRequests[0].filter, std::string("Pump efficiency files (*.eff)|*.eff|All files (*.*)|*.*"));
        QCOMPARE(qs(app.dialogs.saveRequests[0].fileName), w.edO3EffFile->text());
        QCOMPARE(readFile(eff), std::string("1000.0   1.000\r\n5.0      1.234\r\n"));

        // The background table loads the saved rows; ReCalc becomes possible.
        app.dialogs.openAnswers.push_back(eff);
        QTest::mouseClick(w.btnO3BkgLoad, Qt::LeftButton);
        QCOMPARE(app.dialogs.openRequests[0].title, std::string("Cell Background"));
        QCOMPARE(int(w.q5.bkgCount), 2);
        QCOMPARE(w.q5.bkgP[1], 5.0);
        QCOMPARE(w.q5.bkgVal[1], 1.234);
        QCOMPARE(w.edO3BkgFile->text(), qs(eff));
        QCOMPARE(std::string(w.q5.bkgFile), eff);
        QVERIFY(w.mReCalc->isEnabled());
        QVERIFY(app.dialogs.errors().empty());
    }

    void tableLoadFailures()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        const std::string before = w.edO3EffFile->text().toStdString();
        const int count = w.q5.effCount;

        const std::string missing = dir.file("nowhere.eff");
        app.dialogs.openAnswers.push_back(missing);
        QTest::mouseClick(w.btnO3EffLoad, Qt::LeftButton);
        QCOMPARE(app.dialogs.openRequests[0].title, std::string("Pump Efficiency"));
        QCOMPARE(app.dialogs.errors().back().text, "Unable to open pump efficiency file:\n" + missing);
        QCOMPARE(w.edO3EffFile->text().toStdString(), before);
        QCOMPARE(int(w.q5.effCount), count);
        QVERIFY(!w.mReCalc->isEnabled());

        const std::string bad = dir.write("bad.bkg", "1000 1.0\r\n900 lots\r\n800 1.2\r\n");
        app.dialogs.openAnswers.push_back(bad);
        QTest::mouseClick(w.btnO3BkgLoad, Qt::LeftButton);
        QCOMPARE(app.dialogs.errors().size(), size_t(2));
        QCOMPARE(app.dialogs.errors().back().text, std::string("Error loading cell background correction data."));
        QCOMPARE(int(w.q5.bkgCount), 0);
        QCOMPARE(w.edO3BkgFile->text(), qs(bad));

        app.dialogs.saveAnswers.push_back(dir.file("missing/x.bkg"));
        QTest::mouseClick(w.btnO3BkgSave, Qt::LeftButton);
        QCOMPARE(app.dialogs.errors().back().text, std::string("Unable to save data to specified file."));
    }

    void tableLoadWithoutFlightLeavesReCalcAlone()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        w.btnO3EffLoad->setEnabled(true);
        app.dialogs.openAnswers.push_back(dir.write("t.eff", "1000 1.0\r\n"));
        QTest::mouseClick(w.btnO3EffLoad, Qt::LeftButton);
        QCOMPARE(int(w.q5.effCount), 1);
        QVERIFY(!w.mReCalc->isEnabled());
    }

    // A command chosen with the mouse leaves the keyboard focus in the box:
    // what was typed there counts all the same.
    void mouseChosenCommandTakesThePendingEdit()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        const double measured = w.q5.o3Measured[0];
        w.edO3CellBkg->selectAll();
        QTest::keyClicks(w.edO3CellBkg, QStringLiteral("0.5"));
        app.dialogs.saveAnswers.push_back(dir.file("flight.o3csv"));
        w.mExportO3->trigger();
        QVERIFY(w.q5.o3Sonde[0].bkg == 0.5);
        QVERIFY(w.q5.o3Measured[0] < measured - 1); // a greater background, less ozone
        QCOMPARE(w.edO3CellBkg->text(), QStringLiteral("0.50"));
        QVERIFY(app.dialogs.errors().empty());
    }

    // An invalid number is refused however the command comes: the box's
    // message, the focus stays in the box, and nothing runs.
    void invalidTextStopsTheCommandAndKeepsTheFocus()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const double bkg = w.q5.o3Sonde[0].bkg;
        w.pageControl->setCurrentWidget(w.tabOzonesonde);
        w.edO3CellBkg->setFocus();
        QTRY_VERIFY(w.edO3CellBkg->hasFocus());
        w.edO3CellBkg->selectAll();
        QTest::keyClicks(w.edO3CellBkg, QStringLiteral("0,3")); // no number where "." is the decimal point
        QVERIFY(w.mReCalc->isEnabled()); // typing alone enables it, for the mouse to reach
        const std::string out = dir.file("x.o3csv");
        app.dialogs.saveAnswers.push_back(out);
        w.mExportO3->trigger();
        QCOMPARE(app.dialogs.errors().size(), std::size_t(1));
        QVERIFY(app.dialogs.errors()[0].text.rfind("Cell background is not valid", 0) == 0);
        QVERIFY(app.dialogs.saveRequests.empty());
        QVERIFY(!std::filesystem::exists(out));
        QVERIFY(w.q5.o3Sonde[0].bkg == bkg);
        QCOMPARE(w.edO3CellBkg->text(), QStringLiteral("0,3"));
        QVERIFY(w.edO3CellBkg->hasFocus());

        // Tab: the same message, and the focus comes back to the box.
        QTest::keyClick(w.edO3CellBkg, Qt::Key_Tab);
        QTRY_COMPARE(app.dialogs.errors().size(), std::size_t(2));
        QTRY_VERIFY(w.edO3CellBkg->hasFocus());
        QCOMPARE(w.edO3CellBkg->text(), QStringLiteral("0,3"));
        QVERIFY(w.q5.o3Sonde[0].bkg == bkg);

        // Out of range: a negative filter, from ReCalc.
        w.edO3CellBkg->setText(QString::asprintf("%1.2f", bkg));
        w.edLPFilter->setText(QStringLiteral("-2"));
        w.mReCalc->trigger();
        QCOMPARE(app.dialogs.errors().size(), std::size_t(3));
        QVERIFY(app.dialogs.errors()[2].text.rfind("Low-pass filter time constant is not valid", 0) == 0);
        QCOMPARE(w.pageControl->currentWidget(), w.tabPrefs);
        QCOMPARE(w.q5.lpFilter, 0.0);
        QVERIFY(w.mReCalc->isEnabled());

        // Where the user's locale writes a decimal comma, "0,3" is 0.3.
        w.edLPFilter->setText(QStringLiteral("0.0"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        w.edO3CellBkg->setText(QStringLiteral("0,3"));
        w.mReCalc->trigger();
        QLocale::setDefault(QLocale::c());
        QCOMPARE(app.dialogs.errors().size(), std::size_t(3));
        QCOMPARE(w.q5.o3Sonde[0].bkg, 0.3);
    }

    // Leaving a box without typing stores nothing: 0.012 stays 0.012 although
    // the box shows "0.01", and the standard temperature keeps its second
    // decimal.
    void leavingAnUneditedBoxKeepsTheFullValue()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        w.importFile(qs(copySample(dir, "flight4", "flight")));
        QVERIFY(w.q5.isLoaded());
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QTest::mouseClick(w.btnO3Next, Qt::LeftButton);
        QCOMPARE(w.edO3CellBkg->text(), QStringLiteral("0.01"));
        leave(w.edO3CellBkg);
        leave(w.edSfcStdT);
        QVERIFY(w.q5.o3Sonde[2].bkg == 0.012);
        QVERIFY(w.q5.stdT == 25.21);
        QVERIFY(!w.mReCalc->isEnabled());
        w.mReCalc->trigger(); // commits every box: still nothing typed
        QVERIFY(w.q5.o3Sonde[2].bkg == 0.012);
        QVERIFY(w.q5.stdT == 25.21);
    }

    // The keyboard's way into the menu takes the focus from the box; Save
    // Prefs must still see the text as typed and refuse it.
    void savePrefsThroughTheKeyboardMenuValidatesTheTypedText()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        w.edLPFilter->selectAll();
        QTest::keyClicks(w.edLPFilter, QStringLiteral("abc"));
        QFocusEvent toMenu(QEvent::FocusOut, Qt::MenuBarFocusReason);
        QCoreApplication::sendEvent(w.edLPFilter, &toMenu);
        w.mSavePrefs->trigger();
        QCOMPARE(app.dialogs.errors().size(), std::size_t(1));
        QVERIFY(app.dialogs.errors()[0].text.rfind("Low-pass filter time constant is not valid", 0) == 0);
        QCOMPARE(w.edLPFilter->text(), QStringLiteral("abc"));
    }

    // Totals that no longer match their inputs must not look current.
    void staleTotalsEnableReCalc()
    {
        TempDir dir;
        App app(dir.file("lumo.ini"));
        TMainFrm& w = *app.frm;
        load(app, dir);
        QVERIFY(!w.mReCalc->isEnabled());
        typeAndLeave(w.edSfcStdP, QStringLiteral("1001.5"));
        QVERIFY(w.mReCalc->isEnabled());
        w.mReCalc->trigger();
        w.rbTable->setChecked(true);
        w.mReCalc->trigger();
        QVERIFY(!w.mReCalc->isEnabled());
        app.dialogs.openAnswers.push_back(sourcePath("samples/residual.toz"));
        QTest::mouseClick(w.btnBrowse, Qt::LeftButton);
        QVERIFY(w.mReCalc->isEnabled());
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
