#include "utilities/UImage.h"

TFImage *FImage = nullptr;

TFImage::TFImage() : Ui::Window(QStringLiteral("FImage"), QStringLiteral("Images")) {}

bool TFImage::showPictureOf(const QString &callsign)
{
    // The picture table comes with the picture store; until then no row
    // belongs to any callsign.
    Q_UNUSED(callsign);
    closeWindow();
    return false;
}
