#pragma once

#include <QDate>
#include <QString>

struct SelectedStock;
namespace ui {
class Chart2D;
}

// The daily price chart of one stock from `firstDay` to `lastDay`: split-adjusted candles
// (group 2), the short and medium moving averages and, while the stock is held, the buy
// price and the profit-take (or sell) price as lines (group 1). Only days with a positive
// open, high, low, close and adjusted close and some volume give a point; points are
// numbered without gaps and every 10th is labelled "mm/dd". The Y range covers the candles
// only. `period` 0 draws wide candles for 60 days, any other value narrow ones for 180.
void drawKabukaChart(int period, const QString &code, const QString &market, const QDate &firstDay,
                     const QDate &lastDay, ui::Chart2D &chart);

// The buy price of the stock's open position (a reservation below state 9): its first buy
// execution by reservation number and reception time, to the nearest yen; `yoyakuNo`
// becomes that reservation's number. 0 and `yoyakuNo` untouched when there is none.
// The first argument is not used.
int getYakuzyouKingaku(int unused, const QString &code, const QString &market, qint64 &yoyakuNo);

// The selected stock's price chart up to the processing day over its period: the 60 days
// before it while the period flag is 0, the 180 days while it is 1. Logged as
// "チャート描画: " + code + ":" + market.
void drawSelectedStockChart(const SelectedStock &form, ui::Chart2D &cht2Gra);

// The chart button: toggles the period flag between 60 and 180 days and redraws the
// selected stock on `cht2Gra`.
void imgChart_MouseDown(SelectedStock &form, ui::Chart2D &cht2Gra);
