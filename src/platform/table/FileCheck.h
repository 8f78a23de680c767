#pragma once
// A check of a whole table file for damaged pages, on a read connection of
// its own in a thread of its own: at a million contacts it reads the whole
// file, which the window must never wait for. It changes nothing in the file.

#include "platform/table/TableError.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

namespace Db {

// The check itself, on the calling thread: nothing when the file is sound
// (or the check could not read it, or `stop` was set), else the error that
// names the damaged file.
std::optional<TableError> checkFile(const QString &path, const std::atomic<bool> *stop = nullptr);

class FileCheck {
public:
    // Called on the thread that made the check (the window's), only for a
    // damaged file.
    using Report = std::function<void(const TableError &)>;
    explicit FileCheck(Report report);
    ~FileCheck(); // stops a check under way and waits for it
    FileCheck(const FileCheck &) = delete;
    FileCheck &operator=(const FileCheck &) = delete;
    // A check under way is stopped first: only the latest file counts.
    void start(const QString &path);
    void stop();

private:
    Report report_;
    std::unique_ptr<QObject> context_; // report calls die with it
    std::shared_ptr<std::atomic<bool>> stop_;
    quint64 generation_ = 0; // read and written on the window's thread only
    std::thread thread_;
};

} // namespace Db
