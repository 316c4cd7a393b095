#include "core/modLookup.h"

#include "core/modGlobal.h"
#include "platform/text/VbText.h"

#include <QComboBox>

#include <cmath>

int getKabukaInfo(const QString &code, const QString &market, const QDate &day, KabukaInfo &info)
{
    info.open = info.close = info.high = info.low = 0;
    info.unitShares = 1;
    info.volume = 0;
    db::Statement query = gcnDB.prepare(QStringLiteral(
        "select a.始値, a.高値, a.安値, a.終値, a.調整終値, a.出来高, b.単元株数, b.会社名, c.市場名略称"
        " from ttstocks a, tmbond b, tmmarket c"
        " where a.銘柄コード = ? and a.市場コード = ? and a.調整終値 > 0 and a.日付 = ?"
        " and a.銘柄コード = b.銘柄コード and a.市場コード = b.市場コード and a.市場コード = c.市場コード"));
    query.bindAll(code, market, day);
    if (!query.step())
        return 0;
    const double close = query.real(3);
    const double adjustedClose = query.real(4);
    // Multiply first, then divide, as the adjusted scale is defined.
    const auto adjusted = [&](double price) { return close == 0 ? adjustedClose : price * adjustedClose / close; };
    info.companyName = query.text(7);
    info.marketName = query.text(8);
    info.open = adjusted(query.real(0));
    info.close = adjustedClose;
    info.high = adjusted(query.real(1));
    info.low = adjusted(query.real(2));
    info.unitShares = int(query.int64(6));
    info.volume = query.int64(5);
    return 1;
}

int getKabukaInfo2(const QString &code, const QString &market, const QDate &day, KabukaInfo2 &info)
{
    info.unitShares = 1;
    info.close = 0;
    db::Statement query = gcnDB.prepare(QStringLiteral(
        "select a.調整終値, b.単元株数, b.会社名, c.市場名略称 from ttstocks a, tmbond b, tmmarket c"
        " where a.銘柄コード = ? and a.市場コード = ? and a.日付 = ?"
        " and a.銘柄コード = b.銘柄コード and a.市場コード = b.市場コード and a.市場コード = c.市場コード"));
    query.bindAll(code, market, day);
    if (!query.step()) {
        info.companyName.clear();
        info.marketName.clear();
        return 0;
    }
    info.companyName = query.text(2);
    info.marketName = query.text(3);
    info.close = int(text::roundHalfEven(query.real(0)));
    info.unitShares = int(query.int64(1));
    return 1;
}

int getReservationInfo(qint64 reservationNo, ReservationInfo &info)
{
    info.buyPrice = 0;
    info.sellPrice = 0;
    db::Statement query = gcnDB.prepare(QStringLiteral(
        "select a.約定金額買, a.約定金額売, a.割合売1, b.会社名, c.市場名略称"
        " from ttresevation a, tmbond b, tmmarket c"
        " where a.予約番号 = ?"
        " and a.銘柄コード = b.銘柄コード and a.市場コード = b.市場コード and a.市場コード = c.市場コード"));
    query.bind(1, reservationNo);
    if (!query.step())
        return 0;
    info.companyName = query.text(3);
    info.marketName = query.text(4);
    info.buyPrice = int(text::roundHalfEven(query.real(0)));
    info.sellPrice = int(text::roundHalfEven(query.real(1)));
    if (info.sellPrice == 0)
        info.sellPrice = int(std::floor(info.buyPrice + info.buyPrice * query.real(2) / 100));
    return 1;
}

void setSizyouCombo(QComboBox *combo)
{
    combo->clear();
    combo->addItem(QString());
    db::Statement query = gcnDB.prepare(QStringLiteral("select 市場名略称 from tmmarket order by ランク, rowid"));
    while (query.step())
        combo->addItem(query.text(0));
}

QString getSizyouCode(const QString &marketName)
{
    db::Statement query =
        gcnDB.prepare(QStringLiteral("select 市場コード from tmmarket where 市場名略称 = ? order by rowid limit 1"));
    query.bind(1, marketName);
    return query.step() ? query.text(0) : QString();
}

int getDefaultTwo(const BS &, int)
{
    return 2;
}
