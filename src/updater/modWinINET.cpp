#include "updater/modWinINET.h"

#include "updater/BlockingCall.h"
#include "updater/DownloadFile.h"
#include "updater/MsgBox.h"

#include <QUrl>

#include <curl/curl.h>

namespace updater {
namespace {

constexpr long connectTimeoutSeconds = 15;
constexpr long lowSpeedBytesPerSecond = 1;
constexpr long lowSpeedSeconds = 30;
constexpr long responseTimeoutSeconds = 30;

void initCurlOnce()
{
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    Q_UNUSED(initialised);
}

size_t discard(char *, size_t size, size_t count, void *)
{
    return size * count;
}

size_t writeToFile(char *data, size_t size, size_t count, void *file)
{
    const size_t bytes = size * count;
    return static_cast<DownloadFile *>(file)->write(data, qint64(bytes)) ? bytes : 0;
}

CURLcode perform(CURL *handle)
{
    CURLcode result = CURLE_OK;
    runWhileProcessingEvents([&] { result = curl_easy_perform(handle); });
    return result;
}

// The directory as a URL path for one CWD: a leading "/" is sent as %2F so the server
// takes it from its root, every other character is percent-encoded except "/".
QString directoryPath(const QString &directory)
{
    QString path = directory.endsWith(u'/') ? directory : directory + u'/';
    const bool absolute = path.startsWith(u'/');
    if (absolute)
        path.remove(0, 1);
    const QString encoded = QString::fromLatin1(QUrl::toPercentEncoding(path, "/"));
    return absolute ? QStringLiteral("%2F") + encoded : encoded;
}

QString lastPart(const QString &fileName)
{
    return fileName.mid(fileName.lastIndexOf(u'/') + 1);
}

} // namespace

void modWinINET::CurlDeleter::operator()(CURL *handle) const
{
    curl_easy_cleanup(handle);
}

modWinINET::modWinINET()
{
    initCurlOnce();
}

modWinINET::~modWinINET() = default;

void modWinINET::inetOpen(const QString &proxy)
{
    m_open = true;
    m_proxy = proxy;
}

bool modWinINET::ftpConnect(const QString &host, const QString &userName, const QString &password)
{
    ftpDisconnect();
    const QUrl url(host);
    if (!m_open || !url.isValid() || url.scheme() != QStringLiteral("ftp") || url.host().isEmpty())
        return false;
    m_hostName = url.host();
    QUrl base;
    base.setScheme(QStringLiteral("ftp"));
    base.setHost(url.host());
    base.setPort(url.port(21));
    base.setPath(QStringLiteral("/"));
    m_baseAddress = base.toString(QUrl::FullyEncoded);

    std::unique_ptr<CURL, CurlDeleter> handle(curl_easy_init());
    if (!handle)
        return false;
    CURL *const h = handle.get();
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, connectTimeoutSeconds);
    curl_easy_setopt(h, CURLOPT_FTP_RESPONSE_TIMEOUT, responseTimeoutSeconds);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, lowSpeedBytesPerSecond);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, lowSpeedSeconds);
    curl_easy_setopt(h, CURLOPT_FTP_FILEMETHOD, long{CURLFTPMETHOD_SINGLECWD});
    if (!m_proxy.isEmpty())
        curl_easy_setopt(h, CURLOPT_PROXY, m_proxy.toUtf8().constData());
    curl_easy_setopt(h, CURLOPT_USERNAME, userName.toUtf8().constData());
    curl_easy_setopt(h, CURLOPT_PASSWORD, password.toUtf8().constData());

    // Logging in to the login directory without a transfer; the connection stays open in
    // the handle for the fetch.
    curl_easy_setopt(h, CURLOPT_URL, m_baseAddress.toUtf8().constData());
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, discard);
    if (perform(h) != CURLE_OK)
        return false;
    curl_easy_setopt(h, CURLOPT_NOBODY, 0L);
    m_connection = std::move(handle);
    return true;
}

QString modWinINET::ftpChangeDir(const QString &directory)
{
    QString result = directory;
    // Only a leading host name is dropped: cutting its length off a text that merely holds
    // the name somewhere else would name another folder.
    if (!m_hostName.isEmpty() && result.startsWith(m_hostName))
        result.remove(0, m_hostName.size());
    if (result.isEmpty())
        result = QStringLiteral("/");
    m_directory = result;
    return result;
}

bool modWinINET::ftpGetFile(const QString &serverDirectory, const QString &fileName, const QString &localFolder)
{
    if (!connected()) {
        msgBox(QStringLiteral("インターネットに接続できません。"));
        return false;
    }
    const QString remoteName = lastPart(fileName);
    const QString encodedName = QString::fromLatin1(QUrl::toPercentEncoding(remoteName));
    const QString folder = localFolder.endsWith(u'/') ? localFolder : localFolder + u'/';
    const QString target = folder + remoteName;
    ftpChangeDir(serverDirectory);

    Fetch result =
        remoteName.isEmpty() ? Fetch::Failed : fetch(m_baseAddress + directoryPath(m_directory) + encodedName, target);
    if (result == Fetch::NoDirectory)
        result = fetch(m_baseAddress + encodedName, target);
    if (result != Fetch::Done)
        msgBox(QStringLiteral("ファイルの取得に失敗しました。"));
    return result == Fetch::Done;
}

modWinINET::Fetch modWinINET::fetch(const QString &url, const QString &targetPath)
{
    CURL *const h = m_connection.get();
    DownloadFile file(targetPath);
    if (!file.isOpen())
        return Fetch::Failed;
    curl_easy_setopt(h, CURLOPT_URL, url.toUtf8().constData());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, writeToFile);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &file);
    const CURLcode result = perform(h);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, nullptr);
    // curl reports a refused CWD as access denied; a missing file is "not found".
    if (result == CURLE_REMOTE_ACCESS_DENIED)
        return Fetch::NoDirectory;
    if (result != CURLE_OK)
        return Fetch::Failed;
    curl_off_t announced = -1;
    curl_easy_getinfo(h, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &announced);
    return file.commit(qint64(announced)) ? Fetch::Done : Fetch::Failed;
}

void modWinINET::ftpDisconnect()
{
    // Saying goodbye waits for the server's answer, so it runs off the window's thread too.
    if (CURL *const handle = m_connection.release())
        runWhileProcessingEvents([handle] { curl_easy_cleanup(handle); });
}

void modWinINET::inetCloseAll()
{
    ftpDisconnect();
    m_open = false;
}

} // namespace updater
