#pragma once

#include "updater/modWinINET.h"

#include <QLockFile>
#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QTimer;

namespace updater {

// The updater's one window. It shows its own and the installed version and, when they
// differ, stops the running program of the folder, fetches its newest release by FTP,
// puts it in place of the old one and starts it; then it closes. The old program file is
// replaced only by a whole download, and whatever happens the user is left with a program
// that runs: the new one, or the old one started again.
class frmUpdater : public QWidget {
    Q_OBJECT
public:
    // folder: where the updater, its INI file and the program to update live;
    // baseName: the updater's own name ("Updater"), which names its INI and site files.
    frmUpdater(const QString &folder, const QString &baseName, QWidget *parent = nullptr);
    ~frmUpdater() override;

    // Refuses a second updater in the same folder ("既に起動されています。", false); else
    // loads the settings and returns true.
    bool Form_Load();

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void loadSettings();
    void Form_Activate();
    void checkUpdate();
    void runUpdate();
    void startBlink();
    void timBlink_Timer();

    QString iniValue(const QString &section, const QString &key) const;
    QString targetPath() const;
    QString refusalOfSettings() const;
    struct StopResult {
        bool anyStopped = false;
        bool failed = false;
    };
    StopResult stopRunningProgram();
    void startProgram();

    QString m_folder;
    QString m_baseName;
    QString m_serverHost;
    QString m_userName;
    QString m_password;
    QString m_serverDirectory;
    QString m_localFolder;
    QString m_fileName;
    QString m_installedVersion;
    QString m_newVersion;
    int m_activated = 0;
    bool m_updating = false;
    std::unique_ptr<QLockFile> m_instanceLock;
    modWinINET m_inet;

    QLabel *m_lblTitle = nullptr;
    QLabel *m_lblVar = nullptr;
    QLabel *m_lblVarCur = nullptr;
    QLabel *m_lblVarNew = nullptr;
    QLabel *m_lblMsg = nullptr;
    QLabel *m_imgLogo = nullptr;
    QTimer *m_timBlink = nullptr;
};

} // namespace updater
