#pragma once

#include <QDialog>

class QLabel;

// The one-time recalculation of every indicator of every stored row after the
// volume-ratio columns were added: runs without asking when first shown, then closes
// itself. It cannot be closed while it works.
class frmVrCalc : public QDialog {
    Q_OBJECT
public:
    explicit frmVrCalc(QWidget *parent = nullptr);

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();
    void Form_Activate();

    QLabel *lblMsg;
    bool m_firstActivation = false;
    bool m_working = false;
};
