#include "marketdata/modCosmo.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/QuotePage.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/DoEvents.h"

#include <QLabel>

#include <algorithm>
#include <map>

int csmMode = 0;
int csmStatus = 0;
int csmError = 0;
int csmCount = 0;
std::array<csmMeigaraRecord, 1001> csmMeigara;

namespace {

bool sectionFound = false;

const QString kSiteKey = QStringLiteral("Caution");
const QString kPagePath = QStringLiteral("/net_trade/margin_trade/chuui/post.html");

QString sectionMarker(int mode)
{
    return mode == 1 ? QStringLiteral("■整理ポスト") : QStringLiteral("■監理ポスト");
}

// One table row: code from the first cell ("<TD " with a blank), market from the third.
std::optional<csmMeigaraRecord> readRow(QString &text)
{
    using namespace quotepage;
    cutAfter(text, QStringLiteral("<TR "));
    if (!cutAfter(text, QStringLiteral("<TD ")))
        return std::nullopt;
    const std::optional<QString> code = keepBefore(text, QStringLiteral("</TD>"));
    if (!code || !cutAfter(text, QStringLiteral("<TD")) || !cutAfter(text, QStringLiteral("<TD")))
        return std::nullopt;
    const std::optional<QString> market = keepBefore(text, QStringLiteral("</TD>"));
    if (!market)
        return std::nullopt;
    cutAfter(text, QStringLiteral("<TD"));
    return csmMeigaraRecord{text::toNarrow(cellValue(*code)), csmMarketCode(cellValue(*market))};
}

} // namespace

void csmOpen(int mode)
{
    csmMode = mode;
    csmStatus = 0;
    csmError = 0;
    sectionFound = false;
    csmClear(mode);
}

void csmClear(int mode)
{
    csmStatus = 11;
    csmCount = 0;
    if (mode == 1 || mode == 2)
        csmMeigara.fill(csmMeigaraRecord{});
}

void csmRun(net::Inet &control)
{
    if (csmError != 0)
        return;
    if (csmMode != 1 && csmMode != 2)
        return;
    const QString address = quotepage::siteAddressOrLog(kSiteKey, kPagePath);
    if (text::trimSpaces(address).isEmpty())
        return;
    csmCount = 0;
    const quotepage::Download page = quotepage::downloadPage(control, address, Basp::kcShiftJis);
    csmError = page.errorCode();
    csmParse(page.text);
    writeLog(glngLogFileNo, QStringLiteral("■■■処理終了!!■■■"));
    quotepage::logErrorCode(csmError);
}

void csmParse(const QString &page)
{
    if (csmStatus != 11 || (csmMode != 1 && csmMode != 2))
        return;
    csmresult(csmMode, page);
    writeLog(glngLogFileNo, csmMode == 1 ? QStringLiteral("■■■整理ポスト処理終了!!■■■")
                                         : QStringLiteral("■■■監理ポスト処理終了!!■■■"));
    quotepage::logErrorCode(csmError);
}

void csmresult(int mode, const QString &page)
{
    const CsmSection section = readCsmSection(mode, page);
    if (section.outcome == CsmSection::Outcome::ErrorPage)
        writeLog(glngLogFileNo, QStringLiteral("csmresult×××404エラーページが見つかりません×××"));
    csmCount = int(std::min<size_t>(section.rows.size(), quotepage::kResultRows));
    std::copy_n(section.rows.begin(), csmCount, csmMeigara.begin() + 1);
    if (size_t(csmCount) < section.rows.size())
        quotepage::logRowsLeftOut(QStringLiteral("csmresult"), section.rows.size());
    sectionFound = section.outcome == CsmSection::Outcome::Read;
}

bool csmSectionFound()
{
    return sectionFound;
}

int csmClose()
{
    return csmError;
}

CsmSection readCsmSection(int mode, const QString &page)
{
    using namespace quotepage;
    CsmSection section;
    QString text = prepare(page);
    if (text::trimSpaces(text).isEmpty() || text.contains(QStringLiteral("キーワードが入力されていません")))
        return section;
    if (text.contains(QStringLiteral("ページが表示できません"))) {
        section.outcome = CsmSection::Outcome::ErrorPage;
        return section;
    }
    section.outcome = CsmSection::Outcome::Missing;
    if (!cutAfter(text, sectionMarker(mode)))
        return section;
    std::optional<QString> table = keepBefore(text, QStringLiteral("</TABLE>"));
    if (!table || !cutAfter(*table, QStringLiteral("市場")))
        return section;
    while (table->contains(QStringLiteral("<TR "))) {
        const std::optional<csmMeigaraRecord> row = readRow(*table);
        if (!row) {
            section.rows.clear();
            return section;
        }
        section.rows.push_back(*row);
    }
    section.outcome = CsmSection::Outcome::Read;
    return section;
}

QString csmMarketCode(const QString &abbreviation)
{
    static const std::map<QString, QString> codes = {
        {QStringLiteral("東証"), QStringLiteral("t1")}, {QStringLiteral("東1"), QStringLiteral("t1")},
        {QStringLiteral("東2"), QStringLiteral("t2")},  {QStringLiteral("東E"), QStringLiteral("te")},
        {QStringLiteral("東G"), QStringLiteral("tg")},  {QStringLiteral("東Y"), QStringLiteral("ty")},
        {QStringLiteral("東R"), QStringLiteral("tr")},  {QStringLiteral("東M"), QStringLiteral("tm")},
        {QStringLiteral("大1"), QStringLiteral("o1")},  {QStringLiteral("大2"), QStringLiteral("o2")},
        {QStringLiteral("大G"), QStringLiteral("og")},  {QStringLiteral("ＨＱ"), QStringLiteral("hc2")},
        {QStringLiteral("大E"), QStringLiteral("oe")},  {QStringLiteral("ＪＱ"), QStringLiteral("js")},
        {QStringLiteral("名1"), QStringLiteral("n1")},  {QStringLiteral("名2"), QStringLiteral("n2")},
        {QStringLiteral("名M"), QStringLiteral("nm")},  {QStringLiteral("名S"), QStringLiteral("ns")},
        {QStringLiteral("福証"), QStringLiteral("f1")}, {QStringLiteral("福1"), QStringLiteral("f1")},
        {QStringLiteral("福2"), QStringLiteral("f2")},  {QStringLiteral("福M"), QStringLiteral("fm")},
        {QStringLiteral("福Q"), QStringLiteral("fq")},  {QStringLiteral("札1"), QStringLiteral("s1")},
        {QStringLiteral("札証"), QStringLiteral("s1")}, {QStringLiteral("札2"), QStringLiteral("s2")},
        {QStringLiteral("札M"), QStringLiteral("sm")},  {QStringLiteral("札A"), QStringLiteral("sa")},
    };
    const auto it = codes.find(abbreviation);
    return it == codes.end() ? QStringLiteral("na") : it->second;
}

void setKanriPost(net::Inet &control, QLabel &label, const QDate &date)
{
    struct Listed {
        QString code;
        int section;
    };
    std::vector<Listed> listed;
    bool bothRead = true;
    for (int section = 1; section <= 2; ++section) {
        csmOpen(section);
        csmRun(control);
        csmClose();
        bothRead = bothRead && csmSectionFound();
        for (int j = 1; j <= csmCount; ++j)
            listed.push_back({csmMeigara[size_t(j)].BrandCode, section});
    }
    if (!bothRead) {
        writeLog(glngLogFileNo,
                 QStringLiteral("setKanriPost×××注意銘柄情報を読めませんでした。管理ポスト区分は変更しません×××"));
        return;
    }

    for (const Listed &stock : listed) {
        label.setText(text::formatYmdSlash(date) + QStringLiteral("時点の") + stock.code +
                      QStringLiteral("の注意銘柄情報を取得中です。"));
        ui::doEvents();
    }
    // No yield inside the transaction: a timer tick must not write into this change.
    db::Transaction change(gcnDB);
    gcnDB.execute(QStringLiteral("update tmbond set 管理ポスト区分 = 0"));
    db::Statement mark = gcnDB.prepare(QStringLiteral("update tmbond set 管理ポスト区分 = ? where 銘柄コード = ?"));
    for (const Listed &stock : listed) {
        mark.bindAll(stock.section, stock.code);
        mark.run();
        mark.reset();
    }
    change.commit();
}
