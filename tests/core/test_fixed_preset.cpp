#include "support/SettingsTestSupport.h"

#include "core/modNimbraCommon.h"

#include <gtest/gtest.h>

namespace {

TEST(FixedPreset, ForcesTheLiveScreenAndKeepsTheRest)
{
    resetSettings();
    sysBS.SelHukuri = 0;
    sysBS.TousiGanpon = 3000000;
    sysSizyou.SLSizyouT2 = 1;
    sysSizyou.SLSizyouN1 = 1;
    sysSizyou.SLSizyouSA = 1;
    sysSL.SLSelMACD = 1;
    sysSL.SLSelRCI = 1;
    sysSL.SLRCISS = -80;
    sysSL.SLBrandCode = QStringLiteral("7203");
    sysSL.TrendInterval = 20;
    sysOD.ODKabusu = 300;
    sysOD.ODKurikaesiKai = 2;
    sysOD.ODSasiNariKai1 = 2;
    sysOD.ODRiekiWariaiUri1 = 8;
    sysOD.ODNanpinWariai = 7;
    simSL.SLSelMACD = 1;
    simOD.ODRiekiWariaiUri1 = 8;

    applyFixedPreset(sysBS, sysSizyou, sysSL, sysOD);

    EXPECT_EQ(glngSaiteiKabuka, 100);
    EXPECT_DOUBLE_EQ(gdblKounyuRitu, 0.995);
    EXPECT_EQ(glngNanpinTensu, 0);
    EXPECT_EQ(glngSelRandom, 1);
    EXPECT_EQ(sysBS.SelHukuri, 1);
    EXPECT_EQ(sysBS.TousiGanpon, 3000000);
    EXPECT_EQ(sysSizyou.SLSizyouT1, 1);
    EXPECT_EQ(sysSizyou.SLSizyouT2, 0);
    EXPECT_EQ(sysSizyou.SLSizyouN1, 1);
    EXPECT_EQ(sysSizyou.SLSizyouSA, 1);
    EXPECT_EQ(sysSL.SLSelMACD, 0);
    EXPECT_EQ(sysSL.SLSelRCI, 0);
    EXPECT_EQ(sysSL.SLSelIdouHeikinKairirituKai, 1);
    EXPECT_EQ(sysSL.SLRCISS, -80);
    EXPECT_EQ(sysSL.SLBrandCode, QStringLiteral("7203"));
    EXPECT_EQ(sysSL.TrendInterval, 20);
    EXPECT_EQ(sysSL.SLBaibaidaikin, 50);
    EXPECT_DOUBLE_EQ(sysSL.SLSMAMWariKaiE, -15);
    EXPECT_DOUBLE_EQ(sysSL.SLSVRAWariKaiS, 45);
    EXPECT_DOUBLE_EQ(sysSL.SLSVRBWariKaiE, 40);
    EXPECT_EQ(sysOD.ODKabusu, 300);
    EXPECT_EQ(sysOD.ODKurikaesiKai, 2);
    EXPECT_EQ(sysOD.ODSasiNariKai1, 2);
    EXPECT_DOUBLE_EQ(sysOD.ODRiekiWariaiUri1, 15);
    EXPECT_EQ(sysOD.ODSongiriWariaiUri1, 10);
    EXPECT_EQ(sysOD.ODSongiriDUri1, 16);
    EXPECT_EQ(sysOD.ODNanpinWariai, 0);
    EXPECT_EQ(simSL.SLSelMACD, 1);
    EXPECT_DOUBLE_EQ(simOD.ODRiekiWariaiUri1, 8);
}

} // namespace
