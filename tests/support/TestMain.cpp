// The main of every test executable: a real QApplication on the offscreen platform, the
// program's look, and message boxes that never block.
#include "platform/ui/AppLook.h"
#include "support/MessageBoxRecorder.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::setupApplicationLook();
    ::testing::InitGoogleTest(&argc, argv);
    MessageBoxRecorder::installDefault();
    return RUN_ALL_TESTS();
}
