#include "UpdaterFixture.h"

#include "updater/MsgBox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <csignal>

namespace {
QStringList &recorded()
{
    static QStringList texts;
    return texts;
}
} // namespace

void Messages::install()
{
    updater::setMsgBoxHook([](const QString &text) { recorded().append(text); });
}

void Messages::reset()
{
    recorded().clear();
}

QStringList Messages::texts()
{
    return recorded();
}

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

bool isRunning(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close > 0 && close + 2 < line.size() && line.at(close + 2) != 'Z';
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

void UpdaterFixture::SetUp()
{
    ASSERT_TRUE(m_root.isValid());
    for (const QString &folder : {install(), elsewhere(), served(), config()})
        QDir().mkpath(folder);
    m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config().toUtf8());
    Messages::reset();
}

void UpdaterFixture::TearDown()
{
    if (m_server)
        m_server->stop();
    // Everything started here or by the updater in these folders: the markers hold the pids.
    for (const QString &folder : {install(), elsewhere()}) {
        for (const QFileInfo &marker : QDir(folder).entryInfoList({QStringLiteral("*.started")}, QDir::Files))
            m_started += startsAt(marker.absoluteFilePath().chopped(8));
    }
    for (const pid_t pid : m_started) {
        if (isRunning(pid))
            ::kill(pid, SIGKILL);
    }
    qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
}

void UpdaterFixture::writeUpdaterIni(const QStringList &entries) const
{
    QString content;
    QString section;
    for (const QString &entry : entries) {
        const QString entrySection = entry.section(u'/', 0, 0);
        if (entrySection != section) {
            section = entrySection;
            content += u'[' + section + QStringLiteral("]\n");
        }
        content += entry.section(u'/', 1) + u'\n';
    }
    writeFile(install() + QStringLiteral("/Updater.ini"), content.toUtf8());
}

void UpdaterFixture::writeStandardSettings(const QString &fileName) const
{
    writeUpdaterIni({QStringLiteral("SYSTEM/FILENAME=") + fileName, QStringLiteral("FTP/SVDIR=/pub")});
    writeSiteFile(serverHost());
    writeInstalledVersion(fileName.section(u'.', 0, 0).section(u'/', -1), "2.00.0001");
}

void UpdaterFixture::writeSiteFile(const QString &updateHost) const
{
    writeFile(install() + QStringLiteral("/Updater_site.ini"),
              (QStringLiteral("[Hosts]\nUpdate=") + updateHost + u'\n').toUtf8());
}

void UpdaterFixture::writeInstalledVersion(const QString &stem, const char *version) const
{
    const QByteArray line = version ? QByteArray("Version=") + version + '\n' : QByteArray("Other=1\n");
    writeFile(config() + QStringLiteral("/Ravik/") + stem + QStringLiteral(".ini"), line);
}

QByteArray UpdaterFixture::helperBytes()
{
    return readFile(QString::fromUtf8(UPDATER_TEST_PROGRAM));
}

QByteArray UpdaterFixture::release()
{
    return helperBytes() + QByteArray("\nnewest release\n");
}

pid_t UpdaterFixture::startProgramAt(const QString &path, OnTerm onTerm)
{
    writeFile(path, helperBytes());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qint64 pid = 0;
    QStringList arguments;
    if (onTerm == OnTerm::Ignores)
        arguments = {QStringLiteral("--ignore-term")};
    else if (onTerm == OnTerm::EndsLate)
        arguments = {QStringLiteral("--end-late"), QString::number(kEndLateMs)};
    if (!QProcess::startDetached(path, arguments, QFileInfo(path).absolutePath(), &pid))
        return 0;
    m_started.append(pid_t(pid));
    // Ready once it has written its marker (and, with --ignore-term, set its signal).
    waitUntil([&] { return startsAt(path).contains(pid_t(pid)); });
    return pid_t(pid);
}

bool UpdaterFixture::endedByItself(const QString &path) const
{
    return QFile::exists(path + QStringLiteral(".ended"));
}

QList<pid_t> UpdaterFixture::startsAt(const QString &path) const
{
    QList<pid_t> pids;
    const QList<QByteArray> lines = readFile(path + QStringLiteral(".started")).split('\n');
    for (const QByteArray &line : lines) {
        if (!line.isEmpty())
            pids.append(pid_t(line.toInt()));
    }
    return pids;
}

void UpdaterFixture::endProgramsAt(const QString &path) const
{
    const QList<pid_t> pids = startsAt(path);
    for (const pid_t pid : pids)
        ::kill(pid, SIGKILL);
    // A program file cannot be rewritten while a process still runs it.
    EXPECT_TRUE(waitUntil([&] { return std::none_of(pids.begin(), pids.end(), isRunning); }));
    QFile::remove(path + QStringLiteral(".started"));
}

void UpdaterFixture::startServer(FakeFtpServer::Options options)
{
    options.root = served().toStdString();
    m_server = std::make_unique<FakeFtpServer>(std::move(options));
    ASSERT_TRUE(m_server->start());
}

void UpdaterFixture::startServer()
{
    startServer(FakeFtpServer::Options{});
}

QString UpdaterFixture::serverHost() const
{
    return m_server ? QStringLiteral("ftp://127.0.0.1:%1/").arg(m_server->port()) : QString();
}
