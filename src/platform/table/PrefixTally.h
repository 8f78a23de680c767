#pragma once
// Rows per leading text of one text field, for leading texts of up to `depth`
// characters, kept in memory: counting the rows that begin with a short text
// then walks no index, however many rows it holds. Internal to the engine.

#include <QHash>
#include <QString>
#include <QStringView>

namespace Db {

class PrefixTally {
public:
    static constexpr int depth = 4;

    void clear();
    // `rows` more rows (fewer when negative) hold `text`.
    void add(QStringView text, int rows);
    // For many texts in ascending order, as an index gives them: equal
    // leading texts come in runs, so most rows touch no hash. Any order
    // counts right; ascending is only faster.
    void addSorted(QStringView text, int rows);
    void endSorted();
    // Rows whose text begins with `prefix`; at most `depth` characters.
    int rowsBeginningWith(QStringView prefix) const;

private:
    int all_ = 0;
    QHash<QString, int> counts_;
    QString run_[depth];
    int runRows_[depth] = {};
};

} // namespace Db
