#include "core/modApplication.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Holds its designed size the way the main window does.
class FixedWindow : public QWidget {
protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        setFormSize(this);
    }
};

TEST(FormSize, UserResizeIsUndone)
{
    FixedWindow window;
    window.show();
    setFormSize(&window);
    EXPECT_EQ(window.frameGeometry().size(), QSize(879, 571));

    window.resize(500, 300);
    QApplication::processEvents();
    EXPECT_EQ(window.frameGeometry().size(), QSize(879, 571));
}

TEST(FormSize, MinimisedOrMaximisedWindowsAreLeftAlone)
{
    for (const auto state : {Qt::WindowMinimized, Qt::WindowMaximized}) {
        FixedWindow window;
        window.show();
        window.setWindowState(state);
        QApplication::processEvents();
        const QSize before = window.size();
        setFormSize(&window);
        QApplication::processEvents();
        EXPECT_EQ(window.windowState(), state);
        EXPECT_EQ(window.size(), before) << int(state);
    }
}

} // namespace
