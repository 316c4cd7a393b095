#pragma once

#include "platform/browser/Dom.h"
#include "platform/browser/PageLoader.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

// The embedded browser: loads pages over HTTP(S) on a worker thread and keeps the last
// completed page as a mutable document. No script engine.
//
// Every navigation (Navigate, a link, a form, a location change) gets the next serial
// number and replaces the one pending; DocumentComplete(url) follows later, always on the
// browser's thread, with the address after redirects, once the page is the document. A
// navigation that gets no response at all completes as an empty page "about:neterror".
//
// A form is sent only to an address that the form-target test accepts (none is, until a
// test is set): a form that would go anywhere else sends nothing, not even a request, and
// its submit or click throws SubmitRefused. The same test is applied to every redirect of a
// form's submission before anything goes there, and no navigation follows a redirect from
// https to http: such a navigation completes as "about:neterror", and refusedRedirect()
// names the address it did not go to.
namespace browser {

// The address is kept without its query and user part: a GET form's data (a password)
// must not reach a log line that names it.
class SubmitRefused : public std::runtime_error {
public:
    explicit SubmitRefused(const QUrl &target)
        : std::runtime_error("form not sent"),
          m_target(target.adjusted(QUrl::RemoveQuery | QUrl::RemoveUserInfo | QUrl::RemoveFragment))
    {
    }
    QUrl target() const { return m_target; }

private:
    QUrl m_target;
};

class Browser : public QObject {
    Q_OBJECT
public:
    explicit Browser(QObject *parent = nullptr);
    ~Browser() override;

    // Starts loading `url` (http, https or about:blank) with GET.
    void Navigate(const QString &url);
    // The last completed page; an empty "about:blank" before the first.
    Document &document() const { return *m_document; }
    QString locationURL() const { return m_document->url().toString(); }

    // The serial of the navigation started last, and of the one whose page is the
    // document: equal when no navigation is pending.
    std::uint64_t navigationSerial() const { return m_navigationSerial; }
    std::uint64_t documentSerial() const { return m_documentSerial; }
    bool busy() const { return m_navigationSerial != m_documentSerial; }

    void setTimeouts(const LoaderTimeouts &timeouts) { m_loader.setTimeouts(timeouts); }

    // The address a redirect named that the navigation whose page is shown did not follow
    // (without its query and user part); empty when there was none.
    QUrl refusedRedirect() const { return m_refusedRedirect; }

    // Whether a form may be sent to an address. It is also called on the loader's worker
    // thread (for a form's redirects), so it must not touch state another thread changes.
    using FormTargetTest = RedirectTest;
    void setFormTargetTest(FormTargetTest test) { m_formTargetTest = std::move(test); }

signals:
    void DocumentComplete(const QString &url);

private:
    void start(const NavigationRequest &request);
    void complete(PageResponse response);
    void show(std::unique_ptr<Document> document, std::uint64_t serial, const QUrl &refusedRedirect = {});
    Document::Navigator navigator();

    std::unique_ptr<Document> m_document;
    std::uint64_t m_navigationSerial = 0;
    std::uint64_t m_documentSerial = 0;
    FormTargetTest m_formTargetTest;
    QUrl m_refusedRedirect;
    PageLoader m_loader; // last: its worker stops before the rest goes
};

} // namespace browser
