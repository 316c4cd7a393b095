#pragma once

#include "core/JobWindow.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "計算設定": edits the ten indicator periods SMAS ... RCIM (VRS is not shown) and
// recomputes every stored indicator with them. Closing stores the boxes and saves every
// setting; it is refused while the recalculation runs. The system's request to end the
// program stops the recalculation after the stock in hand.
class frmCalc : public QDialog, public JobWindow {
    Q_OBJECT
public:
    explicit frmCalc(QWidget *parent = nullptr);

    void stopJob() override;
    bool jobRunning() const override;

    // Every way of closing (the close box and Esc included) comes here.
    void reject() override;

private:
    void Form_Load();
    bool Form_Unload();
    void cmdCalc_Click();
    // Takes the boxes into the periods; false (with a message) when one is no valid period.
    bool takePeriods();

    QLabel *lblMsg;
    QPushButton *cmdCalc;
    QPushButton *cmdClose;
    bool m_stopRequested = false;
};
