#pragma once

#include <optional>
#include <string>

#include "flight/userdialogs.h"

namespace lumo {

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
};

} // namespace lumo
