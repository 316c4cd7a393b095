#pragma once

#include "core/SettingsRecords.h"

#include <QDate>
#include <QString>

// Confirms a candidate against its own row of `day` (the previous data day): the row must
// be valid (調整終値 and 出来高 above 0, 分割区分 0). As far as the condition record
// switches them on (1): MACD lay below its signal on that day and has since risen while
// the signal fell (SLSelMACD); 短期RCI lay below 中期RCI and has since risen while 中期RCI
// fell (SLSelRCI); the candidate's volume is at least SLDekidakaKyutou times that day's
// (SLSelDekidakaKyutou; a factor of 0 asks for at least 0 times and passes). The
// comparisons are strict. `macd` ... `volume` are the candidate's values on the screening day.
bool checkKaiSign(const QDate &day, const QString &code, const QString &market, double macd, double signal,
                  double rciShort, double rciMiddle, qint64 volume, const SL &condition);
