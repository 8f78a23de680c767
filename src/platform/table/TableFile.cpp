#include "platform/table/TableFile.h"

#include "platform/table/Table.h"
#include "platform/table/TableError.h"

#include <QElapsedTimer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <utility>
#include <sqlite3.h>
#include <cerrno>
#include <sys/statvfs.h>

namespace Db {

QString quoteName(const QString &name)
{
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

// ---------------------------------------------------------------- Statement

Statement::Statement(TableFile *file, sqlite3_stmt *stmt, bool own) : file_(file), stmt_(stmt), own_(own) {}

Statement::Statement(Statement &&other) noexcept
    : file_(other.file_), stmt_(other.stmt_), own_(other.own_), bound_(other.bound_), texts_(std::move(other.texts_))
{
    other.stmt_ = nullptr;
}

Statement::~Statement()
{
    if (stmt_ && own_) {
        sqlite3_finalize(stmt_);
    } else if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
}

void Statement::bind(const QVariantList &values)
{
    texts_.reserve(texts_.size() + values.size());
    for (const QVariant &v : values) {
        const int i = ++bound_;
        int rc;
        switch (v.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(stmt_, i, v.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(stmt_, i, v.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = v.toByteArray();
            rc = sqlite3_bind_blob64(stmt_, i, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            // The statement is reset (and its bindings cleared) before texts_ goes.
            texts_.append(v.toString().toUtf8());
            const QByteArray &utf8 = texts_.constLast();
            rc = sqlite3_bind_text64(stmt_, i, utf8.constData(), sqlite3_uint64(utf8.size()), SQLITE_STATIC,
                                     SQLITE_UTF8);
        }
        }
        if (rc != SQLITE_OK)
            file_->fail(QStringLiteral("Cannot bind a value"), rc);
    }
}

bool Statement::step(const QString &failure)
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    file_->fail(failure, file_->extendedError(rc));
}

QVariant Statement::column(int index) const
{
    switch (sqlite3_column_type(stmt_, index)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(stmt_, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, index));
    case SQLITE_BLOB: {
        const void *data = sqlite3_column_blob(stmt_, index);
        return QVariant(QByteArray(static_cast<const char *>(data), sqlite3_column_bytes(stmt_, index)));
    }
    case SQLITE_TEXT: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, index));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt_, index)));
    }
    default:
        return QVariant(QString());
    }
}

// ---------------------------------------------------------------- TableFile

namespace {

QHash<QString, std::weak_ptr<TableFile>> &openFiles()
{
    // Never destroyed: a table closed during exit must still find it.
    static auto *files = new QHash<QString, std::weak_ptr<TableFile>>;
    return *files;
}

// SQLite's rules for a column's affinity from its declared type.
char affinityOf(const QString &declared)
{
    if (declared.contains(QLatin1String("INT")))
        return 'i';
    if (declared.contains(QLatin1String("CHAR")) || declared.contains(QLatin1String("CLOB")) ||
        declared.contains(QLatin1String("TEXT")))
        return 't';
    if (declared.isEmpty() || declared.contains(QLatin1String("BLOB")))
        return 'b';
    if (declared.contains(QLatin1String("REAL")) || declared.contains(QLatin1String("FLOA")) ||
        declared.contains(QLatin1String("DOUB")))
        return 'r';
    return 'n';
}

// Page cache of a file while a walk holds its transaction. Inserting into a
// log's dozen indexes touches pages all over the file; with the small default
// cache they are written to the journal and read back again and again. A
// million-contact log's indexes fill about this much; a smaller log's walk
// takes only the pages it touches. The pages are given back when the walk
// ends, so an idle file costs no more.
constexpr int walkCacheKiB = 196608;
// ... and a walk whose indexes wait for its end needs only this much.
constexpr int deferredWalkCacheKiB = 32768;
// The most of a file a walk maps into memory; mapped pages are the file's
// own, which the system can drop at any time, not memory of the program.
constexpr qint64 walkMapBytes = qint64(2047) << 20;

// Checkpoints wait until no post came for this long, so a contact's save
// never waits for one (a checkpoint syncs the file as well as the log).
constexpr int idleCheckpointMs = 1000;
// How long a statement waits for another connection's write to end.
constexpr int busyTimeoutMs = 5000;
// ... unless the log of changes grew this long (pages) without an idle moment.
constexpr int walBackstopPages = 16384;
// An idle moment folds the log of changes in only from this long (pages).
constexpr int idleFoldPages = 1024;
// A commit that appends to the log of changes grows the file, and its sync
// must then write the file's size to the disk too: about twice the cost of
// a sync that only overwrites blocks already there. So a file synced at each
// commit keeps this much written ahead of its last commit, and writes more
// once less than half of it is left (a few dozen contacts' saves apart).
constexpr qint64 walAheadBytes = qint64(2) << 20;
constexpr int walAheadChunkBytes = 64 << 10;
// Room is kept ahead only while the disk has this many times it free.
constexpr qint64 walAheadFreeFactor = 8;
// The log of changes' own layout: a header, then each page behind a header.
constexpr qint64 walHeaderBytes = 32;
constexpr qint64 walFrameHeaderBytes = 24;

bool hasSqliteHeader(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

// Reading a file's description may take this long before the file is taken
// for a hostile one; our own files need a few milliseconds.
constexpr qint64 layoutReadLimitMs = 1000;

} // namespace

// A table file may come from elsewhere (a callbook, a log or base copied from
// another machine): no SQL stored in it may run here. Functions in the file's
// schema must be harmless, the schema cannot be written behind the engine's
// back, and a file holding triggers or views is refused when it is opened
// (readLayout).
bool hardenConnection(sqlite3 *db)
{
    const int options[][2] = {{SQLITE_DBCONFIG_DEFENSIVE, 1},
                              {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0},
                              {SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0}};
    for (const auto &[option, value] : options)
        if (sqlite3_db_config(db, option, value, nullptr) != SQLITE_OK)
            return false;
    return true;
}

std::shared_ptr<TableFile> TableFile::open(const QString &path, bool syncEachCommit)
{
    const QString key = QFileInfo(path).canonicalFilePath();
    if (key.isEmpty())
        throw TableError(QStringLiteral("Table file not found: %1").arg(path), path);
    // A FIFO or device at a table's name (a link planted in the program
    // directory) would block the first read forever, or never end.
    if (!QFileInfo(key).isFile())
        throw TableError(QStringLiteral("%1 is not a table file: it is not a plain file").arg(path), path);
    if (auto existing = openFiles().value(key).lock())
        return existing;
    std::shared_ptr<TableFile> file(new TableFile(key, syncEachCommit));
    openFiles().insert(key, file);
    return file;
}

TableFile::TableFile(const QString &path, bool syncEachCommit) : path_(path), syncEachCommit_(syncEachCommit)
{
    if (!QFileInfo(path).isReadable())
        throw TableError(QStringLiteral("Cannot read the table file %1").arg(path), path);
    if (!hasSqliteHeader(path))
        throw TableError(QStringLiteral("%1 is not a table file or is damaged").arg(path), path);
    // One thread uses the tables, so the connection needs no mutex of its own:
    // it would be taken and released for every column of every row read.
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw TableError(QStringLiteral("Cannot open the table file %1: %2").arg(path, QString::fromUtf8(sqlite3_errstr(rc))),
                         path);
    }
    try {
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, busyTimeoutMs);
        // A misspelt column must be an error, never a text literal that reads
        // as the column's name in every row.
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
        sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
        if (!hardenConnection(db_))
            fail(QStringLiteral("Cannot open"), sqlite3_extended_errcode(db_));
        readLayoutBounded();
        // Every post is its own commit unless a walk holds a transaction. WAL
        // makes a returned post survive a killed process; FULL sync, which
        // syncs the log of changes at each commit, a power cut too.
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(syncEachCommit ? QStringLiteral("PRAGMA synchronous=FULL") : QStringLiteral("PRAGMA synchronous=NORMAL"));
        // No checkpoint inside a commit: they run when the program is idle.
        sqlite3_wal_hook(db_, &TableFile::walCommitted, this);
        if (QCoreApplication *app = QCoreApplication::instance(); app && app->thread() == QThread::currentThread()) {
            idleCheckpoint_ = std::make_unique<QTimer>();
            idleCheckpoint_->setSingleShot(true);
            idleCheckpoint_->setInterval(idleCheckpointMs);
            QObject::connect(idleCheckpoint_.get(), &QTimer::timeout, [this] { idle(); });
            // The first idle moment writes the room ahead for the first saves.
            if (syncEachCommit)
                idleCheckpoint_->start();
        }
        {
            Statement s = prepare(QStringLiteral("PRAGMA cache_size"));
            if (s.step())
                idleCacheSize_ = s.column(0).toLongLong();
        }
        {
            Statement s = prepare(QStringLiteral("PRAGMA page_size"));
            if (s.step())
                pageSize_ = s.column(0).toLongLong();
        }
        // Registered once: creating a function later would expire every cached statement.
        // Callable only from the engine's own statements, never from a file's schema.
        if (sqlite3_create_function_v2(db_, "walk_tick", 0, SQLITE_UTF8 | SQLITE_DIRECTONLY, this,
                                       &TableFile::tickFunction, nullptr, nullptr, nullptr) != SQLITE_OK ||
            sqlite3_create_function_v2(db_, "blank_controls", 2,
                                       SQLITE_UTF8 | SQLITE_DIRECTONLY | SQLITE_DETERMINISTIC, nullptr,
                                       &TableFile::blankControlsFunction, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(QStringLiteral("Cannot prepare a query"), sqlite3_extended_errcode(db_));
        if (sqlite3_prepare_v3(db_, "PRAGMA data_version", -1, SQLITE_PREPARE_PERSISTENT, &dataVersion_, nullptr) !=
            SQLITE_OK)
            fail(QStringLiteral("Cannot prepare a query"), sqlite3_extended_errcode(db_));
    } catch (...) {
        sqlite3_finalize(dataVersion_);
        dataVersion_ = nullptr;
        for (sqlite3_stmt *s : std::as_const(statements_))
            sqlite3_finalize(s);
        statements_.clear();
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

TableFile::~TableFile()
{
    idleCheckpoint_.reset();
    openFiles().remove(path_);
    sqlite3_finalize(dataVersion_);
    for (sqlite3_stmt *s : std::as_const(statements_))
        sqlite3_finalize(s);
    if (db_) {
        // Leaves one plain file that can be copied (the rebuild copies files).
        sqlite3_exec(db_, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
}

QString TableFile::fileName() const
{
    return QFileInfo(path_).fileName();
}

QString TableFile::quotedTable() const
{
    return quoteName(schema_.name);
}

QString systemReason(int systemError, bool readOnlyDisk, const QString &libraryText)
{
    if (systemError == 0 && readOnlyDisk)
        systemError = EROFS;
    return systemError ? QString::fromLocal8Bit(std::strerror(systemError)) : libraryText;
}

namespace {

bool onReadOnlyDisk(const QString &path)
{
    struct statvfs disk {};
    return ::statvfs(QFile::encodeName(path).constData(), &disk) == 0 && (disk.f_flag & ST_RDONLY);
}

} // namespace

int TableFile::lastSystemError() const
{
    if (!db_)
        return 0;
    if (const int error = sqlite3_system_errno(db_))
        return error;
    // Later calls may have cleared the number the library took; each file
    // keeps the one of its own last failed call (the write of the log of
    // changes, most often).
    int error = 0;
    sqlite3_file *wal = nullptr;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_JOURNAL_POINTER, &wal) == SQLITE_OK && wal && wal->pMethods)
        wal->pMethods->xFileControl(wal, SQLITE_FCNTL_LAST_ERRNO, &error);
    if (error == 0)
        sqlite3_file_control(db_, "main", SQLITE_FCNTL_LAST_ERRNO, &error);
    return error;
}

void TableFile::fail(const QString &what, int rc) const
{
    const int primary = rc & 0xff;
    const QString detail = QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    // Only an I/O error comes with the system's error number of its own call.
    const auto reason = [&](bool ioError) { return systemReason(ioError ? lastSystemError() : 0, onReadOnlyDisk(path_), detail); };
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
        throw KeyViolation(QStringLiteral("Key violation in %1").arg(path_), path_);
    if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
        throw TableError(QStringLiteral("%1 is not a table file or is damaged").arg(path_), path_);
    if (primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM)
        throw TableError(QStringLiteral("Cannot write the table file %1: %2").arg(path_, reason(false)), path_);
    // The operator must learn that the disk or the device failed, not that the
    // log is damaged: nothing in the file was changed by the failed write.
    if (primary == SQLITE_FULL)
        throw TableError(QStringLiteral("The disk is full: nothing was written to %1").arg(path_), path_);
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        throw TableError(QStringLiteral("%1 is held by another program (for instance a second copy of this one): "
                                        "nothing was written")
                             .arg(path_),
                         path_);
    if (primary == SQLITE_IOERR)
        throw TableError(QStringLiteral("Input/output error on %1: %2").arg(path_, reason(true)), path_);
    throw TableError(QStringLiteral("%1 in %2: %3").arg(what, path_, detail), path_);
}

sqlite3_stmt *TableFile::prepareStatement(const QString &sql, unsigned flags)
{
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_, utf8.constData(), int(utf8.size()), flags, &stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(QStringLiteral("Cannot prepare a query"), sqlite3_extended_errcode(db_));
    return stmt;
}

Statement TableFile::prepare(const QString &sql)
{
    sqlite3_stmt *stmt = statements_.value(sql);
    if (!stmt) {
        stmt = prepareStatement(sql, SQLITE_PREPARE_PERSISTENT);
        statements_.insert(sql, stmt);
    }
    return Statement(this, stmt);
}

Statement TableFile::prepareOwn(const QString &sql)
{
    return Statement(this, prepareStatement(sql, 0), true);
}

void TableFile::exec(const QString &sql)
{
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(QStringLiteral("Cannot run a command"), sqlite3_extended_errcode(db_));
}

int TableFile::extendedError(int rc) const
{
    return db_ ? sqlite3_extended_errcode(db_) : rc;
}

qint64 TableFile::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(db_);
}

quint64 TableFile::changes() const
{
    // data_version moves with every commit of another connection (another
    // program, a second copy of this one), so cached counts and grid rows of
    // this file are read again after such a post too.
    // While this file's transaction holds it for writing no other commit can
    // come: the number read first holds until the transaction ends.
    const bool held = savepoints_ > 0 && immediate_ && !sqlite3_get_autocommit(db_);
    if (!held)
        heldVersion_.reset();
    quint64 otherCommits = heldVersion_.value_or(0);
    if (dataVersion_ && !heldVersion_) {
        if (sqlite3_step(dataVersion_) == SQLITE_ROW)
            otherCommits = quint64(sqlite3_column_int64(dataVersion_, 0));
        sqlite3_reset(dataVersion_);
        if (held)
            heldVersion_ = otherCommits;
    }
    return (otherCommits << 40) + quint64(sqlite3_total_changes64(db_));
}

int TableFile::rowCount()
{
    if (countStamp_ != changes()) {
        Statement s = prepare(QStringLiteral("SELECT count(*) FROM %1").arg(quotedTable()));
        s.step();
        rowCount_ = int(s.column(0).toLongLong());
        countStamp_ = changes();
    }
    return rowCount_;
}

quint64 TableFile::lastChanges() const
{
    return quint64(sqlite3_changes64(db_));
}

bool TableFile::inTransaction() const
{
    return savepoints_ > 0 || !sqlite3_get_autocommit(db_);
}

void TableFile::attach(const QString &path, const QString &alias)
{
    Statement s = prepare(QStringLiteral("ATTACH DATABASE ? AS ") + alias);
    s.bind({path});
    s.step();
}

void TableFile::detach(const QString &alias) noexcept
{
    // Fails only while a statement or transaction still uses it, which the
    // callers have ended; the alias then goes with the connection.
    sqlite3_exec(db_, (QStringLiteral("DETACH DATABASE ") + alias).toUtf8().constData(), nullptr, nullptr, nullptr);
}

void TableFile::setTick(std::function<void()> tick)
{
    tick_ = std::move(tick);
    tickError_ = nullptr;
}

void TableFile::rethrowTickError()
{
    if (std::exception_ptr error = std::exchange(tickError_, nullptr))
        std::rethrow_exception(error);
}

void TableFile::tickFunction(sqlite3_context *context, int, sqlite3_value **)
{
    auto *file = static_cast<TableFile *>(sqlite3_user_data(context));
    // No exception may cross SQLite's C frames: it is kept and the statement fails.
    try {
        if (file->tick_)
            file->tick_();
        sqlite3_result_int(context, 1);
    } catch (...) {
        file->tickError_ = std::current_exception();
        sqlite3_result_error(context, "walk stopped", -1);
    }
}

void TableFile::rowsChanged(quint64 changesBefore, int delta, quint64 changed, int field)
{
    written_ = true;
    keepLogAhead();
    const quint64 now = changes();
    const bool followed = now == changesBefore + changed;
    followCount(changesBefore, delta, changed);
    for (Tally &t : tallies_) {
        if (followed && t.stamp == changesBefore && delta == 0 && field >= 0 && field != t.field)
            t.stamp = now;
        else if (t.stamp != now)
            idleLater(); // built again when the program is idle
    }
}

void TableFile::followCount(quint64 changesBefore, int delta, quint64 changed)
{
    if (countStamp_ != changesBefore)
        return;
    if (const quint64 now = changes(); now == changesBefore + changed) {
        rowCount_ += delta;
        countStamp_ = now;
    }
}

namespace {

std::function<bool(const QString &, const QString &)> &transactionFault()
{
    static std::function<bool(const QString &, const QString &)> fault;
    return fault;
}

} // namespace

void setTransactionFault(std::function<bool(const QString &fileName, const QString &command)> fault)
{
    transactionFault() = std::move(fault);
}

namespace {

std::function<qint64(const QString &)> &freeSpaceProbe()
{
    static std::function<qint64(const QString &)> probe;
    return probe;
}

qint64 freeSpace(const QString &path)
{
    if (freeSpaceProbe())
        return freeSpaceProbe()(path);
    struct statvfs disk {};
    if (::statvfs(QFile::encodeName(path).constData(), &disk) != 0)
        return 0;
    return qint64(disk.f_bavail) * qint64(disk.f_frsize);
}

} // namespace

void setFreeSpaceProbe(std::function<qint64(const QString &path)> probe)
{
    freeSpaceProbe() = std::move(probe);
}

void TableFile::transactionCommand(const QString &sql)
{
    if (transactionFault() && transactionFault()(fileName(), sql))
        fail(QStringLiteral("Cannot run a command"), SQLITE_FULL);
    // Prepared once and kept: a save begins and ends a transaction in every
    // file it writes, and parsing the command each time cost more than running it.
    prepare(sql).step(QStringLiteral("Cannot run a command"));
}

void TableFile::forgetRowCount()
{
    walkFollowed_ = 0;
    countStamp_ = ~0ULL;
    for (Tally &t : tallies_)
        t.stamp = ~0ULL;
    if (!tallies_.empty())
        idleLater();
}

void TableFile::keepPrefixCounts(int field)
{
    for (const Tally &t : tallies_)
        if (t.field == field)
            return;
    tallies_.push_back({field, {}, ~0ULL});
    idleLater();
}

void TableFile::idleLater()
{
    if (idleCheckpoint_ && !idleCheckpoint_->isActive())
        idleCheckpoint_->start();
}

// Work that waits for the program to be idle: the checkpoint, and counts
// that a walk or another program left to be built again (building them on
// a large log takes a moment better spent here than on the next keystroke).
void TableFile::idle()
{
    if (inTransaction()) {
        idleLater();
        return;
    }
    // Folding the log of changes in restarts it, and the next save then
    // writes and syncs a fresh header in each file it marks: three or four
    // syncs where one is needed. So a short log waits (for a larger one, a
    // walk's end or the close); only a long one is folded while idle.
    if (walPages_ >= idleFoldPages)
        checkpoint();
    keepLogAhead();
    buildTallies();
}

void TableFile::buildTallies() noexcept
{
    for (Tally &t : tallies_) {
        try {
            if (t.stamp != changes())
                buildTally(t);
        } catch (...) {
            t.stamp = ~0ULL; // counted on the index until the next idle moment
        }
    }
}

bool TableFile::talliesBuilt() const
{
    const quint64 now = changes();
    return std::all_of(tallies_.begin(), tallies_.end(), [now](const Tally &t) { return t.stamp == now; });
}

void TableFile::buildTally(Tally &tally)
{
    tally.counts.clear();
    tally.stamp = ~0ULL;
    const QString column = quoteName(schema_.fields[tally.field].name);
    // Only texts fall in a range of texts: numbers sort below '' and blobs above x''.
    Statement s = prepare(QStringLiteral("SELECT %1, count(*) FROM %2 WHERE %1 >= '' AND %1 < x'' GROUP BY %1")
                              .arg(column, quotedTable()));
    while (s.step())
        tally.counts.addSorted(s.column(0).toString(), int(s.column(1).toLongLong()));
    tally.counts.endSorted();
    tally.stamp = changes();
}

std::optional<QString> TableFile::textOf(int field, qint64 rowId)
{
    Statement s = prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ? AND typeof(%1) = 'text'")
                              .arg(quoteName(schema_.fields[field].name), quotedTable()));
    s.bind({rowId});
    if (!s.step())
        return std::nullopt;
    return s.column(0).toString();
}

std::optional<int> TableFile::prefixRangeCount(int field, const QVariant &low, const QVariant &high)
{
    auto tally = std::find_if(tallies_.begin(), tallies_.end(), [field](const Tally &t) { return t.field == field; });
    if (tally == tallies_.end() || low.typeId() != QMetaType::QString || high.typeId() != QMetaType::QString)
        return std::nullopt;
    const QString from = low.toString();
    const QString to = high.toString();
    if (from.size() > PrefixTally::depth || to.size() <= from.size() || !to.startsWith(from))
        return std::nullopt;
    // The range holds the rows that begin with `from`, less those above `to`.
    // Every text that begins with `from` is below `bound`.
    QString bound = QStringLiteral("x''");
    QVariantList args{to};
    if (!from.isEmpty()) {
        const char16_t last = from.back().unicode();
        if ((last >= 0xD7FF && last < 0xE000) || last == 0xFFFF)
            return std::nullopt;
        args << QString(from.chopped(1) + QChar(char16_t(last + 1)));
        bound = QStringLiteral("?");
    }
    // Counts not built yet (a log just opened, a walk just ended): the caller
    // counts on the index this once, far quicker than building them all on
    // a large log; they are built when the program is next idle.
    if (tally->stamp != changes()) {
        idleLater();
        return std::nullopt;
    }
    Statement s = prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 > ? AND %2 < %3")
                              .arg(quotedTable(), quoteName(schema_.fields[field].name), bound));
    s.bind(args);
    s.step();
    return tally->counts.rowsBeginningWith(from) - int(s.column(0).toLongLong());
}

// Inside a transaction the counts follow a walk's first rows one by one; a
// larger walk has them built again at its end instead (following one row
// costs about what building them costs for eight rows of the log).
bool TableFile::followsRowsInWalk() const
{
    return walkFollowed_ < std::max(1000, rowCount_ / 8);
}

TableFile::TallyTexts TableFile::tallyTexts(qint64 rowId)
{
    TallyTexts texts;
    if (inTransaction() && !followsRowsInWalk())
        return texts;
    const quint64 now = tallies_.empty() ? 0 : changes();
    for (Tally &t : tallies_) {
        std::optional<QString> text;
        try {
            if (t.stamp == now)
                text = textOf(t.field, rowId);
        } catch (...) {
            t.stamp = ~0ULL; // built again when next asked for
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

void TableFile::rowChanged(quint64 changesBefore, int delta, qint64 rowId, const TallyTexts &before) noexcept
{
    // The room ahead is written at the idle moment this post starts: growing
    // it here would put a sync of its own inside the save.
    written_ = true;
    followCount(changesBefore, delta, 1);
    if (tallies_.empty())
        return;
    const quint64 now = changes();
    const bool inWalk = inTransaction();
    const bool followed = (!inWalk || followsRowsInWalk()) && now == changesBefore + 1;
    if (followed && inWalk)
        ++walkFollowed_;
    for (size_t i = 0; i < tallies_.size(); ++i) {
        Tally &t = tallies_[i];
        if (!followed || t.stamp != changesBefore) {
            t.stamp = ~0ULL;
            idleLater();
            continue;
        }
        // The row is written whatever happens here: a failed read only means
        // the counts are built again when next asked for.
        std::optional<QString> text;
        try {
            text = textOf(t.field, rowId);
        } catch (...) {
            t.stamp = ~0ULL;
            continue;
        }
        if (i < before.size() && before[i])
            t.counts.add(*before[i], -1);
        if (text)
            t.counts.add(*text, 1);
        t.stamp = now;
    }
}

void TableFile::checkpoint()
{
    if (idleCheckpoint_)
        idleCheckpoint_->stop();
    // A failure (a reader still on old pages, a disk error) leaves the log of
    // changes as it is: the next idle moment or the close tries again.
    if (!db_)
        return;
    const int rc = inTransaction() ? SQLITE_LOCKED
                                   : sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    // A statement still reading holds the file: another idle moment is waited for.
    if ((rc == SQLITE_LOCKED || rc == SQLITE_BUSY) && idleCheckpoint_)
        idleCheckpoint_->start();
}

int TableFile::walCommitted(void *self, sqlite3 *, const char *, int pages)
{
    auto *file = static_cast<TableFile *>(self);
    file->walPages_ = pages;
    if (pages >= walBackstopPages)
        sqlite3_wal_checkpoint_v2(file->db_, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    else if (file->idleCheckpoint_)
        file->idleCheckpoint_->start();
    return SQLITE_OK;
}

void TableFile::keepLogAhead() noexcept
{
    // Only a file that saves write to pays for the room (the log), and only
    // while the disk has several times the room to spare: the last free
    // space of a disk belongs to the next contact.
    if (!syncEachCommit_ || !written_ || !db_ || inTransaction())
        return;
    sqlite3_file *wal = nullptr;
    if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_JOURNAL_POINTER, &wal) != SQLITE_OK || !wal || !wal->pMethods)
        return;
    sqlite3_int64 size = 0;
    if (wal->pMethods->xFileSize(wal, &size) != SQLITE_OK)
        return;
    const qint64 end = walHeaderBytes + qint64(walPages_) * (pageSize_ + walFrameHeaderBytes);
    if (freeSpace(path_) < walAheadFreeFactor * walAheadBytes) {
        // The disk is filling up: what was written ahead is given back. The
        // checkpoint is the library's own, safe whoever else writes the file.
        if (size > end)
            giveBackLog();
        return;
    }
    if (size - end >= walAheadBytes / 2)
        return;
    // Only the writer may touch the log of changes: another connection (a
    // second copy of the program) could be appending to it. One that holds
    // it now is not waited for: this is only a saving, tried again later.
    sqlite3_busy_timeout(db_, 0);
    const bool writer = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    if (!writer)
        return;
    // The system's own way of growing a file: blocks written, not promised,
    // and synced now rather than by the next contact's save.
    int chunk = walAheadChunkBytes;
    sqlite3_int64 want = end + walAheadBytes;
    if (wal->pMethods->xFileControl(wal, SQLITE_FCNTL_CHUNK_SIZE, &chunk) == SQLITE_OK &&
        wal->pMethods->xFileControl(wal, SQLITE_FCNTL_SIZE_HINT, &want) == SQLITE_OK)
        wal->pMethods->xSync(wal, SQLITE_SYNC_NORMAL);
    if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

TableFile::WalkPages::WalkPages(TableFile &file) : file_(file)
{
    file_.walkBegan(true);
}

TableFile::WalkPages::~WalkPages()
{
    file_.walkEnded(true);
}

void TableFile::walkBegan(bool reading)
{
    if (walks_ == 0)
        exec(QStringLiteral("PRAGMA cache_size=-%1").arg(walkCacheKiB));
    ++walks_;
    if (reading && readers_++ == 0)
        sqlite3_exec(db_, QStringLiteral("PRAGMA mmap_size=%1").arg(walkMapBytes).toUtf8().constData(), nullptr,
                     nullptr, nullptr);
}

void TableFile::walkEnded(bool reading) noexcept
{
    if (reading && --readers_ == 0)
        sqlite3_exec(db_, "PRAGMA mmap_size=0", nullptr, nullptr, nullptr);
    if (--walks_ == 0)
        sqlite3_exec(db_, QStringLiteral("PRAGMA cache_size=%1").arg(idleCacheSize_).toUtf8().constData(), nullptr,
                     nullptr, nullptr);
}

void TableFile::dropIndexes(const QStringList &keptFields, QStringList &dropped)
{
    if (!inTransaction())
        throw TableError(QStringLiteral("Indexes are dropped only inside a transaction: %1").arg(path_), path_);
    // A statement still stepping would fail the drop, or lose its place.
    for (sqlite3_stmt *s = sqlite3_next_stmt(db_, nullptr); s; s = sqlite3_next_stmt(db_, s))
        if (sqlite3_stmt_busy(s))
            return;
    QStringList names, statements;
    {
        Statement s = prepare(QStringLiteral("SELECT type, name, sql FROM sqlite_master "
                                             "WHERE name GLOB 'sqlite_stat*' OR (type = 'index' AND sql NOT NULL)"));
        while (s.step()) {
            if (s.column(0).toString() != QLatin1String("index"))
                return;
            const QString sql = s.column(2).toString();
            // Only the engine's own are dropped and made again: an index
            // another program added stays as it is.
            const IndexDef *index = ownIndex(schema_, sql);
            if (!index || std::any_of(keptFields.begin(), keptFields.end(), [index](const QString &f) {
                    return f.compare(index->fields.front(), Qt::CaseInsensitive) == 0;
                }))
                continue;
            names << s.column(1).toString();
            statements << sql;
        }
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        exec(QStringLiteral("DROP INDEX ") + quoteName(names[i]));
        dropped << statements[i];
    }
    // With its indexes built again in one sort at the end, the walk appends to
    // the table's last pages only: the large cache for random index pages
    // would only fill with rows already written (a million-contact import
    // held some 170 MB in it). The walk's end gives the idle size back.
    if (!names.isEmpty())
        exec(QStringLiteral("PRAGMA cache_size=-%1").arg(deferredWalkCacheKiB));
}

QString TableFile::beginSavepoint(bool walk)
{
    if (walk)
        walkBegan(false);
    const QString name = QStringLiteral("walk%1").arg(savepoints_ + 1);
    const bool outermost = savepoints_ == 0 && sqlite3_get_autocommit(db_);
    if (outermost)
        heldVersion_.reset(); // another program may have committed since the last transaction
    try {
        // The outermost takes the file for writing at once: what it reads is
        // what it writes over, with no other program's commit in between.
        transactionCommand(outermost ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT ") + name);
    } catch (...) {
        if (walk)
            walkEnded(false);
        throw;
    }
    if (savepoints_ == 0)
        immediate_ = outermost;
    ++savepoints_;
    return name;
}

void TableFile::releaseSavepoint(const QString &name, bool walk)
{
    // A walk leaves the kept counts built, in its own transaction: the
    // first keystroke after it finds them ready instead of the idle moment.
    if (savepoints_ == 1) {
        walkFollowed_ = 0;
        if (walk)
            buildTallies();
    }
    transactionCommand(savepoints_ == 1 && immediate_ ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE ") + name);
    --savepoints_;
    if (!walk)
        return; // a row's transaction leaves its checkpoint to the idle moment
    walkEnded(false);
    if (savepoints_ == 0)
        checkpoint();
}

void TableFile::rollbackSavepoint(const QString &name, bool walk)
{
    forgetRowCount();
    const bool outermost = savepoints_ == 1 && immediate_;
    --savepoints_;
    const auto ended = [&] {
        if (!walk)
            return; // a row's change is no room worth giving back
        walkEnded(false);
        giveBackLog();
    };
    try {
        if (outermost) {
            transactionCommand(QStringLiteral("ROLLBACK"));
        } else {
            transactionCommand(QStringLiteral("ROLLBACK TO ") + name);
            transactionCommand(QStringLiteral("RELEASE ") + name);
        }
    } catch (...) {
        // The savepoint may be gone while the file's transaction is still
        // open (after a failed commit): the outermost walk then ends it whole,
        // or every later post would stay uncommitted and keep other programs
        // out of the file.
        if (savepoints_ == 0 && !sqlite3_get_autocommit(db_))
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        ended();
        throw;
    }
    ended();
}

void TableFile::giveBackLog() noexcept
{
    // A walk rolled back may have written megabytes of changes ahead that
    // are now worth nothing; a nearly full disk needs them for the next save.
    if (!db_ || inTransaction())
        return;
    sqlite3_busy_timeout(db_, 0);
    sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
}

TableError TableFile::notOurs() const
{
    return TableError(QStringLiteral("%1 is not a table file of this program").arg(path_), path_);
}

void TableFile::readLayoutBounded()
{
    struct Deadline {
        QElapsedTimer clock;
        bool passed = false;
    } deadline;
    deadline.clock.start();
    // Looked at every few steps: a single step of a hostile file can be slow.
    sqlite3_progress_handler(
        db_, 16,
        [](void *data) {
            auto *d = static_cast<Deadline *>(data);
            d->passed = d->passed || d->clock.hasExpired(layoutReadLimitMs);
            return d->passed ? 1 : 0;
        },
        &deadline);
    try {
        readLayout();
    } catch (const TableError &) {
        sqlite3_progress_handler(db_, 0, nullptr, nullptr);
        if (deadline.passed)
            throw notOurs();
        throw;
    }
    sqlite3_progress_handler(db_, 0, nullptr, nullptr);
}

namespace {

// Whether `index` is one that a tool (the sqlite3 shell, a database browser)
// adds to make its own searches of the table quick: neither unique, which
// would refuse posts, nor partial nor on an expression, which run SQL of the
// file's maker, nor ordered by a collation other than SQLite's own.
bool isPlainIndex(TableFile &file, const QString &table, const QString &index)
{
    {
        Statement s = file.prepare(
            QStringLiteral("SELECT \"unique\", origin, partial FROM pragma_index_list(?) WHERE name = ?"));
        s.bind({table, index});
        if (!s.step() || s.column(0).toLongLong() != 0 || s.column(1).toString() != QLatin1String("c") ||
            s.column(2).toLongLong() != 0)
            return false;
    }
    Statement s = file.prepare(QStringLiteral("SELECT cid, coll FROM pragma_index_xinfo(?) WHERE key"));
    s.bind({index});
    bool columns = false;
    while (s.step()) {
        const QString collation = s.column(1).toString().toUpper();
        // A column of the table has a number; the row id and expressions have none.
        if (s.column(0).toLongLong() < 0 ||
            (collation != QLatin1String("BINARY") && collation != QLatin1String("NOCASE") &&
             collation != QLatin1String("RTRIM")))
            return false;
        columns = true;
    }
    return columns;
}

} // namespace

void TableFile::readLayout()
{
    sqlite3_stmt *probe = nullptr;
    // The engine makes neither triggers nor views; a file holding any is
    // someone else's, whose SQL would run on every read or post.
    int rc = sqlite3_prepare_v2(db_, "SELECT count(*) FROM sqlite_master WHERE type IN ('trigger', 'view')", -1,
                                &probe, nullptr);
    if (rc == SQLITE_OK && sqlite3_step(probe) == SQLITE_ROW && sqlite3_column_int64(probe, 0) > 0) {
        sqlite3_finalize(probe);
        throw notOurs();
    }
    sqlite3_finalize(probe);
    if (rc != SQLITE_OK)
        fail(QStringLiteral("Cannot read"), sqlite3_extended_errcode(db_));
    probe = nullptr;
    rc = sqlite3_prepare_v2(db_, "SELECT value FROM _layout WHERE key = 'engine'", -1, &probe, nullptr);
    sqlite3_finalize(probe);
    if (rc != SQLITE_OK) {
        // Only a file without our description is foreign; a damaged file or a
        // failing disk is reported as what it is.
        if ((sqlite3_extended_errcode(db_) & 0xff) != SQLITE_ERROR)
            fail(QStringLiteral("Cannot read"), sqlite3_extended_errcode(db_));
        throw notOurs();
    }
    QHash<QString, QString> layout;
    {
        Statement s = prepare(QStringLiteral("SELECT key, value FROM _layout"));
        while (s.step())
            layout.insert(s.column(0).toString(), s.column(1).toString());
    }
    if (layout.value(QStringLiteral("engine")) != QLatin1String("tarnel-table"))
        throw notOurs();
    schema_.name = layout.value(QStringLiteral("table"));
    schema_.layoutVersion = layout.value(QStringLiteral("version")).toInt();
    {
        Statement s = prepare(QStringLiteral("SELECT name, type, width FROM _fields ORDER BY pos"));
        while (s.step()) {
            const auto type = fieldTypeFromName(s.column(1).toString());
            if (!type)
                throw notOurs();
            schema_.fields.append({s.column(0).toString(), *type, int(s.column(2).toLongLong())});
        }
    }
    {
        Statement s = prepare(
            QStringLiteral("SELECT name, kind, fields, isunique, nocase FROM _indexes ORDER BY pos"));
        while (s.step()) {
            const auto kind = indexKindFromName(s.column(1).toString());
            if (!kind)
                throw notOurs();
            schema_.indexes.append({s.column(0).toString(), s.column(2).toString().split(u','), *kind,
                                    s.column(3).toLongLong() != 0, s.column(4).toLongLong() != 0});
        }
    }
    if (schema_.name.isEmpty() || schema_.fields.isEmpty())
        throw notOurs();
    validateSchema(schema_, path_);
    // The description must match the table itself: a field it names that the
    // table lacks would fail at the first read, in the middle of someone's work.
    QStringList columns;
    QStringList declared;
    {
        Statement s = prepare(QStringLiteral("SELECT name, type FROM pragma_table_info(%1)").arg(
            u'\'' + QString(schema_.name).replace(u'\'', QStringLiteral("''")) + u'\''));
        while (s.step()) {
            columns << s.column(0).toString();
            declared << s.column(1).toString().toUpper();
        }
    }
    if (columns.isEmpty())
        throw TableError(QStringLiteral("%1 does not hold its table %2").arg(path_, schema_.name), path_);
    affinities_.clear();
    for (const FieldDef &f : std::as_const(schema_.fields)) {
        qsizetype c = columns.size() - 1;
        while (c >= 0 && columns[c].compare(f.name, Qt::CaseInsensitive) != 0)
            --c;
        if (c < 0)
            throw TableError(QStringLiteral("%1 lacks the column of its field %2").arg(path_, f.name), path_);
        affinities_.append(affinityOf(declared[c]));
    }
    // Anything else in the schema (a CHECK, a DEFAULT expression, a generated
    // column, an index on an expression or on some rows only, a unique index,
    // a table of its own) is SQL of the file's maker that would run on every
    // post, or refuse it. A plain index on the table's columns runs nothing.
    {
        Statement s = prepare(QStringLiteral("SELECT type, name, sql FROM sqlite_master"));
        while (s.step()) {
            const QString type = s.column(0).toString(), name = s.column(1).toString();
            if (!isOwnDefinition(schema_, type, name, s.column(2).toString()) &&
                !(type == QLatin1String("index") && isPlainIndex(*this, schema_.name, name)))
                throw notOurs();
        }
    }
    // The table itself must be readable.
    Statement s = prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE rowid < 0").arg(quotedTable()));
    s.step();
}

} // namespace Db
