#include "core/frmBackup.h"

#include "core/modGlobal.h"
#include "core/modLog.h"
#include "platform/db/Backup.h"
#include "platform/db/Error.h"
#include "platform/sys/Clock.h"
#include "platform/sys/ProgramDir.h"
#include "platform/ui/MsgBox.h"
#include "platform/ui/WindowBuilder.h"

#include <QLabel>
#include <QTimer>

namespace {

QString backupPath()
{
    return sys::programFile(sys::exeName() + QString::number(weekdayDigit(sys::now().date())) + QStringLiteral(".mdb"));
}

// The working database as the program has it; a connection of its own when gcnDB is closed.
void backUpWorkDatabase(const QString &target)
{
    if (gcnDB.isOpen()) {
        db::backupDatabase(gcnDB, target);
        return;
    }
    db::Connection work;
    work.open(workDatabasePath());
    db::backupDatabase(work, target);
}

} // namespace

frmBackup::frmBackup(QWidget *parent) : QDialog(parent)
{
    ui::setupFixedDialog(this, QStringLiteral("frmBackup"), QStringLiteral("バックアップ"), 5400, 1200);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    lblMsg = ui::addLabel(
        this, QStringLiteral("株価情報・売買履歴等を保存しています。\n処理終了までしばらくお待ちください。"), 240, 240,
        QStringLiteral("lblMsg"));
}

void frmBackup::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated != 0)
        return;
    m_activated = 99;
    // Once the window has been painted.
    QTimer::singleShot(0, this, &frmBackup::backUpAndClose);
}

void frmBackup::backUpAndClose()
{
    const QString target = backupPath();
    try {
        backUpWorkDatabase(target);
        writeLog(glngLogFileNo, QStringLiteral("バックアップ完了(") + target + u')');
    } catch (const db::Error &error) {
        writeLog(glngLogFileNo, QStringLiteral("バックアップ失敗(") + target + QStringLiteral("):") + error.message());
        ui::msgBox(QStringLiteral("バックアップに失敗しました。\n") + error.message(), ui::vbExclamation);
    }
    accept();
}
