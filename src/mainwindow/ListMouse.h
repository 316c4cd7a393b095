#pragma once

#include "mainwindow/ListRow.h"
#include "mainwindow/SelectedStock.h"

#include <QDateTime>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace ui {
class FlexGrid;
}

// What the presses on the four lists do, apart from drawing: which row's stock is
// selected, which popup items the order list offers, and the action cell of the order list.

// The stock of a list's current row, with the short chart period. A negative
// `numberColumn` (the candidate list) gives reservation number 0.
SelectedStock selectedStock(const ui::FlexGrid &grid, int codeColumn, int marketColumn, int numberColumn);

// True when a right press on `pressed` opens `popup`: the row has a stock code and the
// popup's menu is enabled (the run control disables the menu's action, not its widget).
bool popupAllowed(const ListRow &pressed, const QMenu &popup);

// Shows or hides the order list's popup items for a row in `state`: "決済" never shows;
// "ｷｬﾝｾﾙ" only for state 0 while stopped; "ﾒﾝﾃﾅﾝｽ" whenever stopped.
void setOrderPopupItems(QAction &kyouseiOrder, QAction &cancel, QAction &mente, int state, bool stopped);

// What a left press on the order list's action cell asks for: "決済" on a bought row
// settles, "取消" on a waiting row within three minutes of the run's start deletes its
// history; an empty cell, like any other cell, only selects the stock.
enum class OrderCellAction { SelectOnly, Settle, DeleteHistory };
OrderCellAction orderCellAction(int column, int state, const QString &actionCell, const QDateTime &now,
                                int startMinute);

// Why a settle request is refused at `now`, as the message to show; empty when it may go on.
QString settleRefusal(const QString &runStatusCaption, const QDateTime &now);

// The settle request of a bought position: refused with a message outside running and
// trading hours; else the user confirms in the settlement dialog and the reservation is
// marked for selling at the next turn of the order cycle. Returns true when it was marked.
bool requestSettle(QWidget *parent, const QString &runStatusCaption, const SelectedStock &stock);
