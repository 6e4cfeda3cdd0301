#pragma once

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QWidget>

#include "labelededit.h"
#include "plots/mybutton.h"
#include "plots/sondeselector.h"

namespace lumo {

// Small layout helpers shared by the pages of the main window.

constexpr int NumberWidth = 80; // edit boxes of numbers

inline QGridLayout* pageGrid(QWidget* page)
{
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    return grid;
}

// Caption in the first column; the edit with its unit (if any) right after
// it in the second.
inline void addLabeledRow(QGridLayout* grid, int row, LabeledEdit* edit)
{
    edit->EditLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(edit->EditLabel, row, 0);
    auto* line = new QHBoxLayout;
    line->setSpacing(6);
    line->addWidget(edit, edit->maximumWidth() < QWIDGETSIZE_MAX ? 0 : 1);
    if (edit->unitLabel)
        line->addWidget(edit->unitLabel);
    if (edit->maximumWidth() < QWIDGETSIZE_MAX)
        line->addStretch(1);
    grid->addLayout(line, row, 1);
}

// A box that only shows values: read-only and skipped by Tab.
inline void makeDisplayOnly(QLineEdit* edit)
{
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    // The window's colour behind the text, as read-only boxes look.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit->setPalette(palette);
}

// The ozonesonde selector as the pages show it: 16 x 21 arrows around a box
// 28 wide, at the left of its row.
inline QHBoxLayout* selectorRow(const SondeSelector* selector)
{
    selector->prev->setFixedSize(16, 21);
    selector->next->setFixedSize(16, 21);
    selector->number->setFixedWidth(28);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(selector->prev);
    row->addWidget(selector->number);
    row->addWidget(selector->next);
    row->addStretch();
    return row;
}

// Radio buttons run their handler when they become checked, by the user or
// by code.
template <typename Handler>
void whenChecked(QRadioButton* button, QObject* context, Handler handler)
{
    QObject::connect(button, &QRadioButton::toggled, context, [handler](bool on) {
        if (on)
            handler();
    });
}

} // namespace lumo
