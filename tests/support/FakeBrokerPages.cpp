#include "support/FakeBrokerPages.h"

#include "platform/text/Format.h"

namespace fakebroker {
namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// One row of the order summary: the value cell on its own indented line, so the cut past
// a label of full-width characters lands before the value cell's "<td ".
QString summaryRow(const QString &label, const QString &value)
{
    return QStringLiteral("<tr>\n<td class=\"l\">") + label + QStringLiteral("</td>\n  <td class=\"v\">") +
           escaped(value) + QStringLiteral("</td>\n</tr>\n");
}

QString tradeName(const QString &kind)
{
    static const QStringList names = {QStringLiteral("現物買"), QStringLiteral("現物売"), QStringLiteral("信用新規買"),
                                      QStringLiteral("信用返済売")};
    const int index = kind.toInt() - 1;
    return index >= 0 && index < names.size() ? names.at(index) : QStringLiteral("不明");
}

} // namespace

QString page(const QString &title, const QString &body, bool reserved, bool maintenance)
{
    return QStringLiteral(
               "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
               "<title>") +
           title + QStringLiteral("</title>\n</head>\n<body>\n") +
           (maintenance ? QStringLiteral("<p class=\"info\">ただいまサービス停止中です。</p>\n") : QString()) + body +
           QStringLiteral("\n<div class=\"footer\">Copyright&nbsp;(C) Fake Securities Co., Ltd. All Rights Reserved") +
           (reserved ? QStringLiteral(".") : QString()) + QStringLiteral("</div>\n</body>\n</html>\n");
}

QString loginPage(bool failedLogin)
{
    return (failedLogin ? QStringLiteral("<p class=\"error\">ユーザーネームまたはパスワードが違います。</p>\n")
                        : QString()) +
           QStringLiteral(
               "<h1>お客様サイトへログイン</h1>\n"
               "<form name=\"form_login\" action=\"/ETGate/login\" method=\"post\">\n"
               "<table>\n<tr><td>ユーザーネーム</td><td><input type=\"text\" name=\"user_id\" value=\"\"></td></tr>\n"
               "<tr><td>パスワード</td><td><input type=\"password\" name=\"user_password\" value=\"\"></td></tr>\n"
               "</table>\n<input type=\"submit\" name=\"ACT_login\" value=\"ログイン\">\n</form>");
}

QString menuPage()
{
    return QStringLiteral(
        "<h1>メインメニュー</h1>\n<ul>\n"
        "<li><a href=\"/ETGate/?_ControlID=WPLETstT001Control&amp;_PageID=DefaultPID\">国内株式 注文</a></li>\n"
        "<li><a href=\"/ETGate/?_ControlID=WPLETacR001Control&amp;_PageID=DefaultPID\">口座管理</a></li>\n</ul>");
}

QString loginRequiredPage()
{
    return QStringLiteral("<p class=\"error\">顧客サイトへのログインが必要です。</p>\n"
                          "<p><a href=\"/ETGate/\">ログイン画面へ</a></p>");
}

QString orderFormPage(const QStringList &markets, const QString &missing)
{
    const auto unless = [&missing](const char *name, const QString &markup) {
        return missing == QLatin1String(name) ? QString() : markup;
    };
    QString marketList = QStringLiteral("<select name=\"input_market\">\n");
    for (const QString &market : markets)
        marketList += QStringLiteral("<option value=\"") + market + QStringLiteral("\">") + market +
                      QStringLiteral("</option>\n");
    marketList += QStringLiteral("</select>");
    QString tradeKinds;
    for (int kind = 1; kind <= 4; ++kind)
        tradeKinds += QStringLiteral("<input type=\"radio\" name=\"trade_kbn\" value=\"%1\"%2>%3\n")
                          .arg(kind)
                          .arg(kind == 1 ? QStringLiteral(" checked") : QString())
                          .arg(tradeName(QString::number(kind)));
    return QStringLiteral("<h1>国内株式 注文</h1>\n<form name=\"FORM\" action=\"/ETGate/order\" method=\"post\">\n"
                          "<input type=\"hidden\" name=\"_ControlID\" value=\"WPLETstT001Control\">\n<table>\n"
                          "<tr><td>銘柄コード</td><td>") +
           unless("stock_sec_code", QStringLiteral("<input type=\"text\" name=\"stock_sec_code\" value=\"\">")) +
           QStringLiteral("</td></tr>\n<tr><td>市場</td><td>") + unless("input_market", marketList) +
           QStringLiteral("</td></tr>\n<tr><td>株数</td><td>") +
           unless("input_quantity", QStringLiteral("<input type=\"text\" name=\"input_quantity\" value=\"\">")) +
           QStringLiteral("株</td></tr>\n<tr><td>取引</td><td>\n") + unless("trade_kbn", tradeKinds) +
           QStringLiteral("</td></tr>\n<tr><td>価格</td><td>\n") +
           unless("in_sasinari_kbn",
                  QStringLiteral("<input type=\"radio\" name=\"in_sasinari_kbn\" value=\"1\" checked>指値\n")) +
           unless("input_price", QStringLiteral("<input type=\"text\" name=\"input_price\" value=\"\">円\n")) +
           unless("in_sasinari_kbn",
                  QStringLiteral("<input type=\"radio\" name=\"in_sasinari_kbn\" value=\"2\">成行\n")) +
           QStringLiteral("</td></tr>\n<tr><td>取引パスワード</td><td>") +
           unless("trade_pwd", QStringLiteral("<input type=\"password\" name=\"trade_pwd\" value=\"\">")) +
           QStringLiteral("</td></tr>\n</table>\n") +
           unless("skip_estimate",
                  QStringLiteral("<input type=\"checkbox\" name=\"skip_estimate\" value=\"1\">注文確認画面を省略\n")) +
           unless("ACT_place", QStringLiteral("<input type=\"submit\" name=\"ACT_place\" value=\"注文する\">\n")) +
           QStringLiteral("</form>");
}

QString acceptancePage(const QMap<QString, QString> &fields, const QString &orderNumber, bool lastRow,
                       bool hiddenRefusal)
{
    const bool limit = fields.value(QStringLiteral("in_sasinari_kbn")) == QLatin1String("1");
    QString price = QStringLiteral("成行");
    if (limit)
        price = text::formatThousands(fields.value(QStringLiteral("input_price")).toDouble()) + QStringLiteral("円");
    return (hiddenRefusal ? QStringLiteral("<div class=\"error\" style=\"display: none\">買付余力が不足しております｡"
                                           "</div>\n")
                          : QString()) +
           QStringLiteral("<p class=\"ok\">ご注文を受け付けました。</p>\n<table class=\"summary\">\n") +
           summaryRow(QStringLiteral("受付時間"), QStringLiteral("12/10 10:15")) +
           summaryRow(QStringLiteral("注文番号"), orderNumber) +
           summaryRow(QStringLiteral("取引"), tradeName(fields.value(QStringLiteral("trade_kbn")))) +
           summaryRow(QStringLiteral("銘柄コード"), fields.value(QStringLiteral("stock_sec_code"))) +
           summaryRow(QStringLiteral("銘柄"), QStringLiteral("銘柄") + fields.value(QStringLiteral("stock_sec_code"))) +
           summaryRow(QStringLiteral("市場"), fields.value(QStringLiteral("input_market"))) +
           summaryRow(QStringLiteral("株数"), fields.value(QStringLiteral("input_quantity")) + QStringLiteral("株")) +
           summaryRow(QStringLiteral("価格"), price) +
           (lastRow ? summaryRow(QStringLiteral("期間"), QStringLiteral("当日中")) : QString()) +
           QStringLiteral("</table>");
}

QString acceptanceTemplates(const QMap<QString, QString> &fields, Templates where)
{
    const QString markup = acceptancePage(fields, QStringLiteral("777777"), true);
    switch (where) {
    case Templates::None:
        return {};
    case Templates::CommentAndScript: {
        QString inScript = markup;
        inScript.replace(u'\n', QStringLiteral(" "));
        return QStringLiteral("<!-- ") + markup +
               QStringLiteral(" -->\n<script type=\"text/javascript\">var okText = '") + inScript +
               QStringLiteral("';</script>\n");
    }
    case Templates::TemplateElement:
        return QStringLiteral("<template id=\"ok\">") + markup + QStringLiteral("</template>\n");
    case Templates::DisplayNone:
        return QStringLiteral("<div class=\"template\" style=\"display:none\">") + markup + QStringLiteral("</div>\n");
    case Templates::Shown:
        break;
    }
    return QStringLiteral("<div class=\"template\">") + markup + QStringLiteral("</div>\n");
}

QString refusalPage(int code)
{
    static const QStringList reasons = {
        QStringLiteral("ただいまご注文を受け付けできませんでした。"),
        QStringLiteral("買付余力が不足しております｡"),
        QStringLiteral("売買単位が誤っております｡"),
        QStringLiteral("該当する銘柄情報は見つかりませんでした。"),
        QStringLiteral("預り残高が不足しているため、ご注文を受け付けできません。"),
    };
    const int index = code >= 1 && code <= 5 ? code - 1 : 0;
    return QStringLiteral("<h1>注文エラー</h1>\n<p class=\"error\">") + reasons.at(index) + QStringLiteral("</p>");
}

QString estimatePage()
{
    return QStringLiteral("<h1>注文確認</h1>\n<p>ご注文内容をご確認ください。</p>");
}

QString accountPage(bool cashLabel, const QString &cash, const QList<Holding> &holdings, const QString &sampleCash)
{
    QString rows;
    for (const Holding &holding : holdings)
        rows += QStringLiteral("<tr><td class=\"c\">") + holding.code +
                QStringLiteral("<a href=\"/ETGate/?_ControlID=WPLETsiR001Control&amp;code=") + holding.code +
                QStringLiteral("\">銘柄") + holding.code +
                QStringLiteral("</a></td><td rowspan=\"2\">+0</td></tr>\n<tr><td class=\"n\">") + holding.shares +
                QStringLiteral("</td><td class=\"n\">") + holding.price + QStringLiteral("</td></tr>\n");
    const QString sample =
        sampleCash.isEmpty()
            ? QString()
            : QStringLiteral("<table class=\"sample\" hidden>\n<tr><td class=\"l\"><b>現金残高</b></td>\n"
                             "<td class=\"v\"><font color=\"#000000\">") +
                  sampleCash + QStringLiteral("</font>円</td></tr>\n</table>\n");
    return QStringLiteral("<h1>口座管理</h1>\n") + sample +
           QStringLiteral("<table class=\"cash\">\n<tr><td class=\"l\"><b>") +
           (cashLabel ? QStringLiteral("現金残高") : QStringLiteral("預り金計")) +
           QStringLiteral("</b></td>\n<td class=\"v\"><font color=\"#000000\">") + cash +
           QStringLiteral("</font>円</td></tr>\n</table>\n<table class=\"hold\">\n"
                          "<tr><td colspan=\"4\">株式（現物/信用）</td></tr>\n"
                          "<tr><th>銘柄</th><th>株数</th><th>単価</th><th>評価損益</th></tr>\n") +
           rows + QStringLiteral("</table>");
}

} // namespace fakebroker
