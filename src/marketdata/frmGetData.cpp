#include "marketdata/frmGetData.h"

#include "core/StartUpPicture.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/modCalc.h"
#include "marketdata/modCosmo.h"
#include "marketdata/modKabuka.h"
#include "marketdata/modKabukaKikan.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/ui/DoEvents.h"

#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace {

void logStep(const char16_t *text)
{
    writeLog(glngLogFileNo, QString::fromUtf16(text));
}

} // namespace

frmGetData::frmGetData(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), imgLogo(new QLabel(this)), lblMsg(new QLabel(this)),
      Inet1(new net::Inet(this))
{
    setObjectName(QStringLiteral("frmGetData"));
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    Inet1->setObjectName(QStringLiteral("Inet1"));
    setModal(true);
    Form_Load();
}

void frmGetData::Form_Load()
{
    lblMsg->clear();
    showStartUpPicture(this, imgLogo);
    QPalette palette = lblMsg->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    lblMsg->setPalette(palette);
    lblMsg->setGeometry(8, height() - 28, width() - 16, 20);
    lblMsg->raise();
}

void frmGetData::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ui::doEvents();
    activateWindow();
    // Activation may not be reported on every platform; the shown window starts its work.
    QTimer::singleShot(0, this, &frmGetData::Form_Activate);
}

bool frmGetData::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, &frmGetData::Form_Activate);
    return handled;
}

void frmGetData::Form_Activate()
{
    if (m_runCount >= 1 || !isVisible())
        return;
    ++m_runCount;
    lblMsg->clear();
    ui::doEvents();

    const QDateTime now = sys::now();
    const QDate yesterday = now.date().addDays(-1);
    const QDate firstMissing = std::max(gdtLastKabukaDate.addDays(1), now.date().addDays(-kKeptPriceDays));

    logStep(u"●株価情報取得開始");
    getKabuka(*Inet1, *lblMsg, firstMissing, yesterday, QString(), QString());
    ui::doEvents();
    logStep(u"●株価情報取得終了");

    logStep(u"●最大最小日付取得開始");
    getKabukaKikan(kReferenceCode, kReferenceMarket, now.date(), gdtFirstKabukaDate, gdtLastKabukaDate);
    ui::doEvents();
    logStep(u"●最大最小日付取得終了");

    logStep(u"●計算処理開始");
    calcKabuka(1, firstMissing, gdtLastKabukaDate, QString(), QString(), lblMsg);
    ui::doEvents();
    logStep(u"●計算処理終了");

    logStep(u"●分割銘柄情報取得開始");
    getBunkatuKabuka(*Inet1, *lblMsg, gdtFirstKabukaDate, gdtLastKabukaDate, QString(), QString());
    ui::doEvents();
    logStep(u"●分割銘柄情報取得終了");

    logStep(u"●注意銘柄情報取得開始");
    setKanriPost(*Inet1, *lblMsg, gdtLastKabukaDate);
    ui::doEvents();
    logStep(u"●注意銘柄情報取得終了");

    m_runCount = 0;
    accept();
}
