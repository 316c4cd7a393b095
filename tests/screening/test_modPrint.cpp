#include "screening/ScreeningFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp932.h"
#include "platform/text/VbText.h"
#include "platform/ui/Printer.h"
#include "screening/modPrint.h"
#include "support/MessageBoxRecorder.h"

#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

class PrintTest : public ScreeningFixture {
protected:
    void SetUp() override
    {
        ScreeningFixture::SetUp();
        sys::setNow(QDateTime(QDate(2026, 3, 9), QTime(10, 0)));
        pdf = path(u"report.pdf"_s);
        ui::PrintDialog::setHook([this](QPrinter &printer) {
            ++dialogsShown;
            EXPECT_EQ(printer.copyCount(), 1);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return accept;
        });
    }
    void TearDown() override
    {
        ui::PrintDialog::setHook({});
        sys::setNow(std::nullopt);
        ScreeningFixture::TearDown();
    }

    // Pages of the written PDF, counted by their page objects.
    int pdfPages() const
    {
        QFile file(pdf);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        static const QRegularExpression page(u"/Type\\s*/Page[^s]"_s);
        return int(QString::fromLatin1(file.readAll()).count(page));
    }

    static QList<qsizetype> lineCounts(const std::vector<ui::PrinterPage> &document)
    {
        QList<qsizetype> counts;
        for (const ui::PrinterPage &page : document)
            counts << page.size();
        return counts;
    }

    static void addExecution(const QString &received, const QString &code, const QString &market, int price, int shares,
                             const QString &side)
    {
        gcnDB.execute(u"insert into ttcontracthistory (受付日時, 銘柄コード, 市場コード, 約定金額, 約定株数, 売買区分)"
                      " values (?, ?, ?, ?, ?, ?)"_s,
                      received, code, market, price, shares, side);
    }

    // Draws `page` as the printer does, one line at a time, and expects each line that
    // shows any character to leave ink on the page, below the line before it.
    static void expectEveryLineDrawn(const ui::PrinterPage &page, const char *where)
    {
        const QRectF area(0, 0, 560, 750);
        int previousTop = -1;
        for (int i = 0; i < page.size(); ++i) {
            if (page[i].trimmed().isEmpty())
                continue;
            ui::PrinterPage alone(page.size());
            alone[i] = page[i];
            QImage image(area.size().toSize(), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            ui::paintPrinterPage(painter, area, alone, u"ＭＳ ゴシック"_s);
            painter.end();
            int top = -1;
            for (int y = 0; y < image.height() && top < 0; ++y)
                for (int x = 0; x < image.width() && top < 0; ++x)
                    if (image.pixel(x, y) != qRgb(255, 255, 255))
                        top = y;
            EXPECT_GE(top, 0) << where << ": line " << i + 1 << " is not drawn";
            EXPECT_GT(top, previousTop) << where << ": line " << i + 1;
            previousTop = std::max(previousTop, top);
        }
    }

    ui::PrintDialog dialog;
    QString pdf;
    bool accept = true;
    int dialogsShown = 0;
};

struct PagingCase {
    int entries;
    QList<qsizetype> lines; // per page
};

class SimuResultPagingTest : public PrintTest, public ::testing::WithParamInterface<PagingCase> {};

TEST_P(SimuResultPagingTest, PagesBreakAfterTheLineThatReaches75)
{
    QListWidget list;
    for (int i = 0; i < GetParam().entries; ++i)
        list.addItem(u"行"_s + QString::number(i));
    BS base;
    base.TousiGanpon = 1234567;
    base.KounyuTensu = 3;
    EXPECT_EQ(printSimuResult(dialog, list, base), 0);
    ASSERT_EQ(dialog.documents().size(), 1u);
    EXPECT_EQ(lineCounts(dialog.documents()[0]), GetParam().lines);
    EXPECT_EQ(pdfPages(), GetParam().lines.size());
}

INSTANTIATE_TEST_SUITE_P(Table, SimuResultPagingTest,
                         ::testing::Values(PagingCase{0, {12}}, PagingCase{62, {74}}, PagingCase{63, {75, 9}},
                                           PagingCase{64, {75, 10}}, PagingCase{63 + 66, {75, 75, 9}}));

TEST_F(PrintTest, SimuResultHeadersAndLongLinesAsWritten)
{
    QListWidget list;
    const QString longLine = QString(300, u'あ');
    list.addItem(longLine);
    for (int i = 0; i < 63; ++i)
        list.addItem(u"x"_s);
    BS base;
    base.TousiGanpon = 1234567;
    base.KounyuTensu = 3;
    ASSERT_EQ(printSimuResult(dialog, list, base), 0);
    const auto &pages = dialog.documents()[0];
    const QString title = u"■■■Tesmora(Nimbra) V%1.%2.%3　株式投資一括シミュレーション結果"_s.arg(NIMBRA_VERSION_MAJOR)
                              .arg(NIMBRA_VERSION_MINOR)
                              .arg(NIMBRA_VERSION_PATCH);
    EXPECT_EQ(pages[0].mid(0, 13), (QStringList{u" "_s, u"出力日:2026/03/09　ページ:1"_s, u" "_s, u" "_s, title, u" "_s,
                                                u" "_s, u"▼基本情報"_s, u"投資元本:1,234,567円　同時購入銘柄数:3点"_s,
                                                u" "_s, printRule(), u"　"_s, longLine}));
    EXPECT_EQ(pages[1].mid(0, 9), (QStringList{u" "_s, u"出力日:2026/03/09　ページ:2"_s, u" "_s, u" "_s, title, u" "_s,
                                               u" "_s, printRule(), u"　"_s}));
}

TEST_F(PrintTest, CancelledDialogPrintsNothing)
{
    accept = false;
    QListWidget list;
    list.addItem(u"x"_s);
    EXPECT_EQ(printSimuResult(dialog, list, BS{}), 0);
    EXPECT_EQ(printTradeHistory(dialog), 0);
    EXPECT_EQ(dialogsShown, 2);
    EXPECT_TRUE(dialog.documents().empty());
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(MessageBoxRecorder::instance().calls().isEmpty());
}

TEST_F(PrintTest, UnwritableFileIsReportedOnce)
{
    pdf = path(u"missing/folder/report.pdf"_s);
    QListWidget list;
    list.addItem(u"x"_s);
    EXPECT_NE(printSimuResult(dialog, list, BS{}), 0);
    EXPECT_NE(printTradeHistory(dialog), 0);
    const QString message = u"印刷できませんでした。\r\n"_s + pdf;
    EXPECT_EQ(MessageBoxRecorder::instance().texts(), (QStringList{message, message}));
    EXPECT_EQ(MessageBoxRecorder::instance().calls()[0].style, ui::vbExclamation);
    EXPECT_TRUE(dialog.documents().empty());
}

TEST_F(PrintTest, TradeHistoryOfAnEmptyStore)
{
    ASSERT_EQ(printTradeHistory(dialog), 0);
    ASSERT_EQ(dialog.documents().size(), 2u);
    for (const auto &document : dialog.documents()) {
        ASSERT_EQ(document.size(), 1u);
        ASSERT_EQ(document[0].size(), 11);
        EXPECT_EQ(document[0][10], u"　　　          │損益計                              │                │          │"
                                   "                   0│    "_s);
    }
    EXPECT_TRUE(dialog.documents()[1][0][4].endsWith(u"　株式投資売買実績(銘柄ごと)"_s));
    // Both listings in one file, the second from a new page.
    EXPECT_EQ(pdfPages(), 2);
}

TEST_F(PrintTest, TradeHistoryListsByDateAndGroupsByCode)
{
    addStock(u"1001"_s, u"t1"_s, 100, u"アルファ精密工業株式会社東京"_s);
    addStock(u"1001"_s, u"t2"_s, 100, u"アルファ精密工業株式会社東京"_s);
    addStock(u"1002"_s, u"t1"_s, 100, u"ベータ電機"_s);
    addExecution(u"2026-01-05 09:10:00"_s, u"1001"_s, u"t1"_s, 1000, 100, u"1"_s);
    addExecution(u"2026-01-06 09:10:00"_s, u"1002"_s, u"t1"_s, 300, 200, u"1"_s);
    addExecution(u"2026-01-07 09:10:00"_s, u"1001"_s, u"t2"_s, 1010, 100, u"1"_s);
    addExecution(u"2026-01-08 09:10:00"_s, u"1001"_s, u"t1"_s, 1100, 100, u"2"_s);
    addExecution(u"2026-01-09 09:10:00"_s, u"1001"_s, u"t2"_s, 1200, 100, u"2"_s);
    addExecution(u"2026-01-09 09:20:00"_s, u"9999"_s, u"t1"_s, 1, 1, u"2"_s); // not in the master
    ASSERT_EQ(printTradeHistory(dialog), 0);
    const auto &byDate = dialog.documents()[0][0];
    const auto &byStock = dialog.documents()[1][0];

    const QString header = byDate[7];
    EXPECT_EQ(header, u"　　　日付      │銘柄                                │        約定単価│  約定株数│"
                      "            約定金額│売買"_s);
    EXPECT_EQ(byDate[8], printHistoryRule());
    EXPECT_EQ(byDate[9], u"　　　2026/01/05│1001：アルファ精密工業株式会社(東1) │           1,000│       100│"
                         "             100,000│買  "_s);
    // Every line of the table has the header's width, so the bars line up.
    for (int row = 7; row < byDate.size(); ++row)
        EXPECT_EQ(text::cp932ByteLength(byDate[row]), text::cp932ByteLength(header)) << row;
    ASSERT_EQ(byDate.size(), 9 + 5 + 2);
    // Sells 230,000 less buys 261,000; nothing held.
    EXPECT_TRUE(byDate[15].endsWith(u"│             -31,000│    "_s));

    // 1001 on both markets is one group (its last row, t2's sell, makes it count);
    // 1002 was never sold.
    QStringList groups;
    for (const QString &line : byStock)
        if (line.contains(u"損益計"_s))
            groups << text::trimSpaces(line.section(u'│', 4, 4));
    EXPECT_EQ(groups, (QStringList{u"29,000"_s, u"0"_s}));
}

// A page holds the header and 66 data lines; the closing rule and total follow the last
// data line on its page without a break test.
TEST_F(PrintTest, TradeHistoryPagesHold66Executions)
{
    addStock(u"1001"_s, u"t1"_s, 100, u"アルファ"_s);
    for (int i = 0; i < 67; ++i)
        addExecution(QDateTime(QDate(2026, 1, 5), QTime(9, 0)).addSecs(i * 60).toString(u"yyyy-MM-dd hh:mm:ss"_s),
                     u"1001"_s, u"t1"_s, 1000, 100, u"1"_s);
    ASSERT_EQ(printTradeHistory(dialog), 0);
    for (const auto &document : dialog.documents()) {
        ASSERT_EQ(document.size(), 2u);
        EXPECT_EQ(document[0].size(), 75);
        EXPECT_EQ(document[1].size(), 9 + 1 + 2);
        EXPECT_TRUE(document[1][1].endsWith(u"ページ:2"_s));
    }
    EXPECT_EQ(pdfPages(), 4);
}

// The closing lines that run past line 75 are printed with the rest: the by-date total
// after 65 executions, and the first execution of the next stock after a total block.
TEST_F(PrintTest, TradeHistoryDrawsEveryRecordedLine)
{
    addStock(u"1001"_s, u"t1"_s, 100, u"アルファ"_s);
    addStock(u"1002"_s, u"t1"_s, 100, u"ベータ"_s);
    const QDateTime first(QDate(2026, 1, 5), QTime(9, 0));
    for (int i = 0; i < 65; ++i)
        addExecution(first.addSecs(i * 60).toString(u"yyyy-MM-dd hh:mm:ss"_s), i < 63 ? u"1001"_s : u"1002"_s, u"t1"_s,
                     1000, 100, i % 2 == 0 ? u"1"_s : u"2"_s);
    ASSERT_EQ(printTradeHistory(dialog), 0);
    ASSERT_EQ(dialog.documents().size(), 2u);
    const auto &byDate = dialog.documents()[0];
    const auto &byStock = dialog.documents()[1];
    ASSERT_EQ(byDate.size(), 1u);
    ASSERT_EQ(byDate[0].size(), 76);
    EXPECT_TRUE(byDate[0][75].contains(u"損益計"_s));
    ASSERT_EQ(byStock[0].size(), 76);
    EXPECT_TRUE(byStock[0][75].contains(u"1002："_s));
    for (const auto *document : {&byDate, &byStock})
        for (size_t p = 0; p < document->size(); ++p)
            expectEveryLineDrawn((*document)[p], document == &byDate ? "by date" : "by stock");
}

} // namespace
