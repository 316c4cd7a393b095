#include "trading/modYakuzyouMail.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "platform/db/Error.h"
#include "platform/sys/Clock.h"
#include "platform/sys/OwnerOnly.h"
#include "platform/sys/ProgramDir.h"
#include "platform/sys/ReentryGuard.h"
#include "platform/ui/DoEvents.h"
#include "trading/MailConfig.h"
#include "trading/NoticeBooking.h"
#include "trading/YakuzyouNotice.h"
#include "trading/modBroker.h"
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
const QString kMisfit = QStringLiteral("注文不一致");
const QString kAlreadyBooked = QStringLiteral("記帳済");
const QString kDuplicate = QStringLiteral("重複");
const QString kInvalid = QStringLiteral("不正");
const QString kUnreadable = QStringLiteral("読込失敗");
const QString kNotNotice = QStringLiteral("通知以外");
const QString kOtherSender = QStringLiteral("差出人対象外");

// What this run's passes have already told about the mailbox, so that a mailbox that stays as
// it is does not say the same at every pass: an oversized mail once in the run, the rest
// once a day.
struct MailboxReports {
    QSet<QString> oversizedKeys;
    QDate deletionRefusalDay; // the day a mailbox that keeps deleted mails was told
    QDate misfitDay;          // the day the misfits below were counted
    int misfitsOfDay = 0;
};
MailboxReports gReported;

const QString kDeletionRefusalText = QStringLiteral("メールサーバが受信済みのメールの削除を受け付けません。") +
                                     QStringLiteral("メールはサーバに残りますが、約定通知は一度だけ処理します。") +
                                     QStringLiteral("メールサーバの設定を確認してください。");

QString misfitText(int misfits)
{
    return QStringLiteral("注文と合わない約定通知があったため記録しませんでした。(%1通)").arg(misfits) +
           QStringLiteral("ログを確認してください。");
}

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

// Handles one saved file; 1 when it was a notice counted in this pass, else 0. A notice
// that names an order of this program but does not fit it adds one to `misfits`. A
// database error rolls the mail's changes back and leaves the file for the next pass.
int handleFile(const QString &file, const QString &folder, const QDateTime &t0, QLabel *status, int &misfits)
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
        NoticeBooking booking;
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
            booking = bookNotice(*parse.notice, t0, log);
            result = booking.yoyakuNo           ? kApplied
                     : booking.alreadyBooked    ? kAlreadyBooked
                     : booking.misfit.isEmpty() ? kNoReservation
                                                : kMisfit;
        }
        // Only a written notice keeps its key: a mail that changed nothing cannot take the
        // key of a real notice still to come.
        markFile(file, booking.yoyakuNo ? noticeKey : QString(), result, t0);
        transaction.commit();
        for (const QString &line : log)
            writeLog(glngLogFileNo, line);
        if (result == kNoReservation)
            writeLog(glngLogFileNo,
                     QStringLiteral("★約定通知に対応する予約がない(注文番号:%1)").arg(parse.notice->orderNo));
        if (result == kMisfit) {
            ++misfits;
            writeLog(glngLogFileNo, QStringLiteral("★約定通知が注文と合わないため処理しない(注文番号:%1/%2):%3")
                                        .arg(parse.notice->orderNo)
                                        .arg(file, booking.misfit));
        }
        if (booking.yoyakuNo && SelEMail == 1 && etrError == 0)
            sendYakuzyouMail({SelEMail, EMail}, booking.yoyakuNo, parse.notice->buy ? 1 : 2);
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

// Logs once a day that the mailbox keeps the mails it was told to delete.
void reportDeletionRefusal(const QString &refusal, const QDate &today)
{
    if (refusal.isEmpty() || gReported.deletionRefusalDay == today)
        return;
    gReported.deletionRefusalDay = today;
    writeLog(glngLogFileNo, QStringLiteral("メールサーバが受信済みメールの削除を受け付けない:") + refusal);
}

// Counts the day's notices that did not fit their order; the first of the day is logged
// with the summary the information line shows (each has its own line already).
void reportMisfits(int misfits, const QDate &today)
{
    if (misfits == 0)
        return;
    if (gReported.misfitDay != today) {
        gReported.misfitDay = today;
        gReported.misfitsOfDay = 0;
    }
    if (gReported.misfitsOfDay == 0)
        writeLog(glngLogFileNo, misfitText(misfits));
    gReported.misfitsOfDay += misfits;
}

} // namespace

void resetMailboxReports()
{
    gReported = MailboxReports();
}

QString mailboxInfoText()
{
    const QDate today = sys::now().date();
    QString text;
    if (gReported.misfitDay == today && gReported.misfitsOfDay > 0)
        text += misfitText(gReported.misfitsOfDay);
    if (gReported.deletionRefusalDay == today)
        text += kDeletionRefusalText;
    return text;
}

QString mailFolder()
{
    return sys::programFile(QStringLiteral("data/mail"));
}

int etrCheckYakuzyouMail(QLabel *status, QString &answerText)
{
    static bool running = false;
    const sys::ReentryGuard guard(running);
    if (!guard.entered())
        return 0;
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
    int misfits = 0;
    try {
        for (const QString &file : unhandledFiles(folder))
            count += handleFile(file, folder, t0, status, misfits);
    } catch (const db::Error &e) {
        writeLog(glngLogFileNo, QStringLiteral("約定通知の処理でデータベースエラー:") + e.message());
    }
    setStatus(status, QString());
    ui::doEvents();
    reportDeletionRefusal(received.deletionRefusal, t0.date());
    reportMisfits(misfits, t0.date());
    answerText = received.isList ? QString() : received.text;
    return count;
}
