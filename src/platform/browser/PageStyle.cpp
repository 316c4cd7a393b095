#include "platform/browser/PageStyle.h"

#include "platform/browser/Dom.h"

#include <QRegularExpression>

#include <optional>
#include <vector>

namespace browser {
namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isCssSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// The text with each comment replaced by a blank (a comment separates what stands around
// it); strings and escaped characters are kept as they are.
QString withoutComments(const QString &css)
{
    QString out;
    out.reserve(css.size());
    QChar quote;
    for (qsizetype i = 0; i < css.size(); ++i) {
        const QChar c = css.at(i);
        if (c == u'\\' && i + 1 < css.size()) {
            out += c;
            out += css.at(++i);
        } else if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            out += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            out += c;
        } else if (c == u'/' && i + 1 < css.size() && css.at(i + 1) == u'*') {
            const qsizetype end = css.indexOf(QStringLiteral("*/"), i + 2);
            if (end < 0)
                break;
            out += u' ';
            i = end + 1;
        } else {
            out += c;
        }
    }
    return out;
}

// The position of `c` at or after `from` outside strings and escapes; -1 when there is none.
qsizetype indexOutside(const QString &text, QChar c, qsizetype from = 0)
{
    QChar quote;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar at = text.at(i);
        if (at == u'\\')
            ++i;
        else if (!quote.isNull())
            quote = at == quote ? QChar() : quote;
        else if (at == u'"' || at == u'\'')
            quote = at;
        else if (at == c)
            return i;
    }
    return -1;
}

QStringList splitOutside(const QString &text, QChar separator)
{
    QStringList parts;
    qsizetype from = 0;
    for (qsizetype at = indexOutside(text, separator); at >= 0; at = indexOutside(text, separator, from)) {
        parts << text.mid(from, at - from);
        from = at + 1;
    }
    parts << text.mid(from);
    return parts;
}

// The text with its CSS escapes decoded: "\6e " and "\00006e" are "n", "\:" is ":".
QString decodedEscapes(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != u'\\') {
            out += text.at(i);
            continue;
        }
        qsizetype j = i + 1;
        char32_t code = 0;
        int digits = 0;
        while (j < text.size() && digits < 6 && isHexDigit(text.at(j))) {
            code = code * 16 + char32_t(QStringView(text).mid(j, 1).toUInt(nullptr, 16));
            ++j;
            ++digits;
        }
        if (digits == 0) {
            if (j < text.size() && text.at(j) != u'\n')
                out += text.at(j);
            i = j;
            continue;
        }
        if (j < text.size() && isCssSpace(text.at(j)))
            ++j;
        if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            code = 0xFFFD;
        out += QString::fromUcs4(&code, 1);
        i = j - 1;
    }
    return out;
}

// The end of the block that opens at `open`: its matching "}", or the text's end.
qsizetype blockEnd(const QString &text, qsizetype open)
{
    int depth = 0;
    QChar quote;
    for (qsizetype i = open; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\')
            ++i;
        else if (!quote.isNull())
            quote = c == quote ? QChar() : quote;
        else if (c == u'"' || c == u'\'')
            quote = c;
        else if (c == u'{')
            ++depth;
        else if (c == u'}' && --depth == 0)
            return i;
    }
    return text.size();
}

bool isIdentCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u'_' || c.unicode() >= 0x80;
}

// The identifier that starts at `at` (escapes decoded); `at` moves past it.
QString readIdent(const QString &text, qsizetype &at)
{
    const qsizetype start = at;
    while (at < text.size()) {
        if (text.at(at) == u'\\' && at + 1 < text.size()) {
            ++at;
            if (!isHexDigit(text.at(at))) {
                ++at;
                continue;
            }
            for (int digits = 0; digits < 6 && at < text.size() && isHexDigit(text.at(at)); ++digits)
                ++at;
            if (at < text.size() && isCssSpace(text.at(at)))
                ++at;
        } else if (isIdentCharacter(text.at(at))) {
            ++at;
        } else {
            break;
        }
    }
    return decodedEscapes(text.mid(start, at - start));
}

QStringList classesOf(const Node &element)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\n\\r\\f]+"));
    QStringList classes = element.attribute(QStringLiteral("class")).split(blanks, Qt::SkipEmptyParts);
    classes.removeDuplicates();
    return classes;
}

bool appliesToScreen(const Node &style)
{
    const QString type = style.attribute(QStringLiteral("type")).trimmed().toLower();
    if (!type.isEmpty() && type != QLatin1String("text/css"))
        return false;
    if (!style.hasAttribute(QStringLiteral("media")))
        return true;
    const QString media = style.attribute(QStringLiteral("media")).trimmed().toLower();
    if (media.isEmpty())
        return true;
    for (const QString &query : media.split(u','))
        if (query.trimmed() == QLatin1String("all") || query.trimmed() == QLatin1String("screen"))
            return true;
    return false;
}

} // namespace

QHash<QString, CssDeclaration> cssDeclarations(const QString &block)
{
    static const QRegularExpression importantMark(QStringLiteral(R"(\s*!\s*important\s*$)"));
    QHash<QString, CssDeclaration> found;
    for (const QString &declaration : splitOutside(withoutComments(block), u';')) {
        const qsizetype colon = indexOutside(declaration, u':');
        if (colon < 0)
            continue;
        const QString property = decodedEscapes(declaration.left(colon)).trimmed().toLower();
        QString value = decodedEscapes(declaration.mid(colon + 1)).trimmed().toLower();
        const bool important = value.contains(importantMark);
        value.remove(importantMark);
        const auto known = found.constFind(property);
        if (known != found.constEnd() && known->important && !important)
            continue;
        found.insert(property, {value, important});
    }
    return found;
}

PageStyle::PageStyle(const Node &root)
{
    // The style blocks of the page; those in a <template> or <noscript> are not applied.
    std::vector<const Node *> pending{&root};
    while (!pending.empty()) {
        const Node *node = pending.back();
        pending.pop_back();
        if (node->isElement("template") || node->isElement("noscript"))
            continue;
        if (node->isElement("style")) {
            if (appliesToScreen(*node))
                addSheet(node->textContent());
            continue;
        }
        for (auto child = node->children().rbegin(); child != node->children().rend(); ++child)
            if ((*child)->isElement())
                pending.push_back(child->get());
    }
}

void PageStyle::addSheet(const QString &css)
{
    const QString text = withoutComments(css);
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype open = indexOutside(text, u'{', at);
        if (open < 0)
            return;
        const qsizetype semicolon = indexOutside(text, u';', at);
        if (semicolon >= 0 && semicolon < open && text.mid(at, semicolon - at).trimmed().startsWith(u'@')) {
            at = semicolon + 1; // an at-rule without a block (@import, @charset)
            continue;
        }
        QString prelude = text.mid(at, open - at);
        prelude.remove(QStringLiteral("<!--")).remove(QStringLiteral("-->"));
        const qsizetype close = blockEnd(text, open);
        if (!prelude.trimmed().startsWith(u'@'))
            addRule(prelude, text.mid(open + 1, close - open - 1));
        at = close + 1;
    }
}

void PageStyle::addRule(const QString &selectors, const QString &block)
{
    const QHash<QString, CssDeclaration> declared = cssDeclarations(block);
    if (!declared.contains(QStringLiteral("display")) && !declared.contains(QStringLiteral("visibility")))
        return;
    const auto compound = [](const QString &selector) -> std::optional<Compound> {
        const QString s = selector.trimmed();
        Compound c;
        qsizetype at = 0;
        if (at < s.size() && s.at(at) != u'.' && s.at(at) != u'#') {
            c.tag = readIdent(s, at).toLower();
            if (c.tag.isEmpty())
                return std::nullopt;
            c.specificity += 1;
        }
        while (at < s.size()) {
            const QChar kind = s.at(at++);
            const QString name = readIdent(s, at);
            if (name.isEmpty() || (kind != u'.' && kind != u'#'))
                return std::nullopt;
            if (kind == u'.') {
                c.classes << name;
                c.specificity += 10;
            } else {
                if (!c.id.isEmpty() && c.id != name)
                    return std::nullopt; // two ids: no element matches
                c.id = name;
                c.specificity += 100;
            }
        }
        if (s.isEmpty())
            return std::nullopt;
        return c;
    };
    const QStringList list = splitOutside(selectors, u',');
    QList<Compound> parsed;
    for (const QString &selector : list) {
        const std::optional<Compound> c = compound(selector);
        if (!c)
            return; // one selector the reader cannot read voids the rule, as in CSS
        parsed << *c;
    }
    for (const Compound &c : parsed) {
        const QString key = !c.id.isEmpty() ? u'#' + c.id : !c.classes.isEmpty() ? u'.' + c.classes.first() : c.tag;
        m_byKey[key].append(m_rules.size());
        m_rules.append({c, declared, int(m_rules.size())});
    }
}

bool PageStyle::matches(const Compound &selector, const Node &element)
{
    if (!selector.tag.isEmpty() && selector.tag != element.tag())
        return false;
    if (!selector.id.isEmpty() && selector.id != element.attribute(QStringLiteral("id")))
        return false;
    const QStringList classes = classesOf(element);
    for (const QString &name : selector.classes)
        if (!classes.contains(name))
            return false;
    return true;
}

QString PageStyle::value(const Node &element, QLatin1String property) const
{
    const QString name(property);
    std::optional<CssDeclaration> best;
    int bestSpecificity = -1;
    int bestOrder = -1;
    if (!m_rules.isEmpty()) {
        QStringList keys{element.tag()};
        if (element.hasAttribute(QStringLiteral("id")))
            keys << u'#' + element.attribute(QStringLiteral("id"));
        for (const QString &c : classesOf(element))
            keys << u'.' + c;
        for (const QString &key : keys) {
            for (const qsizetype index : m_byKey.value(key)) {
                const Rule &rule = m_rules.at(index);
                const auto declared = rule.declarations.constFind(name);
                if (declared == rule.declarations.constEnd() || !matches(rule.selector, element))
                    continue;
                const bool wins = !best || (declared->important != best->important
                                                ? declared->important
                                                : std::pair(rule.selector.specificity, rule.order) >
                                                      std::pair(bestSpecificity, bestOrder));
                if (wins) {
                    best = *declared;
                    bestSpecificity = rule.selector.specificity;
                    bestOrder = rule.order;
                }
            }
        }
    }
    const QHash<QString, CssDeclaration> inlined = cssDeclarations(element.attribute(QStringLiteral("style")));
    const auto own = inlined.constFind(name);
    if (own != inlined.constEnd() && (!best || own->important || !best->important))
        best = *own;
    return best ? best->value : QString();
}

} // namespace browser
