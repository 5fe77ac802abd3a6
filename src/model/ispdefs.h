// Small hex and binary text conversions shared by the file formats, the programmer link and the
// option controls. None of them fails: invalid digits give 0, as documented per function.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace isp {

// Fast pair conversion without validation, for text that is already upper-cased: a character
// gives c - '0' for '0'..'9' and c - 55 otherwise; the result is (first * 16 + second) mod 256.
std::uint8_t HexPair(char first, char second);

// Validated conversion of the first two characters (either case). Returns 0 when either of them is
// not a hex digit or the text is shorter than two characters.
std::uint8_t HexPairToByte(std::string_view text);

// 0..15 for '0'..'9', 'A'..'F' and 'a'..'f'; 0 for anything else.
std::uint8_t HexDigitValue(char c);

// The first four characters as a 16-bit number, most significant digit first. Characters that are
// not hex digits, and positions past the end of a shorter text, count as digit 0.
std::uint16_t Hex4ToWord(std::string_view text);

// Prepends pad until the text is at least length characters long.
std::string PadLeft(std::string_view text, char pad, std::size_t length);

// Up to eight hex digits as a 32-bit number: the text is padded on the left with '0' to eight
// characters and converted in two halves; characters past the eighth are ignored.
std::uint32_t HexToLong(std::string_view text);

// The value as at least digits upper-case hex digits (more when it needs them).
std::string HexDigits(std::uint32_t value, int digits);

// True when the texts are equal ignoring ASCII letter case.
bool SameText(std::string_view a, std::string_view b);

// Eight characters '0' or '1', most significant bit first.
std::string ByteToBin(std::uint8_t value);

// Shifts in one bit per character ('1' is one, anything else zero); keeps the low eight bits.
std::uint8_t BinToByte(std::string_view text);

} // namespace isp
