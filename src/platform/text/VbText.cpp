#include "platform/text/VbText.h"

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

bool isNumeric(const QString &s)
{
    const QString t = trimSpaces(s);
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == u'+' || t.at(i) == u'-'))
        ++i;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c >= u'0' && c <= u'9')
            seenDigit = true;
        else if (c == u'.' && !seenPoint)
            seenPoint = true;
        else
            return false;
    }
    return seenDigit;
}

QString toNarrow(const QString &s)
{
    QString narrow = s;
    for (QChar &c : narrow) {
        if (c.unicode() >= 0xFF01 && c.unicode() <= 0xFF5E)
            c = QChar(char16_t(c.unicode() - 0xFEE0));
        else if (c == u'\u3000')
            c = u' ';
    }
    return narrow;
}

qint64 roundHalfEven(double value)
{
    return static_cast<qint64>(std::nearbyint(value)); // default rounding mode: to even
}

} // namespace text
