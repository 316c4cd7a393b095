#pragma once

#include "platform/db/Connection.h"

#include <QDate>
#include <QString>

#include <variant>
#include <vector>

// A screening query ready to run: SQL text with "?" placeholders and the values that go
// into them, in the order of the placeholders. Nothing of the settings or the day is ever
// written into the text itself.
struct ScreeningQuery {
    using Value = std::variant<qint64, double, QDate>;

    QString sql;
    std::vector<Value> values;

    // Prepares the text on the connection with every value bound.
    db::Statement prepare(db::Connection &connection) const;
};

// The result columns of a screening query, in their order.
namespace ScreeningColumn {
enum : int {
    KarauriKubun, // 空売区分, always 0
    BrandCode,    // 銘柄コード
    AdjustedClose,
    Close,
    SMAS,
    SMAM,
    SMAL,
    MACD,
    MACDSignal,
    Volume,
    RSI,
    RCIS,
    RCIM,
    CompanyName, // 会社名
    UnitShares,  // 単元株数
    MarketCode,  // 市場コード
    MarketName,  // 市場名略称
    Rank,        // ランク
};
}
