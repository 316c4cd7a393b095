#pragma once

class QLineEdit;
class QString;

// A text box's length limit that holds for typing only, as in the original edit control:
// a text the program sets is kept whole however long it is, so loading a stored value into
// a box and saving it back never cuts it. The user can shorten such a text but not lengthen
// it, and once it is within the limit the limit holds again.
namespace ui {

void setTypingLimit(QLineEdit *box, int limit);
// Sets the text whole, beyond the typing limit if need be.
void setTextWhole(QLineEdit *box, const QString &text);

} // namespace ui
