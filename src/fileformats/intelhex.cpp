// Intel hex: Intellec 8/MDS (data and end records), MCS-86 (segment records) and Hex-32
// (linear address records). One reader and one writer serve all three.
#include "fileformats/records.h"

namespace isp::records {

int DetectIntel(const Lines& lines, bool checkSums) {
    int result = 0;
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        if (line.size() < 11 || line[0] != ':') {
            return 0;
        }
        const std::string_view rest = line.substr(1);
        if (rest.size() % 2 != 0 || !AllHexFrom(rest, 0)) {
            return 0;
        }
        const std::size_t bytes = rest.size() / 2;
        if (bytes - 5 != ByteAt(rest, 0)) {
            return 0;
        }
        if (checkSums) {
            unsigned sum = 0;
            for (std::size_t i = 0; i + 1 < bytes; ++i) {
                sum += ByteAt(rest, 2 * i);
            }
            if (ByteAt(rest, 2 * (bytes - 1)) != ((0x100 - (sum & 0xFF)) & 0xFF)) {
                return 0;
            }
        }
        switch (ByteAt(rest, 6)) {
        case 0x00:
            result = result ? result : 1;
            break;
        case 0x01:
            return result ? result : 1;
        case 0x02:
            result = result < 2 ? 2 : result;
            break;
        case 0x03:
        case 0x04:
        case 0x05:
            result = 3;
            break;
        default:
            return 0;
        }
    }
    return result;
}

int ReadIntel(const Lines& lines, THexList& buffer) {
    std::uint64_t segment = 0;
    std::uint64_t upper = 0;
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        const std::string_view rest = line.substr(1); // after ':'
        const unsigned count = ByteAt(rest, 0);
        const unsigned offset = ByteAt(rest, 2) * 256u + ByteAt(rest, 4);
        const unsigned type = ByteAt(rest, 6);
        const std::uint64_t value16 = ByteAt(rest, 8) * 256u + ByteAt(rest, 10);
        switch (type) {
        case 0x00: {
            const std::uint64_t base = upper * 65536 + segment * 16 + offset;
            for (unsigned j = 0; j < count; ++j) {
                Store(buffer, base + j, ByteAt(rest, 8 + 2 * j));
            }
            break;
        }
        case 0x01:
            return 0;
        case 0x02:
            segment = value16;
            break;
        case 0x04:
            upper = value16;
            break;
        default:
            break; // start addresses (03, 05) carry nothing for the buffer
        }
    }
    return 0; // every record loaded; a missing end record is not an error
}

void WriteIntel(const THexList& buffer, std::string& out) {
    const int last = buffer.LastUsedAddress();
    const int lastLine = LastLine(buffer);
    out.reserve(out.size() + static_cast<std::size_t>(lastLine + 1) * 45 + 32);
    if (last > 0xFFFF) {
        out += ":020000040000FA";
        EndLine(out);
    }
    bool wrapped = false;
    for (int line = 0; line <= lastLine; ++line) {
        const int k = LastDataInLine(buffer, line);
        if (line > 0 && line % 4096 == 0) {
            const unsigned page = static_cast<unsigned>(line) * 16 / 65536;
            out += ":02000004";
            AppendHex(out, page, 4);
            AppendHex(out, (0x100 - (((page & 0xFF) + 6) & 0xFF)) & 0xFF, 2);
            EndLine(out);
            wrapped = true;
        }
        if (k < 0) {
            continue;
        }
        unsigned offset = static_cast<unsigned>(line) * 16;
        if (wrapped) {
            offset &= 0xFFFF;
        }
        const unsigned count = static_cast<unsigned>(k) + 1;
        unsigned sum = count + (offset >> 8) + (offset & 0xFF);
        out += ':';
        AppendHex(out, count, 2);
        AppendHex(out, offset, 4);
        out += "00";
        for (int i = 0; i <= k; ++i) {
            const std::uint8_t byte = ByteOrFF(buffer, static_cast<std::int64_t>(line) * 16 + i);
            sum += byte;
            AppendHex(out, byte, 2);
        }
        AppendHex(out, (0x100 - (sum & 0xFF)) & 0xFF, 2);
        EndLine(out);
    }
    out += ":00000001FF";
    EndLine(out);
}

} // namespace isp::records
