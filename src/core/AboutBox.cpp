#include "core/AboutBox.h"

TAboutBox *AboutBox = nullptr;

TAboutBox::TAboutBox() : Ui::Window(QStringLiteral("AboutBox"), QStringLiteral("About")) {}
