#include "platform/table/FileCheck.h"

#include "platform/table/TableFile.h"

#include <QFile>
#include <QMetaObject>
#include <sqlite3.h>

namespace Db {

namespace {

// The file's own findings are capped: one names the damage well enough.
constexpr const char *checkSql = "PRAGMA quick_check(1)";

TableError damaged(const QString &path, const QString &finding)
{
    return TableError(QStringLiteral("%1 is damaged: %2").arg(path, finding), path);
}

} // namespace

std::optional<TableError> checkFile(const QString &path, const std::atomic<bool> *stop)
{
    sqlite3 *db = nullptr;
    struct Closer {
        sqlite3 *&db;
        ~Closer() { sqlite3_close(db); }
    } closer{db};
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK ||
        !hardenConnection(db))
        return std::nullopt;
    // Its close must leave the log of changes to the program's own connection:
    // no checkpoint, no removal of the file.
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 1000);
    if (stop)
        sqlite3_progress_handler(
            db, 1000, [](void *flag) { return static_cast<const std::atomic<bool> *>(flag)->load() ? 1 : 0; },
            const_cast<std::atomic<bool> *>(stop));
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, checkSql, -1, &statement, nullptr);
    QString finding;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            finding = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    if (rc == SQLITE_ROW)
        return finding == QLatin1String("ok") ? std::nullopt : std::optional(damaged(path, finding));
    // A page the library cannot even read is damage too; anything else (the
    // check stopped, the file busy or gone) says nothing about the file.
    const int primary = rc & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
        return damaged(path, QString::fromUtf8(sqlite3_errmsg(db)));
    return std::nullopt;
}

FileCheck::FileCheck(Report report) : report_(std::move(report)), context_(std::make_unique<QObject>()) {}

FileCheck::~FileCheck()
{
    stop();
}

void FileCheck::stop()
{
    if (stop_)
        stop_->store(true);
    if (thread_.joinable())
        thread_.join();
    stop_.reset();
}

void FileCheck::start(const QString &path)
{
    stop();
    stop_ = std::make_shared<std::atomic<bool>>(false);
    const quint64 generation = ++generation_;
    QObject *context = context_.get(); // outlives the thread: the destructor joins it
    thread_ = std::thread([this, path, stopped = stop_, context, generation] {
        std::optional<TableError> error = checkFile(path, stopped.get());
        if (!error || stopped->load())
            return;
        // Delivered on the window's thread, dropped with the check's owner,
        // and passed over when a later check has begun meanwhile.
        QMetaObject::invokeMethod(
            context,
            [this, error = *error, generation] {
                if (generation == generation_)
                    report_(error);
            },
            Qt::QueuedConnection);
    });
}

} // namespace Db
