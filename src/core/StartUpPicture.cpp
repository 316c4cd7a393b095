#include "core/StartUpPicture.h"

#include "platform/sys/ProgramDir.h"

#include <QLabel>
#include <QPixmap>

namespace ui {

void showStartUpPicture(QWidget *window, QLabel *picture)
{
    const QPixmap image(sys::programFile(QStringLiteral("Images/bmpStartUp.bmp")));
    if (image.isNull()) {
        // Selected by class so that the colour does not spread to the window's labels.
        window->setStyleSheet(QString::fromLatin1(window->metaObject()->className()) +
                              QStringLiteral(" { background-color: rgb(0, 0, 64); }"));
        window->setFixedSize(400, 240);
        return;
    }
    picture->setPixmap(image);
    picture->setGeometry(0, 0, image.width(), image.height());
    window->setFixedSize(image.size());
}

} // namespace ui
