#pragma once

#include "ui/cDateTimePicker.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "株価情報再計算": recomputes the stored indicators of a date range, of one stock on one
// market or of every stock, continuing each series from the rows stored before the range.
// It cannot be closed while the recalculation runs.
class frmCalcDataMN : public QDialog {
    Q_OBJECT
public:
    explicit frmCalcDataMN(QWidget *parent = nullptr);

    // Every way of closing (the close box, Esc, the button and the menu) comes here.
    void reject() override;

private:
    void Form_Load();
    void cmdSelect_Click();
    void setBusy(bool busy);

    QLineEdit *txtBrandCode;
    QComboBox *cmbSizyouCode;
    QPushButton *cmdSelect;
    QPushButton *cmdClose;
    QLabel *lblMsg;
    QLabel *lblMaxDate;
    QWidget *picDateST;
    QWidget *picDateED;
    cDateTimePicker dtpDateST;
    cDateTimePicker dtpDateED;
};
