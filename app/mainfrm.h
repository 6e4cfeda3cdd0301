#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <vector>

#include "flight/q5.h"
#include "output/correctiontable.h"
#include "output/exportfile.h"
#include "processing/preferences.h"

class QAction;
class QCloseEvent;
class QCheckBox;
class QComboBox;
class QDialog;
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
class SondeSelector;
class TSplashFrm;
class TmyButton;
class TsfcPlotFrm;
class TfltPlotFrm;
class TprofilePlotFrm;
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

    // Creates the surface, flight, wind and profile plot windows, in this order, and
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

    TSplashFrm* splash = nullptr;
    QTimer* splashTimer = nullptr;
    TsfcPlotFrm* sfcPlotFrm = nullptr;
    TfltPlotFrm* fltPlotFrm = nullptr;
    TwindPlotFrm* windPlotFrm = nullptr;
    TprofilePlotFrm* profilePlotFrm = nullptr;

    // Menu.
    QMenu* mFile = nullptr;
    QAction* mImport = nullptr;
    QAction* mExportO3 = nullptr;
    QAction* mExportWinds = nullptr;
    QAction* mExportAll = nullptr;
    QAction* mExportArchive = nullptr;
    QAction* mSavePrefs = nullptr;
    QAction* mExit = nullptr;
    QMenu* mPlot = nullptr;
    QAction* mSurface = nullptr;
    QAction* mFlight = nullptr;
    QAction* mProfile = nullptr;
    QAction* mWinds = nullptr;
    QAction* mReCalc = nullptr;
    QAction* mWarnings = nullptr;
    QMenu* mRecent = nullptr;
    QMenu* mHelp = nullptr;
    QAction* mGuide = nullptr;
    QAction* mAbout = nullptr;
    // The transient status line, right of the menus (the window keeps its
    // size), and what clears it.
    QLabel* lblStatus = nullptr;
    QTimer* statusTimer = nullptr;

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

    // Ozonesonde(s); the selector's controls under their own names.
    SondeSelector* o3Selector = nullptr;
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
    // The standard method's inputs from the configuration, read-only.
    QLabel* lblO3Inputs = nullptr;

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
    QGroupBox* gbxArchive = nullptr;
    std::vector<QLineEdit*> edArchive; // one per ArchiveFields entry, in that order
    // Section [o3]: the processing method and the standard method's choices.
    QGroupBox* gbxO3Method = nullptr;
    QComboBox* cbO3Method = nullptr;
    QCheckBox* cbxResponseCorr = nullptr;
    QCheckBox* cbxPumpHeat = nullptr;
    QComboBox* cbPumpTable = nullptr;
    QComboBox* cbBackground = nullptr;
    QComboBox* cbTransferTo = nullptr;

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
    SondeSelector* totalO3Selector = nullptr;
    TmyButton* btnTotalO3Prev = nullptr;
    TmyButton* btnTotalO3Next = nullptr;
    QLineEdit* iEditTotalO3Numb = nullptr;
    LabeledEdit* edTotalO3sn = nullptr;
    LabeledEdit* edTotalO3Measured = nullptr;
    LabeledEdit* edTotalO3Residual = nullptr;
    LabeledEdit* edTotalO3 = nullptr;
    // 1-sigma uncertainty beside each column, the correction factor against
    // the reference total ozone and the tropopause(s) of the flight.
    QLabel* lblTotalO3MeasuredUnc = nullptr;
    QLabel* lblTotalO3ResidualUnc = nullptr;
    QLabel* lblTotalO3Unc = nullptr;
    QLabel* lblCorrFactor = nullptr;
    QLabel* lblTropopause = nullptr;
    // A total that a quality warning concerns: the sign and word beside it,
    // the warnings' texts as its tool tip; and the count of the run's
    // warnings, a link that opens their list.
    QLabel* lblTotalO3Doubtful = nullptr;
    QLabel* lblWarnings = nullptr;
    // What the processing method did to the sonde shown; the skipped steps'
    // reasons as its tool tip.
    QLabel* lblTotalO3Method = nullptr;
    QRadioButton* rbCMR = nullptr;
    QRadioButton* rbTable = nullptr;
    ExitEdit* edResO3TableFile = nullptr;
    QPushButton* btnBrowse = nullptr;

    // The window's close request: runs the Exit question and refuses the
    // close itself; only Yes ends the program.
    void FormClose(QCloseEvent* event);

    // Each page has its own file: it builds the page (connecting its
    // handlers), clears it before an import, fills it from Q5 once the
    // configuration is read, and holds its handlers.

    // Window frame and menu (mainfrm.cpp), File > Import (mainfrm_import.cpp),
    // ReCalc and the exports (mainfrm_commands.cpp).
    void mImportClick();
    void mExportO3Click();
    void mExportWindsClick();
    void mExportAllClick();
    void mExportArchiveClick();
    void mSavePrefsClick();
    void mExitClick();
    void mSurfaceClick();
    void mFlightClick();
    void mProfileClick();
    void mWindsClick();
    void mReCalcClick();
    void mGuideClick();
    void mAboutClick();
    // File > Warnings: the quality checks of the last processing run again.
    void mWarningsClick();
    // One dialog listing every warning of the last run; with `always`, also
    // when there is none.
    void showWarnings(bool always);

    // Station page.
    void edStnAltExit();

    // Radiosonde page.
    void cbxRSPrInstClick();
    void cbxRSGPSInstClick();

    // Ozonesonde(s) page.
    void edO3CellBkgExit();
    void edO3PumpFlowExit();
    void btnO3EffLoadClick();
    void btnO3EffSaveClick();
    void btnO3BkgLoadClick();
    void btnO3BkgSaveClick();

    // Preferences page.
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
    void rbCMRClick();
    void rbTableClick();
    void edResO3TableFileExit();
    void btnBrowseClick();

    // Shows the serial number and the column totals of slot n (1..4).
    void showTotalO3Slot(int n);
    void showTropopause();
    void showTotalO3Doubt(int slot);

protected:
    void closeEvent(QCloseEvent* event) override { FormClose(event); }

private:
    void buildMenu();
    void buildExtraMenus();
    QStringList recentFlights() const;
    void fillRecentMenu();
    void rememberFlight(const QString& rawPath);
    void openRecent(const QString& rawPath);
    QString lastFlightFolder() const;
    void startUp(const Options& options);
    bool isLoaded() const { return q5.isLoaded(); }
    void enableReCalc();
    void setTitle(const QString& caption);
    // Numeric commit rule: parse, store when different (enabling
    // re-calculation), then show the stored value again.
    void commitNumber(QLineEdit* edit, double& member, const char* format);
    // A standard box of the surface page left: store, refresh its column.
    void commitStandard(QLineEdit* box, double& member, const char* format, int column);
    // Every edit box of the window as if it lost the focus; each command
    // that processes or saves calls it first, however it was chosen. False,
    // with the refused box's message, when a box holds an invalid number:
    // the command does not run then.
    bool commitEdits();

    // Number boxes: what a valid text is, and the message of an invalid one.
    struct EditRule;
    std::vector<EditRule> editRules() const;
    static bool editRuleAccepts(const EditRule& rule);
    void refuseEdit(const EditRule& rule);
    // A box left by the user: true when its text may be stored; otherwise
    // its message comes and the focus goes back to it.
    bool acceptEdit(QLineEdit* box);
    // Every enabled number box in commit order; the first refused one shows
    // its message.
    bool checkEdits();
    void enableReCalcOnTyping();

    // Every page, in page order.
    void clearPages();
    void fillPagesFromConfig();

    QWidget* buildStationPage();
    void clearStationPage();
    void fillStationPage();

    QWidget* buildRadiosondePage();
    void clearRadiosondePage();
    void fillRadiosondePage();

    QWidget* buildOzonesondePage();
    void clearOzonesondePage();
    void fillOzonesondePage();
    void showO3Slot(int n);
    void loadTable(TableKind kind);
    void saveTable(TableKind kind);

    // The preferences file fills the Preferences page and the Total Ozone
    // page's residual method at start-up; an import sets only the launch
    // detection. Save Prefs takes them back from both pages.
    void loadPreferences();
    QWidget* buildPrefsPage();
    void fillPrefsPage(const Preferences& prefs);
    void fillPrefsPageFromConfig();
    Preferences preferencesFromPages() const;
    void endFlightBoxClick(const QCheckBox* box, QLineEdit* edit, double& limit, const char* zeroText);

    QWidget* buildSurfacePage();
    void fillSurfacePage();
    void refreshSurfaceColumn(int column);
    void showSurfacePressure();

    QWidget* buildTotalO3Page();
    void clearTotalO3Page();
    void fillTotalO3Page();
    void fillResidualMethod(const Preferences& prefs);

    // The processing method's group on the Preferences page, its result
    // beside the totals and its inputs on the Ozonesonde(s) page.
    QGroupBox* buildO3MethodGroup(QWidget* page);
    void fillO3MethodGroup(const O3MethodSettings& s);
    void enableO3MethodChoices();
    O3MethodSettings o3MethodFromPage() const;
    void o3MethodChanged();
    static bool writeO3MethodPrefs(const std::string& file, const O3MethodSettings& s);
    void showO3MethodResult(int slot);
    void showO3SondeInputs(int slot);

    // Import stages.
    void runImportProcessing();
    void finishImport();

    // Plot windows' share of the import and re-calculation.
    void clearPlotControls();
    void finishPlotsAfterImport();
    void zoomPlotsAfterReCalc();
    void applyShowAllToPlots();

    void exportData(ExportKind kind);

    // A short notice in the status line that goes by itself.
    void showTransient(const QString& text);
    static std::string writeFailureReason(const QString& path, int error);

    AppDialogs& dialogs_;
    QDialog* guide_ = nullptr;
    bool terminating_ = false;
};

} // namespace lumo
