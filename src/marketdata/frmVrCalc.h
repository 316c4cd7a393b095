#pragma once

#include <QDialog>

// The one-time recalculation of every indicator after the volume-ratio columns were added.
class frmVrCalc : public QDialog {
    Q_OBJECT
public:
    explicit frmVrCalc(QWidget *parent = nullptr);
};
