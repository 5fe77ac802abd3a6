// Whole-buffer walks on the largest device buffer (2 MB, AT17F16(A)). Target: well under 50 ms
// each, so device switches, loads and verifies never wait on the buffer.
#include "model/hexlist.h"

#include <benchmark/benchmark.h>

namespace isp {
namespace {

constexpr int kLargestBuffer = 2 * 1024 * 1024;

THexList LargestBuffer() {
    THexList list;
    list.SetSize(kLargestBuffer);
    return list;
}

void BM_SetSize(benchmark::State& state) {
    for (auto _ : state) {
        THexList list;
        list.SetSize(kLargestBuffer);
        benchmark::DoNotOptimize(list.Data());
    }
}
BENCHMARK(BM_SetSize)->Unit(benchmark::kMillisecond);

void BM_Clear(benchmark::State& state) {
    THexList list = LargestBuffer();
    for (auto _ : state) {
        list.Clear();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Clear)->Unit(benchmark::kMillisecond);

void BM_Fill(benchmark::State& state) {
    THexList list = LargestBuffer();
    for (auto _ : state) {
        list.Fill(0, kLargestBuffer - 1, 0x00);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Fill)->Unit(benchmark::kMillisecond);

void BM_MarkAllFailed(benchmark::State& state) {
    THexList list = LargestBuffer();
    for (auto _ : state) {
        list.MarkAllFailed();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MarkAllFailed)->Unit(benchmark::kMillisecond);

// Worst case for the scans: everything blank, so they walk the whole buffer.
void BM_LastUsedAddressBlank(benchmark::State& state) {
    THexList list = LargestBuffer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.LastUsedAddress());
    }
}
BENCHMARK(BM_LastUsedAddressBlank)->Unit(benchmark::kMillisecond);

void BM_UsedLengthBlank(benchmark::State& state) {
    THexList list = LargestBuffer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(list.UsedLength());
    }
}
BENCHMARK(BM_UsedLengthBlank)->Unit(benchmark::kMillisecond);

// The way verify and the hex viewer touch the buffer: one checked access per address.
void BM_CheckedWalk(benchmark::State& state) {
    THexList list = LargestBuffer();
    for (auto _ : state) {
        for (std::uint32_t a = 0; a < kLargestBuffer; ++a) {
            list.SetStatus(a, list.GetValue(a) == 0xFF ? ps_verified : ps_failed);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CheckedWalk)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace isp
