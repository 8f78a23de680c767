#include "platform/table/TableError.h"

namespace Db {

TableError::TableError(const QString &message, const QString &file)
    : std::runtime_error(message.toStdString()), message_(message), file_(file)
{
}

} // namespace Db
