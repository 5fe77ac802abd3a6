// libFuzzer target: arbitrary bytes through detection and loading, then every writer's output
// loaded back must give the same buffer.
#include "fileformats/fileloader.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr int kBufferSize = 1024;

isp::THexList Blank() {
    isp::THexList buffer;
    buffer.SetSize(kBufferSize);
    return buffer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int format = isp::TFileLoader::DetectText(text);
    if (format < isp::ffEmptyOrBinary || format > isp::ffAtmelBst) {
        std::abort();
    }
    isp::THexList buffer = Blank();
    const int result = isp::TFileLoader::LoadTextData(text, buffer);
    if (result != 0 && result != -1) {
        std::abort();
    }
    if (format <= 0 && result != -1) {
        std::abort(); // nothing recognised must not count as loaded
    }
    for (int writer = isp::ffIntel8; writer <= isp::ffAtmelBst; ++writer) {
        std::string written;
        try {
            written = isp::TFileLoader::FormatText(buffer, writer);
        } catch (const std::runtime_error&) {
            continue; // refused: the image does not fit the format's address fields
        }
        isp::THexList back = Blank();
        const int reloaded = isp::TFileLoader::LoadTextData(written, back);
        // A buffer of nothing but 0xFF writes no data records; BST and Atmel files may then be
        // empty, which loads nothing, as it should.
        if (reloaded != 0 && !written.empty()) {
            std::abort();
        }
        if (std::memcmp(back.Data(), buffer.Data(), kBufferSize) != 0) {
            std::abort();
        }
    }
    return 0;
}
