#include "screening/modSelectBrandSim.h"

#include "core/modGlobal.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/YieldPacer.h"
#include "screening/modKaiSign.h"
#include "screening/modScreeningFilter.h"
#include "screening/modSelectSQL.h"

using namespace std::chrono_literals;

namespace {

// The window of days whose lowest and highest close place a candidate's price.
constexpr int kPriceWindowDays = 180;

// The row tests of one screened row, in their order; the first failed test decides.
bool passesRowTests(const db::Statement &row, const QDate &day, const QDate &previousDay, const SL &condition)
{
    const QString code = row.text(ScreeningColumn::BrandCode);
    const QString market = row.text(ScreeningColumn::MarketCode);
    const qint64 price = text::roundHalfEven(row.real(ScreeningColumn::AdjustedClose));

    // The window queries only change the outcome of the test that reads them.
    if (condition.SLSelTakayasu == 1) {
        const KikanMaxMin window = getKikanMaxMin(day.addDays(-kPriceWindowDays), day, code, market);
        if (!checkKikanIti2(price, window.low, window.high, condition))
            return false;
    }
    if (condition.SLSelNensyorai == 1) {
        const KikanMaxMin year = getKikanMaxMin(QDate(day.year(), 1, 1), day, code, market);
        if (!checkKabukaZyouken(price, year.low, year.high, condition))
            return false;
    }
    if (condition.SLSelTrend == 1 && !getSMAMaxMinDate(day.addDays(-condition.TrendInterval), day, code, market,
                                                       condition.TrendType, condition.TrendInterval))
        return false;
    return checkKaiSign(previousDay, code, market, row.real(ScreeningColumn::MACD),
                        row.real(ScreeningColumn::MACDSignal), row.real(ScreeningColumn::RCIS),
                        row.real(ScreeningColumn::RCIM), text::roundHalfEven(row.real(ScreeningColumn::Volume)),
                        condition);
}

} // namespace

std::vector<SimCandidate> selectBrandSim(const QDate &day, int limit, const BS &base, const SL &condition,
                                         const OD &order, const Sizyou &markets, const jobs::CancelToken &cancel)
{
    std::vector<SimCandidate> accepted;
    if (getSizyouSu(markets) == 0 || limit <= 0)
        return accepted;
    const QDate previousDay = getMaxDate(day.addDays(-1));
    ui::YieldPacer pacer(50ms);

    db::Statement rows = makeSelectSQL(day, base, condition, order, markets).prepare(gcnDB);
    while (int(accepted.size()) < limit && rows.step()) {
        if (passesRowTests(rows, day, previousDay, condition))
            accepted.push_back({rows.text(ScreeningColumn::BrandCode), rows.text(ScreeningColumn::MarketCode)});
        if (pacer.due())
            ui::doEvents();
        if (cancel.isCancelled())
            break;
    }
    return accepted;
}
