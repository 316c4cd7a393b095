#include "platform/browser/NestingCap.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace browser {
namespace {

using Names = QSet<QByteArray>;

const Names kIgnoredStarts = {"html", "head", "body", "frameset"};
const Names kVoid = {"area", "base",  "basefont", "bgsound", "br",   "col",   "embed",  "frame", "hr",  "image",
                     "img",  "input", "keygen",   "link",    "meta", "param", "source", "track", "wbr", "menuitem"};
const Names kRawText = {"script", "style", "xmp", "iframe", "noembed", "noframes", "textarea", "title"};
const Names kClosesParagraph = {"address", "article", "aside",    "blockquote", "center", "details", "dialog", "dir",
                                "div",     "dl",      "fieldset", "figcaption", "figure", "footer",  "form",   "h1",
                                "h2",      "h3",      "h4",       "h5",         "h6",     "header",  "hgroup", "hr",
                                "li",      "dd",      "dt",       "main",       "menu",   "nav",     "ol",     "p",
                                "pre",     "listing", "section",  "summary",    "ul",     "search",  "table"};
const Names kHeadings = {"h1", "h2", "h3", "h4", "h5", "h6"};
const Names kFormatting = {"a",    "b", "big",   "code",   "em",     "font", "i",
                           "nobr", "s", "small", "strike", "strong", "tt",   "u"};
// Elements whose end clears the formatting the parser would open again inside them.
const Names kFormattingMarkers = {"td", "th", "caption", "applet", "object", "marquee", "template"};
const Names kScope = {"applet",         "caption",       "html", "table", "td", "th", "marquee",
                      "object",         "template",      "mi",   "mo",    "mn", "ms", "mtext",
                      "annotation-xml", "foreignobject", "desc", "title"};
const Names kTableScope = {"table", "html", "template"};
const Names kButtonScope = kScope + Names{"button"};
const Names kListScope = kScope + Names{"ul", "ol"};
const Names kDefinitionScope = kScope + Names{"dl"};
const Names kRowScope = kTableScope + Names{"tbody", "thead", "tfoot"};
const Names kCellScope = kRowScope + Names{"tr"};
const Names kNestedTableScope = {"td", "th", "caption", "html", "template"};
const Names kIntegrationPoints = {"foreignobject", "desc", "title", "mi", "mo", "mn", "ms", "mtext", "annotation-xml"};
// HTML start tags that end an svg or math island.
const Names kForeignBreakout = {"b",      "big",  "blockquote", "body",  "br",   "center", "code",    "dd",   "div",
                                "dl",     "dt",   "em",         "embed", "h1",   "h2",     "h3",      "h4",   "h5",
                                "h6",     "head", "hr",         "i",     "img",  "li",     "listing", "menu", "meta",
                                "nobr",   "ol",   "p",          "pre",   "ruby", "s",      "small",   "span", "strong",
                                "strike", "sub",  "sup",        "table", "tt",   "u",      "ul",      "var"};
const Names kSpecial = {"address",    "applet",   "area",   "article", "aside",     "base",     "basefont", "bgsound",
                        "blockquote", "body",     "br",     "button",  "caption",   "center",   "col",      "colgroup",
                        "dd",         "details",  "dir",    "div",     "dl",        "dt",       "embed",    "fieldset",
                        "figcaption", "figure",   "footer", "form",    "frame",     "frameset", "h1",       "h2",
                        "h3",         "h4",       "h5",     "h6",      "head",      "header",   "hgroup",   "hr",
                        "html",       "iframe",   "img",    "input",   "keygen",    "li",       "link",     "listing",
                        "main",       "marquee",  "menu",   "meta",    "nav",       "noembed",  "noframes", "noscript",
                        "object",     "ol",       "p",      "param",   "plaintext", "pre",      "script",   "search",
                        "section",    "select",   "source", "style",   "summary",   "table",    "tbody",    "td",
                        "template",   "textarea", "tfoot",  "th",      "thead",     "title",    "tr",       "track",
                        "ul",         "wbr",      "xmp"};

// How many formatting elements the parser may have to open again at once.
constexpr std::size_t kMaxReopenable = 12;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class NestingScanner {
public:
    NestingScanner(const QByteArray &html, int maxDepth) : m_html(html), m_maxDepth(std::size_t(maxDepth)) {}

    NestingCapped run()
    {
        const qsizetype size = m_html.size();
        qsizetype at = 0;
        while (at < size) {
            const qsizetype open = m_html.indexOf('<', at);
            if (open < 0 || open + 1 >= size)
                break;
            at = markupAt(open);
            if (at < 0)
                break; // the page ends inside a tag: the parser drops it
        }
        if (!m_capped)
            return {m_html, false};
        m_out.append(m_html.constData() + m_copied, size - m_copied);
        return {m_out, true};
    }

private:
    struct Open {
        QByteArray name;
        bool foreign; // an svg or math element
    };

    // Reads the markup that starts with the "<" at `open`; returns where the scan goes on.
    qsizetype markupAt(qsizetype open)
    {
        const qsizetype size = m_html.size();
        const char next = m_html.at(open + 1);
        if (m_html.mid(open, 4) == "<!--")
            return commentEnd(open + 4);
        if (next == '!' && inForeign() && m_html.mid(open, 9) == "<![CDATA[") {
            const qsizetype end = m_html.indexOf("]]>", open + 9);
            return end < 0 ? size : end + 3;
        }
        if (next == '!' || next == '?')
            return pastNext('>', open);
        if (next == '/') {
            if (open + 2 < size && isAsciiLetter(m_html.at(open + 2))) {
                const qsizetype nameEnd = tagNameEnd(open + 2);
                bool selfClosing = false;
                const qsizetype end = tagEnd(nameEnd, selfClosing);
                if (end >= 0)
                    endTag(m_html.mid(open + 2, nameEnd - open - 2).toLower(), open, end);
                return end;
            }
            return pastNext('>', open);
        }
        if (!isAsciiLetter(next))
            return open + 1;
        const qsizetype nameEnd = tagNameEnd(open + 1);
        bool selfClosing = false;
        const qsizetype end = tagEnd(nameEnd, selfClosing);
        if (end < 0)
            return end;
        return startTag(m_html.mid(open + 1, nameEnd - open - 1).toLower(), selfClosing, open, end);
    }

    qsizetype pastNext(char c, qsizetype from) const
    {
        const qsizetype at = m_html.indexOf(c, from);
        return at < 0 ? m_html.size() : at + 1;
    }

    qsizetype commentEnd(qsizetype from) const
    {
        if (m_html.mid(from, 1) == ">")
            return from + 1;
        if (m_html.mid(from, 2) == "->")
            return from + 2;
        const qsizetype plain = m_html.indexOf("-->", from);
        const qsizetype bang = m_html.indexOf("--!>", from);
        if (plain < 0 && bang < 0)
            return m_html.size();
        if (bang < 0 || (plain >= 0 && plain < bang))
            return plain + 3;
        return bang + 4;
    }

    qsizetype tagNameEnd(qsizetype from) const
    {
        qsizetype at = from;
        while (at < m_html.size() && !isSpace(m_html.at(at)) && m_html.at(at) != '/' && m_html.at(at) != '>')
            ++at;
        return at;
    }

    // The position after the ">" that ends a tag whose attributes start at `from`, read as
    // the HTML tokenizer reads them (a quoted value may hold ">"); -1 when the page ends first.
    qsizetype tagEnd(qsizetype from, bool &selfClosing) const
    {
        const qsizetype size = m_html.size();
        qsizetype at = from;
        selfClosing = false;
        while (at < size) {
            const char c = m_html.at(at);
            if (c == '>')
                return at + 1;
            if (c == '/' || isSpace(c)) {
                selfClosing = c == '/' && at + 1 < size && m_html.at(at + 1) == '>';
                ++at;
                continue;
            }
            ++at; // an attribute's name, whose first character may be "="
            while (at < size && !isSpace(m_html.at(at)) && m_html.at(at) != '/' && m_html.at(at) != '>' &&
                   m_html.at(at) != '=')
                ++at;
            while (at < size && isSpace(m_html.at(at)))
                ++at;
            if (at >= size || m_html.at(at) != '=')
                continue;
            ++at;
            while (at < size && isSpace(m_html.at(at)))
                ++at;
            if (at < size && (m_html.at(at) == '"' || m_html.at(at) == '\'')) {
                const qsizetype close = m_html.indexOf(m_html.at(at), at + 1);
                if (close < 0)
                    return -1;
                at = close + 1;
            } else {
                while (at < size && !isSpace(m_html.at(at)) && m_html.at(at) != '>')
                    ++at;
            }
        }
        return -1;
    }

    // Where the text of a raw-text element ends: at its end tag, else at the page's end.
    qsizetype rawTextEnd(qsizetype from, const QByteArray &name) const
    {
        const qsizetype size = m_html.size();
        for (qsizetype at = m_html.indexOf("</", from); at >= 0; at = m_html.indexOf("</", at + 2)) {
            const qsizetype after = at + 2 + name.size();
            if (m_html.mid(at + 2, name.size()).toLower() == name &&
                (after >= size || isSpace(m_html.at(after)) || m_html.at(after) == '/' || m_html.at(after) == '>'))
                return at;
        }
        return size;
    }

    bool inForeign() const
    {
        return !m_open.empty() && m_open.back().foreign && !kIntegrationPoints.contains(m_open.back().name);
    }

    qsizetype startTag(const QByteArray &name, bool selfClosing, qsizetype from, qsizetype to)
    {
        if (kIgnoredStarts.contains(name))
            return to;
        if (inForeign() && kForeignBreakout.contains(name))
            while (!m_open.empty() && m_open.back().foreign)
                pop();
        const bool foreign = name == "svg" || name == "math" || inForeign();
        if (!foreign && kRawText.contains(name))
            return rawTextEnd(to, name);
        if (!foreign && name == "plaintext")
            return m_html.size(); // the rest of the page is text
        if (kVoid.contains(name) || (foreign && selfClosing))
            return to;
        closeImplied(name);
        if (name == "form" && m_openCounts.value(name) > 0)
            return to; // a form inside a form is ignored by the parser
        const bool formatting = kFormatting.contains(name) && !foreign;
        // A form is kept however deep it stands (forms do not nest, so it adds one level at
        // most): the controls inside still belong to it.
        const bool tooDeep = m_open.size() >= m_maxDepth && name != "form";
        if (tooDeep || (formatting && !mayReopen(name, m_html.mid(from, to - from)))) {
            leaveOut(from, to);
            ++m_leftOut[name];
            return to;
        }
        m_open.push_back({name, foreign});
        ++m_openCounts[name];
        if (formatting)
            m_reopenable.push_back({name, m_html.mid(from, to - from)});
        else if (kFormattingMarkers.contains(name))
            m_reopenable.push_back({});
        return to;
    }

    void endTag(const QByteArray &name, qsizetype from, qsizetype to)
    {
        if (const auto left = m_leftOut.find(name); left != m_leftOut.end()) {
            leaveOut(from, to);
            if (--left.value() == 0)
                m_leftOut.erase(left);
            return;
        }
        if (kFormatting.contains(name)) {
            forgetReopenable(name);
            // The parser takes the element out and, when blocks opened inside it, opens a
            // copy in the innermost: the depth only falls when nothing but formatting is inside.
            const qsizetype at = find(name, kScope);
            if (at >= 0 && onlyFormattingAbove(at))
                popTo(at);
            return;
        }
        if (kSpecial.contains(name)) {
            const bool tablePart = name == "td" || name == "th" || name == "tr" || name == "tbody" || name == "thead" ||
                                   name == "tfoot" || name == "caption" || name == "table";
            const qsizetype at = find(name, tablePart ? kTableScope : kScope);
            if (at >= 0)
                popTo(at);
            return;
        }
        // Any other end tag closes its element unless a special element stands in between.
        for (qsizetype i = qsizetype(m_open.size()) - 1; i >= 0; --i) {
            const QByteArray &open = m_open[std::size_t(i)].name;
            if (open == name) {
                popTo(i);
                return;
            }
            if (kSpecial.contains(open))
                return;
        }
    }

    // The ends the HTML rules imply when `name` starts.
    void closeImplied(const QByteArray &name)
    {
        if (kClosesParagraph.contains(name))
            closeIfOpen({"p"}, kButtonScope);
        if (kHeadings.contains(name) && !m_open.empty() && kHeadings.contains(m_open.back().name))
            pop();
        if (name == "li")
            closeIfOpen({"li"}, kListScope);
        else if (name == "dd" || name == "dt")
            closeIfOpen({"dd", "dt"}, kDefinitionScope);
        else if (name == "td" || name == "th")
            closeIfOpen({"td", "th"}, kCellScope);
        else if (name == "tr")
            closeIfOpen({"tr"}, kRowScope);
        else if (name == "tbody" || name == "thead" || name == "tfoot")
            closeIfOpen({"tbody", "thead", "tfoot"}, kTableScope);
        else if (name == "table")
            closeIfOpen({"table"}, kNestedTableScope);
        else if ((name == "a" || name == "nobr") && closeIfOpen({name}, kScope))
            forgetReopenable(name); // the parser takes the earlier one out of the formatting it reopens
        else if (name == "button")
            closeIfOpen({name}, kScope);
        else if (name == "option" || name == "optgroup") {
            if (!m_open.empty() && m_open.back().name == "option")
                pop();
            if (name == "optgroup" && !m_open.empty() && m_open.back().name == "optgroup")
                pop();
        }
    }

    // Whether one of `targets` was open and is closed now.
    bool closeIfOpen(const Names &targets, const Names &boundaries)
    {
        bool anyOpen = false;
        for (const QByteArray &target : targets)
            anyOpen = anyOpen || m_openCounts.value(target) > 0;
        if (!anyOpen)
            return false;
        for (qsizetype i = qsizetype(m_open.size()) - 1; i >= 0; --i) {
            const QByteArray &open = m_open[std::size_t(i)].name;
            if (targets.contains(open)) {
                popTo(i);
                return true;
            }
            if (boundaries.contains(open))
                return false;
        }
        return false;
    }

    // The innermost open `name` not behind a boundary; -1 when there is none.
    qsizetype find(const QByteArray &name, const Names &boundaries) const
    {
        if (m_openCounts.value(name) == 0)
            return -1;
        for (qsizetype i = qsizetype(m_open.size()) - 1; i >= 0; --i) {
            if (m_open[std::size_t(i)].name == name)
                return i;
            if (boundaries.contains(m_open[std::size_t(i)].name))
                return -1;
        }
        return -1;
    }

    // Whether a formatting start tag may open: the parser opens each formatting element that
    // was never closed again in every block after it, so their number is kept small. As in
    // the parser, a fourth one written the same takes the place of the first.
    bool mayReopen(const QByteArray &name, const QByteArray &tag)
    {
        std::size_t sinceMarker = 0;
        std::size_t sameCount = 0;
        std::size_t firstSame = 0;
        for (std::size_t i = m_reopenable.size(); i-- > 0 && !m_reopenable[i].name.isEmpty();) {
            ++sinceMarker;
            if (m_reopenable[i].name == name && m_reopenable[i].tag == tag) {
                ++sameCount;
                firstSame = i;
            }
        }
        if (sameCount >= 3) {
            m_reopenable.erase(m_reopenable.begin() + qsizetype(firstSame));
            --sinceMarker;
        }
        return sinceMarker < kMaxReopenable;
    }

    // An end tag of `name` takes the last such formatting element off the list.
    void forgetReopenable(const QByteArray &name)
    {
        for (std::size_t i = m_reopenable.size(); i-- > 0 && !m_reopenable[i].name.isEmpty();) {
            if (m_reopenable[i].name == name) {
                m_reopenable.erase(m_reopenable.begin() + qsizetype(i));
                return;
            }
        }
    }

    bool onlyFormattingAbove(qsizetype at) const
    {
        for (std::size_t i = std::size_t(at) + 1; i < m_open.size(); ++i)
            if (!kFormatting.contains(m_open[i].name))
                return false;
        return true;
    }

    void popTo(qsizetype at)
    {
        while (qsizetype(m_open.size()) > at)
            pop();
    }

    void pop()
    {
        const Open &last = m_open.back();
        if (kFormattingMarkers.contains(last.name)) {
            while (!m_reopenable.empty() && !m_reopenable.back().name.isEmpty())
                m_reopenable.pop_back();
            if (!m_reopenable.empty())
                m_reopenable.pop_back(); // the marker
        }
        if (--m_openCounts[last.name] == 0)
            m_openCounts.remove(last.name);
        m_open.pop_back();
    }

    void leaveOut(qsizetype from, qsizetype to)
    {
        m_out.append(m_html.constData() + m_copied, from - m_copied);
        m_copied = to;
        m_capped = true;
    }

    const QByteArray &m_html;
    const std::size_t m_maxDepth;
    std::vector<Open> m_open;
    QHash<QByteArray, int> m_openCounts;
    // The formatting elements the parser may open again (they were never closed), an empty
    // name marking where a cell or another marker opened: its list of active formatting.
    struct Reopenable {
        QByteArray name;
        QByteArray tag; // the start tag as written
    };
    std::vector<Reopenable> m_reopenable;
    QHash<QByteArray, int> m_leftOut; // start tags left out whose end tag is still to come
    QByteArray m_out;
    qsizetype m_copied = 0;
    bool m_capped = false;
};

} // namespace

NestingCapped capNesting(const QByteArray &html, int maxDepth)
{
    return NestingScanner(html, maxDepth).run();
}

} // namespace browser
