#include "model/ispdefs.h"

#include <cctype>
#include <cstdio>

namespace isp {

namespace {

int FastDigit(char c) {
    return (c >= '0' && c <= '9') ? c - '0' : c - 55;
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

std::uint8_t HexPair(char first, char second) {
    return static_cast<std::uint8_t>((FastDigit(first) * 16 + FastDigit(second)) & 0xFF);
}

std::uint8_t HexPairToByte(std::string_view text) {
    if (text.size() < 2 || !IsHexDigit(text[0]) || !IsHexDigit(text[1])) {
        return 0;
    }
    return static_cast<std::uint8_t>(HexDigitValue(text[0]) * 16 + HexDigitValue(text[1]));
}

std::uint8_t HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint8_t>(c - 'A' + 10);
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint8_t>(c - 'a' + 10);
    }
    return 0;
}

std::uint16_t Hex4ToWord(std::string_view text) {
    unsigned value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value * 16 + (i < text.size() ? HexDigitValue(text[i]) : 0u);
    }
    return static_cast<std::uint16_t>(value);
}

std::string PadLeft(std::string_view text, char pad, std::size_t length) {
    std::string result(text);
    if (result.size() < length) {
        result.insert(0, length - result.size(), pad);
    }
    return result;
}

std::uint32_t HexToLong(std::string_view text) {
    const std::string padded = PadLeft(text, '0', 8);
    const std::string_view digits(padded);
    return (static_cast<std::uint32_t>(Hex4ToWord(digits.substr(0, 4))) << 16) |
           Hex4ToWord(digits.substr(4, 4));
}

std::string HexDigits(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits < 0 ? 0 : (digits > 8 ? 8 : digits),
                  static_cast<unsigned>(value));
    return text;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string ByteToBin(std::uint8_t value) {
    std::string bits(8, '0');
    for (int bit = 0; bit < 8; ++bit) {
        if (value & (0x80u >> bit)) {
            bits[static_cast<std::size_t>(bit)] = '1';
        }
    }
    return bits;
}

std::uint8_t BinToByte(std::string_view text) {
    unsigned value = 0;
    for (char c : text) {
        value = (value << 1) + (c == '1' ? 1u : 0u);
    }
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace isp
