#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "計算設定": edits the ten indicator periods SMAS ... RCIM (VRS is not shown) and
// recomputes every stored indicator with them. Closing stores the boxes and saves every
// setting; it is refused while the recalculation runs.
class frmCalc : public QDialog {
    Q_OBJECT
public:
    explicit frmCalc(QWidget *parent = nullptr);

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
};
