#include "platform/mail/Pop3Receive.h"

#include "platform/mail/LineConnection.h"
#include "platform/mail/MailLimits.h"
#include "platform/sys/Clock.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <unistd.h>

namespace mail {
namespace {

struct Listed {
    QByteArray number;
    QByteArray uidl;
    qint64 size = 0; // as LIST gives it; 0 when it gives none
};

using QByteArrayPair = std::pair<QByteArray, QByteArray>;

class Pop3Session {
public:
    Pop3Session(LineConnection &connection) : m_connection(connection) {}

    QString error() const { return m_error; }
    // False once the connection failed; a command the server refused leaves it open.
    bool connected() const { return m_connection.isOpen(); }

    // Sends a command (when given) and reads its status line; true for "+OK".
    bool command(const QByteArray &line, const QByteArray &shownAs = {})
    {
        if (!line.isEmpty() && !m_connection.sendLine(line))
            return fail();
        const std::optional<QByteArray> answer = m_connection.readLine();
        if (!answer)
            return fail();
        if (answer->startsWith("+OK"))
            return true;
        m_error = QStringLiteral("POP3 error: %1 refused: %2")
                      .arg(QString::fromLatin1(shownAs.isEmpty() ? line : shownAs), QString::fromUtf8(*answer));
        return false;
    }

    // The lines of a multi-line answer up to its terminating ".", dot-unstuffed.
    std::optional<QByteArray> multiLine(bool keepLineEnds)
    {
        QByteArray data;
        for (;;) {
            std::optional<QByteArray> line = m_connection.readLine();
            if (!line) {
                fail();
                return std::nullopt;
            }
            if (*line == ".")
                return data;
            if (line->startsWith('.'))
                line->remove(0, 1);
            data += *line;
            data += keepLineEnds ? "\r\n" : "\n";
            if (data.size() > kMaxMailBytes) {
                m_error = QStringLiteral("POP3 error: a message exceeds %1 bytes").arg(kMaxMailBytes);
                return std::nullopt;
            }
        }
    }

    // The messages by their unique ids (UIDL), each with its size (LIST).
    std::optional<QList<Listed>> listing()
    {
        const std::optional<QList<QByteArrayPair>> uidls = numbered("UIDL");
        if (!uidls)
            return std::nullopt;
        const std::optional<QList<QByteArrayPair>> sizes = numbered("LIST");
        if (!sizes)
            return std::nullopt;
        QHash<QByteArray, qint64> sizeOf;
        for (const auto &[number, size] : *sizes)
            sizeOf.insert(number, size.toLongLong());
        QList<Listed> listed;
        for (const auto &[number, uidl] : *uidls)
            listed.push_back({number, uidl, sizeOf.value(number)});
        return listed;
    }

private:
    // The rows "<message number> <value>" of a listing command's multi-line answer.
    std::optional<QList<QByteArrayPair>> numbered(const QByteArray &verb)
    {
        if (!command(verb))
            return std::nullopt;
        const std::optional<QByteArray> answer = multiLine(false);
        if (!answer)
            return std::nullopt;
        QList<QByteArrayPair> rows;
        for (const QByteArray &line : answer->split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() == 2 && !parts[0].isEmpty() && !parts[1].isEmpty())
                rows.push_back({parts[0], parts[1]});
        }
        return rows;
    }

    bool fail()
    {
        m_error = QStringLiteral("POP3 %1").arg(m_connection.errorText());
        return false;
    }

    LineConnection &m_connection;
    QString m_error;
};

// The unique-id keys of the files already in the folder ("<time>_<key>.eml").
QSet<QString> savedKeys(const QDir &folder)
{
    QSet<QString> keys;
    const QStringList names = folder.entryList({QStringLiteral("*.eml")}, QDir::Files);
    for (const QString &name : names) {
        const qsizetype at = name.indexOf(u'_');
        if (at >= 0)
            keys.insert(name.mid(at + 1, name.size() - at - 1 - 4));
    }
    return keys;
}

// Writes the message under a temporary name, forces it to disk and renames it, so the
// final name never shows a half-written mail. Returns the final path.
sys::Result<QString> saveMessage(const QDir &folder, const QString &key, const QByteArray &message)
{
    const QString stamp = sys::now().toString(QStringLiteral("yyyyMMddHHmmsszzz"));
    const QString finalPath = folder.filePath(stamp + u'_' + key + QStringLiteral(".eml"));
    const QString tempPath = folder.filePath(u'.' + stamp + u'_' + key + QStringLiteral(".part"));
    QFile file(tempPath);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(message) == message.size() &&
                   file.flush() && ::fsync(file.handle()) == 0;
    file.close();
    written = written && QFile::rename(tempPath, finalPath);
    if (!written) {
        QFile::remove(tempPath);
        return sys::Result<QString>::failure(QStringLiteral("error: cannot write %1").arg(finalPath));
    }
    return finalPath;
}

} // namespace

QString uidlFileKey(const QByteArray &uidl)
{
    QString key;
    for (const char c : uidl) {
        const bool plain =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
        key += plain ? QString(QLatin1Char(c)) : QStringLiteral("~%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
    }
    return key;
}

sys::Result<Received> receiveAll(const ServerAddress &server, const QString &user, const QString &password,
                                 const QString &folder, std::chrono::milliseconds timeout)
{
    using Receipt = sys::Result<Received>;
    const auto hasLineBreak = [](const QString &s) {
        return s.contains(u'\r') || s.contains(u'\n') || s.contains(QChar(0));
    };
    if (hasLineBreak(user) || hasLineBreak(password))
        return Receipt::failure(QStringLiteral("error: the mailbox user or password contains a line break"));
    const QDir dir(folder);
    if (!QDir().mkpath(folder))
        return Receipt::failure(QStringLiteral("error: cannot create the mail folder %1").arg(folder));
    LineConnection connection(server.host, server.port, server.tls, timeout);
    if (!connection.isOpen())
        return Receipt::failure(QStringLiteral("POP3 %1").arg(connection.errorText()));
    Pop3Session session(connection);
    const bool loggedIn = session.command({}, "greeting") && session.command("USER " + user.toUtf8(), "USER") &&
                          session.command("PASS " + password.toUtf8(), "PASS");
    std::optional<QList<Listed>> listed;
    if (loggedIn)
        listed = session.listing();
    if (!listed)
        return Receipt::failure(session.error()); // nothing was deleted: no QUIT, so the server applies nothing
    Received received;
    const QSet<QString> alreadySaved = savedKeys(dir);
    for (const Listed &message : *listed) {
        const QString key = uidlFileKey(message.uidl);
        if (message.size > kMaxMailBytes) {
            received.oversized.push_back({key, message.size});
            continue;
        }
        if (!alreadySaved.contains(key)) {
            if (!session.command("RETR " + message.number))
                return Receipt::failure(session.error());
            const std::optional<QByteArray> content = session.multiLine(true);
            if (!content)
                return Receipt::failure(session.error());
            const sys::Result<QString> saved = saveMessage(dir, key, *content);
            if (!saved.ok())
                return Receipt::failure(saved.problem());
            received.savedPaths.push_back(saved.value());
        }
        if (!session.command("DELE " + message.number)) {
            if (!session.connected())
                return Receipt::failure(session.error());
            if (received.deletionRefusal.isEmpty())
                received.deletionRefusal = session.error();
        }
    }
    if (!session.command("QUIT"))
        return Receipt::failure(session.error());
    return received;
}

} // namespace mail
