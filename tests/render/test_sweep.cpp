// Every size at 300, 600 and 1200 dpi, written as PNG and read back by zbarimg: each file
// must give exactly the digits and the add-on it was made for; and free sizes on the
// printer's dot grid. Labelled "sweep".
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <thread>

#include "makecode.h"
#include "stages.h"
#include "test_support.h"

namespace strimlo {
namespace {

using test::TempDir;
using test::zbarDecode;

struct Sample {
  CodeType type;
  const char* data;
  const char* addon;
  std::vector<std::string> expected;  // zbarimg's lines, sorted
};

// Data that once split a bar at some size (the first two, and the ISBN), and a few more.
const std::vector<Sample> kSamples = {
    {kEAN13, "590123412345", "", {"EAN-13:5901234123457"}},
    {kEAN13, "518190937865", "", {"EAN-13:5181909378652"}},
    {kEAN13, "401234567890", "", {"EAN-13:4012345678901"}},
    {kEAN8, "9638507", "", {"EAN-8:96385074"}},
    {kEAN8, "4012345", "", {"EAN-8:40123455"}},
    {kISBN13, "9781916146100", "12345", {"EAN-13:9781916146105", "EAN-5:12345"}},
    {kISBN13, "978-3-16-148410-0", "51299", {"EAN-13:9783161484100", "EAN-5:51299"}},
};

struct Outcome {
  std::string what;
  std::vector<std::string> decoded;
  const Sample* sample;
};

Outcome makeAndRead(const Sample& s, SizeIndex size, ResolutionIndex res, const TempDir& dir) {
  const std::string what = std::string(codeTypeName(s.type)) + " " + s.data + " size " +
                           std::to_string(size) + " at " +
                           std::to_string(static_cast<int>(getResolution(res))) + " dpi";
  std::string name = what;
  for (char& c : name)
    if (c == ' ') c = '_';
  const std::string path = dir.file(name + ".png");
  if (!MakeCode::FinalCode(s.type, size, s.data, s.addon, "", res, kPNG, path)) return {what, {}, &s};
  Outcome out{what, zbarDecode(path), &s};
  std::filesystem::remove(path);
  return out;
}

TEST(ScanSweep, EverySizeAt300To1200DpiDecodesToItsDigits) {
  if (!test::haveTool("zbarimg")) GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  TempDir dir;
  std::vector<std::future<Outcome>> pending;
  const unsigned workers = std::max(2u, std::thread::hardware_concurrency());
  std::vector<Outcome> outcomes;
  for (const Sample& s : kSamples)
    for (ResolutionIndex res : {2, 3, 4})
      for (SizeIndex size = 0; size < kSizeCount; ++size) {
        pending.push_back(std::async(std::launch::async, makeAndRead, std::cref(s), size, res,
                                     std::cref(dir)));
        if (pending.size() >= workers) {
          outcomes.push_back(pending.front().get());
          pending.erase(pending.begin());
        }
      }
  for (auto& p : pending) outcomes.push_back(p.get());
  int failures = 0;
  for (const Outcome& o : outcomes) {
    if (o.decoded == o.sample->expected) continue;
    ++failures;
    ADD_FAILURE() << o.what << ": zbarimg read " << ::testing::PrintToString(o.decoded);
  }
  std::cout << outcomes.size() << " files, " << failures << " failed\n";
}


namespace dotgrid {

struct Case {
  Symbology type;
  const char* data;
  const char* addon;
};

// Every type, with both add-on lengths.
const Case kTypes[] = {
    {Symbology::EAN13, "590123412345", ""},          {Symbology::EAN8, "9638507", ""},
    {Symbology::UPCA, "03600029145", "12"},          {Symbology::UPCE, "0123456", ""},
    {Symbology::ISBN13, "978-3-16-148410-0", "51299"}, {Symbology::ISBN10, "0-306-40615-2", ""},
    {Symbology::ISSN, "0317-8471", "03"},            {Symbology::ISMN, "979-0-2600-0043-8", ""},
};

struct Outcome {
  std::string what;
  std::string fault;  // empty: every module whole dots, and both readers read it
};

// Each module of `pattern` must be exactly `dots` pixels of pure ink or pure paper from
// `left` on, in the row: no grey, no bar a dot wider or narrower than its modules.
std::string offGrid(const test::GreyImage& image, int row, double left, int dots,
                    const ModulePattern& pattern) {
  if (left != std::floor(left)) return "module 0 starts off the grid at " + std::to_string(left);
  for (std::size_t i = 0; i < pattern.size(); ++i)
    for (int d = 0; d < dots; ++d) {
      const int x = static_cast<int>(left) + static_cast<int>(i) * dots + d;
      const std::uint8_t want = pattern[i] ? 0 : 255;
      if (x < 0 || x >= image.width || image.at(x, row) != want)
        return "module " + std::to_string(i) + " dot " + std::to_string(d) + " is " +
               (x < 0 || x >= image.width ? std::string("outside") : std::to_string(image.at(x, row)));
    }
  return {};
}

// The first run of a part: where its pattern's module 0 begins.
double originOf(const Layout& layout, bool addon, int dots) {
  for (const DarkRun& r : layout.runs)
    if ((r.part == RunPart::Addon) == addon) return r.x0 - r.module * dots;
  return -1;
}

bool readsAs(const std::vector<std::string>& lines, const Symbol& s) {
  auto has = [&lines](const std::string& text) {
    return std::any_of(lines.begin(), lines.end(),
                       [&text](const std::string& l) { return l.find(text) != std::string::npos; });
  };
  return has(":" + s.digits) && (!s.addon || has(s.addonText));
}

Outcome check(const Case& c, int dpi, double percent, bool decode, const TempDir& dir) {
  Request request;
  request.type = c.type;
  request.data = c.data;
  request.addon = c.addon;
  request.format = Format::PNG;
  request.freeSize.dpi = dpi;
  request.freeSize.magnification = percent;
  const std::string what = std::string(c.data) + " at " + std::to_string(dpi) + " dpi, " +
                           std::to_string(static_cast<int>(percent)) + " %";
  const Completed done = complete(request);
  if (!done.symbol) return {what, "not completed: " + done.message};
  const Written file = write(*done.symbol, request);
  if (file.failure != Failure::None) return {what, "not written"};
  std::string name = what;
  for (char& ch : name)
    if (ch == ' ' || ch == ',' || ch == '%') ch = '_';
  const std::string path = dir.file(name + ".png");
  test::writeFile(path, file.bytes);
  const std::optional<test::GreyImage> image = test::readPngGrey(path);
  if (!image) return {what, "unreadable PNG"};
  const Layout layout = layOut(*done.symbol, request);
  const int dots = geometryOf(request).moduleDots;
  if (dots < 1) return {what, "no whole-dot module"};
  // A row through the middle of the data bars, which crosses the add-on's bars too.
  const DarkRun* data = nullptr;
  for (const DarkRun& r : layout.runs)
    if (r.part == RunPart::Data) data = &r;
  const int row = layout.pixelsHigh - 1 - static_cast<int>((data->y0 + data->y1) * 0.5);
  std::string fault = offGrid(*image, row, originOf(layout, false, dots), dots, done.symbol->pattern);
  if (fault.empty() && done.symbol->addon) {
    const DarkRun* a = nullptr;
    for (const DarkRun& r : layout.runs)
      if (r.part == RunPart::Addon) a = &r;
    const int addonRow = layout.pixelsHigh - 1 - static_cast<int>((a->y0 + a->y1) * 0.5);
    fault = offGrid(*image, addonRow, originOf(layout, true, dots), dots, *done.symbol->addon);
    if (!fault.empty()) fault = "add-on: " + fault;
  }
  if (fault.empty() && decode && !readsAs(test::zbarDecode(path), *done.symbol))
    fault = "zbarimg does not read it";
  if (fault.empty() && decode && test::haveTool("ZXingReader") &&
      !readsAs(test::zxingDecode(path), *done.symbol))
    fault = "ZXingReader does not read it";
  std::filesystem::remove(path);
  return {what, fault};
}

}  // namespace dotgrid

// With snapping every bar and space of every type is a whole number of the printer's dots
// (its modules times the module's dots, in pure ink or paper), and the symbol reads in
// both readers from 80 to 200 %. 2400 dpi only for the smallest type: the files are large.
TEST(ScanSweep, SnappedModulesAreWholeDotsAndDecode) {
  if (!test::haveTool("zbarimg")) GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  TempDir dir;
  struct Run {
    const dotgrid::Case* c;
    int dpi;
    double percent;
  };
  std::vector<Run> runs;
  for (const dotgrid::Case& c : dotgrid::kTypes)
    for (int dpi : {203, 300, 406, 600})
      for (double percent : {80.0, 100.0, 120.0, 200.0}) runs.push_back({&c, dpi, percent});
  for (double percent : {80.0, 100.0, 120.0, 200.0})
    runs.push_back({&dotgrid::kTypes[1], 2400, percent});
  std::vector<std::future<dotgrid::Outcome>> pending;
  const unsigned workers = std::max(2u, std::thread::hardware_concurrency());
  std::vector<dotgrid::Outcome> outcomes;
  for (const Run& r : runs) {
    pending.push_back(std::async(std::launch::async, dotgrid::check, std::cref(*r.c), r.dpi,
                                 r.percent, true, std::cref(dir)));
    if (pending.size() >= workers) {
      outcomes.push_back(pending.front().get());
      pending.erase(pending.begin());
    }
  }
  for (auto& p : pending) outcomes.push_back(p.get());
  for (const dotgrid::Outcome& o : outcomes) EXPECT_EQ(o.fault, "") << o.what;
  std::cout << outcomes.size() << " files on the dot grid\n";
}

}  // namespace
}  // namespace strimlo
