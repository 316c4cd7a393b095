#include "core/modNimbraCommon.h"

int glngSaiteiKabuka = 0;
double gdblKounyuRitu = 0;
int glngNanpinTensu = 0;
int glngSelRandom = 0;

void resetPresetValues()
{
    glngSaiteiKabuka = 0;
    gdblKounyuRitu = 0;
    glngNanpinTensu = 0;
    glngSelRandom = 0;
}

void applyFixedPreset(BS &base, Sizyou &markets, SL &screening, OD &order)
{
    glngNanpinTensu = 0;
    glngSaiteiKabuka = 100;
    gdblKounyuRitu = 0.995;
    glngSelRandom = 1;

    base.SelHukuri = 1;

    // The N, F, S and SA segments are left as the user ticked them.
    markets.SLSizyouT1 = 1;
    markets.SLSizyouT2 = 0;
    markets.SLSizyouTM = 0;
    markets.SLSizyouO1 = 0;
    markets.SLSizyouO2 = 0;
    markets.SLSizyouHC = 0;
    markets.SLSizyouJS = 0;

    screening.SLSelIdouHeikinKairirituKai = 1;
    screening.SLSelMACD = 0;
    screening.SLSelDekidakaKyutou = 0;
    screening.SLSelRSI = 0;
    screening.SLSelRCI = 0;
    screening.SLSelTakayasu = 0;
    screening.SLBaibaidaikin = 50;
    screening.SLRSIS = 0;
    screening.SLRSIE = 0;
    screening.SLWariaiS = 30;
    screening.SLWariaiE = 30;
    screening.SLSMASWariKaiS = -10;
    screening.SLSMASWariKaiE = -5;
    screening.SLSMAMWariKaiS = -200;
    screening.SLSMAMWariKaiE = -15;
    screening.SLSMALWariKaiS = -200;
    screening.SLSMALWariKaiE = 200;
    screening.SLSVRAWariKaiS = 45;
    screening.SLSVRAWariKaiE = 70;
    screening.SLSVRBWariKaiS = 0;
    screening.SLSVRBWariKaiE = 40;

    order.ODRiekiWariaiUri1 = 15;
    order.ODSongiriWariaiUri1 = 10;
    order.ODSongiriDUri1 = 16;
    order.ODNanpinWariai = 0;
}
