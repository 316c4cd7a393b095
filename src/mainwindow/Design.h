#pragma once

#include <QCursor>
#include <QPixmap>
#include <QString>

#include <optional>

class QWidget;

namespace ui {
class FlexGrid;
}

// The look of the main window: its pictures, the hand cursor and the dark-blue scheme.

// A picture of the installation; a file that cannot be read is logged as
// "画像ファイルを読み込めません: " + path and gives a null pixmap, so its control stays plain.
QPixmap loadDesignPicture(const QString &path);

// A cursor file (.cur) with the hot spot its header names; nothing when it cannot be read
// (logged like a picture).
std::optional<QCursor> loadDesignCursor(const QString &path);

// Colours written 0x00BBGGRR.
void setBackColour(QWidget &widget, long bgr);
void setForeColour(QWidget &widget, long bgr);

// A list in the scheme: dark-blue cells, header and surround, white text and grid lines.
void setGridDesignColours(ui::FlexGrid &grid);
