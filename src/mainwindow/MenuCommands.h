#pragma once

#include <QString>

namespace ui {
class FlexGrid;
}
struct HeaderLabels;

// The menu commands of the main window that act on the lists, the stored history or the
// outside pages.

// Removes the current row of the candidate list after the user said Yes; the empty last
// row (no code) is left alone. Nothing is written to the database.
void deleteCandidateRow(ui::FlexGrid &candidates);

// Withdraws the reservation of the order list's current row after the user said Yes, then
// rebuilds the list.
void cancelReservation(ui::FlexGrid &orders);

// Where a list keeps the stock text and the reservation number of its rows.
struct HistoryColumns {
    int stock;
    int number;
};
inline constexpr HistoryColumns kOrderListHistory{6, 2};
inline constexpr HistoryColumns kResultListHistory{5, 3};

// Deletes the history of the reservation on `source`'s current row after the user said
// Yes, then rebuilds the order list and the results list by date. A list without a data
// row does nothing.
void deleteReservationHistory(const ui::FlexGrid &source, HistoryColumns columns, ui::FlexGrid &orders,
                              ui::FlexGrid &resultsByDate);

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
