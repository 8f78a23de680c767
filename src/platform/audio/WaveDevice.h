#pragma once
// The wave audio device the recorder and the alarms use: open a wave file,
// record into it, play, stop, close. Tests put a fake in place.

#include <QString>

namespace Audio {

class WaveDevice {
public:
    virtual ~WaveDevice() = default;
    virtual void close() {}
    virtual void record(const QString &path) { (void)path; }
    virtual void stop() {}
};

WaveDevice &waveDevice();
// Puts `replacement` in place (nullptr restores the default); returns the previous one.
WaveDevice *setWaveDevice(WaveDevice *replacement);

} // namespace Audio
