#pragma once

#include "platform/ui/cDateTimePicker.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;

namespace ui {
class FlexGrid;
}

// "約定データ設定": records an execution that the system did not learn by mail. A buy makes
// a held position: an existing reservation number is replaced, with its executions and its
// placed orders, only after the user agreed. A sale is booked on the reservation that holds
// the shares, as its notice would have been (a notice that never came or did not fit). The
// date starts at today; an execution entered for today carries the moment of entry. Every
// box is checked before anything is written. The order list `msfgOrder` is rebuilt.
class frmSetYakuzyouData : public QDialog {
    Q_OBJECT
public:
    explicit frmSetYakuzyouData(ui::FlexGrid &msfgOrder, QWidget *parent = nullptr);

private:
    QLineEdit *addRow(const QString &caption, const QString &name, int maxLength, int top);
    // The box's whole number when it holds one that is at least `least`; an empty box
    // counts as 0. Otherwise tells the user which box is wrong.
    std::optional<qint64> wholeNumber(const QLineEdit *box, const QString &label, qint64 least) const;
    // The price box's number (a fraction allowed, as the broker's executions carry one) when
    // it is above 0; otherwise tells the user.
    std::optional<double> positivePrice() const;
    void cmdSet_Click();
    // The sale on reservation `number`, when it holds at least that many shares of the stock
    // and no buy of it is out.
    bool bookSale(qint64 number, const QString &code, const QString &market, qint64 shares, double price,
                  qint64 orderNo);

    ui::FlexGrid &m_msfgOrder;
    QComboBox *m_cmbSizyouCode = nullptr;
    QComboBox *m_cmbBaibai = nullptr;
    QLineEdit *m_txtBrandCode = nullptr;
    QLineEdit *m_txtKabuSu = nullptr;
    QLineEdit *m_txtKingaku = nullptr;
    QLineEdit *m_txtYoyakuNo = nullptr;
    QLineEdit *m_txtTyumonNo = nullptr;
    cDateTimePicker m_dtpDateST;
};
