#pragma once
// The shared progress window of long walks over a table: the import, the
// exports, the awards rebuild, merge and filter show it while they run.

#include "platform/ui/Window.h"

class QProgressBar;

class TProgress : public Ui::Window {
    Q_OBJECT
public:
    TProgress();

    QProgressBar *PrBar;
};

extern TProgress *Progress;
