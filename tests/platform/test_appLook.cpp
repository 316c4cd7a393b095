// The program's look on the widgets a user reads: a disabled menu item or button is drawn in
// greyed text, an enabled one in the windows' black, whatever the desktop's theme.
#include "support/DrawnInk.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct Drawn {
    QImage image;
    QRect enabled;
    QRect disabled;
};

TEST(AppLook, DisabledItemsAreDrawnGreyedAndEnabledOnesBlack)
{
    const QString caption = QStringLiteral("一括シミュレーション");
    const struct {
        const char *name;
        std::function<Drawn()> draw;
    } cases[] = {
        {"menu bar",
         [&] {
             QMenuBar bar;
             QMenu *live = bar.addMenu(caption);
             QMenu *off = bar.addMenu(caption);
             off->menuAction()->setEnabled(false);
             bar.adjustSize();
             return Drawn{bar.grab().toImage(), bar.actionGeometry(live->menuAction()),
                          bar.actionGeometry(off->menuAction())};
         }},
        {"menu item",
         [&] {
             QMenu menu;
             QAction *live = menu.addAction(caption);
             QAction *off = menu.addAction(caption);
             off->setEnabled(false);
             menu.adjustSize();
             return Drawn{menu.grab().toImage(), menu.actionGeometry(live), menu.actionGeometry(off)};
         }},
        {"button",
         [&] {
             QWidget window;
             QPushButton live(caption, &window);
             QPushButton off(caption, &window);
             live.adjustSize();
             off.adjustSize();
             off.move(0, live.height());
             off.setEnabled(false);
             window.adjustSize();
             return Drawn{window.grab().toImage(), live.geometry(), off.geometry()};
         }},
    };
    for (const auto &c : cases) {
        const Drawn drawn = c.draw();
        const int enabledInk = darkestInk(drawn.image, drawn.enabled);
        const int disabledInk = darkestInk(drawn.image, drawn.disabled);
        EXPECT_LT(enabledInk, 40) << c.name << ": the enabled caption is black";
        EXPECT_GT(disabledInk, enabledInk + 60) << c.name << ": the disabled caption is greyed";
        EXPECT_LT(disabledInk, 200) << c.name << ": the disabled caption can still be read";
    }
}

} // namespace
