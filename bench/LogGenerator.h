#pragma once
// A generated log of contacts for benchmarks.

#include "core/CtyImport.h"
#include "core/ProgramDirectory.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTime>

namespace Bench {

constexpr int logSize = 100000;

inline QString callOf(int i)
{
    static const char *const prefixes[] = {"UA", "UR", "DL", "K", "W", "VE", "JA", "EA", "F", "G", "SP", "OK"};
    QString call = QString::fromLatin1(prefixes[i % 12]) + QString::number((i / 12) % 10);
    int n = i / 120;
    for (int k = 0; k < 3; ++k) {
        call += QChar(u'A' + n % 26);
        n /= 26;
    }
    return call;
}

inline QString countryOf(int i)
{
    return QStringLiteral("Country %1").arg(i % 340);
}

// Appends `count` contacts in one transaction.
inline void generateLog(Db::Table &log, int count = logSize)
{
    static const char *const bands[] = {"1.8", "3.5", "7", "10", "14", "18", "21", "24", "28", "50"};
    static const char *const modes[] = {"CW", "SSB", "RTTY", "FM"};
    Db::TableTransaction walk(log);
    const QDate start(2015, 1, 1);
    for (int i = 0; i < count; ++i) {
        log.append();
        log.fieldByName(QStringLiteral("LogCall")).setAsString(callOf(i * 7919 % count));
        log.fieldByName(QStringLiteral("LogObl")).setAsString(countryOf(i));
        log.fieldByName(QStringLiteral("LogDate")).setAsDate(start.addDays(i / 30));
        log.fieldByName(QStringLiteral("LogTime")).setAsString(QTime(0, 0).addSecs(i % 30 * 2000).toString(u"HH:mm:ss"));
        log.fieldByName(QStringLiteral("LogBand")).setAsString(QString::fromLatin1(bands[i % 10]));
        log.fieldByName(QStringLiteral("LogMode")).setAsString(QString::fromLatin1(modes[i % 4]));
        log.fieldByName(QStringLiteral("LogName")).setAsString(QStringLiteral("Name %1").arg(i % 500));
        log.fieldByName(QStringLiteral("LogRxRst")).setAsString(QStringLiteral("59"));
        log.fieldByName(QStringLiteral("LogTxRst")).setAsString(QStringLiteral("59"));
        log.post();
    }
    walk.commit();
}

// A program directory in `dir` with a generated log of `logSize` contacts;
// with `countries`, the prefix and award tables from the system's cty.dat.
inline void installProgram(const QString &dir, bool countries)
{
    if (countries)
        CtyImport::installMissingTables(QStringLiteral("/usr/share/hamradio-files"), dir);
    ProgramDirectory::installEmptyTables(dir);
    Db::Database database;
    database.setDirectory(dir + QStringLiteral("/Log/Log1"));
    Db::Table log(&database, QStringLiteral("Tarnel"));
    log.open();
    generateLog(log);
}

// Copies every file below `from` to the same place below `to`.
inline void copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

} // namespace Bench
