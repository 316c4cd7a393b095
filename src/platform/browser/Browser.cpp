#include "platform/browser/Browser.h"

#include "platform/sys/Clock.h"
#include "platform/text/PageCharset.h"

#include <QMetaObject>

namespace browser {
namespace {

const QUrl kBlank(QStringLiteral("about:blank"));
const QUrl kNetError(QStringLiteral("about:neterror"));

bool isWebUrl(const QUrl &url)
{
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
           !url.host().isEmpty();
}

} // namespace

Browser::Browser(QObject *parent)
    : QObject(parent), m_document(std::make_unique<Document>(kBlank, navigator())),
      m_loader([this](PageResponse response) {
          QMetaObject::invokeMethod(
              this, [this, r = std::move(response)]() mutable { complete(std::move(r)); }, Qt::QueuedConnection);
      })
{
    // A page on its way holds the simulated clock back, as a user's page would arrive
    // within the seconds between two ticks.
    sys::addPendingWork(this, [this] { return busy(); });
}

Browser::~Browser()
{
    sys::removePendingWork(this);
}

Document::Navigator Browser::navigator()
{
    // Pages complete later, so a click or submit never replaces the document under the code that made it.
    return [this](const NavigationRequest &request) { start(request); };
}

void Browser::Navigate(const QString &url)
{
    start({QUrl(url.trimmed()), false, {}});
}

void Browser::start(const NavigationRequest &request)
{
    if (request.form && !(m_formTargetTest && m_formTargetTest(request.url)))
        throw SubmitRefused(request.url);
    const std::uint64_t serial = ++m_navigationSerial;
    if (!isWebUrl(request.url)) {
        const QUrl shown = request.url == kBlank ? kBlank : kNetError;
        // An empty page, completed later like every other.
        m_loader.cancelBefore(serial);
        QMetaObject::invokeMethod(
            this, [this, serial, shown] { show(std::make_unique<Document>(shown, navigator()), serial); },
            Qt::QueuedConnection);
        return;
    }
    PageRequest page{serial, request.url, request.post, request.body, {}, {}};
    if (request.form)
        page.redirectTest = m_formTargetTest; // a copy: the worker thread calls it
    if (isWebUrl(m_document->url()))
        page.referer = m_document->url().toEncoded();
    m_loader.load(std::move(page));
}

void Browser::complete(PageResponse response)
{
    if (!response.responded) {
        show(std::make_unique<Document>(kNetError, navigator()), response.serial, response.refusedRedirect);
        return;
    }
    QByteArray charset = text::declaredPageCharset(response.contentType, response.body);
    if (charset.isEmpty())
        charset = "CP932";
    const QString html = text::decodePage(response.body, response.contentType, "CP932");
    show(std::make_unique<Document>(html, response.finalUrl, charset, navigator()), response.serial);
}

void Browser::show(std::unique_ptr<Document> document, std::uint64_t serial, const QUrl &refusedRedirect)
{
    if (serial != m_navigationSerial)
        return; // a newer navigation replaced this one
    m_document = std::move(document);
    m_documentSerial = serial;
    m_refusedRedirect = refusedRedirect;
    emit DocumentComplete(m_document->url().toString());
}

} // namespace browser
