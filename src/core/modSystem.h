#pragma once

class QLineEdit;

// Puts the caret at the start and selects as many characters as the box's maximum
// length, so typing replaces the whole value.
void selectAllText(QLineEdit *box);

// Calls selectAllText on the box each time it receives the focus.
void selectAllTextOnFocus(QLineEdit *box);
