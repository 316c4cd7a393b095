#include "core/frmSplash.h"

#include "sys/ProgramDir.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

frmSplash::frmSplash(QWidget *parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , imgBack(new QLabel(this))
    , lblVersion(new QLabel(this))
    , Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    imgBack->setObjectName(QStringLiteral("imgBack"));
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    Timer1->setObjectName(QStringLiteral("Timer1"));

    const QPixmap picture(sys::programFile(QStringLiteral("Images/bmpStartUp.bmp")));
    if (picture.isNull()) {
        // Without the picture a plain dark panel carries the version.
        setStyleSheet(QStringLiteral("frmSplash { background-color: rgb(0, 0, 64); }"));
        setFixedSize(400, 240);
    } else {
        imgBack->setPixmap(picture);
        imgBack->setGeometry(0, 0, picture.width(), picture.height());
        setFixedSize(picture.size());
    }

    lblVersion->setText(QStringLiteral("V%1.%2.%3").arg(NIMBRA_VERSION_MAJOR).arg(NIMBRA_VERSION_MINOR).arg(NIMBRA_VERSION_PATCH));
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
