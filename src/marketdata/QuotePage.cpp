#include "marketdata/QuotePage.h"

#include "core/BusyGuard.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/net/Inet.h"
#include "platform/net/SiteFile.h"
#include "platform/text/VbText.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace quotepage {
namespace {

// Beyond this magnitude a double no longer converts to a 64-bit whole number.
constexpr double kInt64Limit = 9.2e18;

bool onlyBlanks(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' '; });
}

} // namespace

QString prepare(const QString &page)
{
    QString text = page.toUpper();
    text.remove(u'"');
    return text;
}

bool cutAfter(QString &text, const QString &marker)
{
    const qsizetype at = text.indexOf(marker);
    if (at < 0)
        return false;
    text.remove(0, at + marker.size());
    return true;
}

std::optional<QString> keepBefore(const QString &text, const QString &marker)
{
    const qsizetype at = text.indexOf(marker);
    if (at < 0)
        return std::nullopt;
    return text.left(at);
}

bool PageCursor::cutAfter(QStringView marker)
{
    const qsizetype at = m_text.indexOf(marker, m_at);
    if (at < 0)
        return false;
    m_at = at + marker.size();
    return true;
}

std::optional<QString> PageCursor::keepBefore(QStringView marker) const
{
    const qsizetype at = m_text.indexOf(marker, m_at);
    if (at < 0)
        return std::nullopt;
    return m_text.mid(m_at, at - m_at);
}

bool PageCursor::contains(const QString &marker)
{
    const bool answerStands = marker == m_sought && (m_foundAt < 0 || m_foundAt >= m_at);
    if (!answerStands) {
        m_sought = marker;
        m_foundAt = m_text.indexOf(marker, m_at);
    }
    return m_foundAt >= 0;
}

QString cellValue(const QString &cell)
{
    return cell.mid(cell.indexOf(u'>') + 1);
}

qint64 wholeNumber(const QString &cell)
{
    QString number = cell;
    number.remove(u',');
    if (!text::isNumeric(number))
        return 0;
    const double value = text::trimSpaces(number).toDouble();
    return std::abs(value) < kInt64Limit ? text::roundHalfEven(value) : 0;
}

int wholeInt(double value)
{
    const double rounded = std::nearbyint(value);
    return std::abs(rounded) <= 2147483647.0 ? int(rounded) : 0;
}

Download downloadPage(net::Inet &control, const QString &address, int siteCode)
{
    Download download;
    try {
        const QByteArray bytes = control.OpenURL(address);
        download.empty = onlyBlanks(bytes);
        if (!download.empty)
            download.text = gobjBASP->kconv(bytes, siteCode, control.contentType());
    } catch (const net::TransferError &e) {
        download.error = e.number();
    }
    return download;
}

QString siteAddressOrLog(const QString &key, const QString &path)
{
    // A job asks for thousands of pages: the same problem is logged once per job, not per
    // page, and again in the next job, whose log the user may be reading.
    static std::set<QString> logged;
    static std::uint64_t loggedInJob = 0;
    if (loggedInJob != BusyGuard::outerJobsStarted()) {
        logged.clear();
        loggedInJob = BusyGuard::outerJobsStarted();
    }
    const net::SiteAddress address = net::siteAddress(key, path);
    if (!address.ok() && logged.insert(address.problem()).second)
        writeLog(glngLogFileNo, address.problem());
    return address.valueOr(QString());
}

void logErrorCode(int code)
{
    writeLog(glngLogFileNo, QStringLiteral("エラーコード:") + QString::number(code));
}

void logRowsLeftOut(const QString &procedure, std::size_t rowsOnPage)
{
    writeLog(glngLogFileNo,
             procedure + QStringLiteral("×××%1行のうち%2行目までを読みました×××").arg(rowsOnPage).arg(kResultRows));
}

} // namespace quotepage
