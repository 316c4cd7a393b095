#include "support/FakeSmtpServer.h"

#include <QDir>
#include <QFile>

FakeSmtpServer::FakeSmtpServer(QString folder)
    : m_folder(std::move(folder)), m_server([this](LineSession &client) { session(client); })
{
}

QString FakeSmtpServer::url() const
{
    return QStringLiteral("smtp://127.0.0.1:%1/").arg(port());
}

QList<FakeSmtpServer::Message> FakeSmtpServer::messages() const
{
    const std::lock_guard lock(m_mutex);
    return m_messages;
}

void FakeSmtpServer::keep(const Message &message)
{
    const std::lock_guard lock(m_mutex);
    m_messages.push_back(message);
    if (m_folder.isEmpty())
        return;
    const QString stem = QDir(m_folder).filePath(QString::number(m_messages.size()));
    QFile data(stem + QStringLiteral(".eml"));
    if (data.open(QIODevice::WriteOnly))
        data.write(message.data);
    QFile envelope(stem + QStringLiteral(".envelope"));
    if (envelope.open(QIODevice::WriteOnly))
        envelope.write(QStringLiteral("MAIL FROM:%1\nRCPT TO:%2\n")
                           .arg(message.from, message.to.join(QStringLiteral("\nRCPT TO:")))
                           .toUtf8());
}

namespace {

// The address of "MAIL FROM:<a>" or "RCPT TO:<a>".
QString pathOf(const QByteArray &argument)
{
    const qsizetype open = argument.indexOf('<');
    const qsizetype close = argument.indexOf('>', open);
    return open < 0 || close < 0 ? QString() : QString::fromUtf8(argument.mid(open + 1, close - open - 1));
}

} // namespace

void FakeSmtpServer::session(LineSession &client)
{
    client.writeLine("220 fake SMTP ready");
    Message current;
    QByteArray line;
    while (client.readLine(line)) {
        const QByteArray verb = line.left(4).toUpper();
        if (verb == "EHLO") {
            client.writeLine("250-127.0.0.1");
            client.writeLine("250 8BITMIME");
        } else if (verb == "HELO") {
            client.writeLine("250 127.0.0.1");
        } else if (verb == "MAIL") {
            current = {pathOf(line), {}, {}};
            if (m_dropAfterMail) {
                client.drop();
                return;
            }
            client.writeLine("250 OK");
        } else if (verb == "RCPT") {
            if (m_refuseRcpt) {
                client.writeLine("550 no such user");
                continue;
            }
            current.to.push_back(pathOf(line));
            client.writeLine("250 OK");
        } else if (verb == "DATA") {
            if (m_refuseData || current.to.isEmpty()) {
                client.writeLine("554 transaction failed");
                continue;
            }
            client.writeLine("354 end with <CRLF>.<CRLF>");
            QByteArray row;
            while (client.readLine(row, false) && row != ".")
                current.data += (row.startsWith('.') ? row.mid(1) : row) + "\r\n";
            keep(current);
            current = {};
            client.writeLine("250 OK queued");
        } else if (verb == "RSET") {
            current = {};
            client.writeLine("250 OK");
        } else if (verb == "NOOP") {
            client.writeLine("250 OK");
        } else if (verb == "QUIT") {
            client.writeLine("221 bye");
            return;
        } else {
            client.writeLine("502 command not implemented");
        }
    }
}
