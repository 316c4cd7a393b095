#pragma once

#include <QString>

class QComboBox;
class QWidget;
class cDateTimePicker;

// Pads a text with half-width spaces to a width counted in CP932 bytes (full-width 2,
// half-width 1): in front when mode is 2 (right-aligned), behind otherwise. A text that is
// already as wide or wider comes back unchanged.
QString padByte(int mode, const QString &s, int width);

// Puts a long-date picker into the host box and sets it to the present moment.
void createDatePicker(cDateTimePicker &picker, QWidget *host);

// Selects the entry whose space-trimmed text equals the given one, searching from the
// last entry up and selecting each entry passed (so the list's change signal fires for
// every one); with no match the first entry stays selected. An empty list is left alone.
void setComboText(QComboBox *combo, const QString &s);

// "最終データ：" + the newest processed day gdtLastKabukaDate as "yyyy/mm/dd".
QString maxDateCaption();

// Copies a file, replacing the target. A failure leaves the target as it was; the
// result says whether the copy was made.
bool copyFile(const QString &source, const QString &target);
