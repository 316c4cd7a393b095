#include "screening/SimuFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modNimbraCommon.h"
#include "screening/ScreeningRandom.h"
#include "screening/frmSimu.h"

#include <QDateTimeEdit>
#include <QListWidget>
#include <QPushButton>

void SimuFixture::SetUp()
{
    ScreeningFixture::SetUp();
    storeSettings({{QStringLiteral("SLSizyouT1Sim"), QStringLiteral("1")},
                   {QStringLiteral("SLSizyouT2Sim"), QStringLiteral("1")}});
    simSizyou = Sizyou{.SLSizyouT1 = 1, .SLSizyouT2 = 1};
    simOD.ODRiekiWariaiUri1 = 10;
    simOD.ODSongiriTypeUri1 = 1;
    simOD.ODSongiriWariaiUri1 = 5;
    simBS.TousiGanpon = 1000000;
    simBS.KounyuTensu = 3;
    sysBS.KounyuTensu = 3;
    SMAL = 5;
    glngSaiteiKabuka = 100;
    ScreeningRandom::setFixed(ScreeningKeys{});
}

void SimuFixture::addBar(Bar bar)
{
    if (bar.high == 0)
        bar.high = bar.open;
    if (bar.low == 0)
        bar.low = bar.open;
    if (bar.close == 0)
        bar.close = bar.open;
    if (bar.adjustedClose == 0)
        bar.adjustedClose = bar.close;
    gcnDB.execute(QStringLiteral("insert into ttstocks (銘柄コード, 市場コード, 日付, 始値, 高値, 安値, 終値, 調整終値,"
                                 " 出来高, 分割区分, 短期SMA, 中期SMA, 長期SMA) values (?, ?, ?, ?, ?, ?, ?, ?,"
                                 " 200000, ?, ?, ?, ?)"),
                  bar.code, bar.market, bar.day, bar.open, bar.high, bar.low, bar.close, bar.adjustedClose, bar.split,
                  bar.smaM, bar.smaM, bar.smaM);
}

QList<QDate> SimuFixture::weekdays(const QDate &first, const QDate &last, const QList<QDate> &holidays)
{
    QList<QDate> days;
    for (QDate day = first; day <= last; day = day.addDays(1))
        if (day.dayOfWeek() <= 5 && !holidays.contains(day))
            days << day;
    return days;
}

void SimuFixture::addFlat(const QString &code, const QString &market, double price, const QDate &first,
                          const QDate &last, double smaM)
{
    for (const QDate &day : weekdays(first, last))
        addBar({.code = code, .market = market, .day = day, .open = price, .smaM = smaM});
}

void SimuFixture::addReferenceDays(const QDate &first, const QDate &last, const QList<QDate> &holidays)
{
    const QList<QDate> days = weekdays(first, last, holidays);
    for (const QDate &day : days)
        addBar({.code = kReferenceCode, .market = kReferenceMarket, .day = day, .open = 2000});
    gdtFirstKabukaDate = days.front();
    gdtLastKabukaDate = days.back();
}

void SimuFixture::tickNoMarket()
{
    settings::Values none;
    for (const char *name : {"T1", "T2", "TM", "O1", "O2", "HC", "N1", "N2", "NS", "F1", "FQ", "S1", "SA", "JS"})
        none.insert(QStringLiteral("SLSizyou") + QLatin1String(name) + QStringLiteral("Sim"), QStringLiteral("0"));
    storeSettings(none);
    simSizyou = Sizyou{};
}

QStringList SimuFixture::lines(const QListWidget &list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

QStringList SimuFixture::run(frmSimu &window, const QDate &start, const QDate &end)
{
    window.findChild<QWidget *>(QStringLiteral("picDateST"))
        ->findChild<QDateTimeEdit *>()
        ->setDateTime(QDateTime(start, QTime(13, 45)));
    window.findChild<QWidget *>(QStringLiteral("picDateED"))
        ->findChild<QDateTimeEdit *>()
        ->setDateTime(QDateTime(end, QTime(9, 5)));
    window.findChild<QPushButton *>(QStringLiteral("cmdRun"))->click();
    return lines(*window.findChild<QListWidget *>(QStringLiteral("lstResultData")));
}
