#include "trading/modOrderGrid.h"

#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "platform/sys/ReentryGuard.h"
#include "platform/text/Format.h"
#include "platform/ui/FlexGrid.h"
#include "trading/modBroker.h"
#include "trading/modOrderDue.h"
#include "trading/modReservation.h"

#include <QColor>

#include <vector>

namespace {

enum Column {
    CodeColumn,
    OrderNoColumn,
    NumberColumn,
    StateColumn,
    MarketColumn,
    DayColumn,
    StockColumn,
    StateTextColumn,
    ActionColumn,
    ColumnCount
};

struct OrderRow {
    QString code;
    QString orderNo;
    QString number;
    int state = 0;
    QString market;
    QDate updated;
    QString companyName;
    QString marketName;
    qint64 shares = 0; // 株数: the shares to have bought in all
    qint64 held = 0;   // 約定株数買 - 約定株数売
    bool manual = false;
    int errorCode = 0;
    bool hasPurchaseCount = false;
    qint64 purchaseCount = 0; // 注文回
};

std::vector<OrderRow> readOrderRows()
{
    db::Statement st = gcnDB.prepare(QStringLiteral(
        "select a.銘柄コード, a.注文番号, a.予約番号, a.処理区分, a.市場コード, a.更新日付, b.会社名, c.市場名略称,"
        " a.株数, a.約定株数買 - a.約定株数売, a.手動注文区分, a.エラーコード, a.注文回"
        " from ttresevation a,tmbond b,tmmarket c"
        " where a.処理区分 < 9"
        " and a.銘柄コード = b.銘柄コード"
        " and a.市場コード = b.市場コード"
        " and a.市場コード = c.市場コード"
        " order by a.更新日付 desc,a.処理区分,a.予約番号"));
    std::vector<OrderRow> rows;
    while (st.step()) {
        rows.push_back({st.text(0), st.text(1), st.text(2), int(st.int64(3)), st.text(4), st.date(5), st.text(6),
                        st.text(7), st.int64(8), st.int64(9), st.int64(10) != 0, int(st.int64(11)), !st.isNull(12),
                        st.int64(12)});
    }
    return rows;
}

QString stockLine(const OrderRow &row)
{
    const bool nothingBought = row.state == kubunZyunbi || row.state == kubunKaiTyumon;
    return row.code + row.companyName.left(3) + QStringLiteral("(") + row.marketName.left(2) + QStringLiteral(") ") +
           QString::number(nothingBought ? row.shares : row.held) + QStringLiteral("株");
}

QString stateText(const OrderRow &row)
{
    if (row.errorCode == etrErrOutcomeUnknown)
        return QStringLiteral("結果不明");
    if (row.errorCode == etrErrNoShares)
        return QStringLiteral("株数不正");
    QString text = getSyoriKubunName(row.state);
    if (row.state > 0 && row.hasPurchaseCount)
        text += QString::number(row.purchaseCount + 1);
    return text;
}

void writeActionCell(ui::FlexGrid &grid, const OrderRow &row, int minuteOfDay, int headerHeight)
{
    const QColor green(0, 128, 0);
    const QColor blue(0, 0, 255);
    QColor back;
    QString text;
    if (row.state == kubunKaiYakuzyou && !row.manual) {
        text = kSettleCellText;
        back = green;
    } else if (row.state == kubunUriTyumon) {
        text = QStringLiteral("売開始");
        back = blue;
    } else if (row.state == kubunZyunbi && minuteOfDay < glngStartMinute + 3) {
        text = kCancelCellText;
        back = green;
    } else {
        grid.setRowHeight(grid.Row(), headerHeight);
        return;
    }
    grid.setCol(ActionColumn);
    grid.setCellBackColor(back);
    grid.setCellForeColor(Qt::white);
    grid.setText(text);
}

void writeHeader(ui::FlexGrid &grid)
{
    grid.Clear();
    grid.setCols(ColumnCount);
    grid.setRows(1);
    grid.setRow(0);
    const int widths[ColumnCount] = {0, 0, 0, 0, 0, 1100, 2250, 800, 800};
    for (int c = 0; c < ColumnCount; ++c)
        grid.setColWidth(c, widths[c]);
    const QString headers[] = {QStringLiteral("　注文日"), QStringLiteral("　　　　銘　　柄"), QStringLiteral("　状態"),
                               QStringLiteral("処理")};
    for (int c = DayColumn; c < ColumnCount; ++c) {
        grid.setColAlignment(c, ui::flexAlignCenterCenter);
        grid.setTextMatrix(0, c, headers[c - DayColumn]);
    }
}

void fillOrderGrid(ui::FlexGrid &grid)
{
    const QDateTime now = sys::now();
    const int minuteOfDay = now.time().hour() * 60 + now.time().minute();
    const std::vector<OrderRow> rows = readOrderRows();
    writeHeader(grid);
    const int headerHeight = grid.RowHeight(0);
    for (int c = DayColumn; c <= StateTextColumn; ++c)
        grid.setColAlignment(c, ui::flexAlignLeftCenter);
    grid.setRows(int(rows.size()) + 1);
    int r = 0;
    for (const OrderRow &row : rows) {
        grid.setRow(++r);
        grid.setTextMatrix(r, CodeColumn, row.code);
        grid.setTextMatrix(r, OrderNoColumn, row.orderNo);
        grid.setTextMatrix(r, NumberColumn, row.number);
        grid.setTextMatrix(r, StateColumn, QString::number(row.state));
        grid.setTextMatrix(r, MarketColumn, row.market);
        grid.setTextMatrix(r, DayColumn, text::formatYmdSlash(row.updated));
        grid.setTextMatrix(r, StockColumn, stockLine(row));
        grid.setTextMatrix(r, StateTextColumn, stateText(row));
        writeActionCell(grid, row, minuteOfDay, headerHeight);
    }
}

} // namespace

void setOrderGrid(ui::FlexGrid &grid)
{
    static bool building = false;
    static bool requestedAgain = false;
    const sys::ReentryGuard guard(building);
    if (!guard.entered()) {
        requestedAgain = true;
        return;
    }
    do {
        requestedAgain = false;
        fillOrderGrid(grid);
    } while (requestedAgain);
}
