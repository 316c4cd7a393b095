#pragma once

#include "core/CancelToken.h"
#include "core/SettingsRecords.h"
#include "platform/ui/YieldPacer.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

// What one back-test works on, copied when it starts so that a change of the settings
// during the run does not reach it.
struct SimulationSettings {
    BS base;
    SL condition;
    OD order;
    Sizyou markets;
    int smal = 0;   // the indicator lead-in, in days
    QDate firstDay; // first stored day of the reference stock
    QDate lastDay;  // newest stored day of the reference stock
    // No simulation market was ticked, so the run takes the first market section alone.
    bool marketsDefaulted = false;
};

// The settings a back-test starts from now: simulation set 1, the indicator lead-in and
// the stored range. The simulation's markets are those ticked; with none ticked (as after
// a first start, which stores every flag as 0, and no window sets them), the first market
// section alone, as the live preset screens it.
SimulationSettings currentSimulationSettings();

// The back-test of a range of days, writing its result lines through `addLine`.
//
// Each weekday the previous stored day of the reference stock is screened and its
// candidates are bought at the day's mid-price (adjusted, brought down to the tick) with a
// fixed amount per purchase, capital ÷ purchase slots, in whole trading units; a stock
// already held is not bought again. Then every position is sold at that day's mid-price
// when its gain reaches the profit-take rate, when it has been held longer than the
// holding days (stop-loss kind 2) or when its loss exceeds the stop-loss rate (kind 1).
// No fees or taxes. At each month end, and once after the last day (also after a cancel),
// a block values the holdings at the newest stored adjusted close.
class SimulationRun {
public:
    struct Hooks {
        std::function<void(const QString &)> addLine;  // one result line
        std::function<void(const QString &)> progress; // "yyyy/mm/dd" + "を処理中"
        std::function<void()> dayDone;                 // after every day of the range
    };

    SimulationRun(const SimulationSettings &settings, const jobs::CancelToken &cancel, Hooks hooks);

    // Runs from `start` to `end`, both included; stops after the day in hand once the
    // token is set, and always writes the closing block. True when every day of the range
    // was run whole, false when the token cut the run short.
    bool run(const QDate &start, const QDate &end);

private:
    struct Position {
        QString code;
        QString market;
        qint64 buyPrice = 0;
        qint64 shares = 0;
        QDate buyDate;
    };

    void buy(const QDate &day);
    void sell(const QDate &day);
    void writeSummary(const QString &title, const QDate &valuationDay, bool closing);
    qint64 holdingsValue(const QDate &valuationDay);
    QString tradeLine(const QDate &day, const QString &code, const QString &name, qint64 price, qint64 shares,
                      const QString &verb) const;
    void yield();

    const SimulationSettings m_settings;
    const jobs::CancelToken &m_cancel;
    Hooks m_hooks;
    qint64 m_capital = 0;
    qint64 m_cash = 0;
    qint64 m_amountPerPurchase = 0;
    std::vector<Position> m_held;
    ui::YieldPacer m_pacer;
};
