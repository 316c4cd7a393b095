#pragma once

#include <QString>

#include <tuple>

// A stock as the price tables and the master key it: its code on one market.
struct StockKey {
    QString code;
    QString market;
    bool operator<(const StockKey &other) const { return std::tie(code, market) < std::tie(other.code, other.market); }
};

// Whether a text is a stock code as tmbond holds it: exactly four ASCII digits.
bool isStockCode(const QString &code);
