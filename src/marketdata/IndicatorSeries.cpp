#include "marketdata/IndicatorSeries.h"

#include "core/SettingsRecords.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"

#include <algorithm>
#include <cmath>

IndicatorPeriods IndicatorPeriods::fromSettings()
{
    IndicatorPeriods p;
    p.sma = {SMAS, SMAM, SMAL};
    p.ema = {EMAS, EMAM, EMAL};
    p.macdSignal = MACDSigSMA;
    p.rsi = RSIA;
    p.rci = {RCIS, RCIM};
    p.vr = VRS;
    return p;
}

namespace {

template <typename F>
void forEachLength(const IndicatorPeriods &p, F f)
{
    for (const int n : p.sma)
        f(n);
    for (const int n : p.ema)
        f(n);
    f(p.macdSignal);
    f(p.rsi);
    for (const int n : p.rci)
        f(n);
    f(p.vr);
}

double oneDecimal(double value)
{
    return text::roundHalfAway(value, 1);
}

double twoDecimals(double value)
{
    return text::roundHalfAway(value, 2);
}

double wholeNumber(double value)
{
    return double(text::roundHalfEven(value));
}

// First row of a window of `length` rows that ends at row t, not before row `first`.
std::size_t windowStart(std::size_t t, int length, std::size_t first = 0)
{
    const std::size_t span = std::size_t(length) - 1;
    return std::max(first, t >= span ? t - span : 0);
}

template <typename Value>
double windowMean(const std::vector<SeriesRow> &rows, std::size_t from, std::size_t t, Value value)
{
    double sum = 0;
    for (std::size_t j = from; j <= t; ++j)
        sum += value(rows[j]);
    return sum / double(t - from + 1);
}

// Rank correlation of the n prices that end at row t against their dates: 100 when the
// price rose every day, -100 when it fell every day. `wholeParts` is scratch space.
double rankCorrelation(const std::vector<SeriesRow> &rows, std::size_t t, int n, std::vector<double> &wholeParts)
{
    // A stock's first n stored rows have no RCI, and below 2 rows there is no correlation.
    if (n < 2 || t + 1 <= std::size_t(n))
        return 0;
    const std::size_t start = t + 1 - std::size_t(n);
    wholeParts.resize(std::size_t(n));
    for (std::size_t j = start; j <= t; ++j)
        wholeParts[j - start] = std::floor(rows[j].price);
    double squares = 0;
    for (std::size_t j = start; j <= t; ++j) {
        const double price = rows[j].price;
        // The highest price ranks 1; equal prices share the better rank.
        int rank = 1;
        bool sameWholePart = false;
        for (std::size_t k = start; k <= t; ++k) {
            if (k == j)
                continue;
            rank += rows[k].price > price;
            sameWholePart = sameWholePart || wholeParts[k - start] == wholeParts[j - start];
        }
        // A price that shares its whole-number part with another one takes the half step:
        // + 0.5 rounded to even lifts an odd rank by 1 and keeps an even one.
        if (sameWholePart)
            rank = int(text::roundHalfEven(rank + 0.5));
        const double dateRank = double(t - j + 1); // the oldest row n, row t 1
        squares += (dateRank - rank) * (dateRank - rank);
    }
    return wholeNumber((1 - 6 * squares / ((double(n) * n - 1) * n)) * 100);
}

// Volumes of the rising, falling and unchanged days among the n days that end at row t;
// each day is compared with the previous one, so the first stored day does not count.
void volumeRatios(const std::vector<SeriesRow> &rows, std::size_t t, int n, IndicatorValues &out)
{
    double rising = 0;
    double falling = 0;
    double unchanged = 0;
    for (std::size_t j = windowStart(t, n, 1); j <= t; ++j) {
        const double change = rows[j].price - rows[j - 1].price;
        if (change > 0)
            rising += rows[j].volume;
        else if (change < 0)
            falling += rows[j].volume;
        else
            unchanged += rows[j].volume;
    }
    out.vra = falling + unchanged != 0 ? twoDecimals((rising + unchanged / 2) / (falling + unchanged / 2) * 100) : 0;
    out.vrb = rising + falling + unchanged != 0
                  ? twoDecimals((rising + unchanged / 2) / (rising + falling + unchanged) * 100)
                  : 0;
}

void computeRow(std::vector<SeriesRow> &rows, std::size_t t, std::size_t firstRun, std::size_t signalFirst,
                const IndicatorPeriods &p, bool continueSeries, std::vector<double> &scratch)
{
    IndicatorValues &v = rows[t].values;
    const double price = rows[t].price;

    for (std::size_t s = 0; s < p.sma.size(); ++s)
        v.sma[s] =
            oneDecimal(windowMean(rows, windowStart(t, p.sma[s]), t, [](const SeriesRow &r) { return r.price; }));

    for (std::size_t s = 0; s < p.rci.size(); ++s)
        v.rci[s] = rankCorrelation(rows, t, p.rci[s], scratch);

    // The EMAs, the MACD and its signal stay at full precision: a running average continued
    // from a rounded value stalls once the price is within half a rounding step of it.
    for (std::size_t s = 0; s < p.ema.size(); ++s) {
        const double f = 2.0 / (p.ema[s] + 1);
        const bool seeded = t > firstRun || (continueSeries && t > 0 && rows[t - 1].values.ema[s] != 0);
        v.ema[s] = seeded ? f * price + (1 - f) * rows[t - 1].values.ema[s] : price;
    }
    v.macd = v.ema[0] - v.ema[1];
    v.signal = windowMean(rows, windowStart(t, p.macdSignal, signalFirst), t,
                          [](const SeriesRow &r) { return r.values.macd; });

    if (t == 0) {
        v.up = v.down = 0;
    } else {
        const double change = price - rows[t - 1].price;
        v.up = change > 0 ? wholeNumber(change) : 0;
        v.down = change < 0 ? wholeNumber(-change) : 0;
    }

    const std::size_t rsiFrom = windowStart(t, p.rsi);
    const double averageUp = windowMean(rows, rsiFrom, t, [](const SeriesRow &r) { return r.values.up; });
    const double averageDown = windowMean(rows, rsiFrom, t, [](const SeriesRow &r) { return r.values.down; });
    v.rsi = averageUp + averageDown != 0 ? oneDecimal(100 * averageUp / (averageUp + averageDown)) : 0;

    volumeRatios(rows, t, p.vr, v);
}

} // namespace

bool IndicatorPeriods::valid() const
{
    bool ok = true;
    forEachLength(*this, [&](int n) { ok = ok && n >= 1; });
    return ok;
}

int IndicatorPeriods::lookBack() const
{
    int longest = 0;
    forEachLength(*this, [&](int n) { longest = std::max(longest, n); });
    return longest + 1;
}

void computeIndicators(std::vector<SeriesRow> &rows, std::size_t firstRun, const IndicatorPeriods &periods,
                       bool continueSeries)
{
    // The signal continues over the stored MACDs only as far back as their EMAs were set.
    std::size_t signalFirst = firstRun;
    if (continueSeries) {
        while (signalFirst > 0 && rows[signalFirst - 1].values.ema[0] != 0 && rows[signalFirst - 1].values.ema[2] != 0)
            --signalFirst;
    }
    std::vector<double> scratch;
    for (std::size_t t = firstRun; t < rows.size(); ++t)
        computeRow(rows, t, firstRun, signalFirst, periods, continueSeries, scratch);
}
