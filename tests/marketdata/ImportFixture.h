#pragma once

#include "support/FakeQuoteSite.h"
#include "support/ProgramDirFixture.h"

#include <QDate>
#include <QString>

#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <tuple>

namespace net {
class Inet;
}

// One row of ttstocks as stored.
struct StoredPrice {
    qint64 close = 0;
    qint64 open = 0;
    qint64 low = 0;
    qint64 high = 0;
    qint64 volume = 0;
    double adjustedClose = 0;
    int split = 0;
    double shortSma = 0;
    QString registered;
    QString updated;
    bool operator==(const StoredPrice &) const = default;
};

using PriceKey = std::tuple<QString, QString, QDate>; // code, market, day

// A program directory with empty databases open, the mail component and the log, and the
// fake quote site running with the site file pointing at it; the generated market's stocks
// are in tmbond.
class ImportFixture : public ProgramDirFixture {
protected:
    explicit ImportFixture(const FakeMarket::Options &options) : m_site(options) {}

    void SetUp() override;
    void TearDown() override;

    FakeQuoteSite &site() { return m_site; }
    const FakeQuoteSite &site() const { return m_site; }
    const FakeMarket &market() const { return m_site.market(); }

    // Requests for price history pages so far.
    int historyRequests() const;
    int historyRequestsFor(const QString &code, const QString &letter) const;

    // Every stored row of ttstocks.
    static std::map<PriceKey, StoredPrice> storedPrices();
    static qint64 rowCount();

    // The fake's row of a stock day as the import should store it.
    static void expectStoredAsServed(const StoredPrice &stored, const FakeDay &served, const std::string &where);

    // Calls `action` from the event loop as soon as `condition` holds (while a job yields
    // or waits for a page), once.
    void whenDuring(std::function<bool()> condition, std::function<void()> action);

private:
    FakeQuoteSite m_site;
    std::unique_ptr<QTimer> m_poll;
};
