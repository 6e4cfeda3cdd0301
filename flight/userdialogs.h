#pragma once

#include <optional>
#include <string>

namespace lumo {

// How the core talks to the user. The desktop program shows modal message
// boxes; tests and the command-line tools answer from a script.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // Caption "Error", warning icon, OK.
    virtual void showError(const std::string& caption, const std::string& text) = 0;
    // Question icon, Yes and No; true only for Yes.
    virtual bool askYesNo(const std::string& caption, const std::string& text) = 0;
    // Caption "Status", information icon, OK.
    virtual void showStatus(const std::string& caption, const std::string& text) = 0;
};

// What a caller sets on the open or save dialog before showing it. The
// filter is a text of "description|pattern" pairs separated by "|"; the first
// pair is preselected.
struct FileDialogRequest {
    std::string filter;
    std::string title;      // empty: the dialog's own title
    std::string fileName;   // proposed file name
    std::string defaultExt; // save dialog: appended to a typed name without one
};

// The message boxes of the core plus the open and save file dialogs of the
// desktop program. The window takes one of these so that tests can answer.
class AppDialogs : public UserDialogs {
public:
    // Only an existing file can be chosen. Empty result: cancelled.
    virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
    // Asks before an existing file is overwritten. Empty result: cancelled.
    virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
    // An existing folder, starting in request.fileName. Empty result: cancelled.
    virtual std::optional<std::string> chooseFolder(const FileDialogRequest& request) = 0;
};

} // namespace lumo
