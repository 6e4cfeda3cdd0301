#pragma once

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

} // namespace lumo
