#pragma once
// Byte access to the parallel ports' data and status registers for the
// keyer. LPT 1 (registers 0x378/0x379) and LPT 2 (0x278/0x279) are the
// kernel's parallel-port devices /dev/parport0 and /dev/parport1 by index
// (TARNEL_LPT1/TARNEL_LPT2 override them); a device is opened and claimed at
// its first access and kept until released, as the claim blocks a printer.
// Nothing raises: a failure leaves last-OK false and the error number.

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <memory>

// One claimed parallel port.
class ParallelDevice {
public:
    virtual ~ParallelDevice() = default;
    // 0 or an errno value.
    virtual int readStatus(unsigned char &value) = 0;
    virtual int readData(unsigned char &value) = 0;
    virtual int writeData(unsigned char value) = 0;
};

// Opens and claims the device at `path`; nullptr with `error` set on failure.
using ParallelOpener = std::function<std::unique_ptr<ParallelDevice>(const QString &path, int &error)>;
// The opener in use (ppdev unless a test put a fake in place); returns the previous one.
ParallelOpener setParallelOpener(ParallelOpener opener);
// The device of LPT `number` (1 or 2).
QString parallelDevicePath(int number);

class TSmallPort : public QObject {
    Q_OBJECT
public:
    static constexpr int closedError = 6; // a read or write with the component closed

    explicit TSmallPort(QObject *owner = nullptr);
    ~TSmallPort() override;

    bool Opened() const { return opened_; }
    void setOpened(bool opened);

    unsigned char ReadPort(unsigned short port);
    void WritePort(unsigned short port, unsigned char value);

    bool LastOK() const { return lastOk_; }
    int LastError() const { return lastError_; }

    // Lets go of LPT `number` (1 or 2) so other programs can use it.
    void Release(int number);

private:
    ParallelDevice *device(unsigned short port, bool &status);
    bool opened_ = false;
    bool lastOk_ = false;
    int lastError_ = 0;
    std::array<std::unique_ptr<ParallelDevice>, 2> devices_;
};
