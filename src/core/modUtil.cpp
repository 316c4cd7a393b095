#include "core/modUtil.h"

#include "core/modGlobal.h"
#include "platform/sys/Clock.h"
#include "platform/sys/FileOps.h"
#include "platform/text/Cp932.h"
#include "platform/text/Format.h"
#include "platform/text/VbText.h"
#include "platform/ui/cDateTimePicker.h"

#include <QComboBox>

QString padByte(int mode, const QString &s, int width)
{
    const int length = text::cp932ByteLength(s);
    if (length >= width)
        return s;
    const QString padding(width - length, u' ');
    return mode == 2 ? padding + s : s + padding;
}

QString maxDateCaption()
{
    return QStringLiteral("最終データ：") + text::formatYmdSlash(gdtLastKabukaDate);
}

void createDatePicker(cDateTimePicker &picker, QWidget *host)
{
    picker.setStyle(0);
    picker.setPictureBox(host);
    picker.create();
    picker.setValue(sys::now());
}

void setComboText(QComboBox *combo, const QString &s)
{
    const QString wanted = text::trimSpaces(s);
    for (int i = combo->count() - 1; i >= 0; --i) {
        combo->setCurrentIndex(i);
        if (text::trimSpaces(combo->itemText(i)) == wanted)
            return;
    }
}

bool copyFile(const QString &source, const QString &target)
{
    return sys::copyFileReplacing(source, target).ok();
}
