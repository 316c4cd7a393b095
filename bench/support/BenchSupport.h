#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <random>

// What the benchmarks share: a program directory of their own, generated stocks and days,
// and the timing and memory figures they print.
namespace bench {

// A temporary program directory with both databases created and gcnDB open on them;
// removed when it goes out of scope.
class ProgramDatabases {
public:
    ProgramDatabases();
    ProgramDatabases(const ProgramDatabases &) = delete;
    ProgramDatabases &operator=(const ProgramDatabases &) = delete;
    ~ProgramDatabases();

    // Creates the databases and opens them; on failure prints why and returns false.
    bool open();
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// `count` weekdays from `first` on.
QList<QDate> weekdays(const QDate &first, int count);

// The code of generated stock `stock`: the reference stock first, then 1001, 1002 ...
QString stockCode(int stock);

// Stocks 0 to count - 1 in the master on `market`, one trading unit of 100 shares.
void addStocks(int count, const QString &market);

// Uniform draws of a fixed seed, so every run builds the same data.
class UniformDraw {
public:
    explicit UniformDraw(unsigned seed) : m_random(seed) {}
    double operator()(double from, double to) { return std::uniform_real_distribution<double>(from, to)(m_random); }

private:
    std::mt19937 m_random;
};

template <typename F>
double secondsOf(F work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Prints the peak resident size of the process so far, in MB.
void printPeakResidentSize();

} // namespace bench
