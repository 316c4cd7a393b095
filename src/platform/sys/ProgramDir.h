#pragma once

#include <QString>

namespace sys {

// The folder that holds the databases, the log, the backups, Images/ and the site file:
// the environment variable NIMBRA_HOME when set, else the executable's folder. Uses "/".
QString programDirectory();

// The running executable's base name ("Nimbra"); it names the databases, the log and
// the settings key.
QString exeName();

// Tests run under their own executable name and set the one the program would have.
void setExeName(const QString &name);

// programDirectory() + "/" + fileName.
QString programFile(const QString &fileName);

} // namespace sys
