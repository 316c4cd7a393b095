#pragma once

#include "core/SettingsRecords.h"

#include <QDate>
#include <QString>

class QComboBox;

// Single-row lookups of one stock day or one reservation, joined with the stock master
// and the market table; a stock without its master or market row is not found. Values
// are bound, never spliced into the SQL, so a code holding "'" is simply not found; an
// empty column reads as 0 or empty text.

// One stock day on the adjusted price scale of 調整終値.
struct KabukaInfo {
    QString companyName; // 会社名; kept as the caller set it when nothing is found
    QString marketName;  // 市場名略称; likewise
    double open = 0;
    double close = 0;
    double high = 0;
    double low = 0;
    int unitShares = 1;
    qint64 volume = 0;
};

// A stock day whose adjusted close is above 0. Sets the prices to 0, unit shares to 1 and
// volume to 0 first. The day's open, high and low are scaled by 調整終値 / 終値; a row
// without its 終値 cannot be scaled and gives the adjusted close for all three.
// 1 when found, else 0.
int getKabukaInfo(const QString &code, const QString &market, const QDate &day, KabukaInfo &info);

struct KabukaInfo2 {
    QString companyName;
    int unitShares = 1;
    int close = 0; // adjusted close, to the nearest yen (halves to even)
    QString marketName;
};

// A stock day, also one whose adjusted close is 0. Not found: empty names, close 0, unit
// shares 1. 1 when found, else 0.
int getKabukaInfo2(const QString &code, const QString &market, const QDate &day, KabukaInfo2 &info);

struct ReservationInfo {
    QString companyName; // kept as the caller set it when nothing is found
    QString marketName;
    int buyPrice = 0;  // executed buy price, to the nearest yen
    int sellPrice = 0; // executed sell price, or the profit-take price while not sold
};

// One reservation by its 予約番号. Prices start at 0. A reservation not yet sold gets the
// sell price floor(buy + buy × 割合売1 / 100). 1 when found, else 0.
int getReservationInfo(qint64 reservationNo, ReservationInfo &info);

// Refills a market box: an empty entry first, then the markets' short names by ランク.
void setSizyouCombo(QComboBox *combo);

// The market code of a short name; empty text for the empty entry or an unknown name.
QString getSizyouCode(const QString &marketName);

// The number of purchases that the base-settings dialog proposes: always 2.
int getDefaultTwo(const BS &base, int capital);
