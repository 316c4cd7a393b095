#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <optional>

// Writers and readers of ttresevation rows for tests that set up or check the reservation
// store directly.

// The columns of a reservation row that a test sets, named as the table names them and in
// its column order (the order designated initialisers must keep). A column left unset takes
// the table's default:
//     addReservation({.予約番号 = 5, .銘柄コード = QStringLiteral("1234"), .処理区分 = 2});
struct ReservationRow {
    std::optional<qint64> 予約番号{};
    std::optional<qint64> 取引区分{};
    std::optional<qint64> 指成区分買{};
    std::optional<qint64> 指成区分売{};
    std::optional<QString> 銘柄コード{};
    std::optional<qint64> 株数{};
    std::optional<qint64> 指値買11{};
    std::optional<QString> 注文期間{};
    std::optional<qint64> 繰返回数{};
    std::optional<qint64> 実行回数買{};
    std::optional<qint64> 処理区分{};
    std::optional<qint64> エラーコード{};
    std::optional<double> 割合売1{};
    std::optional<QString> 登録日付{};
    std::optional<QString> 更新日付{};
    std::optional<QString> 市場コード{};
    std::optional<double> 約定金額買{};
    std::optional<qint64> 約定株数買{};
    std::optional<double> 約定金額売{};
    std::optional<qint64> 約定株数売{};
    std::optional<qint64> 注文番号{};
    std::optional<qint64> 手動注文区分{};
    std::optional<qint64> 注文回{};
};

void addReservation(const ReservationRow &row);

// A reservation row from (column, value) pairs, for columns a test builds at run time; a
// null value writes NULL.
using ReservationColumns = QList<QPair<QString, QVariant>>;
void addReservation(const ReservationColumns &columns);

// One column of a reservation as text (empty for NULL), or an invalid value when the row
// does not exist.
QVariant reservationValue(qint64 number, const QString &column);

// 処理区分 and 株数 of a reservation that exists.
std::pair<int, int> reservationStateAndShares(qint64 number);
