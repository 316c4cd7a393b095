#pragma once

class QAction;
class QDialog;
class QWidget;

namespace ui {

// The menu bar of the small windows: the menu "ﾌｧｲﾙ" (mnuFiles) with its one item "閉じる"
// (mnuClose) across the top of a window that ui::setupFixedDialog has given its client size.
// The window grows by the bar's height, so the client area keeps its designed size below it.
struct FileMenu {
    QWidget *client;   // the client area, below the bar; the window's controls go here
    QAction *mnuClose; // the caller connects it to its own way of closing
};

FileMenu addFileMenu(QDialog *window);

} // namespace ui
