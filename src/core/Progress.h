#pragma once
// The shared progress window of long walks over a table.

#include "platform/ui/Window.h"

class TProgress : public Ui::Window {
    Q_OBJECT
public:
    TProgress();
};

extern TProgress *Progress;
