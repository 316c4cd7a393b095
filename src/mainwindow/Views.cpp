#include "mainwindow/Views.h"

#include <QWidget>

void changeView(const ViewFrames &frames, int view)
{
    if (view < 1 || view > 4)
        return;
    frames.fraChart->setVisible(view == 1);
    frames.fraSyusi->setVisible(view == 2);
    frames.fraSyusi2->setVisible(view == 3);
    frames.fraOrder->setVisible(view == 4);
    if (view == 4)
        frames.msfgOrder->setVisible(true);
}

int currentView(const ViewFrames &frames)
{
    // Hidden means hidden by the switch, so the view reads the same while the window is not shown.
    const auto shown = [](const QWidget *frame) { return !frame->isHidden(); };
    if (shown(frames.fraSyusi2))
        return 3;
    if (shown(frames.fraChart))
        return 1;
    if (shown(frames.fraOrder))
        return 4;
    if (shown(frames.fraSyusi))
        return 2;
    return 0;
}

int nextView(int view)
{
    switch (view) {
    case 3:
        return 1;
    case 1:
        return 4;
    case 4:
        return 2;
    default:
        return 3;
    }
}
