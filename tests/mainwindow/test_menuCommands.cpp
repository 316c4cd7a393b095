#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "mainwindow/Header.h"
#include "mainwindow/ListRow.h"
#include "mainwindow/MenuCommands.h"
#include "platform/sys/Clock.h"
#include "platform/ui/FlexGrid.h"
#include "support/MessageBoxRecorder.h"
#include "support/TradingFixture.h"
#include "trading/modOrderGrid.h"

#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class MenuCommandsTest : public TradingFixture {
protected:
    void SetUp() override
    {
        TradingFixture::SetUp();
        MessageBoxRecorder::instance().reset();
        sys::setNow(QDateTime(QDate(2026, 12, 10), QTime(9, 30)));
        addBond(QStringLiteral("1234"), QStringLiteral("t1"), QStringLiteral("ABCDEFG"));
        gcnDB.execute(QStringLiteral("update tmmarket set 市場名略称 = 'XYZ' where 市場コード = 't1'"));
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &pages, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &pages, "open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        TradingFixture::TearDown();
    }
    void addHeld(qint64 number)
    {
        addReservation({.予約番号 = number,
                        .銘柄コード = QStringLiteral("1234"),
                        .処理区分 = 2,
                        .更新日付 = QStringLiteral("2026-12-0") + QString::number(number) + QStringLiteral(" 10:00:00"),
                        .市場コード = QStringLiteral("t1"),
                        .約定株数買 = 100});
    }
    void writeSiteFile(const QByteArray &content)
    {
        QFile file(path(QStringLiteral("Nimbra_site.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    MessageBoxRecorder &boxes() { return MessageBoxRecorder::instance(); }
    UrlRecorder pages;
    ui::FlexGrid orders, results;
};

TEST_F(MenuCommandsTest, DeleteCandidateRow)
{
    ui::FlexGrid candidates;
    candidates.setCols(5);
    candidates.setRows(5); // rows 1 to 3 hold candidates, row 4 is the empty last row
    for (int r = 1; r <= 3; ++r)
        candidates.setTextMatrix(r, 0, QStringLiteral("100") + QString::number(r));
    candidates.setRow(4);
    deleteCandidateRow(candidates, readListRow(candidates, kCandidateListColumns));
    EXPECT_TRUE(boxes().calls().isEmpty());

    candidates.setRow(3);
    boxes().queueAnswer(ui::vbYes);
    deleteCandidateRow(candidates, readListRow(candidates, kCandidateListColumns));
    ASSERT_EQ(boxes().calls().size(), 1);
    EXPECT_EQ(boxes().calls().at(0).text, QStringLiteral("3行目を削除します。"));
    EXPECT_EQ(boxes().calls().at(0).title, QStringLiteral("行の削除確認"));
    EXPECT_EQ(boxes().calls().at(0).style, ui::vbYesNo + ui::vbQuestion);
    EXPECT_EQ(candidates.Rows(), 4);
    EXPECT_EQ(candidates.TextMatrix(2, 0), QStringLiteral("1002"));
    EXPECT_EQ(candidates.TextMatrix(3, 0), QString());
}

TEST_F(MenuCommandsTest, CancelAndHistoryQuestionsAreExactAndNoKeepsTheRows)
{
    addHeld(1);
    addHeld(2);
    setOrderGrid(orders);
    orders.setRow(1); // reservation 2, changed last
    const ListRow pressed = readListRow(orders, kOrderListColumns);
    cancelReservation(pressed, orders);
    deleteReservationHistory(pressed, orders, results);
    const int style = ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2;
    ASSERT_EQ(boxes().calls().size(), 2);
    EXPECT_EQ(boxes().calls().at(0).text,
              QStringLiteral(
                  "1234ABC(XY)の予約を取り消します。よろしいですか?\r\n(※．注文中の予約の結果は反映されません。)"));
    EXPECT_EQ(boxes().calls().at(1).text,
              QStringLiteral("銘柄:1234ABC(XY)の情報をすべて取り消します。よろしいですか?\r\n"));
    for (const ui::MsgBoxCall &call : boxes().calls())
        EXPECT_EQ(call.style, style);
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 2);

    boxes().queueAnswer(ui::vbYes);
    cancelReservation(pressed, orders);
    EXPECT_FALSE(reservationValue(2, QStringLiteral("予約番号")).isValid());
    EXPECT_TRUE(reservationValue(1, QStringLiteral("予約番号")).isValid());
    EXPECT_EQ(orders.Rows(), 2);

    ui::FlexGrid empty;
    empty.setCols(9);
    deleteReservationHistory(readListRow(empty, kOrderListColumns), orders, results);
    EXPECT_EQ(boxes().calls().size(), 3);
}

TEST_F(MenuCommandsTest, HistoryResetOnlyAfterYes)
{
    addHeld(1);
    const QDateTime start(QDate(2026, 11, 1), QTime(0, 0));
    sysBS.StartDate = start;
    QLabel a, b, c, d, e;
    const HeaderLabels header{&a, &b, &c, &d, &e};
    EXPECT_FALSE(resetHistory(orders, header));
    EXPECT_EQ(sysBS.StartDate, start);
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 1);
    EXPECT_EQ(a.text(), QString());

    boxes().queueAnswer(ui::vbYes);
    EXPECT_TRUE(resetHistory(orders, header));
    EXPECT_EQ(sysBS.StartDate, QDateTime(QDate(2026, 12, 10), QTime(0, 0)));
    EXPECT_EQ(rowCount(QStringLiteral("ttresevation")), 0);
    EXPECT_EQ(e.text(), QStringLiteral("0日"));
    EXPECT_EQ(orders.Rows(), 1);
}

TEST_F(MenuCommandsTest, LogReportFailureIsReported)
{
    sendLogReport(); // declined
    ASSERT_EQ(boxes().calls().size(), 1);
    EXPECT_EQ(boxes().calls().at(0).text, QStringLiteral("実行情報をサポートセンタへ送信します。よろしいですか?"));

    boxes().reset();
    boxes().queueAnswer(ui::vbYes);
    sendLogReport(); // no mail server configured: the send fails
    ASSERT_EQ(boxes().calls().size(), 2);
    EXPECT_EQ(boxes().calls().at(1).text, QStringLiteral("送信処理に失敗しました。"));
    EXPECT_EQ(boxes().calls().at(1).style, ui::vbExclamation);
    EXPECT_TRUE(logLines().contains(QStringLiteral("ログファイルの送信に失敗しました。")));
}

TEST_F(MenuCommandsTest, PagesFromTheSiteFile)
{
    openSupportPage();
    EXPECT_TRUE(pages.urls.isEmpty());
    ASSERT_EQ(boxes().calls().size(), 1);
    EXPECT_EQ(boxes().calls().at(0).style, ui::vbExclamation);

    writeSiteFile("[Hosts]\nSupportPage=http://127.0.0.1:8081/support/\nBroker=https://127.0.0.1:8443/\n");
    openSupportPage();
    openBrokerPage();
    EXPECT_EQ(pages.urls, (QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:8081/support/")),
                                       QUrl(QStringLiteral("https://127.0.0.1:8443/ETGate"))}));
}

} // namespace

#include "test_menuCommands.moc"
