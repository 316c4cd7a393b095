#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

// "使用許諾書": the terms of use, fetched from the address "Consent" of the site file and
// shown inside the window. "同意する" accepts, and is enabled only once the terms are
// shown; "同意しない" rejects, and the caller then ends the program.
class frmDouisyo : public QDialog {
    Q_OBJECT
public:
    explicit frmDouisyo(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void loadTermsPage();

    QTextBrowser *WebBrowser1;
    QPushButton *cmdOK;
    bool m_loaded = false;
};
