#include "trading/modYakuzyouMail.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "platform/db/Error.h"
#include "platform/sys/Clock.h"
#include "platform/sys/OwnerOnly.h"
#include "platform/sys/ProgramDir.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/MsgBox.h"
#include "trading/MailConfig.h"
#include "trading/YakuzyouNotice.h"
#include "trading/modBroker.h"
#include "trading/modReservation.h"
#include "trading/modSendMail.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSet>

namespace {

// Results kept with a handled file.
const QString kApplied = QStringLiteral("約定");
const QString kNoReservation = QStringLiteral("予約なし");
const QString kDuplicate = QStringLiteral("重複");
const QString kInvalid = QStringLiteral("不正");
const QString kUnreadable = QStringLiteral("読込失敗");
const QString kNotNotice = QStringLiteral("通知以外");
const QString kOtherSender = QStringLiteral("差出人対象外");

bool gPassRunning = false;

// What this run's passes have already told about the mailbox, so that a mailbox that stays as
// it is does not say the same at every pass.
struct MailboxReports {
    QSet<QString> oversizedKeys;
    bool deletionRefusalTold = false;
};
MailboxReports gReported;

class PassGuard {
public:
    PassGuard() { gPassRunning = true; }
    ~PassGuard() { gPassRunning = false; }
    PassGuard(const PassGuard &) = delete;
    PassGuard &operator=(const PassGuard &) = delete;
};

void setStatus(QLabel *status, const QString &text)
{
    if (status)
        status->setText(text);
}

// The saved files without a mark, oldest first (their names begin with the time they were saved).
QStringList unhandledFiles(const QString &folder)
{
    QStringList files;
    db::Statement marked = gcnDB.prepare(QStringLiteral("select 1 from ttmailprocessed where ファイル名 = ?"));
    const QStringList names = QDir(folder).entryList({QStringLiteral("*.eml")}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        marked.reset();
        marked.bind(1, name);
        if (!marked.step())
            files.push_back(QDir(folder).filePath(name));
    }
    return files;
}

void markFile(const QString &file, const QString &noticeKey, const QString &result, const QDateTime &t0)
{
    db::Statement mark = gcnDB.prepare(
        QStringLiteral("insert into ttmailprocessed (ファイル名, 通知キー, 結果, 処理日付) values (?, ?, ?, ?)"));
    mark.bind(1, QFileInfo(file).fileName());
    if (noticeKey.isEmpty())
        mark.bindNull(2);
    else
        mark.bind(2, noticeKey);
    mark.bind(3, result).bind(4, t0);
    mark.run();
}

// The key under which a notice counts once: its Message-ID, else a hash of the saved file.
QString noticeKeyOf(const QString &messageId, const QString &file)
{
    if (!messageId.trimmed().isEmpty())
        return QStringLiteral("id:") + messageId.trimmed();
    QFile raw(file);
    const QByteArray content = raw.open(QIODevice::ReadOnly) ? raw.readAll() : QByteArray();
    return QStringLiteral("sha256:") +
           QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

bool keyCounted(const QString &noticeKey)
{
    db::Statement seen = gcnDB.prepare(QStringLiteral("select 1 from ttmailprocessed where 通知キー = ?"));
    seen.bind(1, noticeKey);
    return seen.step();
}

// The sender's address without its display name, lower-cased.
QString senderAddress(const QString &from)
{
    const qsizetype open = from.lastIndexOf(u'<');
    const qsizetype close = from.lastIndexOf(u'>');
    const QString address = open >= 0 && close > open ? from.mid(open + 1, close - open - 1) : from;
    return address.trimmed().toLower();
}

// The sender rule of the notices: when the site file names a notice sender, only its mails
// count; otherwise every sender's do.
bool fromNoticeSender(const QString &from)
{
    const QString requiredSender = noticeSenderAddress().trimmed().toLower();
    return requiredSender.isEmpty() || senderAddress(from) == requiredSender;
}

struct Applied {
    qint64 yoyakuNo = 0; // 0 when no reservation matched
    bool buy = true;
};

// The reservation the notice belongs to: the one with its order number and stock that is
// still open on the notice's side. None matching, a reservation of that stock and side whose
// order was sent with an unknown outcome (error 90) is taken when it is the only one, and
// given the order number. 0 when there is none.
qint64 matchReservation(const YakuzyouNotice &n, const QDateTime &t0, QStringList &log)
{
    const QString S = n.buy ? QStringLiteral("買") : QStringLiteral("売");
    // Open on the notice's side: a buy order placed (or held partly bought), a sell order
    // placed (or its position held).
    const int openFirst = n.buy ? kubunKaiTyumon : kubunKaiYakuzyou;
    const int openSecond = n.buy ? kubunKaiYakuzyou : kubunUriTyumon;
    db::Statement byOrder = gcnDB.prepare(QStringLiteral("select 予約番号 from ttresevation where 注文番号 = ?"
                                                         " and 銘柄コード = ? and 処理区分 in (?, ?) and 実行回数%1 = 0"
                                                         " order by 予約番号 limit 1")
                                              .arg(S));
    byOrder.bindAll(n.orderNo, n.code, openFirst, openSecond);
    if (byOrder.step())
        return byOrder.int64(0);

    // Where a sent order stands while its outcome is unknown: a buy waiting or marked ordered,
    // a sell held or marked ordered.
    const int sentFirst = n.buy ? kubunZyunbi : kubunKaiYakuzyou;
    const int sentSecond = n.buy ? kubunKaiTyumon : kubunUriTyumon;
    db::Statement unknown = gcnDB.prepare(QStringLiteral("select 予約番号 from ttresevation where 銘柄コード = ?"
                                                         " and エラーコード = ? and 処理区分 in (?, ?)"
                                                         " and 実行回数%1 = 0 limit 2")
                                              .arg(S));
    unknown.bindAll(n.code, int(etrErrOutcomeUnknown), sentFirst, sentSecond);
    if (!unknown.step())
        return 0;
    const qint64 yoyakuNo = unknown.int64(0);
    if (unknown.step()) {
        log << QStringLiteral("★送信結果不明の予約が複数あり約定通知を対応付けない(注文番号:%1/銘柄コード:%2)")
                   .arg(n.orderNo)
                   .arg(n.code);
        return 0;
    }
    gcnDB.execute(QStringLiteral("update ttresevation set 注文番号 = ?, 処理区分 = ?, エラーコード = ?, 更新日付 = ?"
                                 " where 予約番号 = ?"),
                  n.orderNo, n.buy ? int(kubunKaiTyumon) : int(kubunUriTyumon), int(etrErrNone), t0, yoyakuNo);
    log << QStringLiteral("★送信結果不明の予約に約定通知を対応付けた(予約番号:%1/注文番号:%2)")
               .arg(yoyakuNo)
               .arg(n.orderNo);
    return yoyakuNo;
}

// Writes one execution: the weighted average and shares of its side, the state when the
// order is filled, and the history row. Runs inside the mail's transaction.
Applied applyNotice(const YakuzyouNotice &n, const QDateTime &t0, QStringList &log)
{
    const QString S = n.buy ? QStringLiteral("買") : QStringLiteral("売");
    Applied applied{0, n.buy};
    applied.yoyakuNo = matchReservation(n, t0, log);
    if (applied.yoyakuNo == 0)
        return applied;
    gcnDB.execute(QStringLiteral("update ttresevation set 約定金額%1 = (約定金額%1 * 約定株数%1 + ? * ?) * 1.0"
                                 " / (約定株数%1 + ?), 約定株数%1 = 約定株数%1 + ?, 約定日付%1 = ?, 更新日付 = ?"
                                 " where 予約番号 = ?")
                      .arg(S),
                  n.price, n.shares, n.shares, n.shares, n.executedAt, t0, applied.yoyakuNo);
    log << QStringLiteral("★予約データを更新した(注文番号:%1/約定株数:%2/約定金額:%3)")
               .arg(n.orderNo)
               .arg(n.shares)
               .arg(n.price, 0, 'g', 15);

    db::Statement row = gcnDB.prepare(
        QStringLiteral("select 市場コード, 株数, 約定株数%1, 指成区分%1 from ttresevation where 予約番号 = ?").arg(S));
    row.bind(1, applied.yoyakuNo);
    row.step();
    const QString market = row.text(0);
    const qint64 ordered = row.int64(1);
    const qint64 executed = row.int64(2);
    const qint64 sasiNari = row.int64(3);
    log << QStringLiteral("★注文株数と約定株数の確認");
    if (ordered <= executed) {
        log << QStringLiteral("★全部約定を確認した");
        gcnDB.execute(
            QStringLiteral("update ttresevation set 実行回数%1 = 1, 処理区分 = ?, 更新日付 = ? where 予約番号 = ?")
                .arg(S),
            n.buy ? int(kubunKaiYakuzyou) : int(kubunSyoriZumi), t0, applied.yoyakuNo);
        log << QStringLiteral("★処理区分を更新した");
    }
    log << QStringLiteral("★約定データ作成開始");
    gcnDB.execute(QStringLiteral("insert into ttcontracthistory (注文番号, 受付日時, 取引区分, 売買区分, 指成区分,"
                                 " 銘柄コード, 約定株数, 約定金額, 予約番号, 登録日付, 更新日付, 市場コード)"
                                 " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  n.orderNo, n.executedAt, n.torihikiKubun, n.buy ? QStringLiteral("1") : QStringLiteral("2"), sasiNari,
                  n.code, n.shares, n.price, applied.yoyakuNo, t0, t0, market);
    log << QStringLiteral("★約定データ作成した");
    return applied;
}

// Stores the authentication password a mail carries, when the mail passes the sender rule of
// the notices: any other sender could plant a password of its choosing.
void captureAuthPassword(const QStringList &lines, const QString &file, const QString &from)
{
    const std::optional<QString> password = authPasswordLine(lines);
    if (!password)
        return;
    if (!fromNoticeSender(from)) {
        writeLog(glngLogFileNo, QStringLiteral("認証パスワードの差出人が対象外のため取得しない(") + file +
                                    QStringLiteral("):") + from);
        return;
    }
    writeLog(glngLogFileNo, QStringLiteral("★認証パスワードを取得した"));
    POPCheckPassword = *password;
    setRegistryAll();
}

// Handles one saved file; 1 when it was a notice counted in this pass, else 0. A database
// error rolls the mail's changes back and leaves the file for the next pass.
int handleFile(const QString &file, const QString &folder, const QDateTime &t0, QLabel *status)
{
    const QString hhmm = sys::now().toString(QStringLiteral("hh:mm"));
    try {
        writeLog(glngLogFileNo, QStringLiteral("★ReadMail開始"));
        const ReadMailAnswer read = gobjBASP->ReadMail(file, QStringLiteral("subject:from:date:message-id:"), folder);
        writeLog(glngLogFileNo, QStringLiteral("処理ファイル：") + file);
        writeLog(glngLogFileNo, QStringLiteral("★ReadMail終了"));
        if (!read.isList) {
            writeLog(glngLogFileNo, QStringLiteral("ファイルが存在しない"));
            writeLog(glngLogFileNo, read.text);
            if (QFileInfo::exists(file)) {
                db::Transaction transaction(gcnDB);
                markFile(file, {}, kUnreadable, t0);
                transaction.commit();
            }
            return 0;
        }
        writeLog(glngLogFileNo, QStringLiteral("★メールの存在を確認した"));
        if (!read.bodyInvalidIn.isEmpty())
            writeLog(glngLogFileNo, QStringLiteral("メール本文を指定の文字コード(") + read.bodyInvalidIn +
                                        QStringLiteral(")で読めない(") + file + u')');
        const QString from = read.list.value(1);
        const QString messageId = read.list.value(3);
        const QStringList lines = read.list.value(4).split(QStringLiteral("\r\n"));
        setStatus(status,
                  hhmm + QStringLiteral(":注文番号") + lines.value(3) + QStringLiteral("の約定通知を処理しています。"));

        const NoticeParse parse = parseYakuzyouNotice(lines);
        QString result = kNotNotice;
        QString noticeKey;
        QStringList log;
        Applied applied;
        if (parse.isNotice && !fromNoticeSender(from)) {
            result = kOtherSender;
            writeLog(glngLogFileNo,
                     QStringLiteral("約定通知の差出人が対象外のため処理しない(") + file + QStringLiteral("):") + from);
        } else if (parse.isNotice && !parse.notice) {
            result = kInvalid;
            writeLog(glngLogFileNo, QStringLiteral("約定通知の内容が不正なため処理しない(") + file +
                                        QStringLiteral("):") + parse.problem);
        } else if (parse.notice) {
            writeLog(glngLogFileNo, QStringLiteral("★約定通知と認識した"));
            writeLog(glngLogFileNo, QStringLiteral("★約定内容を取得した"));
            noticeKey = noticeKeyOf(messageId, file);
            if (keyCounted(noticeKey)) {
                result = kDuplicate;
                noticeKey.clear();
                writeLog(glngLogFileNo, QStringLiteral("★処理済みの約定通知のため処理しない(") + file + u')');
            }
        }
        db::Transaction transaction(gcnDB);
        if (!noticeKey.isEmpty()) {
            applied = applyNotice(*parse.notice, t0, log);
            result = applied.yoyakuNo ? kApplied : kNoReservation;
        }
        markFile(file, noticeKey, result, t0);
        transaction.commit();
        for (const QString &line : log)
            writeLog(glngLogFileNo, line);
        if (result == kNoReservation)
            writeLog(glngLogFileNo,
                     QStringLiteral("★約定通知に対応する予約がない(注文番号:%1)").arg(parse.notice->orderNo));
        if (applied.yoyakuNo && SelEMail == 1 && etrError == 0)
            sendYakuzyouMail({SelEMail, EMail}, applied.yoyakuNo, applied.buy ? 1 : 2);
        captureAuthPassword(lines, file, from);
        return noticeKey.isEmpty() ? 0 : 1;
    } catch (const db::Error &e) {
        writeLog(glngLogFileNo,
                 QStringLiteral("約定通知の処理でデータベースエラー(") + file + QStringLiteral("):") + e.message());
        return 0;
    }
}

// Logs each message left on the server as too large once in the run.
void reportOversized(const QList<mail::OversizedMessage> &oversized)
{
    for (const mail::OversizedMessage &message : oversized) {
        if (gReported.oversizedKeys.contains(message.key))
            continue;
        gReported.oversizedKeys.insert(message.key);
        writeLog(glngLogFileNo,
                 QStringLiteral("約定通知としては大きすぎるメールを受信せずにサーバに残した(ID:%1/サイズ:%2バイト)")
                     .arg(message.key)
                     .arg(message.size));
    }
}

// Tells the user once in the run that the mailbox keeps the mails it was told to delete.
void reportDeletionRefusal(const QString &refusal)
{
    if (refusal.isEmpty() || gReported.deletionRefusalTold)
        return;
    gReported.deletionRefusalTold = true;
    writeLog(glngLogFileNo, QStringLiteral("メールサーバが受信済みメールの削除を受け付けない:") + refusal);
    ui::msgBox(QStringLiteral("メールサーバが受信済みのメールの削除を受け付けません。") + QStringLiteral("\r\n") +
                   QStringLiteral("メールはサーバに残りますが、約定通知は一度だけ処理します。") +
                   QStringLiteral("\r\n") + QStringLiteral("メールサーバの設定を確認してください。"),
               ui::vbExclamation);
}

} // namespace

void resetMailboxReports()
{
    gReported = MailboxReports();
}

QString mailFolder()
{
    return sys::programFile(QStringLiteral("data/mail"));
}

int etrCheckYakuzyouMail(QLabel *status, QString &answerText)
{
    if (gPassRunning)
        return 0;
    const PassGuard guard;
    const QDateTime t0 = sys::now();
    const QString folder = mailFolder();
    sys::createOwnerOnlyFolder(folder, sys::programDirectory());
    setStatus(status, t0.toString(QStringLiteral("hh:mm")) + QStringLiteral(":約定通知メールの処理を開始しています。"));

    writeLog(glngLogFileNo, QStringLiteral("★RcvMail開始"));
    const RcvMailAnswer received =
        gobjBASP->RcvMail(POP3Server, POPUserID, POPPassword, QStringLiteral("SAVEALLD"), folder);
    writeLog(glngLogFileNo, QStringLiteral("★RcvMail終了"));
    if (!received.isList)
        writeLog(glngLogFileNo, QStringLiteral("メール受信エラー:") + received.text);
    reportOversized(received.oversized);

    int count = 0;
    try {
        for (const QString &file : unhandledFiles(folder))
            count += handleFile(file, folder, t0, status);
    } catch (const db::Error &e) {
        writeLog(glngLogFileNo, QStringLiteral("約定通知の処理でデータベースエラー:") + e.message());
    }
    setStatus(status, QString());
    ui::doEvents();
    reportDeletionRefusal(received.deletionRefusal);
    answerText = received.isList ? QString() : received.text;
    return count;
}
