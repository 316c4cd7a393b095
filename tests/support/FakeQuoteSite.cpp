#include "support/FakeQuoteSite.h"

#include "platform/sys/Clock.h"
#include "platform/text/Cp932.h"
#include "support/FakeQuotePages.h"

#include <QDir>
#include <QFile>

namespace {

int intParam(const httplib::Request &request, const char *key)
{
    return request.has_param(key) ? QString::fromStdString(request.get_param_value(key)).toInt() : 0;
}

QString textParam(const httplib::Request &request, const char *key)
{
    return QString::fromStdString(request.get_param_value(key));
}

const QString kTermsPath = QStringLiteral("terms.html");

QString termsPage()
{
    return QStringLiteral("<html><head>%META%<title>使用許諾書</title></head><body>"
                          "<h3>使用許諾書</h3>"
                          "<p>本ソフトウェアは、利用者自身の判断と責任において株式の売買に使用するものとします。</p>"
                          "<p>本ソフトウェアの使用により生じた損害について、提供者は一切の責任を負いません。</p>"
                          "<p>上記に同意いただける場合のみ「同意する」を押してください。</p>"
                          "</body></html>");
}

} // namespace

FakeQuoteSite::FakeQuoteSite(const FakeMarket::Options &options) : m_market(options)
{
    httplib::Server &server = m_http.server();

    server.Get("/MnStock/sresult.html", [this](const httplib::Request &request, httplib::Response &response) {
        const QStringList qt = textParam(request, "qt").split(u'.');
        const FakeStock *stock = qt.size() == 2 ? m_market.findBySiteLetter(qt[0], qt[1]) : nullptr;
        serve(request, response, {stock ? fakepages::stockHeaderPage(*stock, codeMarks()) : fakepages::noMatchPage()});
    });

    server.Get("/MnStock/slast.html", [this](const httplib::Request &request, httplib::Response &response) {
        const QStringList qt = textParam(request, "qt").split(u'.');
        const FakeStock *stock = qt.size() == 2 ? m_market.findBySiteLetter(qt[0], qt[1]) : nullptr;
        const QDate start(intParam(request, "sy"), intParam(request, "sm"), intParam(request, "sd"));
        const QDate end(intParam(request, "ey"), intParam(request, "em"), intParam(request, "ed"));
        serve(request, response,
              {stock && start.isValid() && end.isValid()
                   ? fakepages::historyPage(m_market, *stock, start, end, codeMarks())
                   : fakepages::noMatchPage()});
    });

    server.Get("/net_trade/margin_trade/chuui/post.html",
               [this](const httplib::Request &request, httplib::Response &response) {
                   serve(request, response, {fakepages::cautionPage(m_market), true});
               });

    server.Get("/" + kTermsPath.toStdString(), [this](const httplib::Request &request, httplib::Response &response) {
        serve(request, response, {termsPage(), true});
    });

    server.Get("/q", [this](const httplib::Request &request, httplib::Response &response) {
        const QString code = textParam(request, "s");
        QDateTime moment;
        bool showsDate = false;
        {
            const std::lock_guard lock(m_mutex);
            moment = m_quoteMoment.value_or(sys::now());
            showsDate = m_quoteShowsDate;
        }
        if (code == FakeMarket::kIndexCode) {
            const FakeQuote quote = m_market.quote(code, FakeMarket::kIndexMarket, moment, showsDate);
            serve(request, response, {fakepages::quotePage(code, QStringLiteral("日経平均"), quote)});
        } else if (const FakeStock *stock = m_market.findByCode(code)) {
            const FakeQuote quote = m_market.quote(stock->code, stock->market, moment, showsDate);
            serve(request, response, {fakepages::quotePage(code, stock->name, quote)});
        } else {
            serve(request, response, {fakepages::noKeywordPage()});
        }
    });
}

int FakeQuoteSite::start(int port)
{
    return m_http.start(port);
}

void FakeQuoteSite::stop()
{
    m_http.stop();
}

QString FakeQuoteSite::hostsLines() const
{
    const QString base = baseUrl();
    return QStringLiteral("[Hosts]\nInfoseek=%1\nYahoo=%1\nCaution=%1\nConsent=%1%2\n").arg(base, kTermsPath);
}

void FakeQuoteSite::writeSiteFile(const QString &directory, const QString &exeName) const
{
    QFile file(QDir(directory).filePath(exeName + QStringLiteral("_site.ini")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the site file in " + directory.toStdString());
    file.write(hostsLines().toUtf8());
}

void FakeQuoteSite::setFailure(Failure failure, int requests)
{
    const std::lock_guard lock(m_mutex);
    m_failure = failure;
    m_failuresLeft = requests;
}

void FakeQuoteSite::setTimeoutDelay(std::chrono::milliseconds delay)
{
    const std::lock_guard lock(m_mutex);
    m_timeoutDelay = delay;
}

void FakeQuoteSite::setEncoding(Encoding encoding)
{
    const std::lock_guard lock(m_mutex);
    m_encoding = encoding;
}

void FakeQuoteSite::setDeclaration(Declaration declaration)
{
    const std::lock_guard lock(m_mutex);
    m_declaration = declaration;
}

void FakeQuoteSite::setCodeMarks(fakepages::CodeMarks marks)
{
    const std::lock_guard lock(m_mutex);
    m_codeMarks = marks;
}

fakepages::CodeMarks FakeQuoteSite::codeMarks() const
{
    const std::lock_guard lock(m_mutex);
    return m_codeMarks;
}

void FakeQuoteSite::setRewrite(std::function<QString(const QString &)> rewrite)
{
    const std::lock_guard lock(m_mutex);
    m_rewrite = std::move(rewrite);
}

namespace {

const std::pair<const char *, FakeQuoteSite::Failure> kFailureNames[] = {
    {"error-page", FakeQuoteSite::Failure::ErrorPage},
    {"empty", FakeQuoteSite::Failure::EmptyPage},
    {"timeout", FakeQuoteSite::Failure::Timeout},
    {"http500", FakeQuoteSite::Failure::Http500},
    {"changed", FakeQuoteSite::Failure::ChangedPage},
    {"truncated", FakeQuoteSite::Failure::Truncated},
    {"wrong-charset", FakeQuoteSite::Failure::WrongCharset},
    {"other-stock", FakeQuoteSite::Failure::OtherStock},
    {"off-site", FakeQuoteSite::Failure::OffSite},
    {"huge", FakeQuoteSite::Failure::HugeBody},
};

// The request's target with the stock key "qt=" pointing at the reference stock.
std::string referenceStockTarget(const httplib::Request &request)
{
    std::string target = request.path + "?";
    for (const auto &[key, value] : request.params)
        target += key + "=" + (key == "qt" ? std::string("7203.t") : value) + "&";
    target.pop_back();
    return target;
}

} // namespace

std::optional<FakeQuoteSite::Failure> FakeQuoteSite::failureNamed(const QString &name)
{
    for (const auto &[text, failure] : kFailureNames)
        if (name == QLatin1String(text))
            return failure;
    return std::nullopt;
}

QStringList FakeQuoteSite::failureNames()
{
    QStringList names;
    for (const auto &entry : kFailureNames)
        names.append(QString::fromLatin1(entry.first));
    return names;
}

void FakeQuoteSite::setQuoteMoment(std::optional<QDateTime> moment)
{
    const std::lock_guard lock(m_mutex);
    m_quoteMoment = std::move(moment);
}

void FakeQuoteSite::setQuoteShowsDate(bool showsDate)
{
    const std::lock_guard lock(m_mutex);
    m_quoteShowsDate = showsDate;
}

QStringList FakeQuoteSite::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

int FakeQuoteSite::requestCount() const
{
    const std::lock_guard lock(m_mutex);
    return int(m_requests.size());
}

FakeQuoteSite::Failure FakeQuoteSite::takeFailure()
{
    if (m_failure == Failure::None || m_failuresLeft == 0)
        return Failure::None;
    if (m_failuresLeft > 0)
        --m_failuresLeft;
    return m_failure;
}

void FakeQuoteSite::serve(const httplib::Request &request, httplib::Response &response, const Page &page)
{
    Failure failure;
    std::chrono::milliseconds delay;
    Encoding encoding;
    Declaration declaration;
    std::function<QString(const QString &)> rewrite;
    {
        const std::lock_guard lock(m_mutex);
        m_requests.append(QString::fromStdString(request.target));
        failure = takeFailure();
        delay = m_timeoutDelay;
        encoding = m_encoding;
        declaration = m_declaration;
        rewrite = m_rewrite;
    }

    QString html = page.html;
    switch (failure) {
    case Failure::Timeout:
        if (m_http.waitUnlessStopping(delay))
            return;
        break;
    case Failure::Http500:
        response.status = 500;
        response.set_content("<html><body>Internal Server Error</body></html>", "text/html");
        return;
    case Failure::EmptyPage:
        response.set_content("", "text/html");
        return;
    case Failure::ErrorPage:
        html = fakepages::errorPage();
        break;
    case Failure::ChangedPage:
        html = fakepages::changedPage(html);
        break;
    case Failure::Truncated:
        html.truncate(html.size() / 2);
        break;
    case Failure::OtherStock:
        response.set_redirect(referenceStockTarget(request));
        return;
    case Failure::OffSite:
        response.set_redirect("http://localhost:" + std::to_string(m_http.port()) + request.target);
        return;
    case Failure::HugeBody:
        response.set_content(std::string(20 * 1024 * 1024, ' '), "text/html");
        return;
    case Failure::WrongCharset:
        encoding = page.shiftJis ? Encoding::EucJp : Encoding::ShiftJis;
        declaration = Declaration::HeaderAndMeta;
        break;
    case Failure::None:
        break;
    }
    if (rewrite)
        html = rewrite(html);

    const bool wrongCharset = failure == Failure::WrongCharset;
    const bool shiftJis = encoding == Encoding::SiteDefault ? page.shiftJis : encoding == Encoding::ShiftJis;
    const QString charset = shiftJis != wrongCharset ? QStringLiteral("Shift_JIS") : QStringLiteral("EUC-JP");
    const bool inMeta = declaration == Declaration::HeaderAndMeta || declaration == Declaration::MetaOnly;
    const bool inHeader = declaration == Declaration::HeaderAndMeta || declaration == Declaration::HeaderOnly;
    html.replace(QStringLiteral("%META%"),
                 inMeta ? QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=") + charset +
                              QStringLiteral("\">")
                        : QString());
    const QByteArray body = text::encodeCharset(html, shiftJis ? "CP932" : "EUC-JP-MS");
    const std::string contentType = inHeader ? "text/html; charset=" + charset.toStdString() : "text/html";
    response.set_content(body.constData(), size_t(body.size()), contentType.c_str());
}
