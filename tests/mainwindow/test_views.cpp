#include "mainwindow/Views.h"

#include <QWidget>

#include <gtest/gtest.h>

TEST(Views, ResultsButtonCyclesThroughTheFourViews)
{
    QWidget side;
    QWidget chart(&side), byDate(&side), byStock(&side), order(&side);
    QWidget orders(&order);
    orders.hide();
    const ViewFrames frames{&chart, &byDate, &byStock, &order, &orders};
    changeView(frames, 4);
    EXPECT_FALSE(orders.isHidden());
    QList<int> seen;
    for (int press = 0; press < 4; ++press) {
        changeView(frames, nextView(currentView(frames)));
        seen << currentView(frames);
        const int visible =
            int(!chart.isHidden()) + int(!byDate.isHidden()) + int(!byStock.isHidden()) + int(!order.isHidden());
        EXPECT_EQ(visible, 1) << press;
    }
    EXPECT_EQ(seen, (QList<int>{2, 3, 1, 4}));
    changeView(frames, 5);
    EXPECT_EQ(currentView(frames), 4);
}
