#include "updater/IniFile.h"

#include "updater/Text.h"

#include <QFile>
#include <QStringList>

namespace updater {
namespace {
constexpr qsizetype maxValueLength = 254;
} // namespace

QString getIni(const QString &iniPath, const QString &section, const QString &key)
{
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("0");
    QString content = QString::fromUtf8(file.readAll());
    // A file saved by a Windows editor may begin with a byte-order mark.
    if (content.startsWith(QChar(0xFEFF)))
        content.remove(0, 1);
    bool inSection = false;
    for (QStringView line : QStringView(content).split(u'\n')) {
        line = trimBlanks(line.endsWith(u'\r') ? line.chopped(1) : line);
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            inSection = close > 0 && trimBlanks(line.mid(1, close - 1)).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.startsWith(u';'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || trimBlanks(line.left(eq)).compare(key, Qt::CaseInsensitive) != 0)
            continue;
        const QString value = trimBlanks(trimBlanks(line.mid(eq + 1)).left(maxValueLength)).toString();
        return value.isEmpty() ? QStringLiteral(" ") : value;
    }
    return QStringLiteral("0");
}

} // namespace updater
