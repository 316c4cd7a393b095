#include "platform/browser/Dom.h"
#include "platform/browser/FormData.h"

#include <gtest/gtest.h>

#include <optional>

using browser::Document;
using browser::NavigationRequest;
using browser::Node;

namespace {

// A page whose navigations are caught instead of made.
struct Page {
    explicit Page(const QString &html, const QByteArray &charset = "CP932")
        : document(html, QUrl(QStringLiteral("http://127.0.0.1/ETGate/page?x=1")), charset,
                   [this](const NavigationRequest &request) { navigations.append(request); })
    {
    }
    Node &named(const char *name) { return document.elementNamed(QString::fromUtf8(name)); }

    QList<NavigationRequest> navigations;
    Document document;
};

struct MarkupCase {
    const char *source;   // body content as the site sends it
    const char *expected; // the body's innerHTML
};

class BodyMarkup : public ::testing::TestWithParam<MarkupCase> {};

TEST_P(BodyMarkup, SerialisesAsThePageDriversExpect)
{
    const Page page(QStringLiteral("<html><body>") + QString::fromUtf8(GetParam().source) +
                    QStringLiteral("</body></html>"));
    EXPECT_EQ(page.document.bodyInnerHTML(), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Markup, BodyMarkup,
                         ::testing::Values(
                             // A cell with an attribute keeps "<td " with its blank; tags come out in lower case.
                             MarkupCase{"<TABLE><TR><TD CLASS=v>1</TD></TR></TABLE>",
                                        "<table><tbody><tr><td class=\"v\">1</td></tr></tbody></table>"},
                             // Attributes in source order, each after one blank, values quoted and escaped.
                             MarkupCase{"<p id=a title='say \"hi\"' class=b>x</p>",
                                        "<p id=\"a\" title=\"say &quot;hi&quot;\" class=\"b\">x</p>"},
                             // A no-break space is written as &nbsp;, text is escaped.
                             MarkupCase{"<p>a&nbsp;b &lt; c &amp; d</p>", "<p>a&nbsp;b &lt; c &amp; d</p>"},
                             // Whitespace between rows and cells is kept.
                             MarkupCase{"<table>\n<tr>\n  <td>1</td>\n</tr>\n</table>",
                                        "<table>\n<tbody><tr>\n  <td>1</td>\n</tr>\n</tbody></table>"},
                             // Void elements have no end tag.
                             MarkupCase{"a<BR>b<img src=x.gif><input type=text name=q>",
                                        "a<br>b<img src=\"x.gif\"><input type=\"text\" name=\"q\">"},
                             // Japanese text as it is; comments kept.
                             MarkupCase{"<b>現金残高</b><!-- note -->", "<b>現金残高</b><!-- note -->"},
                             // Script text is not escaped.
                             MarkupCase{"<script>if (a < b) x();</script>", "<script>if (a < b) x();</script>"}));

// What the page shows: comments, scripts and styles, wherever they stand, are left out.
TEST(BrowserDom, ContentMarkupLeavesOutCommentsScriptsAndStyles)
{
    const Page page(QStringLiteral("<html><head><style>p{}</style></head><body><!-- ご注文を受け付けました -->"
                                   "<p>買付余力が<!-- x -->不足<script>var t = '<td >777777';</script></p>"
                                   "<style>.ok{}</style><table><tr><td >1</td></tr></table></body></html>"));
    EXPECT_EQ(page.document.bodyContentHTML(),
              QStringLiteral("<p>買付余力が不足</p><table><tbody><tr><td>1</td></tr></tbody></table>"));
    EXPECT_TRUE(page.document.bodyInnerHTML().contains(QStringLiteral("777777"))) << "the markup keeps them";
}

struct ContentCase {
    const char *source;   // body content as the site sends it
    const char *expected; // the body's content markup
};

class ShownContent : public ::testing::TestWithParam<ContentCase> {};

TEST_P(ShownContent, HoldsOnlyWhatABrowserShows)
{
    const Page page(QStringLiteral("<html><body>") + QString::fromUtf8(GetParam().source) +
                    QStringLiteral("</body></html>"));
    EXPECT_EQ(page.document.bodyContentHTML(), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Content, ShownContent,
    ::testing::Values(
        // Attributes keep their names, never their values: a value is not shown text.
        ContentCase{"<td class=v>1</td><input type=hidden value=\"ご注文を受け付けました\">", "1<input type value>"},
        // What a browser shows in place of an image, a button and a text field follows its tag.
        ContentCase{"<h1><img src=t.gif alt=\"お客様サイトへログイン\"></h1>",
                    "<h1><img src alt>お客様サイトへログイン</h1>"},
        ContentCase{"<input type=image src=b.gif alt=\"ログイン\"><map><area href=x alt=\"注文\"></map>",
                    "<input type src alt>ログイン<map><area href alt>注文</map>"},
        ContentCase{
            "<input type=submit value=\"サイトへログイン\"><input type=reset value=r><input type=button value=b>",
            "<input type value>サイトへログイン<input type value>r<input type value>b"},
        ContentCase{"<input value=\"a&lt;b\" readonly><input type=text value=t><input type=search value=s>",
                    "<input value readonly>a&lt;b<input type value>t<input type value>s"},
        ContentCase{"<input type=password value=pw><input type=checkbox value=c><input type=radio value=r>"
                    "<input type=file value=f>",
                    "<input type value><input type value><input type value><input type value>"},
        ContentCase{"<span style=\"visibility:hidden\"><img alt=x></span><div hidden><input value=y></div>", ""},
        ContentCase{"<table><tr><td class=v>1</td></tr></table>",
                    "<table><tbody><tr><td class>1</td></tr></tbody></table>"},
        // Elements a browser never renders, with everything inside them.
        ContentCase{"a<template><p>ご注文を受け付けました</p></template>b", "ab"},
        ContentCase{"a<noscript>ご注文を受け付けました</noscript>b", "ab"},
        ContentCase{"a<noframes>ご注文を受け付けました</noframes>b<noembed>x</noembed>", "ab"},
        ContentCase{"a<iframe src=x>ご注文を受け付けました</iframe>b", "ab"},
        ContentCase{"a<title>ご注文</title><datalist><option>x</option></datalist>b", "ab"},
        ContentCase{"a<dialog>ご注文</dialog><dialog open>c</dialog>b", "a<dialog open>c</dialog>b"},
        ContentCase{"<details><summary>s</summary>ご注文</details>", "<details><summary>s</summary></details>"},
        ContentCase{"<details open><summary>s</summary>t</details>", "<details open><summary>s</summary>t</details>"},
        ContentCase{"<details>a<p>b</p><summary>s</summary><summary>t</summary>c</details>",
                    "<details><summary>s</summary></details>"},
        ContentCase{"<details><p>a</p></details>", "<details></details>"},
        // Fallback content of canvas, media and plug-ins is shown only where they cannot be.
        ContentCase{"a<canvas>ご注文</canvas><video>v</video><audio>u</audio><object data=x>o</object>b", "ab"},
        // The hidden attribute, and an inline style that takes the element out of the page.
        ContentCase{"a<div hidden>ご注文</div><p hidden=\"\">x</p>b", "ab"},
        ContentCase{"a<div style=\"display:none\">ご注文</div>b", "ab"},
        ContentCase{"a<div style=\"COLOR: red; Display : None !important\">x</div>b", "ab"},
        ContentCase{"a<div style=\"display:none;display:block\">x</div>b", "a<div style>x</div>b"},
        ContentCase{"a<div style=\"display:none!important;display:block\">x</div>b", "ab"},
        ContentCase{"a<div style=\"display:inline\">x</div>b", "a<div style>x</div>b"},
        ContentCase{"a<span style=\"visibility:hidden\">x<i>y</i></span>b", "ab"},
        ContentCase{"a<span style=\"visibility: collapse\">x</span>b", "ab"},
        // An invisible element still shows a descendant that makes itself visible again.
        ContentCase{"<div style=\"visibility:hidden\">x<p style=\"visibility:visible\">y</p></div>", "<p style>y</p>"},
        // A style that merely names the words is no hiding.
        ContentCase{"<p style=\"font-family: none\" title=\"display:none\">x</p>", "<p style title>x</p>"},
        // Inline styles are read with their comments and escapes as CSS reads them.
        ContentCase{"a<div style=\"display:/**/none\">x</div>b", "ab"},
        ContentCase{"a<div style=\"display:n\\6f ne\">x</div><div style=\"d\\isplay:\\4E\\4f\\4E\\45\">y</div>b", "ab"},
        ContentCase{"a<div style=\"visibility:/* x */hidden\">x</div>b", "ab"},
        ContentCase{"a<div style=\"dis/**/play:none\">x</div><div style=\"color:red\\;display:none\">y</div>b",
                    "a<div style>x</div><div style>y</div>b"},
        // Simple rules of the page's style sheets: a tag, classes, an id.
        ContentCase{"<style>.ok{display:none}</style>a<p class=\"x ok\">ご注文</p><p class=okay>b</p>",
                    "a<p class>b</p>"},
        ContentCase{"<style>#okMessage { display : none }</style><p id=okMessage>x</p><p id=other>y</p>",
                    "<p id>y</p>"},
        ContentCase{
            "<style>/* a */ i, span.m { visibility: hidden } </style><i>x</i><span class=m>y</span><span>z</span>",
            "<span>z</span>"},
        ContentCase{
            "<style>.o\\6b{display:none} DIV#m.ok{display:none}</style><b class=ok>x</b><div id=m class=ok>y</div>",
            ""},
        // The cascade: important first, then the inline style, then id, class and tag, then order.
        ContentCase{"<style>.ok{display:none}</style><p class=ok style=\"display:block\">x</p>",
                    "<p class style>x</p>"},
        ContentCase{"<style>.ok{display:none!important}</style><p class=ok style=\"display:block\">x</p>", ""},
        ContentCase{"<style>#m{display:block} .ok{display:none}</style><p id=m class=ok>x</p>", "<p id class>x</p>"},
        ContentCase{"<style>.ok{display:none} p{display:block}</style><p class=ok>x</p>", ""},
        ContentCase{"<style>p{display:none} p{display:block}</style><p>x</p>", "<p>x</p>"},
        ContentCase{"<style>.shown{display:block}</style><p hidden class=shown>x</p>", "<p hidden class>x</p>"},
        // What the reader does not evaluate: other selectors, at-rules, sheets for another medium, templates.
        ContentCase{"<style>div .ok{display:none} p>b{display:none} [hidden]{display:none} *{display:none}"
                    "@media screen{.ok{display:none}}</style><div><b class=ok>x</b></div>",
                    "<div><b class>x</b></div>"},
        ContentCase{"<style>.ok, a:hover {display:none}</style><b class=ok>x</b>", "<b class>x</b>"},
        ContentCase{"<style media=print>.ok{display:none}</style><template><style>.ok{display:none}</style></template>"
                    "<b class=ok>x</b>",
                    "<b class>x</b>"}));

// Hiding the body or the page hides all of it; an element may still show itself inside an
// invisible body.
TEST(BrowserDom, TheBodyAndThePageHideTheirContent)
{
    const struct {
        const char *page;
        const char *expected;
    } cases[] = {
        {"<html><body>ご注文</body></html>", "ご注文"},
        {"<html><body hidden>ご注文</body></html>", ""},
        {"<html style=\"display:none\"><body>ご注文</body></html>", ""},
        {"<html><head><style>body { display: none }</style></head><body>ご注文</body></html>", ""},
        {"<html><body style=\"visibility:hidden\">ご注文<p style=\"visibility:visible\">y</p></body></html>",
         "<p style>y</p>"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Page(QString::fromUtf8(c.page)).document.bodyContentHTML(), QString::fromUtf8(c.expected)) << c.page;
}

TEST(BrowserDom, BodyMarkupSetThenGetIsTheSameAndReplacesTheNodes)
{
    Page page(QStringLiteral("<html><body><p>old</p><input name=\"q\"></body></html>"));
    const QString markup = QStringLiteral("<form name=\"f\" action=\"/a\" method=\"post\"><input type=\"button\" "
                                          "name=\"b\" value=\"●\"></form>\n<td>x</td>");
    page.document.setBodyInnerHTML(markup);
    // A cell outside a table is dropped by the HTML parser, as a browser does.
    EXPECT_EQ(page.document.bodyInnerHTML(),
              QStringLiteral("<form name=\"f\" action=\"/a\" method=\"post\"><input type=\"button\" name=\"b\" "
                             "value=\"●\"></form>\nx"));
    EXPECT_TRUE(page.document.getElementsByName(QStringLiteral("q")).isEmpty());
    EXPECT_EQ(page.document.getElementsByName(QStringLiteral("b")).size(), 1);
}

TEST(BrowserDom, ElementsByNameInPageOrderTheFirstIsTheOneNamed)
{
    Page page(QStringLiteral("<body><input name=\"n\" value=\"1\"><div><input name=\"n\" value=\"2\"></div>"
                             "<select name=\"n\"></select></body>"));
    const QList<Node *> found = page.document.getElementsByName(QStringLiteral("n"));
    ASSERT_EQ(found.size(), 3);
    EXPECT_EQ(found[0]->value(), QStringLiteral("1"));
    EXPECT_EQ(found[1]->value(), QStringLiteral("2"));
    EXPECT_EQ(found[2]->tag(), QStringLiteral("select"));
    EXPECT_EQ(&page.named("n"), found[0]);
    EXPECT_THROW(page.named("missing"), browser::DomError);
}

TEST(BrowserDom, RadioTicksAreExclusiveWithinTheirFormAndGroup)
{
    Page page(QStringLiteral("<body><form><input type=radio name=k value=0 checked><input type=radio name=k value=1>"
                             "<input type=radio name=k value=2><input type=radio name=other value=x checked></form>"
                             "<form><input type=radio name=k value=9 checked></form></body>"));
    const QList<Node *> k = page.document.getElementsByName(QStringLiteral("k"));
    k[2]->setChecked(true);
    EXPECT_FALSE(k[0]->checked());
    EXPECT_FALSE(k[1]->checked());
    EXPECT_TRUE(k[2]->checked());
    EXPECT_TRUE(k[3]->checked()) << "another form's group";
    EXPECT_TRUE(page.named("other").checked()) << "another group";
    EXPECT_THROW(page.document.body().children().front()->setChecked(true), browser::DomError);
}

TEST(BrowserDom, SelectKeepsOneOptionSelected)
{
    Page page(QStringLiteral("<body><select name=m><option value=TKY>東証<option value=OSK selected>大証"
                             "<option>NGY</select><select name=e><option value=a><option value=b></select></body>"));
    Node &markets = page.named("m");
    EXPECT_EQ(markets.value(), QStringLiteral("OSK"));
    const QList<Node *> options = markets.options();
    ASSERT_EQ(options.size(), 3);
    EXPECT_EQ(options[2]->value(), QStringLiteral("NGY")) << "an option without value has its text as value";
    options[2]->setSelected(true);
    EXPECT_FALSE(options[0]->selected());
    EXPECT_FALSE(options[1]->selected());
    EXPECT_EQ(markets.value(), QStringLiteral("NGY"));
    EXPECT_EQ(page.named("e").value(), QStringLiteral("a")) << "without a selected option the first is shown";
}

TEST(BrowserDom, TypedValuesAreStateNeverMarkup)
{
    Page page(QStringLiteral("<body><form><input type=password name=pw value=\"\"><textarea name=t>x</textarea>"
                             "<input type=checkbox name=c></form></body>"));
    page.named("pw").setValue(QStringLiteral("s3cret-pass"));
    page.named("t").setValue(QStringLiteral("typed"));
    page.named("c").setChecked(true);
    const QString markup = page.document.bodyInnerHTML();
    EXPECT_FALSE(markup.contains(QStringLiteral("s3cret-pass")));
    EXPECT_FALSE(markup.contains(QStringLiteral("typed")));
    EXPECT_FALSE(markup.contains(QStringLiteral("checked")));
    EXPECT_EQ(page.named("pw").value(), QStringLiteral("s3cret-pass"));
    EXPECT_THROW(page.named("c").setValue(QStringLiteral("v")), browser::DomError);
}

TEST(BrowserDom, FormSendsItsControlsInThePagesCode)
{
    Page page(QStringLiteral(
        "<body><form name=f action=\"/ETGate/order\" method=post>"
        "<input type=hidden name=h value=\"a b\"><input type=text name=code>"
        "<input type=text name=off disabled value=1><input type=checkbox name=c1><input type=checkbox name=c2>"
        "<input type=radio name=r value=0 checked><input type=radio name=r value=1>"
        "<select name=s><option value=TKY>T<option value=OSK></select>"
        "<input type=submit name=go value=\"送信\"><input type=submit name=other value=x></form></body>"));
    page.named("code").setValue(QStringLiteral("トヨタ&1"));
    page.named("c2").setChecked(true);
    page.document.getElementsByName(QStringLiteral("r"))[1]->setChecked(true);
    page.named("s").options()[1]->setSelected(true);
    page.named("go").click();
    ASSERT_EQ(page.navigations.size(), 1);
    const NavigationRequest &sent = page.navigations.front();
    EXPECT_TRUE(sent.post);
    EXPECT_EQ(sent.url.toString(), QStringLiteral("http://127.0.0.1/ETGate/order"));
    // トヨタ in CP932 is 83 67 83 88 83 5E; only the clicked submit button is sent.
    EXPECT_EQ(sent.body, QByteArray("h=a+b&code=%83g%83%88%83%5E%261&c2=on&r=1&s=OSK&go=%91%97%90M"));
}

TEST(BrowserDom, FormOpenedInsideATableOwnsTheControlsAfterIt)
{
    Page page(
        QStringLiteral("<body><table><form name=f action=/s method=post><tr><td><input name=a value=1>"
                       "<input type=radio name=r value=0 checked><input type=radio name=r value=1>"
                       "<input type=submit name=x value=go></td></tr></form></table>"
                       "<form name=g><input name=b value=2><input type=radio name=r value=9 checked></form></body>"));
    page.document.getElementsByName(QStringLiteral("r"))[1]->setChecked(true);
    EXPECT_TRUE(page.document.getElementsByName(QStringLiteral("r"))[2]->checked()) << "another form's group";
    page.named("x").click();
    ASSERT_EQ(page.navigations.size(), 1);
    EXPECT_EQ(page.navigations[0].body, QByteArray("a=1&r=1&x=go"));
    page.named("g").submit();
    ASSERT_EQ(page.navigations.size(), 2);
    EXPECT_EQ(page.navigations[1].url.query(), QStringLiteral("b=2&r=9"));
}

TEST(BrowserDom, GetFormPutsItsDataIntoTheQuery)
{
    Page page(QStringLiteral("<body><form action=\"find?old=1\"><input name=q value=\"7203\"></form></body>"));
    page.document.getElementsByName(QStringLiteral("q"))[0]->form()->submit();
    ASSERT_EQ(page.navigations.size(), 1);
    EXPECT_FALSE(page.navigations[0].post);
    EXPECT_EQ(page.navigations[0].url.toString(), QStringLiteral("http://127.0.0.1/ETGate/find?q=7203"));
}

struct ClickCase {
    const char *markup;                   // the body; the element clicked is named "x"
    std::optional<const char *> expected; // where the click goes ("POST <url> <body>" or "GET <url>"), or nowhere
};

class ClickKinds : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ClickKinds, GoWhereTheElementLeads)
{
    Page page(QString::fromUtf8(GetParam().markup));
    page.named("x").click();
    if (!GetParam().expected) {
        EXPECT_TRUE(page.navigations.isEmpty());
        return;
    }
    ASSERT_EQ(page.navigations.size(), 1);
    const NavigationRequest &sent = page.navigations.front();
    const QString seen = sent.post
                             ? QStringLiteral("POST ") + sent.url.toString() + u' ' + QString::fromLatin1(sent.body)
                             : QStringLiteral("GET ") + sent.url.toString();
    EXPECT_EQ(seen, QString::fromUtf8(*GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, ClickKinds,
    ::testing::Values(
        ClickCase{"<form action=/s method=post><input name=a value=1><input type=submit name=x value=go></form>",
                  "POST http://127.0.0.1/s a=1&x=go"},
        ClickCase{"<form action=/s method=post><input type=image name=x src=b.gif></form>",
                  "POST http://127.0.0.1/s x.x=0&x.y=0"},
        ClickCase{"<form action=/s method=post><button name=x value=v>go</button></form>",
                  "POST http://127.0.0.1/s x=v"},
        ClickCase{"<form name=f action=/p method=post><input type=button name=x value=b "
                  "onclick=\"javascript:location.href='/ETGate/?_ControlID=A&_PageID=B'\"></form>",
                  "GET http://127.0.0.1/ETGate/?_ControlID=A&_PageID=B"},
        ClickCase{"<input type=button name=x onclick=\"location.href='menu.html'\">",
                  "GET http://127.0.0.1/ETGate/menu.html"},
        ClickCase{"<a name=x href=\"/next?a=1\">next</a>", "GET http://127.0.0.1/next?a=1"},
        ClickCase{"<input type=button name=x onclick=\"doSomething()\">", std::nullopt},
        ClickCase{"<input type=submit name=x>", std::nullopt}, // no form
        ClickCase{"<div name=x>text</div>", std::nullopt}));

} // namespace
