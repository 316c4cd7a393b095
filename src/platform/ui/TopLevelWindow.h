#pragma once

#include <QString>

class QWidget;

namespace ui {

// The open top-level window of that object name, or nullptr. Lets a window reach the main
// window (its icon, its labels) without the libraries below it linking the main window.
QWidget *topLevelWindow(const QString &objectName);

} // namespace ui
