// Tektronix (16-bit addresses) and Extended Tektronix (variable-length addresses) records.
#include "fileformats/records.h"

namespace isp::records {

int DetectExtendedTektronix(const Lines& lines, bool checkSums) {
    int result = 0;
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        if (line.size() < 6 || line[0] != '%') {
            return 0;
        }
        const char type = Upper(line[3]);
        if (type == '3') {
            continue; // symbol record
        }
        if (type != '6' && type != '8') {
            return 0;
        }
        const std::string_view rest = line.substr(1);
        if (!AllHexFrom(rest, 0) || ByteAt(rest, 0) != rest.size()) {
            return 0;
        }
        if (checkSums) {
            const unsigned sum = DigitSum(rest, 0, 3) + DigitSum(rest, 5, rest.size());
            if (ByteAt(rest, 3) != (sum & 0xFF)) {
                return 0;
            }
        }
        result = 7;
        if (type == '8') {
            return result;
        }
    }
    return result;
}

int DetectTektronix(const Lines& lines, bool checkSums) {
    int result = 0;
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        if (line.size() < 9 || line[0] != '/') {
            return 0;
        }
        const std::string_view rest = line.substr(1);
        if (rest.size() % 2 != 0 || !AllHexFrom(rest, 0)) {
            return 0;
        }
        const unsigned count = ByteAt(rest, 4);
        // The header checksum is always compared: it is what tells this format from others.
        if (ByteAt(rest, 6) != (DigitSum(rest, 0, 6) & 0xFF)) {
            return 0;
        }
        if (count == 0 && rest.size() == 8) {
            return 8; // termination record
        }
        if (rest.size() / 2 - 5 != count) {
            return 0;
        }
        if (checkSums &&
            ByteAt(rest, rest.size() - 2) != (DigitSum(rest, 8, rest.size() - 2) & 0xFF)) {
            return 0;
        }
        result = 8;
    }
    return result;
}

int ReadExtendedTektronix(const Lines& lines, THexList& buffer) {
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        const char type = At(line, 3);
        if (type == '8') {
            return 0;
        }
        if (type != '6') {
            continue;
        }
        std::string_view rest = line.size() > 6 ? line.substr(6) : std::string_view();
        const std::size_t digits = HexDigitValue(At(rest, 0));
        std::uint64_t address = 0;
        for (std::size_t i = 1; i <= digits; ++i) {
            address = address * 16 + HexDigitValue(At(rest, i));
        }
        rest = rest.size() > digits + 1 ? rest.substr(digits + 1) : std::string_view();
        for (std::size_t j = 0; j < rest.size() / 2; ++j) {
            Store(buffer, address + j, ByteAt(rest, 2 * j));
        }
    }
    return 0; // every record loaded; a missing termination record is not an error
}

int ReadTektronix(const Lines& lines, THexList& buffer) {
    for (const std::string_view line : lines) {
        if (line.empty()) {
            continue;
        }
        const std::uint64_t address = ByteAt(line, 1) * 256u + ByteAt(line, 3);
        const unsigned count = ByteAt(line, 5);
        if (count == 0) {
            return 0;
        }
        for (unsigned j = 0; j < count; ++j) {
            Store(buffer, address + j, ByteAt(line, 9 + 2 * static_cast<std::size_t>(j)));
        }
    }
    return 0; // every record loaded; a missing termination record is not an error
}

void WriteTektronix(const THexList& buffer, std::string& out) {
    RequireAddressesUpTo(buffer, 0xFFFF, "Tektronix", "four address digits");
    const int lastLine = LastLine(buffer);
    for (int line = 0; line <= lastLine; ++line) {
        const int k = LastDataInLine(buffer, line);
        if (k < 0) {
            continue;
        }
        const unsigned address = static_cast<unsigned>(line) * 16;
        const std::size_t start = out.size();
        out += '/';
        AppendHex(out, address, 4);
        AppendHex(out, static_cast<unsigned>(k) + 1, 2);
        AppendHex(out, DigitSum(out, start + 1, out.size()) & 0xFF, 2);
        const std::size_t dataStart = out.size();
        for (int i = 0; i <= k; ++i) {
            AppendHex(out, ByteOrFF(buffer, static_cast<std::int64_t>(address) + i), 2);
        }
        AppendHex(out, DigitSum(out, dataStart, out.size()) & 0xFF, 2);
        EndLine(out);
    }
    out += "/00000000";
    EndLine(out);
}

void WriteExtendedTektronix(const THexList& buffer, std::string& out) {
    RequireAddressesUpTo(buffer, 0xFFFFF, "Extended Tektronix", "five address digits");
    const int lastLine = LastLine(buffer);
    std::string head;
    std::string body;
    for (int line = 0; line <= lastLine; ++line) {
        const int k = LastDataInLine(buffer, line);
        if (k < 0) {
            continue;
        }
        const unsigned address = static_cast<unsigned>(line) * 16;
        head.assign("%");
        AppendHex(head, 2 * (static_cast<unsigned>(k) + 1) + 11, 2);
        head += '6';
        body.assign("5");
        AppendHex(body, address, 5);
        for (int i = 0; i <= k; ++i) {
            AppendHex(body, ByteOrFF(buffer, static_cast<std::int64_t>(address) + i), 2);
        }
        const unsigned sum = DigitSum(head, 1, head.size()) + DigitSum(body, 0, body.size());
        out += head;
        AppendHex(out, sum & 0xFF, 2);
        out += body;
        EndLine(out);
    }
    out += "%0E81E800000000";
    EndLine(out);
}

} // namespace isp::records
