// The USB programmer: the command layer over a serial port, with batching, the unit's wake-up
// and identity check, target preparation and the information report.
#pragma once

#include "programmer/clock.h"
#include "programmer/serialport.h"
#include "programmer/smartparallel.h"

#include <array>
#include <functional>
#include <memory>

namespace isp {

class TSmartSerial;

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
    // Runs the programmer options dialog for the programmer (nothing without a user interface).
    virtual void Configure(TSmartSerial& /*programmer*/) {}
};

class TSmartSerial : public TSmartParallel {
public:
    explicit TSmartSerial(TSerialServices& services);
    ~TSmartSerial() override;

    bool Connect() override;
    void Disconnect() override;
    void ReopenPort() override;
    void ShowStatus(const std::string& softwareVersion) override;
    void ConfigureProgrammer() override { services_.Configure(*this); }
    void QueueByte(std::uint8_t value) override;
    void CollectReplies(std::int32_t count) override;
    void PrepareTarget() override;
    std::uint8_t ReadByte(bool keepAlive) override;
    void WriteByte(std::uint8_t value) override;
    void WriteCommandChar(std::uint8_t value) override;
    bool WaitForReply() override;
    std::int32_t GetOperationTimeLimit() override { return 180000; }

    // Memory operations (read and verify, program and erase, options).
    void ReadBlock(std::uint8_t* destination, char command, std::uint32_t address,
                   std::int32_t count) override;
    void ReadDevice(THexList& buffer) override;
    void VerifyDevice(THexList& buffer) override;
    void ProgramDevice(THexList& buffer) override;
    void EraseDevice() override;
    std::uint8_t ReadStatusRegister() override;
    void WriteStatusRegister(std::uint8_t value) override;
    void EraseLocation(THexList& buffer) override;
    bool WriteResetPolarity() override;
    bool WriteInternalRc(bool enable) override;
    std::uint8_t ReadResetPolarity() override;
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

    // Where the verify's mismatch lines go (the status list); the sink may throw, and is then
    // cleared with verifyLogClear and the verify goes on.
    std::function<void(const std::string&)> verifyLog;
    std::function<void()> verifyLogClear;

    std::unique_ptr<TSerialPort> port;
    std::array<std::uint8_t, kTransferSize + 1> transferBuffer{};
    std::int32_t transferLength = 0;
    std::uint8_t deviceAddressByte = 0;

protected:
    TSerialServices& services_;

private:
    void ProgramTwoWire(THexList& buffer);
    void ProgramSpi(THexList& buffer);
    void ProgramMicrowire(THexList& buffer);
    void ProgramAt17(THexList& buffer);
    void EraseAt17Flash();
    void EraseMicrowire();
    void EraseDataFlash();
    // Refuses a page size of 0 or one that does not divide the device, before anything is sent.
    std::uint32_t CheckedPageSize(std::uint32_t page) const;
    // The buffer must cover the device.
    void CheckBuffer(const THexList& buffer) const;
    void LogVerifyLine(const std::string& line);
    std::uint8_t At17Address() const { return a2PinHigh ? 0xAE : 0xA6; }

    // Opens the port at 115200 8N1, pulses DTR, purges.
    bool OpenAndReset(const std::string& devicePath);
    TSerialPort& Port();

    std::string devicePath_;
};

} // namespace isp
