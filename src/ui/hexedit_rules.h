// The arithmetic of the numeric edit field, without widgets: parsing and formatting a number in
// a base, and which texts the field accepts.
#pragma once

#include <cstdint>
#include <string>

namespace isp {

enum TEditBase { ebHex, ebDec, ebOct, ebBin };

class THexEditRules {
public:
    int Radix() const;

    // Digits of the text from the left, each '0'..'9' or (after subtracting 7 from anything
    // above 10) 'A'..'F', accumulated modulo 2^32 and read as a signed 32-bit number. Only the
    // first (length mod 256) characters count.
    std::int32_t ParseText(const std::string& text) const;
    // The number (0 or more) in the base, upper-case digits, no leading zeros.
    std::string FormatValue(std::int32_t value) const;
    // Only digits of the base (upper case); with Validate, a number inside the range.
    bool IsValidText(const std::string& text) const;
    // What writing Value does to a number: negative to 0, then the range when validating.
    std::int32_t Normalise(std::int32_t value) const;

    TEditBase base = ebHex;
    std::int32_t minValue = 0; // stored as 0 when negative
    std::int32_t maxValue = 0;
    bool validate = false;
};

} // namespace isp
