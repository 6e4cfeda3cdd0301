// lumo_screenshots OUTDIR [PREFSFILE] RAWFILE: starts the main window as the
// program does, imports the flight and writes one PNG per page of the main
// window into OUTDIR (main-station.png, main-radiosonde.png, ...).
#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include <cstdio>

#include "flight/scripteddialogs.h"
#include "mainfrm.h"
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
    const QString splash = out.filePath(QStringLiteral("splash.png"));
    if (!lumo::TSplashFrm::drawPicture().save(splash))
        return 1;
    std::printf("%s\n", qPrintable(splash));
    return 0;
}
