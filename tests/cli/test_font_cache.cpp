// The remembered font files (the face drawn with, the Type 1 font a PDF embeds): a run uses
// each while it is still Nimbus Sans, and asks fontconfig again (and remembers its answer)
// when it is missing, gone or another face.
#include "cli_runner.h"

namespace strimlo::test {
namespace {

TEST(FontCache, AStaleOrForeignRememberedFileFallsBackToFontconfig) {
  struct Row {
    const char* what;
    const char* remembered;  // nullptr: no cache file
  };
  const Row rows[] = {
      {"nothing remembered yet", nullptr},
      {"a file that is gone", "/nonexistent/NimbusSans-Regular.otf\n"},
      {"another face", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf\n"},
      {"not a path at all", "\x01garbage"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    TempDir dir;
    const std::string cache = dir.file("strimlo/helvetica-file");
    const std::string type1 = dir.file("strimlo/helvetica-type1");
    if (r.remembered) {
      std::filesystem::create_directories(dir.path() / "strimlo");
      writeFile(cache, r.remembered);
      writeFile(type1, r.remembered);
    }
    for (const char* name : {"x.png", "x.pdf"}) {
      const auto c = run("XDG_CACHE_HOME=" + shellQuote(dir.path().string()) + " " + STRIMLO_CLI +
                         " -o " + shellQuote(dir.file(name)) + " 401234567890");
      ASSERT_EQ(c.exitCode, 0) << c.output;
    }
    EXPECT_EQ(zbarDecode(dir.file("x.png")), std::vector<std::string>{"EAN-13:4012345678901"});
    EXPECT_NE(readFile(cache).find("NimbusSans-Regular"), std::string::npos) << readFile(cache);
    EXPECT_NE(readFile(type1).find("NimbusSans-Regular.t1"), std::string::npos) << readFile(type1);
  }
}

}  // namespace
}  // namespace strimlo::test
