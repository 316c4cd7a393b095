#include "platform/browser/Dom.h"

#include "platform/browser/FormData.h"
#include "platform/browser/NestingCap.h"
#include "platform/browser/PageStyle.h"

#include <gumbo.h>

#include <QRegularExpression>

namespace browser {
namespace {

// How deep elements may nest, as browsers limit their trees.
constexpr int kMaxNesting = 512;

} // namespace

// Turns gumbo's parse tree into our own nodes.
class DomBuilder {
public:
    explicit DomBuilder(Document &document) : m_document(document) {}

    // The element `source` with everything below it.
    std::unique_ptr<Node> element(const GumboNode &source)
    {
        auto node = bareElement(source);
        appendChildren(*node, source.v.element.children, 0);
        return node;
    }

    // Copies gumbo's nodes below `parent` (at `depth` in the tree), without recursion. As a
    // browser does, an element that would stand deeper than kMaxNesting is put beside its
    // parent instead of inside it.
    void appendChildren(Node &parent, const GumboVector &children, int depth)
    {
        struct Pending {
            const GumboVector *children;
            unsigned next;
            Node *target;
            int depth; // the target's
        };
        std::vector<Pending> pending{{&children, 0, &parent, depth}};
        while (!pending.empty()) {
            Pending &top = pending.back();
            if (top.next == top.children->length) {
                pending.pop_back();
                continue;
            }
            const auto *child = static_cast<const GumboNode *>(top.children->data[top.next++]);
            Node *target = top.target;
            const int targetDepth = top.depth;
            switch (child->type) {
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE: {
                const bool tooDeep = targetDepth >= kMaxNesting && target->m_parent;
                m_capped = m_capped || tooDeep;
                Node *into = tooDeep ? target->m_parent : target;
                into->appendChild(bareElement(*child));
                pending.push_back({&child->v.element.children, 0, into->m_children.back().get(),
                                   tooDeep ? targetDepth : targetDepth + 1});
                break;
            }
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_CDATA:
            case GUMBO_NODE_WHITESPACE:
                target->appendChild(
                    std::make_unique<Node>(m_document, Node::Kind::Text, QString::fromUtf8(child->v.text.text)));
                break;
            case GUMBO_NODE_COMMENT:
                target->appendChild(
                    std::make_unique<Node>(m_document, Node::Kind::Comment, QString::fromUtf8(child->v.text.text)));
                break;
            case GUMBO_NODE_DOCUMENT:
                break;
            }
        }
    }

    // Whether an element had to be put beside its parent.
    bool capped() const { return m_capped; }

    // Sets the controls' state from their markup: values, ticks and the selected option.
    static void initialiseControls(Node &node)
    {
        if (node.isElement("input")) {
            node.m_value = node.attribute(QStringLiteral("value"));
            node.m_checked = node.hasAttribute(QStringLiteral("checked"));
        } else if (node.isElement("textarea")) {
            node.m_value = node.textContent();
        } else if (node.isElement("option")) {
            node.m_selected = node.hasAttribute(QStringLiteral("selected"));
        }
        for (const auto &child : node.m_children)
            initialiseControls(*child);
        if (node.isElement("select") && !node.hasAttribute(QStringLiteral("multiple")))
            keepOneSelected(node);
    }

private:
    std::unique_ptr<Node> bareElement(const GumboNode &source) const
    {
        const GumboElement &e = source.v.element;
        auto node = std::make_unique<Node>(m_document, Node::Kind::Element, tagName(e));
        for (unsigned i = 0; i < e.attributes.length; ++i) {
            const auto *a = static_cast<const GumboAttribute *>(e.attributes.data[i]);
            node->m_attributes.append({QString::fromUtf8(a->name), QString::fromUtf8(a->value)});
        }
        return node;
    }

    // A single-choice list shows one option: the last one marked selected, else the first.
    static void keepOneSelected(Node &select)
    {
        const QList<Node *> options = select.options();
        Node *chosen = nullptr;
        for (Node *option : options)
            if (option->m_selected)
                chosen = option;
        if (!chosen && !options.isEmpty())
            chosen = options.first();
        for (Node *option : options)
            option->m_selected = option == chosen;
    }

    static QString tagName(const GumboElement &e)
    {
        if (e.tag != GUMBO_TAG_UNKNOWN)
            return QString::fromUtf8(gumbo_normalized_tagname(e.tag));
        GumboStringPiece original = e.original_tag;
        gumbo_tag_from_original_text(&original);
        return QString::fromUtf8(original.data, qsizetype(original.length)).toLower();
    }

    Document &m_document;
    bool m_capped = false;
};

namespace {

struct GumboOutputDeleter {
    void operator()(GumboOutput *output) const { gumbo_destroy_output(&kGumboDefaultOptions, output); }
};
using GumboTree = std::unique_ptr<GumboOutput, GumboOutputDeleter>;

GumboTree parse(const QByteArray &utf8, GumboTag fragmentContext)
{
    GumboOptions options = kGumboDefaultOptions;
    options.fragment_context = fragmentContext;
    return GumboTree(gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size())));
}

bool isVoidElement(const QString &tag)
{
    static const QStringList voids = {QStringLiteral("area"),    QStringLiteral("base"),  QStringLiteral("basefont"),
                                      QStringLiteral("bgsound"), QStringLiteral("br"),    QStringLiteral("col"),
                                      QStringLiteral("embed"),   QStringLiteral("frame"), QStringLiteral("hr"),
                                      QStringLiteral("img"),     QStringLiteral("input"), QStringLiteral("keygen"),
                                      QStringLiteral("link"),    QStringLiteral("meta"),  QStringLiteral("param"),
                                      QStringLiteral("source"),  QStringLiteral("track"), QStringLiteral("wbr")};
    return voids.contains(tag);
}

// Elements whose text is written as it is, without entities.
bool isRawTextElement(const QString &tag)
{
    static const QStringList raw = {QStringLiteral("script"),   QStringLiteral("style"),   QStringLiteral("xmp"),
                                    QStringLiteral("iframe"),   QStringLiteral("noembed"), QStringLiteral("noframes"),
                                    QStringLiteral("plaintext")};
    return raw.contains(tag);
}

void appendEscaped(QString &out, const QString &text, bool attributeValue)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case 0x00A0:
            out += QStringLiteral("&nbsp;");
            break;
        case u'"':
            out += attributeValue ? QStringLiteral("&quot;") : QStringLiteral("\"");
            break;
        case u'<':
            out += attributeValue ? QStringLiteral("<") : QStringLiteral("&lt;");
            break;
        case u'>':
            out += attributeValue ? QStringLiteral(">") : QStringLiteral("&gt;");
            break;
        default:
            out += c;
        }
    }
}

// Elements a browser never renders, whatever they hold: the page's templates, fallbacks
// for features it has (scripts, frames, plug-ins, canvas and media), the text inside a
// frame (the frame shows another document), metadata and a closed dialog. Written with
// their content they would let a page pass markup it never shows for what it says. An
// element the page's style takes out (display:none, or the hidden attribute where no style
// sets display) is not rendered either.
bool isNeverShown(const Node &node, const PageStyle &style)
{
    static const QStringList tags = {
        QStringLiteral("script"),   QStringLiteral("style"),    QStringLiteral("template"), QStringLiteral("noscript"),
        QStringLiteral("noframes"), QStringLiteral("noembed"),  QStringLiteral("iframe"),   QStringLiteral("title"),
        QStringLiteral("datalist"), QStringLiteral("head"),     QStringLiteral("meta"),     QStringLiteral("link"),
        QStringLiteral("base"),     QStringLiteral("basefont"), QStringLiteral("param"),    QStringLiteral("rp"),
        QStringLiteral("canvas"),   QStringLiteral("video"),    QStringLiteral("audio"),    QStringLiteral("object")};
    if (tags.contains(node.tag()) || (node.isElement("dialog") && !node.hasAttribute(QStringLiteral("open"))))
        return true;
    const QString display = style.value(node, QLatin1String("display"));
    return display == QLatin1String("none") || (display.isEmpty() && node.hasAttribute(QStringLiteral("hidden")));
}

// Whether an element is visible, given whether its parent is: visibility is inherited, and
// an element may hide itself or show itself inside a hidden one.
bool isVisible(const Node &node, bool parentVisible, const PageStyle &style)
{
    const QString visibility = style.value(node, QLatin1String("visibility"));
    if (visibility == QLatin1String("hidden") || visibility == QLatin1String("collapse"))
        return false;
    return visibility == QLatin1String("visible") || parentVisible;
}

// The text a browser shows in place of an element without content: an image's alternative
// text (shown where the image is not loaded), a button's label and a text field's value.
QString shownText(const Node &node)
{
    static const QStringList valueNotShown = {
        QStringLiteral("hidden"), QStringLiteral("password"), QStringLiteral("checkbox"), QStringLiteral("radio"),
        QStringLiteral("file"),   QStringLiteral("image"),    QStringLiteral("color"),    QStringLiteral("range")};
    if (node.isElement("img") || node.isElement("area") ||
        (node.isElement("input") && node.inputType() == QLatin1String("image")))
        return node.attribute(QStringLiteral("alt"));
    if (node.isElement("input") && !valueNotShown.contains(node.inputType()))
        return node.attribute(QStringLiteral("value"));
    return {};
}

// A closed <details> shows its first <summary> only; nullptr when it shows none.
const Node *shownSummary(const Node &details)
{
    for (const auto &child : details.children())
        if (child->isElement("summary"))
            return child.get();
    return nullptr;
}

// The address in an onclick of the form [javascript:]location.href='X' (or "X").
QString locationHrefTarget(const QString &onclick)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(?:javascript:)?\s*(?:window\.|document\.)?location\.href\s*=\s*(['"])(.*?)\1\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(onclick);
    return match.hasMatch() ? match.captured(2) : QString();
}

// An element as an error message names it: its tag and its name attribute.
QString elementText(const Node &node)
{
    return QStringLiteral("<%1 name=\"%2\">").arg(node.tag(), node.attribute(QStringLiteral("name")));
}

} // namespace

Node::Node(Document &document, Kind kind, QString tagOrText)
    : m_document(document), m_kind(kind), m_data(std::move(tagOrText))
{
}

bool Node::isElement(const char *tag) const
{
    return m_kind == Kind::Element && (!tag || m_data == QLatin1String(tag));
}

QString Node::attribute(const QString &name) const
{
    for (const auto &[key, value] : m_attributes)
        if (key == name)
            return value;
    return {};
}

bool Node::hasAttribute(const QString &name) const
{
    for (const auto &attribute : m_attributes)
        if (attribute.first == name)
            return true;
    return false;
}

void Node::appendChild(std::unique_ptr<Node> child)
{
    child->m_parent = this;
    m_children.push_back(std::move(child));
}

QString Node::innerHTML() const
{
    QString out;
    appendChildrenMarkup(out, nullptr, true);
    return out;
}

QString Node::contentHTML() const
{
    const PageStyle style(*m_document.m_root);
    // What hides an ancestor (the body, the page itself) hides the content too.
    std::vector<const Node *> chain;
    for (const Node *up = this; up; up = up->m_parent)
        chain.push_back(up);
    bool visible = true;
    for (auto node = chain.rbegin(); node != chain.rend(); ++node) {
        if ((*node)->isElement() && isNeverShown(**node, style))
            return {};
        if ((*node)->m_parent && (*node)->m_parent->isElement("details") &&
            !(*node)->m_parent->hasAttribute(QStringLiteral("open")) && shownSummary(*(*node)->m_parent) != *node)
            return {};
        visible = isVisible(**node, visible, style);
    }
    QString out;
    appendChildrenMarkup(out, &style, visible);
    return out;
}

void Node::appendChildrenMarkup(QString &out, const PageStyle *content, bool visible) const
{
    const bool folded = content && isElement("details") && !hasAttribute(QStringLiteral("open"));
    const Node *summary = folded ? shownSummary(*this) : nullptr;
    for (const auto &child : m_children)
        if (!folded || child.get() == summary)
            child->serialise(out, content, visible);
}

void Node::serialise(QString &out, const PageStyle *content, bool visible) const
{
    if (content && (m_kind == Kind::Comment || (m_kind == Kind::Element && isNeverShown(*this, *content))))
        return;
    switch (m_kind) {
    case Kind::Text:
        if (!visible)
            return;
        if (m_parent && isRawTextElement(m_parent->m_data))
            out += m_data;
        else
            appendEscaped(out, m_data, false);
        return;
    case Kind::Comment:
        out += QStringLiteral("<!--") + m_data + QStringLiteral("-->");
        return;
    case Kind::Element:
        break;
    }
    if (content)
        visible = isVisible(*this, visible, *content);
    if (visible) {
        out += u'<' + m_data;
        for (const auto &[name, value] : m_attributes) {
            out += u' ' + name;
            if (content)
                continue; // a value is never shown text (what is, follows the tag)
            out += QStringLiteral("=\"");
            appendEscaped(out, value, true);
            out += u'"';
        }
        out += u'>';
        if (content)
            appendEscaped(out, shownText(*this), false);
        if (isVoidElement(m_data))
            return;
    }
    appendChildrenMarkup(out, content, visible);
    if (visible)
        out += QStringLiteral("</") + m_data + u'>';
}

QString Node::textContent() const
{
    if (m_kind == Kind::Text)
        return m_data;
    QString text;
    if (m_kind == Kind::Element)
        for (const auto &child : m_children)
            text += child->textContent();
    return text;
}

QString Node::inputType() const
{
    const QString type = attribute(QStringLiteral("type")).toLower();
    return type.isEmpty() ? QStringLiteral("text") : type;
}

QString Node::value() const
{
    if (isElement("input") || isElement("textarea"))
        return m_value;
    if (isElement("option"))
        return hasAttribute(QStringLiteral("value")) ? attribute(QStringLiteral("value")) : textContent().simplified();
    if (isElement("select"))
        for (const Node *option : options())
            if (option->m_selected)
                return option->value();
    return {};
}

void Node::setValue(const QString &value)
{
    static const QStringList notTyped = {QStringLiteral("checkbox"), QStringLiteral("radio"),  QStringLiteral("submit"),
                                         QStringLiteral("image"),    QStringLiteral("button"), QStringLiteral("reset"),
                                         QStringLiteral("file")};
    if (!(isElement("input") && !notTyped.contains(inputType())) && !isElement("textarea"))
        throw DomError(elementText(*this) + QStringLiteral("には値を入力できません"));
    m_value = value;
}

Node *Node::form() const
{
    for (Node *up = m_parent; up; up = up->m_parent)
        if (up->isElement("form"))
            return up;
    // A <form> opened inside a table is left empty by the HTML parser, and the controls
    // after it still belong to it: the owner is the last form before this node if that one
    // is empty.
    Node *owner = nullptr;
    bool reached = false;
    const std::function<void(Node &)> walk = [&](Node &node) {
        for (const auto &child : node.m_children) {
            if (reached)
                return;
            if (child.get() == this) {
                reached = true;
                return;
            }
            if (child->isElement("form"))
                owner = child->m_children.empty() ? child.get() : nullptr;
            walk(*child);
        }
    };
    walk(*m_document.m_root);
    return reached ? owner : nullptr;
}

void Node::collectRadioGroup(const Node *root, QList<Node *> &group) const
{
    for (const auto &child : root->m_children) {
        if (child->isElement("input") && child->inputType() == QLatin1String("radio") &&
            child->attribute(QStringLiteral("name")) == attribute(QStringLiteral("name")) && child->form() == form())
            group.append(child.get());
        collectRadioGroup(child.get(), group);
    }
}

void Node::setChecked(bool checked)
{
    const QString type = isElement("input") ? inputType() : QString();
    if (type != QLatin1String("checkbox") && type != QLatin1String("radio"))
        throw DomError(elementText(*this) + QStringLiteral("はチェックできません"));
    if (checked && type == QLatin1String("radio")) {
        QList<Node *> group;
        collectRadioGroup(m_document.m_root.get(), group);
        for (Node *other : group)
            other->m_checked = false;
    }
    m_checked = checked;
}

QList<Node *> Node::options() const
{
    QList<Node *> found;
    const std::function<void(const Node &)> collect = [&](const Node &node) {
        for (const auto &child : node.m_children) {
            if (child->isElement("option"))
                found.append(child.get());
            else if (child->isElement("optgroup"))
                collect(*child);
        }
    };
    if (isElement("select"))
        collect(*this);
    return found;
}

void Node::setSelected(bool selected)
{
    if (!isElement("option"))
        throw DomError(elementText(*this) + QStringLiteral("は選択肢ではありません"));
    Node *select = m_parent;
    while (select && !select->isElement("select"))
        select = select->m_parent;
    if (selected && select && !select->hasAttribute(QStringLiteral("multiple")))
        for (Node *option : select->options())
            option->m_selected = false;
    m_selected = selected;
}

void Node::click()
{
    if (isElement("a")) {
        if (hasAttribute(QStringLiteral("href")))
            m_document.setLocation(attribute(QStringLiteral("href")));
        return;
    }
    const bool submitsInput =
        isElement("input") && (inputType() == QLatin1String("submit") || inputType() == QLatin1String("image"));
    const QString buttonType = attribute(QStringLiteral("type")).toLower();
    const bool submitsButton = isElement("button") && (buttonType.isEmpty() || buttonType == QLatin1String("submit"));
    if (submitsInput || submitsButton) {
        if (Node *owner = form())
            owner->submitForm(this);
        return;
    }
    if (isElement("input") && inputType() == QLatin1String("button")) {
        const QString target = locationHrefTarget(attribute(QStringLiteral("onclick")));
        if (!target.isEmpty())
            m_document.setLocation(target);
        return;
    }
    if (isElement("input") && (inputType() == QLatin1String("checkbox") || inputType() == QLatin1String("radio")))
        setChecked(inputType() == QLatin1String("radio") || !m_checked);
}

void Node::submit()
{
    if (!isElement("form"))
        throw DomError(elementText(*this) + QStringLiteral("はフォームではありません"));
    submitForm(nullptr);
}

void Node::submitForm(const Node *submitter)
{
    const QByteArray body = urlEncodedForm(formDataSet(*this, submitter), m_document.charset());
    QUrl action = m_document.url();
    if (hasAttribute(QStringLiteral("action")) && !attribute(QStringLiteral("action")).trimmed().isEmpty())
        action = m_document.url().resolved(QUrl(attribute(QStringLiteral("action")).trimmed()));
    NavigationRequest request;
    request.form = true;
    if (attribute(QStringLiteral("method")).compare(u"post", Qt::CaseInsensitive) == 0) {
        request.post = true;
        request.body = body;
        request.url = action;
    } else {
        action.setQuery(QString::fromLatin1(body), QUrl::StrictMode);
        request.url = action;
    }
    m_document.navigate(request);
}

Document::Document(const QString &html, const QUrl &url, QByteArray charset, Navigator navigator)
    : m_url(url), m_charset(std::move(charset)), m_navigator(std::move(navigator))
{
    const NestingCapped page = capNesting(html.toUtf8(), kMaxNesting);
    const GumboTree tree = parse(page.html, GUMBO_TAG_LAST);
    DomBuilder builder(*this);
    m_root = builder.element(*tree->root);
    m_nestingCapped = page.capped || builder.capped();
    DomBuilder::initialiseControls(*m_root);
    for (const auto &child : m_root->m_children)
        if (child->isElement("body"))
            m_body = child.get();
    if (!m_body) { // a frameset page: an empty body of our own
        m_root->appendChild(std::make_unique<Node>(*this, Node::Kind::Element, QStringLiteral("body")));
        m_body = m_root->m_children.back().get();
    }
}

Document::Document(const QUrl &url, Navigator navigator) : Document(QString(), url, "CP932", std::move(navigator)) {}

void Document::setBodyInnerHTML(const QString &html)
{
    const NestingCapped content = capNesting(html.toUtf8(), kMaxNesting);
    const GumboTree tree = parse(content.html, GUMBO_TAG_BODY);
    m_body->m_children.clear();
    DomBuilder builder(*this);
    builder.appendChildren(*m_body, tree->root->v.element.children, 1);
    m_nestingCapped = m_nestingCapped || content.capped || builder.capped();
    DomBuilder::initialiseControls(*m_body);
}

QList<Node *> Document::getElementsByName(const QString &name) const
{
    QList<Node *> found;
    const std::function<void(Node &)> walk = [&](Node &node) {
        for (const auto &child : node.m_children) {
            if (child->isElement() && child->attribute(QStringLiteral("name")) == name &&
                child->hasAttribute(QStringLiteral("name")))
                found.append(child.get());
            walk(*child);
        }
    };
    walk(*m_root);
    return found;
}

Node &Document::elementNamed(const QString &name) const
{
    const QList<Node *> found = getElementsByName(name);
    if (found.isEmpty())
        throw DomError(QStringLiteral("画面に名前が「") + name + QStringLiteral("」の要素がありません"));
    return *found.first();
}

void Document::setLocation(const QString &url)
{
    navigate({m_url.resolved(QUrl(url.trimmed())), false, {}});
}

void Document::navigate(const NavigationRequest &request) const
{
    if (m_navigator)
        m_navigator(request);
}

} // namespace browser
