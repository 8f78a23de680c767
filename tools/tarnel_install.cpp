// Installs a program directory: creates its sub-directories and every table
// file that is missing. The prefix and award tables are made from the country
// files cty.dat and cty.csv in CTY_DIR. Existing files are left as they are.
//   tarnel_install [--cty CTY_DIR] DIR

#include "core/CtyImport.h"
#include "core/ProgramDirectory.h"
#include "platform/table/TableError.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString ctyDir = QStringLiteral("/usr/share/hamradio-files"); // Debian's hamradio-files
    QString programDir;
    bool usage = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--cty") == 0 && i + 1 < argc)
            ctyDir = QString::fromLocal8Bit(argv[++i]);
        else if (programDir.isEmpty() && argv[i][0] != '-')
            programDir = QString::fromLocal8Bit(argv[i]);
        else
            usage = true;
    }
    if (usage || programDir.isEmpty()) {
        std::fprintf(stderr, "usage: tarnel_install [--cty CTY_DIR] DIR\n");
        return 2;
    }
    try {
        // The country tables first: were they made empty, a later run would
        // find them present and never fill them.
        const CtyImport::InstallResult cty = CtyImport::installMissingTables(ctyDir, programDir);
        for (const QString &warning : cty.warnings)
            std::fprintf(stderr, "%s\n", qPrintable(warning));
        QStringList created = cty.created;
        created += ProgramDirectory::installEmptyTables(programDir);
        for (const QString &path : created)
            std::printf("created %s\n", qPrintable(path));
    } catch (const CtyImport::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const Db::TableError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
