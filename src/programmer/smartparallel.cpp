#include "programmer/smartparallel.h"

#include "model/isperrors.h"

namespace isp {

namespace {

const char* const kHardwareCode = "000B";

} // namespace

TSmartParallel::TSmartParallel() {
    hasStatus = true;
    hasOptions = true;
    eepromProgTime = 0;
}

TBytes TSmartParallel::HexBytes(std::uint8_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    return {static_cast<std::uint8_t>(kDigits[value >> 4]),
            static_cast<std::uint8_t>(kDigits[value & 0xF])};
}

// ---- slots of the abstract programmer --------------------------------------------------------

void TSmartParallel::ReadDevice(THexList&) {}
void TSmartParallel::EraseDevice() {}
void TSmartParallel::Reserved12(std::int32_t) {}
void TSmartParallel::Reserved13(std::int32_t) {}
bool TSmartParallel::Reserved14() {
    return false;
}
std::string TSmartParallel::GetProgrammerType() {
    return "EEPROMISP";
}
std::string TSmartParallel::GetExpectedProgrammerId() {
    return "EEPROMISP";
}
std::int32_t TSmartParallel::GetOperationTimeLimit() {
    return 100000;
}
std::int16_t TSmartParallel::GetHardwareCode() {
    // The code is kept as the text "000B"; read as a decimal number it has no value.
    throw EISPException(std::string("'") + kHardwareCode + "' is not a valid integer value");
}
void TSmartParallel::Reserved60() {}
bool TSmartParallel::WriteResetPolarity() {
    return false;
}
bool TSmartParallel::WriteInternalRc(bool) {
    return false;
}

std::uint8_t TSmartParallel::GetDeviceFamily() {
    return Device().Family;
}

void TSmartParallel::SetTargetReset(std::uint8_t mode) {
    SendCommandHex(Device().Family == famAT17 ? 'e' : 'P', mode);
}

void TSmartParallel::EndSession() {
    if (Device().Family == famAT17) {
        SetTargetReset(1);
    } else {
        SendCommandHex('P', 0xFF);
    }
}

void TSmartParallel::QueryFirmwareVersion() {
    QueryText('v', 4);
}

std::string TSmartParallel::QueryProgrammerId() {
    EnsureTarget();
    SetTargetReset(static_cast<std::uint8_t>(targetOptions.resetChoice));
    return QueryText('S', 9);
}

void TSmartParallel::PrepareTarget() {}

void TSmartParallel::EnsureTarget() {
    try {
        PrepareTarget();
    } catch (const EISPException& e) {
        throw EISPException(e.what());
    }
}

void TSmartParallel::LoadSettings() {
    if (!settings) {
        throw EISPException("No settings store");
    }
    const std::string& section = hardwareName;
    portIndex =
        static_cast<std::uint16_t>(settings->ReadSetting(section, "BASEPORT", 65535).ToInt());
    const std::int64_t progTime = device ? device->ProgTime : 0;
    eepromProgTime =
        static_cast<std::uint8_t>(settings->ReadSetting(section, "EEPROMtime", progTime).ToInt());
    ClockCode = static_cast<int>(settings->ReadSetting(section, "Clockspeed", 1).ToInt());
    SetProgMode(static_cast<std::uint8_t>(settings->ReadSetting(section, "progMode", 16).ToInt()));
    msbFirst = settings->ReadSetting(section, "MSBfirst", true).ToBool();
    maxReadTimeout = 50000;
    maxWriteTimeout = 50000;
}

void TSmartParallel::SaveSettings() {
    if (!settings) {
        throw EISPException("No settings store");
    }
    const std::string& section = hardwareName;
    settings->WriteSetting(section, "BASEPORT", 1, static_cast<int>(portIndex));
    settings->WriteSetting(section, "EEPROMtime", 1, static_cast<int>(eepromProgTime));
    settings->WriteSetting(section, "Clockspeed", 1, ClockCode);
    settings->WriteSetting(section, "ProgMode", 1, static_cast<int>(progMode));
    settings->WriteSetting(section, "MSBfirst", 1, msbFirst);
}

// ---- command layer ---------------------------------------------------------------------------

void TSmartParallel::SendCommand(char command, const TBytes& parameters) {
    WriteCommandChar(static_cast<std::uint8_t>(command));
    for (std::uint8_t b : parameters) {
        WriteByte(b);
    }
    CheckReply();
}

void TSmartParallel::SendCommandUnchecked(char command, const TBytes& parameters) {
    WriteCommandChar(static_cast<std::uint8_t>(command));
    for (std::uint8_t b : parameters) {
        WriteCommandChar(b);
    }
}

std::string TSmartParallel::QueryText(char command, std::int32_t length) {
    WriteCommandChar(static_cast<std::uint8_t>(command));
    std::string text;
    for (std::int32_t i = 0; i < length; ++i) {
        text += static_cast<char>(ReadByte(false));
    }
    CheckReply();
    return text;
}

void TSmartParallel::CheckReply() {
    WaitForReply();
    const std::uint8_t status = ReadByte(false);
    if (status == 0x0D) {
        return;
    }
    if (status == '?') {
        RaiseErrorCode(ReadByte(false));
    }
    RaiseCommunicationsFailed();
}

void TSmartParallel::RaiseCommunicationsFailed() const {
    throw EISPException(msg::CommunicationsFailed, hardwareName);
}

void TSmartParallel::RaiseErrorCode(std::uint8_t code) const {
    switch (code) {
    case '!':
        throw EISPException(msg::ResetProgrammer, hardwareName);
    case '#':
        throw EISPException(msg::InvalidNumberSent, hardwareName);
    case '%':
        throw EISPException(msg::BlankCheckFailed, hardwareName);
    case 'M':
        throw EISPException(msg::IllegalMicrowire, hardwareName);
    case 'T':
        throw EISPException(msg::BusyTimedOut, hardwareName);
    case 'V':
        throw EVerifyError(msg::TargetFailedVerification);
    case 'm':
        throw EISPException(msg::MicrowireOutOfSync, hardwareName);
    default:
        RaiseCommunicationsFailed();
    }
}

std::uint8_t TSmartParallel::BusRead() {
    SendCommandUnchecked('r');
    const std::uint8_t value = ReadByte(false);
    CheckReply();
    return value;
}

void TSmartParallel::WriteBits(std::uint8_t bitCount, const TBytes& bits) {
    TBytes parameters;
    parameters.reserve(bits.size() + 1);
    parameters.push_back(bitCount);
    for (std::uint8_t b : bits) {
        parameters.push_back(b);
    }
    SendCommand('W', parameters);
}

TBytes TSmartParallel::ReadBytes(std::uint16_t count) {
    SendCommandUnchecked(
        'R', {static_cast<std::uint8_t>(count & 0xFF), static_cast<std::uint8_t>(count >> 8)});
    TBytes data;
    for (std::uint16_t i = 0; i < count; ++i) {
        data.push_back(ReadByte(false));
    }
    CheckReply();
    return data;
}

// The parallel byte transport and its memory sequences come with the parallel-port link.
void TSmartParallel::ReadBlock(std::uint8_t*, char, std::uint32_t, std::int32_t) {
    NotSupported("ReadBlock");
}
std::uint8_t TSmartParallel::ReadByte(bool) {
    NotSupported("The parallel-port link");
}
void TSmartParallel::WriteByte(std::uint8_t) {
    NotSupported("The parallel-port link");
}
void TSmartParallel::WriteCommandChar(std::uint8_t value) {
    WriteByte(value);
}
bool TSmartParallel::WaitForReply() {
    NotSupported("The parallel-port link");
}

} // namespace isp
