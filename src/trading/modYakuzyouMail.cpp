#include "trading/modYakuzyouMail.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "marketdata/UpdateJournal.h"
#include "platform/db/DbDate.h"
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
    QDate misfitDay;          // the day the summary of the refused notices was logged
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

const QString kDismissHint = QStringLiteral("確認したらこの欄をクリックしてください。");

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

// Whether the stored prices hold the given day: the processing day has reached it and no
// update is left unfinished (the split mark comes with the day's own row).
bool pricesStoredFor(const QDate &day)
{
    return day <= gdtLastKabukaDate && !readUpdateJournal();
}

// The files of notices refused for their price alone whose execution day's prices are
// stored by now, oldest first; a file no longer saved is left as it stands.
QStringList filesToRetest(const QString &folder)
{
    QStringList files;
    if (readUpdateJournal())
        return files;
    db::Statement st = gcnDB.prepare(QStringLiteral("select ファイル名 from ttmailprocessed where 結果 = ?"
                                                    " and 再確認日 <= ? order by ファイル名"));
    st.bindAll(kMisfit, db::dateText(gdtLastKabukaDate));
    while (st.step()) {
        const QString file = QDir(folder).filePath(st.text(0));
        if (QFileInfo::exists(file))
            files.push_back(file);
    }
    return files;
}

// The file's mark, written anew when the file is tested again; whether the user has seen a
// refusal stays as it was. `retestDay` is the day whose stored prices test the notice once
// more; invalid when it is not tested again.
void markFile(const QString &file, const QString &noticeKey, const QString &result, const QDateTime &t0,
              const QDate &retestDay = {})
{
    db::Statement mark = gcnDB.prepare(QStringLiteral(
        "insert into ttmailprocessed (ファイル名, 通知キー, 結果, 処理日付, 再確認日) values (?, ?, ?, ?, ?)"
        " on conflict (ファイル名) do update set 通知キー = excluded.通知キー, 結果 = excluded.結果,"
        " 処理日付 = excluded.処理日付, 再確認日 = excluded.再確認日"));
    mark.bind(1, QFileInfo(file).fileName());
    if (noticeKey.isEmpty())
        mark.bindNull(2);
    else
        mark.bind(2, noticeKey);
    mark.bind(3, result).bind(4, t0);
    if (retestDay.isValid())
        mark.bind(5, db::dateText(retestDay));
    else
        mark.bindNull(5);
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
// that names an order of this program but does not fit it adds one to `misfits`; one
// refused for its price alone before its day's prices were stored is kept to be tested
// once more (`retest` is that second test). A database error rolls the mail's changes back
// and leaves the file for the next pass.
int handleFile(const QString &file, const QString &folder, const QDateTime &t0, QLabel *status, int &misfits,
               bool retest = false)
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
        const QDate executionDay = parse.notice ? parse.notice->executedAt.date() : QDate();
        const bool awaitPrices = booking.priceAlone && !retest && !pricesStoredFor(executionDay);
        // Only a written notice keeps its key: a mail that changed nothing cannot take the
        // key of a real notice still to come.
        markFile(file, booking.yoyakuNo ? noticeKey : QString(), result, t0, awaitPrices ? executionDay : QDate());
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

// Logs, once a day, the summary the information line shows of the refused notices (each
// has its own line already).
void reportMisfits(int misfits, const QDate &today)
{
    if (misfits == 0 || gReported.misfitDay == today)
        return;
    gReported.misfitDay = today;
    writeLog(glngLogFileNo, misfitText(refusedNotices().count));
}

} // namespace

void resetMailboxReports()
{
    gReported = MailboxReports();
}

RefusedNotices refusedNotices()
{
    db::Statement st = gcnDB.prepare(QStringLiteral("select count(*), ifnull(max(rowid), 0) from ttmailprocessed"
                                                    " where 結果 = ? and 確認日時 is null"));
    st.bind(1, kMisfit);
    st.step();
    return {int(st.int64(0)), st.int64(1)};
}

void dismissRefusedNotices(qint64 upTo, const QDateTime &at)
{
    gcnDB.execute(QStringLiteral("update ttmailprocessed set 確認日時 = ? where 結果 = ? and 確認日時 is null"
                                 " and rowid <= ?"),
                  at, kMisfit, upTo);
    if (const int dismissed = gcnDB.changes(); dismissed > 0)
        writeLog(glngLogFileNo,
                 QStringLiteral("★注文と合わない約定通知(%1通)を確認済みとして表示から消した").arg(dismissed));
}

void endPriceRetests()
{
    gcnDB.execute(QStringLiteral("update ttmailprocessed set 再確認日 = null where 再確認日 is not null"));
    if (const int ended = gcnDB.changes(); ended > 0)
        writeLog(glngLogFileNo,
                 QStringLiteral("★約定が手入力されたため値幅制限の外の約定通知(%1通)は確かめ直さない").arg(ended));
}

QString mailboxInfoText()
{
    QString text;
    if (const int refused = refusedNotices().count; refused > 0)
        text += misfitText(refused) + kDismissHint;
    if (gReported.deletionRefusalDay == sys::now().date())
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
        for (const QString &file : filesToRetest(folder)) {
            writeLog(glngLogFileNo,
                     QStringLiteral("★約定単価が値幅制限の外だった約定通知を約定日の株価で確かめ直す(") + file + u')');
            count += handleFile(file, folder, t0, status, misfits, true);
        }
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
