#include "ImportFixture.h"

#include "core/modGlobal.h"
#include "marketdata/modBrandMst.h"
#include "marketdata/modCalc.h"
#include "marketdata/modKabuka.h"
#include "marketdata/modTimeStocks.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/ui/MsgBox.h"
#include "support/MessageBoxRecorder.h"

#include <QLabel>

#include <functional>

namespace {

const QDate kDay(2007, 3, 30);

class BusyGuardTest : public ImportFixture {
protected:
    BusyGuardTest() : ImportFixture({.seed = 7, .stocks = 4, .days = 5, .lastDay = kDay}) {}

    void SetUp() override
    {
        ImportFixture::SetUp();
        sys::setNow(QDateTime(QDate(2007, 4, 2), QTime(10, 0, 0)));
    }

    net::Inet control;
    net::Inet otherControl;
    QLabel label;
};

// A job that a timer tick starts while another job waits for its page.
struct SecondJob {
    const char *name;
    std::function<void()> start;
    QString logged;
};

TEST_F(BusyGuardTest, AJobStartedDuringAnotherJobsYieldDoesNothingAndSaysSo)
{
    const FakeStock &first = market().stocks()[0];
    const FakeStock &second = market().stocks()[2];
    const QString running = QStringLiteral("株価情報の取得の実行中のため、");
    const SecondJob jobs[] = {
        {"calculation", [&] { EXPECT_FALSE(calcKabuka(0, kDay, kDay, second.code, second.market, nullptr)); },
         running + QStringLiteral("株価情報の計算は行いません")},
        {"import", [&] { getKabuka(otherControl, label, kDay, kDay, second.code, second.market); },
         running + QStringLiteral("株価情報の取得は行いません")},
        {"split pass", [&] { getBunkatuKabuka(otherControl, label, kDay, kDay, second.code, second.market); },
         running + QStringLiteral("分割株価情報の取得は行いません")},
        {"intraday point", [&] { saveTimeStocks(otherControl, sys::now(), second.code, second.market); },
         running + QStringLiteral("現在値の記録は行いません")},
        {"master rebuild",
         [&] { getBrandMst(otherControl, label, QStringLiteral("0000"), QStringLiteral("9999"), QString()); },
         running + QStringLiteral("銘柄マスタの再構築は行いません")},
    };
    for (const SecondJob &job : jobs) {
        gcnDB.execute(QStringLiteral("delete from ttstocks"));
        MessageBoxRecorder::instance().reset();
        int requestsOfTheSecondJob = -1;
        whenDuring([&] { return historyRequests() > 0; },
                   [&] {
                       const int before = site().requestCount();
                       job.start();
                       requestsOfTheSecondJob = site().requestCount() - before;
                   });

        getKabuka(control, label, kDay, kDay, first.code, first.market);

        EXPECT_EQ(requestsOfTheSecondJob, 0) << job.name;
        EXPECT_TRUE(logLines().contains(job.logged)) << job.name;
        EXPECT_TRUE(MessageBoxRecorder::instance().texts().isEmpty()) << job.name;
        ASSERT_EQ(storedPrices().size(), 1u) << job.name;
        EXPECT_EQ(std::get<0>(storedPrices().begin()->first), first.code) << job.name;
    }
}

} // namespace
