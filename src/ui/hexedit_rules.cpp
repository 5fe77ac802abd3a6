#include "ui/hexedit_rules.h"

namespace isp {

int THexEditRules::Radix() const {
    switch (base) {
    case ebHex:
        return 16;
    case ebDec:
        return 10;
    case ebOct:
        return 8;
    case ebBin:
        return 2;
    }
    return 16;
}

std::int32_t THexEditRules::ParseText(const std::string& text) const {
    std::uint32_t value = 0;
    const std::size_t count = text.size() % 256;
    for (std::size_t i = 0; i < count; ++i) {
        int digit = static_cast<unsigned char>(text[i]) - '0';
        if (digit > 10) {
            digit -= 7;
        }
        value = value * static_cast<std::uint32_t>(Radix()) + static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(value);
}

std::string THexEditRules::FormatValue(std::int32_t value) const {
    auto v = static_cast<std::uint32_t>(value < 0 ? 0 : value);
    const auto radix = static_cast<std::uint32_t>(Radix());
    std::string text;
    do {
        const std::uint32_t digit = v % radix;
        text.insert(text.begin(), static_cast<char>(digit < 10 ? '0' + digit : 'A' + digit - 10));
        v /= radix;
    } while (v != 0);
    return text;
}

bool THexEditRules::IsValidText(const std::string& text) const {
    for (const char c : text) {
        const bool digitChar = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
        int digit = c - '0';
        if (digit > 10) {
            digit -= 7;
        }
        if (!digitChar || digit >= Radix()) {
            return false;
        }
    }
    if (validate) {
        const std::int32_t value = ParseText(text);
        return value >= minValue && value <= maxValue;
    }
    return true;
}

std::int32_t THexEditRules::Normalise(std::int32_t value) const {
    if (value < 0) {
        value = 0;
    }
    if (validate) {
        if (value < minValue) {
            value = minValue;
        }
        if (value > maxValue) {
            value = maxValue;
        }
    }
    return value;
}

} // namespace isp
