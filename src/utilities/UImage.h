#pragma once
// Picture store.

#include "platform/ui/Window.h"

class TFImage : public Ui::Window {
    Q_OBJECT
public:
    TFImage();

    // Shows the picture of `callsign` when the picture table has a row for
    // it, else closes the window; true when a row matched.
    bool showPictureOf(const QString &callsign);
    // Whether the picture table has a row for `callsign`.
    bool hasPictureOf(const QString &callsign) const;
};

extern TFImage *FImage;
