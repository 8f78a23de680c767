#include "core/Form1.h"

TForm1 *Form1 = nullptr;

TForm1::TForm1() : Ui::Window(QStringLiteral("Form1"), QStringLiteral("Form1")) {}
