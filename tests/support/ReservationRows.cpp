#include "support/ReservationRows.h"

#include "core/modGlobal.h"

#include <QStringList>

#include <gtest/gtest.h>

void addReservation(const ReservationRow &row)
{
    ReservationColumns columns;
    const auto put = [&columns](const QString &name, const auto &value) {
        if (value)
            columns.append({name, QVariant::fromValue(*value)});
    };
    put(QStringLiteral("予約番号"), row.予約番号);
    put(QStringLiteral("取引区分"), row.取引区分);
    put(QStringLiteral("指成区分買"), row.指成区分買);
    put(QStringLiteral("指成区分売"), row.指成区分売);
    put(QStringLiteral("銘柄コード"), row.銘柄コード);
    put(QStringLiteral("株数"), row.株数);
    put(QStringLiteral("指値買11"), row.指値買11);
    put(QStringLiteral("注文期間"), row.注文期間);
    put(QStringLiteral("繰返回数"), row.繰返回数);
    put(QStringLiteral("実行回数買"), row.実行回数買);
    put(QStringLiteral("処理区分"), row.処理区分);
    put(QStringLiteral("エラーコード"), row.エラーコード);
    put(QStringLiteral("割合売1"), row.割合売1);
    put(QStringLiteral("登録日付"), row.登録日付);
    put(QStringLiteral("更新日付"), row.更新日付);
    put(QStringLiteral("市場コード"), row.市場コード);
    put(QStringLiteral("約定金額買"), row.約定金額買);
    put(QStringLiteral("約定株数買"), row.約定株数買);
    put(QStringLiteral("約定金額売"), row.約定金額売);
    put(QStringLiteral("約定株数売"), row.約定株数売);
    put(QStringLiteral("注文番号"), row.注文番号);
    put(QStringLiteral("手動注文区分"), row.手動注文区分);
    put(QStringLiteral("注文回"), row.注文回);
    addReservation(columns);
}

void addReservation(const ReservationColumns &columns)
{
    QStringList names;
    QStringList marks;
    for (const auto &column : columns) {
        names << column.first;
        marks << QStringLiteral("?");
    }
    db::Statement st = gcnDB.prepare(QStringLiteral("insert into ttresevation (") + names.join(u',') +
                                     QStringLiteral(") values (") + marks.join(u',') + u')');
    int index = 0;
    for (const auto &column : columns) {
        const QVariant &value = column.second;
        ++index;
        if (value.isNull())
            st.bindNull(index);
        else if (value.typeId() == QMetaType::Double)
            st.bind(index, value.toDouble());
        else if (value.typeId() == QMetaType::QString)
            st.bind(index, value.toString());
        else if (value.typeId() == QMetaType::QDateTime)
            st.bind(index, value.toDateTime());
        else
            st.bind(index, value.toLongLong());
    }
    st.run();
}

QVariant reservationValue(qint64 number, const QString &column)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select ") + column + QStringLiteral(" from ttresevation where 予約番号 = ?"));
    st.bind(1, number);
    if (!st.step())
        return {};
    return st.isNull(0) ? QVariant(QString()) : QVariant(st.text(0));
}

std::pair<int, int> reservationStateAndShares(qint64 number)
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select 処理区分, 株数 from ttresevation where 予約番号 = ?"));
    st.bind(1, number);
    EXPECT_TRUE(st.step()) << "no reservation " << number;
    return {int(st.int64(0)), int(st.int64(1))};
}
