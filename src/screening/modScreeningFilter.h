#pragma once

#include "core/SettingsRecords.h"

#include <QDate>
#include <QString>

// Row tests of the screening and the dates and windows they need. Each reads the
// database only. A test returns true when the stock passes, except checkDouitsuMeigara,
// which returns true when the stock is to be left out.

// The number of market flags that are exactly 1.
int getSizyouSu(const Sizyou &markets);

// The newest stored day of the reference stock on or before `day`; `day` itself when
// there is none.
QDate getMaxDate(const QDate &day);

// Lowest and highest 調整終値 and MACD of a stock over a window of days.
struct KikanMaxMin {
    double low = 0;
    double high = 0;
    double macdLow = 0;
    double macdHigh = 0;
};

// Both days included; rows with 調整終値 0 take part. A window without rows gives 0s.
KikanMaxMin getKikanMaxMin(const QDate &first, const QDate &last, const QString &code, const QString &market);

// Passes when the position test is off (SLSelTakayasu other than 1), when the price is
// the window's low, or when the price lies SLWariaiS to SLWariaiE percent of the way from
// low to high, both ends included. A window whose high equals its low while the price
// differs gives no position and fails.
bool checkKikanIti2(qint64 price, double low, double high, const SL &condition);

// The same test with the MACD-position fields SLSelMACDIti, SLMACDItiS, SLMACDItiE.
bool checkKikanIti(qint64 value, double low, double high, const SL &condition);

// Passes when the year-to-date test is off, or the price is a new high of the window
// (SLNensyoraiType 1: price ≥ high) or a new low (any other type: price ≤ low).
bool checkKabukaZyouken(qint64 price, double low, double high, const SL &condition);

// The trend of 中期SMA over the window: type 1 (rising) passes when the latest day of its
// highest value comes after the latest day of its lowest, any other type when it comes
// before. Only valid rows count (調整終値 > 0, 出来高 ≥ 0, 中期SMA > 0); equal days or a
// window without such rows fail. The interval is accepted and not read.
bool getSMAMaxMinDate(const QDate &first, const QDate &last, const QString &code, const QString &market, int trendType,
                      int trendInterval);

// True when an execution of the stock was registered from `days` days before `day`,
// 00:00:00, to `day` 23:59:59. Logs the range and the finding.
bool checkDouitsuMeigara(const QString &code, const QString &market, const QDate &day, int days);
