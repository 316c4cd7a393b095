#pragma once

#include <QPoint>
#include <QWidget>

namespace ui {
class FlexGrid;
}

// Presses on the main window as the user makes them.

// A mouse press on a picture, caption or any widget at `at`.
void press(QWidget &widget, Qt::MouseButton button = Qt::LeftButton, QPoint at = QPoint(2, 2));
// A mouse press on the cell (`row`, `column`) of a grid; row 1 is the first data row.
void pressRow(ui::FlexGrid &grid, int row, int column, Qt::MouseButton button = Qt::LeftButton);
// The view of the list side on show, 1 to 4, read from its frames; 0 when none shows.
int shownView(const QWidget &window);
