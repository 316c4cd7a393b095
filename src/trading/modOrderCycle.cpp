#include "trading/modOrderCycle.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/sys/Clock.h"
#include "trading/modBroker.h"
#include "trading/modOrderDue.h"

#include <QLabel>

namespace {

void logOrder(const etrOrderInfo &order)
{
    const QString rule = QStringLiteral("--------------------");
    writeProgramLog(rule);
    writeProgramLog(QStringLiteral("予約番号:") + QString::number(order.予約番号));
    writeProgramLog(QStringLiteral("売買区分:") + QString::number(order.売買区分));
    writeProgramLog(QStringLiteral("取引区分:") + QString::number(order.取引区分));
    writeProgramLog(QStringLiteral("株数:") + QString::number(order.株数));
    writeProgramLog(QStringLiteral("銘柄コード:") + order.銘柄コード);
    writeProgramLog(QStringLiteral("市場コード:") + order.市場コード);
    writeProgramLog(rule);
}

} // namespace

OrderCycleOutcome doOrderCycle(QLabel &lblMsg, browser::Browser &webOrder)
{
    const QDateTime now = sys::now();
    const QString skip = orderCycleSkipReason(now);
    if (!skip.isEmpty()) {
        writeProgramLog(skip);
        return OrderCycleOutcome::Skipped;
    }
    QString queryText;
    const std::optional<DueReservation> due = selectDueReservation(gdtLastKabukaDate, sysOD, queryText);
    if (!due) {
        writeProgramLog(QStringLiteral("***処理する銘柄なし") + queryText);
        return OrderCycleOutcome::Skipped;
    }
    const etrOrderInfo order = orderFor(*due);
    if (order.株数 <= 0) {
        refuseOrderOfNoShares(order);
        return OrderCycleOutcome::Skipped;
    }
    lblMsg.setText(now.toString(QStringLiteral("HH:mm")) + QStringLiteral(":予約番号") + QString::number(due->number) +
                   QStringLiteral("の注文を処理しています。"));
    etrOrder = order;
    logOrder(etrOrder);
    openBrokerStep(webOrder, 1);
    return OrderCycleOutcome::StepStarted;
}

void openBrokerStep(browser::Browser &webOrder, int requestMode)
{
    etrUserID = UserID;
    etrPassword = Password;
    etrPassword2 = Password2;
    writeProgramLog(QStringLiteral("★etrOpen開始"));
    etrOpen(webOrder, requestMode);
    writeProgramLog(QStringLiteral("★etrOpen終了"));
    writeProgramLog(QStringLiteral("★etrLogin開始"));
    etrLogin(webOrder);
    writeProgramLog(QStringLiteral("★etrLogin終了"));
    // A step that ended at once (the driver refused it) stays finished, so that the web
    // timer's first tick completes it.
    if (etrRunningMode != 3)
        etrRunningMode = 1;
}
