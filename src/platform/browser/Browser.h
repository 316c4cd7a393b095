#pragma once

#include "platform/browser/Dom.h"
#include "platform/browser/PageLoader.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

// The embedded browser: loads pages over HTTP(S) on a worker thread and keeps the last
// completed page as a mutable document. No script engine.
//
// Every navigation (Navigate, a link, a form, a location change) gets the next serial
// number and replaces the one pending; DocumentComplete(url) follows later, always on the
// browser's thread, with the address after redirects, once the page is the document. A
// navigation that gets no response at all completes as an empty page "about:neterror".
namespace browser {

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

signals:
    void DocumentComplete(const QString &url);

private:
    void start(const NavigationRequest &request);
    void complete(PageResponse response);
    void show(std::unique_ptr<Document> document, std::uint64_t serial);
    Document::Navigator navigator();

    std::unique_ptr<Document> m_document;
    std::uint64_t m_navigationSerial = 0;
    std::uint64_t m_documentSerial = 0;
    PageLoader m_loader; // last: its worker stops before the rest goes
};

} // namespace browser
