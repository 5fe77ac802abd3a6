// Atmel Generic (8-bit: "AAAA:DD", 16-bit: "AAAAAA:DDDD" word lines) and Atmel BST (one line of
// eight binary digits per byte, the format of AT17 configuration images).
#include "fileformats/records.h"

namespace isp::records {

int DetectAtmelGeneric(const Lines& lines) {
    bool seen8 = false;
    bool seen16 = false;
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        if (line.size() == 11) {
            if (seen8 || line[6] != ':') {
                return 0;
            }
            seen16 = true;
        } else if (line.size() == 7) {
            if (seen16 || line[4] != ':') {
                return 0;
            }
            seen8 = true;
        } else {
            return 0;
        }
        for (const char c : line) {
            if (c != ':' && !IsUpperHexDigit(Upper(c))) {
                return 0;
            }
        }
    }
    return seen8 ? 10 : 9;
}

int DetectBst(const Lines& lines) {
    for (const std::string_view line : lines) {
        if (line.size() != 8 || line.find_first_not_of("01") != std::string_view::npos) {
            return 0;
        }
    }
    return 11;
}

int ReadAtmelGeneric(const Lines& lines, THexList& buffer, bool sixteenBit) {
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        if (sixteenBit) {
            const std::uint64_t word = HexToLong(line.substr(0, 6));
            Store(buffer, 2 * word + 1, ByteAt(line, 7));
            Store(buffer, 2 * word, ByteAt(line, 9));
        } else {
            Store(buffer, Hex4ToWord(line.substr(0, 4)), ByteAt(line, 5));
        }
    }
    return 0;
}

int ReadBst(const Lines& lines, THexList& buffer) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Store(buffer, i, BinToByte(lines[i]));
    }
    return 0;
}

void WriteAtmelGeneric(const THexList& buffer, std::string& out, bool sixteenBit) {
    const int last = buffer.LastUsedAddress();
    if (sixteenBit) {
        RequireAddressesUpTo(buffer, 2 * std::int64_t{0xFFFFFF} + 1, "Atmel Generic 16-bit",
                             "six word address digits");
        for (std::int64_t word = 0; word <= last / 2 && last >= 0; ++word) {
            const std::uint8_t low = ByteOrFF(buffer, 2 * word);
            const std::uint8_t high = ByteOrFF(buffer, 2 * word + 1);
            if (low == 0xFF && high == 0xFF) {
                continue;
            }
            AppendHex(out, static_cast<std::uint32_t>(word), 6);
            out += ':';
            AppendHex(out, high, 2);
            AppendHex(out, low, 2);
            EndLine(out);
        }
    } else {
        RequireAddressesUpTo(buffer, 0xFFFF, "Atmel Generic 8-bit", "four address digits");
        for (std::int64_t address = 0; address <= last; ++address) {
            const std::uint8_t value = ByteOrFF(buffer, address);
            if (value == 0xFF) {
                continue;
            }
            AppendHex(out, static_cast<std::uint32_t>(address), 4);
            out += ':';
            AppendHex(out, value, 2);
            EndLine(out);
        }
    }
}

void WriteBst(const THexList& buffer, std::string& out) {
    const int last = buffer.LastUsedAddress();
    out.reserve(out.size() + static_cast<std::size_t>(last + 1) * 10);
    for (int address = 0; address <= last; ++address) {
        out += ByteToBin(buffer.Data()[address]);
        EndLine(out);
    }
}

} // namespace isp::records
