#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/db/DbDate.h"
#include "platform/mail/MailLimits.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp932.h"
#include "support/FakeBrokerSite.h"
#include "support/MessageBoxRecorder.h"
#include "support/ReservationRows.h"
#include "support/SettingsTestSupport.h"
#include "trading/MailFixture.h"
#include "trading/PlacedOrders.h"
#include "trading/modBroker.h"
#include "trading/modYakuzyouMail.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>

namespace {

// The fields of a notice body as the broker writes them, one per line from the "約定日時" line.
struct NoticeFields {
    QString date = QStringLiteral("2006-01-05 09:15");
    QString orderNo = QStringLiteral("123456");
    QString kind = QStringLiteral("現物買");
    QString code = QStringLiteral("7203");
    QString shares = QStringLiteral("約定株数:300株");
    QString price = QStringLiteral("約定単価:1,000円");
};

QString noticeBody(const NoticeFields &f)
{
    return QStringList{QStringLiteral("【約定日時】"),
                       f.date,
                       QStringLiteral("【注文番号】"),
                       f.orderNo,
                       f.kind,
                       QStringLiteral("【銘柄】"),
                       f.code,
                       QStringLiteral("トヨタ自動車"),
                       QStringLiteral("東証1部"),
                       f.shares,
                       f.price,
                       QString()}
        .join(QStringLiteral("\r\n"));
}

// A mail whose text part is `body` as it stands, labelled with `charset`.
QByteArray mailOfBytes(const QByteArray &body, const QString &charset, const QString &messageId,
                       const QString &from = QStringLiteral("notice@broker.example"))
{
    QString head = QStringLiteral("From: %1\r\nSubject: notice\r\nContent-Type: text/plain; charset=%2\r\n"
                                  "Content-Transfer-Encoding: 8bit\r\n")
                       .arg(from, charset);
    if (!messageId.isEmpty())
        head += QStringLiteral("Message-ID: <%1>\r\n").arg(messageId);
    return (head + QStringLiteral("\r\n")).toUtf8() + body;
}

QByteArray mailWith(const QString &body, const QString &messageId = {},
                    const QString &from = QStringLiteral("notice@broker.example"))
{
    return mailOfBytes(body.toUtf8(), QStringLiteral("UTF-8"), messageId, from);
}

QByteArray noticeMail(const NoticeFields &f, const QString &messageId)
{
    return mailWith(noticeBody(f), messageId);
}

QByteArray fixtureNotice()
{
    QFile file(QStringLiteral(NIMBRA_TESTS_DIR "/trading/mail/notice-buy.eml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Reservation {
    qint64 state = 0;
    qint64 shares = 0;
    double priceBuy = 0;
    qint64 sharesBuy = 0;
    double priceSell = 0;
    qint64 sharesSell = 0;
    qint64 orderNo = 0;
    qint64 errorCode = 0;
    QString dateBuy;
};

class YakuzyouMail : public MailFixture {
protected:
    void SetUp() override
    {
        MailFixture::SetUp();
        sys::setNow(QDateTime(QDate(2006, 1, 5), QTime(9, 30)));
        // The close before the notices' day: their prices must lie within 900 to 1500 yen.
        for (const char *code : {"7203", "6758"})
            storeClose(QString::fromLatin1(code), QStringLiteral("2006-01-04"), 1200);
    }

    void storeClose(const QString &code, const QString &day, double close)
    {
        gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 終値, 調整終値)"
                                     " values (?, 't1', ?, ?, ?)"),
                      code, day, close, close);
    }

    // A held row of 100 shares of `code` with its sell order `orderNo` out, and the fields of
    // that order's notice of all of them at `price` yen.
    NoticeFields sellOrderOut(int number, const QString &code, qint64 orderNo, const QString &price)
    {
        addReservation(number, 3, 100, orderNo, 1000, 100, 0, code);
        NoticeFields f;
        f.orderNo = QString::number(orderNo);
        f.kind = QStringLiteral("現物売");
        f.code = code;
        f.shares = QStringLiteral("約定株数:100株");
        f.price = QStringLiteral("約定単価:%1円").arg(price);
        return f;
    }

    // A reservation as the program leaves it; one with an order out (bought in state 1,
    // sold in state 3) has the order among the placed orders, as the acceptance writes it.
    void addReservation(int number, qint64 state, qint64 shares, qint64 orderNo, double priceBuy = 0,
                        qint64 sharesBuy = 0, qint64 errorCode = 0, const QString &code = QStringLiteral("7203"))
    {
        ::addReservation({.予約番号 = number,
                          .取引区分 = 1,
                          .指成区分買 = 2,
                          .指成区分売 = 1,
                          .銘柄コード = code,
                          .株数 = shares,
                          .実行回数買 = state >= 2 ? 1 : 0,
                          .処理区分 = state,
                          .エラーコード = errorCode,
                          .更新日付 = QStringLiteral("2006-01-05 09:00:00"),
                          .市場コード = QStringLiteral("t1"),
                          .約定金額買 = priceBuy,
                          .約定株数買 = sharesBuy,
                          .注文番号 = orderNo});
        if (orderNo > 0 && (state == 1 || state == 3)) {
            ASSERT_TRUE(recordPlacedOrder({orderNo, QDate(2006, 1, 5), number, state == 1 ? 1 : 2,
                                           state == 1 ? shares - sharesBuy : sharesBuy, 0}));
        }
    }

    Reservation reservation(int number)
    {
        db::Statement st = gcnDB.prepare(QStringLiteral(
            "select 処理区分, 株数, 約定金額買, 約定株数買, 約定金額売, 約定株数売, 注文番号, エラーコード, 約定日付買"
            " from ttresevation where 予約番号 = ?"));
        st.bind(1, number);
        EXPECT_TRUE(st.step());
        return {st.int64(0), st.int64(1), st.real(2),  st.int64(3), st.real(4),
                st.int64(5), st.int64(6), st.int64(7), st.text(8)};
    }

    int historyRows()
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from ttcontracthistory"));
        st.step();
        return int(st.int64(0));
    }

    int pass(QString *answer = nullptr)
    {
        QLabel status;
        QString text;
        const int count = etrCheckYakuzyouMail(&status, text);
        EXPECT_TRUE(status.text().isEmpty());
        if (answer)
            *answer = text;
        else
            EXPECT_EQ(text, QString());
        return count;
    }

    int logLinesContaining(const QString &part)
    {
        const QStringList log = logLines();
        return int(std::count_if(log.begin(), log.end(), [&](const QString &line) { return line.contains(part); }));
    }

    int markedFiles()
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from ttmailprocessed"));
        st.step();
        return int(st.int64(0));
    }
};

} // namespace

TEST_F(YakuzyouMail, NoticeAveragesIntoTheReservationAndIsRecorded)
{
    addReservation(1, 1, 400, 123456, 1200, 100);   // 100 of 400 shares bought at 1200 before
    putMail(QStringLiteral("n1"), fixtureNotice()); // 300 at 1000, ISO-2022-JP as the broker sends it
    EXPECT_EQ(pass(), 1);

    const Reservation r = reservation(1);
    EXPECT_DOUBLE_EQ(r.priceBuy, 1050);
    EXPECT_EQ(r.sharesBuy, 400);
    EXPECT_EQ(r.state, 2); // filled
    EXPECT_EQ(r.dateBuy, QStringLiteral("2006-01-05 09:15:00"));
    db::Statement h = gcnDB.prepare(QStringLiteral(
        "select 注文番号, 受付日時, 取引区分, 売買区分, 指成区分, 銘柄コード, 約定株数, typeof(約定株数), 約定金額,"
        " 予約番号, 登録日付, 市場コード from ttcontracthistory"));
    ASSERT_TRUE(h.step());
    EXPECT_EQ(h.int64(0), 123456);
    EXPECT_EQ(h.text(1), QStringLiteral("2006-01-05 09:15:00"));
    EXPECT_EQ(h.int64(2), 1);
    EXPECT_EQ(h.text(3), QStringLiteral("1"));
    EXPECT_EQ(h.int64(4), 2);
    EXPECT_EQ(h.text(5), QStringLiteral("7203"));
    EXPECT_EQ(h.int64(6), 300); // the number, not the text "300株"
    EXPECT_EQ(h.text(7), QStringLiteral("integer"));
    EXPECT_DOUBLE_EQ(h.real(8), 1000);
    EXPECT_EQ(h.int64(9), 1);
    EXPECT_EQ(h.text(10), QStringLiteral("2006-01-05 09:30:00"));
    EXPECT_EQ(h.text(11), QStringLiteral("t1"));
    EXPECT_FALSE(h.step());

    EXPECT_TRUE(m_pop3.maildrop().isEmpty());
    EXPECT_TRUE(QDir(mailFolder()).exists());
    const QStringList log = logLines();
    for (const char16_t *line : {u"★RcvMail開始", u"★RcvMail終了", u"★ReadMail開始", u"★約定通知と認識した",
                                 u"★予約データを更新した(注文番号:123456/約定株数:300/約定金額:1000)",
                                 u"★全部約定を確認した", u"★処理区分を更新した", u"★約定データ作成した"})
        EXPECT_TRUE(log.contains(QString::fromUtf16(line))) << QString::fromUtf16(line).toStdString();

    EXPECT_EQ(pass(), 0); // a handled file is not handled again
    EXPECT_EQ(historyRows(), 1);
}

TEST_F(YakuzyouMail, PartialExecutionsFillTheOrderOnTheSecond)
{
    struct Case {
        const char16_t *kind;
        qint64 openState;
        qint64 filledState;
    } const cases[] = {{u"現物買", 1, 2}, {u"現物売", 3, 9}};
    int number = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.kind).toStdString());
        ++number;
        addReservation(number, c.openState, 300, 1000 + number, 0, c.openState == 3 ? 300 : 0);
        NoticeFields f;
        f.kind = QString::fromUtf16(c.kind);
        f.orderNo = QString::number(1000 + number);
        f.shares = QStringLiteral("約定株数:100");
        putMail(QStringLiteral("a%1").arg(number), noticeMail(f, QStringLiteral("p1-%1@x").arg(number)));
        EXPECT_EQ(pass(), 1);
        EXPECT_EQ(reservation(number).state, c.openState);
        f.shares = QStringLiteral("約定株数:200");
        f.price = QStringLiteral("約定単価:1,300");
        putMail(QStringLiteral("b%1").arg(number), noticeMail(f, QStringLiteral("p2-%1@x").arg(number)));
        EXPECT_EQ(pass(), 1);
        const Reservation r = reservation(number);
        EXPECT_EQ(r.state, c.filledState);
        const double average = c.openState == 1 ? r.priceBuy : r.priceSell;
        EXPECT_DOUBLE_EQ(average, (100.0 * 1000 + 200.0 * 1300) / 300); // 1200, in floating point
    }
}

TEST_F(YakuzyouMail, MailsThatChangeNothing)
{
    struct Case {
        const char *name;
        QString body;
        const char16_t *logged; // part of the log line naming the reason; null when none
        int counted;
    };
    const auto with = [](auto change) {
        NoticeFields f;
        change(f);
        return noticeBody(f);
    };
    const Case cases[] = {
        {"no notice line", QStringLiteral("お知らせ\r\n本文\r\n"), nullptr, 0},
        {"injected order number", with([](NoticeFields &f) { f.orderNo = QStringLiteral("0 or 1=1"); }),
         u"注文番号が不正", 0},
        {"shares not a number", with([](NoticeFields &f) { f.shares = QStringLiteral("約定株数:abc"); }),
         u"約定株数が不正", 0},
        {"zero price", with([](NoticeFields &f) { f.price = QStringLiteral("約定単価:0"); }), u"約定金額が不正", 0},
        {"bad date", with([](NoticeFields &f) { f.date = QStringLiteral("2006-13-05 09:15"); }), u"約定日時が不正", 0},
        {"bad code", with([](NoticeFields &f) { f.code = QStringLiteral("7203' or '1'='1"); }), u"銘柄コードが不正", 0},
        {"no side", with([](NoticeFields &f) { f.kind = QStringLiteral("現物"); }), u"売買の区分がありません", 0},
        {"two lines", QStringLiteral("【約定日時】\r\n2006-01-05 09:15"), u"本文の行数が足りません", 0},
        {"finished reservation", with([](NoticeFields &f) { f.orderNo = QStringLiteral("777"); }), nullptr, 1},
    };
    addReservation(1, 1, 300, 123456);
    addReservation(2, 2, 300, 777, 900, 300); // bought in full: its buy side is closed
    int n = 0;
    for (const Case &c : cases) {
        ++n;
        putMail(QStringLiteral("m%1").arg(n), mailWith(c.body, QStringLiteral("id%1@x").arg(n)));
    }
    int expected = 0;
    for (const Case &c : cases)
        expected += c.counted;
    EXPECT_EQ(pass(), expected);

    const Reservation open = reservation(1);
    EXPECT_EQ(open.state, 1);
    EXPECT_EQ(open.sharesBuy, 0);
    const Reservation finished = reservation(2);
    EXPECT_EQ(finished.sharesBuy, 300);
    EXPECT_DOUBLE_EQ(finished.priceBuy, 900);
    EXPECT_EQ(historyRows(), 0);
    EXPECT_EQ(markedFiles(), n); // each is handled once and not again
    const QStringList log = logLines();
    for (const Case &c : cases) {
        if (!c.logged)
            continue;
        SCOPED_TRACE(c.name);
        const QString reason = QString::fromUtf16(c.logged);
        EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const QString &line) {
            return line.contains(reason) && line.contains(mailFolder());
        }));
    }
}

TEST_F(YakuzyouMail, DateWithSlashesIsReadAsWithHyphens)
{
    addReservation(1, 1, 300, 123456);
    NoticeFields f;
    f.date = QStringLiteral("2006/01/05 09:15");
    putMail(QStringLiteral("n1"), noticeMail(f, QStringLiteral("s@x")));
    EXPECT_EQ(pass(), 1);
    EXPECT_EQ(reservation(1).dateBuy, QStringLiteral("2006-01-05 09:15:00"));
}

// A sender's name that decodes to a line break, and a body with NUL and ESC bytes: the log
// shows them as escapes on the line that quotes them, and gains no line of theirs.
TEST_F(YakuzyouMail, TextsOfAMailNeverWriteLinesOfTheirOwnIntoTheLog)
{
    writeSiteFile(
        {QStringLiteral("SenderAddress=robot@example.com"), QStringLiteral("NoticeSender=notice@broker.example")});
    const QByteArray forgedName = QStringLiteral("証券\r\n2026/12/10 09:00:00 ★偽のログ行").toUtf8().toBase64();
    putMail(QStringLiteral("a"),
            mailWith(noticeBody(NoticeFields()), QStringLiteral("f1@x"),
                     QStringLiteral("=?UTF-8?B?%1?= <evil@example.com>").arg(QString::fromLatin1(forgedName))));
    NoticeFields controls;
    controls.code = QStringLiteral("72") + QChar(0) + QStringLiteral("03\x1b[2J");
    putMail(QStringLiteral("b"), noticeMail(controls, QStringLiteral("f2@x")));
    EXPECT_EQ(pass(), 0);

    QFile file(path(QStringLiteral("Nimbra.log")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray log = file.readAll();
    EXPECT_FALSE(log.contains('\0'));
    EXPECT_FALSE(log.contains('\x1b'));
    const QStringList lines = QString::fromUtf8(log).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines.filter(QStringLiteral("★偽のログ行")).size() == 1);
    for (const QString &line : lines)
        EXPECT_FALSE(line.startsWith(QStringLiteral("2026/12/10 09:00:00 ★"))) << line.toStdString();
    EXPECT_TRUE(log.contains("証券\\r\\n2026/12/10 09:00:00 ★偽のログ行 <evil@example.com>"));
    EXPECT_TRUE(log.contains("72\\x0003\\x1b[2J"));
}

TEST_F(YakuzyouMail, ANoticeCountsOnceWhateverCopiesArrive)
{
    addReservation(1, 1, 900, 123456);
    const NoticeFields f;
    putMail(QStringLiteral("a"), noticeMail(f, QStringLiteral("same@x")));
    putMail(QStringLiteral("b"), noticeMail(f, QStringLiteral("same@x"))); // re-delivered under another id
    putMail(QStringLiteral("c"), mailWith(noticeBody(f)));                 // no Message-ID: keyed by content
    EXPECT_EQ(pass(), 2);
    putMail(QStringLiteral("d"), mailWith(noticeBody(f))); // the same file content again
    EXPECT_EQ(pass(), 0);
    EXPECT_EQ(reservation(1).sharesBuy, 600);
    EXPECT_EQ(historyRows(), 2);
}

TEST_F(YakuzyouMail, NoticeAttachesToTheOneReservationSentWithUnknownOutcome)
{
    addReservation(1, 0, 900, 0, 0, 0, 90);
    addReservation(2, 0, 900, 0, 0, 0, 90, QStringLiteral("6758")); // another stock: not a candidate
    putMail(QStringLiteral("n1"), noticeMail(NoticeFields(), QStringLiteral("u@x")));
    EXPECT_EQ(pass(), 1);
    const Reservation r = reservation(1);
    EXPECT_EQ(r.orderNo, 123456);
    EXPECT_EQ(r.state, 1); // ordered, 300 of 900 bought
    EXPECT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.sharesBuy, 300);
    EXPECT_EQ(reservation(2).errorCode, 90);
    EXPECT_TRUE(
        logLines().contains(QStringLiteral("★送信結果不明の予約に約定通知を対応付けた(予約番号:1/注文番号:123456)")));
}

TEST_F(YakuzyouMail, DatabaseErrorLeavesTheFileToTheNextPass)
{
    addReservation(1, 1, 300, 123456);
    putMail(QStringLiteral("n1"), noticeMail(NoticeFields(), QStringLiteral("db@x")));
    gcnDB.executeScript(QStringLiteral("alter table ttcontracthistory rename to history_away"));
    EXPECT_EQ(pass(), 0);
    EXPECT_EQ(reservation(1).sharesBuy, 0); // the average update was rolled back with the rest
    EXPECT_EQ(markedFiles(), 0);
    const QStringList log = logLines();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(),
                            [](const QString &line) { return line.contains(QStringLiteral("データベースエラー")); }));

    gcnDB.executeScript(QStringLiteral("alter table history_away rename to ttcontracthistory"));
    EXPECT_EQ(pass(), 1); // the mailbox is empty by now; the saved file is handled
    EXPECT_EQ(reservation(1).sharesBuy, 300);
    EXPECT_EQ(historyRows(), 1);
}

TEST_F(YakuzyouMail, AuthPasswordIsCapturedAndSaved)
{
    const QString body = QStringLiteral("認証のお知らせ\r\n\r\n「認証パスワード」\r\n　 ab12 　\r\n");
    putMail(QStringLiteral("p"), mailWith(body, QStringLiteral("pw@x")));
    EXPECT_EQ(pass(), 0);
    EXPECT_EQ(POPCheckPassword, QStringLiteral("ab12"));
    EXPECT_EQ(storedSettings().value(QStringLiteral("POPCheckPassword")), QStringLiteral("ab12"));
    const QStringList log = logLines();
    EXPECT_TRUE(log.contains(QStringLiteral("★認証パスワードを取得した")));
    EXPECT_FALSE(log.join(u'\n').contains(QStringLiteral("ab12")));
}

TEST_F(YakuzyouMail, AuthPasswordIsTakenOnlyFromTheNoticeSender)
{
    writeSiteFile(
        {QStringLiteral("SenderAddress=robot@example.com"), QStringLiteral("NoticeSender=notice@broker.example")});
    const auto passwordMail = [](const QString &password) {
        return QStringLiteral("認証のお知らせ\r\n「認証パスワード」\r\n") + password + QStringLiteral("\r\n");
    };
    putMail(QStringLiteral("a"), mailWith(passwordMail(QStringLiteral("forged1")), QStringLiteral("pw1@x"),
                                          QStringLiteral("evil@example.com")));
    EXPECT_EQ(pass(), 0);
    EXPECT_TRUE(POPCheckPassword.isEmpty());
    EXPECT_NE(storedSettings().value(QStringLiteral("POPCheckPassword")), QStringLiteral("forged1"));
    EXPECT_EQ(logLinesContaining(QStringLiteral("認証パスワードの差出人が対象外のため取得しない")), 1);

    putMail(QStringLiteral("b"), mailWith(passwordMail(QStringLiteral("real2")), QStringLiteral("pw2@x"),
                                          QStringLiteral("証券 <Notice@Broker.example>")));
    EXPECT_EQ(pass(), 0);
    EXPECT_EQ(POPCheckPassword, QStringLiteral("real2"));
    EXPECT_FALSE(logLines().join(u'\n').contains(QStringLiteral("forged1")));
}

// The user is told in the day's information text and the log, once a day, and no pass
// waits for an answer: a pass runs inside the order tick.
TEST_F(YakuzyouMail, AMailboxThatRefusesDeletionsIsReadWholeAndTheUserToldOnceADay)
{
    addReservation(1, 1, 900, 123456);
    m_pop3.setRefuseDeletions(true);
    const NoticeFields f;
    putMail(QStringLiteral("a"), noticeMail(f, QStringLiteral("d1@x")));
    putMail(QStringLiteral("b"), noticeMail(f, QStringLiteral("d2@x")));
    EXPECT_EQ(pass(), 2); // every mail, and no error for the caller to blame the settings with
    EXPECT_EQ(pass(), 0); // still on the server, counted once
    putMail(QStringLiteral("c"), noticeMail(f, QStringLiteral("d3@x")));
    EXPECT_EQ(pass(), 1);
    EXPECT_EQ(reservation(1).sharesBuy, 900);
    EXPECT_EQ(historyRows(), 3);
    EXPECT_EQ(m_pop3.maildrop().size(), 3);

    EXPECT_TRUE(MessageBoxRecorder::instance().texts().isEmpty())
        << MessageBoxRecorder::instance().texts().join(u'|').toStdString();
    EXPECT_EQ(mailboxInfoText(), QStringLiteral("メールサーバが受信済みのメールの削除を受け付けません。"
                                                "メールはサーバに残りますが、約定通知は一度だけ処理します。"
                                                "メールサーバの設定を確認してください。"));
    EXPECT_EQ(logLinesContaining(QStringLiteral("削除を受け付けない")), 1);

    // The next day: yesterday's word is gone until a pass finds the mailbox as it was.
    sys::setNow(QDateTime(QDate(2006, 1, 6), QTime(8, 0)));
    EXPECT_EQ(mailboxInfoText(), QString());
    putMail(QStringLiteral("d"), mailWith(QStringLiteral("hello"), QStringLiteral("d4@x")));
    pass();
    EXPECT_TRUE(mailboxInfoText().startsWith(QStringLiteral("メールサーバが受信済みのメールの削除を受け付けません。")));
    EXPECT_EQ(logLinesContaining(QStringLiteral("削除を受け付けない")), 2);
    EXPECT_TRUE(MessageBoxRecorder::instance().texts().isEmpty());
}

TEST_F(YakuzyouMail, AMailTooLargeToBeANoticeIsLeftOnTheServerAndLoggedOnce)
{
    addReservation(1, 1, 900, 123456);
    ASSERT_TRUE(m_pop3.addSparseMessage(QStringLiteral("a-huge"), mail::kMaxMailBytes + 1));
    putMail(QStringLiteral("b"), noticeMail(NoticeFields(), QStringLiteral("h1@x")));
    EXPECT_EQ(pass(), 1); // the notice behind it is read, and the caller sees no error
    putMail(QStringLiteral("c"), noticeMail(NoticeFields(), QStringLiteral("h2@x")));
    EXPECT_EQ(pass(), 1);
    EXPECT_EQ(reservation(1).sharesBuy, 600);
    EXPECT_EQ(m_pop3.maildrop(), QStringList{QStringLiteral("a-huge")});
    EXPECT_EQ(logLinesContaining(QStringLiteral("大きすぎるメール")), 1);
    EXPECT_TRUE(MessageBoxRecorder::instance().texts().isEmpty());
}

TEST_F(YakuzyouMail, ABodyThatItsCharsetLabelDoesNotFitIsLoggedWithTheReason)
{
    addReservation(1, 1, 300, 123456);
    // Shift_JIS bytes labelled ISO-2022-JP: the notice cannot be read, and the log says why.
    putMail(QStringLiteral("n1"), mailOfBytes(text::toCp932(noticeBody(NoticeFields())), QStringLiteral("ISO-2022-JP"),
                                              QStringLiteral("cs@x")));
    EXPECT_EQ(pass(), 0);
    EXPECT_EQ(reservation(1).sharesBuy, 0);
    const QStringList log = logLines();
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const QString &line) {
        return line.contains(QStringLiteral("文字コード(ISO-2022-JP)")) && line.contains(mailFolder());
    })) << log.join(u'\n').toStdString();
}

TEST_F(YakuzyouMail, ForwardingFollowsTheSettingAndTheLastBrokerStep)
{
    SelEMail = 1;
    EMail = QStringLiteral("user@example.com");
    addReservation(1, 1, 600, 123456);
    putMail(QStringLiteral("a"), noticeMail(NoticeFields(), QStringLiteral("f1@x")));
    EXPECT_EQ(pass(), 1);
    ASSERT_EQ(m_smtp.messages().size(), 1);
    EXPECT_EQ(m_smtp.messages()[0].to, QStringList{QStringLiteral("user@example.com")});

    etrError = 91; // the last broker step failed: recorded, not forwarded
    putMail(QStringLiteral("b"), noticeMail(NoticeFields(), QStringLiteral("f2@x")));
    EXPECT_EQ(pass(), 1);
    EXPECT_EQ(m_smtp.messages().size(), 1);
    EXPECT_EQ(reservation(1).sharesBuy, 600);
}

TEST_F(YakuzyouMail, OnlyTheConfiguredSenderWritesNotices)
{
    writeSiteFile(
        {QStringLiteral("SenderAddress=robot@example.com"), QStringLiteral("NoticeSender=notice@broker.example")});
    addReservation(1, 1, 900, 123456);
    putMail(QStringLiteral("a"),
            mailWith(noticeBody(NoticeFields()), QStringLiteral("o1@x"), QStringLiteral("Evil <evil@example.com>")));
    putMail(QStringLiteral("b"), mailWith(noticeBody(NoticeFields()), QStringLiteral("o2@x"),
                                          QStringLiteral("証券 <Notice@Broker.example>")));
    EXPECT_EQ(pass(), 1);
    EXPECT_EQ(reservation(1).sharesBuy, 300);
}

TEST_F(YakuzyouMail, MailboxFailures)
{
    addReservation(1, 1, 900, 123456);
    POPPassword = QStringLiteral("wrong");
    QString answer;
    EXPECT_EQ(pass(&answer), 0);
    EXPECT_TRUE(answer.contains(QLatin1String("error"))) << qPrintable(answer);

    // A session cut off after the first download: that mail is handled in this pass, the
    // rest in the next, each once.
    POPPassword = QStringLiteral("secret");
    NoticeFields f;
    putMail(QStringLiteral("a"), noticeMail(f, QStringLiteral("c1@x")));
    putMail(QStringLiteral("b"), noticeMail(f, QStringLiteral("c2@x")));
    m_pop3.setDropAfterRetr(1);
    EXPECT_EQ(pass(&answer), 1);
    EXPECT_TRUE(answer.contains(QLatin1String("error")));
    m_pop3.setDropAfterRetr(0);
    EXPECT_EQ(pass(), 1);
    EXPECT_TRUE(m_pop3.maildrop().isEmpty());
    EXPECT_EQ(reservation(1).sharesBuy, 600);
}

TEST_F(YakuzyouMail, APassStartedDuringAPassReturnsAtOnce)
{
    m_pop3.setAnswerDelayMs(150);
    int inner = -1;
    QString innerAnswer = QStringLiteral("untouched");
    QTimer::singleShot(50, [&] {
        QLabel label;
        inner = etrCheckYakuzyouMail(&label, innerAnswer);
    });
    EXPECT_EQ(pass(), 0);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(innerAnswer, QStringLiteral("untouched"));
}

TEST_F(YakuzyouMail, TheFakeBrokersNoticesAreRead)
{
    addReservation(1, 1, 1000, 50001);
    addReservation(2, 3, 1000, 50002, 900, 1000);
    FakeBrokerSite::Order buy;
    buy.orderNumber = QStringLiteral("50001");
    buy.fields = {{QStringLiteral("trade_kbn"), QStringLiteral("1")},
                  {QStringLiteral("stock_sec_code"), QStringLiteral("7203")},
                  {QStringLiteral("input_quantity"), QStringLiteral("1000")}};
    FakeBrokerSite::Order sell = buy;
    sell.orderNumber = QStringLiteral("50002");
    sell.fields[QStringLiteral("trade_kbn")] = QStringLiteral("2");
    putMail(QStringLiteral("buy"), FakeBrokerSite::noticeMail(buy, 1234));
    putMail(QStringLiteral("sell"), FakeBrokerSite::noticeMail(sell, 1500));
    EXPECT_EQ(pass(), 2);
    const Reservation bought = reservation(1);
    EXPECT_EQ(bought.state, 2);
    EXPECT_DOUBLE_EQ(bought.priceBuy, 1234);
    const Reservation sold = reservation(2);
    EXPECT_EQ(sold.state, 9);
    EXPECT_DOUBLE_EQ(sold.priceSell, 1500);
    EXPECT_EQ(historyRows(), 2);
}

namespace {

// A reservation row with the order that its notice belongs to.
struct LateRow {
    const char *name;
    qint64 state;
    qint64 shares;     // 株数
    qint64 bought;     // 約定株数買
    qint64 sold;       // 約定株数売
    qint64 rowOrderNo; // 注文番号 of the row: a later order replaced the notice's one when it differs
    qint64 errorCode;
    bool placed;    // the notice's order is among the placed orders
    int side;       // of the notice and its order: 1 buy, 2 sell
    qint64 ordered; // shares of the notice's order
    qint64 noticeShares;
    qint64 expectedState;
    qint64 expectedShares;
};

class LateNotice : public YakuzyouMail {
protected:
    void addRow(const LateRow &r)
    {
        ::addReservation({.予約番号 = 1,
                          .取引区分 = 1,
                          .指成区分買 = 2,
                          .指成区分売 = 2,
                          .銘柄コード = QStringLiteral("7203"),
                          .株数 = r.shares,
                          .処理区分 = r.state,
                          .エラーコード = r.errorCode,
                          .更新日付 = QStringLiteral("2006-01-05 10:00:00"),
                          .市場コード = QStringLiteral("t1"),
                          .約定金額買 = 1000,
                          .約定株数買 = r.bought,
                          .約定金額売 = 1100,
                          .約定株数売 = r.sold,
                          .注文番号 = r.rowOrderNo});
        if (r.placed) {
            ASSERT_TRUE(recordPlacedOrder({123456, QDate(2006, 1, 5), 1, r.side, r.ordered, 0}));
        }
    }
};

} // namespace

// Notices read on the day after their order (the mailbox was down): whatever the day change
// or a later order did to the row, it ends as its shares say.
TEST_F(LateNotice, ReachesItsReservationWhateverHappenedToTheRowSince)
{
    const LateRow rows[] = {
        {.name = "buy finished unfilled by the day change",
         .state = 9,
         .shares = 1500,
         .bought = 0,
         .sold = 0,
         .rowOrderNo = 123456,
         .errorCode = 0,
         .placed = true,
         .side = 1,
         .ordered = 1500,
         .noticeShares = 1500,
         .expectedState = 2,
         .expectedShares = 1500},
        {.name = "second part of a buy the day change made held",
         .state = 2,
         .shares = 700,
         .bought = 700,
         .sold = 0,
         .rowOrderNo = 123456,
         .errorCode = 0,
         .placed = true,
         .side = 1,
         .ordered = 1500,
         .noticeShares = 800,
         .expectedState = 2,
         .expectedShares = 1500},
        {.name = "second part after the held part was sold",
         .state = 9,
         .shares = 700,
         .bought = 700,
         .sold = 700,
         .rowOrderNo = 777,
         .errorCode = 0,
         .placed = true,
         .side = 1,
         .ordered = 1500,
         .noticeShares = 800,
         .expectedState = 2,
         .expectedShares = 1500},
        {.name = "second part of a buy an earlier version made held, its size not kept",
         .state = 2,
         .shares = 700,
         .bought = 700,
         .sold = 0,
         .rowOrderNo = 123456,
         .errorCode = 0,
         .placed = true,
         .side = 1,
         .ordered = PlacedOrder::kSharesNotKnown,
         .noticeShares = 800,
         .expectedState = 2,
         .expectedShares = 1500},
        {.name = "averaging-down buy sent with an unknown outcome, held again by the day change",
         .state = 2,
         .shares = 1500,
         .bought = 700,
         .sold = 0,
         .rowOrderNo = 0,
         .errorCode = 90,
         .placed = false,
         .side = 1,
         .ordered = 0,
         .noticeShares = 800,
         .expectedState = 2,
         .expectedShares = 1500},
        {.name = "second part while a sell of the held part is out",
         .state = 3,
         .shares = 700,
         .bought = 700,
         .sold = 0,
         .rowOrderNo = 777,
         .errorCode = 0,
         .placed = true,
         .side = 1,
         .ordered = 1500,
         .noticeShares = 800,
         .expectedState = 3,
         .expectedShares = 1500},
        {.name = "second part while an averaging-down buy waits",
         .state = 0,
         .shares = 1400,
         .bought = 700,
         .sold = 0,
         .rowOrderNo = 123456,
         .errorCode = 0,
         .placed = true,
         .side = 1,
         .ordered = 1500,
         .noticeShares = 800,
         .expectedState = 0,
         .expectedShares = 2200},
        {.name = "buy sent with an unknown outcome, finished by the day change",
         .state = 9,
         .shares = 1500,
         .bought = 0,
         .sold = 0,
         .rowOrderNo = 0,
         .errorCode = 90,
         .placed = false,
         .side = 1,
         .ordered = 0,
         .noticeShares = 1500,
         .expectedState = 2,
         .expectedShares = 1500},
        {.name = "sell the day change took back",
         .state = 2,
         .shares = 700,
         .bought = 1500,
         .sold = 0,
         .rowOrderNo = 123456,
         .errorCode = 0,
         .placed = true,
         .side = 2,
         .ordered = 1500,
         .noticeShares = 1500,
         .expectedState = 9,
         .expectedShares = 700},
    };
    sys::setNow(QDateTime(QDate(2006, 1, 6), QTime(9, 30)));
    int n = 0;
    for (const LateRow &r : rows) {
        SCOPED_TRACE(r.name);
        gcnDB.execute(QStringLiteral("delete from ttresevation"));
        gcnDB.execute(QStringLiteral("delete from ttplacedorder"));
        addRow(r);
        NoticeFields f;
        f.date = QStringLiteral("2006-01-05 14:55");
        f.kind = r.side == 1 ? QStringLiteral("現物買") : QStringLiteral("現物売");
        f.shares = QStringLiteral("約定株数:%1株").arg(r.noticeShares);
        ++n;
        putMail(QStringLiteral("late%1").arg(n), noticeMail(f, QStringLiteral("late%1@x").arg(n)));
        EXPECT_EQ(pass(), 1);
        const Reservation after = reservation(1);
        EXPECT_EQ(after.state, r.expectedState);
        EXPECT_EQ(after.shares, r.expectedShares);
        EXPECT_EQ(r.side == 1 ? after.sharesBuy : after.sharesSell, (r.side == 1 ? r.bought : r.sold) + r.noticeShares);
    }
    EXPECT_TRUE(MessageBoxRecorder::instance().texts().isEmpty());
}

// A mail that names an order of this program but does not fit it (a forged or broken
// notice) writes nothing; each is logged once with its reason and the pass tells the user
// once. A notice of an order the program never placed (the user's own) is only logged.
TEST_F(YakuzyouMail, ANoticeThatDoesNotFitItsOrderChangesNothing)
{
    struct Case {
        const char *name;
        NoticeFields fields;
        const char16_t *reason; // null: not an order of this program, logged without telling
    };
    const auto with = [](auto change) {
        NoticeFields f;
        change(f);
        return f;
    };
    const Case cases[] = {
        {"forged: far more shares at 1 yen", with([](NoticeFields &f) {
             f.shares = QStringLiteral("約定株数:999,999,999,999,999株");
             f.price = QStringLiteral("約定単価:1円");
         }),
         u"約定株数の合計(999999999999999)が注文株数(300)を超える"},
        {"price above the day's limit", with([](NoticeFields &f) { f.price = QStringLiteral("約定単価:1,501円"); }),
         u"約定単価(1501)が値幅制限(900～1500)の外"},
        {"price below the day's limit", with([](NoticeFields &f) { f.price = QStringLiteral("約定単価:899円"); }),
         u"約定単価(899)が値幅制限(900～1500)の外"},
        {"another stock", with([](NoticeFields &f) { f.code = QStringLiteral("6758"); }),
         u"銘柄コードが注文(7203)と異なる"},
        {"the other side", with([](NoticeFields &f) { f.kind = QStringLiteral("現物売"); }),
         u"売買区分が注文(買)と異なる"},
        {"an order never placed", with([](NoticeFields &f) { f.orderNo = QStringLiteral("999999"); }), nullptr},
    };
    addReservation(1, 1, 300, 123456);
    int n = 0;
    for (const Case &c : cases) {
        ++n;
        putMail(QStringLiteral("f%1").arg(n), noticeMail(c.fields, QStringLiteral("forged%1@x").arg(n)));
    }
    MessageBoxRecorder::instance().reset();
    pass();
    const Reservation r = reservation(1);
    EXPECT_EQ(r.state, 1);
    EXPECT_EQ(r.sharesBuy, 0);
    EXPECT_EQ(historyRows(), 0);
    // Told without a box: a pass runs inside the order tick, which must not wait for an answer.
    EXPECT_TRUE(MessageBoxRecorder::instance().texts().isEmpty());
    const QString told = QStringLiteral("注文と合わない約定通知があったため記録しませんでした。(5通)"
                                        "ログを確認してください。");
    EXPECT_EQ(mailboxInfoText(), told + QStringLiteral("確認したらこの欄をクリックしてください。"));
    const QStringList log = logLines();
    EXPECT_EQ(log.count(told), 1);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString expected =
            c.reason ? QString::fromUtf16(c.reason) : QStringLiteral("★約定通知に対応する予約がない(注文番号:999999)");
        EXPECT_EQ(std::count_if(log.begin(), log.end(), [&](const QString &line) { return line.contains(expected); }),
                  1);
    }

    // The real notice still counts after them: the forged ones took neither its key nor its shares.
    MessageBoxRecorder::instance().reset();
    putMail(QStringLiteral("real"), noticeMail(NoticeFields(), QStringLiteral("forged1@x")));
    EXPECT_EQ(pass(), 1);
    EXPECT_EQ(reservation(1).sharesBuy, 300);
    EXPECT_EQ(reservation(1).state, 2);
    EXPECT_TRUE(MessageBoxRecorder::instance().texts().isEmpty());
}

// The refused notices are counted from the store, so that a refusal stays told across
// midnight and a restart while the row it concerns is still wrong, until the user has
// dismissed it; a dismissal takes only what the line showed. The summary is logged once a
// day; a notice that fits is never counted.
TEST_F(YakuzyouMail, ARefusedNoticeStaysToldUntilTheUserDismissesIt)
{
    addReservation(1, 1, 600, 123456);
    // A notice counts only against an order of its own day: the new day's refusal names
    // an order placed that day.
    addReservation(2, 1, 600, 654321);
    ASSERT_TRUE(recordPlacedOrder({654321, QDate(2006, 1, 6), 2, 1, 600, 0}));
    NoticeFields misfit;
    misfit.code = QStringLiteral("6758");
    const auto told = [](int n) {
        return QStringLiteral("注文と合わない約定通知があったため記録しませんでした。(%1通)ログを確認してください。"
                              "確認したらこの欄をクリックしてください。")
            .arg(n);
    };
    const auto summaries = [&] { return logLinesContaining(QStringLiteral("注文と合わない約定通知があったため")); };
    EXPECT_EQ(mailboxInfoText(), QString());
    enum class Mail { None, Fits, Misfit };
    const struct {
        const char *what;
        QDateTime at;
        Mail mail;
        bool restart; // the run's memory is gone: only the store remains
        int toldCount;
        int summaryLines;
    } steps[] = {
        {"a refusal", QDateTime(QDate(2006, 1, 5), QTime(9, 30)), Mail::Misfit, false, 1, 1},
        {"a second one the same day", QDateTime(QDate(2006, 1, 5), QTime(10, 30)), Mail::Misfit, false, 2, 1},
        {"a notice that fits", QDateTime(QDate(2006, 1, 5), QTime(11, 30)), Mail::Fits, false, 2, 1},
        {"after midnight", QDateTime(QDate(2006, 1, 6), QTime(0, 5)), Mail::None, false, 2, 1},
        {"after a restart", QDateTime(QDate(2006, 1, 6), QTime(8, 0)), Mail::None, true, 2, 1},
        {"a refusal of the new day", QDateTime(QDate(2006, 1, 6), QTime(9, 30)), Mail::Misfit, false, 3, 2},
    };
    int n = 0;
    for (const auto &step : steps) {
        SCOPED_TRACE(step.what);
        ++n;
        sys::setNow(step.at);
        if (step.restart)
            resetMailboxReports();
        if (step.mail != Mail::None) {
            NoticeFields f = step.mail == Mail::Misfit ? misfit : NoticeFields();
            f.date = step.at.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 09:15");
            if (step.at.date() != QDate(2006, 1, 5))
                f.orderNo = QStringLiteral("654321");
            putMail(QStringLiteral("m%1").arg(n), noticeMail(f, QStringLiteral("step%1@x").arg(n)));
        }
        pass();
        EXPECT_EQ(mailboxInfoText(), told(step.toldCount));
        EXPECT_EQ(summaries(), step.summaryLines);
    }
    EXPECT_EQ(reservation(1).sharesBuy, 300) << "the notice that fits is booked once";

    // The line showed three; a fourth comes before the user's press and stays.
    const RefusedNotices shown = refusedNotices();
    EXPECT_EQ(shown.count, 3);
    putMail(QStringLiteral("m9"), noticeMail(misfit, QStringLiteral("late@x")));
    pass();
    dismissRefusedNotices(shown.upTo, sys::now());
    EXPECT_EQ(mailboxInfoText(), told(1));
    EXPECT_EQ(logLinesContaining(QStringLiteral("★注文と合わない約定通知(3通)を確認済みとして表示から消した")), 1);
    dismissRefusedNotices(refusedNotices().upTo, sys::now());
    EXPECT_EQ(mailboxInfoText(), QString());
    resetMailboxReports();
    EXPECT_EQ(mailboxInfoText(), QString()) << "a dismissal is kept with the files";
    EXPECT_TRUE(MessageBoxRecorder::instance().texts().isEmpty());
}

// Two notices of one order never bring more shares than it had. A second copy of a notice
// already booked (another Message-ID, the same execution) is known as booked, not refused.
TEST_F(YakuzyouMail, TheNoticesOfAnOrderNeverExceedItsShares)
{
    addReservation(1, 1, 300, 123456);
    NoticeFields f;
    f.shares = QStringLiteral("約定株数:200株");
    putMail(QStringLiteral("a"), noticeMail(f, QStringLiteral("part1@x")));
    putMail(QStringLiteral("b"), noticeMail(f, QStringLiteral("part2@x")));
    pass();
    EXPECT_EQ(reservation(1).sharesBuy, 200);
    EXPECT_EQ(historyRows(), 1);
    EXPECT_EQ(logLinesContaining(QStringLiteral("★記帳済みの約定の通知のため記録しない(予約番号:1/注文番号:123456")),
              1);
    EXPECT_EQ(mailboxInfoText(), QString());

    NoticeFields more = f;
    more.shares = QStringLiteral("約定株数:250株");
    putMail(QStringLiteral("c"), noticeMail(more, QStringLiteral("part3@x")));
    pass();
    EXPECT_EQ(reservation(1).sharesBuy, 200);
    EXPECT_EQ(logLinesContaining(QStringLiteral("約定株数の合計(450)が注文株数(300)を超える")), 1);
}

namespace {

// A held row of its own stock with a sell order of 100 shares out, and the stock's stored
// closes (day, close).
struct BandCase {
    const char *name;
    QList<QPair<const char *, double>> closes;
    bool splitOnTheDay;
    const char16_t *price;
    const char16_t *refusal; // null: booked
};

} // namespace

// The band is the exchange's of the execution day: around the unrounded close of the
// trading day before. Without that close, or across a split, the band is not known and the
// price is no reason to refuse.
TEST_F(YakuzyouMail, ThePriceBandIsTheExchangesOfTheExecutionDay)
{
    const BandCase cases[] = {
        {"at the low limit of a close with a fraction", {{"2006-01-04", 2501.5}}, false, u"2,001.5", nullptr},
        {"below that limit",
         {{"2006-01-04", 2501.5}},
         false,
         u"2,001",
         u"約定単価(2001)が値幅制限(2001.5～3001.5)の外"},
        {"outside the band of the day before",
         {{"2006-01-04", 1000}},
         false,
         u"1,450",
         u"約定単価(1450)が値幅制限(700～1300)の外"},
        {"the day before's close missing", {{"2005-12-30", 1000}}, false, u"1,450", nullptr},
        {"a split on the execution day", {{"2006-01-04", 1000}}, true, u"1,450", nullptr},
    };
    int number = 10;
    for (const BandCase &c : cases) {
        SCOPED_TRACE(c.name);
        ++number;
        const QString code = QString::number(9000 + number);
        for (const auto &[day, close] : c.closes)
            storeClose(code, QString::fromLatin1(day), close);
        if (c.splitOnTheDay)
            gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 分割区分)"
                                         " values (?, 't1', '2006-01-05', 1)"),
                          code);
        const NoticeFields f = sellOrderOut(number, code, 2000 + number, QString::fromUtf16(c.price));
        putMail(QStringLiteral("band%1").arg(number), noticeMail(f, QStringLiteral("band%1@x").arg(number)));
        QString answer;
        pass(&answer);
        EXPECT_EQ(reservation(number).state, c.refusal ? 3 : 9);
        if (c.refusal) {
            EXPECT_EQ(logLinesContaining(QString::fromUtf16(c.refusal)), 1);
        }
    }
    EXPECT_EQ(
        logLinesContaining(QStringLiteral("★約定日の値幅制限を求める前営業日の終値がないため約定単価は確かめない")), 2);
}

namespace {

// A held row of 100 shares of its own stock with a sell order out, whose close of 2,000
// before the notice's day draws a band of 1,500 to 2,500.
class PriceRetest : public YakuzyouMail {
protected:
    void SetUp() override
    {
        YakuzyouMail::SetUp();
        gdtLastKabukaDate = QDate(2006, 1, 4);
    }

    // The sell notice of `code` at `price` (a 1:2 split's ex-date price when 1,000).
    void putSellNotice(int number, const QString &price, const QString &kind = QStringLiteral("現物売"))
    {
        const QString code = QString::number(9000 + number);
        storeClose(code, QStringLiteral("2006-01-04"), 2000);
        NoticeFields f = sellOrderOut(number, code, 3000 + number, price);
        f.kind = kind;
        putMail(QStringLiteral("retest%1").arg(number), noticeMail(f, QStringLiteral("retest%1@x").arg(number)));
    }

    // The night's update: the execution day's row of the stock, with the import's split mark
    // when asked, and the processing day brought to it.
    void storeExecutionDay(int number, bool split)
    {
        gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 終値, 調整終値, 分割区分)"
                                     " values (?, 't1', '2006-01-05', 1000, 1000, ?)"),
                      QString::number(9000 + number), split ? 2 : 0);
        gdtLastKabukaDate = QDate(2006, 1, 5);
    }

    int retests() { return logLinesContaining(QStringLiteral("約定日の株価で確かめ直す")); }
};

} // namespace

// A notice refused for its price alone before its day's prices were stored is tested once
// more after the night's update: a split's ex-date then knows no band and the notice is
// booked, once; a price still outside the band stays refused and is not read again; a
// notice refused for another reason is never read again.
TEST_F(PriceRetest, APriceRefusedNoticeIsTestedOnceMoreAfterTheNightsUpdate)
{
    const struct {
        const char *name;
        const char16_t *price;
        const char16_t *kind;
        bool split;
        int stateAfter;
    } cases[] = {
        {"the split's ex-date", u"1,000", u"現物売", true, 9},
        {"a price outside the band without a split", u"1,000", u"現物売", false, 3},
        {"the other side on the ex-date", u"1,000", u"現物買", true, 3},
    };
    int number = 0;
    for (const auto &c : cases)
        putSellNotice(++number, QString::fromUtf16(c.price), QString::fromUtf16(c.kind));
    pass();
    EXPECT_EQ(refusedNotices().count, 3);
    sys::setNow(QDateTime(QDate(2006, 1, 5), QTime(14, 0)));
    pass();
    EXPECT_EQ(retests(), 0) << "the day's prices are not stored yet";

    // The night: the update is under way, then complete.
    sys::setNow(QDateTime(QDate(2006, 1, 6), QTime(2, 0)));
    number = 0;
    for (const auto &c : cases)
        storeExecutionDay(++number, c.split);
    gcnDB.execute(
        QStringLiteral("insert into ttupdatejournal (開始日, 終了日, 段階) values ('2006-01-05', '2006-01-05', 3)"));
    EXPECT_EQ(pass(), 0);
    EXPECT_EQ(retests(), 0) << "an unfinished update may still lack the split mark";
    gcnDB.execute(QStringLiteral("delete from ttupdatejournal"));
    EXPECT_EQ(pass(), 2) << "the two notices read again";
    EXPECT_EQ(retests(), 2);
    EXPECT_EQ(pass(), 0);
    EXPECT_EQ(retests(), 2) << "once more, not again";

    number = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ++number;
        const Reservation r = reservation(number);
        EXPECT_EQ(r.state, c.stateAfter);
        EXPECT_EQ(r.sharesSell, c.stateAfter == 9 ? 100 : 0);
        EXPECT_EQ(logLinesContaining(QStringLiteral("処理ファイル：") + mailFolder() + QStringLiteral("/")),
                  5); // each file read at its first pass, the two price refusals once more
    }
    EXPECT_EQ(historyRows(), 1);
    EXPECT_EQ(refusedNotices().count, 2) << "the booked notice leaves the count";
}

// An execution entered by hand may be the one a refused notice tells: after it no refused
// notice is tested again, so the execution cannot count twice.
TEST_F(PriceRetest, AnExecutionEnteredByHandEndsTheSecondTest)
{
    putSellNotice(1, QStringLiteral("1,000"));
    pass();
    endPriceRetests();
    EXPECT_EQ(logLinesContaining(QStringLiteral("★約定が手入力されたため値幅制限の外の約定通知(1通)は確かめ直さない")),
              1);
    sys::setNow(QDateTime(QDate(2006, 1, 6), QTime(2, 0)));
    storeExecutionDay(1, true);
    pass();
    EXPECT_EQ(retests(), 0);
    EXPECT_EQ(reservation(1).sharesSell, 0);
    EXPECT_EQ(historyRows(), 0);
    EXPECT_EQ(refusedNotices().count, 1) << "still told until the user dismisses it";
}

// A notice that does not fit the reservation sent with an unknown outcome (a forged mail, or
// the user's own trade of the stock) leaves it as it was, and the real notice still finds it.
TEST_F(YakuzyouMail, ARefusedNoticeLeavesTheOrderInDoubtToTheRealOne)
{
    addReservation(1, 0, 300, 0, 0, 0, 90);
    NoticeFields forged;
    forged.orderNo = QStringLiteral("999");
    forged.price = QStringLiteral("約定単価:1円");
    putMail(QStringLiteral("forged"), noticeMail(forged, QStringLiteral("forged@x")));
    QString answer;
    pass(&answer);
    Reservation r = reservation(1);
    EXPECT_EQ(r.state, 0);
    EXPECT_EQ(r.orderNo, 0);
    EXPECT_EQ(r.errorCode, 90);
    EXPECT_FALSE(findPlacedOrder(999, QDate(2006, 1, 5)));

    NoticeFields real;
    real.orderNo = QStringLiteral("555");
    real.price = QStringLiteral("約定単価:1,210円");
    putMail(QStringLiteral("real"), noticeMail(real, QStringLiteral("real@x")));
    EXPECT_EQ(pass(), 1);
    r = reservation(1);
    EXPECT_EQ(r.orderNo, 555);
    EXPECT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.sharesBuy, 300);
    EXPECT_DOUBLE_EQ(r.priceBuy, 1210);
}

// Program orders are day orders placed in trading hours: a notice finds an order placed on
// its day, never one of another day that had the same number.
TEST_F(YakuzyouMail, ANoticeFindsOnlyAnOrderThatCanStillBeOpen)
{
    const struct {
        const char *placed;
        bool found;
    } cases[] = {{"2006-01-05", true}, {"2006-01-04", false}, {"2005-12-28", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.placed);
        gcnDB.execute(QStringLiteral("delete from ttplacedorder"));
        ASSERT_TRUE(recordPlacedOrder({123456, db::parseDate(QString::fromLatin1(c.placed)), 1, 1, 300, 0}));
        EXPECT_EQ(findPlacedOrder(123456, QDate(2006, 1, 5)).has_value(), c.found);
    }
}
