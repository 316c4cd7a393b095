#include "screening/modSuisyouMeigara.h"

#include "core/BusyGuard.h"
#include "core/modGlobal.h"
#include "core/modNimbraCommon.h"
#include "platform/sys/Clock.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/YieldPacer.h"
#include "screening/modKaiSign.h"
#include "screening/modScreeningFilter.h"
#include "screening/modSelectSQL.h"
#include "trading/modBrandGrid.h"
#include "trading/modReservation.h"

#include <QLabel>

using namespace std::chrono_literals;

namespace {

// The window of days whose lowest and highest close place a candidate's price.
constexpr int kPriceWindowDays = 180;

void putCode(QStringList &codes, int position, const QString &code)
{
    while (codes.size() <= position)
        codes << QString();
    codes[position] = code;
}

} // namespace

int searchSuisyouMeigara(int mode, QLabel &lblMsg, ui::FlexGrid &msfgSelect, const QDate &day, BS &base, SL &condition,
                         OD &order, Sizyou &markets, QStringList &codes, const jobs::CancelToken &cancel)
{
    const BusyGuard busy(QStringLiteral("推奨銘柄の検索"));
    if (!busy.started())
        return 0;
    ui::YieldPacer pacer(50ms);
    const auto yield = [&pacer] {
        if (pacer.due())
            ui::doEvents();
    };

    if (mode == 1)
        setBrandGridHeader(msfgSelect);
    if (getSizyouSu(markets) == 0)
        return 0;
    const QDate today = sys::now().date();
    const int registered = getOrderCount(3, today);
    if (registered >= base.KounyuTensu)
        return 0;
    const QDate previousDataDay = getMaxDate(day.addDays(-1));

    applyFixedPreset(base, markets, condition, order);
    db::Statement rows = makeSelectSQL(day, base, condition, order, markets).prepare(gcnDB);
    yield();

    int kept = 0;
    while (rows.step()) {
        const QString code = rows.text(ScreeningColumn::BrandCode);
        const QString market = rows.text(ScreeningColumn::MarketCode);
        const double close = rows.real(ScreeningColumn::AdjustedClose);
        const KikanMaxMin window = getKikanMaxMin(day.addDays(-kPriceWindowDays), day, code, market);
        bool ok = checkKikanIti2(text::roundHalfEven(close), window.low, window.high, condition);
        yield();
        const qint64 volume = text::roundHalfEven(rows.real(ScreeningColumn::Volume));
        if (ok)
            ok = checkKaiSign(previousDataDay, code, market, rows.real(ScreeningColumn::MACD),
                              rows.real(ScreeningColumn::MACDSignal), rows.real(ScreeningColumn::RCIS),
                              rows.real(ScreeningColumn::RCIM), volume, condition);
        yield();
        // Looked up for every row, so the log shows each candidate's finding.
        const bool boughtToday = checkDouitsuMeigara(code, market, today, 0);
        if (ok && !boughtToday) {
            ++kept;
            putCode(codes, kept, code);
            lblMsg.setText(code + QStringLiteral("の株価情報を表示しています"));
            appendBrandGridRow(msfgSelect, {code, market, rows.text(ScreeningColumn::CompanyName),
                                            rows.text(ScreeningColumn::MarketName), close, volume});
            yield();
        }
        lblMsg.setText(QString());
        yield();
        if (kept + registered >= base.KounyuTensu || cancel.isCancelled())
            break;
    }
    return kept;
}
