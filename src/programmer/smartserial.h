// The USB programmer: the command layer over a serial port, with batching, the unit's wake-up
// and identity check, target preparation and the information report.
#pragma once

#include "programmer/clock.h"
#include "programmer/serialport.h"
#include "programmer/smartparallel.h"

#include <array>
#include <memory>

namespace isp {

// What the USB programmer needs from the machine around it.
class TSerialServices {
public:
    virtual ~TSerialServices() = default;
    virtual std::unique_ptr<TSerialPort> CreatePort() = 0;
    // The COM names of the serial ports present now.
    virtual std::vector<std::string> SerialDeviceNames() = 0;
    // The device to open for a COM name ("" when it is not present).
    virtual std::string DevicePath(const std::string& comName) = 0;
    virtual TClock& Clock() = 0;
    // A warning box with an OK button.
    virtual void Warn(const std::string& text) = 0;
    // Shows the information report (the "Information" dialog).
    virtual void ShowReport(const std::vector<std::string>& lines) = 0;
};

class TSmartSerial : public TSmartParallel {
public:
    explicit TSmartSerial(TSerialServices& services);
    ~TSmartSerial() override;

    bool Connect() override;
    void Disconnect() override;
    void ReopenPort() override;
    void ShowStatus(const std::string& softwareVersion) override;
    void QueueByte(std::uint8_t value) override;
    void CollectReplies(std::int32_t count) override;
    void PrepareTarget() override;
    std::uint8_t ReadByte(bool keepAlive) override;
    void WriteByte(std::uint8_t value) override;
    void WriteCommandChar(std::uint8_t value) override;
    bool WaitForReply() override;
    std::int32_t GetOperationTimeLimit() override { return 180000; }
    void WriteBits(std::uint8_t bitCount, const TBytes& bits) override;
    TBytes ReadBytes(std::uint16_t count) override;
    virtual void CreatePort();
    virtual void FreePort();

    // Acknowledge poll of deviceAddressByte, up to ten attempts (hex form: "N", raw: "n").
    bool AckPoll(bool hexForm);
    // The 24C device address byte for the bus number; warns when the pins cannot hold it.
    std::uint8_t ComputeI2cAddress();
    // Writes the transfer buffer in one write, collects one reply per command, empties it.
    void FlushBatch(std::int32_t replies);
    // The information report's lines.
    std::vector<std::string> InformationReport();
    // "COM" + (portIndex + 1).
    std::string PortName() const;

    static constexpr std::size_t kTransferSize = 10000;

    std::unique_ptr<TSerialPort> port;
    std::array<std::uint8_t, kTransferSize + 1> transferBuffer{};
    std::int32_t transferLength = 0;
    std::uint8_t deviceAddressByte = 0;

protected:
    TSerialServices& services_;

private:
    // Opens the port at 115200 8N1, pulses DTR, purges.
    bool OpenAndReset(const std::string& devicePath);
    TSerialPort& Port();

    std::string devicePath_;
};

} // namespace isp
