// The command layer of the programmer unit: commands with hex or raw parameters, the status byte
// and its error codes, bus primitives, target reset, settings. The byte transport underneath is
// virtual: the serial programmer replaces it with its USB link.
#pragma once

#include "programmer/programmer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace isp {

using TBytes = std::vector<std::uint8_t>;

// Options the operator sets per device in the options frame, copied in before each operation.
struct TTargetOptions {
    int busNumber = 0;   // 24C "Device Bus Address", 0 to 15
    int resetChoice = 2; // "MCU Reset Polarity": 0 Low, 1 High, 2 Off
};

class TSmartParallel : public TISPProgrammer {
public:
    TSmartParallel();

    // Slots of the abstract programmer this class provides.
    void ReadDevice(THexList& buffer) override;
    void EraseDevice() override;
    void Reserved12(std::int32_t value) override;
    void Reserved13(std::int32_t value) override;
    bool Reserved14() override;
    std::string GetProgrammerType() override;
    void SetTargetReset(std::uint8_t mode) override;
    std::string QueryProgrammerId() override;
    std::uint8_t GetDeviceFamily() override;
    void QueryFirmwareVersion() override;
    void LoadSettings() override;
    void SaveSettings() override;
    bool WriteResetPolarity() override;
    bool WriteInternalRc(bool enable) override;

    // 49-66
    virtual void PrepareTarget();
    virtual void EndSession();
    virtual std::string QueryText(char command, std::int32_t length);
    virtual void SendCommand(char command, const TBytes& parameters = {});
    virtual void SendCommandUnchecked(char command, const TBytes& parameters = {});
    virtual void ReadBlock(std::uint8_t* destination, char command, std::uint32_t address,
                           std::int32_t count);
    virtual std::uint8_t ReadByte(bool keepAlive);
    virtual void WriteByte(std::uint8_t value);
    virtual void WriteCommandChar(std::uint8_t value);
    virtual bool WaitForReply();
    virtual void CheckReply();
    virtual void Reserved60();
    virtual std::int16_t GetHardwareCode();
    virtual std::string GetExpectedProgrammerId();
    virtual std::int32_t GetOperationTimeLimit();
    virtual void EnsureTarget();
    virtual void WriteBits(std::uint8_t bitCount, const TBytes& bits);
    virtual TBytes ReadBytes(std::uint16_t count);

    // Bus primitives, all checked.
    void BusStart() { SendCommand('X'); }
    void BusStop() { SendCommand('x'); }
    void BusWaitReady() { SendCommand('Z'); }
    void BusWrite(std::uint8_t value) { SendCommand('w', {value}); }
    std::uint8_t BusRead();

    // A command with one hex parameter: two upper-case hex digits.
    void SendCommandHex(char command, std::uint8_t value) { SendCommand(command, HexBytes(value)); }
    static TBytes HexBytes(std::uint8_t value);

    std::int32_t pinDataOut = 16;
    std::int32_t pinClock = 14;
    std::int32_t pinReady = 10;
    std::int32_t pinDataIn = 11;
    std::int32_t pinSelect = 17;
    std::int32_t pinReset = 1;
    std::int32_t maxWriteTimeout = 0;
    std::int32_t maxReadTimeout = 0;
    std::uint8_t mwBitCount = 0;
    std::uint8_t mwShift = 0;
    bool portCreated = false;
    TTargetOptions targetOptions;

protected:
    // Raises the error of a status code byte received after '?'.
    [[noreturn]] void RaiseErrorCode(std::uint8_t code) const;
    [[noreturn]] void RaiseCommunicationsFailed() const;
};

} // namespace isp
