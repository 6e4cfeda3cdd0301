#include "mainfrm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

#include "busycursor.h"
#include "flight/userdialogs.h"
#include "labelededit.h"
#include "numtext.h"
#include "plots/fltplot.h"
#include "plots/profileplot.h"
#include "plots/sfcplot.h"
#include "plots/windplot.h"
#include "splashfrm.h"

namespace lumo {

namespace {

constexpr double LeastTabPoints = 6;
// What a tab adds to its caption: the padding on both sides, its frame and
// the style's own margin, in pixels.
constexpr int TabExtra = 2 * 2 + 2 + 8;

// The six captions share the window's fixed width: the tab bar's font is
// made just as much smaller as the platform's font needs for every caption
// to show whole, instead of the window growing.
void fitTabCaptions(QTabWidget& pages)
{
    QFont font = pages.tabBar()->font();
    for (double size = font.pointSizeF(); size >= LeastTabPoints; size -= 0.25) {
        font.setPointSizeF(size);
        const QFontMetrics metrics(font);
        int total = 0;
        for (int i = 0; i < pages.count(); ++i)
            total += metrics.horizontalAdvance(pages.tabText(i)) + TabExtra;
        if (total <= pages.width())
            break;
    }
    pages.tabBar()->setFont(font);
}

} // namespace

TMainFrm::TMainFrm(AppDialogs& dialogs, const Options& options, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      dialogs_(dialogs)
{
    q5.dialogs = &dialogs_;
    // A compact face so that the six pages fit the small window.
    QFont face = font();
    face.setPointSizeF(8);
    setFont(face);
    buildMenu();
    pageControl = new QTabWidget(this);
    pageControl->addTab(tabStation = buildStationPage(), QStringLiteral("Station"));
    pageControl->addTab(tabRadiosonde = buildRadiosondePage(), QStringLiteral("Radiosonde"));
    pageControl->addTab(tabOzonesonde = buildOzonesondePage(), QStringLiteral("Ozonesonde(s)"));
    pageControl->addTab(tabPrefs = buildPrefsPage(), QStringLiteral("Preferences"));
    pageControl->addTab(tabSurface = buildSurfacePage(), QStringLiteral("Surface Data"));
    pageControl->addTab(tabTotalO3 = buildTotalO3Page(), QStringLiteral("Total Ozone"));
    pageControl->setFixedSize(417, 229);
    pageControl->setUsesScrollButtons(false);
    // The selected tab stands out: white like its page, the others greyed
    // and a little lower.
    pageControl->setStyleSheet(QStringLiteral(
        "QTabBar::tab { padding: 3px 2px; border: 1px solid #a0a0a0; border-bottom: none; }"
        "QTabBar::tab:selected { background: palette(base); }"
        "QTabBar::tab:!selected { background: #dcdcdc; color: #404040; margin-top: 2px; }"));
    fitTabCaptions(*pageControl);
    setCentralWidget(pageControl);
    setFixedSize(sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    enableReCalcOnTyping();
    startUp(options);
}

TMainFrm::~TMainFrm()
{
    // The plot windows refer to q5, which goes before the child widgets do.
    q5.plotSinks.clear();
    delete profilePlotFrm;
    delete windPlotFrm;
    delete fltPlotFrm;
    delete sfcPlotFrm;
}

void TMainFrm::buildMenu()
{
    mFile = menuBar()->addMenu(QStringLiteral("&File"));
    mImport = mFile->addAction(QStringLiteral("&Import"));
    mExportO3 = mFile->addAction(QStringLiteral("Export &O3"));
    mExportWinds = mFile->addAction(QStringLiteral("Export &Winds"));
    mExportAll = mFile->addAction(QStringLiteral("Export &All"));
    mExportArchive = mFile->addAction(QStringLiteral("Export a&rchive files\u2026"));
    mWarnings = mFile->addAction(QStringLiteral("&Warnings\u2026"));
    mFile->addSeparator();
    mSavePrefs = mFile->addAction(QStringLiteral("Save &Prefs"));
    mFile->addSeparator();
    mExit = mFile->addAction(QStringLiteral("E&xit"));
    mPlot = menuBar()->addMenu(QStringLiteral("&Plot"));
    mSurface = mPlot->addAction(QStringLiteral("&Surface"));
    mFlight = mPlot->addAction(QStringLiteral("&Flight"));
    mProfile = mPlot->addAction(QStringLiteral("&Profile"));
    mPlot->addSeparator();
    mWinds = mPlot->addAction(QStringLiteral("&Winds"));
    mReCalc = menuBar()->addAction(QStringLiteral("&ReCalc"));
    for (QAction* a : {mExportO3, mExportWinds, mExportAll, mExportArchive, mSurface, mFlight, mProfile, mWinds, mReCalc})
        a->setEnabled(false);

    connect(mImport, &QAction::triggered, this, &TMainFrm::mImportClick);
    connect(mExportO3, &QAction::triggered, this, &TMainFrm::mExportO3Click);
    connect(mExportWinds, &QAction::triggered, this, &TMainFrm::mExportWindsClick);
    connect(mExportAll, &QAction::triggered, this, &TMainFrm::mExportAllClick);
    connect(mExportArchive, &QAction::triggered, this, &TMainFrm::mExportArchiveClick);
    connect(mSavePrefs, &QAction::triggered, this, &TMainFrm::mSavePrefsClick);
    connect(mExit, &QAction::triggered, this, &TMainFrm::mExitClick);
    connect(mSurface, &QAction::triggered, this, &TMainFrm::mSurfaceClick);
    connect(mFlight, &QAction::triggered, this, &TMainFrm::mFlightClick);
    connect(mProfile, &QAction::triggered, this, &TMainFrm::mProfileClick);
    connect(mWinds, &QAction::triggered, this, &TMainFrm::mWindsClick);
    connect(mReCalc, &QAction::triggered, this, &TMainFrm::mReCalcClick);
    connect(mWarnings, &QAction::triggered, this, &TMainFrm::mWarningsClick);

    buildExtraMenus();

    lblStatus = new QLabel(menuBar());
    lblStatus->setContentsMargins(4, 0, 6, 0);
    menuBar()->setCornerWidget(lblStatus, Qt::TopRightCorner);
    statusTimer = new QTimer(this);
    statusTimer->setSingleShot(true);
    connect(statusTimer, &QTimer::timeout, lblStatus, [this] {
        lblStatus->clear();
        lblStatus->setToolTip(QString());
    });
}

void TMainFrm::showTransient(const QString& text)
{
    // What does not fit beside the menus is elided in the middle; the tool
    // tip holds it whole.
    const int room = std::max(60, width() - menuBar()->actionGeometry(mReCalc).right() - 120);
    lblStatus->setText(lblStatus->fontMetrics().elidedText(text, Qt::ElideMiddle, room));
    lblStatus->setToolTip(text);
    statusTimer->start(10000);
}

QString TMainFrm::resolvePrefsPath(const QString& name)
{
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return name;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(name);
}

void TMainFrm::startUp(const Options& options)
{
    splash = new TSplashFrm(this);
    prefsFileName = resolvePrefsPath(options.prefsFile);
    splashDone = false;
    setTitle(QStringLiteral("Lumo"));

    splashTimer = new QTimer(this);
    splashTimer->setSingleShot(true);
    splashTimer->setTimerType(Qt::PreciseTimer);
    connect(splashTimer, &QTimer::timeout, this, [this] {
        splashDone = true;
        splashTimer->stop();
    });
    splashTimer->start(options.splashMs);
    splash->show();
    splash->repaint();
    {
        BusyCursor hourglass;
        loadPreferences();
        fillRecentMenu();
        while (!splashDone) {
            splash->repaint();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    splash->hide();
    pageControl->setCurrentIndex(0);
}

void TMainFrm::setTitle(const QString& caption)
{
    setWindowTitle(caption);
    // The application title (what the task bar shows for the program).
    qApp->setProperty("applicationTitle", caption);
}

void TMainFrm::enableReCalc()
{
    if (isLoaded())
        mReCalc->setEnabled(true);
}

void TMainFrm::commitNumber(QLineEdit* edit, double& member, const char* format)
{
    if (!userChanged(edit, formatNumber(format, member)))
        return;
    double value = 0;
    if (parseNumber(edit->text(), value) && value != member) {
        member = value;
        enableReCalc();
    }
    showNumber(edit, format, member);
}

void TMainFrm::clearPages()
{
    setTitle(QStringLiteral("Lumo"));
    for (QAction* a : {mExportO3, mExportWinds, mExportAll, mExportArchive, mReCalc, mSurface, mFlight, mProfile, mWinds})
        a->setEnabled(false);
    clearStationPage();
    clearRadiosondePage();
    clearOzonesondePage();
    clearTotalO3Page();
    clearPlotControls();
}

void TMainFrm::fillPagesFromConfig()
{
    fillStationPage();
    fillRadiosondePage();
    fillOzonesondePage();
    fillPrefsPageFromConfig();
    fillSurfacePage();
    fillTotalO3Page();
}

void TMainFrm::mExitClick()
{
    if (!dialogs_.askYesNo("Confirm", "Terminate program?"))
        return;
    terminating_ = true;
    close();
    QCoreApplication::quit();
}

void TMainFrm::FormClose(QCloseEvent* event)
{
    if (terminating_) {
        event->accept();
        return;
    }
    event->ignore();
    mExitClick();
}

} // namespace lumo
