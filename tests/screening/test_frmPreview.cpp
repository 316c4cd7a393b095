#include "platform/ui/Printer.h"
#include "platform/ui/Twips.h"
#include "screening/frmPreview.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QSizeF kPage(6000, 4500); // twips: 400 x 300 pixels

std::vector<ui::PrinterPage> twoPages()
{
    return {{u"出力日:2026/03/09　ページ:1"_s, u" "_s, u"ABC│株式"_s + QString(200, u'x')}, {u"二枚目"_s}};
}

TEST(PreviewTest, LayoutFollowsTheWindowAndAllowsANegativeMaximum)
{
    frmPreview window;
    window.show();
    window.resize(600, 500);
    window.layoutPreview();
    auto *frame = window.findChild<QWidget *>(u"picFrame"_s);
    auto *h = window.findChild<QScrollBar *>(u"HScroll1"_s);
    auto *v = window.findChild<QScrollBar *>(u"VScroll1"_s);
    const int w = window.frameGeometry().width() * 15;
    const int ht = window.frameGeometry().height() * 15;
    const auto px = ui::twipsToPixels;
    EXPECT_EQ(frame->geometry(), QRect(0, 40, px(w - 400), px(ht - 1250)));
    EXPECT_EQ(h->geometry().top(), px(ht - 650));
    EXPECT_EQ(v->geometry().left(), px(w - 400));

    // Two pages of 400 x 300 pixels: narrower than the frame, taller than it.
    window.setPages(twoPages(), kPage, u"ＭＳ ゴシック"_s);
    EXPECT_EQ(h->minimum(), 6000 - frame->width() * 15);
    EXPECT_LT(h->minimum(), 0);
    EXPECT_EQ(v->maximum(), 9000 - frame->height() * 15);
    // A negative maximum moves the page right.
    h->setValue(h->minimum());
    auto *picture = window.findChild<QLabel *>(u"Picture1"_s);
    EXPECT_EQ(picture->x(), -h->minimum() / 15);
    v->setValue(1500);
    EXPECT_EQ(picture->y(), -100);

    // A resize lays out again and keeps the offset and the scroll values.
    const QPoint offset = picture->pos();
    const int hValue = h->value();
    window.resize(700, 560);
    EXPECT_EQ(picture->pos(), offset);
    EXPECT_EQ(h->value(), hValue);
    EXPECT_EQ(v->value(), 1500);
    EXPECT_EQ(frame->width(), px(window.frameGeometry().width() * 15 - 400));
}

TEST(PreviewTest, DragMovesThePageAndCloseUnloads)
{
    frmPreview window;
    window.setPages(twoPages(), kPage, u"ＭＳ ゴシック"_s);
    window.show();
    auto *picture = window.findChild<QLabel *>(u"Picture1"_s);
    const QPoint start = picture->pos();
    QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(50, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(80, 30), picture->mapToGlobal(QPointF(80, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &move);
    EXPECT_EQ(picture->pos(), start + QPoint(30, -20));
    window.findChild<QPushButton *>(u"cmdPrint"_s)->click(); // does nothing
    EXPECT_TRUE(window.isVisible());
    window.findChild<QPushButton *>(u"cmdClose"_s)->click();
    EXPECT_FALSE(window.isVisible());
}

TEST(PreviewTest, PictureIsThePrintersRendering)
{
    frmPreview window;
    const auto pages = twoPages();
    window.setPages(pages, kPage, u"ＭＳ ゴシック"_s);
    const QImage shown = window.findChild<QLabel *>(u"Picture1"_s)->pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(400, 600));

    QImage expected(400, 600, shown.format());
    expected.fill(Qt::white);
    QPainter painter(&expected);
    ui::paintPrinterPage(painter, QRectF(0, 0, 400, 300), pages[0], u"ＭＳ ゴシック"_s);
    ui::paintPrinterPage(painter, QRectF(0, 300, 400, 300), pages[1], u"ＭＳ ゴシック"_s);
    painter.end();
    EXPECT_EQ(shown, expected);
    // Something was drawn, and the 200 x's were clipped at the page's right edge.
    EXPECT_NE(shown.copy(0, 0, 400, 300), QImage(400, 300, shown.format()));
}

} // namespace
