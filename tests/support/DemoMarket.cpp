#include "support/DemoMarket.h"

#include "core/SettingsRecords.h"
#include "core/modDB.h"
#include "core/modGlobal.h"
#include "core/modNimbraCommon.h"
#include "core/modRegistryGet.h"
#include "core/modRegistrySet.h"
#include "initdb/DatabaseFiles.h"
#include "marketdata/modMarket.h"
#include "platform/db/Connection.h"
#include "platform/sys/Clock.h"
#include "platform/sys/ProgramDir.h"
#include "support/FakeMaster.h"
#include "trading/modReservation.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <stdexcept>

namespace {

const QString kMarker = QStringLiteral(".nimbra-demo");
const QString kMailUser = QStringLiteral("mailuser");
const QString kMailPassword = QStringLiteral("mailpass");
constexpr qint64 kTradeYen = 400000; // about what one past purchase spent

QString madeFolder(const QString &path)
{
    QDir().mkpath(path);
    return path;
}

FakeMarket::Options demoMarket(const QDate &clockDay)
{
    QDate lastDay = clockDay.addDays(-1);
    while (!isTradingDay(lastDay))
        lastDay = lastDay.addDays(-1);
    return {.seed = 27, .stocks = 36, .days = 150, .lastDay = lastDay, .exchangeCalendar = true, .dippingStocks = 6};
}

// A past trade: bought at the close of one of the first trading days of the month
// `monthsBack` months before the last day's and sold 9 trading days later, at a profit or
// a loss; or (monthsBack 0) bought a week or two before the last day and still held.
struct PastTrade {
    int monthsBack;
    enum { Profit, Loss, Held } outcome;
};

constexpr PastTrade kPastTrades[] = {
    {4, PastTrade::Profit}, {3, PastTrade::Loss}, {2, PastTrade::Profit}, {1, PastTrade::Loss}, {0, PastTrade::Held},
};

// Days the buy may be moved on when no stock fits.
constexpr size_t kBuyDayChoices = 10;

// The indexes in the market's days of the trade's buy and sell day (the last day for a
// held one), with the buy `shift` days on (back, for the held one).
std::pair<size_t, size_t> tradeDays(const FakeMarket &market, const PastTrade &trade, size_t shift)
{
    const std::vector<QDate> &days = market.days();
    if (trade.outcome == PastTrade::Held)
        return {days.size() - 7 - shift, days.size() - 1};
    const QDate month = QDate(market.lastDay().year(), market.lastDay().month(), 1).addMonths(-trade.monthsBack);
    const auto first = std::find_if(days.begin(), days.end(), [&](const QDate &d) { return d >= month; });
    const size_t buy = size_t(first - days.begin()) + 1 + shift;
    return {buy, buy + 9};
}

// Shares are bought in round lots of 100 (or of the unit where it is larger).
qint64 lotOf(const FakeStock &stock)
{
    return std::max(stock.unit, 100);
}

bool fits(const PastTrade &trade, double buy, double sell)
{
    switch (trade.outcome) {
    case PastTrade::Profit:
        return sell >= buy * 1.03;
    case PastTrade::Loss:
        return sell <= buy * 0.97;
    case PastTrade::Held: // neither the profit target nor the stop loss is reached
        return sell > buy * 0.95 && sell < buy * 1.08;
    }
    return false;
}

// The order rules the program's order preparation gives a reservation: the user's order
// settings under the fixed preset, which the program applies to them at each start.
OD presetOrderRules()
{
    BS base = sysBS;
    Sizyou markets = sysSizyou;
    SL screening = sysSL;
    OD order = sysOD;
    applyFixedPreset(base, markets, screening, order);
    return order;
}

// Writes the trade as the execution notices left it: the reservation, its buy execution
// and, for a closed trade, the sell execution that finished it. Returns the shares.
qint64 writeTrade(const FakeStock &stock, const FakeDay &buy, const FakeDay *sell, qint64 &orderNo)
{
    // The order record the program's own reservations are written from: bought and sold at
    // market, so that the held one is sold as the program sells its own.
    OD order = reservationOrder(presetOrderRules(), stock.code, stock.market,
                                int(std::max<qint64>(1, kTradeYen / (buy.close * lotOf(stock))) * lotOf(stock)));
    order.ODOrderType = 1;
    order.ODKurikaesiKai = 1;
    qint64 number = 0;
    const QDateTime bought(buy.date, QTime(9, 5));
    insertManualExecution(bought, number, order, ++orderNo, double(buy.close), order.ODKabusu);
    if (!sell)
        return order.ODKabusu;
    const QDateTime sold(sell->date, QTime(9, 5));
    db::Transaction change(gcnDB);
    gcnDB.execute(
        QStringLiteral("update ttresevation set 約定金額売 = ?, 約定株数売 = ?, 約定日付売 = ?, 実行回数売 = 1,"
                       " 処理区分 = ?, 注文番号 = ?, 更新日付 = ? where 予約番号 = ?"),
        sell->close, order.ODKabusu, sold, int(kubunSyoriZumi), ++orderNo, sold, number);
    gcnDB.execute(QStringLiteral("insert into ttcontracthistory (注文番号, 受付日時, 取引区分, 売買区分, 指成区分,"
                                 " 銘柄コード, 約定株数, 約定金額, 予約番号, 登録日付, 更新日付, 市場コード)"
                                 " values (?, ?, 1, '2', ?, ?, ?, ?, ?, ?, ?, ?)"),
                  orderNo, sold, order.ODSasiNariUri1, stock.code, order.ODKabusu, sell->close, number, sold, sold,
                  stock.market);
    change.commit();
    return order.ODKabusu;
}

// Picks a stock of plain walk for each past trade and writes it; returns the held one's
// broker holding.
FakeBrokerSite::Holding writePastTrades(const FakeMarket &market)
{
    const std::vector<FakeStock> &stocks = market.stocks();
    std::vector<bool> used(stocks.size(), false);
    qint64 orderNo = 700000;
    const int holdingDays = presetOrderRules().ODSongiriDUri1;
    FakeBrokerSite::Holding held;
    for (const PastTrade &trade : kPastTrades) {
        bool written = false;
        for (size_t shift = 0; shift < kBuyDayChoices && !written; ++shift) {
            const auto [buyDay, sellDay] = tradeDays(market, trade, shift);
            for (size_t i = 6; i < stocks.size() && !written; ++i) {
                const FakeStock &stock = stocks[i];
                if (used[i] || market.dipEnd(stock).isValid())
                    continue;
                const std::vector<FakeDay> &days = market.history(stock.code, stock.market);
                const FakeDay &buy = days[buyDay];
                const FakeDay &sell = days[sellDay];
                if (buy.close * lotOf(stock) > kTradeYen || !fits(trade, double(buy.close), double(sell.close)))
                    continue;
                // Nor is its holding-days limit, or the first order cycle would sell it.
                if (trade.outcome == PastTrade::Held && buy.date.addDays(holdingDays) <= market.lastDay())
                    continue;
                used[i] = true;
                written = true;
                const bool stillHeld = trade.outcome == PastTrade::Held;
                const qint64 shares = writeTrade(stock, buy, stillHeld ? nullptr : &sell, orderNo);
                if (stillHeld)
                    held = {stock.code, QString::number(shares), QString::number(buy.close)};
            }
        }
    }
    return held;
}

// Live and back-test settings of a user who runs the fixed strategy on the first section
// with a million yen, one purchase a day, profits taken automatically.
void storeSettings(bool realMode, const QString &mailbox, const QDate &lastDay)
{
    // Every other setting, the order rules of the past trades among them, as a first start
    // leaves it.
    getRegistryAll();
    // The account's figures and the profit chart count from before the first past trade.
    sysBS.StartDate = QDateTime(QDate(lastDay.year(), lastDay.month(), 1).addMonths(-5), QTime(0, 0));
    UserID = QStringLiteral("U");
    Password = QStringLiteral("P");
    Password2 = QStringLiteral("T");
    POP3Server = mailbox;
    POPUserID = kMailUser;
    POPPassword = kMailPassword;
    sysBS.SelZituKounyu = realMode ? 0 : 1;
    sysBS.TousiGanpon = 1000000;
    sysBS.KounyuTensu = 1;
    sysSizyou.SLSizyouT1 = 1;
    sysOD.ODRiekiAutoType = 1;
    // The back-test screens as the live preset does; its markets stay unticked, as a new
    // user's, so that it takes the first section by itself.
    Sizyou presetMarkets;
    applyFixedPreset(simBS, presetMarkets, simSL, simOD);
    simBS.TousiGanpon = 1000000;
    simBS.KounyuTensu = 3;
    if (!setRegistryAll())
        throw std::runtime_error("the demo settings could not be written");
}

void writeText(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}

void copyPictures(const QString &source, const QString &directory)
{
    const QDir from(source);
    const QString target = madeFolder(directory + QStringLiteral("/Images/"));
    for (const QString &name : from.entryList(QDir::Files))
        QFile::copy(from.filePath(name), target + name);
}

} // namespace

void emptyDemoDirectory(const QString &directory)
{
    QDir dir(directory);
    const bool earlierDemo = dir.exists(kMarker);
    if (dir.exists() && !dir.isEmpty() && !earlierDemo)
        throw std::runtime_error(directory.toStdString() +
                                 " holds files of its own; the demo needs a folder of its own");
    if (earlierDemo && !dir.removeRecursively())
        throw std::runtime_error("cannot empty " + directory.toStdString());
    QDir().mkpath(directory);
    writeText(directory + u'/' + kMarker, QStringLiteral("a folder of nimbra_demo, emptied at each start\n"));
}

QDateTime demoClockStart(const QDateTime &wallClock)
{
    QDate day = wallClock.toTimeZone(sys::japanZone()).date();
    while (!isTradingDay(day))
        day = day.addDays(1);
    return QDateTime(day, QTime(9, 0), sys::japanZone());
}

DemoSites::DemoSites(const QString &directory, const QDate &clockDay)
    : quotes(demoMarket(clockDay)), pop3(madeFolder(directory + QStringLiteral("/maildrop")), kMailUser, kMailPassword),
      smtp(madeFolder(directory + QStringLiteral("/outbox")))
{
    broker.setMailDirectory(directory + QStringLiteral("/maildrop"));
}

void DemoSites::start()
{
    quotes.start();
    broker.start();
    pop3.start();
    smtp.start();
}

QString DemoSites::siteFileText() const
{
    return quotes.hostsLines() + broker.hostsLines().mid(QStringLiteral("[Hosts]\n").size()) + QStringLiteral("Smtp=") +
           smtp.url() +
           QStringLiteral("\n[Mail]\nSenderAddress=nimbra@example.com\nSupportAddress=support@example.com\n");
}

QString layOutDemo(const QString &directory, DemoSites &sites, const QString &picturesDirectory, bool realMode)
{
    copyPictures(picturesDirectory, directory);
    qputenv("NIMBRA_HOME", directory.toUtf8());
    qputenv("XDG_CONFIG_HOME", (directory + QStringLiteral("/config")).toUtf8());
    sys::setExeName(QStringLiteral("Nimbra"));
    const sys::Status created = createMissingDatabases(directory, QStringLiteral("Nimbra"));
    if (!created.ok())
        throw std::runtime_error(created.problem().toStdString());
    writeText(directory + QStringLiteral("/Nimbra_site.ini"), sites.siteFileText());
    storeSettings(realMode, sites.pop3.address(), sites.quotes.market().lastDay());

    openWorkDatabase(gcnDB, workDatabasePath(), priceDatabasePath());
    storeFakeMaster(sites.quotes.market());
    const FakeBrokerSite::Holding held = writePastTrades(sites.quotes.market());
    gcnDB.close();

    FakeBrokerSite::Behaviour broker;
    broker.cash = QStringLiteral("700,000");
    broker.holdings = {held};
    // A market order fills at the stock's price of the moment, as the quote page shows it.
    const FakeMarket &market = sites.quotes.market();
    broker.marketPrice = [&market](const QString &code) {
        const FakeStock *stock = market.findByCode(code);
        return stock ? int(market.quote(stock->code, stock->market, sys::now(), false).price) : 1000;
    };
    sites.broker.setBehaviour(broker);
    return held.code;
}
