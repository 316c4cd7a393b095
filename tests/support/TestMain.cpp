// The main of every test executable: a real QApplication on the offscreen platform, the
// program's look, and message boxes and the main window's dialogs that never block.
#include "platform/ui/AppLook.h"
#include "platform/ui/ModalDialog.h"
#include "support/MessageBoxRecorder.h"

#include <QApplication>
#include <QDialog>

#include <gtest/gtest.h>

#ifdef NIMBRA_TEST_PROGRAM_APPLICATION
// The program's own application object, so that its event-loop boundary is tested too.
#include "app/NimbraApplication.h"
using TestApplication = NimbraApplication;
#else
using TestApplication = QApplication;
#endif

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TestApplication app(argc, argv);
    ui::setupApplicationLook();
    ::testing::InitGoogleTest(&argc, argv);
    MessageBoxRecorder::installDefault();
    // A dialog the main window opens at load is closed at once, as if without input.
    ui::setModalHook([](QDialog &) { return int(QDialog::Rejected); });
    return RUN_ALL_TESTS();
}
