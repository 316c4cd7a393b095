#pragma once

#include "core/JobWindow.h"

#include <QDialog>

class QLabel;

// The one-time recalculation of every indicator of every stored row after the
// volume-ratio columns were added: runs without asking when first shown, then closes
// itself. It cannot be closed while it works, nor stopped: the columns are there already,
// so a conversion cut short would not be run again and the rows after the cut would keep
// volume ratios of 0. The system's request to end the program waits for it.
class frmVrCalc : public QDialog, public JobWindow {
    Q_OBJECT
public:
    explicit frmVrCalc(QWidget *parent = nullptr);

    void stopJob() override {}
    bool jobRunning() const override { return true; }

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
