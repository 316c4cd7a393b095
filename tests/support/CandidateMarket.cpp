#include "support/CandidateMarket.h"

#include "platform/db/Connection.h"

void addCandidateMarket(db::Connection &connection, const QDate &previousDay, const QDate &processingDay)
{
    connection.execute(
        QStringLiteral("insert into tmbond (銘柄コード, 市場コード, 会社名, 単元株数) values "
                       "('7203', 't1', 'トヨタ自動車', 100), ('1001', 't1', 'テスト工業株式会社', 100)"));
    for (const QString &code : {QStringLiteral("7203"), QStringLiteral("1001")}) {
        for (const QDate &day : {previousDay, processingDay})
            connection.execute(
                QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 終値, 調整終値, 出来高, "
                               "分割区分, 短期SMA, 中期SMA, 長期SMA, VRA, VRB) "
                               "values (?, 't1', ?, 930, 930, 100000, 0, 1000, 1200, 1000, 50, 20)"),
                code, day);
    }
}
