// detect and convert: the format service from the command line, with the Load and Save commands'
// rules for choosing between text and binary and for the written format.
#include "cli/args.h"
#include "cli/cli.h"
#include "cli/image_files.h"
#include "fileformats/fileloader.h"
#include "fileformats/textfile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ostream>
#include <system_error>

namespace isp::cli {

namespace {

constexpr long long kMaxBufferSize = 64LL * 1024 * 1024;

// Bytes as decimal, 0x-hex, or with a K (1024) or M (1024 * 1024) suffix.
std::int32_t ParseSize(const std::string& text) {
    std::size_t used = 0;
    long long value = -1;
    try {
        value = std::stoll(text, &used, 0);
    } catch (const std::exception&) {
        value = -1;
    }
    const std::string suffix = used < text.size() ? text.substr(used) : "";
    if (suffix == "K" || suffix == "k") {
        value *= 1024;
    } else if (suffix == "M" || suffix == "m") {
        value *= 1024 * 1024;
    } else if (!suffix.empty()) {
        value = -1;
    }
    if (value <= 0 || value > kMaxBufferSize) {
        throw UsageError("--size must be a byte count from 1 to 64M, not '" + text + "'");
    }
    return static_cast<std::int32_t>(value);
}

int ParseFormat(const std::string& text, std::int32_t size) {
    std::string name;
    for (char c : text) {
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (name == "ihex" || name == "intel" || name == "hex") {
        return size > 0x10000 ? ffIntelHex32 : ffIntel8;
    }
    const struct {
        const char* name;
        int format;
    } names[] = {{"srec", ffMotorolaS1}, {"motorola", ffMotorolaS1},  {"xtek", ffExtendedTektronix},
                 {"tek", ffTektronix},   {"gen16", ffAtmelGeneric16}, {"gen8", ffAtmelGeneric8},
                 {"bst", ffAtmelBst},    {"bin", ffBinary},           {"binary", ffBinary}};
    for (const auto& entry : names) {
        if (name == entry.name) {
            return entry.format;
        }
    }
    try {
        std::size_t used = 0;
        const int number = std::stoi(text, &used);
        if (used == text.size() && number >= ffIntel8 && number <= ffBinary) {
            return number;
        }
    } catch (const std::exception&) {
    }
    throw UsageError("unknown format '" + text +
                     "' (1-12, ihex, srec, xtek, tek, gen16, gen8, bst or bin)");
}

} // namespace

int DetectCommand(const std::vector<std::string>& words, std::ostream& out) {
    const Args args(words, {}, {});
    args.ExpectPositionals(1, 1, "FILE");
    const std::string& path = args.Positionals()[0];
    if (!PathExists(path)) {
        throw CommandError(path + ": file not found");
    }
    const int format = TFileLoader::Detect(path);
    out << format << ' ' << TFileLoader::FormatName(format) << '\n';
    return kExitOk;
}

int ConvertCommand(const std::vector<std::string>& words, std::ostream& out) {
    const Args args(words, {"size", "to"}, {"mirror"});
    args.ExpectPositionals(2, 2, "IN and OUT files");
    const auto sizeText = args.Value("size");
    if (!sizeText) {
        throw UsageError("convert needs --size N, the buffer size in bytes");
    }
    const std::int32_t size = ParseSize(*sizeText);
    const std::string& input = args.Positionals()[0];
    const std::string& output = args.Positionals()[1];
    const int format = args.Value("to") ? ParseFormat(*args.Value("to"), size)
                                        : TFileLoader::FormatForSaveExtension(output, size);

    THexList buffer;
    buffer.SetSize(size);
    const std::string loadedAs = LoadImageFile(input, buffer);
    if (args.Flag("mirror")) {
        for (std::int32_t i = 0; i < size; ++i) {
            buffer.Data()[i] = TFileLoader::ReverseBits(buffer.Data()[i]);
        }
    }
    std::string error;
    const int result = format == ffBinary ? TFileLoader::SaveBinary(output, buffer, &error)
                                          : TFileLoader::Save(output, buffer, format, &error);
    if (result != 0) {
        throw CommandError(error);
    }
    out << input << " (" << loadedAs << ") -> " << output << " (" << TFileLoader::FormatName(format)
        << ")\n";
    return kExitOk;
}

} // namespace isp::cli
