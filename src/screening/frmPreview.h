#pragma once

#include "platform/ui/Printer.h"

#include <QDialog>
#include <QPoint>

#include <vector>

class QLabel;
class QPushButton;
class QScrollBar;

// The print preview "印刷プレビュー": a page picture larger than the window inside a frame,
// moved with the two scroll bars or by dragging it. Its print button does nothing. All
// positions are twips of the window (15 to a pixel).
class frmPreview : public QDialog {
    Q_OBJECT
public:
    explicit frmPreview(QWidget *parent = nullptr);

    // Draws the pages of a printed document one under another, each `pageTwips` large,
    // with the printer's own painting; the scroll ranges follow the new picture.
    void setPages(const std::vector<ui::PrinterPage> &document, const QSizeF &pageTwips, const QString &fontName);

    // Lays the controls out for the window's outer size; the page offset and the scroll
    // values stay as they are.
    void layoutPreview();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *picPreview = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdClose = nullptr;
    QWidget *picFrame = nullptr;
    QLabel *Picture1 = nullptr;
    QScrollBar *VScroll1 = nullptr;
    QScrollBar *HScroll1 = nullptr;
    QPoint m_dragAnchor; // where the page was grabbed, in the page's own pixels
};
