#pragma once
// The log, the prefix tables and the award tables of a program directory,
// linked as the data module links them, for walks run without the windows.

#include "awards/AwardMarks.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"

#include <QString>

struct ProgramTables {
    explicit ProgramTables(const QString &dir)
    {
        logDb.setDirectory(dir + "/Log/Log1");
        prefixDb.setDirectory(dir + "/Base");
        awardDb.setDirectory(dir + "/Awrds");
        prefix.setMasterLink(&allpref, "MainPrefix", "Prefix");
        dxcc.setMasterLink(&prefix, "DXCCPrefix", "Prefix");
        ur.setMasterLink(&prefix, "Prefix", "Prefix");
        for (Db::Table *t : {&log, &lookup, &allpref, &prefix, &dxcc, &ur, &waz})
            t->open();
    }

    Db::Database logDb, prefixDb, awardDb;
    Db::Table log{&logDb, "Tarnel"};
    Db::Table lookup{&logDb, "Tarnel"}; // the import's duplicate test
    Db::Table allpref{&prefixDb, "Allpref"};
    Db::Table prefix{&prefixDb, "Prefix"};
    Db::Table dxcc{&awardDb, "Dxcc"};
    Db::Table ur{&awardDb, "UR"};
    Db::Table waz{&awardDb, "Waz"};
    AwardMarks marks{&awardDb};
};
