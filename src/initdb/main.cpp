// nimbra-initdb DIR: creates the program's empty databases (schema and seed rows) in DIR
// when they are missing; existing databases are left as they are.
#include "initdb/DatabaseFiles.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr int kUsageError = 2;

const char *const kUsage = "usage: nimbra-initdb DIR\n"
                           "Creates the price database Nimbra_mst.mdb and the working database Nimbra.mdb\n"
                           "in DIR, each only when it is missing; existing databases are left as they are.\n";

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args == QStringList{QStringLiteral("--help")} || args == QStringList{QStringLiteral("-h")}) {
        out << kUsage;
        return 0;
    }
    // A folder name that looks like an option is refused rather than created; "./-x" names it.
    if (args.size() != 1 || args.first().startsWith(u'-')) {
        if (args.size() == 1)
            err << "nimbra-initdb: unknown option " << args.first() << '\n';
        err << kUsage;
        return kUsageError;
    }
    const sys::Status created = createMissingDatabases(args.first(), QStringLiteral("Nimbra"));
    if (!created.ok()) {
        err << "nimbra-initdb: " << created.problem() << '\n';
        return 1;
    }
    return 0;
}
