#include "MainWindowFixture.h"

#include "core/SettingsRecords.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/ui/ModalDialog.h"
#include "platform/ui/Timer.h"
#include "support/MessageBoxRecorder.h"

#include <QDialog>
#include <QFile>

void MainWindowFixture::SetUp()
{
    ProgramDirFixture::SetUp();
    createDatabases();
    openDatabases();
    glngLogFileNo = openLog();
    ui::setModalHook([this](QDialog &dialog) {
        dialogsShown.append(dialog.objectName());
        return int(QDialog::Rejected);
    });
}

void MainWindowFixture::TearDown()
{
    m_window.reset();
    ui::setModalHook([](QDialog &) { return int(QDialog::Rejected); });
    ProgramDirFixture::TearDown();
}

void MainWindowFixture::setLogin(const QString &pop3)
{
    UserID = QStringLiteral("U");
    Password = QStringLiteral("P");
    Password2 = QStringLiteral("T");
    POP3Server = pop3;
    POPUserID = QStringLiteral("mailuser");
    POPPassword = QStringLiteral("mailpass");
}

void MainWindowFixture::writeSiteFile(const QString &lines)
{
    QFile file(path(QStringLiteral("Nimbra_site.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((QStringLiteral("[Hosts]\n") + lines + u'\n').toUtf8());
}

frmMain &MainWindowFixture::window()
{
    if (!m_window)
        m_window = std::make_unique<frmMain>();
    return *m_window;
}

ui::Timer &MainWindowFixture::timer(const char *name)
{
    return control<ui::Timer>(name);
}

QStringList MainWindowFixture::messages() const
{
    return MessageBoxRecorder::instance().texts();
}
