#include "platform/sys/ProgramDir.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace sys {
namespace {
QString &exeNameOverride()
{
    static QString value;
    return value;
}
} // namespace

QString programDirectory()
{
    const QString home = qEnvironmentVariable("NIMBRA_HOME");
    QString dir = home.isEmpty() ? QCoreApplication::applicationDirPath() : home;
    while (dir.size() > 1 && dir.endsWith(u'/'))
        dir.chop(1);
    return dir;
}

QString exeName()
{
    if (!exeNameOverride().isEmpty())
        return exeNameOverride();
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void setExeName(const QString &name)
{
    exeNameOverride() = name;
}

QString programFile(const QString &fileName)
{
    const QString dir = programDirectory();
    return dir.endsWith(u'/') ? dir + fileName : dir + u'/' + fileName;
}

} // namespace sys
