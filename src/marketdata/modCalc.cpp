#include "marketdata/modCalc.h"

#include "core/BusyGuard.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/db/DbDate.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/YieldPacer.h"

#include <QLabel>
#include <QPointer>

#include <algorithm>
#include <chrono>
#include <optional>

namespace {

using namespace std::chrono_literals;

const QString kEarlierRowsSql =
    QStringLiteral("select 調整終値, 出来高, 短期EMA, 中期EMA, 長期EMA, MACD, 上昇幅, 下落幅 from ttstocks"
                   " where 銘柄コード = ? and 市場コード = ? and 日付 <= ? order by 日付 desc limit ?");

const QString kUpdateSql = QStringLiteral(
    "update ttstocks set 更新日付 = ?, 短期SMA = ?, 中期SMA = ?, 長期SMA = ?, 短期EMA = ?, 中期EMA = ?, 長期EMA = ?,"
    " MACD = ?, MACDシグナル = ?, 上昇幅 = ?, 下落幅 = ?, RSI = ?, 短期RCI = ?, 中期RCI = ?, VRA = ?, VRB = ?"
    " where 銘柄コード = ? and 市場コード = ? and 日付 = ?");

// One calculation over the rows of a date range. The rows of one stock are gathered, then
// computed and written together; the writes go into transactions that end whenever the run
// yields, so a timer's database work during the yield runs outside them.
class CalcRun {
public:
    CalcRun(const IndicatorPeriods &periods, bool continueSeries, QLabel *progress, const QDateTime &stamp,
            const std::function<bool()> &stopRequested)
        : m_periods(periods), m_continueSeries(continueSeries), m_progress(progress), m_stamp(db::dateTimeText(stamp)),
          m_stopRequested(stopRequested), m_update(gcnDB.prepare(kUpdateSql))
    {
    }

    void run(const QDate &firstDay, const QDate &lastDay, const QString &code, const QString &market)
    {
        const QString oneCode = text::trimSpaces(code);
        // Rows come in key order straight from the primary key ("+日付" keeps the planner
        // off the date index, which would sort the whole range in a temporary tree).
        QString sql = QStringLiteral(
            "select 銘柄コード, 市場コード, 日付, 調整終値, 出来高 from ttstocks where +日付 between ? and ?");
        if (!oneCode.isEmpty())
            sql += QStringLiteral(" and 銘柄コード = ? and 市場コード = ?");
        sql += QStringLiteral(" order by 銘柄コード, 市場コード, 日付");
        db::Statement rows = gcnDB.prepare(sql);
        rows.bindAll(firstDay, lastDay);
        if (!oneCode.isEmpty())
            rows.bind(3, oneCode).bind(4, market);

        m_transaction.emplace(gcnDB);
        bool inStock = false;
        while (rows.step()) {
            const QString rowCode = rows.text(0);
            const QString rowMarket = rows.text(1);
            if (!inStock || rowCode != m_code || rowMarket != m_market) {
                finishStock();
                if (m_stopRequested && m_stopRequested())
                    break;
                beginStock(rowCode, rowMarket, firstDay.addDays(-1));
                inStock = true;
            }
            m_rows.push_back(SeriesRow{rows.real(3), rows.real(4), {}});
            m_dates.push_back(rows.text(2));
            yieldIfDue(m_dates.back());
        }
        finishStock();
        m_transaction->commit();
    }

private:
    void beginStock(const QString &code, const QString &market, const QDate &endDay)
    {
        m_code = code;
        m_market = market;
        m_dates.clear();
        m_rows = getZenkaiData(code, market, endDay, m_periods.lookBack());
        std::reverse(m_rows.begin(), m_rows.end());
        m_firstRun = m_rows.size();
    }

    void finishStock()
    {
        if (m_dates.empty())
            return;
        computeIndicators(m_rows, m_firstRun, m_periods, m_continueSeries);
        for (std::size_t i = 0; i < m_dates.size(); ++i) {
            writeRow(m_rows[m_firstRun + i].values, m_dates[i]);
            yieldIfDue(m_dates[i]);
        }
        m_dates.clear();
    }

    void writeRow(const IndicatorValues &v, const QString &day)
    {
        m_update.reset();
        m_update.bindAll(m_stamp, v.sma[0], v.sma[1], v.sma[2], v.ema[0], v.ema[1], v.ema[2], v.macd, v.signal, v.up,
                         v.down, v.rsi, v.rci[0], v.rci[1], v.vra, v.vrb, m_code, m_market, day);
        m_update.run();
    }

    void yieldIfDue(const QString &day)
    {
        if (!m_pacer.due())
            return;
        m_transaction->commit();
        m_transaction.reset();
        if (m_progress)
            m_progress->setText(m_code + QStringLiteral("の株価情報(") + text::formatYmdSlash(db::parseDate(day)) +
                                QStringLiteral("分)を計算中です"));
        ui::doEvents();
        m_transaction.emplace(gcnDB);
    }

    const IndicatorPeriods m_periods;
    const bool m_continueSeries;
    QPointer<QLabel> m_progress;
    const QString m_stamp; // 更新日付 of every row written
    const std::function<bool()> &m_stopRequested;
    db::Statement m_update;
    std::optional<db::Transaction> m_transaction;
    ui::YieldPacer m_pacer{100ms};

    // The stock being gathered: its stored rows before the range, then its rows in the range.
    QString m_code;
    QString m_market;
    std::vector<SeriesRow> m_rows;
    std::size_t m_firstRun = 0;
    std::vector<QString> m_dates;
};

} // namespace

bool calcKabuka(int continuation, const QDate &firstDay, const QDate &lastDay, const QString &code,
                const QString &market, QLabel *progress, const std::function<bool()> &stopRequested)
{
    const BusyGuard busy(QStringLiteral("株価情報の計算"));
    if (!busy.started())
        return false;

    const QPointer<QLabel> label(progress);
    if (label)
        label->setText(QString());
    ui::doEvents();

    const IndicatorPeriods periods = IndicatorPeriods::fromSettings();
    if (!periods.valid()) {
        writeLog(glngLogFileNo, QStringLiteral("指標の計算期間に1未満の値があるため、株価情報の計算を行いません"));
        return false;
    }
    CalcRun(periods, continuation == 1, label, sys::now(), stopRequested).run(firstDay, lastDay, code, market);
    return true;
}

std::vector<SeriesRow> getZenkaiData(const QString &code, const QString &market, const QDate &endDay, int lookBack)
{
    db::Statement query = gcnDB.prepare(kEarlierRowsSql);
    query.bindAll(code, market, endDay, lookBack);
    std::vector<SeriesRow> newestFirst;
    while (query.step()) {
        SeriesRow row;
        row.price = query.real(0);
        row.volume = query.real(1);
        row.values.ema = {query.real(2), query.real(3), query.real(4)};
        row.values.macd = query.real(5);
        row.values.up = query.real(6);
        row.values.down = query.real(7);
        newestFirst.push_back(row);
    }
    return newestFirst;
}
