// The simulated unit behind the serial port interface, in the same process: programmer tests run
// against it fast and deterministically, on a virtual clock by default.
#pragma once

#include "programmer/clock.h"
#include "programmer/serialport.h"
#include "sim/unit.h"

namespace isp::sim {

class TSimSerialPort final : public TSerialPort {
public:
    // The port answers to the given path only (any path when empty).
    TSimSerialPort(TProgrammerUnit& unit, TClock& clock, std::string path = {});

    bool Open(const std::string& path) override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    std::string ErrorText() const override { return error_; }
    void SetReceiveBufferSize(int /*bytes*/) override {}
    void SetDtr(bool on) override { dtr_ = on; }
    void PurgeReceive() override;
    void PurgeTransmit() override;
    std::size_t ReceivedCount() override;
    std::size_t UnsentCount() override;
    std::size_t WaitForReceived(std::size_t count, std::int64_t timeoutNs) override;
    void WriteBlock(const std::uint8_t* data, std::size_t size) override;
    void WriteByte(std::uint8_t value) override;
    std::size_t Read(std::uint8_t* out, std::size_t size) override;

    bool Dtr() const { return dtr_; }

private:
    void RequireOpen() const;

    TProgrammerUnit& unit_;
    TClock& clock_;
    std::string path_;
    bool open_ = false;
    bool dtr_ = false;
    std::string error_;
};

} // namespace isp::sim
