#pragma once
// The shared progress window of long walks over a table: the import, the
// exports, the awards rebuild, merge and clear show it while they run.

#include "platform/ui/Window.h"

#include <QElapsedTimer>

class QProgressBar;

class TProgress : public Ui::Window {
    Q_OBJECT
public:
    TProgress();

    QProgressBar *PrBar;
};

extern TProgress *Progress;

// One walk shown in the progress window. From start() on, the log grid is
// detached and the bar shown; leaving the scope, an error included, attaches
// the grid, sets the bar to 0, closes the window and gives it back its
// caption "Progress".
class ProgressWalk {
public:
    ProgressWalk() = default;
    ~ProgressWalk();
    ProgressWalk(const ProgressWalk &) = delete;
    ProgressWalk &operator=(const ProgressWalk &) = delete;

    // A cycling bar goes round from 1 to 498 and never fills (the walk's
    // length is not known).
    void start(int maximum, bool cycling = false);
    // For a walk whose length is known only once the grid is detached.
    void setMaximum(int maximum);
    // One more row; the bar and `caption` are repainted at most every 50 ms,
    // as a repaint per row would cost more than the walk itself.
    void step(const QString &caption = {});

private:
    bool started_ = false;
    bool cycling_ = false;
    int position_ = 0;
    QElapsedTimer clock_;
};
