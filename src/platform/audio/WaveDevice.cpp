#include "platform/audio/WaveDevice.h"

namespace Audio {

namespace {
WaveDevice *&installed()
{
    static WaveDevice *device = nullptr;
    return device;
}
} // namespace

WaveDevice &waveDevice()
{
    // Without a sound card the recorder records nothing and reports nothing.
    static WaveDevice silent;
    return installed() ? *installed() : silent;
}

WaveDevice *setWaveDevice(WaveDevice *replacement)
{
    WaveDevice *previous = installed();
    installed() = replacement;
    return previous;
}

} // namespace Audio
