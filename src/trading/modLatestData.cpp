#include "trading/modLatestData.h"

#include "core/BusyGuard.h"
#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modNimbraCommon.h"
#include "marketdata/UpdateJournal.h"
#include "marketdata/frmGetData.h"
#include "marketdata/modKabukaKikan.h"
#include "marketdata/modMarket.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "trading/modNanpin.h"
#include "trading/modReservation.h"

void getLatestData()
{
    const BusyGuard busy(QStringLiteral("最新データの取得"));
    if (!busy.started())
        return;
    const QDateTime now = sys::now();
    const QDate latestTradingDay = tradingDayBefore(now.date());
    // An update that an earlier run left unfinished is completed even when the reference
    // stock's newest day looks current.
    bool updated = true;
    if (text::formatYmd(latestTradingDay) > text::formatYmd(gdtLastKabukaDate) || readUpdateJournal()) {
        writeLog(glngLogFileNo, QStringLiteral("★最新データの取得開始"));
        updated = frmGetData().exec() == QDialog::Accepted;
        writeLog(glngLogFileNo, QStringLiteral("★最新データの取得終了"));
    }
    // A stopped update leaves the day undone, so the next daily block tries again, and the
    // day prepares no new buys from the older prices.
    if (updated)
        gdtLastDailyDate = now.date();
    gdtUpdateStoppedDate = updated ? QDate() : now.date();
    dayChangeReservation(now);
    getKabukaKikan(kReferenceCode, kReferenceMarket, now.date(), gdtFirstKabukaDate, gdtLastKabukaDate);
    applyFixedPreset(sysBS, sysSizyou, sysSL, sysOD);
    checkNanpin(now, gdtLastKabukaDate, sysOD);
}
