#pragma once

#include <QString>

namespace updater {

// Reads one value of an INI file as the system's profile-string reader does: section and
// key names without regard to case, the value trimmed of blanks and cut to 254
// characters. A missing file, section or key reads as "0", an empty value as " ".
QString getIni(const QString &iniPath, const QString &section, const QString &key);

} // namespace updater
