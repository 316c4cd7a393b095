#pragma once

#include <QDateTime>
#include <QtGlobal>

struct BS;

// Order sizing and the figures of the positions, in whole yen.

// Held positions found by the last getHoyuuKingaku call; getKounyuKingaku reads it.
extern int glngMotiMeigaraCount;

// Purchase slots for a capital: below 600000 yen 2, below 1200000 3, below 2000000 4, up to
// 5000000 5, above 8.
void setKounyuTensu(qint64 capital, BS &record);

// The money for one new purchase: the amount shared among the slots still free (the live
// slots, plus the averaging-down slots when mode is 1), times the share one purchase may
// spend, both rounded down; 0 when no slot is free. Call getHoyuuKingaku just before.
qint64 getKounyuKingaku(qint64 amount, int mode);

// The purchase cost of the held positions registered since `fromDate` (bought or sell
// ordered, and every other row that holds shares: one waiting for an extra buy, one partly
// bought), summed over their buy executions; sets glngMotiMeigaraCount to the number of
// those positions, a position bought in several executions counted once.
qint64 getHoyuuKingaku(const QDateTime &fromDate);

// The realised profit of the finished reservations registered since `fromDate`: their
// sales minus their purchases (negative for a loss). Both figures count from the start of
// the day of `fromDate`.
qint64 getKakuteiSoneki(const QDateTime &fromDate);

// The realised profit of the reservations finished by a sale executed at or after `moment`
// (their last sale), as getKakuteiSoneki counts it.
qint64 getKakuteiSonekiSince(const QDateTime &moment);
