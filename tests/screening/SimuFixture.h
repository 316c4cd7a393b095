#pragma once

#include "screening/ScreeningFixture.h"

#include <QDate>
#include <QList>

class frmSimu;
class QListWidget;

// A price history for the back-test: the reference stock on every trading day of a range,
// stocks with their open, high, low and close, and simulation set 1 ready to run.
class SimuFixture : public ScreeningFixture {
public:
    // One day of a stock; high and low default to the open, the close to the open.
    struct Bar {
        QString code{};
        QString market = QStringLiteral("t1");
        QDate day{};
        double open = 0;
        double high = 0;
        double low = 0;
        double close = 0;         // raw close
        double adjustedClose = 0; // 0: the raw close
        double smaM = 1000;       // orders the candidates: close / smaM, lowest first
        int split = 0;
    };

protected:
    void SetUp() override;

    static void addBar(Bar bar);
    // A stock on every trading day from `first` to `last` at one price.
    static void addFlat(const QString &code, const QString &market, double price, const QDate &first, const QDate &last,
                        double smaM = 1000);
    // Reference rows on every weekday from `first` to `last` except the given holidays; sets
    // the stored range globals.
    static void addReferenceDays(const QDate &first, const QDate &last, const QList<QDate> &holidays = {});
    static QList<QDate> weekdays(const QDate &first, const QDate &last, const QList<QDate> &holidays = {});

    // The back-test's markets as after the first start: none ticked, so it takes the first
    // section.
    void tickNoMarket();
    // Sets the window's date range and clicks "実行"; returns the result lines.
    static QStringList run(frmSimu &window, const QDate &start, const QDate &end);
    static QStringList lines(const QListWidget &list);
};
