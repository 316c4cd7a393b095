#pragma once

#include <QString>

namespace updater {

// Reads one text value of a settings key. A key path "Software\<Maker>\<Name>" is the
// file $XDG_CONFIG_HOME/<Maker>/<Name>.ini (default ~/.config) of name=value lines in
// UTF-8, with backslash, CR and LF escaped as \\, \r and \n.
// Returns the value; "" when it is missing or longer than 255 characters; and
// "(Error Code = <errno>)" when the key's file cannot be read (2 when there is none).
QString getRegString(const QString &keyPath, const QString &valueName);

} // namespace updater
