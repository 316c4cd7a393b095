#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <utility>

namespace net {
class Inet;
}

// What the three quote-site modules share: preparing a page's text, the marker
// operations that cut it apart, reading page numbers, and the download-and-convert step.
// The marker operations report a missing marker, so a changed or truncated page ends a
// parse where it stops matching instead of failing.
namespace quotepage {

// Error code of a download that brought no page although the transfer raised no error.
inline constexpr int kNoPageError = 99951;

// Rows 1 to 1000 of a module's result table hold results; row 0 is never filled.
inline constexpr int kResultRows = 1000;

// The page upper-cased with every double quote removed: markers are compared in that form.
QString prepare(const QString &page);

// Cut after M: `text` becomes the part after the first M; false (text unchanged) without M.
bool cutAfter(QString &text, const QString &marker);

// Keep before M: the part in front of the first M; nothing without M.
std::optional<QString> keepBefore(const QString &text, const QString &marker);

// A prepared page read from front to back with the marker operations above, without
// copying what is left at each cut: every search starts where the last cut ended. A reader
// that cuts past what each search found reads a page in time linear in its length, where
// cutting a copy of the rest again and again takes time growing with the square of it.
class PageCursor {
public:
    explicit PageCursor(QString text) : m_text(std::move(text)) {}

    // Cut after M: the rest begins after the first M in it; false (nothing cut) without M.
    bool cutAfter(QStringView marker);
    // Keep before M: the rest in front of its first M; nothing without M.
    std::optional<QString> keepBefore(QStringView marker) const;
    // Whether the rest holds M. Asked for the same M again, the last search's answer stands
    // until the cuts pass the M it found, so a loop asking on every row searches each part
    // of the page once.
    bool contains(const QString &marker);

private:
    QString m_text;
    qsizetype m_at = 0;
    QString m_sought;         // the marker of the last contains
    qsizetype m_foundAt = -1; // where it was found, or -1 when the rest then held none
};

// The part of a cell text after the end of its opening tag (the first ">"); the whole
// text when it has none.
QString cellValue(const QString &cell);

// A page cell as a whole number: "," removed, a number rounded to the nearest (halves to
// even); anything else, or a value beyond 64 bits, gives 0.
qint64 wholeNumber(const QString &cell);

// A number from a page as a 32-bit whole number (halves to even); 0 beyond that range.
int wholeInt(double value);

struct Download {
    QString text;      // the page as text; empty when none came
    bool empty = true; // no bytes, or only blanks
    int error = 0;     // number of the transfer error the download raised, else 0

    // The module error code of the download: the transfer error, else kNoPageError when
    // no page came, else 0.
    int errorCode() const { return error != 0 ? error : empty ? kNoPageError : 0; }
};

// One OpenURL of `address` on the caller's transfer control, the bytes turned into text by
// the mail component's kconv with the site's own code (mail::Basp::KconvCode).
Download downloadPage(net::Inet &control, const QString &address, int siteCode);

// The address of `path` on the site named `key` in the site file; without one, the reason
// goes to the log (once per job) and the address is empty.
QString siteAddressOrLog(const QString &key, const QString &path);

// The end line "エラーコード:" + code.
void logErrorCode(int code);

// The log line of a page whose rows did not all fit the result table: `procedure` and the
// page's row count, read up to row kResultRows.
void logRowsLeftOut(const QString &procedure, std::size_t rowsOnPage);

} // namespace quotepage
