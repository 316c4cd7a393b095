#include "core/frmSplash.h"

#include "core/StartUpPicture.h"

#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

frmSplash::frmSplash(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), imgBack(new QLabel(this)),
      lblVersion(new QLabel(this)), Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    imgBack->setObjectName(QStringLiteral("imgBack"));
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Timer1->setObjectName(QStringLiteral("Timer1"));

    ui::showStartUpPicture(this, imgBack);

    lblVersion->setText(
        QStringLiteral("V%1.%2.%3").arg(NIMBRA_VERSION_MAJOR).arg(NIMBRA_VERSION_MINOR).arg(NIMBRA_VERSION_PATCH));
    QPalette palette = lblVersion->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    lblVersion->setPalette(palette);
    lblVersion->adjustSize();
    lblVersion->move(width() - lblVersion->width() - 12, height() - lblVersion->height() - 8);
    lblVersion->raise();

    Timer1->setSingleShot(true);
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, &QDialog::accept);
    Timer1->start();
}

void frmSplash::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}
