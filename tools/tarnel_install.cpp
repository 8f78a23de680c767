// Installs a program directory: creates its sub-directories and every table
// file that is missing. Existing files are left as they are.
//   tarnel_install DIR

#include "core/ProgramDirectory.h"
#include "platform/table/TableError.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tarnel_install DIR\n");
        return 2;
    }
    try {
        const QStringList created = ProgramDirectory::installEmptyTables(QString::fromLocal8Bit(argv[1]));
        for (const QString &path : created)
            std::printf("created %s\n", qPrintable(path));
    } catch (const Db::TableError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
