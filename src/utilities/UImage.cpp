#include "utilities/UImage.h"

TFImage *FImage = nullptr;

TFImage::TFImage() : Ui::Window(QStringLiteral("FImage"), QStringLiteral("Images")) {}
