#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

namespace ui {
class FlexGrid;
}

// The daily order preparation: turns the day's candidates into buy reservations, at most
// once a day and no more than the free purchase slots.

// The day of the last preparation; kept in the settings as "LastOrderZyunbiDate", the
// day's serial number as text (days since 1899-12-30: "38722" is 2006-01-05).
extern QDate gdtLastOrderZyunbiDate;

QString daySerialText(const QDate &day);
// An invalid date for a text that is not a whole number.
QDate dateFromDaySerialText(const QString &text);

// Reads gdtLastOrderZyunbiDate from the settings; a missing or bad value leaves no day.
void loadLastOrderZyunbiDate();

// On a trading day not yet prepared, with a free slot: sizes the money per purchase and,
// for each candidate of `msfgSelect` in its order, inserts a market-order reservation of
// the whole trading units that money buys at the day's upper price limit, skipping (and
// logging) a stock already on `msfgOrder`, one without a price row on the processing day,
// one whose price has no price-limit band and one that cannot be bought in whole units;
// then marks the day as prepared. The order record sysOD serves as template and stays as
// the user set it. Always rebuilds the order list. Returns how many it inserted.
int Select2ORderGrid(ui::FlexGrid &msfgSelect, ui::FlexGrid &msfgOrder, const QDateTime &now);
