#pragma once
// Picture store.

#include "platform/ui/Window.h"

class TFImage : public Ui::Window {
    Q_OBJECT
public:
    TFImage();
};

extern TFImage *FImage;
