#include "LoopbackDayFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "support/CandidateMarket.h"

void LoopbackDayFixture::SetUp()
{
    MainWindowFixture::SetUp();
    broker.setMailDirectory(maildrop.path());
    broker.start();
    pop3.start();
    smtp.start();
    writeSiteFile(broker.hostsLines() + QStringLiteral("\nSmtp=") + smtp.url() +
                  QStringLiteral("\n[Mail]\nSenderAddress=nimbra@example.com\nSupportAddress=support@example.com"));
    setLogin(pop3.address());
    sysBS.TousiGanpon = 1000000;
    sysBS.KounyuTensu = 1;
    sysSizyou.SLSizyouT1 = 1;
    addCandidateMarket(gcnDB, QDate(2026, 12, 8), QDate(2026, 12, 9));
    gdtLastKabukaDate = QDate(2026, 12, 9);
}

QDateTime japan(const QDate &day, const QTime &time)
{
    return QDateTime(day, time, sys::japanZone());
}
