#include "marketdata/frmVrCalc.h"

#include "core/Colours.h"
#include "core/modGlobal.h"
#include "marketdata/modCalc.h"
#include "platform/sys/ReentryGuard.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WindowBuilder.h"

#include <QLabel>
#include <QTimer>

namespace {

const QColor kDarkBlue = ui::colorFromBgr(colours::kDarkBlue);
const QColor kLightYellow = ui::colorFromBgr(colours::kLightYellow);

void setColours(QWidget *widget, const QColor &back, const QColor &text)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

frmVrCalc::frmVrCalc(QWidget *parent) : QDialog(parent)
{
    ui::setupFixedDialog(this, QStringLiteral("frmVrCalc"), QString(), 6000, 2520);
    const QString notices[] = {
        QStringLiteral("新たにデータの形式が変更になりました。"),
        QStringLiteral("この処理は数分から数十分かかります。"),
        QStringLiteral("今回一度きりの処理です"),
        QStringLiteral("途中で処理を中断しないでください。"),
        QStringLiteral("データが破損してしまいます。"),
    };
    for (int i = 0; i < 5; ++i) {
        QLabel *lblMsg2 = ui::addLabel(this, notices[i], 360, 240 + i * 300, QStringLiteral("lblMsg2"));
        ui::setControlIndex(lblMsg2, i);
        setColours(lblMsg2, kDarkBlue, Qt::white);
    }
    lblMsg = ui::addLabel(this, QString(), 360, 1920, QStringLiteral("lblMsg"));
    lblMsg->setGeometry(ui::twipsRect(360, 1920, 5280, 300));
    Form_Load();
}

void frmVrCalc::Form_Load()
{
    lblMsg->setText(QString());
    setColours(this, kDarkBlue, Qt::white);
    setColours(lblMsg, kDarkBlue, kLightYellow);
    m_firstActivation = true;
}

void frmVrCalc::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Work once the window is on the screen, so the user reads the notice meanwhile.
    QTimer::singleShot(0, this, &frmVrCalc::Form_Activate);
}

void frmVrCalc::Form_Activate()
{
    if (!m_firstActivation)
        return;
    m_firstActivation = false;
    {
        const sys::ReentryGuard working(m_working);
        calcKabuka(0, gdtFirstKabukaDate, gdtLastKabukaDate, QString(), QString(), lblMsg);
    }
    accept();
}

void frmVrCalc::reject()
{
    if (!m_working)
        QDialog::reject();
}
