#include "platform/ui/Printer.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// 112 half cells of 10 pixels, 75 lines of 20 pixels.
const QRectF kArea(0, 0, 1120, 1500);

QImage render(const QStringList &page)
{
    QImage image(kArea.size().toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    ui::paintPrinterPage(painter, kArea, page, u"ＭＳ ゴシック"_s);
    return image;
}

QImage cell(const QImage &image, int column, int row, int cells = 1)
{
    return image.copy(column * 10, row * 20, cells * 10, 20);
}

TEST(PrinterPageTest, CharactersSitAtTheirCp932Columns)
{
    // A full-width character takes two half cells, so "b" lands in column 2 either way.
    const QImage wide = render({u"あb"_s});
    const QImage narrow = render({u"  b"_s});
    EXPECT_EQ(cell(wide, 2, 0), cell(narrow, 2, 0));
    EXPECT_NE(cell(wide, 0, 0, 2), cell(narrow, 0, 0, 2));
    // The second line starts one pitch lower.
    EXPECT_EQ(cell(render({u""_s, u"b"_s}), 0, 1), cell(render({u"b"_s}), 0, 0));
}

TEST(PrinterPageTest, LinesAreClippedNeverWrapped)
{
    EXPECT_EQ(render({QString(112, u'x')}), render({QString(300, u'x')}));
    EXPECT_EQ(cell(render({QString(300, u'x')}), 0, 1), cell(render({}), 0, 1));
}

TEST(PrinterTest, PagesAreKeptAsLinesAndPositionsPickTheRow)
{
    ui::PrintDialog dialog;
    dialog.printer().setOutputFormat(QPrinter::PdfFormat);
    ui::Printer printer(dialog);
    EXPECT_EQ(printer.Copies(), 1);
    printer.Print(u"一行目"_s);
    EXPECT_GT(printer.CurrentY(), 0);
    printer.setCurrentY(printer.CurrentY() * 3);
    printer.Print(u"四行目"_s);
    printer.NewPage();
    printer.Print(u"次のページ"_s);
    ASSERT_EQ(printer.pages().size(), 2u);
    EXPECT_EQ(printer.pages()[0], (QStringList{u"一行目"_s, u""_s, u""_s, u"四行目"_s}));
    EXPECT_EQ(printer.pages()[1], QStringList{u"次のページ"_s});
    printer.KillDoc();
    EXPECT_EQ(printer.pages().size(), 1u);
    EXPECT_TRUE(printer.pages()[0].isEmpty());
    EXPECT_TRUE(dialog.documents().empty());
}

} // namespace
