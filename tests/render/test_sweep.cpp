// Every size at 300, 600 and 1200 dpi, written as PNG and read back by zbarimg: each file
// must give exactly the digits and the add-on it was made for. Labelled "sweep".
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "makecode.h"
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

}  // namespace
}  // namespace strimlo
