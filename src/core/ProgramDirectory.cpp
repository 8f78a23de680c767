#include "core/ProgramDirectory.h"

#include "core/TableSchemas.h"
#include "platform/audio/WaveDevice.h"
#include "platform/table/Database.h"
#include "platform/table/Table.h"
#include "platform/table/TableError.h"
#include "utilities/AlarmFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ProgramDirectory {

namespace {

struct Install {
    const char *subdir;
    Db::TableSchema (*schema)();
    const char *fileName; // empty: the schema's name + ".db"
};

} // namespace

QStringList installEmptyTables(const QString &dir)
{
    static const Install tables[] = {
        {"Base", TableSchemas::allpref, nullptr},     {"Base", TableSchemas::prefix, nullptr},
        {"Awrds", TableSchemas::dxcc, nullptr},       {"Awrds", TableSchemas::ur, nullptr},
        {"Awrds", TableSchemas::waz, nullptr},        {"Log/Log1", TableSchemas::log, nullptr},
        {"Log/Log2", TableSchemas::log, nullptr},     {"Log/Log3", TableSchemas::log, nullptr},
        {"Sound/Table", TableSchemas::sound, nullptr}, {"Sound/Table", TableSchemas::rez, nullptr},
        {"Sound/Table", TableSchemas::pict, "Pict.db"}, {"Pack", TableSchemas::log, nullptr},
        {"Pack", TableSchemas::sound, nullptr},       {"Pack", TableSchemas::pict, "Pict.db"},
        // An empty external base, to be copied into the directory the settings name.
        {"Pack", TableSchemas::cs, nullptr},
    };
    QStringList created;
    const QDir root(dir);
    if (!root.mkpath(QStringLiteral("Temp")))
        throw Db::TableError(QStringLiteral("Cannot create directories in %1").arg(dir), dir);
    for (const Install &t : tables) {
        const QString sub = root.filePath(QString::fromLatin1(t.subdir));
        if (!root.mkpath(QString::fromLatin1(t.subdir)))
            throw Db::TableError(QStringLiteral("Cannot create the directory %1").arg(sub), sub);
        const Db::TableSchema schema = t.schema();
        const QString name = t.fileName ? QString::fromLatin1(t.fileName) : Db::tableFileName(schema.name);
        if (!Db::findFileCaseInsensitive(sub, name).isEmpty())
            continue;
        Db::createTableFile(QDir(sub).filePath(name), schema);
        created << QDir(sub).filePath(name);
    }
    // The recorder's template: an empty wave file in the recording format.
    // A template already there is the operator's and stays.
    {
        Db::Database sounds;
        sounds.setDirectory(root.filePath(QStringLiteral("Sound/Table")));
        Db::Table templates(&sounds, TableSchemas::rez().name);
        templates.open();
        if (templates.isEmpty()) {
            templates.append();
            templates.fieldByName(QStringLiteral("Sound")).setAsBytes(Audio::pcm16Wave(11025, 1, {}));
            templates.post();
        }
    }
    // The alarm's sound; a file already there is the operator's and stays.
    const QString alarm = root.filePath(QString::fromLatin1(AlarmFile::soundPath));
    if (!QFileInfo::exists(alarm)) {
        QFile file(alarm);
        if (!file.open(QIODevice::WriteOnly) || file.write(AlarmFile::alarmWave()) < 0)
            throw Db::TableError(QStringLiteral("Cannot write %1").arg(alarm), alarm);
        created << alarm;
    }
    return created;
}

} // namespace ProgramDirectory
