#pragma once

#include <QDialog>
#include <QRect>

#include <vector>

class QLineEdit;

// The frame of the small dialogs that edit single text settings (login, notice mail,
// mailbox): rows of a caption and a box, "決定" (Cmd_Exec) and "ｷｬﾝｾﾙ" (Cmd_Cancel).
// Loading fills each box from its setting; "決定" stores every box exactly as typed and
// saves all settings; cancelling changes nothing.
class SettingsTextDialog : public QDialog {
    Q_OBJECT
protected:
    SettingsTextDialog(QWidget *parent, const QString &name, const QString &caption, int clientWidth, int clientHeight);

    // A caption at the left and, at boxLeft, a box that edits `value`; a secret box
    // shows "*" for each character.
    QLineEdit *addRow(const QString &caption, const QString &boxName, int maxLength, QString &value, int top,
                      int boxLeft, int boxWidth, bool secret = false);

    // The two buttons at the right, made after the rows so the focus order ends with them.
    void addButtons(int top);

    // Copies controls other than the text rows into their settings.
    virtual void storeOtherControls() {}

private:
    void Cmd_Exec_Click();

    struct Row {
        QLineEdit *box;
        QString *value;
    };
    std::vector<Row> m_rows;
    int m_clientWidth;
};
