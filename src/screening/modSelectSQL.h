#pragma once

#include "core/SettingsRecords.h"
#include "screening/ScreeningQuery.h"

#include <QDate>

// The query of one trading day's buy candidates: that day's ttstocks rows joined with
// their tmbond and tmmarket rows, on the ticked markets (a flag counts only when it is 1),
// above glngSaiteiKabuka, one trading unit at most 5,000,000 yen, a valid unsplit row of
// a screened stock on no caution list, and every range condition of `condition` that is
// in force: a pair with at least one nonzero bound, the turnover when it is nonzero. The
// switches of the record are not read; bounds alone decide. The deviation bands include
// their bounds, the other ranges exclude them.
//
// It returns at most sysBS.KounyuTensu + 2 rows (the live base record, whichever record is
// passed; none when that is below 0), chosen by market rank and then a price-ratio key,
// stock code and market. With glngSelRandom 1 the key is drawn (ScreeningRandom), and a
// second drawn key reorders only the chosen rows, ties kept in their chosen order;
// otherwise the key is the close's ratio to 中期SMA, lowest first.
//
// The base and order records are taken for symmetry with the callers and not read. No
// ticked market gives a query that returns no row.
ScreeningQuery makeSelectSQL(const QDate &day, const BS &base, const SL &condition, const OD &order,
                             const Sizyou &markets);
