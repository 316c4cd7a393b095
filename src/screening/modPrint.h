#pragma once

#include "core/SettingsRecords.h"

#include <QString>

class QListWidget;
namespace ui {
class PrintDialog;
class Printer;
} // namespace ui

// The printed reports: the result of a batch simulation and the trade history. Each asks
// the print dialog first; cancelling prints nothing. Pages hold 75 lines; the header
// comes first on each page, and a page ends after the data line that brings it to 75. The
// trade history's closing lines (a total, a stock's total with the next data line) may run
// past line 75; the printer then draws that page at a closer pitch, so no line is lost.
//
// A report that cannot be printed (no printer, a PDF that cannot be written) is dropped
// and the user is told "印刷できませんでした。" with the printer's or file's name.

// The result list under a header with the capital and the purchase slots of `base`, in
// the copy count and orientation chosen in the dialog. 0 when printed or cancelled, 1
// when printing failed.
int printSimuResult(ui::PrintDialog &dialog, const QListWidget &lstResultData, const BS &base);

// Every recorded execution in two listings, one copy, portrait: by reception time with one
// profit-and-loss total that counts the held positions' purchase value, then grouped by
// stock code with a total per stock (0 for a stock never sold). The second listing is
// printed even when the first failed; a failure is reported once. 0 when printed or
// cancelled, 1 when printing failed.
int printTradeHistory(ui::PrintDialog &dialog);

// 99 "-": the rule of the simulation result.
QString printRule();
// Three ideographic spaces: the left margin of the trade history.
QString printIndent();
// The margin and the table rule of the trade history.
QString printHistoryRule();
