#include "fileformats/records.h"

#include "model/isperrors.h"

#include <cstdio>

namespace isp::records {

bool AllHexFrom(std::string_view line, std::size_t i) {
    for (; i < line.size(); ++i) {
        if (!kDigits.isHex[static_cast<unsigned char>(line[i])]) {
            return false;
        }
    }
    return true;
}

unsigned DigitSum(std::string_view line, std::size_t from, std::size_t to) {
    unsigned sum = 0;
    for (std::size_t i = from; i < to && i < line.size(); ++i) {
        sum += HexDigitValue(line[i]);
    }
    return sum;
}

void Store(THexList& buffer, std::uint64_t address, std::uint8_t value) {
    if (address > 0xFFFFFFFFu) {
        throw EISPException(msg::SetValueOutOfRange(static_cast<std::uint32_t>(address)));
    }
    buffer.SetValue(static_cast<std::uint32_t>(address), value);
}

int LastLine(const THexList& buffer) {
    const int last = buffer.LastUsedAddress();
    return last < 0 ? -1 : last / 16;
}

std::uint8_t ByteOrFF(const THexList& buffer, std::int64_t address) {
    return (address >= 0 && address < buffer.Size())
               ? buffer.Data()[static_cast<std::size_t>(address)]
               : 0xFF;
}

int LastDataInLine(const THexList& buffer, int line) {
    const std::int64_t base = static_cast<std::int64_t>(line) * 16;
    for (int k = 15; k >= 0; --k) {
        if (ByteOrFF(buffer, base + k) != 0xFF) {
            return k;
        }
    }
    return -1;
}

void RequireAddressesUpTo(const THexList& buffer, std::int64_t limit, const char* formatName,
                          const char* fieldWidth) {
    const std::int64_t walkEnd =
        std::min<std::int64_t>(buffer.LastUsedAddress(), buffer.Size() - 1);
    for (std::int64_t address = walkEnd; address > limit; --address) {
        if (buffer.Data()[static_cast<std::size_t>(address)] != 0xFF) {
            char text[200];
            std::snprintf(text, sizeof text,
                          "%s files hold addresses up to 0x%llX only (%s); this image has data at "
                          "0x%llX. Save it as Intel hex, Motorola or binary instead.",
                          formatName, static_cast<long long>(limit), fieldWidth,
                          static_cast<long long>(address));
            throw EAddressTooWide(text);
        }
    }
}

void AppendHex(std::string& out, std::uint32_t value, int digits) {
    static const char kHexDigits[] = "0123456789ABCDEF";
    char text[8];
    for (int i = digits - 1; i >= 0; --i) {
        text[i] = kHexDigits[value & 0xF];
        value >>= 4;
    }
    out.append(text, static_cast<std::size_t>(digits));
}

} // namespace isp::records
