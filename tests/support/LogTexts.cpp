#include "support/LogTexts.h"

#include <QFile>

QStringList logTexts(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList texts;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        texts << line.section(u',', 1);
    return texts;
}
