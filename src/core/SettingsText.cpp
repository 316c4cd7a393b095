#include "core/SettingsText.h"

#include "platform/text/Format.h"
#include "platform/text/VbText.h"

#include <QStringList>

#include <cmath>
#include <limits>

namespace {

std::optional<int> toWhole(double value)
{
    const double rounded = std::nearbyint(value); // halves to even in the default mode
    if (!std::isfinite(rounded) || rounded < std::numeric_limits<int>::min() ||
        rounded > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace

QString settingNumberText(double value)
{
    return text::formatPlainNumber(value);
}

QString settingDateText(const QDateTime &value)
{
    const QString day = text::formatYmdSlash(value.date());
    if (value.time() == QTime(0, 0))
        return day;
    return day + u' ' + value.time().toString(QStringLiteral("HH:mm:ss"));
}

std::optional<QDateTime> parseSettingDate(const QString &text)
{
    const QString value = text::trimSpaces(text).replace(u'-', u'/');
    static const QStringList dateTimeFormats{QStringLiteral("yyyy/M/d H:mm:ss"), QStringLiteral("yyyy/M/d H:mm")};
    for (const QString &format : dateTimeFormats) {
        const QDateTime parsed = QDateTime::fromString(value, format);
        if (parsed.isValid())
            return parsed;
    }
    const QDate day = QDate::fromString(value, QStringLiteral("yyyy/M/d"));
    if (day.isValid())
        return QDateTime(day, QTime(0, 0));
    return std::nullopt;
}

std::optional<double> parseRealNumber(const QString &text)
{
    bool ok = false;
    const double value = text::trimSpaces(text).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseWholeNumber(const QString &text)
{
    const std::optional<double> value = parseRealNumber(text);
    return value ? toWhole(*value) : std::nullopt;
}

std::optional<int> leadingWholeNumber(const QString &text)
{
    return toWhole(text::leadingNumber(text));
}
