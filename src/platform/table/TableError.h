#pragma once
// Errors of the table engine. Every message names the file it concerns, so the
// standard error box tells the operator which table is at fault.

#include <QString>
#include <stdexcept>

namespace Db {

class TableError : public std::runtime_error {
public:
    explicit TableError(const QString &message, const QString &file = {});
    QString message() const { return message_; }
    QString file() const { return file_; }

private:
    QString message_;
    QString file_;
};

// A post that would give a unique index a second row with the same key.
class KeyViolation : public TableError {
public:
    using TableError::TableError;
};

} // namespace Db
