// The updater tests' main: a real QApplication on the offscreen platform, and message
// boxes that are recorded instead of shown.
#include "UpdaterFixture.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    Messages::install();
    return RUN_ALL_TESTS();
}
