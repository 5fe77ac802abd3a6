#include "fileformats/textfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace isp {

namespace {

std::system_error FileError(int error, const std::string& what, const std::string& fileName) {
    return std::system_error(error ? error : EIO, std::generic_category(), what + " " + fileName);
}

std::string TemporaryNameBeside(const fs::path& target) {
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(random()));
    fs::path dir = target.parent_path();
    if (dir.empty()) {
        dir = ".";
    }
    return (dir / ("." + target.filename().string() + suffix)).string();
}

} // namespace

TextLines SplitText(std::string text) {
    if (const auto nul = text.find('\0'); nul != std::string::npos) {
        text.resize(nul);
    }
    TextLines result;
    result.text = std::make_unique<std::string>(std::move(text));
    const std::string_view all(*result.text);
    result.lines.reserve(static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n')) + 1);
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = start;
        while (end < all.size() && all[end] != '\r' && all[end] != '\n') {
            ++end;
        }
        result.lines.push_back(all.substr(start, end - start));
        if (end < all.size() && all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') {
            ++end;
        }
        start = end + 1;
    }
    return result;
}

std::string ReadWholeFile(const std::string& fileName) {
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file) {
        throw FileError(errno, "Cannot open", fileName);
    }
    // Size the string once from the file's length, then keep reading in case it grew.
    std::string data;
    std::error_code ec;
    const auto expected = fs::file_size(fileName, ec);
    std::size_t have = 0;
    data.resize(ec ? std::size_t{1} << 16 : static_cast<std::size_t>(expected) + 1);
    for (;;) {
        const std::size_t got = std::fread(&data[have], 1, data.size() - have, file);
        have += got;
        if (have < data.size()) {
            break;
        }
        data.resize(data.size() * 2);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        throw FileError(error, "Cannot read", fileName);
    }
    data.resize(have);
    return data;
}

bool PathExists(const std::string& fileName) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(fileName, ec)) && fs::exists(fileName, ec);
}

void WriteFileAtomically(const std::string& fileName, std::string_view data) {
    std::error_code ec;
    fs::path target(fileName);
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) {
            target = resolved;
        }
    }
    const std::string temporary = TemporaryNameBeside(target);
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (!file) {
        throw FileError(errno, "Cannot write", fileName);
    }
    errno = 0;
    bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
    ok = ok && std::fflush(file) == 0;
    int error = ok ? 0 : errno;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        fs::remove(temporary, ec);
        throw FileError(error, "Cannot write", fileName);
    }
    const auto existing = fs::status(target, ec);
    if (!ec && fs::is_regular_file(existing)) {
        fs::permissions(temporary, existing.permissions(), ec);
    }
    std::error_code renameError;
    fs::rename(temporary, target, renameError);
    if (renameError) {
        fs::remove(temporary, ec);
        throw FileError(renameError.value(), "Cannot write", fileName);
    }
}

} // namespace isp
