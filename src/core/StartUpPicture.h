#pragma once

class QLabel;
class QWidget;

namespace ui {

// Shows the start-up picture Images/bmpStartUp.bmp of the program directory in `picture`
// at the window's top left corner and gives the window the picture's size. Without the
// file the window is a plain dark panel of 400 × 240 pixels, so the texts on it stay legible.
void showStartUpPicture(QWidget *window, QLabel *picture);

} // namespace ui
