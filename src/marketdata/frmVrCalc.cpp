#include "marketdata/frmVrCalc.h"

#include <QTimer>

frmVrCalc::frmVrCalc(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVrCalc"));
    QTimer::singleShot(0, this, &QDialog::accept);
}
