#include "text/VbText.h"

#include <cmath>

namespace text {

QString trimSpaces(const QString &s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == u' ')
        ++begin;
    while (end > begin && s.at(end - 1) == u' ')
        --end;
    return s.mid(begin, end - begin);
}

double leadingNumber(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && (s.at(i) == u' ' || s.at(i) == u'\t'))
        ++i;
    QString number;
    if (i < s.size() && (s.at(i) == u'+' || s.at(i) == u'-'))
        number += s.at(i++);
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c >= u'0' && c <= u'9') {
            number += c;
            seenDigit = true;
        } else if (c == u'.' && !seenPoint) {
            number += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    return seenDigit ? number.toDouble() : 0.0;
}

qint64 roundHalfEven(double value)
{
    return static_cast<qint64>(std::nearbyint(value)); // default rounding mode: to even
}

} // namespace text
