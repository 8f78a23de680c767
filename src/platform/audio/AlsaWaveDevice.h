#pragma once
// The sound card through ALSA, wave files through libsndfile. Recording and
// playing run on a worker thread so the windows stay responsive; the
// recorder's own clock ends a recording, and a cap on its frames bounds it
// where the device has no clock (ALSA's "null" device).

#include "platform/audio/WaveDevice.h"

#include <memory>

namespace Audio {

class AlsaWaveDevice : public WaveDevice {
public:
    // `device` as ALSA names it ("default", "null", "hw:1").
    explicit AlsaWaveDevice(const QString &device, int maxRecordSeconds = 300);
    ~AlsaWaveDevice() override;
    AlsaWaveDevice(const AlsaWaveDevice &) = delete;
    AlsaWaveDevice &operator=(const AlsaWaveDevice &) = delete;

    // TARNEL_SOUND_DEVICE, else "default".
    static QString deviceFromEnvironment();

    bool open(const QString &path) override;
    bool record() override;
    bool save() override;
    bool play() override;
    void stop() override;
    void seek(qint64 milliseconds) override;
    qint64 position() const override;
    qint64 length() const override;
    void close() override;
    bool playToEnd(const QString &path) override;
    QString errorText() const override;

    // Frames recorded so far, or played.
    qint64 frames() const;

private:
    struct State;
    std::unique_ptr<State> d_;
};

} // namespace Audio
