#include "trading/YakuzyouNotice.h"

#include "platform/text/VbText.h"

#include <QRegularExpression>

namespace {

// The text after the first ASCII colon (the whole line without one), commas removed.
QString cutValue(const QString &line)
{
    const qsizetype colon = line.indexOf(u':');
    QString value = colon < 0 ? line : line.mid(colon + 1);
    value.remove(u',');
    return text::trimSpaces(value);
}

} // namespace

NoticeParse parseYakuzyouNotice(const QStringList &lines)
{
    NoticeParse parse;
    qsizetype i = -1;
    for (qsizetype n = 0; n < lines.size() && i < 0; ++n)
        if (lines[n].contains(QStringLiteral("約定日時")))
            i = n;
    if (i < 0)
        return parse;
    parse.isNotice = true;
    if (i + 10 >= lines.size()) {
        parse.problem = QStringLiteral("本文の行数が足りません");
        return parse;
    }
    const auto line = [&](qsizetype offset) { return text::trimSpaces(lines[i + offset]); };

    static const QRegularExpression dateForm(
        QStringLiteral(R"(^(\d{4})[-/](\d{1,2})[-/](\d{1,2}) +(\d{1,2}):(\d{2})$)"));
    static const QRegularExpression orderForm(QStringLiteral(R"(^\d{1,18}$)"));
    static const QRegularExpression codeForm(QStringLiteral(R"(^\d{4}$)"));
    static const QRegularExpression sharesForm(QStringLiteral(R"(^(\d{1,15}) *株?$)"));
    static const QRegularExpression priceForm(QStringLiteral(R"(^(\d{1,12}(?:\.\d{1,4})?) *円?$)"));

    YakuzyouNotice notice;
    const QRegularExpressionMatch date = dateForm.match(line(1));
    if (date.hasMatch())
        notice.executedAt =
            QDateTime(QDate(date.captured(1).toInt(), date.captured(2).toInt(), date.captured(3).toInt()),
                      QTime(date.captured(4).toInt(), date.captured(5).toInt()));
    const QString kind = line(4);
    const QRegularExpressionMatch shares = sharesForm.match(cutValue(lines[i + 9]));
    const QRegularExpressionMatch price = priceForm.match(cutValue(lines[i + 10]));
    if (!notice.executedAt.isValid())
        parse.problem = QStringLiteral("約定日時が不正です: ") + line(1);
    else if (!orderForm.match(line(3)).hasMatch())
        parse.problem = QStringLiteral("注文番号が不正です: ") + line(3);
    else if (!kind.contains(u'買') && !kind.contains(u'売'))
        parse.problem = QStringLiteral("売買の区分がありません: ") + kind;
    else if (!codeForm.match(line(6)).hasMatch())
        parse.problem = QStringLiteral("銘柄コードが不正です: ") + line(6);
    else if (!shares.hasMatch() || shares.captured(1).toLongLong() <= 0)
        parse.problem = QStringLiteral("約定株数が不正です: ") + lines[i + 9];
    else if (!price.hasMatch() || price.captured(1).toDouble() <= 0)
        parse.problem = QStringLiteral("約定金額が不正です: ") + lines[i + 10];
    if (!parse.problem.isEmpty())
        return parse;
    notice.orderNo = line(3).toLongLong();
    notice.buy = kind.contains(u'買');
    notice.torihikiKubun = kind.contains(QStringLiteral("現物")) ? 1 : kind.contains(QStringLiteral("信用")) ? 2 : 3;
    notice.code = line(6);
    notice.shares = shares.captured(1).toLongLong();
    notice.price = price.captured(1).toDouble();
    parse.notice = notice;
    return parse;
}

std::optional<QString> authPasswordLine(const QStringList &lines)
{
    for (qsizetype k = 0; k + 1 < lines.size(); ++k) {
        if (lines[k].contains(QStringLiteral("「認証パスワード」"))) {
            QString value = lines[k + 1];
            value.remove(QChar(0x3000));
            return text::trimSpaces(value);
        }
    }
    return std::nullopt;
}
