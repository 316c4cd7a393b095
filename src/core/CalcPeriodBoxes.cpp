#include "core/CalcPeriodBoxes.h"

#include "core/SettingsRecords.h"

const std::array<CalcPeriodBox, 10> &calcPeriodBoxes()
{
    static const std::array<CalcPeriodBox, 10> boxes{{
        {u"単純移動平均", u"txtSMAS", u"短期", u"単純移動平均(短期)", &SMAS, 1, true},
        {u"単純移動平均", u"txtSMAM", u"中期", u"単純移動平均(中期)", &SMAM, 1, false},
        {u"単純移動平均", u"txtSMAL", u"長期", u"単純移動平均(長期)", &SMAL, 1, true},
        {u"指数平滑移動平均(MACD用)", u"txtEMAS", u"短期", u"指数平滑移動平均(短期)", &EMAS, 1, true},
        {u"指数平滑移動平均(MACD用)", u"txtEMAM", u"中期", u"指数平滑移動平均(中期)", &EMAM, 1, false},
        {u"指数平滑移動平均(MACD用)", u"txtEMAL", u"長期", u"指数平滑移動平均(長期)", &EMAL, 1, true},
        {u"MACDシグナル(単純移動平均)", u"txtMACDSigSMA", u"", u"MACDシグナル", &MACDSigSMA, 1, true},
        {u"RSI", u"txtRSIA", u"", u"RSI", &RSIA, 1, true},
        {u"RCI", u"txtRCIS", u"短期", u"RCI(短期)", &RCIS, 2, false},
        {u"RCI", u"txtRCIM", u"中期", u"RCI(中期)", &RCIM, 2, false},
    }};
    return boxes;
}
