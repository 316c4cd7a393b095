#include "platform/text/PageCharset.h"

#include "platform/text/Cp932.h"

namespace text {
namespace {

// Only the head of a page is searched for a <meta> charset, as browsers do.
constexpr qsizetype kMetaSearchBytes = 4096;

} // namespace

QByteArray knownCharset(QByteArray name)
{
    name = name.trimmed().toLower();
    if (name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "x-sjis" || name == "ms_kanji" ||
        name == "windows-31j" || name == "cp932" || name == "csshiftjis")
        return "CP932";
    if (name == "euc-jp" || name == "x-euc-jp" || name == "eucjp" || name == "cseucpkdfmtjapanese")
        return "EUC-JP-MS";
    if (name == "iso-2022-jp" || name == "csiso2022jp")
        return "ISO-2022-JP";
    if (name == "utf-8" || name == "utf8")
        return "UTF-8";
    return {};
}

namespace {

// The value after "charset=" in `text` (lower-cased ASCII), up to a quote, blank, ";" or ">".
QByteArray charsetParameter(const QByteArray &lowered, qsizetype from = 0)
{
    const qsizetype at = lowered.indexOf("charset", from);
    if (at < 0)
        return {};
    qsizetype i = at + 7;
    while (i < lowered.size() && (lowered[i] == ' ' || lowered[i] == '\t'))
        ++i;
    if (i >= lowered.size() || lowered[i] != '=')
        return {};
    ++i;
    while (i < lowered.size() && (lowered[i] == ' ' || lowered[i] == '"' || lowered[i] == '\''))
        ++i;
    const qsizetype begin = i;
    while (i < lowered.size() && !QByteArrayView(" \t\"';>/\r\n").contains(lowered[i]))
        ++i;
    return lowered.mid(begin, i - begin);
}

QByteArray metaCharset(const QByteArray &page)
{
    const QByteArray head = page.left(kMetaSearchBytes).toLower();
    for (qsizetype at = head.indexOf("<meta"); at >= 0; at = head.indexOf("<meta", at + 5)) {
        const qsizetype end = head.indexOf('>', at);
        const QByteArray tag = head.mid(at, end < 0 ? -1 : end - at + 1);
        const QByteArray name = knownCharset(charsetParameter(tag));
        if (!name.isEmpty())
            return name;
    }
    return {};
}

} // namespace

QByteArray declaredPageCharset(const QByteArray &contentType, const QByteArray &page)
{
    const QByteArray fromHeader = knownCharset(charsetParameter(contentType.toLower()));
    return fromHeader.isEmpty() ? metaCharset(page) : fromHeader;
}

QString decodePage(const QByteArray &page, const QByteArray &contentType, const char *fallbackCharset)
{
    const QByteArray declared = declaredPageCharset(contentType, page);
    return decodeCharset(page, declared.isEmpty() ? fallbackCharset : declared.constData());
}

} // namespace text
