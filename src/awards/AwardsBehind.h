#pragma once
// A mark beside a log that the award tables may lag behind it. A walk that
// commits contacts to the log and then marks them in the award tables writes
// it, synced, before the log's commit and removes it once the award tables
// have committed: a program killed in between leaves it, and the next start
// rebuilds the awards from that log before the operator works. A single save
// needs none: its two commits are milliseconds apart.

#include <QString>

namespace AwardsBehind {

// The mark's file, in the directory of the log table file `logPath`.
QString markPath(const QString &logPath);
bool isMarked(const QString &logPath);
void clear(const QString &logPath) noexcept;

class Walk {
public:
    enum class Marks : quint8 {
        Contacts, // marks the contacts the walk stored
        WholeLog  // marks every contact of the log: a lag before it is made up
    };
    // Writes the mark and syncs it; a mark that cannot be written throws, and
    // the walk must not begin.
    Walk(const QString &logPath, Marks marks);
    // Without `logCommitted` the log is as before: a mark of this walk goes.
    ~Walk();
    Walk(const Walk &) = delete;
    Walk &operator=(const Walk &) = delete;
    void logCommitted() { logAhead_ = true; }
    void awardsCommitted();

private:
    QString logPath_;
    Marks marks_;
    bool markedBefore_ = false;
    bool logAhead_ = false;
};

} // namespace AwardsBehind
