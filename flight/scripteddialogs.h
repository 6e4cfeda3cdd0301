#pragma once

#include <string>
#include <vector>

#include "userdialogs.h"

namespace lumo {

// Answers every question with one fixed answer and keeps a transcript, for
// the command-line tools and the tests.
class ScriptedDialogs : public UserDialogs {
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
        transcript.push_back({Entry::Question, caption, text, answerYes_});
        return answerYes_;
    }
    void showStatus(const std::string& caption, const std::string& text) override
    {
        transcript.push_back({Entry::Status, caption, text, false});
    }

    std::vector<Entry> transcript;

private:
    bool answerYes_;
};

} // namespace lumo
