#include "trading/modSendMail.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "platform/sys/ProgramDir.h"
#include "platform/text/VbText.h"
#include "trading/MailConfig.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Sends through the configured server: 0 when the server took the mail, else 1. A missing
// configuration entry is also logged; a refused mail is reported by the result alone.
int sendConfigured(const QString &to, const QString &subject, const QString &body, const QString &attachments,
                   const MailConfig &config)
{
    if (!config.ok()) {
        writeLog(glngLogFileNo, QStringLiteral("メール送信エラー:") + config.problem);
        return 1;
    }
    const QString from = sys::exeName() + QStringLiteral(" <") + config.senderAddress + u'>';
    return gobjBASP->SendMail(config.smtpUrl, to, from, subject, body, attachments).isEmpty() ? 0 : 1;
}

// A column's value as the order list writes it: nothing for an empty column, whole numbers
// stored as REAL without their ".0".
QString columnText(const db::Statement &row, int column)
{
    static const QRegularExpression wholeReal(QStringLiteral(R"(^-?\d+\.0$)"));
    QString value = row.text(column);
    if (wholeReal.match(value).hasMatch())
        value.chop(2);
    return value;
}

} // namespace

int sendYakuzyouMail(const NoticeMailInfo &info, qint64 yoyakuNo, int baibaiKubun)
{
    QString body;
    db::Statement row = gcnDB.prepare(
        QStringLiteral("select 銘柄コード, 市場コード, 約定金額買, 約定金額売 from ttresevation where 予約番号 = ?"));
    row.bind(1, yoyakuNo);
    if (row.step()) {
        KabukaInfo2 stock;
        getKabukaInfo2(row.text(0), row.text(1), gdtLastKabukaDate, stock);
        const double price = row.real(baibaiKubun == 1 ? 2 : 3);
        body = QStringLiteral("約定通知") + kCrLf + kCrLf + QStringLiteral("予約番号：") + QString::number(yoyakuNo) +
               kCrLf + QStringLiteral("銘柄：") + row.text(0) + u':' + stock.companyName + u'(' + stock.marketName +
               u')' + kCrLf + QStringLiteral("約定金額：") + QString::number(price, 'g', 15) + kCrLf +
               QStringLiteral("で約定しました。") + kCrLf;
    }
    if (text::trimSpaces(info.EMail).isEmpty())
        return 0;
    return sendConfigured(text::trimSpaces(info.EMail), QStringLiteral("約定通知"), body, {}, readMailConfig());
}

int sendLogFile()
{
    const MailConfig config = readMailConfig();
    QString body =
        sys::exeName() +
        QStringLiteral(" V%1.%2.%3").arg(NIMBRA_VERSION_MAJOR).arg(NIMBRA_VERSION_MINOR).arg(NIMBRA_VERSION_PATCH) +
        QStringLiteral(" ログファイル") + kCrLf + kCrLf + QStringLiteral("注文リスト") + kCrLf;
    db::Statement rows = gcnDB.prepare(QStringLiteral("select * from ttresevation"));
    while (rows.step()) {
        for (int column = 0; column < rows.columnCount(); ++column)
            body += columnText(rows, column) + u',';
        body += kCrLf;
    }
    QString attachments = gstrLogPath + gstrLogFile;
    for (int d = 1; d <= 7; ++d) {
        const QString copy = sys::programFile(sys::exeName() + QString::number(d) + QStringLiteral(".log"));
        if (QFileInfo::exists(copy))
            attachments += u'\t' + copy;
    }
    return sendConfigured(config.supportAddress, QStringLiteral("ログファイル送信"), body, attachments, config);
}
