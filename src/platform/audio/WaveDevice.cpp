#include "platform/audio/WaveDevice.h"

#include <QApplication>
#include <QFileInfo>
#include <QtEndian>

namespace Audio {

namespace {

WaveDevice *&installed()
{
    static WaveDevice *device = nullptr;
    return device;
}

void systemBeep()
{
    QApplication::beep();
}

Beep &currentBeep()
{
    static Beep beep = systemBeep;
    return beep;
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

Beep setBeep(Beep beep)
{
    return std::exchange(currentBeep(), beep ? std::move(beep) : Beep(systemBeep));
}

bool playSound(const QString &path)
{
    const bool missing = !QFileInfo(path).isFile();
    const bool failed = !missing && !waveDevice().playToEnd(path);
    if (missing || failed)
        currentBeep()();
    return !failed;
}

QByteArray pcm16Wave(int rate, int channels, const QByteArray &samples)
{
    QByteArray wave;
    const auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wave.append(b, 4);
    };
    const auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wave.append(b, 2);
    };
    wave += "RIFF";
    u32(36 + samples.size());
    wave += "WAVEfmt ";
    u32(16);
    u16(1); // PCM
    u16(quint16(channels));
    u32(quint32(rate));
    u32(quint32(rate * channels * 2));
    u16(quint16(channels * 2));
    u16(16);
    wave += "data";
    u32(samples.size());
    wave += samples;
    return wave;
}

} // namespace Audio
