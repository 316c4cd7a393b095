#include "support/FakeMarket.h"

#include "marketdata/modMarket.h"
#include "platform/sys/Clock.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <set>

namespace {

// splitmix64: a small generator whose output is the same on every platform and compiler.
class Random {
public:
    explicit Random(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double unit() { return double(next() >> 11) * 0x1.0p-53; } // [0, 1)
    qint64 range(qint64 lo, qint64 hi) { return lo + qint64(next() % quint64(hi - lo + 1)); }

private:
    quint64 m_state;
};

quint64 hashText(const QString &s)
{
    quint64 h = 1469598103934665603ULL; // FNV-1a
    for (const QChar c : s) {
        h ^= c.unicode();
        h *= 1099511628211ULL;
    }
    return h;
}

quint64 mix(quint64 a, quint64 b)
{
    return Random(a ^ (b * 0x9E3779B97F4A7C15ULL)).next();
}

const QString kReferenceCode = QStringLiteral("7203");
const QString kReferenceMarket = QStringLiteral("t1");
constexpr int kMinStocks = 10;
constexpr int kMinDays = 2;

// Minutes of the session: 09:00-11:00 and 12:30-15:00.
constexpr int kMorningMinutes = 120;
constexpr int kSessionMinutes = 270;

const QString kMarketCycle[] = {
    QStringLiteral("t1"),  QStringLiteral("t1"), QStringLiteral("t2"), QStringLiteral("tm"), QStringLiteral("o1"),
    QStringLiteral("hc2"), QStringLiteral("js"), QStringLiteral("n1"), QStringLiteral("f1"), QStringLiteral("s1"),
};
const QString kNamePrefixes[] = {
    QStringLiteral("日本"), QStringLiteral("東洋"), QStringLiteral("大和"), QStringLiteral("北海"),
    QStringLiteral("中央"), QStringLiteral("新光"), QStringLiteral("昭和"), QStringLiteral("明星"),
    QStringLiteral("富岳"), QStringLiteral("三和"),
};
const QString kNameSuffixes[] = {
    QStringLiteral("製作所"), QStringLiteral("電機"), QStringLiteral("化学"), QStringLiteral("建設"),
    QStringLiteral("商事"),   QStringLiteral("食品"), QStringLiteral("運輸"), QStringLiteral("銀行"),
    QStringLiteral("薬品"),   QStringLiteral("精工"),
};
const QString kIndustries[] = {
    QStringLiteral("電気機器"), QStringLiteral("化学"),       QStringLiteral("建設業"), QStringLiteral("卸売業"),
    QStringLiteral("食料品"),   QStringLiteral("陸運業"),     QStringLiteral("銀行業"), QStringLiteral("医薬品"),
    QStringLiteral("精密機器"), QStringLiteral("サービス業"),
};

QString marketTable(const QString &market, int column)
{
    static const std::map<QString, std::array<QString, 3>> table = {
        {QStringLiteral("t1"), {QStringLiteral("東証1部"), QStringLiteral("t"), QStringLiteral("東1")}},
        {QStringLiteral("t2"), {QStringLiteral("東証2部"), QStringLiteral("t"), QStringLiteral("東2")}},
        {QStringLiteral("tm"), {QStringLiteral("東証マザーズ"), QStringLiteral("t"), QStringLiteral("東M")}},
        {QStringLiteral("o1"), {QStringLiteral("大証1部"), QStringLiteral("o"), QStringLiteral("大1")}},
        {QStringLiteral("hc2"), {QStringLiteral("ヘラクレスグロース"), QStringLiteral("q"), QStringLiteral("ＨＱ")}},
        {QStringLiteral("js"), {QStringLiteral("JASDAQ"), QStringLiteral("j"), QStringLiteral("ＪＱ")}},
        {QStringLiteral("n1"), {QStringLiteral("名古屋証1部"), QStringLiteral("n"), QStringLiteral("名1")}},
        {QStringLiteral("f1"), {QStringLiteral("福岡証"), QStringLiteral("f"), QStringLiteral("福1")}},
        {QStringLiteral("s1"), {QStringLiteral("札幌証"), QStringLiteral("s"), QStringLiteral("札1")}},
    };
    const auto it = table.find(market);
    return it == table.end() ? QString() : it->second[size_t(column)];
}

bool isWeekday(const QDate &d)
{
    return d.dayOfWeek() <= Qt::Friday;
}

// A dipping stock's 25 days of fall and 10 days of rebound, as day-on-day changes: the
// fall ends 6 % under its 5-day average and 19 % under its 25-day average, with 9 rising
// days of 25 at even volume (volume ratios 56 and 36).
constexpr int kDipDays = 25;
constexpr int kReboundDays = 10;
constexpr qint64 kDipVolumeUnits = 8000;

double dipChange(int day)
{
    if (day < 20)
        return day % 5 == 1 || day % 5 == 3 ? 0.015 : -0.03;
    if (day < kDipDays)
        return day == 21 ? 0.01 : -0.035;
    return 0.015;
}

FakeDay dipDay(const QDate &date, qint64 previousClose, qint64 volumeUnit, int day)
{
    FakeDay d;
    d.date = date;
    d.open = previousClose;
    d.close = std::max<qint64>(1, std::llround(double(previousClose) * (1 + dipChange(day))));
    d.high = std::llround(double(std::max(d.open, d.close)) * 1.005);
    d.low = std::llround(double(std::min(d.open, d.close)) * 0.995);
    d.volume = volumeUnit * kDipVolumeUnits;
    d.adjustedClose = d.close;
    return d;
}

// A day's prices from the previous close, in the walk's own (post-split) terms.
FakeDay walkDay(Random &random, const QDate &date, qint64 previousClose, qint64 volumeUnit, double dailyMove)
{
    FakeDay day;
    day.date = date;
    const double prev = double(previousClose);
    day.close = std::max<qint64>(1, std::llround(prev * (1 + (random.unit() - 0.5) * 2 * dailyMove)));
    day.open = std::max<qint64>(1, std::llround(prev * (1 + (random.unit() - 0.5) * dailyMove)));
    day.high = std::llround(double(std::max(day.open, day.close)) * (1 + random.unit() * dailyMove / 2));
    day.low =
        std::max<qint64>(1, std::llround(double(std::min(day.open, day.close)) * (1 - random.unit() * dailyMove / 2)));
    day.volume = volumeUnit * random.range(10, 20000);
    day.adjustedClose = day.close;
    return day;
}

} // namespace

FakeMarket::FakeMarket(const Options &options) : m_seed(options.seed), m_exchangeCalendar(options.exchangeCalendar)
{
    QDate last = options.lastDay.isValid() ? options.lastDay : sys::now().date().addDays(-1);
    while (!trades(last))
        last = last.addDays(-1);
    for (QDate d = last; int(m_days.size()) < std::max(options.days, kMinDays); d = d.addDays(-1))
        if (trades(d))
            m_days.push_back(d);
    std::reverse(m_days.begin(), m_days.end());
    m_splitDay = m_days[m_days.size() / 2];

    generateStocks(options);
    generateHistory(options.seed);
    generateCautionList(options.seed);
}

void FakeMarket::generateStocks(const Options &options)
{
    Random random(mix(options.seed, 1));
    m_stocks.push_back(
        {kReferenceCode, kReferenceMarket, QStringLiteral("日本自動車"), QStringLiteral("輸送用機器"), 100});
    std::set<qint64> used{kReferenceCode.toLongLong()};
    const int count = std::max(options.stocks, kMinStocks);
    for (int i = 1; i < count; ++i) {
        qint64 code = 0;
        do
            code = random.range(1301, 9899);
        while (!used.insert(code).second);
        FakeStock stock;
        stock.code = QString::number(code);
        stock.market = kMarketCycle[size_t(i) % std::size(kMarketCycle)];
        stock.name = kNamePrefixes[random.next() % std::size(kNamePrefixes)] +
                     kNameSuffixes[random.next() % std::size(kNameSuffixes)];
        stock.industry = kIndustries[random.next() % std::size(kIndustries)];
        const bool emerging = stock.market == u"tm" || stock.market == u"hc2" || stock.market == u"js";
        stock.unit = emerging ? (random.next() % 2 ? 1 : 100) : (random.next() % 2 ? 100 : 1000);
        m_stocks.push_back(stock);
    }
    // Index 1 is also listed on a second market under the same code.
    m_stocks[2].code = m_stocks[1].code;
    m_stocks[2].market = QStringLiteral("o1");
    m_stocks[5].name = QStringLiteral("O'Neil電子");
    m_bigVolumeIndex = 3;
    m_splitIndex = 4;
    // Dipping stocks come after the special ones; a unit of 100 keeps them within the
    // price a purchase may reach.
    const size_t lastIndex = m_days.size() - 1;
    for (size_t i = 6; i < m_stocks.size() && int(m_dipEnds.size()) < options.dippingStocks; ++i) {
        const size_t back = 15 * (m_dipEnds.size() / 3);
        if (m_stocks[i].market != kReferenceMarket || back + kDipDays > lastIndex)
            continue;
        m_stocks[i].unit = 100;
        m_dipEnds[i] = lastIndex - back;
    }
}

void FakeMarket::generateHistory(quint64 seed)
{
    const auto walk = [&](const QString &code, const QString &market, qint64 start, qint64 volumeUnit, double move,
                          bool split, bool bigVolume, std::optional<size_t> dipEnd = std::nullopt) {
        Random random(mix(seed, hashText(code + market)));
        std::vector<FakeDay> days;
        qint64 close = start;
        for (size_t index = 0; index < m_days.size(); ++index) {
            const QDate &date = m_days[index];
            const int dipDayNumber = dipEnd ? int(index) - int(*dipEnd) + kDipDays - 1 : -1;
            FakeDay day = dipDayNumber >= 0 && dipDayNumber < kDipDays + kReboundDays
                              ? dipDay(date, close, volumeUnit, dipDayNumber)
                              : walkDay(random, date, close, volumeUnit, move);
            close = day.close;
            if (bigVolume)
                day.volume = 3'000'000'000LL + random.range(0, 999'999'999);
            if (split && date < m_splitDay) { // before the split a share was worth two of today's
                day.open *= 2;
                day.high *= 2;
                day.low *= 2;
                day.close *= 2;
            }
            days.push_back(day);
        }
        return days;
    };
    Random prices(mix(seed, 2));
    for (size_t i = 0; i < m_stocks.size(); ++i) {
        const FakeStock &s = m_stocks[i];
        const qint64 start = i == 0 ? 5000 : prices.range(150, 8000);
        const auto dip = m_dipEnds.find(i);
        if (dip != m_dipEnds.end())
            m_histories.push_back(walk(s.code, s.market, 800 + start % 2000, s.unit, 0.01, false, false, dip->second));
        else
            m_histories.push_back(
                walk(s.code, s.market, start, s.unit, 0.03, i == m_splitIndex, i == m_bigVolumeIndex));
    }
    std::vector<FakeDay> index = walk(kIndexCode, kIndexMarket, 17000, 0, 0.015, false, false);
    for (FakeDay &d : index)
        d.volume = 0;
    m_histories.push_back(index);
}

void FakeMarket::generateCautionList(quint64 seed)
{
    Random random(mix(seed, 3));
    const auto pick = [&](size_t index, int section, bool fullWidth) {
        const FakeStock &s = m_stocks[index];
        m_caution.push_back({s.code, s.market, section, fullWidth});
    };
    const size_t first = 5 + size_t(random.next() % (m_stocks.size() - 9));
    pick(first, 1, true);
    pick(first + 3, 1, false);
    m_caution.push_back({QStringLiteral("1001"), QStringLiteral("t2"), 1, false}); // a code no stock has
    pick(first + 1, 2, false);
    pick(first, 2, false); // under both posts
    pick(first + 2, 2, false);
}

bool FakeMarket::trades(const QDate &date) const
{
    return m_exchangeCalendar ? isTradingDay(date) : isWeekday(date);
}

QDate FakeMarket::dipEnd(const FakeStock &stock) const
{
    for (const auto &[index, end] : m_dipEnds)
        if (m_stocks[index].code == stock.code && m_stocks[index].market == stock.market)
            return m_days[end];
    return {};
}

const FakeStock *FakeMarket::find(const QString &code, const QString &market) const
{
    const auto it = std::find_if(m_stocks.begin(), m_stocks.end(),
                                 [&](const FakeStock &s) { return s.code == code && s.market == market; });
    return it == m_stocks.end() ? nullptr : &*it;
}

const FakeStock *FakeMarket::findBySiteLetter(const QString &code, const QString &letter) const
{
    const auto it = std::find_if(m_stocks.begin(), m_stocks.end(), [&](const FakeStock &s) {
        return s.code == code && infoseekLetter(s.market) == letter;
    });
    return it == m_stocks.end() ? nullptr : &*it;
}

const FakeStock *FakeMarket::findByCode(const QString &code) const
{
    const auto it = std::find_if(m_stocks.begin(), m_stocks.end(), [&](const FakeStock &s) { return s.code == code; });
    return it == m_stocks.end() ? nullptr : &*it;
}

const std::vector<FakeDay> &FakeMarket::history(const QString &code, const QString &market) const
{
    static const std::vector<FakeDay> none;
    if (code == kIndexCode && market == kIndexMarket)
        return m_histories.back();
    for (size_t i = 0; i < m_stocks.size(); ++i)
        if (m_stocks[i].code == code && m_stocks[i].market == market)
            return m_histories[i];
    return none;
}

const FakeDay *FakeMarket::day(const QString &code, const QString &market, const QDate &date) const
{
    const std::vector<FakeDay> &days = history(code, market);
    const auto it = std::find_if(days.begin(), days.end(), [&](const FakeDay &d) { return d.date == date; });
    return it == days.end() ? nullptr : &*it;
}

FakeDay FakeMarket::sessionOf(const QString &code, const QString &market, const QDate &date) const
{
    if (const FakeDay *stored = day(code, market, date))
        return *stored;
    const std::vector<FakeDay> &days = history(code, market);
    const auto before = std::find_if(days.rbegin(), days.rend(), [&](const FakeDay &d) { return d.date < date; });
    const qint64 previousClose = before == days.rend() ? 1000 : before->close;
    Random random(mix(m_seed ^ quint64(date.toJulianDay()), hashText(code + market)));
    FakeDay day = walkDay(random, date, previousClose, 100, code == kIndexCode ? 0.015 : 0.03);
    if (code == kIndexCode)
        day.volume = 0;
    return day;
}

FakeQuote FakeMarket::quote(const QString &code, const QString &market, const QDateTime &moment, bool showDate) const
{
    const std::vector<FakeDay> &days = history(code, market);
    const QDate today = moment.date();
    const auto previousOf = [&](const QDate &date) -> qint64 {
        const auto it = std::find_if(days.rbegin(), days.rend(), [&](const FakeDay &d) { return d.date < date; });
        return it == days.rend() ? 0 : it->close;
    };
    FakeQuote quote;
    if (showDate || !trades(today) || moment.time() < QTime(9, 0)) {
        const auto last = std::find_if(days.rbegin(), days.rend(), [&](const FakeDay &d) { return d.date < today; });
        if (last == days.rend())
            return quote;
        quote.showsTime = false;
        quote.date = last->date;
        quote.price = double(last->close);
        quote.open = double(last->open);
        quote.high = double(last->high);
        quote.low = double(last->low);
        quote.volume = last->volume;
    } else {
        const FakeDay session = sessionOf(code, market, today);
        QTime shown = std::min(QTime(moment.time().hour(), moment.time().minute()), QTime(15, 0));
        if (shown > QTime(11, 0) && shown < QTime(12, 30))
            shown = QTime(11, 0);
        const int elapsed =
            shown <= QTime(11, 0) ? QTime(9, 0).secsTo(shown) / 60 : kMorningMinutes + QTime(12, 30).secsTo(shown) / 60;
        const double fraction = double(elapsed) / kSessionMinutes;
        Random noise(mix(m_seed ^ quint64(today.toJulianDay()), hashText(code + market) + quint64(elapsed)));
        double price = double(session.open) + double(session.close - session.open) * fraction;
        if (elapsed > 0 && elapsed < kSessionMinutes)
            price += (noise.unit() - 0.5) * 0.004 * double(session.open);
        price = std::clamp(price, double(session.low), double(session.high));
        const double digits = code == kIndexCode ? 100 : 1;
        quote.date = today;
        quote.time = shown;
        quote.price = std::round(price * digits) / digits;
        quote.open = double(session.open);
        quote.high = double(session.high);
        quote.low = double(session.low);
        quote.volume = std::llround(double(session.volume) * fraction);
    }
    const qint64 previous = previousOf(quote.date);
    if (previous > 0) {
        quote.change = std::round((quote.price - double(previous)) * 100) / 100;
        quote.changeRate = std::round(quote.change / double(previous) * 10000) / 100;
    }
    return quote;
}

QString FakeMarket::infoseekMarketName(const QString &market)
{
    return marketTable(market, 0);
}

QString FakeMarket::infoseekLetter(const QString &market)
{
    return marketTable(market, 1);
}

QString FakeMarket::cautionAbbreviation(const QString &market)
{
    return marketTable(market, 2);
}
