#pragma once

#include "support/ProgramDirFixture.h"

#include <QDate>
#include <QString>
#include <QStringList>

// A price database for the screening tests: stocks of the master, their day rows with
// indicators, executions, and the log open.
class ScreeningFixture : public ProgramDirFixture {
protected:
    void SetUp() override;

    // One ttstocks row; the defaults pass every fixed condition of the screening.
    struct Row {
        QString code;
        QString market = QStringLiteral("t1");
        QDate day;
        double adjustedClose = 500;
        qint64 volume = 200000;
        int split = 0;
        double smaS = 500;
        double smaM = 500;
        double smaL = 500;
        double macd = 0;
        double signal = 0;
        double rsi = 0;
        double rciS = 0;
        double rciM = 0;
        double vra = 0;
        double vrb = 0;
    };

    static void addStock(const QString &code, const QString &market = QStringLiteral("t1"), int unitShares = 100,
                         const QString &name = QStringLiteral("テスト工業株式会社"));
    static void addRow(const Row &row);
    // A stock in the master with one row.
    static void addStockRow(const Row &row);
    static void addExecution(const QString &code, const QString &market, const QString &registered);
    // A reservation of stock 9999 registered and last changed at `registered`.
    static void addRegisteredReservation(int number, const QString &registered);
};

// Readable failures for texts and lists of texts.
void PrintTo(const QString &text, std::ostream *os);
