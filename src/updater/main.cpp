// Updater: replaces the program of its folder with the newest release from the update
// server and starts it again.
#include "updater/frmUpdater.h"

#include <QApplication>
#include <QStyleFactory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    updater::frmUpdater form(QCoreApplication::applicationDirPath(), QStringLiteral("Updater"));
    if (!form.Form_Load())
        return 0;
    form.show();
    return QApplication::exec();
}
