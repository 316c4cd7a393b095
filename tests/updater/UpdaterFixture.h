#pragma once

#include "FakeFtpServer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include <gtest/gtest.h>
#include <sys/types.h>

// Every message box text the updater shows, in order; installed once by the test main.
class Messages {
public:
    static void install();
    static void reset();
    static QStringList texts();
};

// Processes window events until the condition holds or the time is up.
bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 15000);

bool isRunning(pid_t pid);

// A temporary world for one test: the install folder with Updater.ini and the site file,
// another folder with a same-named program, the FTP server's folder, and the settings
// folder as XDG_CONFIG_HOME. Programs it starts are ended when the test ends.
class UpdaterFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString install() const { return m_root.path() + QStringLiteral("/install"); }
    QString elsewhere() const { return m_root.path() + QStringLiteral("/elsewhere"); }
    QString served() const { return m_root.path() + QStringLiteral("/served"); }
    QString config() const { return m_root.path() + QStringLiteral("/config"); }

    // Writes Updater.ini in the install folder from "SECTION/KEY=value" lines.
    void writeUpdaterIni(const QStringList &entries) const;
    // The usual settings: FILENAME=Nimbra, SVDIR=/pub, the site file naming the server.
    void writeStandardSettings(const QString &fileName = QStringLiteral("Nimbra")) const;
    void writeSiteFile(const QString &updateHost) const;
    // The installed version under the updater's settings key; nullptr text leaves the value out.
    void writeInstalledVersion(const QString &stem, const char *version) const;

    // How the helper program answers SIGTERM: it ends, it ignores it (only SIGKILL ends
    // it), or it ends by itself kEndLateMs later, as a program that ends in order does.
    enum class OnTerm { Ends, Ignores, EndsLate };
    static constexpr int kEndLateMs = 3500;
    // Copies the helper program to path and starts it there; returns its pid.
    pid_t startProgramAt(const QString &path, OnTerm onTerm = OnTerm::Ends);
    // Whether a program started at path with OnTerm::EndsLate has ended by itself.
    bool endedByItself(const QString &path) const;
    // The pids written by the programs started at path, oldest first.
    QList<pid_t> startsAt(const QString &path) const;
    // Ends every program started at path, waits until they are gone and forgets them.
    void endProgramsAt(const QString &path) const;
    // The helper program with a few bytes appended, as the server's newest release.
    static QByteArray release();
    static QByteArray helperBytes();

    void startServer(FakeFtpServer::Options options);
    void startServer();
    QString serverHost() const;

    std::unique_ptr<FakeFtpServer> m_server;

private:
    QTemporaryDir m_root;
    QByteArray m_oldConfigHome;
    QList<pid_t> m_started;
};

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);
