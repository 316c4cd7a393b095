// nimbra-initdb DIR: creates the program's empty databases (schema and seed rows) in DIR
// when they are missing; existing databases are left as they are.
#include "initdb/DatabaseFiles.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: nimbra-initdb DIR\n";
        return 2;
    }
    const QString error = createMissingDatabases(args.at(1), QStringLiteral("Nimbra"));
    if (!error.isEmpty()) {
        err << "nimbra-initdb: " << error << '\n';
        return 1;
    }
    return 0;
}
