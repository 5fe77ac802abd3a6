#include "programmer/smartserial.h"

#include "model/isperrors.h"

#include <algorithm>

namespace isp {

namespace {

constexpr std::int64_t kMs = 1'000'000;
constexpr std::int64_t kReadByteLimit = 2000 * kMs;
constexpr std::int64_t kReplyLimit = 1000 * kMs;
constexpr std::int64_t kKeepAliveSlice = 10 * kMs;

struct TAddressPins {
    std::int32_t size;
    int shift; // 0: the device has no address pins
    int largest;
};

const TAddressPins kAddressPins[] = {
    {128, 1, 7},  {256, 1, 7},   {512, 2, 3},   {1024, 3, 1},  {2048, 0, 0},   {4096, 1, 7},
    {8192, 1, 7}, {16384, 1, 3}, {32768, 1, 7}, {65536, 1, 3}, {131072, 2, 1},
};

struct TMicrowireGeometry {
    const char* names[2];
    std::uint8_t bits8, bits16, shift8, shift16;
};

const TMicrowireGeometry kMicrowire[] = {
    {{"93C06", "93C46"}, 10, 9, 6, 7},
    {{"93C56", "93C66"}, 12, 11, 4, 5},
    {{"93C57", nullptr}, 11, 10, 5, 6},
    {{"93C76", "93C86"}, 14, 13, 2, 3},
};

} // namespace

TSmartSerial::TSmartSerial(TSerialServices& services) : services_(services) {}

TSmartSerial::~TSmartSerial() = default;

TSerialPort& TSmartSerial::Port() {
    if (!port || !port->IsOpen()) {
        throw EISPException(msg::CommunicationsFailed, hardwareName);
    }
    return *port;
}

std::string TSmartSerial::PortName() const {
    return "COM" + std::to_string(portIndex + 1);
}

void TSmartSerial::CreatePort() {
    if (!portCreated) {
        hasStatus = true;
        port = services_.CreatePort();
        hasOptions = true;
        portCreated = true;
    }
}

void TSmartSerial::FreePort() {
    if (port) {
        port->Close();
        port.reset();
    }
    portCreated = false;
}

bool TSmartSerial::OpenAndReset(const std::string& devicePath) {
    if (!port->Open(devicePath)) {
        return false;
    }
    TClock& clock = services_.Clock();
    port->SetDtr(true);
    clock.SleepMs(50);
    port->SetReceiveBufferSize(static_cast<int>(kTransferSize));
    port->PurgeReceive();
    port->PurgeTransmit();
    port->SetDtr(false);
    clock.SleepMs(250);
    return true;
}

bool TSmartSerial::Connect() {
    connected = false;
    CreatePort();
    LoadSettings();
    const std::string name = PortName();
    const std::vector<std::string> present = services_.SerialDeviceNames();
    if (std::find(present.begin(), present.end(), name) == present.end()) {
        throw EISPException(msg::ComPortNotAvailableOnConnect(name));
    }
    port->Close();
    devicePath_ = services_.DevicePath(name);
    if (devicePath_.empty() || !OpenAndReset(devicePath_)) {
        throw EISPException(msg::ComPortNotAvailableOnConnect(name));
    }
    std::string id;
    try {
        WriteCommandChar('*');
        if (ReadByte(true) == '?') {
            ReadByte(true);
        }
        id = QueryText('S', 9);
    } catch (const EISPException& e) {
        throw EISPException(e.what());
    }
    if (id != GetExpectedProgrammerId()) {
        throw EFirmwareMisMatch(msg::FirmwareUpdate);
    }
    QueryFirmwareVersion();
    if (eepromProgTime == 0 && device) {
        eepromProgTime = static_cast<std::uint8_t>(device->ProgTime);
    }
    SendCommandHex('E', static_cast<std::uint8_t>(ClockCode));
    SendCommand('U');
    connected = true;
    return true;
}

void TSmartSerial::ReopenPort() {
    if (!port) {
        CreatePort();
    }
    port->Close();
    if (devicePath_.empty() || !OpenAndReset(devicePath_)) {
        throw EISPException(msg::ComPortNotAvailableOnReopen(PortName()));
    }
    SendCommandHex('E', static_cast<std::uint8_t>(ClockCode));
    SendCommand('U');
}

void TSmartSerial::Disconnect() {
    if (connected) {
        try {
            SendCommand('u');
        } catch (...) {
            // The unit may be gone; the port is freed and the settings saved all the same.
        }
    }
    connected = false;
    FreePort();
    SaveSettings();
}

// ---- transport -------------------------------------------------------------------------------

void TSmartSerial::WriteByte(std::uint8_t value) {
    Port().WriteByte(value);
}

void TSmartSerial::WriteCommandChar(std::uint8_t value) {
    Port().WriteByte(value);
}

std::uint8_t TSmartSerial::ReadByte(bool keepAlive) {
    TSerialPort& p = Port();
    TClock& clock = services_.Clock();
    const std::int64_t deadline = clock.NowNs() + kReadByteLimit;
    for (;;) {
        const std::int64_t now = clock.NowNs();
        const std::int64_t slice =
            keepAlive ? std::min(kKeepAliveSlice, deadline - now) : deadline - now;
        if (p.WaitForReceived(1, std::max<std::int64_t>(slice, 0)) > 0) {
            break;
        }
        if (clock.NowNs() >= deadline) {
            RaiseCommunicationsFailed();
        }
        if (keepAlive) {
            ReportProgress(-1, -1);
        }
    }
    std::uint8_t value = 0;
    p.Read(&value, 1);
    return value;
}

bool TSmartSerial::WaitForReply() {
    if (Port().WaitForReceived(1, kReplyLimit) == 0) {
        RaiseCommunicationsFailed();
    }
    return true;
}

void TSmartSerial::QueueByte(std::uint8_t value) {
    if (static_cast<std::size_t>(transferLength) >= kTransferSize) {
        throw EISPException("Internal error: transfer buffer overflow");
    }
    transferBuffer[static_cast<std::size_t>(transferLength++)] = value;
}

void TSmartSerial::CollectReplies(std::int32_t count) {
    if (count > static_cast<std::int32_t>(kTransferSize)) {
        throw EISPException("Internal error: transfer buffer overflow");
    }
    TSerialPort& p = Port();
    const std::int64_t pause = (count > 1000 ? 50 : 1) * kMs;
    const auto wanted = static_cast<std::size_t>(std::max(count, 0));
    std::size_t waiting = 0;
    for (int pauses = 0; pauses < 100 && waiting < wanted; ++pauses) {
        waiting = p.WaitForReceived(wanted, pause);
    }
    if (waiting < wanted) {
        RaiseCommunicationsFailed();
    }
    std::size_t got = 0;
    while (got < wanted) {
        const std::size_t n = p.Read(transferBuffer.data() + got, wanted - got);
        if (n == 0) {
            RaiseCommunicationsFailed();
        }
        got += n;
    }
}

void TSmartSerial::FlushBatch(std::int32_t replies) {
    Port().WriteBlock(transferBuffer.data(), static_cast<std::size_t>(transferLength));
    CollectReplies(replies);
    transferLength = 0;
}

void TSmartSerial::WriteBits(std::uint8_t bitCount, const TBytes& bits) {
    SendCommandUnchecked('W', {bitCount});
    Port().WriteBlock(bits.data(), bits.size());
    CheckReply();
}

TBytes TSmartSerial::ReadBytes(std::uint16_t count) {
    TSerialPort& p = Port();
    p.PurgeReceive();
    p.PurgeTransmit();
    SendCommandUnchecked(
        'R', {static_cast<std::uint8_t>(count & 0xFF), static_cast<std::uint8_t>(count >> 8)});
    TClock& clock = services_.Clock();
    const std::int64_t deadline = clock.NowNs() + kReadByteLimit;
    while (p.UnsentCount() > 0 && clock.NowNs() < deadline) {
        clock.SleepMs(1);
    }
    CollectReplies(count);
    TBytes data(transferBuffer.begin(), transferBuffer.begin() + count);
    CheckReply();
    return data;
}

// ---- target ----------------------------------------------------------------------------------

std::uint8_t TSmartSerial::ComputeI2cAddress() {
    const std::int32_t size = Device().MemorySize;
    const int bus = targetOptions.busNumber;
    for (const TAddressPins& pins : kAddressPins) {
        if (pins.size != size) {
            continue;
        }
        if (bus > pins.largest) {
            services_.Warn("Device Address Pins only  allow bus addresses of 0 to " +
                           std::to_string(pins.largest));
        }
        return static_cast<std::uint8_t>(0xA0 | (pins.shift ? (bus << pins.shift) : 0));
    }
    return 0xA0;
}

bool TSmartSerial::AckPoll(bool hexForm) {
    std::uint8_t reply = '?';
    for (int attempts = 0; reply != 0x0D && attempts < 10; ++attempts) {
        if (hexForm) {
            WriteCommandChar('N');
            for (std::uint8_t digit : HexBytes(deviceAddressByte)) {
                WriteCommandChar(digit);
            }
        } else {
            WriteCommandChar('n');
            WriteByte(deviceAddressByte);
        }
        reply = ReadByte(true);
        if (reply != 0x0D && ReadByte(true) != 'N') {
            throw EISPException(msg::TargetConnectionLost);
        }
    }
    return reply == 0x0D;
}

void TSmartSerial::PrepareTarget() {
    TSerialPort& p = Port();
    p.PurgeReceive();
    p.PurgeTransmit();
    const TDevice& d = Device();
    std::uint8_t mode = d.Family;
    if (d.Family == famAT17) {
        SetTargetReset(0);
        mode = 0;
    }
    SendCommandHex('M', mode);
    if ((d.Family == fam25C || d.Family == fam93C) && ClockCode == 0) {
        ClockCode = 1;
    }
    SendCommandHex('E', static_cast<std::uint8_t>(ClockCode));
    WriteCommandChar('p');
    if (ReadByte(false) == '?' && ReadByte(true) == 'p') {
        throw EISPException(msg::NoTargetVoltage);
    }
    if (d.Family == fam24C) {
        deviceAddressByte = ComputeI2cAddress();
    } else if (d.Family == famAT17) {
        deviceAddressByte = a2PinHigh ? 0xAE : 0xA6;
    }
    if (!AckPoll(true)) {
        throw EISPException(msg::NoDeviceDetected);
    }
    for (const TMicrowireGeometry& g : kMicrowire) {
        for (const char* name : g.names) {
            if (name && d.Name == name) {
                mwBitCount = progMode == 8 ? g.bits8 : g.bits16;
                mwShift = progMode == 8 ? g.shift8 : g.shift16;
            }
        }
    }
}

// ---- information -----------------------------------------------------------------------------

std::vector<std::string> TSmartSerial::InformationReport() {
    std::vector<std::string> lines = {
        "======== Programmer Connection =======",
        "Hardware Selected: " + hardwareName,
        "Connection Method: Serial Port",
        "Port Number: " + std::to_string(portIndex + 1),
        port && port->IsOpen() ? "Driver Status: Connected" : "*Driver Status: Not Connected",
        "Max Read Timeout: " + std::to_string(maxReadTimeout),
        "Max Write Timeout: " + std::to_string(maxWriteTimeout),
    };
    bool reachable = true;
    try {
        EnsureTarget();
    } catch (const EISPException&) {
        lines.push_back("*Communications to Programmer Failed");
        reachable = false;
    }
    lines.push_back("======== General Information =======");
    if (reachable) {
        lines.push_back("Programmer ID: " + QueryText('S', 9));
        lines.push_back("Hardware Version: " + QueryText('V', 4));
        lines.push_back("Firmware Version: " + QueryText('v', 4));
        lines.push_back("======== Device Information =======");
        lines.push_back("Device Selected: " + Device().Name);
    }
    return lines;
}

void TSmartSerial::ShowStatus(const std::string& /*softwareVersion*/) {
    services_.ShowReport(InformationReport());
}

} // namespace isp
