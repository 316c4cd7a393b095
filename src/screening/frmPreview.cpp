#include "screening/frmPreview.h"

#include "platform/ui/Twips.h"
#include "platform/ui/WindowBuilder.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>

namespace {

int twips(int pixels)
{
    return ui::pixelsToTwips(pixels);
}

int pixels(int twipsValue)
{
    return ui::twipsToPixels(twipsValue);
}

} // namespace

frmPreview::frmPreview(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    resize(pixels(12000), pixels(9000));

    picPreview = new QWidget(this);
    picPreview->setObjectName(QStringLiteral("picPreview"));
    picPreview->setGeometry(0, 0, pixels(12000), pixels(600));
    cmdPrint = ui::addButton(picPreview, QStringLiteral("cmdPrint"), QStringLiteral("印刷"),
                             ui::twipsRect(120, 90, 1095, 405));
    cmdClose = ui::addButton(picPreview, QStringLiteral("cmdClose"), QStringLiteral("閉じる"),
                             ui::twipsRect(1320, 90, 1095, 405));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);

    picFrame = new QWidget(this);
    picFrame->setObjectName(QStringLiteral("picFrame"));
    Picture1 = new QLabel(picFrame);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    Picture1->installEventFilter(this);

    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setObjectName(QStringLiteral("VScroll1"));
    // A page smaller than the frame gives a negative maximum; the range then runs from it
    // to 0 so that the bar can still move the page.
    connect(HScroll1, &QScrollBar::valueChanged, this,
            [this](int value) { Picture1->move(pixels(-value), Picture1->y()); });
    connect(VScroll1, &QScrollBar::valueChanged, this,
            [this](int value) { Picture1->move(Picture1->x(), pixels(-value)); });
    layoutPreview();
}

void frmPreview::layoutPreview()
{
    const int w = twips(frameGeometry().width());
    const int h = twips(frameGeometry().height());
    picPreview->setGeometry(0, 0, pixels(w), pixels(600));
    picFrame->setGeometry(0, pixels(600), pixels(w - 400), pixels(h - 650 - 600));
    HScroll1->setGeometry(0, pixels(h - 650), pixels(w - 400), pixels(250));
    VScroll1->setGeometry(pixels(w - 400), pixels(600), pixels(250), pixels(h - 650 - 600));

    const int hMax = twips(Picture1->width()) - twips(picFrame->width());
    const int vMax = twips(Picture1->height()) - twips(picFrame->height());
    const QSignalBlocker hBlock(HScroll1);
    const QSignalBlocker vBlock(VScroll1);
    HScroll1->setRange(std::min(0, hMax), std::max(0, hMax));
    VScroll1->setRange(std::min(0, vMax), std::max(0, vMax));
}

void frmPreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    const int hValue = HScroll1->value();
    const int vValue = VScroll1->value();
    const QPoint offset = Picture1->pos();
    layoutPreview();
    const QSignalBlocker hBlock(HScroll1);
    const QSignalBlocker vBlock(VScroll1);
    HScroll1->setValue(hValue);
    VScroll1->setValue(vValue);
    Picture1->move(offset);
}

void frmPreview::setPages(const std::vector<ui::PrinterPage> &document, const QSizeF &pageTwips,
                          const QString &fontName)
{
    const QSize page(pixels(int(pageTwips.width())), pixels(int(pageTwips.height())));
    const int count = std::max<int>(1, int(document.size()));
    QPixmap picture(page.width(), page.height() * count);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int i = 0; i < int(document.size()); ++i)
        ui::paintPrinterPage(painter, QRectF(QPointF(0, page.height() * i), QSizeF(page)), document[size_t(i)],
                             fontName);
    painter.end();
    Picture1->setPixmap(picture);
    Picture1->setGeometry(0, 0, picture.width(), picture.height());
    layoutPreview();
}

bool frmPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != Picture1)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress) {
        m_dragAnchor = static_cast<QMouseEvent *>(event)->position().toPoint();
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        const auto *move = static_cast<QMouseEvent *>(event);
        if (move->buttons() & Qt::LeftButton) {
            // The grabbed point of the page stays under the pointer.
            Picture1->move(Picture1->pos() + move->position().toPoint() - m_dragAnchor);
            Picture1->update();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
