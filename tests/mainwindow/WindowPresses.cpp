#include "WindowPresses.h"

#include "platform/ui/FlexGrid.h"

#include <QFrame>
#include <QTest>

void press(QWidget &widget, Qt::MouseButton button, QPoint at)
{
    QTest::mousePress(&widget, button, {}, at);
}

void pressRow(ui::FlexGrid &grid, int row, int column, Qt::MouseButton button)
{
    const QRect cell = grid.visualRect(grid.model()->index(row - 1, column));
    press(*grid.viewport(), button, cell.center());
}

int shownView(const QWidget &window)
{
    const char *frames[] = {"fraChart", "fraSyusi", "fraSyusi2", "fraOrder"};
    for (int v = 0; v < 4; ++v) {
        const auto *frame = window.findChild<QFrame *>(QString::fromLatin1(frames[v]));
        if (frame && !frame->isHidden())
            return v + 1;
    }
    return 0;
}
