#pragma once

#include "mainwindow/frmMain.h"
#include "support/ProgramDirFixture.h"

#include <QLabel>
#include <QMenu>

#include <memory>

namespace ui {
class Timer;
}

// A program directory with both databases open, the log running, the settings records at
// their defaults and a main window built but not loaded (its load runs when a test shows
// it). Modal dialogs are recorded by object name and closed.
class MainWindowFixture : public ProgramDirFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // The six login and mailbox values; `pop3` is the mailbox address.
    void setLogin(const QString &pop3);
    // The site file with `lines` under [Hosts].
    void writeSiteFile(const QString &lines);

    frmMain &window();
    RunControls &run() { return window().runControls(); }
    template <typename T>
    T &control(const char *name)
    {
        T *found = window().findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    QLabel &label(const char *name) { return control<QLabel>(name); }
    ui::Timer &timer(const char *name);
    bool menuEnabled(const char *name) { return control<QMenu>(name).menuAction()->isEnabled(); }

    QStringList messages() const;
    QStringList dialogsShown;

private:
    std::unique_ptr<frmMain> m_window;
};
