#include "core/GlavnMod.h"
#include "core/Unit3.h"
#include "platform/shell/TerminationSignals.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Only closing the main window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    createWindowSet();
    Shell::onTerminationSignals([] { Form3->close(); });
    Form3->showWindow();
    const int result = QApplication::exec();
    destroyWindowSet();
    return result;
}
