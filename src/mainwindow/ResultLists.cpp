#include "mainwindow/ResultLists.h"

#include "core/modGlobal.h"
#include "platform/db/DbDate.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/FlexGrid.h"

namespace {

enum Column {
    CodeColumn,
    OrderNoColumn,
    MarketColumn,
    NumberColumn,
    DayColumn,
    StockColumn,
    ContentColumn,
    ColumnCount
};

struct Execution {
    QString code;
    QString orderNo;
    QString market;
    qint64 number = 0;
    QDate received;
    QString companyName;
    QString marketName;
    qint64 price = 0;
    qint64 shares = 0;
    QString side; // "1" buy, "2" sell
};

std::vector<Execution> readExecutions(const QString &ordering)
{
    db::Statement st = gcnDB.prepare(
        QStringLiteral("select a.銘柄コード, a.注文番号, a.市場コード, a.予約番号, a.受付日時, b.会社名, c.市場名略称,"
                       " a.約定金額, a.約定株数, a.売買区分"
                       " from ttcontracthistory a,tmbond b,tmmarket c"
                       " where a.銘柄コード = b.銘柄コード"
                       " and a.市場コード = b.市場コード"
                       " and a.市場コード = c.市場コード") +
        ordering);
    std::vector<Execution> rows;
    while (st.step()) {
        rows.push_back({st.text(0), st.text(1), st.text(2), st.int64(3), db::parseDate(st.text(4)), st.text(5),
                        st.text(6), st.int64(7), st.int64(8), st.text(9)});
    }
    return rows;
}

bool isBuy(const Execution &e)
{
    return text::leadingNumber(e.side) == 1;
}

void writeHeader(ui::FlexGrid &grid)
{
    grid.Clear();
    grid.setCols(ColumnCount);
    grid.setRows(1);
    grid.setRow(0);
    const int widths[ColumnCount] = {0, 0, 0, 0, 1100, 2000, 2000};
    for (int c = 0; c < ColumnCount; ++c)
        grid.setColWidth(c, widths[c]);
    const QString headers[] = {QStringLiteral("　約定日"), QStringLiteral("　　　銘柄"), QStringLiteral("　　内容")};
    for (int c = DayColumn; c < ColumnCount; ++c) {
        grid.setColAlignment(c, ui::flexAlignCenterCenter);
        grid.setTextMatrix(0, c, headers[c - DayColumn]);
    }
    for (int c = DayColumn; c < ColumnCount; ++c)
        grid.setColAlignment(c, ui::flexAlignLeftCenter);
}

// Appends one row and makes it current.
int appendRow(ui::FlexGrid &grid)
{
    const int r = grid.Rows();
    grid.setRows(r + 1);
    grid.setRow(r);
    return r;
}

void writeExecution(ui::FlexGrid &grid, const Execution &e)
{
    const int r = appendRow(grid);
    grid.setTextMatrix(r, CodeColumn, e.code);
    grid.setTextMatrix(r, OrderNoColumn, e.orderNo);
    grid.setTextMatrix(r, MarketColumn, e.market);
    grid.setTextMatrix(r, NumberColumn, QString::number(e.number));
    grid.setTextMatrix(r, DayColumn, text::formatYmdSlash(e.received));
    grid.setTextMatrix(r, StockColumn,
                       e.code + QStringLiteral(":") + e.companyName.left(4) + QStringLiteral(" (") +
                           e.marketName.left(2) + QStringLiteral(")"));
    grid.setTextMatrix(r, ContentColumn,
                       text::formatThousands(double(e.price)) + QStringLiteral("円:") +
                           text::formatThousands(double(e.shares)) + QStringLiteral("株:") +
                           getBaibaiKubunName(int(text::leadingNumber(e.side))));
}

void writeProfitRow(ui::FlexGrid &grid, qint64 profit, bool bought, bool sold)
{
    const int r = appendRow(grid);
    grid.setTextMatrix(r, DayColumn, QStringLiteral("　　損益"));
    grid.setTextMatrix(r, ContentColumn,
                       text::formatThousands(bought && sold ? double(profit) : 0.0) + QStringLiteral("円"));
}

} // namespace

QString getBaibaiKubunName(int side)
{
    switch (side) {
    case 1:
        return QStringLiteral("買");
    case 2:
        return QStringLiteral("売");
    default:
        return QString();
    }
}

void setYakuzyouList(ui::FlexGrid &grid)
{
    const std::vector<Execution> rows = readExecutions(QStringLiteral(" order by a.受付日時,a.売買区分,a.rowid"));
    writeHeader(grid);
    for (const Execution &e : rows)
        writeExecution(grid, e);
}

void setYakuzyouList2(ui::FlexGrid &grid)
{
    const std::vector<Execution> rows = readExecutions(QStringLiteral(" order by a.予約番号,a.売買区分,a.rowid"));
    writeHeader(grid);
    // 64-bit sums: a group worth more than 2^31 yen is an ordinary figure, not an error.
    qint64 profit = 0;
    bool bought = false;
    bool sold = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Execution &e = rows[i];
        writeExecution(grid, e);
        const qint64 amount = e.price * e.shares;
        if (isBuy(e)) {
            profit -= amount;
            bought = true;
        } else {
            profit += amount;
            sold = true;
        }
        if (i + 1 == rows.size() || rows[i + 1].number != e.number) {
            writeProfitRow(grid, profit, bought, sold);
            profit = 0;
            bought = false;
            sold = false;
        }
    }
}
