#include "qtdialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStringList>

namespace lumo {

namespace {

// A modal box in the middle of a long operation must not show the hourglass.
class ArrowCursor {
public:
    ArrowCursor() { QGuiApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QGuiApplication::restoreOverrideCursor(); }
};

int runBox(QWidget* owner, QMessageBox::Icon icon, const std::string& caption, const std::string& text,
    QMessageBox::StandardButtons buttons)
{
    ArrowCursor arrow;
    QMessageBox box(icon, QString::fromStdString(caption), QString::fromStdString(text), buttons, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    return box.exec();
}

std::optional<std::string> runFileDialog(QWidget* owner, const FileDialogRequest& request, bool save)
{
    ArrowCursor arrow;
    QFileDialog dlg(owner, QString::fromStdString(request.title));
    dlg.setWindowModality(Qt::ApplicationModal);
    dlg.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QtDialogs::setFilterOf(dlg, request.filter);
    dlg.setOption(QFileDialog::ReadOnly, false);
    if (save) {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        if (!request.defaultExt.empty())
            dlg.setDefaultSuffix(QString::fromStdString(request.defaultExt));
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
    }
    // A folder (the last flight's) is where the dialog starts.
    const QString proposed = QString::fromStdString(request.fileName);
    if (!proposed.isEmpty() && QFileInfo(proposed).isDir())
        dlg.setDirectory(proposed);
    else if (!proposed.isEmpty())
        dlg.selectFile(proposed);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().first().toStdString();
}

} // namespace

void QtDialogs::showError(const std::string& caption, const std::string& text)
{
    runBox(owner_, QMessageBox::Warning, caption, text, QMessageBox::Ok);
}

bool QtDialogs::askYesNo(const std::string& caption, const std::string& text)
{
    return runBox(owner_, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtDialogs::showStatus(const std::string& caption, const std::string& text)
{
    runBox(owner_, QMessageBox::Information, caption, text, QMessageBox::Ok);
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request)
{
    return runFileDialog(owner_, request, false);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogRequest& request)
{
    return runFileDialog(owner_, request, true);
}

std::optional<std::string> QtDialogs::chooseFolder(const FileDialogRequest& request)
{
    ArrowCursor arrow;
    const QString folder = QFileDialog::getExistingDirectory(owner_, QString::fromStdString(request.title),
                                                             QString::fromStdString(request.fileName));
    if (folder.isEmpty())
        return std::nullopt;
    return folder.toStdString();
}

QString QtDialogs::qtFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList pairs;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p.trimmed() == QLatin1String("*.*"))
                p = QStringLiteral("*");
        pairs << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return pairs.join(QStringLiteral(";;"));
}

void QtDialogs::setFilterOf(QFileDialog& dialog, const std::string& filter)
{
    // The bracketed patterns qtFilter appends are what Qt hides here.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilter(qtFilter(filter));
}

} // namespace lumo
