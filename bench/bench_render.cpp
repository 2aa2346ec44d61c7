// The preview runs on every keystroke; the file layout and drawing on every save.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "makecode.h"
#include "stages.h"

namespace {

using namespace strimlo;

void BM_PreviewEan13(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(MakeCode::PreviewCode(kEAN13, "401234567890", "", "", 600, 300));
}
BENCHMARK(BM_PreviewEan13)->Unit(benchmark::kMicrosecond);

void BM_PreviewIsbnWithAddon(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(
        MakeCode::PreviewCode(kISBN13, "978-3-16-148410-0", "51299", "USD 12.99", 600, 300));
}
BENCHMARK(BM_PreviewIsbnWithAddon)->Unit(benchmark::kMicrosecond);

// A typical label: EAN-13, 100%, 300 dpi (for the rasters), each format, written to /tmp.
void BM_FileEan13At300Dpi(benchmark::State& state) {
  const FileFormat format = static_cast<FileFormat>(state.range(0));
  const std::string path = std::string("/tmp/strimlo-bench.") + fileExtension(format);
  for (auto _ : state)
    benchmark::DoNotOptimize(MakeCode::FinalCode(kEAN13, 2, "401234567890", "", "", 2, format, path));
  std::remove(path.c_str());
}
BENCHMARK(BM_FileEan13At300Dpi)->DenseRange(kEPS, kSVG)->Unit(benchmark::kMicrosecond);

// A 600 dpi label PNG in memory: the nearest preset (121 %, res 3) against 120 % on the
// dot grid, in the same run; the free size must cost no more.
void BM_Png600Dpi(benchmark::State& state) {
  Request request;
  request.data = "401234567890";
  request.format = Format::PNG;
  if (state.range(0) == 0) {
    request.size = 4;
    request.res = 3;
  } else {
    request.freeSize.magnification = 120.0;
    request.freeSize.dpi = 600;
  }
  for (auto _ : state) benchmark::DoNotOptimize(render(request));
  state.SetLabel(state.range(0) == 0 ? "preset 121 %" : "120 % snapped");
}
BENCHMARK(BM_Png600Dpi)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
