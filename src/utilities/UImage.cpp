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

bool TFImage::hasPictureOf(const QString &callsign) const
{
    // No picture table yet (see showPictureOf).
    Q_UNUSED(callsign);
    return false;
}
