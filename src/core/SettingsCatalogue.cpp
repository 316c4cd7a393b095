#include "core/SettingsCatalogue.h"

#include "core/SettingsRecords.h"

#include <array>

namespace {

using Entries = std::vector<SettingEntry>;

// The three stored sets. Set 2 has no base or market record of its own.
enum Set { Live = 0, Sim1 = 1, Sim2 = 2 };

QString suffixOf(Set set)
{
    static const std::array<QString, 3> suffixes{QString(), QStringLiteral("Sim"), QStringLiteral("2Sim")};
    return suffixes[set];
}

struct BsField {
    RecordMember<BS> member;
    const char16_t *name;
    std::array<double, 2> defaults; // live, set 1
};

const BsField kBsFields[] = {
    {&BS::RunType, u"RunType", {1, 1}},
    {&BS::TousiGanpon, u"TousiGanpon", {1000000, 1000000}},
    {&BS::KounyuTensu, u"KounyuTensu", {1, 1}},
    {&BS::StartDate, u"StartDate", {0, 0}},
    {&BS::SelZituKounyu, u"SelZituKounyu", {0, 0}},
    {&BS::SelHukuri, u"SelHukuri", {0, 0}},
    {&BS::TousiWariai, u"TousiWariai", {5, 10}},
};

const std::pair<int Sizyou::*, const char16_t *> kSizyouFields[] = {
    {&Sizyou::SLSizyouT1, u"SLSizyouT1"}, {&Sizyou::SLSizyouT2, u"SLSizyouT2"}, {&Sizyou::SLSizyouTM, u"SLSizyouTM"},
    {&Sizyou::SLSizyouO1, u"SLSizyouO1"}, {&Sizyou::SLSizyouO2, u"SLSizyouO2"}, {&Sizyou::SLSizyouHC, u"SLSizyouHC"},
    {&Sizyou::SLSizyouN1, u"SLSizyouN1"}, {&Sizyou::SLSizyouN2, u"SLSizyouN2"}, {&Sizyou::SLSizyouNS, u"SLSizyouNS"},
    {&Sizyou::SLSizyouF1, u"SLSizyouF1"}, {&Sizyou::SLSizyouFQ, u"SLSizyouFQ"}, {&Sizyou::SLSizyouS1, u"SLSizyouS1"},
    {&Sizyou::SLSizyouSA, u"SLSizyouSA"}, {&Sizyou::SLSizyouJS, u"SLSizyouJS"},
};

struct SlField {
    RecordMember<SL> member;
    const char16_t *name;
    double defaultValue;
    bool liveOnly;
};

// The stored screening fields; the working fields at the head and the MACD-position
// fields are not stored.
const SlField kSlFields[] = {
    {&SL::SLBaibaidaikin, u"SLBaibaidaikin", 0, false},
    {&SL::SLSelMACD, u"SLSelMACD", 0, false},
    {&SL::SLMACDSpanS, u"SLMACDSpanS", 0, false},
    {&SL::SLMACDSpanE, u"SLMACDSpanE", 0, false},
    {&SL::SLSelDekidakaKyutou, u"SLSelDekidakaKyutou", 0, false},
    {&SL::SLDekidakaKyutou, u"SLDekidakaKyutou", 0, false},
    {&SL::SLSelRSI, u"SLSelRSI", 0, false},
    {&SL::SLRSIS, u"SLRSIS", 0, false},
    {&SL::SLRSIE, u"SLRSIE", 0, false},
    {&SL::SLSelRCI, u"SLSelRCI", 0, false},
    {&SL::SLRCISS, u"SLRCISS", 0, false},
    {&SL::SLRCISE, u"SLRCISE", 0, false},
    {&SL::SLRCIMS, u"SLRCIMS", 0, false},
    {&SL::SLRCIME, u"SLRCIME", 0, false},
    {&SL::SLSelTakayasu, u"SLSelTakayasu", 0, false},
    {&SL::SLWariaiS, u"SLWariaiS", 0, false},
    {&SL::SLWariaiE, u"SLWariaiE", 0, false},
    {&SL::SLSelIdouHeikinKairirituKai, u"SLSelIdouHeikinKairirituKai", 0, false},
    {&SL::SLSMASWariKaiS, u"SLSMASWariKaiS", 0, false},
    {&SL::SLSMASWariKaiE, u"SLSMASWariKaiE", 0, false},
    {&SL::SLSMAMWariKaiS, u"SLSMAMWariKaiS", 0, false},
    {&SL::SLSMAMWariKaiE, u"SLSMAMWariKaiE", 0, false},
    {&SL::SLSMALWariKaiS, u"SLSMALWariKaiS", 0, false},
    {&SL::SLSMALWariKaiE, u"SLSMALWariKaiE", 0, false},
    {&SL::SLSVRAWariKaiS, u"SLSVRAWariKaiS", 0, true},
    {&SL::SLSVRAWariKaiE, u"SLSVRAWariKaiE", 0, true},
    {&SL::SLSVRBWariKaiS, u"SLSVRBWariKaiS", 0, true},
    {&SL::SLSVRBWariKaiE, u"SLSVRBWariKaiE", 0, true},
    {&SL::SLSelKaraUri, u"SLSelKaraUri", 0, false},
    {&SL::SLSelIdouHeikinKairirituUri, u"SLSelIdouHeikinKairirituUri", 0, false},
    {&SL::SLSMASWariUriS, u"SLSMASWariUriS", 0, false},
    {&SL::SLSMALWariUriS, u"SLSMALWariUriS", 0, false},
    {&SL::SLSelTrend, u"SLSelTrend", 0, false},
    {&SL::TrendType, u"TrendType", 1, false},
    {&SL::TrendInterval, u"TrendInterval", 14, false},
    {&SL::SLSelNensyorai, u"SLSelNensyorai", 0, false},
    {&SL::SLNensyoraiType, u"SLNensyoraiType", 1, false},
};

// The order record's names are given per set; nullptr means not stored in that set.
struct OdField {
    RecordMember<OD> member;
    std::array<const char16_t *, 3> names;
    std::array<double, 3> defaults;
    bool oneWhenEmpty = false;
};

const OdField kOdSellRuleFields[] = {
    {&OD::ODOrderType, {u"ODOrderType", u"ODOrderTypeSim", u"ODOrderType2Sim"}, {1, 1, 1}},
    {&OD::ODBrand, {u"ODBrand", u"ODBrandSim", u"ODBrand2Sim"}, {0, 0, 0}},
    {&OD::ODKabusu, {u"ODKabusu", u"ODKabusuSim", u"ODKabusu2Sim"}, {100, 100, 100}},
    {&OD::ODSasiNariKai1, {u"ODSasiNariKai1", u"ODSasiNariKaiSim", u"ODSasiNariKai2Sim"}, {1, 2, 2}},
    {&OD::ODKaine11, {u"ODKaine11", u"ODKaineSim", u"ODKaine2Sim"}, {0, 0, 0}},
    {&OD::ODSasiNariUri1, {u"ODSasiNariUri1", u"ODSasiNariUriSim", u"ODSasiNariUri2Sim"}, {1, 2, 2}},
    {&OD::ODUrine11, {u"ODUrine11", u"ODUrineSim", u"ODUrine2Sim"}, {0, 0, 0}},
    {&OD::ODRiekiWariaiUri1, {u"ODRiekiWariaiUri1", u"ODRiekiWariaiSim", u"ODRiekiWariai2Sim"}, {15, 10, 10}},
    {&OD::ODSongiriTypeUri1, {u"ODSongiriTypeUri1", u"ODSongiriTypeSim", u"ODSongiriType2Sim"}, {0, 2, 2}},
    {&OD::ODSongiriWariaiUri1, {u"ODSongiriWariaiUri1", u"ODSongiriWariaiSim", u"ODSongiriWariai2Sim"}, {10, 10, 10}},
    {&OD::ODSongiriDUri1, {u"ODSongiriDUri1", u"ODSongiriDSim", u"ODSongiriD2Sim"}, {0, 0, 0}},
};

const OdField kOdRepeatFields[] = {
    {&OD::ODKurikaesiKai, {u"ODKurikaesiKai", u"ODKurikaesiKaiSim", u"ODKurikaesiKai2Sim"}, {1, 1, 1}},
    {&OD::ODNanpin, {u"ODNanpin", u"ODNanpinSim", u"ODNanpin2Sim"}, {0, 0, 0}},
    {&OD::ODNanpinKai, {u"ODNanpinKai", u"ODNanpinKaiSim", u"ODNanpinKai2Sim"}, {0, 0, 0}},
    {&OD::ODKarauri, {u"ODKarauri", u"ODKarauriSim", u"ODKarauri2Sim"}, {0, 0, 0}},
    {&OD::ODRiekiAutoType, {u"ODRiekiAutoType", nullptr, nullptr}, {0, 0, 0}, true},
    {&OD::ODSongiriAutoType, {u"ODSongiriAutoType", nullptr, nullptr}, {0, 0, 0}, true},
};

// The covering-buy rule is never saved. The live rule starts as a copy of the stored sell
// rule; both simulation sets read names of which only ODSasiNariKai2Sim is ever written.
struct OdCoverField {
    int OD::*member;
    const char16_t *liveSource;
    const char16_t *simSource;
    double defaultValue;
};

const OdCoverField kOdCoverFields[] = {
    {&OD::ODSasiNariKai2, u"ODSasiNariUri1", u"ODSasiNariKai2Sim", 1},
    {&OD::ODKaine21, u"ODUrine11", u"ODKaine21Sim", 0},
    {&OD::ODRiekiWariaiKai2, u"ODRiekiWariaiUri1", u"ODRiekiWariaiKai2Sim", 10},
    {&OD::ODSongiriTypeKai2, u"ODSongiriTypeUri1", u"ODSongiriTypeKai2Sim", 2},
    {&OD::ODSongiriWariaiKai2, u"ODSongiriWariaiUri1", u"ODSongiriWariaiKai2Sim", 10},
    {&OD::ODSongiriDKai2, u"ODSongiriDUri1", u"ODSongiriDKai2Sim", 0},
};

void addText(Entries &entries, const char16_t *name, QString &field, bool secret = false)
{
    entries.push_back({QString::fromUtf16(name), &field, 0, false, secret});
}

void addWhole(Entries &entries, const char16_t *name, int &field, double defaultValue = 0)
{
    entries.push_back({QString::fromUtf16(name), &field, defaultValue});
}

void addLogin(Entries &entries)
{
    addText(entries, u"UserID", UserID);
    addText(entries, u"Password", Password, true);
    addText(entries, u"Password2", Password2, true);
}

void addMailbox(Entries &entries, bool serverFirst)
{
    if (serverFirst)
        addText(entries, u"POP3Server", POP3Server);
    addText(entries, u"POPUserID", POPUserID);
    addText(entries, u"POPPassword", POPPassword, true);
    if (!serverFirst)
        addText(entries, u"POP3Server", POP3Server);
}

// Added after the original catalogue, at the end, so the positions that load errors report
// stay as they were.
void addCapturedPassword(Entries &entries)
{
    addText(entries, u"POPCheckPassword", POPCheckPassword, true);
}

// The time of the balance that the live principal came from; added at the end as well.
void addBalanceReadTime(Entries &entries)
{
    entries.push_back({QStringLiteral("TousiGanponDate"), &sysBS.TousiGanponDate});
}

void addNoticeMail(Entries &entries)
{
    addWhole(entries, u"SelEMail", SelEMail);
    addText(entries, u"EMail", EMail);
}

void addPeriods(Entries &entries)
{
    addWhole(entries, u"SMAS", SMAS, 5);
    addWhole(entries, u"SMAM", SMAM, 25);
    addWhole(entries, u"SMAL", SMAL, 75);
    addWhole(entries, u"EMAS", EMAS, 5);
    addWhole(entries, u"EMAM", EMAM, 25);
    addWhole(entries, u"EMAL", EMAL, 75);
    addWhole(entries, u"MACDSigSMA", MACDSigSMA, 9);
    addWhole(entries, u"RSIA", RSIA, 14);
    addWhole(entries, u"RCIS", RCIS, 5);
    addWhole(entries, u"RCIM", RCIM, 10);
    addWhole(entries, u"VRS", VRS, 25);
}

void addBs(Entries &entries, BS &record, Set set)
{
    for (const BsField &f : kBsFields)
        entries.push_back({QString::fromUtf16(f.name) + suffixOf(set), fieldOf(record, f.member), f.defaults[set]});
}

void addSizyou(Entries &entries, Sizyou &record, Set set)
{
    for (const auto &[member, name] : kSizyouFields)
        entries.push_back({QString::fromUtf16(name) + suffixOf(set), &(record.*member)});
}

void addSl(Entries &entries, SL &record, Set set)
{
    for (const SlField &f : kSlFields) {
        if (f.liveOnly && set != Live)
            continue;
        entries.push_back({QString::fromUtf16(f.name) + suffixOf(set), fieldOf(record, f.member), f.defaultValue});
    }
}

template <std::size_t N>
void addOdFields(Entries &entries, OD &record, Set set, const OdField (&fields)[N])
{
    for (const OdField &f : fields) {
        if (f.names[set])
            entries.push_back(
                {QString::fromUtf16(f.names[set]), fieldOf(record, f.member), f.defaults[set], f.oneWhenEmpty});
    }
}

void addOdStored(Entries &entries, OD &record, Set set)
{
    addOdFields(entries, record, set, kOdSellRuleFields);
    addOdFields(entries, record, set, kOdRepeatFields);
}

void addOdWithCover(Entries &entries, OD &record, Set set)
{
    addOdFields(entries, record, set, kOdSellRuleFields);
    for (const OdCoverField &f : kOdCoverFields) {
        entries.push_back(
            {QString::fromUtf16(set == Live ? f.liveSource : f.simSource), &(record.*f.member), f.defaultValue});
    }
    addOdFields(entries, record, set, kOdRepeatFields);
}

} // namespace

std::vector<SettingEntry> settingsLoadOrder()
{
    Entries entries;
    addLogin(entries);
    addBs(entries, sysBS, Live);
    addMailbox(entries, true);
    addNoticeMail(entries);
    addPeriods(entries);
    addOdWithCover(entries, sysOD, Live);
    addSl(entries, sysSL, Live);
    addSizyou(entries, sysSizyou, Live);
    addBs(entries, simBS, Sim1);
    addSizyou(entries, simSizyou, Sim1);
    addOdWithCover(entries, simOD, Sim1);
    addSl(entries, simSL, Sim1);
    addOdWithCover(entries, simOD2, Sim2);
    addSl(entries, simSL2, Sim2);
    addCapturedPassword(entries);
    addBalanceReadTime(entries);
    return entries;
}

std::vector<SettingEntry> settingsSaveOrder()
{
    Entries entries;
    addLogin(entries);
    addBs(entries, sysBS, Live);
    addMailbox(entries, false);
    addNoticeMail(entries);
    addPeriods(entries);
    addSl(entries, sysSL, Live);
    addSizyou(entries, sysSizyou, Live);
    addOdStored(entries, sysOD, Live);
    addBs(entries, simBS, Sim1);
    addSizyou(entries, simSizyou, Sim1);
    addSl(entries, simSL, Sim1);
    addOdStored(entries, simOD, Sim1);
    addSl(entries, simSL2, Sim2);
    addOdStored(entries, simOD2, Sim2);
    addCapturedPassword(entries);
    addBalanceReadTime(entries);
    return entries;
}
