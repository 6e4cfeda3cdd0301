#pragma once

#include <QPointer>
#include <QWidget>

#include "flight/userdialogs.h"

namespace lumo {

// Modal, topmost message boxes and file dialogs owned by the main window.
class QtDialogs : public AppDialogs {
public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void showError(const std::string& caption, const std::string& text) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;
    void showStatus(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFile(const FileDialogRequest& request) override;
    std::optional<std::string> saveFile(const FileDialogRequest& request) override;
    std::optional<std::string> chooseFolder(const FileDialogRequest& request) override;

    // "Raw data files (*.raw)|*.raw|All files (*.*)|*.*" becomes the Qt form
    // "Raw data files (*.raw);;All files (*.*)"; the descriptions are kept as
    // written, the pattern of each pair is put in brackets when the
    // description does not already show it.
    static QString qtFilter(const std::string& filter);

private:
    QPointer<QWidget> owner_;
};

} // namespace lumo
