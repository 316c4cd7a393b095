#pragma once

#include <QDateTime>
#include <QString>
#include <QtGlobal>

class QAction;
class QMenu;
class QWidget;

namespace ui {
class Chart2D;
class FlexGrid;
} // namespace ui

// What the presses on the four lists do, apart from drawing: which row's stock is
// selected, which popup items the order list offers, and the action cell of the order list.

// Draws the price chart of a selected stock over the 60 days up to the processing day on
// `chart`, and logs it ("チャート描画: " + code + ":" + market).
void showStockChart(const QString &code, const QString &market, ui::Chart2D &chart);

// The stock of a list's current row.
struct StockSelection {
    QString code;
    QString market;
    qint64 reservationNo = 0;
};

// Reads the current row; a negative `numberColumn` (the candidate list) gives number 0.
StockSelection selectedStock(const ui::FlexGrid &grid, int codeColumn, int marketColumn, int numberColumn);

// True when a right press on the current row opens `popup`: the key cell has text and the
// popup is enabled.
bool popupAllowed(const ui::FlexGrid &grid, int keyColumn, const QMenu &popup);

// Shows or hides the order list's popup items for a row in `state`: "決済" never shows;
// "ｷｬﾝｾﾙ" only for state 0 while stopped; "ﾒﾝﾃﾅﾝｽ" whenever stopped.
void setOrderPopupItems(QAction &kyouseiOrder, QAction &cancel, QAction &mente, int state, bool stopped);

// What a left press on the order list's action cell asks for.
enum class OrderCellAction { SelectOnly, Settle, DeleteHistory };
OrderCellAction orderCellAction(int column, int state, const QDateTime &now, int startMinute);

// Why a settle request is refused at `now`, as the message to show; empty when it may go on.
QString settleRefusal(const QString &runStatusCaption, const QDateTime &now);

// The settle request of a bought position: refused with a message outside running and
// trading hours; else the user confirms in the settlement dialog and the reservation is
// marked for selling at the next turn of the order cycle. Returns true when it was marked.
bool requestSettle(QWidget *parent, const QString &runStatusCaption, const StockSelection &stock);
