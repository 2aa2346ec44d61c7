// Encoding time of the largest raster file (ISBN with add-on, size 9, 3200 dpi:
// 14012 x 7920 pixels) in each format, written to a file under /tmp. The source is
// synthetic: bars of 82-pixel modules over most of the height, then a band of
// glyph-like blobs with grey edges, as the digits under the bars would give.
// Run one format per process under /usr/bin/time -v for its peak memory, e.g.
//   bench_encode --benchmark_filter=Tiff
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "encode.h"

namespace {

constexpr int kWidth = 14012;
constexpr int kHeight = 7920;
constexpr int kModule = 82;
constexpr int kTextTop = 6900;  // rows below this hold the digit band

std::uint32_t hash(std::uint32_t v) {
  v ^= v >> 16;
  v *= 0x7feb352dU;
  v ^= v >> 15;
  v *= 0x846ca68bU;
  return v ^ (v >> 16);
}

bool isBar(int x) { return (hash(static_cast<std::uint32_t>(x / kModule)) & 1U) != 0; }

// Blobs of 40-pixel cells inside 300 x 500 glyph boxes, grey at the cell edges.
std::uint8_t glyphInk(int x, int y) {
  const int box = x / 600;
  if (x % 600 >= 300 || y < kTextTop + 200 || y >= kTextTop + 700) return 0;
  const auto cell = hash(static_cast<std::uint32_t>(box * 977 + (x % 600) / 40 * 31 + y / 40));
  if ((cell & 1U) == 0) return 0;
  return (x % 40 == 0 || y % 40 == 0) ? 128 : 255;
}

void fillRow(int y, std::uint8_t* row) {
  for (int x = 0; x < kWidth; ++x) {
    row[x] = y < kTextTop ? (isBar(x) ? 255 : 0) : glyphInk(x, y);
  }
}

strimlo::RasterSource barsSource() {
  strimlo::RasterSource s;
  s.width = kWidth;
  s.height = kHeight;
  s.dpi = 3200;
  s.rows = [](int first, int count, std::uint8_t* dst, std::size_t stride) {
    for (int r = 0; r < count; ++r) fillRow(first + r, dst + r * stride);
    return true;
  };
  return s;
}

void encodeToFile(benchmark::State& state, strimlo::FileFormat format, const char* ext) {
  const strimlo::RasterSource source = barsSource();
  const std::string path = std::string("/tmp/strimlo-bench.") + ext;
  long bytes = 0;
  for (auto _ : state) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr || !strimlo::encodeImage(source, format, out)) state.SkipWithError("encode failed");
    if (out != nullptr) {
      bytes = std::ftell(out);
      std::fclose(out);
    }
  }
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

// The source alone, to separate its cost from the encoder's.
void BM_Source(benchmark::State& state) {
  const strimlo::RasterSource source = barsSource();
  std::string strip(static_cast<std::size_t>(kWidth) * 256, '\0');
  for (auto _ : state) {
    for (int y = 0; y < kHeight; y += 256) {
      const int n = y + 256 <= kHeight ? 256 : kHeight - y;
      source.rows(y, n, reinterpret_cast<std::uint8_t*>(strip.data()), kWidth);
    }
    benchmark::DoNotOptimize(strip.data());
  }
}

void BM_Png(benchmark::State& state) { encodeToFile(state, strimlo::kPNG, "png"); }
void BM_Tiff(benchmark::State& state) { encodeToFile(state, strimlo::kTIFF, "tiff"); }
void BM_Jpeg(benchmark::State& state) { encodeToFile(state, strimlo::kJPEG, "jpg"); }

}  // namespace

BENCHMARK(BM_Source)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Png)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Tiff)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Jpeg)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
