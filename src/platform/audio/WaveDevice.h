#pragma once
// The wave audio device the recorder, the CQ call and the alarms use: open a
// wave file, record into it and save the recording, play it, stop, seek,
// position and length in milliseconds, close; and playing a file to its end.
// The base class is a silent device that records and plays nothing; the
// program puts the sound card's in place, tests a fake.

#include <QByteArray>
#include <QString>
#include <functional>

namespace Audio {

class WaveDevice {
public:
    virtual ~WaveDevice() = default;
    // Takes `path` as the open file: played by play(), written by save(). A
    // missing file opens empty (a recording creates it); false when the
    // file exists but is no wave file.
    virtual bool open(const QString &path) { (void)path; return true; }
    // Starts recording in the open file's format; false when the sound
    // device cannot be opened (errorText() says why).
    virtual bool record() { return true; }
    // Writes what was recorded into the open file.
    virtual bool save() { return true; }
    // Plays the open file from the position; false when the device fails.
    virtual bool play() { return true; }
    // Ends recording or playing; the position stays.
    virtual void stop() {}
    virtual void seek(qint64 milliseconds) { (void)milliseconds; }
    virtual qint64 position() const { return 0; }
    virtual qint64 length() const { return 0; }
    // Stops and lets go of the file; a recording not saved is dropped.
    virtual void close() {}
    // Plays the wave file `path` and returns when it has ended.
    virtual bool playToEnd(const QString &path) { (void)path; return true; }
    virtual QString errorText() const { return {}; }
};

WaveDevice &waveDevice();
// Puts `replacement` in place (nullptr restores the silent one); returns the
// previous one.
WaveDevice *setWaveDevice(WaveDevice *replacement);

// The sound the system plays when a wave file is missing; tests put another
// in place. An empty one restores the system's.
using Beep = std::function<void()>;
Beep setBeep(Beep beep);

// Plays the wave file `path` to its end; a missing file, or one that cannot
// be played, gives the beep instead. False when the device could not play
// the file (waveDevice().errorText() says why); a missing file is no failure.
bool playSound(const QString &path);

// A RIFF wave file of 16-bit little-endian samples.
QByteArray pcm16Wave(int rate, int channels, const QByteArray &samples);

} // namespace Audio
