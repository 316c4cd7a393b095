#pragma once

#include <QString>

namespace ui {
class FlexGrid;
}

// The order list: every reservation below state 9 whose stock and market are in the master,
// the one changed last first (ties by state, then number). Nine columns: hidden stock code,
// order number, reservation number, state and market code, then the day of the last
// change, the stock line, the state text and the action cell.
//
// The rows are read from the database first and the grid is then filled without yielding,
// so nothing can read it half built; a call that arrives while a rebuild runs makes that
// rebuild run once more when it ends.
void setOrderGrid(ui::FlexGrid &grid);

// The action cell's texts that a press on the cell acts on: settle a bought position, and
// take back a reservation still waiting for its first order.
inline const QString kSettleCellText = QStringLiteral("決済");
inline const QString kCancelCellText = QStringLiteral("取消");
