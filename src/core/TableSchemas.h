#pragma once
// Layouts of the program's tables, declared once: the data module opens them,
// the installer and the rebuild's templates are created from them.

#include "platform/table/Schema.h"

namespace TableSchemas {

// The log "Tarnel": one row per contact.
Db::TableSchema log();
// Prefix tables in Base/.
Db::TableSchema allpref();
Db::TableSchema prefix();
// Award tables in Awrds/.
Db::TableSchema dxcc();
Db::TableSchema ur();
Db::TableSchema waz();
// Recordings in Sound/Table/.
Db::TableSchema sound();
Db::TableSchema rez();
// Picture store "Pict.db" in Sound/Table/.
Db::TableSchema pict();
// Local callbooks in Base/: "CBook" and the two of "Cbook2.DB"/"Cbook3.DB".
Db::TableSchema cbook();
Db::TableSchema cbookQrz(const QString &name);
// External base of correspondents "cs".
Db::TableSchema cs();

// The 55 mark cells of an award row, in field order: for each band 1.8 to 50
// and the satellite band, the band cell and its CW, SSB, RTTY and Other cells.
// `Waz` spells the mode suffixes in capitals.
QStringList awardCells(bool capitalModes);

} // namespace TableSchemas
