// The page reader against the HTML parser, on the hostile shapes of page and an ordinary
// one: for each page, the time to read it as the broker driver does (the nesting cap, the
// parse, the tree, the content markup, the text and the page view's text) and the HTML
// parser's own time on the same page, with their ratio ("ratio") in one run. The goal is a
// ratio within a small factor (at most 5) on every shape.
//
// The parser alone is quadratic on deep nesting (some 20 s for 100,000 levels of <div>, so
// this program takes half a minute); the reader caps the nesting before the parser sees
// the page. "ratio_capped" compares the reader with the parser on the page as the reader
// hands it over: on the deep page that is a few hundred levels, and the reader's time is
// its linear scan of the whole page.
#include "platform/browser/Dom.h"
#include "platform/browser/NestingCap.h"
#include "platform/ui/BrowserView.h"
#include "support/BenchSupport.h"

#include <benchmark/benchmark.h>
#include <gumbo.h>

namespace {

constexpr int kMaxNesting = 512; // the reader's limit

QString page(const QString &body)
{
    return QStringLiteral("<html><head><title>t</title></head><body>") + body + QStringLiteral("</body></html>");
}

QString deepNesting()
{
    return page(QStringLiteral("<div>").repeated(100000) + QStringLiteral("ご注文を受け付けました") +
                QStringLiteral("</div>").repeated(100000));
}

QString closedDetails()
{
    return page(QStringLiteral("<details><summary>s</summary>") + QStringLiteral("<p>x</p>").repeated(100000) +
                QStringLiteral("</details>"));
}

QString bigTable()
{
    const QString row = QStringLiteral("<tr><td class=\"c\">7203</td><td class=\"n\">1,234,567</td></tr>\n");
    return page(QStringLiteral("<table>") + row.repeated(5 * 1024 * 1024 / int(row.toUtf8().size())) +
                QStringLiteral("</table>"));
}

QString reopenedFormatting()
{
    QString body;
    for (int i = 0; i < 50000; ++i)
        body += QStringLiteral("<p><b id=\"%1\">x</p>").arg(i);
    return page(body);
}

// An acceptance page of the broker's shape, a few kilobytes.
QString acceptance()
{
    QString rows;
    for (const char *label : {"受付時間", "注文番号", "取引", "銘柄コード", "銘柄", "市場", "株数", "価格", "期間"})
        rows += QStringLiteral("<tr>\n<td class=\"l\">") + QString::fromUtf8(label) +
                QStringLiteral("</td>\n  <td class=\"v\">1</td>\n</tr>\n");
    return page(QStringLiteral("<style>.error{display:none}</style><p class=\"ok\">ご注文を受け付けました。</p>\n"
                               "<table class=\"summary\">\n") +
                rows + QStringLiteral("</table>"));
}

// `unparsable`: the parser cannot take the page as it came (it would open a copy of every
// formatting element in every paragraph: billions of elements); it is timed on the page as
// the reader hands it over only.
void readPage(benchmark::State &state, const QString &html, bool unparsable = false)
{
    const auto parse = [](const QByteArray &markup) {
        return bench::secondsOf([&] {
            GumboOutput *tree =
                gumbo_parse_with_options(&kGumboDefaultOptions, markup.constData(), std::size_t(markup.size()));
            gumbo_destroy_output(&kGumboDefaultOptions, tree);
        });
    };
    const QByteArray handed = browser::capNesting(html.toUtf8(), kMaxNesting).html;
    const double parserOnThePage = parse(unparsable ? handed : html.toUtf8());
    double parser = 0;
    double reader = 0;
    for (auto _ : state) {
        parser += bench::secondsOf([&] {
            GumboOutput *tree =
                gumbo_parse_with_options(&kGumboDefaultOptions, handed.constData(), std::size_t(handed.size()));
            gumbo_destroy_output(&kGumboDefaultOptions, tree);
        });
        const double read = bench::secondsOf([&] {
            const browser::Document document(html, QUrl(QStringLiteral("http://127.0.0.1/")), "CP932", {});
            benchmark::DoNotOptimize(document.bodyContentHTML());
            benchmark::DoNotOptimize(document.body().textContent());
            benchmark::DoNotOptimize(browser::pageText(document.body()));
        });
        reader += read;
        state.SetIterationTime(read);
    }
    const double runs = double(state.iterations());
    state.counters["reader_ms"] = reader / runs * 1000;
    state.counters["parser_ms"] = parserOnThePage * 1000;
    state.counters["ratio"] = reader / runs / parserOnThePage;
    state.counters["ratio_capped"] = reader / parser;
}

BENCHMARK_CAPTURE(readPage, nesting_100000, deepNesting())->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(readPage, closed_details_100000, closedDetails())->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(readPage, table_5MB, bigTable())->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(readPage, reopened_formatting_50000, reopenedFormatting(), true)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(readPage, acceptance_page, acceptance())->UseManualTime()->Iterations(200);

} // namespace

BENCHMARK_MAIN();
