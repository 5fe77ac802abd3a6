// The USB programmer's option operations: status register, write-all, single location, AT17
// reset polarity and internal RC.
#include "model/ispdefs.h"
#include "programmer/smartserial.h"

namespace isp {

std::uint8_t TSmartSerial::ReadStatusRegister() {
    EnsureTarget();
    SetTargetReset(static_cast<std::uint8_t>(targetOptions.resetChoice));
    SendCommand('A');
    std::uint8_t value = 0; // 24C and 93C parts have no register to read
    const TDevice& d = Device();
    if (d.Family == fam25C) {
        SendCommand('%');
        BusStart();
        BusWrite(0x05);
        value = BusRead();
        SendCommand('$');
    }
    SendCommand('a');
    if (d.Family == famAT17) {
        value = HexPairToByte(QueryText('G', 2));
    }
    return value;
}

void TSmartSerial::WriteStatusRegister(std::uint8_t value) {
    EnsureTarget();
    SetTargetReset(static_cast<std::uint8_t>(targetOptions.resetChoice));
    const TDevice& d = Device();
    if (d.Family == fam25C) {
        SendCommand('%');
        BusStart();
        BusWrite(0x06);
        BusStop();
        BusStart();
        BusWrite(0x01);
        BusWrite(value);
        BusStop();
        SendCommand('$');
    } else if (d.Family == fam93C) {
        SendCommand('%');
        BusStart();
        WriteBits(mwBitCount, {0x98, 0x00}); // EWEN
        BusStop();
        BusStart();
        WriteBits(mwBitCount, {0x88, 0x00}); // WRAL
        BusWrite(value);
        if (progMode == 16) {
            BusWrite(value);
        }
        BusStop();
        BusWaitReady();
        BusStart();
        WriteBits(mwBitCount, {0x80, 0x00}); // EWDS
        BusStop();
        SendCommand('$');
    }
}

void TSmartSerial::EraseLocation(THexList& /*buffer*/) {
    SendCommand('^');
}

std::uint8_t TSmartSerial::ReadResetPolarity() {
    EnsureTarget();
    const TDevice& d = Device();
    const auto a = static_cast<std::uint32_t>(d.ResetPolarityAddress);
    deviceAddressByte = At17Address();
    SendCommand('%');
    SendCommand('A');
    BusStart();
    BusWrite(deviceAddressByte);
    if (d.MemorySize > 65535) {
        BusWrite(static_cast<std::uint8_t>(a >> 16));
    }
    BusWrite(static_cast<std::uint8_t>(a >> 8));
    BusWrite(static_cast<std::uint8_t>(a));
    BusStart();
    BusWrite(static_cast<std::uint8_t>(deviceAddressByte | 1));
    const std::uint8_t value = BusRead();
    SendCommand('a');
    SendCommand('$');
    EndSession();
    return value;
}

bool TSmartSerial::WriteResetPolarity() {
    const TDevice& d = Device();
    const auto a = static_cast<std::uint32_t>(d.ResetPolarityAddress);
    const std::uint8_t v = (d.MemorySize >= 65536 && resetPolarityLow) ? 0xFF : 0x00;
    for (int copy = 0; copy < 3; ++copy) {
        BusStart();
        BusWrite(deviceAddressByte);
        BusWrite(static_cast<std::uint8_t>(a >> 16));
        BusWrite(static_cast<std::uint8_t>(a >> 8));
        BusWrite(static_cast<std::uint8_t>(a));
        services_.Clock().SleepMs(10);
        for (int i = 0; i < 4; ++i) {
            BusWrite(v);
        }
        BusStop();
    }
    return false;
}

bool TSmartSerial::WriteInternalRc(bool enable) {
    EnsureTarget();
    const TDevice& d = Device();
    const auto a = static_cast<std::uint32_t>(d.InternalRCAddress);
    deviceAddressByte = At17Address();
    SendCommand('%');
    SendCommand('A');
    BusStart();
    BusWrite(deviceAddressByte);
    BusWrite(static_cast<std::uint8_t>(a >> 16));
    BusWrite(static_cast<std::uint8_t>(a >> 8));
    BusWrite(static_cast<std::uint8_t>(a));
    BusWrite(enable ? 0xFF : 0x00);
    BusStop();
    SendCommand('a');
    SendCommand('$');
    ReportProgress(0, d.MemorySize);
    EndSession();
    return true;
}

} // namespace isp
