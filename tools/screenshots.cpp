// lumo_screenshots OUTDIR [PREFSFILE] RAWFILE: starts the main window as the
// program does, imports the flight and writes one PNG per page of the main
// window into OUTDIR (main-station.png, main-radiosonde.png, ...).
#include <QApplication>
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>
#include <QThread>

#include <utility>

#include <cstdio>

#include "flight/scripteddialogs.h"
#include "labelededit.h"
#include "mainfrm.h"
#include "plots/profileplot.h"
#include "splashfrm.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumo"));
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: lumo_screenshots OUTDIR [PREFSFILE] RAWFILE\n");
        return 2;
    }
    const QDir out(args[1]);
    QDir().mkpath(out.path());

    // Keeps the saved surface values and cancels every file dialog.
    lumo::ScriptedDialogs dialogs;
    lumo::TMainFrm::Options options;
    options.splashMs = 0;
    if (args.size() > 3)
        options.prefsFile = args[2];
    lumo::TMainFrm w(dialogs, options);
    w.createPlotWindows();
    w.show();
    w.importFile(args.last());
    for (const auto& e : dialogs.errors())
        std::fprintf(stderr, "%s: %s\n", e.caption.c_str(), e.text.c_str());

    const char* names[] = {"station", "radiosonde", "ozonesonde", "preferences", "surface", "totalozone"};
    for (int i = 0; i < w.pageControl->count(); ++i) {
        w.pageControl->setCurrentIndex(i);
        QApplication::processEvents();
        const QString file = out.filePath(QStringLiteral("main-%1.png").arg(QString::fromLatin1(names[i])));
        if (!w.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
    }
    // The File and Help menus open over the window, as the screen shows them.
    for (const auto& [menu, name] : {std::pair{w.mFile, "file"}, std::pair{w.mHelp, "help"}}) {
        w.pageControl->setCurrentIndex(0);
        w.menuBar()->setActiveAction(menu->menuAction());
        for (int i = 0; i < 20; ++i) {
            QApplication::processEvents();
            QThread::msleep(20);
        }
        const QRect frame = w.frameGeometry().united(menu->geometry()).adjusted(-2, -2, 2, 2);
        const QPixmap shot = w.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
        menu->hide();
        const QString file = out.filePath(QStringLiteral("main-menu-%1.png").arg(QString::fromLatin1(name)));
        if (!shot.save(file))
            return 1;
        std::printf("%s\n", qPrintable(file));
    }

    // A sounding cut at 20 hPa: the total is marked doubtful.
    w.cbxEndFltPr->setChecked(true);
    w.edEndFltPr->setText(QStringLiteral("20"));
    w.mReCalcClick();
    w.pageControl->setCurrentWidget(w.tabTotalO3);
    QApplication::processEvents();
    const QString doubtful = out.filePath(QStringLiteral("main-totalozone-doubtful.png"));
    if (!w.grab().save(doubtful))
        return 1;
    std::printf("%s\n", qPrintable(doubtful));

    // The standard method with the response correction, and the classic
    // profile beside it in the profile view.
    w.cbxEndFltPr->setChecked(false);
    w.cbO3Method->setCurrentIndex(w.cbO3Method->findText(QStringLiteral("standard")));
    emit w.cbO3Method->activated(w.cbO3Method->currentIndex());
    w.cbxResponseCorr->click();
    w.mReCalcClick();
    w.mProfileClick();
    w.profilePlotFrm->cbxClassic->setChecked(true);
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
    const QString classic = out.filePath(QStringLiteral("plot-profile-classic.png"));
    if (!w.profilePlotFrm->grab().save(classic))
        return 1;
    std::printf("%s\n", qPrintable(classic));

    const QString splash = out.filePath(QStringLiteral("splash.png"));
    if (!lumo::TSplashFrm::drawPicture().save(splash))
        return 1;
    std::printf("%s\n", qPrintable(splash));
    return 0;
}
