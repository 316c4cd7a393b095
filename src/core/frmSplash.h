#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// The start-up picture with the program version; closes itself after three seconds.
class frmSplash : public QDialog {
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

protected:
    // Neither a click nor a key closes it before its timer.
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override {}

private:
    QLabel *imgBack;
    QLabel *lblVersion;
    QTimer *Timer1;
};
