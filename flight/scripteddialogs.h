#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "userdialogs.h"

namespace lumo {

// Answers every dialog from a script and keeps a transcript, for the
// command-line tools, the tests and the screenshot programs. Questions take
// the queued answers first, then the fixed answer; an open, save or folder
// dialog takes its queued answer and is cancelled when there is none.
class ScriptedDialogs : public AppDialogs {
public:
    struct Entry {
        enum Kind { Error, Question, Status } kind;
        std::string caption;
        std::string text;
        bool answer; // questions only
    };

    explicit ScriptedDialogs(bool answerYes = false) : answerYes_(answerYes) {}

    void showError(const std::string& caption, const std::string& text) override
    {
        transcript.push_back({Entry::Error, caption, text, false});
    }
    bool askYesNo(const std::string& caption, const std::string& text) override
    {
        bool yes = answerYes_;
        if (!answers.empty()) {
            yes = answers.front();
            answers.pop_front();
        }
        transcript.push_back({Entry::Question, caption, text, yes});
        return yes;
    }
    void showStatus(const std::string& caption, const std::string& text) override
    {
        transcript.push_back({Entry::Status, caption, text, false});
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
    std::optional<std::string> chooseFolder(const FileDialogRequest& request) override
    {
        folderRequests.push_back(request);
        return next(folderAnswers);
    }

    std::vector<Entry> errors() const
    {
        std::vector<Entry> out;
        for (const Entry& e : transcript)
            if (e.kind == Entry::Error)
                out.push_back(e);
        return out;
    }

    std::vector<Entry> transcript;
    std::deque<bool> answers;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<FileDialogRequest> folderRequests;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<std::optional<std::string>> folderAnswers;

private:
    static std::optional<std::string> next(std::deque<std::optional<std::string>>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        auto answer = queue.front();
        queue.pop_front();
        return answer;
    }

    bool answerYes_;
};

} // namespace lumo
