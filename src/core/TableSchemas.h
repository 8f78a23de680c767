#pragma once
// Layouts of the program's tables, declared once: the data module opens them,
// the installer and the rebuild's templates are created from them.

#include "platform/table/Schema.h"

namespace TableSchemas {

// The log "Tarnel": one row per contact.
Db::TableSchema log();

} // namespace TableSchemas
