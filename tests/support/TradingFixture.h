#pragma once

#include "support/ProgramDirFixture.h"
#include "support/ReservationRows.h"

#include <QDate>
#include <QString>

// A program directory with both databases open and the log running, and small writers of
// the rows the trading code reads: stock master, prices and reservations (ReservationRows).
class TradingFixture : public ProgramDirFixture {
protected:
    void SetUp() override;

    // One tmbond row.
    static void addBond(const QString &code, const QString &market, const QString &name, int unitShares = 100);
    // One ttstocks row; 終値 and 調整終値 both hold the close.
    static void addPrice(const QString &code, const QString &market, const QDate &day, double close,
                         qint64 volume = 1000);
    static int rowCount(const QString &table);
    // The six login and mailbox settings the order cycle needs, filled with test values.
    static void setLoginAndMailbox();

    // Starts an empty log.
    void restartLog();
};
