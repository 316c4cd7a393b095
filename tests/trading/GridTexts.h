#pragma once

#include "platform/ui/FlexGrid.h"

#include <QStringList>

// The texts of one row of a list, column by column (row 0 is the header).
inline QStringList rowTexts(const ui::FlexGrid &grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid.Cols(); ++c)
        texts << grid.TextMatrix(row, c);
    return texts;
}
