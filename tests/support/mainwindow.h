#pragma once

#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

#include <filesystem>
#include <memory>
#include <string>

#include "flight/scripteddialogs.h"
#include "flight/ini.h"
#include "mainfrm.h"
#include "support/testfiles.h"

namespace lumo::test {

// The program's set-up in one place: preferences kept away from the user's
// own folder. The numbers need no locale set-up: the core writes "." in any.
inline void initGuiTests() { QStandardPaths::setTestModeEnabled(true); }

// The main window and its plot windows, as the program creates them, with a
// short splash time.
struct App {
    explicit App(const std::string& prefsFile)
    {
        TMainFrm::Options options;
        options.prefsFile = QString::fromStdString(prefsFile);
        options.splashMs = 0;
        frm = std::make_unique<TMainFrm>(dialogs, options);
        frm->createPlotWindows();
    }
    ScriptedDialogs dialogs;
    std::unique_ptr<TMainFrm> frm;
};

// The keyboard focus leaves the box for another control of the window.
inline void leave(QLineEdit* box)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &out);
}

inline void typeAndLeave(QLineEdit* box, const QString& text)
{
    box->setText(text);
    leave(box);
}

// Copies a sample flight into the folder under the name `base` (.raw and,
// unless withConfig is false, .cfg); returns the raw file's path.
inline std::string copySample(const TempDir& dir, const std::string& sample, const std::string& base, bool withConfig = true)
{
    namespace fs = std::filesystem;
    const std::string raw = dir.file(base + ".raw");
    fs::copy_file(sourcePath("samples/" + sample + ".raw"), raw, fs::copy_options::overwrite_existing);
    if (withConfig)
        fs::copy_file(sourcePath("samples/" + sample + ".cfg"), dir.file(base + ".cfg"), fs::copy_options::overwrite_existing);
    return raw;
}

inline QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace lumo::test
