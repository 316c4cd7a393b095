#pragma once

#include "marketdata/DataJobWindow.h"
#include "marketdata/DateRangeFields.h"

// "株価情報再計算": recomputes the stored indicators of a date range, of one stock on one
// market or of every stock, continuing each series from the rows stored before the range.
// It cannot be closed while the recalculation runs.
class frmCalcDataMN : public DataJobWindow {
    Q_OBJECT
public:
    explicit frmCalcDataMN(QWidget *parent = nullptr);

private:
    void Form_Load();
    void cmdSelect_Click() override;

    DateRangeFields dateRange;
    QLineEdit *txtBrandCode;
    QLabel *lblMaxDate;
};
