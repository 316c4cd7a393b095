#pragma once

#include "marketdata/IndicatorSeries.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

class QLabel;

// Computes every indicator column of ttstocks (短期SMA ... VRB, and 更新日付) for the rows
// from firstDay to lastDay, of one stock (code and market) or of all stocks when the code
// is blank. With continuation 1 the EMAs and the MACD signal go on from the values stored
// before firstDay; otherwise they start afresh at each stock's first row of the range. The
// windows of the averages, RSI, RCI and volume ratios always reach back into the stored
// rows, so a continued run stores the values of one run over the whole history.
// `progress` (may be null) shows the stock and day being computed. A call that the busy
// guard refuses (made during another job's yield) and a call with a period below 1 do
// nothing but log, and return false; true when the rows were computed.
// The writes are committed in pieces, one whenever the run yields to the window system, so
// it must not be called inside an open transaction; each row is written whole.
// `stopRequested` (may be empty) is asked after each stock: when it says so the run ends
// there, every stock before it computed whole, and the call still returns true.
bool calcKabuka(int continuation, const QDate &firstDay, const QDate &lastDay, const QString &code,
                const QString &market, QLabel *progress, const std::function<bool()> &stopRequested = {});

// The stored rows of one stock on one market up to endDay, newest first, at most lookBack
// of them, with the prices, volumes, EMAs, MACD and day moves a continued run goes on from.
std::vector<SeriesRow> getZenkaiData(const QString &code, const QString &market, const QDate &endDay, int lookBack);
