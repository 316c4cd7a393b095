#include "UpdaterFixture.h"

#include "updater/modProcess.h"

#include <QDir>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using ProcessTest = UpdaterFixture;

TEST_F(ProcessTest, ListsProgramsByTheirPathInPidOrder)
{
    const QString path = QDir(install()).canonicalPath() + QStringLiteral("/Nimbra");
    const pid_t pid = startProgramAt(path);
    ASSERT_NE(pid, 0);

    const QList<updater::ProcessEntry> list = updater::getProcessList();
    const auto found = std::find_if(list.begin(), list.end(), [&](const auto &entry) { return entry.pid == pid; });
    ASSERT_NE(found, list.end());
    EXPECT_EQ(found->exePath, path);
    EXPECT_EQ(found->name, QStringLiteral("Nimbra"));
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end(), [](const auto &a, const auto &b) { return a.pid < b.pid; }));

    // A program whose file was replaced keeps its path, without " (deleted)".
    QFile::remove(path);
    const QList<updater::ProcessEntry> after = updater::getProcessList();
    const auto again = std::find_if(after.begin(), after.end(), [&](const auto &entry) { return entry.pid == pid; });
    ASSERT_NE(again, after.end());
    EXPECT_EQ(again->exePath, path);
}

TEST_F(ProcessTest, KillProcessEndsAProgramThatIgnoresTerm)
{
    const pid_t polite = startProgramAt(install() + QStringLiteral("/Polite"));
    const pid_t stubborn = startProgramAt(install() + QStringLiteral("/Stubborn"), OnTerm::Ignores);
    ASSERT_NE(polite, 0);
    ASSERT_NE(stubborn, 0);

    EXPECT_EQ(updater::killProcess(polite), 0);
    EXPECT_FALSE(isRunning(polite));

    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(updater::killProcess(stubborn, std::chrono::milliseconds(1500)), 0);
    EXPECT_FALSE(isRunning(stubborn));
    EXPECT_GE(timer.elapsed(), 1400) << "SIGKILL only after the wait for SIGTERM";
}

// A program that takes its time to end in order (a job's stop, then its backup) is let end
// by itself, past the few seconds an idle program needs.
TEST_F(ProcessTest, KillProcessWaitsForAnOrderlyEnd)
{
    const QString path = install() + QStringLiteral("/Orderly");
    const pid_t orderly = startProgramAt(path, OnTerm::EndsLate);
    ASSERT_NE(orderly, 0);
    EXPECT_EQ(updater::killProcess(orderly), 0);
    EXPECT_FALSE(isRunning(orderly));
    EXPECT_TRUE(endedByItself(path)) << "killed before it had ended";
}
