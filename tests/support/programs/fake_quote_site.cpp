// The fake quote site as a program, so the whole of Nimbra can be pointed at it:
//
//   build/tests/support/fake_quote_site --port 8080 --seed 1 --stocks 36 --days 60 --master build/bin
//
// then put the printed [Hosts] lines into <program directory>/Nimbra_site.ini. With
// --master DIR it first stores the generated stocks in the stock master of the databases
// in DIR, as a master rebuild from this site would (again on the same DIR: the stocks
// already there are brought up to date).
// With --fail NAME every page request fails that way (see FakeQuoteSite::failureNames:
// error-page, changed, truncated, wrong-charset, other-stock, off-site, huge, ...), with
// --fail-count N only the next N requests. With --bracketed-codes the stock header writes
// its code as "&lt;7203&gt;" and the history pages name no code.
// It serves until interrupted (Ctrl+C or SIGTERM).
#include "core/modDB.h"
#include "core/modGlobal.h"
#include "support/FakeMaster.h"
#include "support/FakeProgramArgs.h"
#include "support/FakeQuoteSite.h"

#include <cstdio>
#include <stdexcept>

namespace {

// Stores the generated stocks in the stock master of the databases in `directory`.
void storeMaster(const FakeMarket &market, const QString &directory)
{
    try {
        openWorkDatabase(gcnDB, directory + QStringLiteral("/Nimbra.mdb"),
                         directory + QStringLiteral("/Nimbra_mst.mdb"));
        storeFakeMaster(market);
        gcnDB.close();
    } catch (const std::exception &e) {
        throw std::runtime_error(std::string("cannot store the stock master: ") + e.what());
    }
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<FakeProgramArgs> args = FakeProgramArgs::parse(
        argc, argv, {QStringLiteral("--master"), QStringLiteral("--fail")}, {QStringLiteral("--bracketed-codes")},
        {QStringLiteral("--port"), QStringLiteral("--seed"), QStringLiteral("--stocks"), QStringLiteral("--days"),
         QStringLiteral("--fail-count")});
    const std::optional<FakeQuoteSite::Failure> failure =
        args && args->values.contains(QStringLiteral("--fail"))
            ? FakeQuoteSite::failureNamed(args->values.value(QStringLiteral("--fail")))
            : std::nullopt;
    if (!args || (args->values.contains(QStringLiteral("--fail")) && !failure)) {
        std::fprintf(stderr,
                     "usage: %s [--port N] [--seed S] [--stocks N] [--days N] [--master DIR] [--fail NAME]"
                     " [--fail-count N] [--bracketed-codes]\nfailures: %s\n",
                     argv[0], qPrintable(FakeQuoteSite::failureNames().join(QStringLiteral(", "))));
        return 2;
    }
    FakeMarket::Options options;
    if (args->values.contains(QStringLiteral("--seed")))
        options.seed = args->values.value(QStringLiteral("--seed")).toULongLong();
    options.stocks = args->number(QStringLiteral("--stocks"), options.stocks);
    options.days = args->number(QStringLiteral("--days"), options.days);
    FakeQuoteSite site(options);
    if (failure)
        site.setFailure(*failure, args->number(QStringLiteral("--fail-count"), -1));
    if (args->switches.contains(QStringLiteral("--bracketed-codes")))
        site.setCodeMarks(fakepages::CodeMarks::AngleBrackets);
    return serveUntilStopped(
        [&] {
            site.start(args->number(QStringLiteral("--port"), 8080));
            const FakeMarket &market = site.market();
            if (args->values.contains(QStringLiteral("--master")))
                storeMaster(market, args->values.value(QStringLiteral("--master")));
            return QStringLiteral("fake quote site on %1: %2 stocks, %3 to %4\n%5")
                .arg(site.baseUrl())
                .arg(market.stocks().size())
                .arg(market.firstDay().toString(Qt::ISODate), market.lastDay().toString(Qt::ISODate),
                     site.hostsLines().trimmed());
        },
        [&] { site.stop(); });
}
