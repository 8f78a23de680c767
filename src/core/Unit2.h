#pragma once
// The data module: every database and table of the program, opened from the
// program directory when it is created.

#include "awards/AwardMarks.h"
#include "platform/table/DataSource.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"

#include <QObject>

class TDM : public QObject {
    Q_OBJECT
public:
    TDM();

    Db::Database Database1{QStringLiteral("Log1")};
    Db::Database Database2{QStringLiteral("Allprefix")};
    Db::Database Database4{QStringLiteral("Awards")};
    Db::Database DatabaseS{QStringLiteral("Sounds")};
    Db::Database Database8{QStringLiteral("VCDbase")};
    Db::Database Database6{QStringLiteral("Add")};

    Db::Table Table1{&Database1, QStringLiteral("Tarnel")}; // the log; its grid follows it
    Db::Table Table7{&Database1, QStringLiteral("Tarnel")}; // second cursor for look-ups
    // Whole-log look-ups on every keystroke (is the country in the log?); it
    // never takes a range, so it always sees the whole log.
    Db::Table LogLookup{&Database1, QStringLiteral("Tarnel")};
    Db::Table Table6{&Database6, QStringLiteral("Tarnel")}; // source log of a merge
    Db::Table Table2{&Database2, QStringLiteral("Allpref")};
    Db::Table Table3{&Database2, QStringLiteral("Prefix")};
    Db::Table TableCllbk{&Database2, QStringLiteral("CBook")};
    Db::Table TabCbQRZ2{&Database2, QStringLiteral("Cbook2.DB")};
    Db::Table TabCbQRZ1{&Database2, QStringLiteral("Cbook3.DB")};
    Db::Table Table4{&Database4, QStringLiteral("Dxcc")};
    Db::Table Table9{&Database4, QStringLiteral("UR")};
    Db::Table Table5{&Database4, QStringLiteral("Waz")};
    Db::Table TableS{&DatabaseS, QStringLiteral("Sound")};
    Db::Table TableR{&DatabaseS, QStringLiteral("Rez")};
    Db::Table Table8{&Database8, QStringLiteral("cs")};

    // Marks contacts in Dxcc, UR and Waz through cursors of its own.
    AwardMarks Marks{&Database4};

    Db::DataSource DataSource1, DataSource7, DataSource6, DataSource2, DataSource3, DataSource4, DataSource9,
        DataSource5, DataSourceS, DataSourceR, DataSource8;

    void DataModuleCreate();
    // Opens the log of `directory` on its three cursors (the main one keeps
    // its sort order, not its range), each on its last contact. On failure
    // the log is closed again and the error thrown.
    void openLog(const QString &directory);
    // Makes log 1, 2 or 3 the active one; a log that does not open leaves the
    // previous log open, and its error is thrown.
    void switchLog(int log);
    // The whole log in date order on its last contact (a filter or a range
    // ended); nothing while the log is closed.
    void wholeLogByDate();
    // Record browsing: shows what belongs to the log row now current.
    void DataSource1DataChange();

private:
    void setUpLogFields();
    void setUpAwardFields();
};

// The directory of each database below the program directory.
QString logDirectory(const QString &programDir, int log);

extern TDM *DM;
