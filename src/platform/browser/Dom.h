#pragma once

#include "platform/sys/Failure.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

// The browser's own mutable document, built from gumbo's parse tree. No script runs; the
// few script idioms the program relies on are understood by click().
//
// What the user types, ticks and selects is state of the nodes, never an attribute: the
// markup (innerHTML) shows the page as it came, so a typed password never reaches it.
namespace browser {

class Document;
class PageStyle;

// A call that does not fit the node (a value set on a <div>, a form element that is not
// on the page, ...); the message names the element. The page drivers treat it as a failed
// page step.
class DomError : public sys::Failure {
public:
    using sys::Failure::Failure;
};

// A request the document asks the browser to make: a link, a location change or a form.
struct NavigationRequest {
    QUrl url;
    bool post = false;
    QByteArray body;   // application/x-www-form-urlencoded, for a POST
    bool form = false; // a form's submission (its data in the body or the query)
};

class Node {
public:
    enum class Kind { Element, Text, Comment };

    Node(Document &document, Kind kind, QString tagOrText);
    Node(const Node &) = delete;
    Node &operator=(const Node &) = delete;

    Kind kind() const { return m_kind; }
    bool isElement(const char *tag = nullptr) const;
    QString tag() const { return m_kind == Kind::Element ? m_data : QString(); } // lower case
    Node *parent() const { return m_parent; }
    const std::vector<std::unique_ptr<Node>> &children() const { return m_children; }
    Document &document() const { return m_document; }

    // Attributes in source order.
    QString attribute(const QString &name) const;
    bool hasAttribute(const QString &name) const;
    const QList<QPair<QString, QString>> &attributes() const { return m_attributes; }

    // The markup of the children: lower-case tags, attributes as ` name="value"` in source
    // order, text escaped, U+00A0 as "&nbsp;", void elements without an end tag.
    QString innerHTML() const;
    // The markup of what a browser shows of the page: as innerHTML, but attributes without
    // their values, each image's alternative text, button's label and text field's value
    // as text after its tag, and without comments, without the elements a browser never
    // renders (script, style, template, noscript, iframe text, the fallback content of
    // canvas, video, audio and object, ...), without elements the page's style takes out
    // (the hidden attribute, display:none inline or by a simple rule of the page's style
    // sheets, see PageStyle), without the text of elements made invisible (visibility), and
    // without the folded part of a closed details. The node's ancestors count: under a
    // hidden body nothing is shown. Texts a page is read by are searched here, so markup
    // the page never shows cannot pass for its content.
    QString contentHTML() const;
    // The text of the node and everything below it.
    QString textContent() const;

    // An input's type in lower case ("text" when it has none).
    QString inputType() const;
    // The current value of a control: input, textarea, select (its selected option's
    // value) or option (its value attribute, else its text).
    QString value() const;
    // Types into an input (not a checkbox, radio, button or image) or a textarea.
    void setValue(const QString &value);
    // Ticks or unticks a checkbox or radio button; ticking a radio unticks the others of
    // its group (same name in the same form).
    void setChecked(bool checked);
    bool checked() const { return m_checked; }
    // The options of a <select> in page order.
    QList<Node *> options() const;
    // Selects an option (and deselects the others of its select).
    void setSelected(bool selected);
    bool selected() const { return m_selected; }
    // A form control's form: its nearest <form> ancestor, else the empty <form> the parser
    // left before it in a table; nullptr when it has none.
    Node *form() const;

    // Does what a click does without script: a submit or image input or a submit button
    // submits its form with itself as submitter; a type=button input whose onclick is
    // [javascript:]location.href='X' goes to X; a link goes to its href; else nothing.
    void click();
    // Submits this <form> without a submitter.
    void submit();

private:
    friend class Document;
    friend class DomBuilder;

    void appendChild(std::unique_ptr<Node> child);
    // `content`: the page's style, when only what is shown is written (see contentHTML);
    // `visible`: whether the parent is visible.
    void serialise(QString &out, const PageStyle *content, bool visible) const;
    void appendChildrenMarkup(QString &out, const PageStyle *content, bool visible) const;
    void submitForm(const Node *submitter);
    void collectRadioGroup(const Node *root, QList<Node *> &group) const;

    Document &m_document;
    Kind m_kind;
    QString m_data; // tag of an element, text of a text or comment node
    Node *m_parent = nullptr;
    QList<QPair<QString, QString>> m_attributes;
    std::vector<std::unique_ptr<Node>> m_children;

    // Control state.
    QString m_value;
    bool m_checked = false;
    bool m_selected = false;
};

class Document {
public:
    using Navigator = std::function<void(const NavigationRequest &)>;

    // Parses `html` (already decoded) as the page at `url`; `charset` (an iconv name) is the
    // page's code, in which forms are sent. `navigator` receives the page's navigations.
    Document(const QString &html, const QUrl &url, QByteArray charset, Navigator navigator);
    // An empty page ("about:blank", "about:neterror").
    Document(const QUrl &url, Navigator navigator);
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    QUrl url() const { return m_url; }
    QByteArray charset() const { return m_charset; }
    // Whether the page nested its elements deeper than a browser keeps them: elements
    // beyond the limit were left out or put beside their parent, so the page may show otherwise than
    // its markup says.
    bool nestingCapped() const { return m_nestingCapped; }
    Node &body() const { return *m_body; }

    // The body's markup (see Node::innerHTML).
    QString bodyInnerHTML() const { return m_body->innerHTML(); }
    // The body's content markup (see Node::contentHTML).
    QString bodyContentHTML() const { return m_body->contentHTML(); }
    // Replaces the body's content by `html` parsed in the body; every node of the old
    // content is gone (handles to them are invalid).
    void setBodyInnerHTML(const QString &html);

    // The elements whose name attribute is `name`, in page order.
    QList<Node *> getElementsByName(const QString &name) const;
    // The first element of that name; throws DomError naming it when there is none.
    Node &elementNamed(const QString &name) const;

    // Sends the browser to `url` (resolved against the page's address).
    void setLocation(const QString &url);

private:
    friend class Node;

    void navigate(const NavigationRequest &request) const;

    QUrl m_url;
    QByteArray m_charset;
    Navigator m_navigator;
    std::unique_ptr<Node> m_root;
    Node *m_body = nullptr;
    bool m_nestingCapped = false;
};

} // namespace browser
