#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

// "基本設定": the base settings of the set that glngSetteiMode selects. Only the principal
// is shown, and it cannot be edited; the hidden controls carry the other fields through.
// "決定" checks the principal, sets the number of purchases to its default, stores the
// record, saves every setting and refreshes the main window's header figures.
class frmConfBase : public QDialog {
    Q_OBJECT
public:
    explicit frmConfBase(QWidget *parent = nullptr);

private:
    void Form_Load();
    void Cmd_Exec_Click();

    QLineEdit *txtTousiGanpon;
    QLineEdit *txtKounyuTensu;
    QComboBox *cmbTousiWariai;
    QWidget *chkSelZituKounyu;
};
