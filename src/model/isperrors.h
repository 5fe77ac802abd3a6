// Exception kinds of the programmer link, the memory buffer and the file loader, and every fixed
// message they are raised with. Status lines quote these texts word for word, so they live here,
// in one place, and nowhere else.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace isp {

// A failure of the programmer link or an out-of-range buffer access. Source names the programmer
// hardware whose low-level transfer failed; it is empty for the higher-level messages.
class EISPException : public std::runtime_error {
public:
    explicit EISPException(const std::string& message, std::string source = {})
        : std::runtime_error(message), Source(std::move(source)) {}

    std::string Source;
};

// The programmer unit reports an identity this software does not support.
class EFirmwareMisMatch : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The operator cancelled a running operation.
class EAbortOp : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A target that cannot be found. Kept for completeness of the error table; nothing raises it.
class ETargetNotFound : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The device contents differ from the buffer.
class EVerifyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Base of the file loader's errors; never raised itself.
class EFileLoader : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A format number outside the known range was given to the file loader.
class EUnknownFileType : public EFileLoader {
public:
    using EFileLoader::EFileLoader;
};

// An operation the operator stopped in a dialog; ends the command without an error line.
class ESilentAbort : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Base key of every stored setting (global group, projects).
inline constexpr const char* kSettingsBaseKey = "Software\\velmar\\QorvikISP1";

namespace msg {

// Raised with an empty Source.
inline constexpr const char* InvalidHardwareSelect = "Internal error: Invalid Hardware Select";
inline constexpr const char* TargetConnectionLost =
    "Target Connection Lost - Check Power, Connections and Click RESET button";
inline constexpr const char* NoTargetVoltage = "No Target Voltage - Check Power and Connections";
inline constexpr const char* NoDeviceDetected =
    "No Device Detected - Check Device Family (24, 25, 93, 17), Bus Address and Connections";
inline constexpr const char* EraseTimedOut = "Erase Timed Out";

// Raised with Source = the programmer's hardware name.
inline constexpr const char* LptNotFound = "LPT port not found or in use by another program";
inline constexpr const char* ProgrammerNotDetected = "Programmer was not detected";
inline constexpr const char* IspNotResponding =
    "ISP is not responding, check your communications settings";
inline constexpr const char* CommunicationsFailed =
    "Communications with ISP failed during this operation";
inline constexpr const char* IspTimedOut = "ISP timed out during operation";
inline constexpr const char* ResetProgrammer = "Programmer Error: Reset Programmer";
inline constexpr const char* BusyTimedOut = "Program/erase BUSY timed out";
inline constexpr const char* InvalidNumberSent = "Programmer Error: Invalid number sent";
inline constexpr const char* BlankCheckFailed = "BlankCheck Failed";
inline constexpr const char* MicrowireOutOfSync = "Microwire exchange out of sync";
inline constexpr const char* IllegalMicrowire = "illegal attempt to use microwire";

// Other kinds.
inline constexpr const char* FirmwareUpdate = "Your ISP needs a firmware update";
inline constexpr const char* OperationAborted = "Operation Aborted";
inline constexpr const char* VerifyBlockProtection =
    "EEPROM: Verification Failed - Block protection may be enabled";
inline constexpr const char* TargetFailedVerification = "Your target device failed verification";
inline constexpr const char* UnknownFileId = "Unknown File ID";

// "COM Port <name> is not available - check hardware and Options" (when connecting).
std::string ComPortNotAvailableOnConnect(const std::string& portName);
// "COM Port <name> is not available - check hardware or Reset" (when reopening).
std::string ComPortNotAvailableOnReopen(const std::string& portName);
// "EEPROM: Verification Failed - <n> bytes had errors".
std::string VerifyFailedBytes(long long errorCount);

// The four range messages of the buffer's checked accesses; the address is written as exactly
// eight upper-case hexadecimal digits.
std::string GetValueOutOfRange(std::uint32_t address);
std::string SetValueOutOfRange(std::uint32_t address);
std::string GetStatusOutOfRange(std::uint32_t address);
std::string SetStatusOutOfRange(std::uint32_t address);

} // namespace msg
} // namespace isp
