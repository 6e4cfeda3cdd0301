#pragma once

#include <QLabel>
#include <QLineEdit>

namespace lumo {

// An edit box that reports when the keyboard focus moves on to another
// control of its window (not when the whole window loses the focus, as when a
// message box comes up, and not when the menu bar takes it: a command chosen
// there commits or checks the boxes itself, and sees the text as typed).
class ExitEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ExitEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

signals:
    void exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// Whether the user changed the box's text from what the program showed
// there (`shown`): typed in it, or left another text. Only such a text is
// read back, so that a display's rounding never replaces the stored value.
inline bool userChanged(const QLineEdit* box, const QString& shown)
{
    return box->isModified() || box->text() != shown;
}

// Shows the value with the box's display format; where the format rounds it
// (0.047 shown as 0.05), the box's tool tip adds the value as stored.
void showNumber(QLineEdit* box, const char* format, double value);

// An edit box with its caption label and an optional unit label.
class LabeledEdit : public ExitEdit {
    Q_OBJECT
public:
    LabeledEdit(const QString& caption, const QString& hint, QWidget* parent, const QString& unit = QString());

    QLabel* EditLabel;
    QLabel* unitLabel = nullptr;
};

} // namespace lumo
