#include "platform/text/Format.h"

#include <array>
#include <charconv>
#include <cmath>

namespace text {

QString formatYmdSlash(const QDate &d)
{
    return QStringLiteral("%1/%2/%3")
        .arg(d.year(), 4, 10, QChar(u'0'))
        .arg(d.month(), 2, 10, QChar(u'0'))
        .arg(d.day(), 2, 10, QChar(u'0'));
}

QString formatDateTimeSlash(const QDateTime &dt)
{
    const QTime t = dt.time();
    return formatYmdSlash(dt.date()) + QStringLiteral(" %1:%2:%3")
                                           .arg(t.hour(), 2, 10, QChar(u'0'))
                                           .arg(t.minute(), 2, 10, QChar(u'0'))
                                           .arg(t.second(), 2, 10, QChar(u'0'));
}

QString formatYmd(const QDate &d)
{
    return QStringLiteral("%1%2%3")
        .arg(d.year(), 4, 10, QChar(u'0'))
        .arg(d.month(), 2, 10, QChar(u'0'))
        .arg(d.day(), 2, 10, QChar(u'0'));
}

double roundHalfAway(double value, int decimals)
{
    static constexpr double kScales[] = {1, 10, 100, 1000};
    const double scale = decimals >= 0 && decimals < 4 ? kScales[decimals] : std::pow(10.0, decimals);
    // The small relative nudge keeps values such as 0.285 (stored as 0.28499...) rounding
    // as their decimal text reads.
    const double scaled = value * scale;
    const double nudged = scaled + std::copysign(std::abs(scaled) * 1e-12, scaled);
    return std::round(nudged) / scale;
}

namespace {

// "#,##0" with `decimals` places after the point.
QString groupedNumber(double value, int decimals)
{
    const double rounded = roundHalfAway(value, decimals);
    const bool negative = rounded < 0; // -0.3 shows "0", not "-0"
    QString digits = QString::number(std::abs(rounded), 'f', decimals);
    const qsizetype point = decimals > 0 ? digits.indexOf(u'.') : digits.size();
    for (qsizetype pos = point - 3; pos > 0; pos -= 3)
        digits.insert(pos, u',');
    return negative ? u'-' + digits : digits;
}

} // namespace

QString formatThousands(double value)
{
    return groupedNumber(value, 0);
}

QString formatThousands2(double value)
{
    return groupedNumber(value, 2);
}

QString formatZeroPadded(qint64 value, int digits)
{
    const QString body = QString::number(std::abs(value)).rightJustified(digits, u'0');
    return value < 0 ? u'-' + body : body;
}

QString formatPlainNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    // Fixed notation without a precision is the shortest text that reads back to the
    // same double; 309 integer digits and 17 significant ones after leading zeros fit.
    std::array<char, 400> buffer{};
    const std::to_chars_result written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    return QString::fromLatin1(buffer.data(), written.ptr - buffer.data());
}

QString formatShownNumber(double value)
{
    // Rounded to 15 significant digits first, so a sum such as 0.1 + 0.2 shows as 0.3.
    std::array<char, 32> buffer{};
    const std::to_chars_result written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific, 14);
    double shown = value;
    std::from_chars(buffer.data(), written.ptr, shown);
    return formatPlainNumber(shown);
}

} // namespace text
