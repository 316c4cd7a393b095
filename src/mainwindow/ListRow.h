#pragma once

#include "mainwindow/SelectedStock.h"

#include <QString>

namespace ui {
class FlexGrid;
}

// A list row's keys as they stood when the row was pressed. A press's handlers and the
// commands of the popup it opens act on these, never on the grid's current row later:
// selecting a stock fetches its quote in a local event loop, popups and questions are
// modal, and in all of them an order tick may rebuild the order list and move its rows.
struct ListRow {
    int row = 0;         // the pressed row; 0 when the list held no data row
    SelectedStock stock; // code, market and reservation number
    QString stateCell;   // 処理区分 as the order list holds it; empty in the other lists
    QString stockText;   // the stock cell up to its first blank: code, short name, market
    QString actionCell;  // the order list's action cell
};

// Where a list keeps those keys; -1 where it has none.
struct ListColumns {
    int code;
    int market;
    int number;
    int state;
    int stock;
    int action;
};
inline constexpr ListColumns kOrderListColumns{
    .code = 0, .market = 4, .number = 2, .state = 3, .stock = 6, .action = 8};
inline constexpr ListColumns kResultListColumns{
    .code = 0, .market = 2, .number = 3, .state = -1, .stock = 5, .action = -1};
inline constexpr ListColumns kCandidateListColumns{
    .code = 0, .market = 1, .number = -1, .state = -1, .stock = -1, .action = -1};

// The keys of `grid`'s current row.
ListRow readListRow(const ui::FlexGrid &grid, const ListColumns &columns);
