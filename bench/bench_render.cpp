// The preview runs on every keystroke; the file layout and drawing on every save.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "makecode.h"

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

}  // namespace

BENCHMARK_MAIN();
