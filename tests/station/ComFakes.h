#pragma once
// A serial device that writes down what is done to its lines, for the modem
// lines a pseudo-terminal does not have.

#include "station/CPort.h"

#include <QStringList>
#include <mutex>

struct FakeComState {
    std::mutex mutex; // the event thread reads the lines too
    QStringList calls;
    QStringList paths;
    int lines = 0;
    int failModem = 0; // errno for the next line changes
    int failOpen = 0;
    int waitingBytes = 0; // what the input queue holds

    void log(const QString &call)
    {
        std::lock_guard lock(mutex);
        calls << call;
    }
    QStringList takeCalls()
    {
        std::lock_guard lock(mutex);
        return std::exchange(calls, {});
    }
};

class FakeComDevice : public ComDevice {
public:
    explicit FakeComDevice(FakeComState &state) : state_(state) {}
    ~FakeComDevice() override { state_.log(QStringLiteral("close")); }
    int fd() const override { return -1; }
    int configure(const ComLineSettings &) override
    {
        state_.log(QStringLiteral("configure"));
        return 0;
    }
    int setModemLines(int raise, int lower) override
    {
        std::lock_guard lock(state_.mutex);
        if (state_.failModem)
            return state_.failModem;
        auto names = [](int bits) {
            QStringList n;
            if (bits & mlDTR)
                n << QStringLiteral("DTR");
            if (bits & mlRTS)
                n << QStringLiteral("RTS");
            return n.join(u' ');
        };
        if (lower)
            state_.calls << QStringLiteral("lower ") + names(lower);
        if (raise)
            state_.calls << QStringLiteral("raise ") + names(raise);
        state_.lines = (state_.lines & ~lower) | raise;
        return 0;
    }
    int modemLines(int &lines) override
    {
        std::lock_guard lock(state_.mutex);
        lines = state_.lines;
        return 0;
    }
    int waiting(int &count) override
    {
        std::lock_guard lock(state_.mutex);
        count = state_.waitingBytes;
        return 0;
    }
    int read(char *, int, int &got) override
    {
        got = 0;
        return 0;
    }
    int purge() override { return 0; }

private:
    FakeComState &state_;
};

// Puts the fake in place of the termios devices while it lives.
class FakeComPorts {
public:
    FakeComPorts()
    {
        previous_ = setComOpener([this](const QString &path, int &error) -> std::unique_ptr<ComDevice> {
            state.paths << path;
            if (state.failOpen) {
                error = state.failOpen;
                return nullptr;
            }
            return std::make_unique<FakeComDevice>(state);
        });
    }
    ~FakeComPorts() { setComOpener(previous_); }
    FakeComPorts(const FakeComPorts &) = delete;
    FakeComPorts &operator=(const FakeComPorts &) = delete;
    FakeComState state;

private:
    ComOpener previous_;
};
