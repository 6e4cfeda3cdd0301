#pragma once

#include <QGridLayout>
#include <QWidget>

#include "labelededit.h"

namespace lumo {

// Small layout helpers shared by the pages of the main window.

inline QGridLayout* pageGrid(QWidget* page)
{
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(10, 8, 10, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    return grid;
}

// Caption in the first column, the edit in the second, the unit (if any)
// in the third.
inline void addLabeledRow(QGridLayout* grid, int row, LabeledEdit* edit, int editSpan = 1)
{
    edit->EditLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(edit->EditLabel, row, 0);
    grid->addWidget(edit, row, 1, 1, editSpan);
    if (edit->unitLabel)
        grid->addWidget(edit->unitLabel, row, 1 + editSpan);
}

// A box that only shows values: read-only and skipped by Tab.
inline void makeDisplayOnly(QLineEdit* edit)
{
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
}

} // namespace lumo
