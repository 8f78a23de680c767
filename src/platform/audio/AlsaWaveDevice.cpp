#include "platform/audio/AlsaWaveDevice.h"

#include <QFileInfo>
#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace Audio {

namespace {

// The recording format when the file to record into gives none.
constexpr int defaultRate = 11025;
constexpr int defaultChannels = 1;
constexpr unsigned latencyMicroseconds = 200000;
constexpr int waitMilliseconds = 100;

thread_local char alsaMessage[256];

// ALSA prints its errors on stderr unless told otherwise; keep the last one
// for the operator's message instead.
void keepAlsaError(const char *file, int line, const char *function, int err, const char *format, ...)
{
    (void)file;
    (void)line;
    (void)function;
    (void)err;
    va_list args;
    va_start(args, format);
    std::vsnprintf(alsaMessage, sizeof alsaMessage, format, args);
    va_end(args);
}

struct Wave {
    int rate = defaultRate;
    int channels = defaultChannels;
    std::vector<qint16> samples; // interleaved
};

bool readWave(const QString &path, Wave &wave, QString &error)
{
    SF_INFO info{};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file) {
        error = QStringLiteral("Cannot read %1: %2").arg(path, QString::fromLocal8Bit(sf_strerror(nullptr)));
        return false;
    }
    wave.rate = info.samplerate;
    wave.channels = info.channels;
    wave.samples.assign(std::size_t(info.frames * info.channels), 0);
    const sf_count_t read = sf_readf_short(file, wave.samples.data(), info.frames);
    wave.samples.resize(std::size_t(std::max<sf_count_t>(read, 0) * info.channels));
    sf_close(file);
    return true;
}

} // namespace

struct AlsaWaveDevice::State {
    QString device;
    int maxRecordSeconds;
    QString path;
    Wave wave;
    mutable std::mutex samplesLock; // the worker appends while recording
    std::atomic<qint64> frame{0};   // frames recorded, or the play position
    std::atomic<bool> stopping{false};
    std::thread worker;
    bool recording = false; // the worker captures, rather than plays
    snd_pcm_t *pcm = nullptr;
    QString error;

    qint64 totalFrames() const
    {
        std::lock_guard<std::mutex> lock(samplesLock);
        return qint64(wave.samples.size()) / wave.channels;
    }

    snd_pcm_t *openPcm(snd_pcm_stream_t stream, int rate, int channels)
    {
        alsaMessage[0] = '\0';
        snd_pcm_t *handle = nullptr;
        int err = snd_pcm_open(&handle, device.toLocal8Bit().constData(), stream, 0);
        if (err >= 0) {
            err = snd_pcm_set_params(handle, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, unsigned(channels),
                                     unsigned(rate), 1, latencyMicroseconds);
            if (err < 0) {
                snd_pcm_close(handle);
                handle = nullptr;
            }
        }
        if (!handle)
            error = QStringLiteral("Cannot open the sound device %1: %2")
                        .arg(device, QString::fromLocal8Bit(alsaMessage[0] ? alsaMessage : snd_strerror(err)));
        return handle;
    }

    void halt()
    {
        stopping = true;
        if (worker.joinable())
            worker.join();
        stopping = false;
        recording = false;
        if (pcm) {
            snd_pcm_drop(pcm);
            snd_pcm_close(pcm);
            pcm = nullptr;
        }
    }
};

AlsaWaveDevice::AlsaWaveDevice(const QString &device, int maxRecordSeconds) : d_(std::make_unique<State>())
{
    static std::once_flag handler;
    std::call_once(handler, [] { snd_lib_error_set_handler(keepAlsaError); });
    d_->device = device;
    d_->maxRecordSeconds = maxRecordSeconds;
}

AlsaWaveDevice::~AlsaWaveDevice()
{
    close();
}

QString AlsaWaveDevice::deviceFromEnvironment()
{
    const QString name = qEnvironmentVariable("TARNEL_SOUND_DEVICE");
    return name.isEmpty() ? QStringLiteral("default") : name;
}

bool AlsaWaveDevice::open(const QString &path)
{
    close();
    Wave wave;
    if (QFileInfo::exists(path) && !readWave(path, wave, d_->error))
        return false;
    std::lock_guard<std::mutex> lock(d_->samplesLock);
    d_->wave = std::move(wave);
    d_->path = path;
    return true;
}

bool AlsaWaveDevice::record()
{
    d_->halt();
    {
        std::lock_guard<std::mutex> lock(d_->samplesLock);
        d_->wave.samples.clear();
    }
    d_->frame = 0;
    const int rate = d_->wave.rate;
    const int channels = d_->wave.channels;
    d_->pcm = d_->openPcm(SND_PCM_STREAM_CAPTURE, rate, channels);
    if (!d_->pcm)
        return false;
    // A prepared capture stream never reports ready to the wait below: it
    // runs only once started.
    if (const int err = snd_pcm_start(d_->pcm); err < 0) {
        d_->error = QStringLiteral("Cannot open the sound device %1: %2")
                        .arg(d_->device, QString::fromLocal8Bit(snd_strerror(err)));
        d_->halt();
        return false;
    }
    d_->recording = true;
    const qint64 limit = qint64(d_->maxRecordSeconds) * rate;
    d_->worker = std::thread([state = d_.get(), rate, channels, limit] {
        const qint64 period = std::max(rate / 20, 1);
        std::vector<qint16> chunk(std::size_t(period * channels));
        while (!state->stopping && state->frame < limit) {
            // A stalled device must not hold up the stop.
            if (snd_pcm_wait(state->pcm, waitMilliseconds) == 0)
                continue;
            const qint64 wanted = std::min(period, limit - state->frame);
            snd_pcm_sframes_t got = snd_pcm_readi(state->pcm, chunk.data(), snd_pcm_uframes_t(wanted));
            if (got < 0) {
                // Recovering leaves the stream prepared, not running.
                if (snd_pcm_recover(state->pcm, int(got), 1) < 0 || snd_pcm_start(state->pcm) < 0)
                    break;
                continue;
            }
            std::lock_guard<std::mutex> lock(state->samplesLock);
            state->wave.samples.insert(state->wave.samples.end(), chunk.begin(), chunk.begin() + got * channels);
            state->frame += got;
        }
    });
    return true;
}

bool AlsaWaveDevice::save()
{
    d_->halt();
    std::lock_guard<std::mutex> lock(d_->samplesLock);
    const Wave &wave = d_->wave;
    SF_INFO info{};
    info.samplerate = wave.rate;
    info.channels = wave.channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    // Written beside the target and renamed into place: a failed write
    // leaves no half file under the target's name.
    const QByteArray target = QFile::encodeName(d_->path);
    const QByteArray temporary = target + ".new";
    SNDFILE *file = sf_open(temporary.constData(), SFM_WRITE, &info);
    if (!file) {
        d_->error = QStringLiteral("Cannot write %1: %2").arg(d_->path, QString::fromLocal8Bit(sf_strerror(nullptr)));
        return false;
    }
    const sf_count_t frames = sf_count_t(wave.samples.size()) / wave.channels;
    bool written = sf_writef_short(file, wave.samples.data(), frames) == frames;
    written = sf_close(file) == 0 && written;
    if (written && std::rename(temporary.constData(), target.constData()) == 0)
        return true;
    std::remove(temporary.constData());
    d_->error = QStringLiteral("Cannot write %1").arg(d_->path);
    return false;
}

bool AlsaWaveDevice::play()
{
    d_->halt();
    const qint64 total = d_->totalFrames();
    if (d_->frame >= total)
        return true;
    d_->pcm = d_->openPcm(SND_PCM_STREAM_PLAYBACK, d_->wave.rate, d_->wave.channels);
    if (!d_->pcm)
        return false;
    d_->worker = std::thread([state = d_.get(), total] {
        const int channels = state->wave.channels;
        const qint64 period = std::max(state->wave.rate / 20, 1);
        while (!state->stopping && state->frame < total) {
            if (snd_pcm_wait(state->pcm, waitMilliseconds) == 0)
                continue;
            const qint64 at = state->frame;
            const qint64 count = std::min(period, total - at);
            snd_pcm_sframes_t put =
                snd_pcm_writei(state->pcm, state->wave.samples.data() + at * channels, snd_pcm_uframes_t(count));
            if (put < 0) {
                if (snd_pcm_recover(state->pcm, int(put), 1) < 0)
                    break;
                continue;
            }
            state->frame += put;
        }
        if (!state->stopping)
            snd_pcm_drain(state->pcm);
    });
    return true;
}

void AlsaWaveDevice::stop()
{
    d_->halt();
}

void AlsaWaveDevice::seek(qint64 milliseconds)
{
    d_->halt();
    const qint64 frame = milliseconds * d_->wave.rate / 1000;
    d_->frame = std::clamp<qint64>(frame, 0, d_->totalFrames());
}

qint64 AlsaWaveDevice::position() const
{
    return d_->frame * 1000 / d_->wave.rate;
}

qint64 AlsaWaveDevice::length() const
{
    return d_->totalFrames() * 1000 / d_->wave.rate;
}

void AlsaWaveDevice::close()
{
    d_->halt();
    std::lock_guard<std::mutex> lock(d_->samplesLock);
    d_->wave = Wave();
    d_->path.clear();
    d_->frame = 0;
}

bool AlsaWaveDevice::playToEnd(const QString &path)
{
    // A recording runs on its own handle and goes on; the player's own
    // playback gives way.
    if (!d_->recording)
        d_->halt();
    Wave wave;
    if (!readWave(path, wave, d_->error))
        return false;
    snd_pcm_t *pcm = d_->openPcm(SND_PCM_STREAM_PLAYBACK, wave.rate, wave.channels);
    if (!pcm)
        return false;
    const qint64 total = qint64(wave.samples.size()) / wave.channels;
    qint64 at = 0;
    while (at < total) {
        snd_pcm_sframes_t put =
            snd_pcm_writei(pcm, wave.samples.data() + at * wave.channels, snd_pcm_uframes_t(total - at));
        if (put < 0) {
            if (snd_pcm_recover(pcm, int(put), 1) < 0)
                break;
            continue;
        }
        at += put;
    }
    snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
    return at == total;
}

QString AlsaWaveDevice::errorText() const
{
    return d_->error;
}

qint64 AlsaWaveDevice::frames() const
{
    return d_->frame;
}

} // namespace Audio
