#pragma once

#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>

#include <clocale>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "appdialogs.h"
#include "flight/ini.h"
#include "mainfrm.h"
#include "support/testfiles.h"

namespace lumo::test {

// Answers the window's dialogs from a script and records what was asked.
// An open or save dialog without a scripted answer is cancelled; a question
// without one is answered No.
class ScriptedAppDialogs : public AppDialogs {
public:
    struct Message {
        enum Kind { Error, Question, Status } kind;
        std::string caption;
        std::string text;
    };

    void showError(const std::string& caption, const std::string& text) override
    {
        messages.push_back({Message::Error, caption, text});
    }
    bool askYesNo(const std::string& caption, const std::string& text) override
    {
        messages.push_back({Message::Question, caption, text});
        if (answers.empty())
            return false;
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
    void showStatus(const std::string& caption, const std::string& text) override
    {
        messages.push_back({Message::Status, caption, text});
    }
    std::optional<std::string> openFile(const FileDialogRequest& request) override
    {
        openRequests.push_back(request);
        return next(openAnswers);
    }
    std::optional<std::string> saveFile(const FileDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return next(saveAnswers);
    }

    // Messages other than the processing's surface questions.
    std::vector<Message> errors() const
    {
        std::vector<Message> out;
        for (const Message& m : messages)
            if (m.kind == Message::Error)
                out.push_back(m);
        return out;
    }

    std::vector<Message> messages;
    std::deque<bool> answers;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;

private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        auto answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

// The program's set-up in one place: C numbers, and preferences kept away
// from the user's own folder.
inline void initGuiTests()
{
    std::setlocale(LC_NUMERIC, "C");
    QStandardPaths::setTestModeEnabled(true);
}

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
    ScriptedAppDialogs dialogs;
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
