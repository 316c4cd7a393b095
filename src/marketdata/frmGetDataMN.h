#pragma once

#include "marketdata/DataJobWindow.h"
#include "marketdata/DateRangeFields.h"

namespace net {
class Inet;
}

// "株価取得": downloads the daily prices of a date range again, for every stock or for one
// stock, refreshes the stored range, the split days and the caution flags, and recomputes
// the range's indicators when the user agrees.
class frmGetDataMN : public DataJobWindow {
    Q_OBJECT
public:
    explicit frmGetDataMN(QWidget *parent = nullptr);

private:
    void Form_Load();
    void cmdSelect_Click() override;
    // The run after the user agreed: import, stored range, split pass, caution flags, and
    // the recalculation if wanted; false when the import stopped before the range's end.
    bool redownload(const QString &code);
    // The typed stock code, blanks trimmed; a non-blank code that is not four digits is
    // refused with a message (nothing).
    std::optional<QString> typedCode();

    net::Inet *Inet1;
    QLabel *lblMaxDate;
    DateRangeFields dateRange;
    QLineEdit *txtBrandCode;
};
