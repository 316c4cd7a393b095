#include "core/FileMenu.h"

#include "platform/ui/WindowBuilder.h"

#include <QDialog>
#include <QMenuBar>

namespace ui {

FileMenu addFileMenu(QDialog *window)
{
    auto *menuBar = new QMenuBar(window);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu *mnuFiles = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ"));
    mnuFiles->setObjectName(QStringLiteral("mnuFiles"));
    QAction *mnuClose = addMenuItem(mnuFiles, QStringLiteral("mnuClose"), QStringLiteral("閉じる"));

    const QSize clientSize = window->size();
    const int menuHeight = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, clientSize.width(), menuHeight);
    window->setFixedSize(clientSize.width(), clientSize.height() + menuHeight);

    auto *client = new QWidget(window);
    client->setGeometry(0, menuHeight, clientSize.width(), clientSize.height());
    return {client, mnuClose};
}

} // namespace ui
