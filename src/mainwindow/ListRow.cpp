#include "mainwindow/ListRow.h"

#include "mainwindow/ListMouse.h"
#include "platform/ui/FlexGrid.h"

namespace {

QString cell(const ui::FlexGrid &grid, int column)
{
    return column < 0 ? QString() : grid.TextMatrix(grid.Row(), column);
}

} // namespace

ListRow readListRow(const ui::FlexGrid &grid, const ListColumns &columns)
{
    ListRow r;
    if (grid.Rows() < 2 || grid.Row() < 1)
        return r;
    r.row = grid.Row();
    r.stock = selectedStock(grid, columns.code, columns.market, columns.number);
    r.stateCell = cell(grid, columns.state);
    const QString stock = cell(grid, columns.stock);
    r.stockText = stock.left(stock.indexOf(u' ') < 0 ? stock.size() : stock.indexOf(u' '));
    r.actionCell = cell(grid, columns.action);
    return r;
}
