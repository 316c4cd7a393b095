#include "marketdata/PageSubject.h"

#include "platform/text/VbText.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr int kCodeDigits = 4;
constexpr int kMostMarketLetters = 2;

// The bracket pairs a code stands in once full-width forms are narrowed.
constexpr std::array<std::pair<QStringView, QStringView>, 5> kBrackets = {{
    {u"(", u")"},
    {u"[", u"]"},
    {u"<", u">"},
    {u"&LT;", u"&GT;"},
    {u"【", u"】"},
}};

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isLetter(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

qsizetype skipBlanks(QStringView text, qsizetype at)
{
    while (at < text.size() && text[at] == u' ')
        ++at;
    return at;
}

struct FoundCode {
    QString code;
    qsizetype end = 0; // just after the closing bracket
};

// The bracketed code that begins at `at` of a narrowed prepared text.
std::optional<FoundCode> codeAt(QStringView text, qsizetype at)
{
    for (const auto &[open, close] : kBrackets) {
        if (!text.sliced(at).startsWith(open))
            continue;
        qsizetype i = skipBlanks(text, at + open.size());
        const qsizetype digitsFrom = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i - digitsFrom != kCodeDigits)
            return std::nullopt;
        const QString code = text.sliced(digitsFrom, kCodeDigits).toString();
        if (i < text.size() && text[i] == u'.') {
            const qsizetype lettersFrom = ++i;
            while (i < text.size() && isLetter(text[i]) && i - lettersFrom < kMostMarketLetters)
                ++i;
            if (i == lettersFrom)
                return std::nullopt;
        }
        i = skipBlanks(text, i);
        if (!text.sliced(i).startsWith(close))
            return std::nullopt;
        return FoundCode{code, i + close.size()};
    }
    return std::nullopt;
}

// The codes a heading's text holds, appended to `codes`.
void appendCodes(QStringView heading, QStringList &codes)
{
    const QString narrow = text::toNarrow(heading.toString());
    for (qsizetype at = 0; at < narrow.size();) {
        if (const std::optional<FoundCode> found = codeAt(narrow, at)) {
            codes.append(found->code);
            at = found->end;
        } else {
            ++at;
        }
    }
}

// Whether a tag name of `length` characters at the start of `name` ends there: followed by a
// blank, "/", ">" or the end of the text.
bool nameEnds(QStringView name, qsizetype length)
{
    if (name.size() == length)
        return true;
    const QChar next = name[length];
    return next.isSpace() || next == u'/' || next == u'>';
}

// Whether the tag that begins at `at` ("<") is `name` ("TITLE", "/TITLE", "H1").
bool tagIs(QStringView text, qsizetype at, QStringView name)
{
    const QStringView after = text.sliced(at + 1);
    return after.startsWith(name) && nameEnds(after, name.size());
}

// Whether the tag at `at` opens or ends any heading, <h1> to <h6>, or the title: what ends
// a main heading left open.
bool endsOpenHeading(QStringView text, qsizetype at)
{
    QStringView name = text.sliced(at + 1);
    if (name.startsWith(u'/'))
        name = name.sliced(1);
    const bool heading = name.size() >= 2 && name[0] == u'H' && name[1] >= u'1' && name[1] <= u'6';
    const qsizetype length = heading ? 2 : name.startsWith(u"TITLE") ? 5 : 0;
    return length > 0 && nameEnds(name, length);
}

} // namespace

std::optional<QString> bracketedCode(QStringView text)
{
    const QString narrow = text::toNarrow(text.toString());
    const std::optional<FoundCode> found = narrow.isEmpty() ? std::nullopt : codeAt(narrow, 0);
    if (!found || found->end != narrow.size())
        return std::nullopt;
    return found->code;
}

QStringList headingCodes(QStringView prepared)
{
    // One pass over the tags. The title's text is plain text up to its end tag, as a browser
    // reads it; a main heading's text may hold tags and ends at its own end tag or at the
    // next heading or title.
    enum class Inside { Nothing, Title, Heading };
    Inside inside = Inside::Nothing;
    qsizetype textFrom = 0;
    QStringList codes;
    for (qsizetype at = prepared.indexOf(u'<'); at >= 0;) {
        qsizetype next = at + 1;
        const bool ends = inside == Inside::Title ? tagIs(prepared, at, u"/TITLE")
                                                  : inside == Inside::Heading && endsOpenHeading(prepared, at);
        if (ends) {
            appendCodes(prepared.sliced(textFrom, at - textFrom), codes);
            inside = Inside::Nothing;
        }
        if (inside == Inside::Nothing) {
            const bool title = tagIs(prepared, at, u"TITLE");
            if (title || tagIs(prepared, at, u"H1")) {
                const qsizetype tagEnd = prepared.indexOf(u'>', at);
                if (tagEnd < 0)
                    break; // the tag never ends: no text follows it
                inside = title ? Inside::Title : Inside::Heading;
                textFrom = next = tagEnd + 1;
            }
        }
        at = prepared.indexOf(u'<', next);
    }
    if (inside != Inside::Nothing)
        appendCodes(prepared.sliced(textFrom), codes);
    return codes;
}

bool namesOtherStock(QStringView prepared, const QString &code, YearSpan years)
{
    const QStringList codes = headingCodes(prepared);
    return std::any_of(codes.begin(), codes.end(),
                       [&](const QString &named) { return named != code && !years.holds(named.toInt()); });
}
