#pragma once

#include <QLabel>
#include <QLineEdit>

namespace lumo {

// An edit box that reports when the keyboard focus moves on to another
// control of its window (not when the whole window loses the focus, as when a
// message box comes up).
class ExitEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ExitEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

signals:
    void exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

// An edit box with its caption label and an optional unit label.
class LabeledEdit : public ExitEdit {
    Q_OBJECT
public:
    LabeledEdit(const QString& caption, const QString& hint, QWidget* parent, const QString& unit = QString());

    QLabel* EditLabel;
    QLabel* unitLabel = nullptr;
};

} // namespace lumo
