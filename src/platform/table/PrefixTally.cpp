#include "platform/table/PrefixTally.h"

#include <algorithm>

namespace Db {

void PrefixTally::clear()
{
    all_ = 0;
    counts_.clear();
    for (int k = 0; k < depth; ++k) {
        run_[k].clear();
        runRows_[k] = 0;
    }
}

void PrefixTally::add(QStringView text, int rows)
{
    all_ += rows;
    const int levels = int(std::min<qsizetype>(text.size(), depth));
    for (int k = 1; k <= levels; ++k) {
        const QString key = text.left(k).toString();
        int &n = counts_[key];
        n += rows;
        if (n == 0)
            counts_.remove(key);
    }
}

void PrefixTally::addSorted(QStringView text, int rows)
{
    all_ += rows;
    for (int k = 1; k <= depth; ++k) {
        QString &run = run_[k - 1];
        if (text.size() < k) {
            // A text shorter than the level ends no run: the runs of one
            // leading text never hold a shorter text between their rows.
            continue;
        }
        if (runRows_[k - 1] != 0 && QStringView(run) == text.left(k)) {
            runRows_[k - 1] += rows;
            continue;
        }
        if (runRows_[k - 1] != 0)
            counts_[run] += runRows_[k - 1];
        run = text.left(k).toString();
        runRows_[k - 1] = rows;
    }
}

void PrefixTally::endSorted()
{
    for (int k = 0; k < depth; ++k) {
        if (runRows_[k] != 0)
            counts_[run_[k]] += runRows_[k];
        run_[k].clear();
        runRows_[k] = 0;
    }
}

int PrefixTally::rowsBeginningWith(QStringView prefix) const
{
    if (prefix.isEmpty())
        return all_;
    return counts_.value(prefix.toString(), 0);
}

} // namespace Db
