#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace ui {
class FlexGrid;
}

// "個別銘柄指定": adds one stock of the user's choice to the candidate list `msfgSelect`.
// Leaving the code or market box looks the stock up on the processing day and shows its
// name and trading unit; the share box only informs, the order preparation sizes the order.
class frmOrderMini : public QDialog {
    Q_OBJECT
public:
    explicit frmOrderMini(ui::FlexGrid &msfgSelect, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString brandCode() const;
    void validateBrand();
    void cmdSet_Click();

    ui::FlexGrid &m_msfgSelect;
    QComboBox *m_cmbSizyouCode = nullptr;
    QLineEdit *m_txtBrandCode = nullptr;
    QLabel *m_lblBrandName = nullptr;
    QLineEdit *m_txtKabuSu = nullptr;
    bool m_validating = false;
};
