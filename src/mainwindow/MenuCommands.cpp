#include "mainwindow/MenuCommands.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "mainwindow/Header.h"
#include "mainwindow/ListRow.h"
#include "mainwindow/ResultLists.h"
#include "platform/net/SiteFile.h"
#include "platform/sys/Clock.h"
#include "platform/text/VbText.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MsgBox.h"
#include "trading/modBroker.h"
#include "trading/modOrderGrid.h"
#include "trading/modReservation.h"
#include "trading/modSendMail.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

bool confirmed(const QString &question)
{
    return ui::msgBox(question, ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2) == ui::vbYes;
}

bool historyDeletionConfirmed(const ListRow &pressed)
{
    return confirmed(QStringLiteral("銘柄:") + pressed.stockText +
                     QStringLiteral("の情報をすべて取り消します。よろしいですか?\r\n"));
}

// True once an order of the reservation may have gone to the broker: its order step is
// under way, or it was accepted (the row has left the waiting state) or sent with its
// outcome not known yet.
bool orderOut(qint64 number)
{
    if (broker::orderStepInFlightFor(number))
        return true;
    db::Statement st =
        gcnDB.prepare(QStringLiteral("select 処理区分, エラーコード from ttresevation where 予約番号 = ?"));
    st.bind(1, number);
    return st.step() && (st.int64(0) != kubunZyunbi || st.int64(1) == etrErrOutcomeUnknown);
}

void refreshLists(ui::FlexGrid &orders, ui::FlexGrid &resultsByDate)
{
    setOrderGrid(orders);
    setYakuzyouList(resultsByDate);
}

} // namespace

void deleteCandidateRow(ui::FlexGrid &candidates, const ListRow &pressed)
{
    if (text::trimSpaces(pressed.stock.mstrBrandCode).isEmpty())
        return;
    if (ui::msgBox(QString::number(pressed.row) + QStringLiteral("行目を削除します。"), ui::vbYesNo + ui::vbQuestion,
                   QStringLiteral("行の削除確認")) != ui::vbYes)
        return;
    // The daily block may have refilled the list while the question was open: the row goes
    // only while it still holds the stock asked about.
    if (pressed.row < candidates.Rows() && candidates.TextMatrix(pressed.row, 0) == pressed.stock.mstrBrandCode &&
        candidates.TextMatrix(pressed.row, 1) == pressed.stock.mstrSizyouCode)
        candidates.RemoveItem(pressed.row);
}

void cancelReservation(const ListRow &pressed, ui::FlexGrid &orders)
{
    if (pressed.row < 1)
        return;
    if (!confirmed(pressed.stockText + QStringLiteral("の予約を取り消します。よろしいですか?\r\n"
                                                      "(※．注文中の予約の結果は反映されません。)")))
        return;
    deleteReservation(pressed.stock.mlngYoyakuNo);
    setOrderGrid(orders);
}

void deleteReservationHistory(const ListRow &pressed, ui::FlexGrid &orders, ui::FlexGrid &resultsByDate)
{
    if (pressed.row < 1 || !historyDeletionConfirmed(pressed))
        return;
    deleteRireki(pressed.stock.mlngYoyakuNo);
    refreshLists(orders, resultsByDate);
}

void deleteWaitingHistory(const ListRow &pressed, ui::FlexGrid &orders, ui::FlexGrid &resultsByDate)
{
    if (pressed.row < 1 || !historyDeletionConfirmed(pressed))
        return;
    // The timers run while the question is open: the order cycle may have sent the buy.
    const qint64 number = pressed.stock.mlngYoyakuNo;
    if (orderOut(number)) {
        writeLog(glngLogFileNo,
                 QStringLiteral("取消を取りやめました(注文を出した後です): 予約番号 ") + QString::number(number));
        ui::msgBox(pressed.stockText + QStringLiteral("の予約は注文を出した後のため取り消しませんでした。\r\n"
                                                      "証券会社のサイトで注文状況を確認してください。"),
                   ui::vbExclamation);
    } else {
        deleteRireki(number);
    }
    refreshLists(orders, resultsByDate);
}

bool resetHistory(ui::FlexGrid &orders, const HeaderLabels &header)
{
    if (!deleteAllOrders(1))
        return false;
    sysBS.StartDate = QDateTime(sys::now().date(), QTime(0, 0));
    setRegistryAll();
    setOrderGrid(orders);
    setHeader(header);
    return true;
}

void sendLogReport()
{
    if (!confirmed(QStringLiteral("実行情報をサポートセンタへ送信します。よろしいですか?")))
        return;
    if (sendLogFile() == 1) {
        writeLog(glngLogFileNo, QStringLiteral("ログファイルの送信に失敗しました。"));
        ui::msgBox(QStringLiteral("送信処理に失敗しました。"), ui::vbExclamation);
        return;
    }
    ui::msgBox(QStringLiteral("送信処理は完了しました。"), ui::vbInformation);
}

void openSitePage(const QString &key, const QString &path)
{
    const net::SiteAddress site = net::siteAddress(key, path);
    if (!site.ok()) {
        writeLog(glngLogFileNo, site.problem());
        ui::msgBox(site.problem(), ui::vbExclamation);
        return;
    }
    QDesktopServices::openUrl(QUrl(site.value()));
}

void openSupportPage()
{
    openSitePage(QStringLiteral("SupportPage"), QString());
}

void openBrokerPage()
{
    openSitePage(QStringLiteral("Broker"), QStringLiteral("ETGate"));
}
