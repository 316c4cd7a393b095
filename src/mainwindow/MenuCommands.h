#pragma once

#include <QString>

namespace ui {
class FlexGrid;
}
struct HeaderLabels;
struct ListRow;

// The menu commands of the main window that act on the lists, the stored history or the
// outside pages.

// Removes the pressed candidate after the user said Yes; the empty last row (no code) is
// left alone, and so is a row that no longer holds the pressed stock. Nothing is written
// to the database.
void deleteCandidateRow(ui::FlexGrid &candidates, const ListRow &pressed);

// Withdraws the pressed row's reservation after the user said Yes, then rebuilds the list.
void cancelReservation(const ListRow &pressed, ui::FlexGrid &orders);

// Deletes the history of the pressed row's reservation after the user said Yes, then
// rebuilds the order list and the results list by date. A press on a list without a data
// row does nothing.
void deleteReservationHistory(const ListRow &pressed, ui::FlexGrid &orders, ui::FlexGrid &resultsByDate);

// The "取消" press on a waiting row: asks as deleteReservationHistory does, and deletes only
// while no order of the row has gone out or is on its way (the order cycle may have started
// its step while the question was open); else says so and keeps the row. The lists are
// rebuilt either way.
void deleteWaitingHistory(const ListRow &pressed, ui::FlexGrid &orders, ui::FlexGrid &resultsByDate);

// Deletes every reservation and execution once the user agreed; only then the start date
// becomes today, the settings are saved and the order list and header are rebuilt. A
// declined question changes nothing. True when deleted.
bool resetHistory(ui::FlexGrid &orders, const HeaderLabels &header);

// Sends the log report after the user said Yes and tells how it went.
void sendLogReport();

// Opens the page `path` of the site file's entry `key` in the desktop's browser; a missing
// entry gives a message and a log line.
void openSitePage(const QString &key, const QString &path);
void openSupportPage();
void openBrokerPage();
