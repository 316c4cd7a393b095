#include "platform/ui/BrowserView.h"

#include "platform/browser/Browser.h"

namespace browser {
namespace {

bool breaksLine(const Node &node)
{
    static const QStringList blocks = {QStringLiteral("br"), QStringLiteral("p"),     QStringLiteral("div"),
                                       QStringLiteral("tr"), QStringLiteral("li"),    QStringLiteral("h1"),
                                       QStringLiteral("h2"), QStringLiteral("h3"),    QStringLiteral("h4"),
                                       QStringLiteral("hr"), QStringLiteral("table"), QStringLiteral("form")};
    return node.isElement() && blocks.contains(node.tag());
}

void appendText(const Node &node, QString &out)
{
    if (node.kind() == Node::Kind::Text) {
        out += node.textContent().simplified();
        if (!out.isEmpty() && !out.endsWith(u'\n'))
            out += u' ';
        return;
    }
    if (!node.isElement() || node.isElement("script") || node.isElement("style"))
        return;
    if (breaksLine(node) && !out.isEmpty() && !out.endsWith(u'\n'))
        out += u'\n';
    for (const auto &child : node.children())
        appendText(*child, out);
    if (breaksLine(node) && !out.endsWith(u'\n'))
        out += u'\n';
}

} // namespace

QString pageText(const Node &body)
{
    QString out;
    appendText(body, out);
    return out.trimmed();
}

BrowserView::BrowserView(Browser &browser, QWidget *parent) : QPlainTextEdit(parent), m_browser(browser)
{
    setReadOnly(true);
    connect(&m_browser, &Browser::DocumentComplete, this, &BrowserView::showPage);
    showPage();
}

void BrowserView::showPage()
{
    setPlainText(pageText(m_browser.document().body()));
}

} // namespace browser
