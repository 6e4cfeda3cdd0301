// What a desktop user expects beyond the File, Plot and ReCalc commands:
// keyboard shortcuts, File > Recent flights (kept in the preferences file),
// and the Help menu with a short guide and the About box.
#include "mainfrm.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtGlobal>

#include <qcustomplot.h>

#include "flight/ini.h"
#include "flight/userdialogs.h"

namespace lumo {

namespace {

constexpr int RecentCount = 8;
constexpr const char* RecentSection = "recent";

std::string recentKey(int i) { return "flight" + std::to_string(i + 1); }

} // namespace

void TMainFrm::buildExtraMenus()
{
    mImport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mExportAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    mReCalc->setShortcut(QKeySequence(Qt::Key_F5));
    mExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    mRecent = new QMenu(QStringLiteral("Recent &flights"), this);
    mFile->insertMenu(mExportO3, mRecent);
    mFile->insertSeparator(mExportO3);

    mHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mGuide = mHelp->addAction(QStringLiteral("&Guide"));
    mGuide->setShortcut(QKeySequence(Qt::Key_F1));
    mAbout = mHelp->addAction(QStringLiteral("&About Lumo"));
    connect(mGuide, &QAction::triggered, this, &TMainFrm::mGuideClick);
    connect(mAbout, &QAction::triggered, this, &TMainFrm::mAboutClick);
    // Shortcuts of actions in a menu act while the menu is closed.
    addActions({mImport, mExportAll, mReCalc, mExit, mGuide});
}

QStringList TMainFrm::recentFlights() const
{
    QStringList list;
    const std::string file = prefsFileName.toStdString();
    for (int i = 0; i < RecentCount; ++i) {
        const std::string path = IniReadText(RecentSection, recentKey(i), "", file);
        if (!path.empty())
            list << QString::fromStdString(path);
    }
    return list;
}

void TMainFrm::fillRecentMenu()
{
    mRecent->clear();
    const QStringList list = recentFlights();
    for (int i = 0; i < list.size(); ++i) {
        QAction* a = mRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(list[i])));
        const QString path = list[i];
        connect(a, &QAction::triggered, this, [this, path] { openRecent(path); });
    }
    mRecent->setEnabled(!list.isEmpty());
}

// The flight just imported goes to the top of the list; the list keeps the
// last eight raw files, each once.
void TMainFrm::rememberFlight(const QString& rawPath)
{
    QStringList list = recentFlights();
    const QString path = QFileInfo(rawPath).absoluteFilePath();
    list.removeAll(path);
    list.prepend(path);
    const std::string file = prefsFileName.toStdString();
    for (int i = 0; i < RecentCount; ++i)
        IniWriteText(RecentSection, recentKey(i), i < list.size() ? list[i].toStdString() : std::string(), file);
    fillRecentMenu();
}

void TMainFrm::openRecent(const QString& rawPath)
{
    if (isLoaded() && !dialogs_.askYesNo("Confirm", "Unload current flight and import new flight?"))
        return;
    if (!QFileInfo(rawPath).isFile()) {
        dialogs_.showError("Error", "The raw file " + QDir::toNativeSeparators(rawPath).toStdString() + " no longer exists.");
        return;
    }
    importFile(rawPath);
}

// Where the Import dialog starts: the folder of the last flight.
QString TMainFrm::lastFlightFolder() const
{
    const QStringList list = recentFlights();
    const QString last = srcFileName.isEmpty() ? (list.isEmpty() ? QString() : list.first()) : srcFileName;
    if (last.isEmpty())
        return QString();
    const QFileInfo info(last);
    return info.dir().exists() ? info.absolutePath() + QLatin1Char('/') : QString();
}

void TMainFrm::mAboutClick()
{
    const std::string text = "Lumo " LUMO_VERSION "\n"
                             "Post-processing of balloon-borne ozone soundings.\n\n"
                             "Built with:\n"
                             "Qt " QT_VERSION_STR " (running " + std::string(qVersion()) + "), LGPL-3.0\n"
                             "QCustomPlot " QCUSTOMPLOT_VERSION_STR ", GPL-3.0\n"
                             "netCDF-C (archive files), BSD-3-Clause (UCAR)\n"
                             "C++ standard library (GNU libstdc++), GPL-3.0 with the runtime exception";
    dialogs_.showStatus("About Lumo", text);
}

// The README's part for the desktop user, in a window of its own.
void TMainFrm::mGuideClick()
{
    if (!guide_) {
        guide_ = new QDialog(this);
        guide_->setWindowTitle(QStringLiteral("Lumo guide"));
        guide_->resize(640, 560);
        auto* text = new QTextBrowser(guide_);
        text->setOpenExternalLinks(true);
        auto* layout = new QVBoxLayout(guide_);
        layout->addWidget(text);
        QFile readme(QStringLiteral(":/lumo/README.md"));
        QString guideText = QStringLiteral("The guide is not part of this build.");
        if (readme.open(QIODevice::ReadOnly)) {
            const QString all = QString::fromUtf8(readme.readAll());
            // From the desktop program to the command line.
            const qsizetype from = all.indexOf(QStringLiteral("## Desktop program"));
            const qsizetype to = all.indexOf(QStringLiteral("\n## "), from + 1);
            QStringList lines = all.mid(from, to < 0 ? -1 : to - from).split(QLatin1Char('\n'));
            // The pictures live beside the sources, not in the program.
            lines.removeIf([](const QString& l) { return l.contains(QStringLiteral("](docs/")); });
            guideText = lines.join(QLatin1Char('\n'));
        }
        text->setMarkdown(guideText);
    }
    guide_->show();
    guide_->raise();
}

} // namespace lumo
