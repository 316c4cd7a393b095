#include "support/SettingsTestSupport.h"

#include "core/modDB.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "core/modRegistryGet.h"
#include "core/modRegistrySet.h"
#include "platform/sys/Clock.h"
#include "support/MessageBoxRecorder.h"
#include "support/ProgramDirFixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QDateTime kToday(QDate(2007, 3, 5), QTime(9, 15));

class SettingsCatalogue : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        sys::setNow(kToday);
    }

    QString logText() const
    {
        QFile file(path(QStringLiteral("Nimbra.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

TEST_F(SettingsCatalogue, CleanStoreGivesTheDefaults)
{
    EXPECT_TRUE(getRegistryAll());

    for (const QString *text : {&UserID, &Password, &Password2, &EMail, &POP3Server, &POPUserID, &POPPassword,
                                &sysOD.ODBrand, &simOD.ODBrand})
        EXPECT_TRUE(text->isEmpty());
    const QDateTime today(kToday.date(), QTime(0, 0));
    const struct {
        const char *name;
        int actual;
        int expected;
    } numbers[] = {
        {"TousiGanpon", sysBS.TousiGanpon, 1000000},
        {"KounyuTensu", sysBS.KounyuTensu, 1},
        {"RunType", sysBS.RunType, 1},
        {"TousiWariai", sysBS.TousiWariai, 5},
        {"TousiWariaiSim", simBS.TousiWariai, 10},
        {"SelHukuri", sysBS.SelHukuri, 0},
        {"ODKabusu", sysOD.ODKabusu, 100},
        {"ODKabusu2Sim", simOD2.ODKabusu, 100},
        {"ODSasiNariKai1", sysOD.ODSasiNariKai1, 1},
        {"ODSasiNariKaiSim", simOD.ODSasiNariKai1, 2},
        {"ODSongiriTypeUri1", sysOD.ODSongiriTypeUri1, 0},
        {"ODSongiriType2Sim", simOD2.ODSongiriTypeUri1, 2},
        {"ODRiekiAutoType", sysOD.ODRiekiAutoType, 1},
        {"ODSongiriAutoType", sysOD.ODSongiriAutoType, 1},
        {"simOD auto type (not stored)", simOD.ODRiekiAutoType, 0},
        {"ODNanpin", sysOD.ODNanpin, 0},
        {"ODNanpinKai", sysOD.ODNanpinKai, 1},
        {"ODNanpinKaiSim", simOD.ODNanpinKai, 0},
        {"live covering buy kind", sysOD.ODSasiNariKai2, 1},
        {"live covering profit", sysOD.ODRiekiWariaiKai2, 10},
        {"sim covering stop kind", simOD.ODSongiriTypeKai2, 2},
        {"TrendType", sysSL.TrendType, 1},
        {"TrendInterval2Sim", simSL2.TrendInterval, 14},
        {"SLNensyoraiTypeSim", simSL.SLNensyoraiType, 1},
        {"SLSelMACD", sysSL.SLSelMACD, 0},
        {"SLSizyouT1", sysSizyou.SLSizyouT1, 0},
    };
    for (const auto &n : numbers)
        EXPECT_EQ(n.actual, n.expected) << n.name;
    EXPECT_EQ(sysOD.ODRiekiWariaiUri1, 15);
    EXPECT_EQ(simOD.ODRiekiWariaiUri1, 10);
    EXPECT_EQ(sysBS.StartDate, today);
    EXPECT_EQ(simBS.StartDate, today);
    const int periods[] = {SMAS, SMAM, SMAL, EMAS, EMAM, EMAL, MACDSigSMA, RSIA, RCIS, RCIM, VRS};
    const int expectedPeriods[] = {5, 25, 75, 5, 25, 75, 9, 14, 5, 10, 25};
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(periods[i], expectedPeriods[i]) << i;
}

TEST_F(SettingsCatalogue, StoredValuesAndWhereZeroTakesTheDefault)
{
    storeSettings({{QStringLiteral("KounyuTensu"), QStringLiteral("0")},
                   {QStringLiteral("SLSelMACD"), QStringLiteral("0")},
                   {QStringLiteral("ODRiekiAutoType"), QStringLiteral("0")},
                   {QStringLiteral("ODSongiriAutoType"), QStringLiteral("  ")},
                   {QStringLiteral("ODNanpin"), QStringLiteral("1")},
                   {QStringLiteral("ODNanpinKai"), QStringLiteral("3")},
                   {QStringLiteral("ODNanpinSim"), QStringLiteral("1")},
                   {QStringLiteral("StartDateSim"), QStringLiteral("2006/01/04")},
                   {QStringLiteral("StartDate"), QStringLiteral("")},
                   {QStringLiteral("SMAS"), QStringLiteral("12.5")},
                   {QStringLiteral("SMAM"), QStringLiteral("13.5")},
                   {QStringLiteral("SMAL"), QStringLiteral("7abc")},
                   {QStringLiteral("ODRiekiWariaiUri1"), QStringLiteral("12.5")},
                   {QStringLiteral("ODSasiNariKai2Sim"), QStringLiteral("2")},
                   {QStringLiteral("SLSVRAWariKaiSSim"), QStringLiteral("5")},
                   {QStringLiteral("SLSVRAWariKaiS"), QStringLiteral("45")},
                   {QStringLiteral("TousiGanponSim"), QStringLiteral("-300")},
                   {QStringLiteral("UserID"), QStringLiteral("trader")}});
    EXPECT_TRUE(getRegistryAll());

    EXPECT_EQ(sysBS.KounyuTensu, 1);
    EXPECT_EQ(sysSL.SLSelMACD, 0);
    EXPECT_EQ(sysOD.ODRiekiAutoType, 0);
    EXPECT_EQ(sysOD.ODSongiriAutoType, 1);
    EXPECT_EQ(sysOD.ODNanpin, 0);
    EXPECT_EQ(sysOD.ODNanpinKai, 1);
    EXPECT_EQ(simOD.ODNanpin, 1); // only the live set is switched off
    EXPECT_EQ(simBS.StartDate, QDateTime(QDate(2006, 1, 4), QTime(0, 0)));
    EXPECT_EQ(sysBS.StartDate, QDateTime(kToday.date(), QTime(0, 0)));
    EXPECT_EQ(SMAS, 12);
    EXPECT_EQ(SMAM, 14);
    EXPECT_EQ(SMAL, 7);
    EXPECT_DOUBLE_EQ(sysOD.ODRiekiWariaiUri1, 12.5);
    EXPECT_EQ(sysOD.ODRiekiWariaiKai2, 12); // the live covering rule copies the sell rule, rounded
    EXPECT_EQ(simOD.ODSasiNariKai2, 2);     // both sets read set 2's buy order kind
    EXPECT_EQ(simOD2.ODSasiNariKai2, 2);
    EXPECT_EQ(simOD2.ODSasiNariKai1, 2);
    EXPECT_EQ(simSL.SLSVRAWariKaiS, 0); // volume-ratio bounds are live only
    EXPECT_EQ(sysSL.SLSVRAWariKaiS, 45);
    EXPECT_EQ(simBS.TousiGanpon, -300);
    EXPECT_EQ(UserID, QStringLiteral("trader"));
}

TEST_F(SettingsCatalogue, UnreadableValueIsLoggedAndLoadingGoesOn)
{
    glngLogFileNo = openLog();
    storeSettings({{QStringLiteral("TousiGanpon"), QStringLiteral("99999999999")}, // beyond 32 bits
                   {QStringLiteral("StartDateSim"), QStringLiteral("2006/13/45")},
                   {QStringLiteral("ODRiekiAutoType"), QStringLiteral("abc")},
                   {QStringLiteral("SLSizyouJS2Sim"), QStringLiteral("1")},
                   {QStringLiteral("TrendType2Sim"), QStringLiteral("2")}});
    sysBS.TousiGanpon = 0;
    EXPECT_FALSE(getRegistryAll());

    EXPECT_EQ(sysBS.TousiGanpon, 1000000); // kept its 0, then took the default
    EXPECT_EQ(simBS.StartDate, kZeroDate);
    EXPECT_EQ(sysOD.ODRiekiAutoType, 0);
    EXPECT_EQ(simSL2.TrendType, 2); // the values after the failures are still loaded
    const QString log = logText();
    // Positions in the loading order: TousiGanpon is the 5th value, ODRiekiAutoType the 48th,
    // StartDateSim the 104th.
    EXPECT_TRUE(log.contains(QStringLiteral(",レジストリエラー　コード=5　設定=TousiGanpon\r\n"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral(",レジストリエラー　コード=48　設定=ODRiekiAutoType\r\n")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral(",レジストリエラー　コード=104　設定=StartDateSim\r\n")))
        << log.toStdString();
    EXPECT_EQ(log.count(QStringLiteral("レジストリエラー")), 3);
}

TEST_F(SettingsCatalogue, SaveWritesExactlyTheCatalogue)
{
    getRegistryAll();
    ASSERT_TRUE(setRegistryAll());
    const settings::Values stored = storedSettings();
    EXPECT_EQ(stored.size(), 213);

    const char *present[] = {
        "UserID",
        "Password2",
        "POPPassword",
        "POPCheckPassword",
        "SelEMail",
        "VRS",
        "MACDSigSMA",
        "StartDate",
        "TousiWariai",
        "StartDateSim",
        "SelHukuriSim",
        "SLSizyouT1",
        "SLSizyouJS",
        "SLSizyouHCSim",
        "SLBaibaidaikin",
        "SLSVRBWariKaiE",
        "SLSMALWariUriS",
        "SLNensyoraiType",
        "SLBaibaidaikinSim",
        "SLRSISSim",
        "TrendIntervalSim",
        "SLRSIS2Sim",
        "SLNensyoraiType2Sim",
        "ODOrderType",
        "ODSongiriDUri1",
        "ODRiekiAutoType",
        "ODSongiriAutoType",
        "ODSasiNariKaiSim",
        "ODKaineSim",
        "ODRiekiWariaiSim",
        "ODKarauriSim",
        "ODSasiNariKai2Sim",
        "ODUrine2Sim",
        "ODSongiriD2Sim",
        "ODNanpinKai2Sim",
    };
    for (const char *name : present)
        EXPECT_TRUE(stored.contains(QString::fromLatin1(name))) << name;
    const char *absent[] = {
        "SLBrandCode",        "SLKabuka",           "SLSelMACDIti",   "SLSVRAWariKaiSSim",
        "SLSVRAWariKaiS2Sim", "ODSizyouCode",       "ODNanpinWariai", "ODSasiNariKai2",
        "ODKaine21Sim",       "ODRiekiAutoTypeSim", "RunType2Sim",    "SLSizyouT12Sim",
    };
    for (const char *name : absent)
        EXPECT_FALSE(stored.contains(QString::fromLatin1(name))) << name;

    EXPECT_EQ(stored.value(QStringLiteral("TousiGanpon")), QStringLiteral("1000000"));
    EXPECT_EQ(stored.value(QStringLiteral("StartDate")), QStringLiteral("2007/03/05"));
    EXPECT_EQ(stored.value(QStringLiteral("ODRiekiWariaiUri1")), QStringLiteral("15"));
}

TEST_F(SettingsCatalogue, SavedValuesComeBack)
{
    UserID = QStringLiteral("  trader ");
    Password = QStringLiteral(" pass word ");
    POPPassword = QStringLiteral("secret  ");
    sysBS.StartDate = QDateTime(QDate(2006, 1, 4), QTime(0, 0));
    simBS.StartDate = QDateTime(QDate(2006, 2, 1), QTime(13, 30, 5));
    simSL.SLSMASWariKaiS = -2.5;
    simSL2.SLRCIME = -80;
    sysSizyou.SLSizyouN1 = 1;
    simOD2.ODBrand = QStringLiteral("7867");
    sysOD.ODRiekiWariaiUri1 = 2.5;
    ASSERT_TRUE(setRegistryAll());

    resetSettings();
    EXPECT_TRUE(getRegistryAll());
    EXPECT_EQ(UserID, QStringLiteral("trader"));
    EXPECT_EQ(Password, QStringLiteral(" pass word "));
    EXPECT_EQ(POPPassword, QStringLiteral("secret  "));
    EXPECT_EQ(sysBS.StartDate, QDateTime(QDate(2006, 1, 4), QTime(0, 0)));
    EXPECT_EQ(simBS.StartDate, QDateTime(QDate(2006, 2, 1), QTime(13, 30, 5)));
    EXPECT_DOUBLE_EQ(simSL.SLSMASWariKaiS, -2.5);
    EXPECT_EQ(simSL2.SLRCIME, -80);
    EXPECT_EQ(sysSizyou.SLSizyouN1, 1);
    EXPECT_EQ(simOD2.ODBrand, QStringLiteral("7867"));
    EXPECT_DOUBLE_EQ(sysOD.ODRiekiWariaiUri1, 2.5);
}

TEST_F(SettingsCatalogue, FailedSaveIsReportedOnceAndMemoryStays)
{
    glngLogFileNo = openLog();
    getRegistryAll();
    ASSERT_TRUE(setRegistryAll());
    const settings::Values before = storedSettings();
    // A folder where the settings file belongs makes the write fail.
    const QString file = settings::fileForKey(settingsKeyPath());
    ASSERT_TRUE(QFile::rename(file, file + QStringLiteral(".bak")));
    ASSERT_TRUE(QDir().mkpath(file));

    sysBS.TousiGanpon = 4000000;
    Password = QStringLiteral("p");
    MessageBoxRecorder::instance().reset();
    EXPECT_FALSE(setRegistryAll());
    EXPECT_EQ(MessageBoxRecorder::instance().calls().size(), 1);
    EXPECT_EQ(sysBS.TousiGanpon, 4000000);
    EXPECT_EQ(Password, QStringLiteral("p"));
    EXPECT_FALSE(logText().contains(QStringLiteral(",p")));

    ASSERT_TRUE(QDir(file).removeRecursively());
    ASSERT_TRUE(QFile::rename(file + QStringLiteral(".bak"), file));
    EXPECT_EQ(storedSettings(), before);
}

TEST_F(SettingsCatalogue, StartUpResetSavesPeriodsAndSwitchesAveragingDownOff)
{
    storeSettings(
        {{QStringLiteral("SMAS"), QStringLiteral("10")}, {QStringLiteral("MACDSigSMA"), QStringLiteral("12")}});
    getRegistryAll();
    sysOD.ODNanpin = 1;
    sysOD.ODNanpinKai = 4;
    changeRegistryLayout();
    EXPECT_EQ(SMAS, 5);
    EXPECT_EQ(MACDSigSMA, 12);
    EXPECT_EQ(sysOD.ODNanpinKai, 1);
    const settings::Values stored = storedSettings();
    EXPECT_EQ(stored.value(QStringLiteral("SMAS")), QStringLiteral("5"));
    EXPECT_EQ(stored.value(QStringLiteral("MACDSigSMA")), QStringLiteral("12"));
    EXPECT_EQ(stored.value(QStringLiteral("ODNanpin")), QStringLiteral("0"));
    EXPECT_EQ(stored.size(), 213);
}

} // namespace
