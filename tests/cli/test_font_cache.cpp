// The remembered font files (the faces drawn with, the Type 1 font a PDF embeds): a run uses
// each while it is still the face it stands for, and asks fontconfig again (and remembers its answer)
// when it is missing, gone, another face, or anything odd stands in the cache.
#include <sys/stat.h>

#include "cli_runner.h"

namespace strimlo::test {
namespace {

// The system's Nimbus Sans Type 1 outlines, for the rows that copy or break them.
const char* const kSystemType1 =
    "$(fc-list ':family=Nimbus Sans:style=Regular:fontformat=Type 1' file | grep '\\.t1:' | "
    "head -n 1 | cut -d: -f1)";

TEST(FontCache, AStaleOrForeignRememberedFileFallsBackToFontconfig) {
  struct Row {
    const char* what;
    const char* remembered;  // nullptr: no cache file
    std::string setup = {};  // shell, run in the folder after the cache files are written
    std::string pdfSays = {};  // "" when the PDF is written; else a part of its message
    std::string env = {};      // before the command
    std::string args = {};     // options of the command
  };
  const std::vector<Row> rows = {
      {"nothing remembered yet", nullptr},
      {"a file that is gone", "/nonexistent/NimbusSans-Regular.otf\n"},
      {"another face", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf\n"},
      {"not a path at all", "\x01garbage"},
      {"pipes at the cache's names would block", "",
       "rm strimlo/* && mkfifo strimlo/helvetica-file strimlo/helvetica-type1"},
      {"links at the cache's names are replaced, not written through", "",
       "rm strimlo/* && echo VICTIM > victim && ln -s ../victim strimlo/helvetica-file && "
       "ln -s ../victim strimlo/helvetica-type1"},
      {"a remembered Type 1 font cut short", "",
       std::string("mkdir fonts && t1=") + kSystemType1 +
           " && head -c 50000 \"$t1\" > fonts/NimbusSans-Regular.t1 && "
           "cp \"${t1%.t1}.afm\" fonts/ && echo \"$PWD/fonts/NimbusSans-Regular.t1\" > "
           "strimlo/helvetica-type1"},
      {"a remembered Type 1 font that ends whole but cannot be read, nothing else found", "",
       std::string("mkdir fonts && t1=") + kSystemType1 +
           " && { head -c 20000 /dev/zero; tail -c 600 \"$t1\"; } > fonts/NimbusSans-Regular.t1 "
           "&& cp \"${t1%.t1}.afm\" fonts/ && echo \"$PWD/fonts/NimbusSans-Regular.t1\" > "
           "strimlo/helvetica-type1 && printf '<fontconfig></fontconfig>' > empty.conf && "
           "fc-list ':family=Nimbus Sans:style=Regular' file | grep '\\.otf:' | head -n 1 | "
           "cut -d: -f1 > strimlo/helvetica-file",
       "the PDF's font file (Nimbus Sans, Type 1) could not be read", "FONTCONFIG_FILE=$PWD/empty.conf "},
      {"OCR-B remembered as another face", "",
       "echo /usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf > strimlo/ocrb-file", "", "",
       "--font ocrb "},
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
    const std::string in = "cd " + shellQuote(dir.path().string()) + " && ";
    if (!r.setup.empty()) {
      ASSERT_EQ(run(in + r.setup).exitCode, 0);
    }
    for (const char* name : {"x.png", "x.pdf"}) {
      const auto c = run(in + r.env + "XDG_CACHE_HOME=" + shellQuote(dir.path().string()) +
                         " timeout 20 " + STRIMLO_CLI + " " + r.args + "-o " + shellQuote(dir.file(name)) +
                         " 401234567890");
      const bool refused = std::string(name) == "x.pdf" && !r.pdfSays.empty();
      ASSERT_EQ(c.exitCode, refused ? 1 : 0) << name << ": " << c.output;
      if (refused) {
        EXPECT_NE(c.output.find(r.pdfSays), std::string::npos) << c.output;
      }
    }
    EXPECT_EQ(zbarDecode(dir.file("x.png")), std::vector<std::string>{"EAN-13:4012345678901"});
    ASSERT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(cache)));
    EXPECT_NE(readFile(cache).find("NimbusSans-Regular"), std::string::npos) << readFile(cache);
    if (r.env.empty() && r.args.empty()) {  // an OCR-B PDF embeds no Type 1 font
      ASSERT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(type1)));
      EXPECT_NE(readFile(type1).find("NimbusSans-Regular.t1"), std::string::npos) << readFile(type1);
    }
    if (!r.args.empty()) {
      EXPECT_NE(readFile(dir.file("strimlo/ocrb-file")).find("OCRB.otf"), std::string::npos)
          << readFile(dir.file("strimlo/ocrb-file"));
    }
    if (std::filesystem::exists(dir.file("victim"))) {
      EXPECT_EQ(readFile(dir.file("victim")), "VICTIM\n");
    }
  }
}

}  // namespace
}  // namespace strimlo::test
