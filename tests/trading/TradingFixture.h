#pragma once

#include "support/ProgramDirFixture.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

// A program directory with both databases open and the log running, and small writers of
// the rows the trading code reads: stock master, prices and reservations.
class TradingFixture : public ProgramDirFixture {
protected:
    void SetUp() override;

    // One tmbond row.
    void addBond(const QString &code, const QString &market, const QString &name, int unitShares = 100);
    // One ttstocks row; 終値 and 調整終値 both hold the close.
    void addPrice(const QString &code, const QString &market, const QDate &day, double close, qint64 volume = 1000);

    // A reservation row with the given columns; the others take the table's defaults.
    void addReservation(const QList<QPair<QString, QVariant>> &columns);
    // One column of a reservation, or an invalid value when the row does not exist.
    QVariant reservationValue(qint64 number, const QString &column);
    int rowCount(const QString &table);

    // The log's texts without time stamps (closes the log).
    QStringList logLines();
    // Starts an empty log.
    void restartLog();
};
