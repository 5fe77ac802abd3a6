// The serial port service on QSerialPort, used in blocking mode (the programmer waits with
// time-outs and does not subscribe to port events). Works on USB serial adapters and on
// pseudo-terminals, where setting DTR fails with "Inappropriate ioctl" and is ignored.
#pragma once

#include "programmer/serialport.h"

#include <memory>

class QSerialPort;

namespace isp {

class TQtSerialPort final : public TSerialPort {
public:
    TQtSerialPort();
    ~TQtSerialPort() override;

    bool Open(const std::string& path) override;
    void Close() override;
    bool IsOpen() const override;
    std::string ErrorText() const override;
    void SetReceiveBufferSize(int bytes) override;
    void SetDtr(bool on) override;
    void PurgeReceive() override;
    void PurgeTransmit() override;
    std::size_t ReceivedCount() override;
    std::size_t UnsentCount() override;
    std::size_t WaitForReceived(std::size_t count, std::int64_t timeoutNs) override;
    void WriteBlock(const std::uint8_t* data, std::size_t size) override;
    void WriteByte(std::uint8_t value) override;
    std::size_t Read(std::uint8_t* out, std::size_t size) override;

private:
    void ThrowOnFatalError();

    std::unique_ptr<QSerialPort> port_;
    std::string error_;
};

} // namespace isp
