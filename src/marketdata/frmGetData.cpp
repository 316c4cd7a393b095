#include "marketdata/frmGetData.h"

#include "core/StartUpPicture.h"
#include "core/modGlobal.h"
#include "core/modLog.h"
#include "marketdata/UpdateJournal.h"
#include "marketdata/modCalc.h"
#include "marketdata/modCosmo.h"
#include "marketdata/modKabuka.h"
#include "marketdata/modKabukaKikan.h"
#include "platform/net/Inet.h"
#include "platform/sys/Clock.h"
#include "platform/text/Format.h"
#include "platform/ui/DoEvents.h"
#include "platform/ui/MsgBox.h"

#include <QCloseEvent>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace {

void logStep(const char16_t *text)
{
    writeLog(glngLogFileNo, QString::fromUtf16(text));
}

} // namespace

frmGetData::frmGetData(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      imgLogo(new QLabel(this)), lblMsg(new QLabel(this)), Inet1(new net::Inet(this))
{
    setObjectName(QStringLiteral("frmGetData"));
    setWindowTitle(QStringLiteral("株価情報取得"));
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    lblMsg->setObjectName(QStringLiteral("lblMsg"));
    Inet1->setObjectName(QStringLiteral("Inet1"));
    setModal(true);
    Form_Load();
}

void frmGetData::Form_Load()
{
    lblMsg->clear();
    ui::showStartUpPicture(this, imgLogo);
    QPalette palette = lblMsg->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    lblMsg->setPalette(palette);
    lblMsg->setGeometry(8, height() - 28, width() - 16, 20);
    lblMsg->raise();
}

void frmGetData::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ui::doEvents();
    activateWindow();
    // Activation may not be reported on every platform; the shown window starts its work.
    QTimer::singleShot(0, this, &frmGetData::Form_Activate);
}

bool frmGetData::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, &frmGetData::Form_Activate);
    return handled;
}

void frmGetData::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_stopRequested || m_runCount < 1)
        return;
    if (ui::msgBox(
            QStringLiteral("株価情報の取得を中止しますか?\n取得中の銘柄の後で中止し、残りは次回の起動時に取得します。"),
            ui::vbYesNo + ui::vbQuestion + ui::vbDefaultButton2) != ui::vbYes)
        return;
    stopJob();
}

void frmGetData::stopJob()
{
    if (m_stopRequested)
        return;
    m_stopRequested = true;
    writeLog(glngLogFileNo, QStringLiteral("株価情報の取得の中止が指示されました"));
}

void frmGetData::Form_Activate()
{
    if (m_runCount >= 1 || !isVisible())
        return;
    if (m_stopRequested) {
        done(QDialog::Rejected);
        return;
    }
    ++m_runCount;
    lblMsg->clear();
    ui::doEvents();
    const bool completed = runUpdate(sys::now());
    m_runCount = 0;
    done(completed ? QDialog::Accepted : QDialog::Rejected);
}

bool frmGetData::runUpdate(const QDateTime &now)
{
    const QDate yesterday = now.date().addDays(-1);
    UpdateJournal journal;
    if (const std::optional<UpdateJournal> interrupted = readUpdateJournal()) {
        journal = *interrupted;
        if (yesterday > journal.lastDay) {
            // Days missing since: the import goes on with them, and every later step runs again.
            journal.lastDay = yesterday;
            journal.step = UpdateJournal::Import;
        }
        writeLog(glngLogFileNo,
                 QStringLiteral("前回中断された最新データの更新(%1～%2)を完了します")
                     .arg(text::formatYmdSlash(journal.firstDay), text::formatYmdSlash(journal.lastDay)));
    } else {
        journal.firstDay = std::max(gdtLastKabukaDate.addDays(1), now.date().addDays(-kKeptPriceDays));
        journal.lastDay = yesterday;
    }
    writeUpdateJournal(journal);
    const KabukaImportOptions options{.journaled = true, .stopRequested = [this] { return m_stopRequested; }};

    if (journal.step <= UpdateJournal::Import) {
        logStep(u"●株価情報取得開始");
        const KabukaImport imported =
            getKabuka(*Inet1, *lblMsg, journal.firstDay, journal.lastDay, QString(), QString(), options);
        ui::doEvents();
        logStep(u"●株価情報取得終了");
        if (imported.stopped)
            return false;
        setUpdateJournalStep(UpdateJournal::Calculation);
    }

    logStep(u"●最大最小日付取得開始");
    getKabukaKikan(kReferenceCode, kReferenceMarket, now.date(), gdtFirstKabukaDate, gdtLastKabukaDate);
    ui::doEvents();
    logStep(u"●最大最小日付取得終了");

    if (journal.step <= UpdateJournal::Calculation) {
        logStep(u"●計算処理開始");
        calcKabuka(1, journal.firstDay, gdtLastKabukaDate, QString(), QString(), lblMsg, options.stopRequested);
        ui::doEvents();
        logStep(u"●計算処理終了");
        // A calculation cut short is run again over the whole range by the next start.
        if (m_stopRequested)
            return false;
        setUpdateJournalStep(UpdateJournal::SplitPass);
    }
    if (m_stopRequested)
        return false;

    if (journal.step <= UpdateJournal::SplitPass) {
        logStep(u"●分割銘柄情報取得開始");
        const bool splitsDone =
            getBunkatuKabuka(*Inet1, *lblMsg, gdtFirstKabukaDate, gdtLastKabukaDate, QString(), QString(), options);
        ui::doEvents();
        logStep(u"●分割銘柄情報取得終了");
        if (!splitsDone)
            return false;
        setUpdateJournalStep(UpdateJournal::CautionRefresh);
    }

    logStep(u"●注意銘柄情報取得開始");
    setKanriPost(*Inet1, *lblMsg, gdtLastKabukaDate);
    ui::doEvents();
    logStep(u"●注意銘柄情報取得終了");
    endUpdateJournal();
    return true;
}
