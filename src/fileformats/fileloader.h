// The format service: detects, reads and writes every image format. Stateless; every function
// takes a file name (or lines) and a buffer.
#pragma once

#include "model/hexlist.h"

#include <cstdint>
#include <string>
#include <vector>

namespace isp {

// Format numbers. Intel (1-3) and Motorola (4-6) numbers only record what detection found; one
// reader and one writer serve each family.
enum TFileFormat : int {
    ffEmptyOrBinary = -2,
    ffFileNotFound = -1,
    ffAutoDetect = 0,
    ffIntel8 = 1,
    ffIntelMcs86 = 2,
    ffIntelHex32 = 3,
    ffMotorolaS1 = 4,
    ffMotorolaS2 = 5,
    ffMotorolaS3 = 6,
    ffExtendedTektronix = 7,
    ffTektronix = 8,
    ffAtmelGeneric16 = 9,
    ffAtmelGeneric8 = 10,
    ffAtmelBst = 11,
    ffBinary = 12,
};

class TFileLoader {
public:
    // Detectors skip the record checksum comparisons; the readers never compare them.
    static constexpr bool IgnoreChecksums = true;

    // 1..11 for a recognised text, 0 when no detector accepts it, -2 for a text without lines,
    // -1 when the file does not exist. A file that exists but cannot be read raises
    // std::system_error.
    static int Detect(const std::string& fileName);
    static int Detect(const std::vector<std::string>& lines);
    // Detect on text already in memory (split and cut at NUL as a file would be).
    static int DetectText(const std::string& text);

    // 0: loaded; -1: not a recognised text, or a record addressed a byte outside the buffer (the
    // bytes before it stay). The format argument is not used: the text decides. Sets FileName
    // and clears the buffer first; open and read errors raise std::system_error.
    static int LoadText(const std::string& fileName, THexList& buffer, int format = 0);
    // LoadText on text already in memory; FileName is left alone, the buffer is cleared first.
    // detected, when given, receives what Detect says of the text.
    static int LoadTextData(std::string text, THexList& buffer, int* detected = nullptr);

    // 0: loaded; -1: the file cannot be opened or read, or does not fit (buffer untouched). A file
    // made only of hex digit characters is decoded two digits per byte.
    static int LoadBinary(const std::string& fileName, THexList& buffer);

    // 0: written; 1: failed (error says why). The file is replaced only when it has been written
    // completely; a failed save leaves any existing file as it was. FileName is not changed.
    static int Save(const std::string& fileName, const THexList& buffer, int format,
                    std::string* error = nullptr);

    // The text Save writes for a format (CR LF line ends). Raises std::runtime_error when the
    // format's address fields cannot hold the image.
    static std::string FormatText(const THexList& buffer, int format);

    // 0: written (FileName becomes fileName); 1: failed, with the same guarantees as Save.
    static int SaveBinary(const std::string& fileName, THexList& buffer,
                          std::string* error = nullptr);

    // Display name of a format number -2..12; raises EUnknownFileType otherwise.
    static std::string FormatName(int format);

    // The byte with its bit order mirrored.
    static std::uint8_t ReverseBits(std::uint8_t value);

    // The format the Save command writes for a path, from its extension (letter case counts):
    // ".hex" gives 3 above 64 KB devices and 1 otherwise, ".s90" 6, ".bst" 11, ".bin" 12,
    // anything else 3.
    static int FormatForSaveExtension(const std::string& fileName, std::int32_t deviceSize);
};

} // namespace isp
