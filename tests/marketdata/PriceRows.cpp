#include "PriceRows.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString kColumns = QStringLiteral(
    "短期SMA, 中期SMA, 長期SMA, 短期EMA, 中期EMA, 長期EMA, MACD, MACDシグナル, 上昇幅, 下落幅, RSI, 短期RCI, 中期RCI,"
    " VRA, VRB, 更新日付");

StoredIndicators fromRow(const db::Statement &st)
{
    StoredIndicators row;
    IndicatorValues &v = row.values;
    v.sma = {st.real(0), st.real(1), st.real(2)};
    v.ema = {st.real(3), st.real(4), st.real(5)};
    v.macd = st.real(6);
    v.signal = st.real(7);
    v.up = st.real(8);
    v.down = st.real(9);
    v.rsi = st.real(10);
    v.rci = {st.real(11), st.real(12)};
    v.vra = st.real(13);
    v.vrb = st.real(14);
    row.updated = st.text(15);
    return row;
}

} // namespace

QList<QDate> insertPrices(const QString &code, const QString &market, const QDate &firstDay,
                          const std::vector<double> &prices, const std::vector<double> &volumes)
{
    db::Transaction transaction(gcnDB);
    db::Statement insert = gcnDB.prepare(
        QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 調整終値, 出来高) values (?, ?, ?, ?, ?)"));
    QList<QDate> days;
    QDate day = firstDay;
    for (std::size_t i = 0; i < prices.size(); ++i) {
        while (day.dayOfWeek() > 5)
            day = day.addDays(1);
        insert.reset();
        insert.bindAll(code, market, day);
        const double volume = i < volumes.size() ? volumes[i] : 1000.0;
        std::isnan(prices[i]) ? insert.bindNull(4) : insert.bind(4, prices[i]);
        std::isnan(volume) ? insert.bindNull(5) : insert.bind(5, volume);
        insert.run();
        days << day;
        day = day.addDays(1);
    }
    transaction.commit();
    return days;
}

StoredIndicators readIndicators(const QString &code, const QString &market, const QDate &day)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select ") + kColumns +
                      QStringLiteral(" from ttstocks where 銘柄コード = ? and 市場コード = ? and 日付 = ?"));
    st.bindAll(code, market, day);
    EXPECT_TRUE(st.step()) << day.toString(Qt::ISODate).toStdString();
    return fromRow(st);
}

std::vector<StoredIndicators> readSeries(const QString &code, const QString &market)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select ") + kColumns +
                      QStringLiteral(" from ttstocks where 銘柄コード = ? and 市場コード = ? order by 日付"));
    st.bindAll(code, market);
    std::vector<StoredIndicators> rows;
    while (st.step())
        rows.push_back(fromRow(st));
    return rows;
}

void setPeriods(const IndicatorPeriods &p)
{
    SMAS = p.sma[0];
    SMAM = p.sma[1];
    SMAL = p.sma[2];
    EMAS = p.ema[0];
    EMAM = p.ema[1];
    EMAL = p.ema[2];
    MACDSigSMA = p.macdSignal;
    RSIA = p.rsi;
    RCIS = p.rci[0];
    RCIM = p.rci[1];
    VRS = p.vr;
}

IndicatorPeriods defaultPeriods()
{
    IndicatorPeriods p;
    p.sma = {5, 25, 75};
    p.ema = {5, 25, 75};
    p.macdSignal = 9;
    p.rsi = 14;
    p.rci = {5, 10};
    p.vr = 25;
    return p;
}

void expectSameValues(const IndicatorValues &a, const IndicatorValues &e, const std::string &where)
{
    const auto check = [&](double actual, double expected, const char *column) {
        EXPECT_DOUBLE_EQ(actual, expected) << column << " at " << where;
    };
    check(a.sma[0], e.sma[0], "短期SMA");
    check(a.sma[1], e.sma[1], "中期SMA");
    check(a.sma[2], e.sma[2], "長期SMA");
    check(a.ema[0], e.ema[0], "短期EMA");
    check(a.ema[1], e.ema[1], "中期EMA");
    check(a.ema[2], e.ema[2], "長期EMA");
    check(a.macd, e.macd, "MACD");
    check(a.signal, e.signal, "MACDシグナル");
    check(a.up, e.up, "上昇幅");
    check(a.down, e.down, "下落幅");
    check(a.rsi, e.rsi, "RSI");
    check(a.rci[0], e.rci[0], "短期RCI");
    check(a.rci[1], e.rci[1], "中期RCI");
    check(a.vra, e.vra, "VRA");
    check(a.vrb, e.vrb, "VRB");
}
