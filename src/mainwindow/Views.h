#pragma once

class QWidget;

// The four views of the main window's list side, one frame each; exactly one is visible.
struct ViewFrames {
    QWidget *fraChart = nullptr;  // 1: market-average chart (and the candidate list)
    QWidget *fraSyusi = nullptr;  // 2: results by date
    QWidget *fraSyusi2 = nullptr; // 3: results by stock
    QWidget *fraOrder = nullptr;  // 4: order list
    QWidget *msfgOrder = nullptr; // shown with view 4
};

// Shows the frame of `view` (1 to 4) and hides the others; any other number changes nothing.
void changeView(const ViewFrames &frames, int view);

// The view on show, read back from the frames: 0 when none is visible.
int currentView(const ViewFrames &frames);

// The view the results button moves to: 1 → 4 → 2 → 3 → 1.
int nextView(int view);
