#include "core/GlavnMod.h"
#include "core/Unit3.h"
#include "platform/audio/AlsaWaveDevice.h"
#include "platform/shell/TerminationSignals.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Only closing the main window ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    Audio::AlsaWaveDevice sound(Audio::AlsaWaveDevice::deviceFromEnvironment());
    Audio::setWaveDevice(&sound);
    createWindowSet();
    Shell::onTerminationSignals([] { Form3->close(); });
    Form3->showWindow();
    const int result = QApplication::exec();
    destroyWindowSet();
    Audio::setWaveDevice(nullptr);
    return result;
}
