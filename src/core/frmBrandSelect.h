#pragma once

#include <QDialog>

class QLabel;

// "検索設定": the screening conditions of the set that glngSetteiMode selects. "決定" stores
// the boxes in that set and saves every setting; "キャンセル" and "閉じる" change nothing.
class frmBrandSelect : public QDialog {
    Q_OBJECT
public:
    explicit frmBrandSelect(QWidget *parent = nullptr);

private:
    void buildConditionRows(QWidget *frame);
    void Form_Load();
    void cmdSelect_Click();

    QLabel *lblMaxDate;
};
