// A full repaint of the hex viewer on the largest buffer (2 MB), offscreen. Target: under 5 ms.
#include "ui/hexwindow.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

void BM_HexWindowFullRepaint(benchmark::State& state) {
    isp::THexList buffer;
    buffer.SetSize(2 * 1024 * 1024);
    for (int i = 0; i < buffer.Size(); ++i) {
        buffer.Data()[i] = static_cast<std::uint8_t>(i * 7);
    }
    isp::THexWindow view;
    view.resize(760, 1000); // about 60 lines
    view.SetData(&buffer);
    view.Model().MoveTo(1024 * 1024);
    view.Model().Scroll(isp::THexScroll::Thumb, 65536);
    QImage image(view.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        view.viewport()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["lines"] = view.Model().VisibleLines() + 1;
}
BENCHMARK(BM_HexWindowFullRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
