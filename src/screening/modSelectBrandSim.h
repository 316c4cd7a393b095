#pragma once

#include "core/CancelToken.h"
#include "core/SettingsRecords.h"

#include <QDate>
#include <QString>

#include <vector>

// One buy candidate of a back-test day.
struct SimCandidate {
    QString code;
    QString market;
};

// The buy candidates of one back-test day: the screening query of `day` walked in its
// order, each row kept when it passes, as the condition record switches them on, its
// position in its 180-day price window, the year-to-date high or low, the trend of 中期SMA
// over TrendInterval days, and the confirmation by its row of the previous data day
// (checkKaiSign). No ticked market, or a limit of 0, gives no candidate.
//
// The live reservation table is not consulted: a back-test's free slots come from its own
// holdings, which the caller passes as the limit. The walk ends when `limit` candidates
// are kept, or after the row in hand once `cancel` is set (the candidates kept so far are
// returned); the token is only read. Yields to the window system while it runs and reads
// the database only.
std::vector<SimCandidate> selectBrandSim(const QDate &day, int limit, const BS &base, const SL &condition,
                                         const OD &order, const Sizyou &markets, const jobs::CancelToken &cancel);
