#include "fileformats/fileloader.h"

#include "fileformats/records.h"
#include "fileformats/textfile.h"
#include "model/isperrors.h"

#include <algorithm>
#include <filesystem>

namespace isp {

namespace {

using records::Lines;

const char* const kFormatNames[] = {
    "File empty or binary",
    "File not found",
    "Auto Detect (Intel, Motorola, Tektronix, Atmel) |*.*",
    "Intel Intellex 8/MDS |*.hex",
    "Intel MCS-86 |*.hex",
    "Intel Hex-32 |*.hex",
    "Motorola EXORciser |*.s",
    "Motorola EXORmacs |*.s",
    "Motorola 32-bit |*.s",
    "Extended Tektronix",
    "Tektronix",
    "Atmel Generic 16-Bit |*.gen",
    "Atmel Generic 8-Bit |*.gen",
    "Atmel BST |*.bst",
    "Binary File |*.bin",
};

int DetectLines(const Lines& lines) {
    if (lines.empty()) {
        return ffEmptyOrBinary;
    }
    const bool checkSums = !TFileLoader::IgnoreChecksums;
    if (int f = records::DetectIntel(lines, checkSums)) {
        return f;
    }
    if (int f = records::DetectMotorola(lines, checkSums)) {
        return f;
    }
    if (int f = records::DetectExtendedTektronix(lines, checkSums)) {
        return f;
    }
    if (int f = records::DetectTektronix(lines, checkSums)) {
        return f;
    }
    if (int f = records::DetectAtmelGeneric(lines)) {
        return f;
    }
    return records::DetectBst(lines);
}

bool IsHexDigitByte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

} // namespace

int TFileLoader::Detect(const std::string& fileName) {
    if (!PathExists(fileName)) {
        return ffFileNotFound;
    }
    return DetectLines(SplitText(ReadWholeFile(fileName)).lines);
}

int TFileLoader::Detect(const std::vector<std::string>& lines) {
    const Lines views(lines.begin(), lines.end());
    return DetectLines(views);
}

int TFileLoader::DetectText(const std::string& text) {
    return DetectLines(SplitText(text).lines);
}

int TFileLoader::LoadText(const std::string& fileName, THexList& buffer, int /*format*/) {
    buffer.FileName = fileName;
    buffer.Clear();
    return LoadTextData(ReadWholeFile(fileName), buffer);
}

int TFileLoader::LoadTextData(std::string text, THexList& buffer, int* detected) {
    const TextLines split = SplitText(std::move(text));
    buffer.Clear();
    const Lines& lines = split.lines;
    const int format = DetectLines(lines);
    if (detected) {
        *detected = format;
    }
    try {
        switch (format) {
        case ffIntel8:
        case ffIntelMcs86:
        case ffIntelHex32:
            return records::ReadIntel(lines, buffer);
        case ffMotorolaS1:
        case ffMotorolaS2:
        case ffMotorolaS3:
            return records::ReadMotorola(lines, buffer);
        case ffExtendedTektronix:
            return records::ReadExtendedTektronix(lines, buffer);
        case ffTektronix:
            return records::ReadTektronix(lines, buffer);
        case ffAtmelGeneric16:
            return records::ReadAtmelGeneric(lines, buffer, true);
        case ffAtmelGeneric8:
            return records::ReadAtmelGeneric(lines, buffer, false);
        case ffAtmelBst:
            return records::ReadBst(lines, buffer);
        default:
            return -1;
        }
    } catch (const EISPException&) {
        return -1; // a record addressed a byte outside the buffer; what fitted stays
    }
}

int TFileLoader::LoadBinary(const std::string& fileName, THexList& buffer) {
    // Even a hex-digit text needs no more than two characters per buffer byte: refuse anything
    // larger before reading it into memory.
    std::error_code ec;
    const auto fileSize = std::filesystem::file_size(fileName, ec);
    if (ec || fileSize > 2 * static_cast<std::uintmax_t>(buffer.Size()) + 1) {
        return -1;
    }
    std::string data;
    try {
        data = ReadWholeFile(fileName);
    } catch (const std::exception&) {
        return -1;
    }
    const bool hexDigits = std::all_of(data.begin(), data.end(), IsHexDigitByte);
    const std::size_t bytes = hexDigits ? data.size() / 2 : data.size();
    if (bytes > static_cast<std::size_t>(buffer.Size())) {
        return -1;
    }
    buffer.FileName = fileName;
    buffer.Clear();
    std::uint8_t* values = buffer.Data();
    if (hexDigits) {
        for (std::size_t i = 0; i < bytes; ++i) {
            values[i] = HexPairToByte(std::string_view(data).substr(2 * i, 2));
        }
    } else {
        std::copy(data.begin(), data.end(), values);
    }
    return 0;
}

std::string TFileLoader::FormatText(const THexList& buffer, int format) {
    std::string out;
    switch (format) {
    case ffIntel8:
    case ffIntelMcs86:
    case ffIntelHex32:
        records::WriteIntel(buffer, out);
        break;
    case ffMotorolaS1:
    case ffMotorolaS2:
    case ffMotorolaS3:
        records::WriteMotorola(buffer, out);
        break;
    case ffExtendedTektronix:
        records::WriteExtendedTektronix(buffer, out);
        break;
    case ffTektronix:
        records::WriteTektronix(buffer, out);
        break;
    case ffAtmelGeneric16:
        records::WriteAtmelGeneric(buffer, out, true);
        break;
    case ffAtmelGeneric8:
        records::WriteAtmelGeneric(buffer, out, false);
        break;
    case ffAtmelBst:
        records::WriteBst(buffer, out);
        break;
    default:
        break; // no records: an empty file
    }
    return out;
}

int TFileLoader::Save(const std::string& fileName, const THexList& buffer, int format,
                      std::string* error) {
    try {
        WriteFileAtomically(fileName, FormatText(buffer, format));
        return 0;
    } catch (const std::exception& e) {
        if (error) {
            *error = e.what();
        }
        return 1;
    }
}

int TFileLoader::SaveBinary(const std::string& fileName, THexList& buffer, std::string* error) {
    try {
        WriteFileAtomically(fileName, std::string_view(reinterpret_cast<const char*>(buffer.Data()),
                                                       static_cast<std::size_t>(buffer.Size())));
    } catch (const std::exception& e) {
        if (error) {
            *error = e.what();
        }
        return 1;
    }
    buffer.FileName = fileName;
    return 0;
}

std::string TFileLoader::FormatName(int format) {
    if (format < ffEmptyOrBinary || format > ffBinary) {
        throw EUnknownFileType(msg::UnknownFileId);
    }
    return kFormatNames[format - ffEmptyOrBinary];
}

std::uint8_t TFileLoader::ReverseBits(std::uint8_t value) {
    unsigned result = 0;
    for (int i = 0; i < 8; ++i) {
        result = result * 2 + (value & 1u);
        value = static_cast<std::uint8_t>(value / 2);
    }
    return static_cast<std::uint8_t>(result);
}

int TFileLoader::FormatForSaveExtension(const std::string& fileName, std::int32_t deviceSize) {
    const auto slash = fileName.find_last_of("/\\");
    const auto dot = fileName.rfind('.');
    const std::string ext =
        (dot == std::string::npos || (slash != std::string::npos && dot < slash))
            ? std::string()
            : fileName.substr(dot);
    if (ext == ".hex") {
        return deviceSize > 0x10000 ? ffIntelHex32 : ffIntel8;
    }
    if (ext == ".s90") {
        return ffMotorolaS3;
    }
    if (ext == ".bst") {
        return ffAtmelBst;
    }
    if (ext == ".bin") {
        return ffBinary;
    }
    return ffIntelHex32;
}

} // namespace isp
