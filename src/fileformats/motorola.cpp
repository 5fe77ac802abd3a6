// Motorola S-records: S1/S9 (EXORciser), S2/S8 (EXORmacs) and S3/S7 (32-bit). Written as S1
// records, switching to S2 above 64 KB, and always ended with S9.
#include "fileformats/records.h"

namespace isp::records {

int DetectMotorola(const Lines& lines, bool checkSums) {
    int result = 0;
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        if (line.size() < 10 || line[0] != 'S' || line[1] < '0' || line[1] > '9') {
            return 0;
        }
        const std::string_view rest = line.substr(2);
        if (rest.size() % 2 != 0 || !AllHexFrom(rest, 0)) {
            return 0;
        }
        const std::size_t bytes = rest.size() / 2;
        if (bytes - 1 != ByteAt(rest, 0)) {
            return 0;
        }
        if (checkSums) {
            unsigned sum = 0;
            for (std::size_t i = 0; i + 1 < bytes; ++i) {
                sum += ByteAt(rest, 2 * i);
            }
            if (ByteAt(rest, 2 * (bytes - 1)) != (~sum & 0xFF)) {
                return 0;
            }
        }
        switch (line[1]) {
        case '0':
        case '1':
            result = result ? result : 4;
            break;
        case '9':
            return result ? result : 4;
        case '2':
        case '8':
            result = result < 5 ? 5 : result;
            break;
        case '3':
        case '7':
            result = 6;
            break;
        case '5':
        case '6':
            break; // record counts, written by most tools; they carry no data
        default:
            return 0; // S4 is reserved
        }
    }
    return result;
}

int ReadMotorola(const Lines& lines, THexList& buffer) {
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        const char type = line[1];
        const std::string_view rest = line.substr(2);
        const int count = ByteAt(rest, 0);
        int addressBytes = 0;
        switch (type) {
        case '1':
            addressBytes = 2;
            break;
        case '2':
            addressBytes = 3;
            break;
        case '3':
            addressBytes = 4;
            break;
        case '7':
        case '8':
        case '9':
            return 0;
        default:
            continue; // header and record counts
        }
        std::uint64_t address = 0;
        for (int i = 0; i < addressBytes; ++i) {
            address = address * 256 + ByteAt(rest, 2 + 2 * static_cast<std::size_t>(i));
        }
        const int dataBytes = count - addressBytes - 1;
        const std::size_t dataStart = 2 + 2 * static_cast<std::size_t>(addressBytes);
        for (int j = 0; j < dataBytes; ++j) {
            Store(buffer, address + static_cast<unsigned>(j),
                  ByteAt(rest, dataStart + 2 * static_cast<std::size_t>(j)));
        }
    }
    return 0; // every record loaded; a missing end record is not an error
}

void WriteMotorola(const THexList& buffer, std::string& out) {
    RequireAddressesUpTo(buffer, 0xFFFFFF, "Motorola S-record", "six address digits");
    const int lastLine = LastLine(buffer);
    out.reserve(out.size() + static_cast<std::size_t>(lastLine + 1) * 46 + 16);
    bool wide = false;
    for (int line = 0; line <= lastLine; ++line) {
        const int k = LastDataInLine(buffer, line);
        if (k < 0) {
            continue;
        }
        const unsigned address = static_cast<unsigned>(line) * 16;
        wide = wide || address > 0xFFFF;
        const unsigned count = static_cast<unsigned>(k) + (wide ? 5 : 4);
        unsigned sum = count + (address & 0xFF) + ((address >> 8) & 0xFF);
        out += wide ? "S2" : "S1";
        AppendHex(out, count, 2);
        if (wide) {
            sum += (address >> 16) & 0xFF;
            AppendHex(out, address, 6);
        } else {
            AppendHex(out, address, 4);
        }
        for (int i = 0; i <= k; ++i) {
            const std::uint8_t byte = ByteOrFF(buffer, static_cast<std::int64_t>(address) + i);
            sum += byte;
            AppendHex(out, byte, 2);
        }
        AppendHex(out, ~sum & 0xFF, 2);
        EndLine(out);
    }
    out += "S9030000FC";
    EndLine(out);
}

} // namespace isp::records
