#include "mainwindow/MenuCommands.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistrySet.h"
#include "mainwindow/Header.h"
#include "mainwindow/ResultLists.h"
#include "platform/net/SiteFile.h"
#include "platform/sys/Clock.h"
#include "platform/text/VbText.h"
#include "platform/ui/FlexGrid.h"
#include "platform/ui/MsgBox.h"
#include "trading/modOrderGrid.h"
#include "trading/modReservation.h"
#include "trading/modSendMail.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

constexpr int kCodeColumn = 0;
constexpr int kOrderNumberColumn = 2;
constexpr int kOrderStockColumn = 6;

// The stock text of a row up to its first blank: code, short name and market.
QString stockText(const ui::FlexGrid &grid, int column)
{
    const QString cell = grid.TextMatrix(grid.Row(), column);
    return cell.left(cell.indexOf(u' ') < 0 ? cell.size() : cell.indexOf(u' '));
}

bool confirmed(const QString &question)
{
    return ui::msgBox(question, ui::vbYesNo + ui::vbInformation + ui::vbDefaultButton2) == ui::vbYes;
}

} // namespace

void deleteCandidateRow(ui::FlexGrid &candidates)
{
    if (text::trimSpaces(candidates.TextMatrix(candidates.Row(), kCodeColumn)).isEmpty())
        return;
    const int row = candidates.Row();
    if (ui::msgBox(QString::number(row) + QStringLiteral("行目を削除します。"), ui::vbYesNo + ui::vbQuestion,
                   QStringLiteral("行の削除確認")) == ui::vbYes)
        candidates.RemoveItem(row);
}

void cancelReservation(ui::FlexGrid &orders)
{
    if (orders.Row() < 1)
        return;
    const QString question =
        stockText(orders, kOrderStockColumn) + QStringLiteral("の予約を取り消します。よろしいですか?\r\n"
                                                              "(※．注文中の予約の結果は反映されません。)");
    // The number is read before the question: a rebuild while the box is open (the timers
    // run) must not turn the answer onto another row.
    const qint64 number = qint64(text::leadingNumber(orders.TextMatrix(orders.Row(), kOrderNumberColumn)));
    if (!confirmed(question))
        return;
    deleteReservation(number);
    setOrderGrid(orders);
}

void deleteReservationHistory(const ui::FlexGrid &source, HistoryColumns columns, ui::FlexGrid &orders,
                              ui::FlexGrid &resultsByDate)
{
    if (source.Rows() < 2 || source.Row() < 1)
        return;
    const QString question = QStringLiteral("銘柄:") + stockText(source, columns.stock) +
                             QStringLiteral("の情報をすべて取り消します。よろしいですか?\r\n");
    // Likewise read before the question.
    const qint64 number = qint64(text::leadingNumber(source.TextMatrix(source.Row(), columns.number)));
    if (!confirmed(question))
        return;
    deleteRireki(number);
    setOrderGrid(orders);
    setYakuzyouList(resultsByDate);
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
