#include "core/frmSplash.h"
#include "support/ProgramDirFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class Splash : public ProgramDirFixture {};

TEST_F(Splash, ShowsPictureAndVersionAndStaysForItsTimerOnly)
{
    ASSERT_TRUE(QDir(dir()).mkpath(QStringLiteral("Images")));
    QImage picture(320, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(path(QStringLiteral("Images/bmpStartUp.bmp")), "BMP"));

    frmSplash splash;
    QElapsedTimer shown;
    shown.start();
    splash.show();
    EXPECT_EQ(splash.size(), QSize(320, 200));
    auto *version = splash.findChild<QLabel *>(QStringLiteral("lblVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(
        version->text(),
        QStringLiteral("V%1.%2.%3").arg(NIMBRA_VERSION_MAJOR).arg(NIMBRA_VERSION_MINOR).arg(NIMBRA_VERSION_PATCH));
    EXPECT_EQ(version->palette().color(QPalette::WindowText), QColor(Qt::white));
    auto *timer = splash.findChild<QTimer *>(QStringLiteral("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 3000);
    EXPECT_TRUE(timer->isActive());

    QTest::keyClick(&splash, Qt::Key_Escape);
    QTest::mouseClick(&splash, Qt::LeftButton);
    splash.close();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !splash.isVisible(); }, 6000));
    // A coarse timer may fire up to 5 % early; a splash that closed on its own would not.
    EXPECT_GE(shown.elapsed(), 2800) << "it stays for its three seconds";
}

} // namespace
