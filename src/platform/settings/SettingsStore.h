#pragma once

#include "platform/sys/Result.h"

#include <QMap>
#include <QString>

#include <optional>

// The settings store that stands in for the registry: a key path "Software\Maker\Name"
// is the text file $XDG_CONFIG_HOME/Maker/Name.ini (default ~/.config), one value a line,
// values kept as text. The file is owner-only and always rewritten as a whole through a
// temporary file, so a crash mid-write leaves the previous settings intact.
namespace settings {

using Values = QMap<QString, QString>;

// The file that holds a key path's values.
QString fileForKey(const QString &keyPath);

// All values of a key; std::nullopt when the key does not exist (no file yet); a problem
// naming the file when it exists but cannot be read. Lines may end in CR LF, LF or CR.
sys::Result<std::optional<Values>> readKey(const QString &keyPath);

// Sets the given values (others stay as they are) and writes the file in one piece,
// creating the key when missing. A file that exists but cannot be read is never replaced:
// that would lose every value in it. A failure names the file.
sys::Status writeValues(const QString &keyPath, const Values &values);

} // namespace settings
