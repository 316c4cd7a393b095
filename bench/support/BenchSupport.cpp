#include "support/BenchSupport.h"

#include "core/modDB.h"
#include "core/modGlobal.h"
#include "initdb/DatabaseFiles.h"
#include "platform/sys/ProgramDir.h"

#include <QFile>

#include <cstdio>

namespace bench {

ProgramDatabases::ProgramDatabases()
{
    qputenv("NIMBRA_HOME", m_dir.path().toUtf8());
    sys::setExeName(QStringLiteral("Nimbra"));
}

ProgramDatabases::~ProgramDatabases()
{
    gcnDB.close();
}

bool ProgramDatabases::open()
{
    const sys::Status created = createMissingDatabases(m_dir.path(), sys::exeName());
    if (!created.ok()) {
        std::fprintf(stderr, "%s\n", created.problem().toUtf8().constData());
        return false;
    }
    openWorkDatabase(gcnDB, workDatabasePath(), priceDatabasePath());
    return true;
}

QList<QDate> weekdays(const QDate &first, int count)
{
    QList<QDate> days;
    for (QDate day = first; days.size() < count; day = day.addDays(1))
        if (day.dayOfWeek() <= 5)
            days << day;
    return days;
}

QString stockCode(int stock)
{
    return stock == 0 ? kReferenceCode : QString::number(1000 + stock);
}

void addStocks(int count, const QString &market)
{
    db::Statement bond = gcnDB.prepare(
        QStringLiteral("insert into tmbond (銘柄コード, 市場コード, 会社名, 単元株数) values (?, ?, ?, 100)"));
    for (int stock = 0; stock < count; ++stock) {
        bond.reset();
        bond.bindAll(stockCode(stock), market, QStringLiteral("ベンチ株式%1").arg(stock));
        bond.run();
    }
}

void printPeakResidentSize()
{
    QFile status(QStringLiteral("/proc/self/status"));
    long kb = -1;
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:"))
                kb = line.mid(6).trimmed().split(' ').first().toLong();
    std::printf("peak resident size: %.1f MB\n", static_cast<double>(kb) / 1024.0);
}

} // namespace bench
