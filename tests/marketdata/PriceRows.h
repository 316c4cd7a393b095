#pragma once

#include "marketdata/IndicatorSeries.h"

#include <QDate>
#include <QList>
#include <QString>

#include <vector>

// ttstocks rows for tests, written with bound statements on gcnDB and read back as stored.

// Inserts one row per price on consecutive weekdays from firstDay; a NaN price or volume
// is stored as NULL, missing volumes as 1000. Returns the days.
QList<QDate> insertPrices(const QString &code, const QString &market, const QDate &firstDay,
                          const std::vector<double> &prices, const std::vector<double> &volumes = {});

struct StoredIndicators {
    IndicatorValues values;
    QString updated; // 更新日付
};

StoredIndicators readIndicators(const QString &code, const QString &market, const QDate &day);
// Every stored row of one stock, oldest first.
std::vector<StoredIndicators> readSeries(const QString &code, const QString &market);

// Sets the eleven indicator periods: SMAS SMAM SMAL, EMAS EMAM EMAL, MACDSigSMA, RSIA,
// RCIS RCIM, VRS.
void setPeriods(const IndicatorPeriods &periods);
IndicatorPeriods defaultPeriods();

// gtest assertions on all fifteen values.
void expectSameValues(const IndicatorValues &actual, const IndicatorValues &expected, const std::string &where);
