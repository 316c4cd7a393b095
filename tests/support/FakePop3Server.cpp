#include "support/FakePop3Server.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <chrono>
#include <thread>

FakePop3Server::FakePop3Server(QString maildrop, QString user, QString password)
    : m_dir(std::move(maildrop)), m_user(std::move(user)), m_password(std::move(password)),
      m_server([this](LineSession &client) { session(client); })
{
}

QString FakePop3Server::address() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QStringList FakePop3Server::maildrop() const
{
    return QDir(m_dir).entryList(QDir::Files, QDir::Name);
}

bool FakePop3Server::addSparseMessage(const QString &name, qint64 size) const
{
    QFile file(QDir(m_dir).filePath(name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.resize(size);
}

void FakePop3Server::session(LineSession &client)
{
    const auto answer = [&](const QByteArray &line) {
        if (m_answerDelayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(int(m_answerDelayMs)));
        client.writeLine(line);
    };
    answer("+OK fake POP3 ready");
    bool userGiven = false;
    bool loggedIn = false;
    QStringList messages;
    QSet<int> deleted;
    int retrieved = 0;
    const auto message = [&](const QByteArray &argument) -> int {
        bool ok = false;
        const int n = argument.toInt(&ok);
        return ok && n >= 1 && n <= messages.size() && !deleted.contains(n) ? n : 0;
    };
    const auto content = [&](int n) {
        QFile file(QDir(m_dir).filePath(messages[n - 1]));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto size = [&](int n) { return QFileInfo(QDir(m_dir).filePath(messages[n - 1])).size(); };
    QByteArray line;
    while (client.readLine(line)) {
        const qsizetype blank = line.indexOf(' ');
        const QByteArray verb = (blank < 0 ? line : line.left(blank)).toUpper();
        const QByteArray argument = blank < 0 ? QByteArray() : line.mid(blank + 1);
        if (verb == "QUIT") {
            for (const int n : deleted)
                QFile::remove(QDir(m_dir).filePath(messages[n - 1]));
            answer("+OK bye");
            return;
        }
        if (!loggedIn) {
            if (verb == "USER") {
                userGiven = QString::fromUtf8(argument) == m_user;
                answer("+OK");
            } else if (verb == "PASS" && userGiven && !m_refuseLogin && QString::fromUtf8(argument) == m_password) {
                loggedIn = true;
                messages = maildrop();
                answer("+OK maildrop locked");
            } else {
                answer("-ERR authentication failed");
            }
            continue;
        }
        if (verb == "STAT" || verb == "LIST" || verb == "UIDL") {
            QList<QByteArray> rows;
            qint64 total = 0;
            for (int n = 1; n <= messages.size(); ++n) {
                if (deleted.contains(n))
                    continue;
                total += size(n);
                rows.push_back(QByteArray::number(n) + ' ' +
                               (verb == "UIDL" ? messages[n - 1].toUtf8() : QByteArray::number(size(n))));
            }
            if (verb == "STAT") {
                answer("+OK " + QByteArray::number(rows.size()) + ' ' + QByteArray::number(total));
            } else if (!argument.isEmpty()) {
                const int n = message(argument);
                answer(n ? "+OK " + QByteArray::number(n) + ' ' +
                               (verb == "UIDL" ? messages[n - 1].toUtf8() : QByteArray::number(size(n)))
                         : QByteArray("-ERR no such message"));
            } else {
                answer("+OK");
                for (const QByteArray &row : rows)
                    client.writeLine(row);
                client.writeLine(".");
            }
        } else if (verb == "RETR") {
            const int n = message(argument);
            if (!n) {
                answer("-ERR no such message");
                continue;
            }
            QByteArray data = content(n);
            data.replace("\r\n", "\n");
            answer("+OK message follows");
            if (data.endsWith('\n'))
                data.chop(1);
            for (const QByteArray &row : data.split('\n'))
                client.writeLine(row.startsWith('.') ? '.' + row : row);
            client.writeLine(".");
            if (m_dropAfterRetr > 0 && ++retrieved >= m_dropAfterRetr) {
                client.drop();
                return;
            }
        } else if (verb == "DELE") {
            const int n = message(argument);
            if (n && m_refuseDeletions) {
                answer("-ERR permission denied: the maildrop is read-only");
                continue;
            }
            if (n)
                deleted.insert(n);
            answer(n ? QByteArray("+OK deleted") : QByteArray("-ERR no such message"));
        } else if (verb == "RSET") {
            deleted.clear();
            answer("+OK");
        } else if (verb == "NOOP") {
            answer("+OK");
        } else {
            answer("-ERR unknown command");
        }
    }
}
