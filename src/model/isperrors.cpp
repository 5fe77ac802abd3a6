#include "model/isperrors.h"

#include <cstdio>

namespace isp::msg {

namespace {

std::string Hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

} // namespace

std::string ComPortNotAvailableOnConnect(const std::string& portName) {
    return "COM Port " + portName + " is not available - check hardware and Options";
}

std::string ComPortNotAvailableOnReopen(const std::string& portName) {
    return "COM Port " + portName + " is not available - check hardware or Reset";
}

std::string VerifyFailedBytes(long long errorCount) {
    return "EEPROM: Verification Failed - " + std::to_string(errorCount) + " bytes had errors";
}

std::string GetValueOutOfRange(std::uint32_t address) {
    return "THexList:GetValue:" + Hex8(address) + " out of range";
}

std::string SetValueOutOfRange(std::uint32_t address) {
    return "Set Value of Address: " + Hex8(address) + " out of range";
}

std::string GetStatusOutOfRange(std::uint32_t address) {
    return "Get Status of Address: " + Hex8(address) + " out of range";
}

std::string SetStatusOutOfRange(std::uint32_t address) {
    return "Set Status of Address: " + Hex8(address) + " out of range";
}

} // namespace isp::msg
