#include "core/frmDouisyo.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/net/SiteFile.h"
#include "platform/net/Transfer.h"
#include "platform/text/PageCharset.h"
#include "platform/ui/Twips.h"
#include "platform/ui/WindowBuilder.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>

namespace {
const QString kSiteKey = QStringLiteral("Consent");
}

frmDouisyo::frmDouisyo(QWidget *parent) : QDialog(parent)
{
    ui::setupFixedDialog(this, QStringLiteral("frmDouisyo"), QStringLiteral("使用許諾書"), 9000, 7200);
    WebBrowser1 = new QTextBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(ui::twipsRect(120, 120, 8760, 6240));
    WebBrowser1->setOpenLinks(false);

    cmdOK =
        ui::addButton(this, QStringLiteral("cmdOK"), QStringLiteral("同意する"), ui::twipsRect(5400, 6600, 1695, 435));
    cmdOK->setEnabled(false); // no consent to terms that were never shown
    QPushButton *cmdCancel = ui::addButton(this, QStringLiteral("cmdCancel"), QStringLiteral("同意しない"),
                                           ui::twipsRect(7200, 6600, 1695, 435));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmDouisyo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_loaded)
        return;
    m_loaded = true;
    // Once the window is on the screen; the fetch keeps it painted while it waits.
    QTimer::singleShot(0, this, &frmDouisyo::loadTermsPage);
}

void frmDouisyo::loadTermsPage()
{
    const net::SiteAddress site = net::siteAddress(kSiteKey, QString());
    QString problem = site.problem;
    if (site.ok()) {
        const net::TransferResult page = net::fetch(site.url);
        if (page.succeeded() && !page.body.trimmed().isEmpty()) {
            WebBrowser1->setHtml(text::decodePage(page.body, page.contentType, "CP932"));
            cmdOK->setEnabled(true);
            return;
        }
        problem = QStringLiteral("使用許諾書(") + site.url + QStringLiteral(")を取得できません: ") +
                  (page.error != 0    ? page.errorText
                   : page.succeeded() ? QStringLiteral("空のページ")
                                      : QStringLiteral("HTTP ") + QString::number(page.httpStatus));
    }
    writeLog(glngLogFileNo, problem);
    WebBrowser1->setPlainText(QStringLiteral("使用許諾書を表示できません。\n") + problem +
                              QStringLiteral("\n\n同意するには使用許諾書を読む必要があります。接続を確かめてから、"
                                             "「同意しない」で終了してもう一度起動してください。"));
}
