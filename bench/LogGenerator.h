#pragma once
// A generated log of contacts for benchmarks, of the kind an operator's log
// holds: calls of thousands of prefixes from the installed country file, dates
// spread over 25 years and entered out of order, names and QTHs, every band
// and mode.

#include "Timing.h"
#include "core/BandsAndModes.h"
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
#include <QStringList>
#include <QTime>

#include <stdexcept>

namespace Bench {

inline const QString ctyDir = QStringLiteral("/usr/share/hamradio-files");

// A well-mixed number from `i` and a salt: the same every run.
inline quint32 mix(quint32 i, quint32 salt = 0)
{
    quint32 x = i * 2654435761u ^ (salt * 0x9e3779b9u + 0x7f4a7c15u);
    x ^= x >> 16;
    x *= 0x85ebca6bu;
    x ^= x >> 13;
    x *= 0xc2b2ae35u;
    x ^= x >> 16;
    return x;
}

// The plain prefixes of the installed country file (several thousand).
inline const QStringList &prefixes()
{
    static const QStringList list = [] {
        QStringList all;
        try {
            const CtyImport::Data data = CtyImport::readFiles(ctyDir);
            for (const CtyImport::PrefixGroup &g : data.groups)
                all += g.prefixes;
        } catch (const CtyImport::Error &) {
        }
        if (all.isEmpty())
            all = {QStringLiteral("UA"), QStringLiteral("DL"), QStringLiteral("K"), QStringLiteral("JA")};
        return all;
    }();
    return list;
}

// Call number `k`; consecutive numbers share a call now and then, so calls
// repeat in the log as they do on the air.
inline QString callOf(int k)
{
    const quint32 n = quint32(k) / 3 * 3 + (mix(quint32(k), 1) % 4 == 0 ? 0 : quint32(k) % 3);
    const QStringList &p = prefixes();
    QString call = p[int(mix(n, 2) % quint32(p.size()))];
    if (!call.back().isDigit())
        call += QChar(u'0' + int(mix(n, 3) % 10));
    quint32 letters = mix(n, 4);
    const int length = 1 + int(letters % 3);
    letters /= 3;
    for (int i = 0; i < length; ++i) {
        call += QChar(u'A' + int(letters % 26));
        letters /= 26;
    }
    return call;
}

inline QString countryOf(int i)
{
    return QStringLiteral("Country %1").arg(i % 340);
}

inline const QStringList &names()
{
    static const QStringList list{
        QStringLiteral("Walter"), QStringLiteral("Jörg"),  QStringLiteral("Ivan"),    QStringLiteral("John"),
        QStringLiteral("Mike"),   QStringLiteral("Hiro"),  QStringLiteral("Pedro"),   QStringLiteral("Jean-Luc"),
        QStringLiteral("Olga"),   QStringLiteral("Sergey"), QStringLiteral("Bob"),    QStringLiteral("Marek"),
        QStringLiteral("Tom"),    QStringLiteral("Ana"),   QStringLiteral("Giovanni"), QStringLiteral("Kees"),
        QStringLiteral("Lars"),   QStringLiteral("Yuri"),  QStringLiteral("Dave"),    QStringLiteral("Pekka")};
    return list;
}

inline const QStringList &qths()
{
    static const QStringList list{
        QStringLiteral("Dortmund"), QStringLiteral("Petäjävesi"), QStringLiteral("Kiev"),     QStringLiteral("Tokyo"),
        QStringLiteral("Madrid"),   QStringLiteral("Lyon"),       QStringLiteral("Ohio"),     QStringLiteral("Moscow"),
        QStringLiteral("Krakow"),   QStringLiteral("Brno"),       QStringLiteral("Rome"),     QStringLiteral("Utrecht"),
        QStringLiteral("Perth"),    QStringLiteral("Novosibirsk"), QStringLiteral("Quebec"), QStringLiteral("Lima")};
    return list;
}

// The date and time of contact `i`: any second of 25 years, out of order.
inline QDate dateOf(int i)
{
    return QDate(2000, 1, 1).addDays(mix(quint32(i), 5) % (25 * 365));
}

inline QTime timeOf(int i)
{
    return QTime(0, 0).addSecs(int(mix(quint32(i), 6) % 86400));
}

inline QString bandOf(int i)
{
    return bandKeys()[int(mix(quint32(i), 7) % quint32(bandKeys().size()))];
}

inline QString modeOf(int i)
{
    return modeTexts()[int(mix(quint32(i), 8) % quint32(modeTexts().size()))];
}

// Appends `count` contacts in one transaction; contact i has call number
// i * 7919 % count, so every call number below `count` is in the log.
inline void generateLog(Db::Table &log, int count = logSize)
{
    Db::TableTransaction walk(log);
    Db::Field &call = log.fieldByName(QStringLiteral("LogCall")), &country = log.fieldByName(QStringLiteral("LogObl")),
              &date = log.fieldByName(QStringLiteral("LogDate")), &time = log.fieldByName(QStringLiteral("LogTime")),
              &band = log.fieldByName(QStringLiteral("LogBand")), &mode = log.fieldByName(QStringLiteral("LogMode")),
              &name = log.fieldByName(QStringLiteral("LogName")), &qth = log.fieldByName(QStringLiteral("LogQth")),
              &rxRst = log.fieldByName(QStringLiteral("LogRxRst")), &txRst = log.fieldByName(QStringLiteral("LogTxRst"));
    for (int i = 0; i < count; ++i) {
        log.append();
        call.setAsString(callOf(int(qint64(i) * 7919 % count)));
        country.setAsString(countryOf(i));
        date.setAsDate(dateOf(i));
        time.setAsString(timeOf(i).toString(u"HH:mm:ss"));
        band.setAsString(bandOf(i));
        mode.setAsString(modeOf(i));
        name.setAsString(names()[int(mix(quint32(i), 9) % quint32(names().size()))]);
        qth.setAsString(qths()[int(mix(quint32(i), 10) % quint32(qths().size()))]);
        rxRst.setAsString(i % 3 ? QStringLiteral("59") : QStringLiteral("579"));
        txRst.setAsString(i % 2 ? QStringLiteral("59") : QStringLiteral("599"));
        log.post();
    }
    walk.commit();
}

// A program directory in `dir` with a generated log of `logSize` contacts;
// with `countries`, the prefix and award tables from the system's cty.dat,
// as an installation makes them (all five, or the benchmark stops).
inline void installProgram(const QString &dir, bool countries)
{
    if (countries && CtyImport::installMissingTables(ctyDir, dir).created.size() != 5)
        throw std::runtime_error("the prefix and award tables were not installed");
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
