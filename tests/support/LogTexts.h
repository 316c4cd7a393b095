#pragma once

#include <QString>
#include <QStringList>

// The texts of a log file's lines, without their time stamps; empty when there is no log.
QStringList logTexts(const QString &path);
