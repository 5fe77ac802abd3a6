// The abstract programmer: every device operation of the system is one call on it. The slots are
// declared in their fixed order; a slot no class provides fails with an operation-not-supported
// error (EISPException).
#pragma once

#include "model/device.h"
#include "model/hexlist.h"
#include "model/isperrors.h"
#include "programmer/settings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace isp {

// Called with (position, total); (-1, -1) is a keep-alive while waiting for the unit. The
// handler may throw (EAbortOp) at any call; every operation stays exception-safe.
using TProgressHandler = std::function<void(std::int32_t position, std::int32_t total)>;

class TISPProgrammer {
public:
    TISPProgrammer() = default;
    virtual ~TISPProgrammer() = default;
    TISPProgrammer(const TISPProgrammer&) = delete;
    TISPProgrammer& operator=(const TISPProgrammer&) = delete;

    // 0-1
    virtual void SetDevice(const TDevice& newDevice) { device = &newDevice; }
    virtual void SetProgMode(std::uint8_t bits) { progMode = bits; }
    // 3-9
    virtual void ProgramDevice(THexList& buffer);
    virtual void Reserved4();
    virtual void VerifyDevice(THexList& buffer);
    virtual void Reserved6();
    virtual void ReadDevice(THexList& buffer);
    virtual void Reserved8();
    virtual void EraseDevice();
    // 10-17
    virtual std::uint8_t ReadStatusRegister();
    virtual void WriteStatusRegister(std::uint8_t value);
    virtual void Reserved12(std::int32_t value);
    virtual void Reserved13(std::int32_t value);
    virtual bool Reserved14();
    virtual void EraseLocation(THexList& buffer);
    virtual void Reserved16();
    virtual void Reserved17();
    // 18-30
    virtual std::string GetProgrammerType();
    virtual void ConfigureProgrammer();
    virtual void SetTargetReset(std::uint8_t mode);
    virtual bool Connect();
    virtual void Disconnect();
    virtual std::string QueryProgrammerId();
    virtual void ShowStatus(const std::string& softwareVersion);
    virtual std::uint8_t GetDeviceFamily();
    virtual void QueryFirmwareVersion();
    virtual void SetSlowTarget(bool on);
    virtual void LoadSettings();
    virtual void SaveSettings();
    virtual void RunTimingVector(char code, std::int32_t argument);
    // 31-48
    virtual void Reserved31();
    virtual void Reserved32();
    virtual void Reserved33();
    virtual std::int32_t TargetPresent();
    virtual void Reserved35();
    virtual void Reserved36();
    virtual void Reserved37();
    virtual void Reserved38();
    virtual void Reserved39();
    virtual void ReopenPort();
    virtual void QueueByte(std::uint8_t value);
    virtual void CollectReplies(std::int32_t count);
    virtual bool WriteResetPolarity();
    virtual bool WriteInternalRc(bool enable);
    virtual std::uint8_t ReadResetPolarity();
    virtual void Reserved46();
    virtual void Reserved47();
    virtual void Reserved48();

    // Non-virtual members.
    void SetProgressHandler(TProgressHandler handler) { progressHandler = std::move(handler); }
    void ReportProgress(std::int32_t position, std::int32_t total) {
        if (progressHandler) {
            progressHandler(position, total);
        }
    }
    void SetSettingsStore(TISPSettings& store) { settings = &store; }
    void SetHardwareName(const std::string& name) { hardwareName = name; }
    std::uint8_t GetHardwareKind() const;
    void SetHasOptions(bool value) { hasOptions = value; }
    void SetHasStatus(bool value) { hasStatus = value; }

    // The clock code sent with "E", shared by every programmer object.
    static int ClockCode;

    bool slowTargetSupported = false;
    std::uint8_t progMode = 0;
    std::uint8_t eepromProgTime = 0;
    std::uint16_t portIndex = 0;
    bool connected = false;
    const TDevice* device = nullptr;
    TProgressHandler progressHandler;
    std::string hardwareName;
    bool hasOptions = false;
    bool hasStatus = false;
    bool a2PinHigh = false;
    bool resetPolarityLow = false;
    bool fullDeviceProgram = false;
    std::uint32_t pageSize = 0;
    bool msbFirst = false;
    TISPSettings* settings = nullptr;

protected:
    [[noreturn]] void NotSupported(const char* operation) const;
    const TDevice& Device() const;
};

inline constexpr std::uint16_t kNoPort = 0xFFFF;

} // namespace isp
