#include "marketdata/DeadSiteRule.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/modinfoseek.h"
#include "platform/ui/MsgBox.h"

namespace {

// The money site's host for messages, or its site-file key when the file names none.
QString siteName()
{
    const QString host = iskSiteHost();
    return host.isEmpty() ? QStringLiteral("Infoseek") : host;
}

} // namespace

void reportDeadSite(const QString &what, const QString &job, const QString &kept)
{
    const QString notice =
        QStringLiteral(
            "株価サイト(%1)から%2銘柄続けて%3を取得できなかったため、%4を中止しました。登録済みの%5はそのままです。")
            .arg(siteName())
            .arg(kDeadSiteStocks)
            .arg(what, job, kept);
    writeLog(glngLogFileNo, notice);
    ui::msgBox(notice, ui::vbExclamation);
}
