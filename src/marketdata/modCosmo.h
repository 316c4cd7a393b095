#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <vector>

class QLabel;

namespace net {
class Inet;
}

// The margin-trading caution page of a securities company: mode 1 reads the codes of its
// "■整理ポスト" section (delisting post), mode 2 those of its "■監理ポスト" section
// (supervision post). A request runs csmOpen(mode), csmRun(control), csmClose().

struct csmMeigaraRecord {
    QString BrandCode;  // half-width stock code from the row's first cell
    QString SizyouCode; // market code from its third cell
};

extern int csmMode;
extern int csmStatus; // 0 after csmOpen, 11 after csmClear; pages are parsed only at 11
extern int csmError;  // 0, else why the last csmRun brought no page
extern int csmCount;  // rows 1..csmCount of csmMeigara hold results
extern std::array<csmMeigaraRecord, 1001> csmMeigara;

void csmOpen(int mode);
void csmClear(int mode);
void csmRun(net::Inet &control);
void csmParse(const QString &page);
void csmresult(int mode, const QString &page);
int csmClose();
// Whether the last parse found its section whole (marker, table end and header): only
// then does an empty result mean an empty list rather than an unreadable page.
bool csmSectionFound();

// The market code of a market abbreviation on the page ("na" for an unknown one).
QString csmMarketCode(const QString &abbreviation);

// Reads both sections and, only when both were read, sets 管理ポスト区分 of every stock in
// one transaction: 0, then 1 for the codes of the delisting post and 2 for those of the
// supervision post. An unreachable, empty or changed page keeps the stored flags and is
// logged. `label` shows the progress; `date` is named in it.
void setKanriPost(net::Inet &control, QLabel &label, const QDate &date);

// The page reader itself, free of module state.
struct CsmSection {
    enum class Outcome {
        NoPage,    // blank page, or the site's "no keyword" page
        ErrorPage, // the site's "ページが表示できません" page
        Missing,   // section marker, table end or header absent, or a row without its cells
        Read,
    };
    Outcome outcome = Outcome::NoPage;
    std::vector<csmMeigaraRecord> rows;
};
CsmSection readCsmSection(int mode, const QString &page);
