#pragma once

#include <QString>
#include <QtGlobal>

namespace ui {
class FlexGrid;
}

// The candidate list: five columns, the hidden stock code and market code, then the stock
// line, the adjusted close and the volume of the processing day. Its last row is always
// empty; readers know it by its empty code cell. The live screening and the hand-entry
// dialog append to it; the order preparation reads it.

// One candidate as the list shows it.
struct BrandGridRow {
    QString code;
    QString market;
    QString companyName; // 会社名; the list shows its first 6 characters
    QString marketName;  // 市場名略称; the list shows its first 2 characters
    double close = 0;    // 調整終値
    qint64 volume = 0;   // 出来高
};

// Empties the list and writes its header: two rows, the header and the empty last row.
void setBrandGridHeader(ui::FlexGrid &grid);

// Writes a candidate into the empty last row and adds a new empty row after it.
void appendBrandGridRow(ui::FlexGrid &grid, const BrandGridRow &row);

// Appends the stock with its figures of the processing day; a stock without a price row
// that day gets an empty name part and 0 in both number columns. Returns 1.
int addBrandGridRow(ui::FlexGrid &grid, const QString &code, const QString &market);
