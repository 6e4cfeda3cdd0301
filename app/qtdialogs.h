#pragma once

#include <QPointer>
#include <QWidget>

class QFileDialog;

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
    // "Raw data files (*.raw) (*.raw);;All files (*.*) (*)": each description
    // as written, then the patterns Qt matches in brackets. "*.*" means every
    // file, with or without an extension (Qt's own "*.*" wants a dot): it
    // becomes "*". A dialog shows the descriptions only (setFilterOf).
    static QString qtFilter(const std::string& filter);
    // Gives a file dialog the filter, showing each description as written.
    static void setFilterOf(QFileDialog& dialog, const std::string& filter);

private:
    QPointer<QWidget> owner_;
};

} // namespace lumo
