#pragma once

#include <array>
#include <cstddef>
#include <vector>

// The indicator lengths, in rows (trading days), taken from the settings.
struct IndicatorPeriods {
    std::array<int, 3> sma{}; // 短期SMA, 中期SMA, 長期SMA
    std::array<int, 3> ema{}; // 短期EMA, 中期EMA, 長期EMA
    int macdSignal = 0;       // MACDシグナル
    int rsi = 0;
    std::array<int, 2> rci{}; // 短期RCI, 中期RCI
    int vr = 0;               // VRA, VRB

    static IndicatorPeriods fromSettings();
    // Every length is at least 1 (an RCI below 2 is computed as 0).
    bool valid() const;
    // Stored rows a continued run reads before its first day: every window reaches back
    // at most its length, the day move and the volume ratio one row further.
    int lookBack() const;
};

// The computed values of one row, as stored: rounded to one decimal ("#.0"), the volume
// ratios to two ("#.00"); the day moves and the RCI are whole numbers. The EMAs, the MACD
// and its signal are kept at full precision (later rows go on from them); windows round
// them for display only.
struct IndicatorValues {
    std::array<double, 3> sma{};
    std::array<double, 3> ema{};
    double macd = 0;
    double signal = 0;
    double up = 0;   // 上昇幅
    double down = 0; // 下落幅
    double rsi = 0;
    std::array<double, 2> rci{};
    double vra = 0;
    double vrb = 0;
};

// One row of a stock's series: its adjusted close, its volume and its indicators. Rows
// stored before a run carry the values read back (EMAs, MACD and day moves are used).
struct SeriesRow {
    double price = 0;
    double volume = 0;
    IndicatorValues values;
};

// Computes the indicators of rows[firstRun] onwards in place. rows[0, firstRun) are the
// stored rows before the run, oldest first; when fewer than lookBack() of them are given,
// rows[0] is the stock's first stored day. With `continueSeries` the EMAs and the MACD
// signal go on from the stored rows; otherwise they start afresh at rows[firstRun].
//
// Every recursive value goes on from the previous row's value as stored, and every window
// is summed oldest first, so a run that continues from stored rows gives exactly the
// values of one run over the whole series.
void computeIndicators(std::vector<SeriesRow> &rows, std::size_t firstRun, const IndicatorPeriods &periods,
                       bool continueSeries);
