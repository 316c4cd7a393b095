// The history page reader of the money site on pages built to make a reader's time grow
// with the square of their length, beside the page as the site writes it. For each page it
// times, in the same run,
//   parse:   the HTML parser (gumbo) building the page's tree, what a browser does first;
//   subject: the test of whose page it is, on the prepared text above the table;
//   read:    the whole reader (preparing, the subject test and the rows);
// and reports subject/parse and read/parse. The goal is both staying within a small factor
// (kMostTimesParse) of the parse on every page; a page beyond it is reported as an error.
#include "marketdata/PageSubject.h"
#include "marketdata/QuotePage.h"
#include "marketdata/modinfoseek.h"
#include "support/BenchSupport.h"

#include <QDate>
#include <QStringList>

#include <benchmark/benchmark.h>
#include <gumbo.h>

#include <functional>
#include <vector>

namespace {

constexpr double kMostTimesParse = 2.0;
const QString kCode = QStringLiteral("7203");

QString historyRow(const QDate &day)
{
    return QStringLiteral("<tr><th scope=\"row\">%1年%2月%3日</th><td>1,234</td><td>1,230</td><td>1,240</td>"
                          "<td>1,220</td><td>1,000,000</td><td>1,234</td></tr>\n")
        .arg(day.year())
        .arg(day.month())
        .arg(day.day());
}

QString daysBack(int count)
{
    QString rows;
    for (int i = 0; i < count; ++i)
        rows += historyRow(QDate(2200, 1, 1).addDays(-i));
    return rows;
}

QString historyPage(const QString &above, const QString &rows)
{
    return QStringLiteral("<html><head><title>トヨタ自動車 時系列</title></head><body>\n") + above +
           QStringLiteral("<table class=\"history\">\n<tr><th>日付</th><th>終値</th><th>始値</th><th>高値</th>"
                          "<th>安値</th><th>出来高</th><th>調整後終値</th></tr>\n") +
           rows + QStringLiteral("</table>\n</body></html>\n");
}

struct Shape {
    const char *name;
    std::function<QString()> page;
};

const std::vector<Shape> &shapes()
{
    static const std::vector<Shape> all = {
        {"site_page_1000_rows",
         [] { return historyPage(QStringLiteral("<h1>トヨタ自動車(7203)</h1>\n"), daysBack(1000)); }},
        {"unclosed_h1_0.4MB",
         [] {
             return historyPage(QStringLiteral("<h1>トヨタ(7203)").repeated(25'000), historyRow(QDate(2007, 3, 6)));
         }},
        {"unclosed_h1_16MB",
         [] {
             return historyPage(QStringLiteral("<h1>トヨタ(7203)").repeated(840'000), historyRow(QDate(2007, 3, 6)));
         }},
        {"unclosed_title_4MB",
         [] { return historyPage(QStringLiteral("<title>トヨタ").repeated(300'000), historyRow(QDate(2007, 3, 6))); }},
        {"open_h1_tags_4MB",
         [] { return historyPage(QStringLiteral("<h1 class=x ").repeated(350'000), historyRow(QDate(2007, 3, 6))); }},
        {"table_5MB", [] { return historyPage(QStringLiteral("<h1>トヨタ自動車(7203)</h1>\n"), daysBack(36'000)); }},
        {"one_day_again_5MB",
         [] {
             return historyPage(QStringLiteral("<h1>トヨタ自動車(7203)</h1>\n"),
                                historyRow(QDate(2007, 3, 6)).repeated(36'000));
         }},
    };
    return all;
}

void readShape(benchmark::State &state, const Shape &shape)
{
    const QString page = shape.page();
    const QByteArray bytes = page.toUtf8();
    QString above = quotepage::prepare(page);
    above.truncate(above.indexOf(QStringLiteral(">調整後終値</TH>")));
    double parse = 0;
    double subject = 0;
    double read = 0;
    for (auto _ : state) {
        parse += bench::secondsOf([&] {
            GumboOutput *output =
                gumbo_parse_with_options(&kGumboDefaultOptions, bytes.constData(), size_t(bytes.size()));
            gumbo_destroy_output(&kGumboDefaultOptions, output);
        });
        subject += bench::secondsOf([&] {
            benchmark::DoNotOptimize(namesOtherStock(above, kCode, YearSpan{2007, 2007}));
        });
        const double readOnce =
            bench::secondsOf([&] { benchmark::DoNotOptimize(readIskHistory(page, kCode, 1900, 1, 1)); });
        read += readOnce;
        state.SetIterationTime(readOnce);
    }
    const double runs = double(state.iterations());
    state.counters["MB"] = double(bytes.size()) / 1e6;
    state.counters["parse_ms"] = parse / runs * 1e3;
    state.counters["subject_ms"] = subject / runs * 1e3;
    state.counters["subject/parse"] = subject / parse;
    state.counters["read/parse"] = read / parse;
    if (subject / parse > kMostTimesParse || read / parse > kMostTimesParse)
        state.SkipWithError("the reader takes more than a small factor of the parse");
}

} // namespace

int main(int argc, char **argv)
{
    for (const Shape &shape : shapes())
        benchmark::RegisterBenchmark(shape.name, [&shape](benchmark::State &state) { readShape(state, shape); })
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
