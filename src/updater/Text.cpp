#include "updater/Text.h"

#include <cmath>

namespace updater {

QStringView trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9')
            digits = true;
        else if (c == u'.' && !point)
            point = true;
        else
            break;
    }
    return digits ? text.mid(start, i - start).toString().toDouble() : 0.0;
}

QColor colorFromBgrText(QStringView text)
{
    const double number = std::nearbyint(leadingNumber(text));
    // Only the low three bytes carry the colour; anything outside the range is black.
    if (!(number >= 0.0 && number <= double(0xFFFFFF)))
        return QColor(0, 0, 0);
    const auto bgr = static_cast<unsigned>(number);
    return QColor(int(bgr & 0xFFU), int((bgr >> 8) & 0xFFU), int((bgr >> 16) & 0xFFU));
}

} // namespace updater
