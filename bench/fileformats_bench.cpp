// Loading and saving the largest image (2 MB, AT17F16(A)) in Intel hex, Motorola and binary.
#include "fileformats/fileloader.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace isp {
namespace {

constexpr int kImageSize = 2 * 1024 * 1024;

// Random data with a quarter of the 16-byte lines erased, like a real configuration image.
THexList RandomImage() {
    THexList buffer;
    buffer.SetSize(kImageSize);
    std::mt19937 random(42);
    for (int line = 0; line < kImageSize; line += 16) {
        if (random() % 4 == 0) {
            continue;
        }
        for (int i = line; i < line + 16; ++i) {
            buffer.Data()[i] = static_cast<std::uint8_t>(random());
        }
    }
    return buffer;
}

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("isp-bench-" + name)).string();
}

void BM_Save(benchmark::State& state, int format) {
    THexList image = RandomImage();
    const std::string path = TempPath("save");
    for (auto _ : state) {
        const int result = format == ffBinary ? TFileLoader::SaveBinary(path, image)
                                              : TFileLoader::Save(path, image, format);
        if (result != 0) {
            state.SkipWithError("save failed");
        }
    }
    std::filesystem::remove(path);
}

void BM_Load(benchmark::State& state, int format) {
    THexList image = RandomImage();
    const std::string path = TempPath("load");
    if ((format == ffBinary ? TFileLoader::SaveBinary(path, image)
                            : TFileLoader::Save(path, image, format)) != 0) {
        state.SkipWithError("could not write the input file");
        return;
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    THexList buffer;
    buffer.SetSize(kImageSize);
    for (auto _ : state) {
        const int result = format == ffBinary ? TFileLoader::LoadBinary(path, buffer)
                                              : TFileLoader::LoadText(path, buffer);
        if (result != 0) {
            state.SkipWithError("load failed");
        }
    }
    std::filesystem::remove(path);
}

BENCHMARK_CAPTURE(BM_Load, intel, int{ffIntelHex32})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save, intel, int{ffIntelHex32})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, motorola, int{ffMotorolaS2})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save, motorola, int{ffMotorolaS2})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Load, binary, int{ffBinary})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save, binary, int{ffBinary})->Unit(benchmark::kMillisecond);

} // namespace
} // namespace isp
