#include "PriceRows.h"

#include "core/modGlobal.h"
#include "marketdata/frmVrCalc.h"
#include "platform/ui/ControlArray.h"
#include "support/ProgramDirFixture.h"

#include <QLabel>
#include <QTimer>

namespace {

const QDate kFirstDay(2024, 1, 1);

class FrmVrCalcTest : public ProgramDirFixture {
protected:
    void SetUp() override
    {
        ProgramDirFixture::SetUp();
        createDatabases();
        openDatabases();
        setPeriods(defaultPeriods());
        days = insertPrices(QStringLiteral("1301"), QStringLiteral("t1"), kFirstDay, {100, 101, 99});
        insertPrices(QStringLiteral("7203"), QStringLiteral("t1"), kFirstDay, {5000, 5100, 5200});
        gdtFirstKabukaDate = days.first();
        gdtLastKabukaDate = days.last();
    }

    static int computedRows()
    {
        db::Statement st = gcnDB.prepare(QStringLiteral("select count(*) from ttstocks where 更新日付 is not null"));
        st.step();
        return int(st.int64(0));
    }

    QList<QDate> days;
};

TEST_F(FrmVrCalcTest, RecomputesEveryRowWhenFirstShownAndClosesItself)
{
    frmVrCalc window;
    const QLabel *lblMsg = window.findChild<QLabel *>(QStringLiteral("lblMsg"));
    EXPECT_EQ(ui::controlAt<QLabel>(&window, QStringLiteral("lblMsg2"), 0)->text(),
              QStringLiteral("新たにデータの形式が変更になりました。"));
    EXPECT_EQ(ui::controlAt<QLabel>(&window, QStringLiteral("lblMsg2"), 4)->text(),
              QStringLiteral("データが破損してしまいます。"));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0, 0, 64));
    EXPECT_EQ(lblMsg->palette().color(QPalette::Window), QColor(0, 0, 64));
    EXPECT_EQ(lblMsg->palette().color(QPalette::WindowText), QColor(255, 255, 128));

    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_EQ(computedRows(), 6);
    EXPECT_DOUBLE_EQ(readIndicators(QStringLiteral("1301"), QStringLiteral("t1"), days[2]).values.sma[0], 100);

    // Shown again by the same start, it does not compute again (and can then be closed).
    gcnDB.executeScript(QStringLiteral("update ttstocks set 更新日付 = null"));
    QTimer::singleShot(0, &window, &QDialog::close);
    EXPECT_EQ(window.exec(), QDialog::Rejected);
    EXPECT_EQ(computedRows(), 0);
}

TEST_F(FrmVrCalcTest, CannotBeClosedWhileItWorks)
{
    frmVrCalc window;
    bool openDuringWork = false;
    // Posted before the work starts; its own follow-up runs inside the work's first yield.
    QTimer::singleShot(0, &window, [&] {
        QTimer::singleShot(0, &window, [&] {
            window.close();
            openDuringWork = window.isVisible();
        });
    });
    EXPECT_EQ(window.exec(), QDialog::Accepted);
    EXPECT_TRUE(openDuringWork);
    EXPECT_EQ(computedRows(), 6);
}

} // namespace
