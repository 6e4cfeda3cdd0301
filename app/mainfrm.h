#pragma once

#include <QMainWindow>
#include <QString>

#include "flight/q5.h"
#include "output/correctiontable.h"
#include "output/exportfile.h"
#include "processing/preferences.h"

class QAction;
class QCloseEvent;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace lumo {

class AppDialogs;
class ExitEdit;
class LabeledEdit;
class TSplashFrm;
class TmyButton;
class TsfcPlotFrm;
class TfltPlotFrm;
class TwindPlotFrm;

// The main window: menu, six pages over the one flight-data object, and the
// commands (import, re-calculation, exports, correction tables, preferences).
class TMainFrm : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        QString prefsFile = QStringLiteral("lumo.ini");
        int splashMs = 2000; // least time the splash window stays up
    };

    // Builds the window, shows the splash window and applies the
    // preferences file before it returns.
    TMainFrm(AppDialogs& dialogs, const Options& options, QWidget* parent = nullptr);
    ~TMainFrm() override;

    // Creates the surface, flight and wind plot windows, in this order, and
    // registers them to be refilled by each processing run.
    void createPlotWindows();

    // The import from the point where the raw file has been chosen, as
    // File > Import goes on with that file (the command line uses it).
    void importFile(const QString& rawPath);

    // A bare file name lives in the user's configuration folder (created
    // when missing); a name with a folder part is used as it stands.
    static QString resolvePrefsPath(const QString& name);

    Q5 q5;
    QString prefsFileName;
    QString srcFileName;
    QString cfgFileName;
    bool splashDone = false;
    int o3Slots = 4;

    TSplashFrm* splash = nullptr;
    QTimer* splashTimer = nullptr;
    TsfcPlotFrm* sfcPlotFrm = nullptr;
    TfltPlotFrm* fltPlotFrm = nullptr;
    TwindPlotFrm* windPlotFrm = nullptr;

    // Menu.
    QMenu* mFile = nullptr;
    QAction* mImport = nullptr;
    QAction* mExportO3 = nullptr;
    QAction* mExportWinds = nullptr;
    QAction* mExportAll = nullptr;
    QAction* mSavePrefs = nullptr;
    QAction* mExit = nullptr;
    QMenu* mPlot = nullptr;
    QAction* mSurface = nullptr;
    QAction* mFlight = nullptr;
    QAction* mWinds = nullptr;
    QAction* mReCalc = nullptr;

    QTabWidget* pageControl = nullptr;
    QWidget* tabStation = nullptr;
    QWidget* tabRadiosonde = nullptr;
    QWidget* tabOzonesonde = nullptr;
    QWidget* tabPrefs = nullptr;
    QWidget* tabSurface = nullptr;
    QWidget* tabTotalO3 = nullptr;

    // Station.
    LabeledEdit* edStation = nullptr;
    LabeledEdit* edStnLat = nullptr;
    LabeledEdit* edStnLong = nullptr;
    LabeledEdit* edStnAlt = nullptr;

    // Radiosonde.
    LabeledEdit* edRSId = nullptr;
    LabeledEdit* edRSProbeId = nullptr;
    QCheckBox* cbxRSPrInst = nullptr;
    QCheckBox* cbxRSGPSInst = nullptr;

    // Ozonesonde(s).
    QLineEdit* iEditO3Numb = nullptr;
    TmyButton* btnO3Prev = nullptr;
    TmyButton* btnO3Next = nullptr;
    LabeledEdit* edO3sn = nullptr;
    LabeledEdit* edO3CellBkg = nullptr;
    LabeledEdit* edO3PumpFlow = nullptr;
    LabeledEdit* edO3EffFile = nullptr;
    QPushButton* btnO3EffLoad = nullptr;
    QPushButton* btnO3EffSave = nullptr;
    LabeledEdit* edO3BkgFile = nullptr;
    QPushButton* btnO3BkgLoad = nullptr;
    QPushButton* btnO3BkgSave = nullptr;

    // Preferences.
    QGroupBox* gbxEndFlt = nullptr;
    QCheckBox* cbxEndFltPr = nullptr;
    LabeledEdit* edEndFltPr = nullptr;
    QCheckBox* cbxEndFltAlt = nullptr;
    LabeledEdit* edEndFltAlt = nullptr;
    LabeledEdit* edLPFilter = nullptr;
    QCheckBox* cbxShowAll = nullptr;
    QGroupBox* gbxLaunchDet = nullptr;
    QRadioButton* rbLaunchDetPTU = nullptr;
    QRadioButton* rbLaunchDetGPS = nullptr;
    ExitEdit* edlDetVal = nullptr;

    // Surface Data.
    ExitEdit* edSfcStdP = nullptr;
    ExitEdit* edSfcStdT = nullptr;
    ExitEdit* edSfcStdU = nullptr;
    QLineEdit* edSfcRSP = nullptr;
    QLineEdit* edSfcRST = nullptr;
    QLineEdit* edSfcRSU = nullptr;
    QLineEdit* edSfcDifP = nullptr;
    QLineEdit* edSfcDifT = nullptr;
    QLineEdit* edSfcDifU = nullptr;
    QRadioButton* rbSfcUseStd = nullptr;
    QRadioButton* rbSfcUseRS = nullptr;
    QCheckBox* cbxApplySfcCorr = nullptr;

    // Total Ozone.
    TmyButton* btnTotalO3Prev = nullptr;
    TmyButton* btnTotalO3Next = nullptr;
    QLineEdit* iEditTotalO3Numb = nullptr;
    LabeledEdit* edTotalO3sn = nullptr;
    LabeledEdit* edTotalO3Measured = nullptr;
    LabeledEdit* edTotalO3Residual = nullptr;
    LabeledEdit* edTotalO3 = nullptr;
    QRadioButton* rbCMR = nullptr;
    QRadioButton* rbTable = nullptr;
    ExitEdit* edResO3TableFile = nullptr;
    QPushButton* btnBrowse = nullptr;

    // File and Plot menus, ReCalc.
    void mImportClick();
    void mExportO3Click();
    void mExportWindsClick();
    void mExportAllClick();
    void mSavePrefsClick();
    void mExitClick();
    void mSurfaceClick();
    void mFlightClick();
    void mWindsClick();
    void mReCalcClick();

    // Station, Radiosonde, Ozonesonde(s), Preferences pages.
    void edStnAltExit();
    void cbxRSPrInstClick();
    void cbxRSGPSInstClick();
    void btnO3PrevClick();
    void btnO3NextClick();
    void edO3CellBkgExit();
    void edO3PumpFlowExit();
    void btnO3EffLoadClick();
    void btnO3EffSaveClick();
    void btnO3BkgLoadClick();
    void btnO3BkgSaveClick();
    void cbxEndFltPrClick();
    void cbxEndFltAltClick();
    void edEndFltPrExit();
    void edEndFltAltExit();
    void edLPFilterExit();
    void cbxShowAllClick();
    void rbLaunchDetPTUClick();
    void rbLaunchDetGPSClick();
    void edlDetValExit();

    // Surface Data page.
    void cbxApplySfcCorrClick();
    void edSfcStdPExit();
    void edSfcStdTExit();
    void edSfcStdUExit();
    void rbSfcUseStdClick();
    void rbSfcUseRSClick();

    // Total Ozone page.
    void btnTotalO3PrevClick();
    void btnTotalO3NextClick();
    void rbCMRClick();
    void rbTableClick();
    void edResO3TableFileExit();
    void btnBrowseClick();

    // The window's close request: runs the Exit question and refuses the
    // close itself; only Yes ends the program.
    void FormClose(QCloseEvent* event);

    // Shows the serial number and the column totals of slot n (1..4).
    void showTotalO3Slot(int n);

protected:
    void closeEvent(QCloseEvent* event) override { FormClose(event); }

private:
    // Page construction (one file per page group).
    void buildMenu();
    QWidget* buildStationPage();
    QWidget* buildRadiosondePage();
    QWidget* buildOzonesondePage();
    QWidget* buildPrefsPage();
    QWidget* buildSurfacePage();
    QWidget* buildTotalO3Page();
    void connectHandlers();

    void startUp(const Options& options);
    void loadPreferences();
    Preferences preferencesFromPages() const;

    bool isLoaded() const { return q5.isLoaded(); }
    void enableReCalc();
    void setTitle(const QString& caption);

    // Numeric commit rule: parse, store when different (enabling
    // re-calculation), then show the stored value again.
    void commitNumber(QLineEdit* edit, double& member, const char* format);
    int slotNumber(const QLineEdit* box) const;
    void showO3Slot(int n);
    void refreshSurfaceColumn(int column);

    // Import stages.
    void clearPages();
    void fillPagesFromConfig();
    void runImportProcessing();
    void finishImport();

    // Plot windows' share of the import and re-calculation.
    void clearPlotControls();
    void finishPlotsAfterImport();
    void zoomPlotsAfterReCalc();
    void applyShowAllToPlots();

    void exportData(ExportKind kind);
    void loadTable(TableKind kind);
    void saveTable(TableKind kind);

    AppDialogs& dialogs_;
    bool terminating_ = false;
};

} // namespace lumo
