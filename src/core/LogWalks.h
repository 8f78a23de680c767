#pragma once
// Walks over a whole log: the filter marks, a merge of another log, the
// clearing of what the main cursor shows. Each runs in one transaction on the
// log it writes, so a failure leaves that log as it was.

#include "core/LogFilter.h"

#include <functional>

namespace Db {
class Table;
}

namespace LogWalks {

// Called once per row walked.
using Tick = std::function<void()>;

// Sets "Log1" of every row `log` shows to "1" (passes) or "0", from its first
// row; the cursor ends after the last row.
void markFilter(Db::Table &log, const LogFilter::Criteria &criteria, const Tick &tick);

// Appends every contact of `source` to `target` with new numbers, every other
// field copied as stored; no duplicate test, no award marks. Returns the
// number appended. `source` is left unchanged.
int appendLog(Db::Table &source, Db::Table &target, const Tick &tick);

// Deletes every row `log` shows (its range only); the cursor then stands on
// the last row left.
void deleteShown(Db::Table &log, const Tick &tick);

} // namespace LogWalks
