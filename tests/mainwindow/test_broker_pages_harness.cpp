// The day harness against a broker whose answers carry markup a browser never shows: a
// refused order stays unordered however its page hides an acceptance, and the run stops
// there instead of sending the next order.
#include "HarnessFixture.h"

#include "core/modGlobal.h"
#include "platform/db/Connection.h"
#include "support/FakeBrokerSite.h"

namespace {

using Templates = FakeBrokerSite::Behaviour::Templates;

class HiddenAcceptanceHarness : public HarnessFixture, public ::testing::WithParamInterface<Templates> {};

TEST_P(HiddenAcceptanceHarness, ARefusalLeavesNothingOrdered)
{
    FakeBrokerSite::Behaviour site;
    site.holdings = {};
    site.refusal = 1; // the broker's plain refusal text
    site.templates = GetParam();
    broker.setBehaviour(site);

    startHarness(QStringLiteral("2026-12-10 08:25"), QStringLiteral("2026-12-10 10:00"));
    ASSERT_TRUE(harness.waitForFinished(120000));
    const QByteArray output = harness.readAll();
    EXPECT_EQ(harness.exitCode(), 0) << output.toStdString();

    EXPECT_EQ(reservationColumn(QStringLiteral("処理区分")), QStringLiteral("0")) << output.toStdString();
    EXPECT_EQ(reservationColumn(QStringLiteral("エラーコード")), QStringLiteral("90"));
    openDatabases();
    db::Statement ordered =
        gcnDB.prepare(QStringLiteral("select count(*) from ttresevation where 処理区分 <> 0 or 注文番号 = 777777"));
    ASSERT_TRUE(ordered.step());
    EXPECT_EQ(ordered.int64(0), 0) << "no reservation is stored as ordered";
    gcnDB.close();
    EXPECT_EQ(broker.orders().size(), 1) << "the run stops at the refusal";
    EXPECT_TRUE(output.contains("message box")) << output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(HiddenAcceptance, HiddenAcceptanceHarness,
                         ::testing::Values(Templates::TemplateElement, Templates::DisplayNone));

} // namespace
