#pragma once

#include <QGridLayout>
#include <QHBoxLayout>
#include <QWidget>

#include "labelededit.h"

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
}

} // namespace lumo
