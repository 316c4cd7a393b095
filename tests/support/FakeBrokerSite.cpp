#include "support/FakeBrokerSite.h"

#include "platform/sys/Clock.h"
#include "platform/text/Cp932.h"
#include "platform/text/Format.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace {

const char kMenuControl[] = "WPLETmnR001Control";
const char kOrderControl[] = "WPLETstT001Control";
const char kAccountControl[] = "WPLETacR001Control";

// Decodes an application/x-www-form-urlencoded body whose values are in CP932.
QMap<QString, QString> formFields(const std::string &body)
{
    QMap<QString, QString> fields;
    const QByteArray bytes = QByteArray::fromStdString(body);
    for (const QByteArray &pair : bytes.split('&')) {
        if (pair.isEmpty())
            continue;
        const qsizetype equals = pair.indexOf('=');
        QByteArray name = equals < 0 ? pair : pair.left(equals);
        QByteArray value = equals < 0 ? QByteArray() : pair.mid(equals + 1);
        name.replace('+', ' ');
        value.replace('+', ' ');
        fields.insert(text::fromCp932(QByteArray::fromPercentEncoding(name)),
                      text::fromCp932(QByteArray::fromPercentEncoding(value)));
    }
    return fields;
}

std::string sessionCookie(const httplib::Request &request)
{
    const std::string cookies = request.get_header_value("Cookie");
    const std::string key = "session=";
    const size_t at = cookies.find(key);
    if (at == std::string::npos)
        return {};
    const size_t end = cookies.find(';', at);
    return cookies.substr(at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
}

QByteArray rfc2047(const QString &text)
{
    return "=?ISO-2022-JP?B?" + text::encodeCharset(text, "ISO-2022-JP").toBase64() + "?=";
}

} // namespace

FakeBrokerSite::FakeBrokerSite(Account account) : m_account(std::move(account))
{
    route("/ETGate/", false, [this](const auto &request, auto &response) { return gateway(request, response); });
    route("/ETGate/login", true, [this](const auto &request, auto &response) { return login(request, response); });
    route("/ETGate/order", true, [this](const auto &request, auto &response) { return order(request, response); });
}

void FakeBrokerSite::route(const char *pattern, bool post, Handler handler)
{
    const auto serve = [this, handler, post](const httplib::Request &request, httplib::Response &response) {
        const Behaviour now = behaviour();
        {
            const std::lock_guard lock(m_mutex);
            const QString query = QString::fromStdString(request.target).section(u'?', 1);
            m_requests.append(QString::fromStdString(request.method) + u' ' + QString::fromStdString(request.path) +
                              (query.isEmpty() ? QString() : u'?' + query));
        }
        if (now.http500) {
            response.status = 500;
            response.set_content(text::toCp932(QStringLiteral("Internal Server Error")).toStdString(), "text/html");
            return;
        }
        if (post && !now.redirectFormsTo.isEmpty()) {
            response.status = 307;
            response.set_header("Location", now.redirectFormsTo.toStdString() + request.path.substr(1));
            return;
        }
        const QString body = handler(request, response);
        if (body.isNull())
            return; // the handler answered by itself (a redirect, a dropped connection)
        const bool reserved = !now.menuWithoutReserved;
        QString html = fakebroker::page(QStringLiteral("オンライン証券"), body, reserved, now.maintenance);
        if (!now.formsTo.isEmpty())
            html.replace(QStringLiteral("action=\"/ETGate/"),
                         QStringLiteral("action=\"") + now.formsTo + QStringLiteral("ETGate/"));
        if (now.rewrite)
            html = now.rewrite(html);
        response.set_content(text::toCp932(html).toStdString(),
                             now.metaOnly ? "text/html" : "text/html; charset=Shift_JIS");
    };
    if (post)
        m_http.server().Post(pattern, serve);
    else
        m_http.server().Get(pattern, serve);
}

int FakeBrokerSite::start(int port)
{
    return m_http.start(port);
}

void FakeBrokerSite::stop()
{
    m_http.stop();
}

QString FakeBrokerSite::hostsLines() const
{
    return QStringLiteral("[Hosts]\nBroker=") + baseUrl() +
           QStringLiteral("\nBrokerDomain=127.0.0.1\nNeutral=about:blank\n");
}

void FakeBrokerSite::writeSiteFile(const QString &directory, const QString &exeName) const
{
    QFile file(QDir(directory).filePath(exeName + QStringLiteral("_site.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the site file in " + directory.toStdString());
    file.write(hostsLines().toUtf8());
}

void FakeBrokerSite::setBehaviour(const Behaviour &behaviour)
{
    const std::lock_guard lock(m_mutex);
    m_behaviour = behaviour;
}

void FakeBrokerSite::endSessions()
{
    const std::lock_guard lock(m_mutex);
    m_sessions.clear();
}

FakeBrokerSite::Behaviour FakeBrokerSite::behaviour() const
{
    const std::lock_guard lock(m_mutex);
    return m_behaviour;
}

void FakeBrokerSite::setMailDirectory(const QString &directory)
{
    const std::lock_guard lock(m_mutex);
    m_mailDirectory = directory;
}

void FakeBrokerSite::setNoticeClock(NoticeClock clock)
{
    const std::lock_guard lock(m_mutex);
    m_noticeClock = std::move(clock);
}

void FakeBrokerSite::setNoticeCallback(NoticeCallback callback)
{
    const std::lock_guard lock(m_mutex);
    m_noticeCallback = std::move(callback);
}

QStringList FakeBrokerSite::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

QList<FakeBrokerSite::Order> FakeBrokerSite::orders() const
{
    const std::lock_guard lock(m_mutex);
    return m_orders;
}

QList<FakeBrokerSite::Order> FakeBrokerSite::ordersOf(const QString &stockCode) const
{
    QList<Order> found;
    for (const Order &order : orders()) {
        if (order.fields.value(QStringLiteral("stock_sec_code")) == stockCode)
            found.append(order);
    }
    return found;
}

int FakeBrokerSite::acceptedOrderCount() const
{
    const std::lock_guard lock(m_mutex);
    return int(std::count_if(m_orders.cbegin(), m_orders.cend(),
                             [](const Order &order) { return !order.orderNumber.isEmpty(); }));
}

bool FakeBrokerSite::hasSession(const httplib::Request &request) const
{
    const std::lock_guard lock(m_mutex);
    return !m_behaviour.sessionExpired && m_sessions.count(sessionCookie(request)) == 1;
}

QString FakeBrokerSite::gateway(const httplib::Request &request, httplib::Response &)
{
    const std::string control = request.get_param_value("_ControlID");
    const bool session = hasSession(request);
    if (control.empty() || control == kMenuControl)
        return session ? fakebroker::menuPage() : fakebroker::loginPage(false);
    if (!session)
        return fakebroker::loginRequiredPage();
    const Behaviour now = behaviour();
    if (control == kOrderControl) {
        if (now.slowForm.count() > 0)
            m_http.waitUnlessStopping(now.slowForm);
        return fakebroker::orderFormPage(now.markets, now.missingFormElement);
    }
    if (control == kAccountControl)
        return fakebroker::accountPage(now.cashLabel, now.cash, now.holdings, now.sampleCash);
    return fakebroker::menuPage();
}

QString FakeBrokerSite::login(const httplib::Request &request, httplib::Response &response)
{
    const QMap<QString, QString> fields = formFields(request.body);
    const bool ok = !behaviour().wrongLogin && fields.value(QStringLiteral("user_id")) == m_account.user &&
                    fields.value(QStringLiteral("user_password")) == m_account.password;
    if (!ok)
        return fakebroker::loginPage(true);
    const std::string session = std::to_string(QRandomGenerator::global()->generate64());
    {
        const std::lock_guard lock(m_mutex);
        m_sessions.insert(session);
    }
    response.status = 302;
    response.set_header("Set-Cookie", "session=" + session + "; Path=/ETGate/; HttpOnly");
    response.set_header("Location", std::string("/ETGate/?_ControlID=") + kMenuControl + "&_PageID=DefaultPID");
    return {};
}

QString FakeBrokerSite::order(const httplib::Request &request, httplib::Response &response)
{
    if (!hasSession(request))
        return fakebroker::loginRequiredPage();
    const Behaviour now = behaviour();
    Order recorded{formFields(request.body), {}};
    const bool passwordOk = recorded.fields.value(QStringLiteral("trade_pwd")) == m_account.tradePassword;
    const bool estimated = !recorded.fields.contains(QStringLiteral("skip_estimate"));
    const bool accepted = now.refusal == 0 && passwordOk && !estimated && !now.dropAfterOrder && !now.stoppedAtOrder;
    if (accepted || now.dropAfterOrder) {
        const std::lock_guard lock(m_mutex);
        recorded.orderNumber = QString::number(m_nextOrderNumber++);
    }
    {
        const std::lock_guard lock(m_mutex);
        m_orders.append(recorded);
    }
    if (accepted || now.dropAfterOrder)
        sendNotice(recorded);
    if (now.dropAfterOrder) {
        // The order stands at the broker, but its answer never arrives.
        response.set_chunked_content_provider("text/html", [](size_t, httplib::DataSink &) { return false; });
        return {};
    }
    if (now.slowAnswer.count() > 0)
        m_http.waitUnlessStopping(now.slowAnswer);
    if (now.stoppedAtOrder)
        return QStringLiteral("<p class=\"info\">ただいまサービス停止中です。</p>");
    if (estimated)
        return fakebroker::estimatePage();
    const QString templates = fakebroker::acceptanceTemplates(recorded.fields, now.templates);
    if (!accepted)
        return templates + fakebroker::refusalPage(passwordOk ? now.refusal : 1);
    return templates + fakebroker::acceptancePage(recorded.fields, recorded.orderNumber, !now.missingAcceptanceRow,
                                                  now.hiddenRefusal);
}

void FakeBrokerSite::sendNotice(const Order &order)
{
    QString directory;
    NoticeCallback callback;
    int price = 0;
    int firstFill = 0;
    std::function<int(const QString &)> marketPrice;
    NoticeClock clock;
    {
        const std::lock_guard lock(m_mutex);
        clock = m_noticeClock;
        directory = m_mailDirectory;
        callback = m_noticeCallback;
        price = m_behaviour.fillPrice;
        firstFill = m_behaviour.firstFill;
        marketPrice = m_behaviour.marketPrice;
    }
    if (directory.isEmpty() && !callback)
        return;
    if (price == 0)
        price = order.fields.value(QStringLiteral("in_sasinari_kbn")) == QLatin1String("1")
                    ? order.fields.value(QStringLiteral("input_price")).toInt()
                : marketPrice ? marketPrice(order.fields.value(QStringLiteral("stock_sec_code")))
                              : 1000;
    const QString name = QStringLiteral("notice-") + order.orderNumber;
    const QDateTime executed = clock ? clock() : sys::now();
    const qint64 ordered = order.fields.value(QStringLiteral("input_quantity")).toLongLong();
    if (firstFill <= 0 || firstFill >= ordered) {
        deliverNotice(directory, callback, name, noticeMail(order, price, 0, 0, executed));
        return;
    }
    deliverNotice(directory, callback, name + QStringLiteral("-1"), noticeMail(order, price, firstFill, 1, executed));
    deliverNotice(directory, callback, name + QStringLiteral("-2"),
                  noticeMail(order, price, ordered - firstFill, 2, executed));
}

void FakeBrokerSite::deliverNotice(const QString &directory, const NoticeCallback &callback, const QString &name,
                                   const QByteArray &mail)
{
    if (!directory.isEmpty()) {
        QFile file(QDir(directory).filePath(name + QStringLiteral(".eml")));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(mail);
    }
    if (callback)
        callback(name, mail);
}

QByteArray FakeBrokerSite::noticeMail(const Order &order, int price, qint64 shares, int part, const QDateTime &executed)
{
    static const QStringList kinds = {QStringLiteral("現物買"), QStringLiteral("現物売"), QStringLiteral("信用新規買"),
                                      QStringLiteral("信用返済売")};
    const int kind = order.fields.value(QStringLiteral("trade_kbn")).toInt();
    const QDateTime now = executed.isValid() ? executed : sys::now();
    // The reader finds the line "約定日時" and takes the others by their distance from it.
    const QStringList lines = {
        QStringLiteral("お客様"),
        QStringLiteral("ご注文が約定しましたのでお知らせいたします。"),
        QStringLiteral("注文番号"),
        order.orderNumber,
        QString(),
        QStringLiteral("約定日時"),
        now.toString(QStringLiteral("yyyy-MM-dd hh:mm")),
        QStringLiteral("注文番号"),
        order.orderNumber,
        kind >= 1 && kind <= 4 ? kinds.at(kind - 1) : QStringLiteral("現物買"),
        QStringLiteral("銘柄コード"),
        order.fields.value(QStringLiteral("stock_sec_code")),
        QStringLiteral("銘柄名"),
        QStringLiteral("市場:") + order.fields.value(QStringLiteral("input_market")),
        QStringLiteral("約定株数:") +
            text::formatThousands(shares > 0 ? double(shares)
                                             : order.fields.value(QStringLiteral("input_quantity")).toDouble()),
        QStringLiteral("約定単価:") + text::formatThousands(price),
        QString(),
    };
    QByteArray mail;
    mail += "From: " + rfc2047(QStringLiteral("オンライン証券")) + " <notice@broker.example>\r\n";
    mail += "To: customer@example.jp\r\n";
    mail += "Subject: " + rfc2047(QStringLiteral("約定通知")) + "\r\n";
    mail += "Date: " + now.toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    const QByteArray partId = part > 0 ? "-" + QByteArray::number(part) : QByteArray();
    mail += "Message-ID: <notice-" + order.orderNumber.toLatin1() + partId + "@broker.example>\r\n";
    mail +=
        "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=ISO-2022-JP\r\nContent-Transfer-Encoding: 7bit\r\n\r\n";
    mail += text::encodeCharset(lines.join(QStringLiteral("\r\n")), "ISO-2022-JP");
    return mail;
}
