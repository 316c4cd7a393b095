#include "updater/frmUpdater.h"

#include "updater/IniFile.h"
#include "updater/MsgBox.h"
#include "updater/Text.h"
#include "updater/modProcess.h"
#include "updater/modRegistry.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QTimer>

#include <unistd.h>

namespace updater {
namespace {

// The update server's fixed account.
const QString ftpUserName = QStringLiteral("kdata_pull");
const QString ftpPassword = QStringLiteral("52806314");

constexpr int blinkIntervalMs = 3000;

// An INI value that is missing ("0") or empty (" ") names nothing.
bool isUnset(const QString &value)
{
    return value == QStringLiteral("0") || trimBlanks(value).isEmpty();
}

void doEvents()
{
    QCoreApplication::processEvents();
}

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1StringView(name));
    label->setGeometry(geometry);
    return label;
}

} // namespace

frmUpdater::frmUpdater(const QString &folder, const QString &baseName, QWidget *parent)
    : QWidget(parent), m_folder(folder), m_baseName(baseName)
{
    setObjectName(QStringLiteral("frmUpdater"));
    setWindowTitle(QStringLiteral("Updater"));
    buildControls();
}

frmUpdater::~frmUpdater() = default;

void frmUpdater::buildControls()
{
    setFixedSize(440, 220);
    setAutoFillBackground(true);

    m_imgLogo = addLabel(this, "imgLogo", QString(), QRect(16, 16, 128, 128));
    m_imgLogo->setAlignment(Qt::AlignCenter);

    m_lblTitle = addLabel(this, "lblTitle", QStringLiteral("System Updater"), QRect(160, 16, 264, 36));
    QFont titleFont(QStringLiteral("Times New Roman"), 20, QFont::Bold);
    m_lblTitle->setFont(titleFont);

    m_lblVar = addLabel(this, "lblVar", QString(), QRect(160, 54, 264, 20));
    addLabel(this, "Label1", QStringLiteral("お持ちのバージョン"), QRect(160, 88, 130, 20));
    m_lblVarCur = addLabel(this, "lblVarCur", QString(), QRect(296, 88, 128, 20));
    addLabel(this, "Label2", QStringLiteral("最新版のバージョン"), QRect(160, 114, 130, 20));
    m_lblVarNew = addLabel(this, "lblVarNew", QString(), QRect(296, 114, 128, 20));

    m_lblMsg = addLabel(this, "lblMsg", QString(), QRect(16, 156, 408, 48));
    m_lblMsg->setFont(QFont(QStringLiteral("IPAPGothic"), 11));
    m_lblMsg->setAlignment(Qt::AlignCenter);

    m_timBlink = new QTimer(this);
    m_timBlink->setObjectName(QStringLiteral("timBlink"));
    m_timBlink->setInterval(blinkIntervalMs);
    connect(m_timBlink, &QTimer::timeout, this, &frmUpdater::timBlink_Timer);
}

bool frmUpdater::Form_Load()
{
    m_instanceLock = std::make_unique<QLockFile>(m_folder + u'/' + m_baseName + QStringLiteral(".lock"));
    // Never stale by age: only a lock whose process has gone is taken over.
    m_instanceLock->setStaleLockTime(0);
    // Only a lock held by a live updater refuses; a folder where no lock can be written
    // does not stop the update (its download then fails and says so).
    if (!m_instanceLock->tryLock(0) && m_instanceLock->error() == QLockFile::LockFailedError) {
        m_instanceLock.reset();
        msgBox(QStringLiteral("既に起動されています。"));
        return false;
    }
    loadSettings();
    return true;
}

QString frmUpdater::iniValue(const QString &section, const QString &key) const
{
    return getIni(m_folder + u'/' + m_baseName + QStringLiteral(".ini"), section, key);
}

void frmUpdater::loadSettings()
{
    const QPixmap icon(m_folder + u'/' + iniValue(QStringLiteral("SYSTEM"), QStringLiteral("ICON")));
    if (!icon.isNull())
        setWindowIcon(QIcon(icon));
    const QPixmap logo(m_folder + u'/' + iniValue(QStringLiteral("SYSTEM"), QStringLiteral("LOGO")));
    m_imgLogo->setPixmap(logo);

    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window,
                           colorFromBgrText(iniValue(QStringLiteral("SYSTEM"), QStringLiteral("BACKCOLOR"))));
    setPalette(windowPalette);
    const QColor foreColor = colorFromBgrText(iniValue(QStringLiteral("SYSTEM"), QStringLiteral("FORECOLOR1")));
    for (QLabel *label : {m_lblMsg, m_lblTitle}) {
        QPalette labelPalette = label->palette();
        labelPalette.setColor(QPalette::WindowText, foreColor);
        label->setPalette(labelPalette);
    }

    m_serverHost = getIni(m_folder + u'/' + m_baseName + QStringLiteral("_site.ini"), QStringLiteral("Hosts"),
                          QStringLiteral("Update"));
    m_userName = ftpUserName;
    m_password = ftpPassword;
    m_serverDirectory = iniValue(QStringLiteral("FTP"), QStringLiteral("SVDIR"));
    m_localFolder = m_folder.endsWith(u'/') ? m_folder : m_folder + u'/';
    m_fileName = iniValue(QStringLiteral("SYSTEM"), QStringLiteral("FILENAME"));

    m_lblVar->setText(
        QStringLiteral("V%1.%2.%3").arg(NIMBRA_VERSION_MAJOR).arg(NIMBRA_VERSION_MINOR).arg(NIMBRA_VERSION_PATCH));

    const QString stem = m_fileName.section(u'.', 0, 0);
    m_installedVersion = getRegString(QStringLiteral("Software\\Ravik\\") + stem, QStringLiteral("Version"));
    m_lblVarCur->setText(m_installedVersion.contains(QStringLiteral("Error")) ? QString() : m_installedVersion);

    m_newVersion = QString();
    m_lblVarNew->setText(m_newVersion);
    m_lblMsg->clear();
    doEvents();
}

void frmUpdater::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // The check starts once the window has been painted, so it is seen while it works.
    if (m_activated == 0) {
        m_activated = 1;
        QTimer::singleShot(0, this, &frmUpdater::Form_Activate);
    }
}

void frmUpdater::Form_Activate()
{
    checkUpdate();
}

void frmUpdater::closeEvent(QCloseEvent *event)
{
    // Closing half-way would cut the download and leave the program stopped.
    if (m_updating)
        event->ignore();
    else
        event->accept();
}

void frmUpdater::checkUpdate()
{
    m_lblMsg->setText(QStringLiteral("アップデート情報を受信しています。"));
    if (m_newVersion != m_installedVersion)
        runUpdate();
}

QString frmUpdater::targetPath() const
{
    const QString name = m_fileName.section(u'/', -1);
    const QFileInfo target(QDir(m_folder).absoluteFilePath(name));
    return target.exists() ? target.canonicalFilePath() : QDir(m_folder).canonicalPath() + u'/' + name;
}

QString frmUpdater::refusalOfSettings() const
{
    const QString name = m_fileName.section(u'/', -1);
    if (isUnset(m_fileName) || isUnset(name) || name == QStringLiteral(".") || name == QStringLiteral(".."))
        return QStringLiteral("更新するファイル名が設定されていません。");
    if (isUnset(m_serverHost))
        return QStringLiteral("更新サーバが設定されていません。");
    return QString();
}

// Only the program of this folder is stopped: every process running its file, found by
// the executable's path, so a same-named program elsewhere is left alone.
frmUpdater::StopResult frmUpdater::stopRunningProgram()
{
    const QString target = targetPath();
    StopResult result;
    for (const ProcessEntry &process : getProcessList()) {
        if (process.exePath != target || process.pid == ::getpid())
            continue;
        if (killProcess(process.pid) != 0) {
            result.failed = true;
            return result;
        }
        result.anyStopped = true;
        doEvents();
    }
    return result;
}

void frmUpdater::startProgram()
{
    QProcess::startDetached(targetPath(), {}, m_folder);
}

void frmUpdater::runUpdate()
{
    if (const QString refusal = refusalOfSettings(); !refusal.isEmpty()) {
        msgBox(refusal);
        m_lblMsg->clear();
        close();
        return;
    }
    m_updating = true;
    startBlink();
    doEvents();

    bool replaced = false;
    const StopResult stopped = stopRunningProgram();
    if (stopped.failed) {
        msgBox(QStringLiteral("システムの終了に失敗しました。"));
    } else {
        m_lblMsg->setText(QStringLiteral("最新版をダウンロードしています。\nしばらくお待ちください。"));
        doEvents();
        m_inet.inetOpen(QString());
        m_inet.ftpConnect(m_serverHost, m_userName, m_password);
        replaced = m_inet.ftpGetFile(m_serverDirectory, m_fileName, m_localFolder);
        m_inet.ftpDisconnect();
        m_inet.inetCloseAll();
        m_lblMsg->clear();
        doEvents();
    }
    // The new program after a good download; after a failure the old one again, when it was
    // stopped (a failed stop may have ended some of its processes already).
    if (replaced || stopped.anyStopped)
        startProgram();

    m_lblMsg->clear();
    m_updating = false;
    close();
}

void frmUpdater::startBlink()
{
    m_timBlink->start();
}

void frmUpdater::timBlink_Timer()
{
    m_lblMsg->setVisible(!m_lblMsg->isVisible());
}

} // namespace updater
