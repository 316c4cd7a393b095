#pragma once

#include <QDialog>

class QLabel;

namespace net {
class Inet;
}

// The start-up data update: the start-up picture with a progress line. Once shown it
// imports the missing trading days up to yesterday, refreshes the stored range, computes
// the new days' indicators, handles the split days and refreshes the caution flags, then
// closes itself. It has no buttons and cannot be closed while it works.
class frmGetData : public QDialog {
    Q_OBJECT
public:
    explicit frmGetData(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    void reject() override {}

private:
    void Form_Load();
    void Form_Activate();

    QLabel *imgLogo;
    QLabel *lblMsg;
    net::Inet *Inet1;
    int m_runCount = 0; // keeps a second activation from running the update again
};
