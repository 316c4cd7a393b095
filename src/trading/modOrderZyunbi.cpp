#include "trading/modOrderZyunbi.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "core/modRegistry.h"
#include "marketdata/modApplication3.h"
#include "marketdata/modKabuka.h"
#include "marketdata/modMarket.h"
#include "platform/sys/ReentryGuard.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/FlexGrid.h"
#include "trading/modOrderGrid.h"
#include "trading/modReservation.h"
#include "trading/modSizing.h"

#include <QSet>

QDate gdtLastOrderZyunbiDate;

namespace {

const QDate kSerialZero(1899, 12, 30);
const QString kLastOrderZyunbiDate = QStringLiteral("LastOrderZyunbiDate");

bool isOnOrderList(const ui::FlexGrid &msfgOrder, const QString &code)
{
    for (int r = 1; r < msfgOrder.Rows(); ++r) {
        if (msfgOrder.TextMatrix(r, 0) == code)
            return true;
    }
    return false;
}

// Tries one candidate of the list: true when a reservation was inserted.
bool prepareCandidate(const ui::FlexGrid &msfgOrder, const QSet<QString> &insertedCodes, const QString &code,
                      const QString &market, qint64 moneyPerStock, const QDateTime &now)
{
    // A stock listed twice among the candidates (the screening's and the user's own pick)
    // is bought once: the order list is rebuilt only at the end.
    if (isOnOrderList(msfgOrder, code) || insertedCodes.contains(code)) {
        writeProgramLog(QStringLiteral("***同一銘柄のためこの銘柄は抜かす(") + code + u')');
        return false;
    }
    KabukaInfo info;
    if (getKabukaInfo(code, market, gdtLastKabukaDate, info) == 0) {
        writeProgramLog(QStringLiteral("***株価が取得できないため銘柄がないと判断しこの銘柄は抜かす(") + code + u')');
        return false;
    }
    const double price = info.close;
    const qint64 unit = info.unitShares;
    qint64 shares = 0;
    if (price > 0 && unit >= 1) {
        qint64 lower = 0;
        qint64 upper = 0;
        getSeigenNehaba(text::roundHalfEven(price), lower, upper);
        if (upper <= 0) {
            writeProgramLog(QStringLiteral("***値幅制限が取得できないためこの銘柄は抜かす(") + code + u')');
            return false;
        }
        // Whole trading units of what the money buys at the day's highest possible price.
        shares = text::roundHalfEven(double(moneyPerStock) / double(upper)) / unit * unit;
    }
    const qint64 buyPrice = getYobineTani(price);
    writeProgramLog(QStringLiteral("***銘柄情報(コード=") + code + u')');
    writeProgramLog(QStringLiteral("***銘柄情報(株数=") + QString::number(shares) + u')');
    writeProgramLog(QStringLiteral("***銘柄情報(買値=") + QString::number(buyPrice) + u')');
    if (moneyPerStock < buyPrice || shares < 1) {
        writeProgramLog(QStringLiteral("***株数分購入できないためこの銘柄は抜かす(") + code + u')');
        return false;
    }
    writeProgramLog(QStringLiteral("***銘柄セット(") + code + u')');
    qint64 number = 0;
    insertReservation(now, number, 0, kubunZyunbi, 0, 0, reservationOrder(sysOD, code, market, int(shares)));
    return true;
}

// The profit realised since the capital was set. A capital read from the broker's balance
// already holds every profit realised before that read; the user's own capital (paper
// mode) holds none since the start date.
qint64 realisedSinceCapital()
{
    if (!sysBS.paperMode() && sysBS.TousiGanponDate > kZeroDate)
        return getKakuteiSonekiSince(sysBS.TousiGanponDate);
    return getKakuteiSoneki(sysBS.StartDate);
}

} // namespace

QString daySerialText(const QDate &day)
{
    return QString::number(kSerialZero.daysTo(day));
}

QDate dateFromDaySerialText(const QString &text)
{
    bool ok = false;
    const qint64 serial = text::trimSpaces(text).toLongLong(&ok);
    return ok ? kSerialZero.addDays(serial) : QDate();
}

void loadLastOrderZyunbiDate()
{
    gdtLastOrderZyunbiDate =
        dateFromDaySerialText(regGetString(HKEY_LOCAL_MACHINE, settingsSubKey(), kLastOrderZyunbiDate));
}

int Select2ORderGrid(ui::FlexGrid &msfgSelect, ui::FlexGrid &msfgOrder, const QDateTime &now)
{
    // The loop lets events through; a preparation started by one of them would see the day
    // not yet marked and buy the same candidates again.
    static bool running = false;
    const sys::ReentryGuard guard(running);
    if (!guard.entered()) {
        writeProgramLog(QStringLiteral("***■Select2ORderGrid実行中のため抜かす"));
        return 0;
    }
    writeProgramLog(QStringLiteral("***■Select2ORderGrid開始"));
    int inserted = 0;
    const qint64 investable = qint64(sysBS.TousiGanpon) - getHoyuuKingaku(sysBS.StartDate) + realisedSinceCapital();
    const qint64 moneyPerStock = getKounyuKingaku(investable, sysOD.ODNanpin);
    writeProgramLog(QStringLiteral("***投資可能元本=") + QString::number(sysBS.TousiGanpon));
    writeProgramLog(QStringLiteral("***1銘柄あたりの元本=") + QString::number(moneyPerStock));
    int listed = msfgOrder.Rows() - 1;
    const bool preparedToday = text::formatYmd(now.date()) == text::formatYmd(gdtLastOrderZyunbiDate);
    if (isTradingDay(now) && !preparedToday && listed < sysBS.KounyuTensu) {
        QSet<QString> insertedCodes;
        for (int i = 1; i < msfgSelect.Rows(); ++i) {
            const QString code = msfgSelect.TextMatrix(i, 0);
            if (text::trimSpaces(code).isEmpty())
                continue;
            if (prepareCandidate(msfgOrder, insertedCodes, code, msfgSelect.TextMatrix(i, 1), moneyPerStock, now)) {
                insertedCodes.insert(code);
                ++inserted;
                ++listed;
            }
            if (listed >= sysBS.KounyuTensu)
                break;
            ui::doEvents();
        }
        gdtLastOrderZyunbiDate = now.date();
        if (regSetString(HKEY_LOCAL_MACHINE, settingsSubKey(), kLastOrderZyunbiDate, daySerialText(now.date())) != 0)
            writeProgramLog(QStringLiteral("***LastOrderZyunbiDateを保存できませんでした"));
    }
    setOrderGrid(msfgOrder);
    writeProgramLog(QStringLiteral("***■Select2ORderGrid終了"));
    return inserted;
}
