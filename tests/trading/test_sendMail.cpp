#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "support/ReservationRows.h"
#include "trading/MailFixture.h"
#include "trading/modSendMail.h"

#include <QFile>

namespace {

class SendMail : public MailFixture {
protected:
    void SetUp() override
    {
        MailFixture::SetUp();
        gdtLastKabukaDate = QDate(2006, 1, 4);
        gcnDB.execute(QStringLiteral("insert into tmbond (銘柄コード, 会社名, 市場コード, 単元株数) values"
                                     " ('7203', 'トヨタ自動車', 't1', 100)"));
        gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 終値, 調整終値) values"
                                     " ('7203', 't1', '2006-01-04', 1000, 1000)"));
        addReservation({.予約番号 = 5,
                        .銘柄コード = QStringLiteral("7203"),
                        .株数 = 300,
                        .市場コード = QStringLiteral("t1"),
                        .約定金額買 = 1050.5,
                        .約定金額売 = 1200});
    }

    QString marketName()
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select 市場名略称 from tmmarket where 市場コード = 't1'"));
        return st.step() ? st.text(0) : QString();
    }

    void writeLogCopy(int weekday)
    {
        QFile copy(path(QStringLiteral("Nimbra%1.log").arg(weekday)));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write("old log\r\n");
    }
};

} // namespace

TEST_F(SendMail, NoticeShowsThePriceOfItsSide)
{
    struct Case {
        int baibaiKubun;
        const char16_t *price;
    } const cases[] = {{1, u"1050.5"}, {2, u"1200"}};
    int index = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.baibaiKubun);
        EXPECT_EQ(sendYakuzyouMail({1, QStringLiteral(" user@example.com ")}, 5, c.baibaiKubun), 0);
        ASSERT_EQ(m_smtp.messages().size(), index + 1);
        EXPECT_EQ(m_smtp.messages()[index].to, QStringList{QStringLiteral("user@example.com")});
        EXPECT_TRUE(m_smtp.messages()[index].data.contains("From: Nimbra <robot@example.com>"));
        EXPECT_EQ(receivedBody(index), QStringLiteral("約定通知\r\n\r\n予約番号：5\r\n銘柄：7203:トヨタ自動車(") +
                                           marketName() + QStringLiteral(")\r\n約定金額：") +
                                           QString::fromUtf16(c.price) + QStringLiteral("\r\nで約定しました。\r\n"));
        ++index;
    }
}

TEST_F(SendMail, NoticeWithoutAddressIsNotSent)
{
    EXPECT_EQ(sendYakuzyouMail({1, QStringLiteral("   ")}, 5, 1), 0);
    EXPECT_TRUE(m_smtp.messages().isEmpty());
}

TEST_F(SendMail, LogReportCarriesTheOrderListAndTheLogs)
{
    gcnDB.execute(QStringLiteral("delete from ttresevation"));
    addReservation({.予約番号 = 7, .銘柄コード = QStringLiteral("6758"), .株数 = 100});
    EXPECT_EQ(sendLogFile(), 0);
    ASSERT_EQ(m_smtp.messages().size(), 1);
    const QByteArray alone = m_smtp.messages()[0].data;
    EXPECT_EQ(m_smtp.messages()[0].to, QStringList{QStringLiteral("support@example.com")});
    EXPECT_EQ(alone.count("filename="), 1);
    EXPECT_TRUE(alone.contains("Nimbra.log"));
    const QString body = receivedBody(0);
    EXPECT_TRUE(body.startsWith(QStringLiteral("Nimbra V%1.%2.%3 ログファイル\r\n\r\n注文リスト\r\n")
                                    .arg(NIMBRA_VERSION_MAJOR)
                                    .arg(NIMBRA_VERSION_MINOR)
                                    .arg(NIMBRA_VERSION_PATCH)))
        << body.toStdString();
    // Every column followed by ",", an empty column as nothing.
    EXPECT_TRUE(body.contains(QStringLiteral("\r\n7,,,,6758,100,"))) << body.toStdString();

    writeLogCopy(2);
    writeLogCopy(7);
    EXPECT_EQ(sendLogFile(), 0);
    const QByteArray withCopies = m_smtp.messages().value(1).data;
    EXPECT_EQ(withCopies.count("filename="), 3);
    EXPECT_TRUE(withCopies.contains("Nimbra2.log"));
    EXPECT_TRUE(withCopies.contains("Nimbra7.log"));
}

TEST_F(SendMail, FailuresGiveOne)
{
    m_smtp.setRefuseRcpt(true);
    EXPECT_EQ(sendYakuzyouMail({1, QStringLiteral("user@example.com")}, 5, 1), 1);
    EXPECT_EQ(sendLogFile(), 1);

    m_smtp.setRefuseRcpt(false);
    writeSiteFile({QStringLiteral("SenderAddress=robot@example.com")}); // no support address
    EXPECT_EQ(sendLogFile(), 1);
    EXPECT_TRUE(m_smtp.messages().isEmpty());
    EXPECT_TRUE(logLines().join(u'\n').contains(QStringLiteral("SupportAddress")));
}
