#include "mainwindow/ListMouse.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modLookup.h"
#include "marketdata/modMarket.h"
#include "platform/sys/Clock.h"
#include "platform/text/VbText.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MsgBox.h"
#include "trading/frmManuMsg.h"
#include "trading/modOrderGrid.h"
#include "trading/modReservation.h"

#include <QAction>
#include <QMenu>

namespace {

constexpr int kActionColumn = 8;

// True while the reservation is a held position not yet marked for settling.
bool stillSettleable(qint64 number)
{
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select 処理区分, 手動注文区分 from ttresevation where 予約番号 = ?"));
    st.bind(1, number);
    return st.step() && st.int64(0) == kubunKaiYakuzyou && st.int64(1) == 0;
}

} // namespace

SelectedStock selectedStock(const ui::FlexGrid &grid, int codeColumn, int marketColumn, int numberColumn)
{
    SelectedStock s;
    s.mstrBrandCode = grid.TextMatrix(grid.Row(), codeColumn);
    s.mstrSizyouCode = grid.TextMatrix(grid.Row(), marketColumn);
    if (numberColumn >= 0)
        s.mlngYoyakuNo = qint64(text::leadingNumber(grid.TextMatrix(grid.Row(), numberColumn)));
    return s;
}

bool popupAllowed(const ListRow &pressed, const QMenu &popup)
{
    return popup.menuAction()->isEnabled() && !text::trimSpaces(pressed.stock.mstrBrandCode).isEmpty();
}

void setOrderPopupItems(QAction &kyouseiOrder, QAction &cancel, QAction &mente, int state, bool stopped)
{
    kyouseiOrder.setVisible(false);
    cancel.setVisible(stopped && state == kubunZyunbi);
    mente.setVisible(stopped);
}

OrderCellAction orderCellAction(int column, int state, const QString &actionCell, const QDateTime &now, int startMinute)
{
    if (column != kActionColumn)
        return OrderCellAction::SelectOnly;
    if (state == kubunKaiYakuzyou && actionCell == kSettleCellText)
        return OrderCellAction::Settle;
    const int minuteOfDay = now.time().hour() * 60 + now.time().minute();
    if (state == kubunZyunbi && actionCell == kCancelCellText && minuteOfDay < startMinute + 3)
        return OrderCellAction::DeleteHistory;
    return OrderCellAction::SelectOnly;
}

QString settleRefusal(const QString &runStatusCaption, const QDateTime &now)
{
    if (runStatusCaption != QStringLiteral("運転中"))
        return QStringLiteral("運転を開始してから押してください。");
    if (!isTradingDay(now))
        return QStringLiteral("取引時間外なので決済ボタンは使用できません。");
    if (!isTradingTime(now.addSecs(5 * 60), 1))
        return QStringLiteral("14時45分以降は決済ボタンは使用できません。");
    return QString();
}

bool requestSettle(QWidget *parent, const QString &runStatusCaption, const SelectedStock &stock)
{
    const QString refusal = settleRefusal(runStatusCaption, sys::now());
    if (!refusal.isEmpty()) {
        ui::msgBox(refusal, ui::vbInformation);
        return false;
    }
    KabukaInfo2 info;
    getKabukaInfo2(stock.mstrBrandCode, stock.mstrSizyouCode, gdtLastKabukaDate, info);
    gstrManuMsg = stock.mstrBrandCode + QStringLiteral(":") + info.companyName + QStringLiteral("(") + info.marketName +
                  QStringLiteral(")の決済処理を行います。よろしいですか?\r\n"
                                 "(※．市場の状況によっては注文が成立しない場合があります。)\r\n");
    glngManuMsgResult = 0;
    frmManuMsg(parent).exec();
    if (glngManuMsgResult != 6)
        return false;
    // Timers run while the dialog is open: the position may have been sold or marked
    // meanwhile, and a second sale must not be asked for.
    if (!stillSettleable(stock.mlngYoyakuNo)) {
        writeLog(glngLogFileNo, QStringLiteral("決済要求を取りやめました(予約の状態が変わりました): 予約番号 ") +
                                    QString::number(stock.mlngYoyakuNo));
        return false;
    }
    setManualOrder(stock.mlngYoyakuNo);
    return true;
}
