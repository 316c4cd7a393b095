#pragma once

#include <QString>

#include <memory>

typedef void CURL;

namespace updater {

// A minimal FTP client for fetching one file: passive mode, binary transfers, one CWD per
// transfer, 15 s to connect, a transfer below 1 byte/s for 30 s is given up. The account
// is never written anywhere. Transfers run on a worker thread while the caller's window
// keeps processing events.
class modWinINET {
public:
    modWinINET();
    ~modWinINET();
    modWinINET(const modWinINET &) = delete;
    modWinINET &operator=(const modWinINET &) = delete;

    // Opens the session, directly or through the given proxy ("" = direct).
    void inetOpen(const QString &proxy);
    // Logs in to host, a base address "ftp://name[:port]/" (port 21 by default). True when
    // connected; a failure is not reported here but by ftpGetFile.
    bool ftpConnect(const QString &host, const QString &userName, const QString &password);
    // Sets the server directory for the next fetch and returns it: a text that starts with
    // the host name loses it, and an empty result is "/". A directory starting with "/" is absolute, any other is taken
    // from the login directory.
    QString ftpChangeDir(const QString &directory);
    // Fetches the file name's last part (after its last "/") from the server directory into
    // localFolder under that last part. When the server has no such directory the file is
    // looked for in the login directory. The local file is replaced only by a whole,
    // non-empty download of the size the server announced; otherwise it is left as it was.
    // Failures are shown: "インターネットに接続できません。" when not connected,
    // "ファイルの取得に失敗しました。" for anything else.
    bool ftpGetFile(const QString &serverDirectory, const QString &fileName, const QString &localFolder);
    void ftpDisconnect();
    void inetCloseAll();

    bool connected() const { return m_connection != nullptr; }

private:
    struct CurlDeleter {
        void operator()(CURL *handle) const;
    };
    enum class Fetch { Done, NoDirectory, Failed };
    Fetch fetch(const QString &url, const QString &targetPath);

    bool m_open = false;
    QString m_proxy;
    QString m_baseAddress;
    QString m_hostName;
    QString m_directory;
    std::unique_ptr<CURL, CurlDeleter> m_connection;
};

} // namespace updater
