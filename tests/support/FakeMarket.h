#pragma once

// A small generated market for the fake quote site, and for tests that check what the
// program stored against what the site served. Everything follows from the options: the
// same seed, stock count, day count and last day always give the same stocks, prices and
// lists.
//
//   FakeMarket market({.seed = 7, .stocks = 30, .days = 40, .lastDay = QDate(2007, 3, 30)});
//   const FakeStock *toyota = market.find(QStringLiteral("7203"), QStringLiteral("t1"));
//   const FakeDay *day = market.day(*toyota, QDate(2007, 3, 29)); // close, volume, ...
//
// Contents: the reference stock "7203" on "t1" first, then generated stocks on the markets
// t1, t2, tm, o1, hc2, js, n1, f1 and s1; one of them also listed on a second market (the
// same code), one with a volume past 32 bits on every day, one whose name holds "'". Days
// are every weekday of a price walk per stock, or with `exchangeCalendar` the exchanges'
// trading days (holidays and year-end closures left out). One stock has
// a 1:2 split: its prices before splitDay() are twice its adjusted close, and the history
// page lists the split day twice. The caution list names stocks under each post, one
// stock under both, one code written in full-width digits and one code that no stock has.
// The market average "998407" (market "na") has its own walk and is not a stock.
// With `dippingStocks` that many first-section stocks fall hard for 25 days and rebound
// after (an oversold screening picks them on the last day of their fall): the first three
// fall until the last day, each next three 15 days earlier.

#include <QDate>
#include <QDateTime>
#include <QString>

#include <map>
#include <vector>

struct FakeStock {
    QString code;     // four digits
    QString market;   // market code, e.g. "t1"
    QString name;     // company name
    QString industry; // industry name
    int unit = 100;   // trading unit in shares
};

struct FakeDay {
    QDate date;
    qint64 open = 0;
    qint64 high = 0;
    qint64 low = 0;
    qint64 close = 0;
    qint64 volume = 0;
    qint64 adjustedClose = 0; // close in post-split terms
};

struct FakeCaution {
    QString code;           // as the program stores it (half-width)
    QString market;         // market code
    int section = 1;        // 1 "■整理ポスト", 2 "■監理ポスト"
    bool fullWidth = false; // the page writes the code in full-width digits
};

// A quote as the quote page shows it at one moment.
struct FakeQuote {
    bool showsTime = true; // false: the page shows the date of the last trade
    QDate date;            // the day of the quote
    QTime time;            // shown when showsTime
    double price = 0;
    double change = 0;     // against the previous close
    double changeRate = 0; // in percent, two decimals
    double open = 0;
    double high = 0;
    double low = 0;
    qint64 volume = 0;
};

class FakeMarket {
public:
    struct Options {
        quint64 seed = 1;
        int stocks = 36;               // listed stocks, the reference stock included
        int days = 60;                 // weekdays of history, ending on lastDay
        QDate lastDay;                 // invalid: the day before sys::now()
        bool exchangeCalendar = false; // false: every weekday trades
        int dippingStocks = 0;
    };

    static inline const QString kIndexCode = QStringLiteral("998407");
    static inline const QString kIndexMarket = QStringLiteral("na");

    explicit FakeMarket(const Options &options);
    FakeMarket() : FakeMarket(Options{}) {}

    const std::vector<FakeStock> &stocks() const { return m_stocks; }
    const FakeStock *find(const QString &code, const QString &market) const;
    // The listing the money site shows for "code.letter" (letter as in its "&qt=" key).
    const FakeStock *findBySiteLetter(const QString &code, const QString &letter) const;
    // The first listing of a code, as the quote page (which takes no market) shows it.
    const FakeStock *findByCode(const QString &code) const;

    QDate firstDay() const { return m_days.front(); }
    QDate lastDay() const { return m_days.back(); }
    const std::vector<QDate> &days() const { return m_days; }

    // Stored days of a stock (or of the market average by its code and "na"), oldest first.
    const std::vector<FakeDay> &history(const QString &code, const QString &market) const;
    const FakeDay *day(const QString &code, const QString &market, const QDate &date) const;

    // The last day of a dipping stock's fall; an invalid date for the other stocks.
    QDate dipEnd(const FakeStock &stock) const;

    const FakeStock &splitStock() const { return m_stocks[m_splitIndex]; }
    QDate splitDay() const { return m_splitDay; }
    const FakeStock &bigVolumeStock() const { return m_stocks[m_bigVolumeIndex]; }
    const std::vector<FakeCaution> &cautionList() const { return m_caution; }

    // Whether the market trades on `date` (a weekday, or a trading day of the exchanges).
    bool trades(const QDate &date) const;

    // The quote of a stock (or of the market average) at a moment: during a trading day's
    // session 09:00 to 15:00 a time and a price of that minute (the lunch break shows
    // 11:00, after the close 15:00); before 09:00 and on other days the last day's close
    // with its date. `showDate` forces the date form, as on a weekday without trading.
    FakeQuote quote(const QString &code, const QString &market, const QDateTime &moment, bool showDate) const;

    // The names the pages use for a market code.
    static QString infoseekMarketName(const QString &market);  // "東証1部", "JASDAQ", ...
    static QString infoseekLetter(const QString &market);      // "t", "o", "q", ...
    static QString cautionAbbreviation(const QString &market); // "東1", "ＪＱ", ...

private:
    void generateStocks(const Options &options);
    void generateHistory(quint64 seed);
    void generateCautionList(quint64 seed);
    FakeDay sessionOf(const QString &code, const QString &market, const QDate &date) const;

    quint64 m_seed;
    bool m_exchangeCalendar = false;
    std::vector<FakeStock> m_stocks;
    std::vector<QDate> m_days;
    std::vector<std::vector<FakeDay>> m_histories; // per stock; the market average last
    size_t m_splitIndex = 1;
    size_t m_bigVolumeIndex = 2;
    QDate m_splitDay;
    std::vector<FakeCaution> m_caution;
    std::map<size_t, size_t> m_dipEnds; // stock index to the day index ending its fall
};
