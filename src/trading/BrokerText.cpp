#include "trading/BrokerText.h"

#include "platform/text/Cp932.h"
#include "platform/text/VbText.h"

#include <QRegularExpression>

QString advancePast(const QString &s, const QString &key)
{
    const qsizetype bytes = text::cp932ByteLength(key);
    const qsizetype at = s.indexOf(key);
    // Positions count from 1: the cut starts at position p + bytes, with p = 0 when absent.
    return at < 0 ? s.mid(bytes - 1) : s.mid(at + bytes);
}

QString advancePastFound(const QString &s, const QString &key)
{
    if (!s.contains(key))
        throw BrokerPageError(QStringLiteral("画面に「") + key + QStringLiteral("」がありません"));
    return advancePast(s, key);
}

QString takeUpTo(const QString &s, const QString &key)
{
    const qsizetype at = s.indexOf(key);
    if (at < 0)
        throw BrokerPageError(QStringLiteral("画面に「") + key + QStringLiteral("」がありません"));
    return s.left(at);
}

qint64 pageNumber(const QString &s)
{
    return text::roundHalfEven(text::leadingNumber(s));
}

bool startsWithNumber(const QString &s)
{
    static const QRegularExpression number(QStringLiteral("^[ \\t]*[+-]?([0-9]|\\.[0-9])"));
    return number.match(s).hasMatch();
}

QString brokerPageText(const QString &innerHtml)
{
    QString page = innerHtml.toUpper();
    page.remove(u'"');
    page.remove(QStringLiteral("&NBSP;"));
    return page;
}
