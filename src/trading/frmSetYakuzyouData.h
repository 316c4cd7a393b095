#pragma once

#include "platform/ui/cDateTimePicker.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;

namespace ui {
class FlexGrid;
}

// "約定データ設定": records a bought position that the system did not learn by mail. Every
// box is checked before anything is written; an existing reservation number is replaced,
// with its executions, only after the user agreed. The order list `msfgOrder` is rebuilt.
class frmSetYakuzyouData : public QDialog {
    Q_OBJECT
public:
    explicit frmSetYakuzyouData(ui::FlexGrid &msfgOrder, QWidget *parent = nullptr);

private:
    QLineEdit *addRow(const QString &caption, const QString &name, int maxLength, int top);
    // The box's whole number when it holds one that is at least `least`; an empty box
    // counts as 0. Otherwise tells the user which box is wrong.
    std::optional<qint64> wholeNumber(const QLineEdit *box, const QString &label, qint64 least) const;
    void cmdSet_Click();

    ui::FlexGrid &m_msfgOrder;
    QComboBox *m_cmbSizyouCode = nullptr;
    QLineEdit *m_txtBrandCode = nullptr;
    QLineEdit *m_txtKabuSu = nullptr;
    QLineEdit *m_txtKingaku = nullptr;
    QLineEdit *m_txtYoyakuNo = nullptr;
    QLineEdit *m_txtTyumonNo = nullptr;
    cDateTimePicker m_dtpDateST;
};
