// Shared pieces of the record readers and writers, and the per-format entry points that the
// loader dispatches to. Internal to the format service.
#pragma once

#include "model/hexlist.h"
#include "model/ispdefs.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace isp::records {

using Lines = std::vector<std::string_view>;

// A writer refuses an image its address fields cannot hold.
class EAddressTooWide : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr bool IsUpperHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// HexPair's digit rule applied after upper-casing, for every character, as a table: the readers
// convert millions of digits per image.
struct DigitTable {
    std::uint8_t value[256];
    bool isHex[256];
    constexpr DigitTable() : value(), isHex() {
        for (int i = 0; i < 256; ++i) {
            const char c = Upper(static_cast<char>(i));
            value[i] = static_cast<std::uint8_t>((c >= '0' && c <= '9') ? c - '0' : c - 55);
            isHex[i] = IsUpperHexDigit(c);
        }
    }
};
inline constexpr DigitTable kDigits{};

// Character i (from 0) upper-cased; '0' past the end, so a short record reads as zeros instead of
// running off its line.
inline char At(std::string_view line, std::size_t i) {
    return i < line.size() ? Upper(line[i]) : '0';
}
// The byte whose two hex digits start at character i (from 0), by HexPair's rule.
inline std::uint8_t ByteAt(std::string_view line, std::size_t i) {
    if (i + 1 < line.size()) {
        return static_cast<std::uint8_t>(kDigits.value[static_cast<unsigned char>(line[i])] * 16 +
                                         kDigits.value[static_cast<unsigned char>(line[i + 1])]);
    }
    return HexPair(At(line, i), At(line, i + 1));
}
// True when every character from i on is a hex digit in either case.
bool AllHexFrom(std::string_view line, std::size_t i);
// Sum of the digit values of line[from, to) (upper-cased first).
unsigned DigitSum(std::string_view line, std::size_t from, std::size_t to);

// SetValue with a 64-bit address: anything at or beyond the buffer raises the range error.
void Store(THexList& buffer, std::uint64_t address, std::uint8_t value);

// Walk limits of the line-based writers: the last 16-byte line to visit (LastUsedAddress div 16),
// or -1 when the buffer is empty.
int LastLine(const THexList& buffer);
// The byte at address, or 0xFF past the end of the buffer.
std::uint8_t ByteOrFF(const THexList& buffer, std::int64_t address);
// Highest position 0..15 of a 16-byte line holding a byte other than 0xFF, or -1.
int LastDataInLine(const THexList& buffer, int line);
// Raises EAddressTooWide when a byte other than 0xFF lies above limit within the writers' walk.
void RequireAddressesUpTo(const THexList& buffer, std::int64_t limit, const char* formatName,
                          const char* fieldWidth);

void AppendHex(std::string& out, std::uint32_t value, int digits);
inline void EndLine(std::string& out) {
    out += "\r\n";
}

// Detectors return the format number or 0; checkSums enables the record checksum comparisons.
int DetectIntel(const Lines& lines, bool checkSums);
int DetectMotorola(const Lines& lines, bool checkSums);
int DetectExtendedTektronix(const Lines& lines, bool checkSums);
int DetectTektronix(const Lines& lines, bool checkSums);
int DetectAtmelGeneric(const Lines& lines);
int DetectBst(const Lines& lines);

// Readers store every data byte with SetValue and return 0; a range error propagates.
int ReadIntel(const Lines& lines, THexList& buffer);
int ReadMotorola(const Lines& lines, THexList& buffer);
int ReadExtendedTektronix(const Lines& lines, THexList& buffer);
int ReadTektronix(const Lines& lines, THexList& buffer);
int ReadAtmelGeneric(const Lines& lines, THexList& buffer, bool sixteenBit);
int ReadBst(const Lines& lines, THexList& buffer);

// Writers append CR LF terminated lines to out.
void WriteIntel(const THexList& buffer, std::string& out);
void WriteMotorola(const THexList& buffer, std::string& out);
void WriteExtendedTektronix(const THexList& buffer, std::string& out);
void WriteTektronix(const THexList& buffer, std::string& out);
void WriteAtmelGeneric(const THexList& buffer, std::string& out, bool sixteenBit);
void WriteBst(const THexList& buffer, std::string& out);

} // namespace isp::records
