#include "core/StartUpPicture.h"
#include "support/ProgramDirFixture.h"

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

class StartUpPicture : public ProgramDirFixture {};

TEST_F(StartUpPicture, FillsTheWindowFromItsTopLeftCorner)
{
    ASSERT_TRUE(QDir(dir()).mkpath(QStringLiteral("Images")));
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(path(QStringLiteral("Images/bmpStartUp.bmp")), "BMP"));

    QDialog window;
    auto *picture = new QLabel(&window);
    ui::showStartUpPicture(&window, picture);

    EXPECT_EQ(window.size(), QSize(320, 200));
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 320, 200));
    EXPECT_EQ(picture->pixmap().toImage().pixelColor(10, 10), QColor(Qt::darkGreen));
}

TEST_F(StartUpPicture, WithoutTheFileTheWindowIsADarkPanel)
{
    QDialog window;
    auto *picture = new QLabel(&window);
    ui::showStartUpPicture(&window, picture);
    window.show();

    EXPECT_EQ(window.size(), QSize(400, 240));
    EXPECT_TRUE(picture->pixmap().isNull());
    EXPECT_EQ(window.grab().toImage().pixelColor(390, 230), QColor(0, 0, 64));
}

} // namespace
