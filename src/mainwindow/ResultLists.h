#pragma once

#include <QString>

namespace ui {
class FlexGrid;
}

// The two execution lists of the results views, seven columns each: hidden stock code,
// order number, market code and reservation number, then the day, the stock and the
// content line of the execution.

// The list by date: every execution, by receipt time, buys before sells at the same time.
void setYakuzyouList(ui::FlexGrid &grid);

// The list by stock: the executions of each reservation, buys before sells, each group
// closed by a profit row that shows the sales minus the purchases once the reservation was
// both bought and sold, else 0円.
void setYakuzyouList2(ui::FlexGrid &grid);

// "買" for side 1, "売" for side 2, empty text for any other side.
QString getBaibaiKubunName(int side);
