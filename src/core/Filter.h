#pragma once
// Log filter window.

#include "platform/ui/Window.h"

class TFilter : public Ui::Window {
    Q_OBJECT
public:
    TFilter();
};

extern TFilter *Filter;
