#include "platform/browser/Dom.h"
#include "platform/browser/NestingCap.h"
#include "platform/ui/BrowserView.h"

#include <gtest/gtest.h>

using browser::Document;

namespace {

QString nested(const QString &open, const QString &close, int depth, const QString &inside)
{
    return open.repeated(depth) + inside + close.repeated(depth);
}

QString numbered(const QString &pattern, int times)
{
    QString out;
    for (int i = 0; i < times; ++i)
        out += pattern.arg(i);
    return out;
}

const QString kText = QStringLiteral("ご注文を受け付けました");
const QString kField = QStringLiteral("<input name=\"probe\" value=\"1\">");

struct Shape {
    const char *name;
    QString body;
    bool capped;      // nested deeper than a browser keeps
    QString shows;    // a text the content must hold
    QString notShown; // a text it must not
};

// Pages built to hold the program: each is read through every walk (the tree's build, the
// content, the text, the controls, the page view) without a crash, and the legitimate page
// of each shape beside it reads unchanged.
TEST(HostilePages, EveryShapeIsReadWithoutACrash)
{
    const QString row = QStringLiteral("<tr><td class=\"c\">7203<td class=\"n\">1,234,567</tr>\n");
    const Shape shapes[] = {
        {"100,000 nested divs",
         nested(QStringLiteral("<div>"), QStringLiteral("</div>"), 100000, kText + kField),
         true,
         kText,
         {}},
        {"200 nested divs",
         nested(QStringLiteral("<div>"), QStringLiteral("</div>"), 200, kText + kField),
         false,
         kText,
         {}},
        {"100,000 nested spans",
         nested(QStringLiteral("<span>"), QStringLiteral("</span>"), 100000, kText + kField),
         true,
         kText,
         {}},
        {"100,000 divs never closed", QStringLiteral("<div>x").repeated(100000) + kText + kField, true, kText, {}},
        {"20,000 nested tables",
         nested(QStringLiteral("<table><tr><td>"), QStringLiteral("</td></tr></table>"), 20000, kText + kField),
         true,
         kText,
         {}},
        {"blocks inside formatting, 100,000 times",
         QStringLiteral("<b><div></b>").repeated(100000) + kText + kField,
         true,
         kText,
         {}},
        {"formatting opened again in 50,000 paragraphs",
         numbered(QStringLiteral("<p><b id=\"%1\">x</p>"), 50000) + kText + kField,
         true,
         kText,
         {}},
        {"a hidden block at depth 100,000",
         nested(QStringLiteral("<div>"), QStringLiteral("</div>"), 100000,
                QStringLiteral("<div hidden>秘</div>") + kText + kField),
         true,
         kText,
         {}},
        {"100,000 children of a closed details",
         QStringLiteral("<details><summary>s</summary>") + QStringLiteral("<p>隠</p>").repeated(100000) +
             QStringLiteral("</details>") + kText + kField,
         false, kText, QStringLiteral("隠")},
        {"a closed details of 3 children",
         QStringLiteral("<details><summary>s</summary><p>隠</p><p>隠</p></details>") + kText + kField, false, kText,
         QStringLiteral("隠")},
        {"a 5 MB table",
         QStringLiteral("<table>") + row.repeated(5 * 1024 * 1024 / int(row.toUtf8().size())) +
             QStringLiteral("</table>") + kText + kField,
         false,
         QStringLiteral("1,234,567"),
         {}},
        {"a table of 3 rows",
         QStringLiteral("<table>") + row.repeated(3) + QStringLiteral("</table>") + kText + kField,
         false,
         QStringLiteral("1,234,567"),
         {}},
    };
    for (const Shape &shape : shapes) {
        const Document page(QStringLiteral("<html><body>") + shape.body + QStringLiteral("</body></html>"),
                            QUrl(QStringLiteral("http://127.0.0.1/")), "CP932", {});
        EXPECT_EQ(page.nestingCapped(), shape.capped) << shape.name;
        const QString content = page.bodyContentHTML();
        EXPECT_TRUE(content.contains(shape.shows)) << shape.name;
        if (!shape.notShown.isEmpty()) {
            EXPECT_FALSE(content.contains(shape.notShown)) << shape.name;
        }
        EXPECT_TRUE(page.bodyInnerHTML().contains(shape.shows)) << shape.name;
        EXPECT_TRUE(page.body().textContent().contains(shape.shows)) << shape.name;
        EXPECT_TRUE(browser::pageText(page.body()).contains(shape.shows)) << shape.name;
        EXPECT_EQ(page.elementNamed(QStringLiteral("probe")).value(), QStringLiteral("1")) << shape.name;
    }
}

TEST(HostilePages, DeepContentSetIntoTheBodyIsCappedToo)
{
    Document page(QStringLiteral("<html><body><p>x</p></body></html>"), QUrl(QStringLiteral("http://127.0.0.1/")),
                  "CP932", {});
    page.setBodyInnerHTML(nested(QStringLiteral("<div>"), QStringLiteral("</div>"), 100000, kText));
    EXPECT_TRUE(page.nestingCapped());
    EXPECT_TRUE(page.bodyContentHTML().contains(kText));
}

// Markup a browser nests shallowly, however long, reaches the parser as it came: the ends
// the HTML rules imply for cells, rows, list items, paragraphs and options are counted.
TEST(HostilePages, PagesABrowserNestsShallowlyAreNotCut)
{
    const QString legitimate[] = {
        QStringLiteral("<table>") + QStringLiteral("<tr><td><font size=2>x<td><b>y").repeated(2000) +
            QStringLiteral("</table>"),
        QStringLiteral("<ul>") + QStringLiteral("<li>item").repeated(2000) + QStringLiteral("</ul>"),
        QStringLiteral("<p>paragraph<div>block</div>").repeated(2000),
        QStringLiteral("<select>") + QStringLiteral("<option>o").repeated(2000) + QStringLiteral("</select>"),
        QStringLiteral("<dl><dt>t<dd>d</dl><a href=x>link<a href=y>next").repeated(2000),
        QStringLiteral("<h1>a<h2>b<br><img src=x><input><hr/>").repeated(2000),
        QStringLiteral("<p><b>bold<font size=2>small</p>").repeated(2000),
        QStringLiteral("<svg><path d=\"M0 0\"/><g/></svg><script>if (a<b) '<div>';</script>").repeated(2000),
        QStringLiteral("<!-- <div> --><style>div>p{}</style><title><div></title><span title=\"<div>\">s</span>")
            .repeated(2000),
    };
    for (const QString &page : legitimate) {
        const QByteArray html = page.toUtf8();
        const browser::NestingCapped read = browser::capNesting(html, 512);
        EXPECT_FALSE(read.capped) << page.left(60).toStdString();
        EXPECT_EQ(read.html, html);
    }
    // Past the limit a start tag and its end tag are left out, the text between kept.
    const browser::NestingCapped deep = browser::capNesting(
        nested(QStringLiteral("<div>"), QStringLiteral("</div>"), 3, QStringLiteral("t")).toUtf8(), 2);
    EXPECT_TRUE(deep.capped);
    EXPECT_EQ(deep.html, QByteArray("<div><div>t</div></div>"));
}

} // namespace
