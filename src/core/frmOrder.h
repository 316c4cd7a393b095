#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;

// "注文設定": the order conditions of the set that glngSetteiMode selects. The user sees
// only the two automatic-close choices; the other order controls lie outside the visible
// area and keep the values they are created with, so "決定" stores those in every other
// field of the edited set.
class frmOrder : public QDialog {
    Q_OBJECT
public:
    explicit frmOrder(QWidget *parent = nullptr);

private:
    void buildHiddenRules(QWidget *client);
    void Form_Load();
    void enableNanpinKai();
    void cmdOrder_Click();

    QCheckBox *chkNanpin = nullptr;
    QCheckBox *chkKarauri = nullptr;
    QComboBox *cmbNanpinKai = nullptr;
};
