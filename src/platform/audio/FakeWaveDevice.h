#pragma once
// For tests: a wave device on a virtual clock that advance() moves.
// Recording for n ms and saving writes a wave file n ms long; playing runs
// from the position until the clock passes the file's end. Installs itself
// while it lives.

#include "platform/audio/WaveDevice.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QtEndian>
#include <algorithm>

class FakeWaveDevice : public Audio::WaveDevice {
public:
    static constexpr int rate = 8000;

    FakeWaveDevice() : previous_(Audio::setWaveDevice(this)) {}
    ~FakeWaveDevice() override { Audio::setWaveDevice(previous_); }
    FakeWaveDevice(const FakeWaveDevice &) = delete;
    FakeWaveDevice &operator=(const FakeWaveDevice &) = delete;

    void advance(qint64 ms) { clock_ += ms; }

    bool open(const QString &path) override
    {
        close();
        path_ = path;
        length_ = 0;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray head = file.read(44);
            if (head.size() == 44 && head.startsWith("RIFF"))
                length_ = qint64(qFromLittleEndian<quint32>(head.constData() + 40)) * 1000 /
                          qFromLittleEndian<quint32>(head.constData() + 28);
        }
        return true;
    }
    bool record() override
    {
        if (failing)
            return false;
        events << QStringLiteral("record");
        recording_ = true;
        started_ = clock_;
        return true;
    }
    bool save() override
    {
        stop();
        events << QStringLiteral("save");
        if (failingSave)
            return false;
        QFile file(path_);
        return file.open(QIODevice::WriteOnly) &&
               file.write(Audio::pcm16Wave(rate, 1, QByteArray(int(length_ * rate / 1000 * 2), '\0'))) >= 0;
    }
    bool play() override
    {
        if (failing)
            return false;
        events << QStringLiteral("play");
        playing_ = true;
        started_ = clock_;
        return true;
    }
    void stop() override
    {
        if (recording_)
            length_ = clock_ - started_;
        if (playing_)
            position_ = position();
        recording_ = playing_ = false;
    }
    void seek(qint64 ms) override
    {
        stop();
        position_ = std::clamp<qint64>(ms, 0, length_);
    }
    qint64 position() const override
    {
        if (recording_)
            return clock_ - started_;
        if (playing_)
            return std::min(position_ + clock_ - started_, length_);
        return position_;
    }
    qint64 length() const override { return recording_ ? clock_ - started_ : length_; }
    void close() override
    {
        recording_ = playing_ = false;
        position_ = length_ = 0;
    }
    bool playToEnd(const QString &path) override
    {
        if (failing)
            return false;
        played << QFileInfo(path).fileName();
        return true;
    }
    QString errorText() const override { return QStringLiteral("Cannot open the sound device fake"); }

    bool failing = false;     // record(), play() and playToEnd() fail: no sound device
    bool failingSave = false; // save() fails and leaves the file as it was
    QStringList events; // record, save, play
    QStringList played; // files played to their end

private:
    Audio::WaveDevice *previous_;
    QString path_;
    qint64 clock_ = 0;
    qint64 started_ = 0;
    qint64 position_ = 0;
    qint64 length_ = 0;
    bool recording_ = false;
    bool playing_ = false;
};
