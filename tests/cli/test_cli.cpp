// strimlo-cli as a user runs it: exit codes, the one line that says why, and the files.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <set>

#include "options.h"
#include "cli_runner.h"
#include "readback.h"

namespace strimlo {
namespace {

using test::shellQuote;

TEST(Cli, ExitCodesAndMessages) {
  test::TempDir dir;
  const std::string out = shellQuote(dir.file("x.eps"));
  const std::vector<test::CliRow> rows = {
      {"-o " + out + " 401234567890", 0, ""},
      {"-o " + out + " 12345", 1, "EAN-13 needs 12 or 13 digits; got 5"},
      {"--type ean8 -o " + out + " 40123450", 0, ""},
      {"--type ean8 -o " + out + " 4012345X", 1, "EAN-8 takes digits only"},
      {"--type isbn10 -o " + out + " '0-306 40615-2'", 0, ""},
      {"--type isbn10 -o " + out + " 0.306.40615.2", 1, "ISBN-10 needs 10 characters besides hyphens; got 13"},
      {"--type isbn -o " + out + " '978 1 4028 9462 6'", 0, ""},
      {"--type isbn -o " + out + " 0-306-40615-2", 0, ""},
      {"--type isbn13 --addon 5199 -o " + out + " 978-3-16-148410-0", 1,
       "the add-on must be 5 digits; got \"5199\""},
      {"--type isbn13 --addon '' -o " + out + " 978-3-16-148410-0", 0, ""},
      {"-o " + out + " 978-3-16-148410-0", 1,
       "EAN-13 needs 12 or 13 digits; got 17 (it looks like an ISBN-13: give the type isbn13 (or "
       "isbn))"},
      {"-o " + out + " '979-0-2600-0043-8'", 1, "(it looks like an ISMN: give the type ismn)"},
      {"-o " + out + " 0317-8471", 1, "(it looks like an ISSN: give the type issn)"},
      {"--format pdf -o " + shellQuote(dir.file("x.png")) + " 401234567890", 2,
       "the format pdf does not agree with the output's extension .png"},
      {"--format jpeg -o " + shellQuote(dir.file("x.jpg")) + " 401234567890", 0, ""},
      {"--strict --fix-check-digits -o " + out + " 401234567890", 2, "do not go together"},
      {"--version", 0, "strimlo-cli 1.1.0\n"},
      {"--res 0 -o " + shellQuote(dir.file("low.png")) + " 401234567890", 0,
       "note: resolution: 72 dpi gives 0.9 pixels per module, too few to be read; 300 dpi (res 2) or "
       "more makes a readable file"},
      {"--res 1 --size 3 -o " + shellQuote(dir.file("low.tiff")) + " 401234567890", 0,
       "100 dpi gives 1.4 pixels per module"},
      {"--type isbn13 --addon 5129x -o " + out + " 978-3-16-148410-0", 1, "the add-on must be 5 digits"},
      {"--type 10 -o " + out + " 401234567890", 1, "unknown code type 10"},
      // The 2D types and companions: a refusal names the AI or the part and the rule.
      {"--type gs1-qr --ai '(10)ABC123(17)271231' -o " + shellQuote(dir.file("q.png")) + " 9780306406157", 0, ""},
      {"--type gs1-datamatrix --module 0.66 -o " + shellQuote(dir.file("d.svg")) + " 40123455", 0, ""},
      {"--companion datamatrix --companion-module 0.6 --ai '(21)S1' -o " + out + " 401234567890", 0, ""},
      {"--type gs1-qr --ai '(17)271331' -o " + out + " 9780306406157", 1,
       "AI (17) expiry date 271331 (YYMMDD): month 13 does not exist"},
      {"--type gs1-qr --ai '(10)A B' -o " + out + " 9780306406157", 1,
       "AI (10) batch or lot: a space is outside the GS1 character set 82"},
      {"--type gs1-qr --dl-domain http://id.example -o " + out + " 9780306406157", 1,
       "Digital Link domain: must start with https://"},
      {"--type gs1-qr --strict -o " + out + " 9780306406158", 1, "check character 8 is wrong; 7 expected"},
      {"--type gs1-qr -o " + out + " 9780306406158", 0, "note: check character 8 is wrong; 7 expected, replaced"},
      {"--companion qr --ai '(99)X' -o " + out + " 401234567890", 1, "companion: AI (99) is not one we accept"},
      {"--type gs1-datamatrix --module 0.3 -o " + out + " 9780306406157", 2,
       "bad value for --module: 0.3 (0.396 to 0.990 mm, target 0.495)"},
      {"--type gs1-qr --ecc X -o " + out + " 9780306406157", 2, "bad value for --ecc: X (L, M, Q or H)"},
      {"--companion pdf417 -o " + out + " 401234567890", 2, "bad value for --companion: pdf417 (qr or datamatrix)"},
      {"--type gs1-qr --companion qr -o " + out + " 9780306406157", 2, "--companion goes with a linear type"},
      {"--ai '(10)X' -o " + out + " 401234567890", 0,
       "note: ai, dl-domain: EAN-13 carries them only in a 2D --companion; left out"},
      {"--type gs1-datamatrix --dl-domain https://id.example -o " + out + " 9780306406157", 0,
       "note: dl-domain: a DataMatrix holds the element string, not a URI; left out"},
      {"--type gs1-qr --verify -o " + out + " 9780306406157", 1, "a 2D symbol is not graded, nothing was written"},
      {"--type upce -o " + out + " 01234512345", 1, "has no UPC-E form"},
      {"--type upca --addon 123 -o " + out + " 03600029145", 1, "the add-on must be 2 or 5 digits"},
      {"--type issn --variant 5 -o " + out + " 0317-8471", 1, "variant must be 2 digits"},
      {"--type issn --variant 05 --addon 03 -o " + out + " 0317-8471", 0, ""},
      {"--format -1 -o " + out + " 401234567890", 1, "unknown file format"},
      {"--format 6 -o " + out + " 401234567890", 1, "unknown file format"},
      {"--type nope -o " + out + " 401234567890", 2, "bad value for --type"},
      {"--size big -o " + out + " 401234567890", 2, "bad value for --size"},
      {"--frobnicate -o " + out + " 401234567890", 2, "unknown option --frobnicate"},
      {"401234567890", 2, "no output file given"},
      {"-o " + out, 2, "no data text given"},
      {"-o " + shellQuote(dir.file("missing/x.eps")) + " 401234567890", 1,
       "missing/x.eps: No such file or directory; nothing was changed"},
      {"--quiet-zones --bar-reduction 40 --transparent -o " + shellQuote(dir.file("p.png")) +
           " 401234567890", 0, ""},
      {"--transparent -o " + shellQuote(dir.file("t.tiff")) + " 401234567890", 1, "opaque CMYK"},
      {"--transparent --format jpg -o " + shellQuote(dir.file("t.jpg")) + " 401234567890", 1, "opaque CMYK"},
      {"--bar-reduction 101 -o " + out + " 401234567890", 2, "bad value for --bar-reduction"},
      // --verify: the 82 % EAN-8 at 300 dpi grades D (decodability), at 600 dpi A.
      {"--verify --min-grade B --type ean8 --size 0 --res 2 -o " + shellQuote(dir.file("v3.png")) + " 4012345",
       1, "grade D is below the --min-grade B; nothing was written"},
      {"--verify --min-grade B --type ean8 --size 0 --res 3 -o " + shellQuote(dir.file("v6.png")) + " 4012345",
       0, "grade A (4.0): decodability"},
      {"--verify --type isbn13 --addon 51299 -o " + shellQuote(dir.file("v.pdf")) + " 978-3-16-148410-0", 0,
       "at 600 dpi"},
      {"--verify --size 0 --res 0 -o " + shellQuote(dir.file("v72.png")) + " 401234567890", 1,
       "the symbol does not scan at 72 dpi"},
      {"--verify --min-grade E -o " + out + " 401234567890", 2, "bad value for --min-grade"},
      // --check: one line naming the cause for what is no symbol's image.
      {"--check " + shellQuote(dir.file("v6.png")), 0, "EAN-8 40123455"},
      {"--check --min-grade A " + shellQuote(dir.file("v6.png")), 0, "grade A"},
      {"--check --json " + shellQuote(dir.file("v6.png")), 0, "\"letter\": \"A\""},
      {"--check " + shellQuote(dir.file("v6.png")) + " " + out, 1, "x.eps: not a PNG, TIFF or JPEG file"},
      {"--check " + shellQuote(dir.file("none.png")), 1, "none.png: No such file or directory"},
      {"--check " + shellQuote(dir.path().string()), 1, "not a regular file"},
      {"--check", 2, "--check needs one or more image files"},
  };
  for (const test::CliRow& r : rows) test::expectCli(r);
}

TEST(Cli, FormatFromNameNumberOrExtension) {
  test::TempDir dir;
  struct Row {
    std::string args;
    std::string file;
    std::string colour;  // "" for EPS
  };
  const std::vector<Row> rows = {
      {"", "a.png", "gray"},
      {"", "b.TIFF", "cmyk"},
      {"", "c.jpeg", "cmyk"},
      {"", "d.eps", ""},
      {"", "e", ""},  // no extension: EPS, the window's default
      {"--format 2", "f.bin", "cmyk"},
      {"--format png", "g.out", "gray"},
  };
  for (const Row& r : rows) {
    const std::string path = dir.file(r.file);
    ASSERT_EQ(test::cli(r.args + " -o " + shellQuote(path) + " 401234567890").exitCode, 0) << r.file;
    if (r.colour.empty()) {
      EXPECT_EQ(test::readFile(path).rfind("%!PS-Adobe-2.0 EPSF-1.2\n", 0), 0u) << r.file;
    } else {
      const auto facts = test::readRasterFile(path);
      ASSERT_TRUE(facts) << r.file;
      EXPECT_EQ(facts->colour, r.colour) << r.file;
    }
  }
}

TEST(Cli, TextsAreConvertedAsTheWindowDoes) {
  test::TempDir dir;
  const std::string eps = dir.file("t.eps");
  // 40 characters of price: cut to 31, with a note; the euro sign is Windows-1252, the
  // rouble sign is not.
  const std::string price(40, '9');
  const test::CommandResult c = test::cli("--type isbn13 --addon 51299 --price " + price + " -o " + shellQuote(eps) +
                    " 978-3-16-148410-0");
  EXPECT_EQ(c.exitCode, 0);
  EXPECT_NE(c.output.find("price: cut to 31 characters"), std::string::npos) << c.output;
  EXPECT_NE(test::readFile(eps).find("(" + std::string(31, '9') + ") show"), std::string::npos);
  const test::CommandResult euro = test::cli("--type isbn13 --addon 51299 --price '\xE2\x82\xAC 5 \xC2\xA3 \xE2\x82\xBD' -o " +
                       shellQuote(eps) + " 978-3-16-148410-0");
  EXPECT_EQ(euro.exitCode, 0);
  EXPECT_NE(euro.output.find("outside Windows-1252"), std::string::npos) << euro.output;
  EXPECT_NE(test::readFile(eps).find("(\x80 5 \xA3 ?) show"), std::string::npos);
}

TEST(Cli, CheckDigitIsReplacedWithANoteOrRefusedWhenStrict) {
  test::TempDir dir;
  const std::string out = shellQuote(dir.file("c.eps"));
  const std::vector<test::CliRow> rows = {
      {"4006381333931", 0, ""},  // right check digit: nothing to say
      {"4006381333930", 0, "check character 0 is wrong; 1 expected, replaced"},
      {"--strict 4006381333930", 1, "check character 0 is wrong; 1 expected"},
      {"--strict 4006381333931", 0, ""},
      {"--strict 400638133393", 0, ""},  // nothing typed, nothing to verify
      {"--strict --type ean8 96385070", 1, "4 expected"},
      {"--strict --type isbn10 0-8044-2957-X", 0, ""},
      {"--strict --type isbn10 0-8044-2957-x", 0, ""},
      {"--strict --type isbn10 0-306-40615-3", 1, "check character 3 is wrong; 2 expected"},
      {"--strict --type isbn13 978-0-306-40615-7", 0, ""},
      {"--strict --type isbn13 978-0-306-40615-X", 1, "7 expected"},
      {"--type isbn13 978-0-306-40615-X", 0, "replaced"},
      {"--strict --type issn 0317-847x", 1, "check character x is wrong; 1 expected"},
      {"--strict --type upce 01234560", 1, "5 expected"},
      {"--strict --type ismn M-2600-0043-8", 0, ""},
  };
  for (const test::CliRow& r : rows) {
    const test::CommandResult c = test::cli("-o " + out + " " + r.args);
    EXPECT_EQ(c.exitCode, r.exitCode) << r.args << "\n" << c.output;
    if (r.says.empty()) {
      EXPECT_EQ(c.output, "") << r.args;
    } else {
      EXPECT_NE(c.output.find(r.says), std::string::npos) << r.args << "\n" << c.output;
    }
  }
}

TEST(Cli, PreviewIsAnRgbPngOfTheAskedSize) {
  test::TempDir dir;
  const std::string png = dir.file("p.png");
  ASSERT_EQ(test::cli("--preview 640x320 --type isbn10 -o " + shellQuote(png) + " 0-306-40615-2").exitCode, 0);
  const auto facts = test::readPngFile(png);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->width, 640);
  EXPECT_EQ(facts->height, 320);
  EXPECT_EQ(facts->colour, "rgb");
  EXPECT_EQ(test::zbarDecode(png), std::vector<std::string>{"EAN-13:9780306406157"});
  EXPECT_EQ(test::cli("--preview 0x10 -o " + shellQuote(png) + " 401234567890").exitCode, 2);
}

TEST(Cli, HelpNamesTheSizesAndResolutions) {
  const test::CommandResult c = test::cli("--help");
  EXPECT_EQ(c.exitCode, 0);
  for (const char* word : {"197%", "82%", "3200 dpi", "72 dpi", "isbn13", "upce", "ismn",
                           "--variant", "--batch", "greyscale PNG", "--delimiter", "gs1-qr",
                           "gs1-datamatrix", "--companion", "0.396", "0.495", "0.990"})
    EXPECT_NE(c.output.find(word), std::string::npos) << word;
}

namespace {

// The options a help text names: "-o", "--type", ... wherever a word starts with a hyphen
// and a letter (so "ISBN-10" and "0-306" are not options).
std::set<std::string> optionsIn(const std::string& text) {
  std::set<std::string> options;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const bool starts = text[i] == '-' && (i == 0 || std::string(" \t\n[(|").find(text[i - 1]) != std::string::npos);
    std::size_t j = i + (text[i + 1] == '-' ? 2 : 1);
    if (!starts || j >= text.size() || !std::islower(static_cast<unsigned char>(text[j]))) continue;
    while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '-')) ++j;
    options.insert(text.substr(i, j - i));
    i = j;
  }
  return options;
}

// The manual page's text with roff's escaped hyphens and font changes undone.
std::string manualText(const std::string& roff) {
  std::string out;
  for (std::size_t i = 0; i < roff.size(); ++i) {
    if (roff.compare(i, 2, "\\-") == 0) { out += '-'; ++i; continue; }
    if (roff.compare(i, 2, "\\f") == 0 && i + 2 < roff.size()) { i += 2; continue; }
    out += roff[i];
  }
  return out;
}

}  // namespace

// strimlo-cli(1) and --help cannot drift apart: every option the help names is in the
// manual page.
TEST(Cli, ManualPageNamesEveryOptionOfHelp) {
  const std::set<std::string> page = optionsIn(manualText(test::readFile(STRIMLO_MAN_DIR "/strimlo-cli.1")));
  const std::set<std::string> help = optionsIn(test::cli("--help").output);
  ASSERT_TRUE(help.count("--type") && help.count("-o")) << "the option scan found nothing";
  for (const std::string& option : help)
    EXPECT_TRUE(page.count(option)) << "strimlo-cli --help lists " << option
                                    << ", but docs/man/strimlo-cli.1 does not describe it";
}

// Stopped in the middle of a large save, the command leaves neither the file nor a
// temporary file.
TEST(Cli, TerminatedSaveLeavesNothing) {
  test::TempDir dir;
  const std::string args = "--type isbn13 --addon 51299 --size 9 --res 7 -o " + shellQuote(dir.file("big.tiff")) +
                           " 978-3-16-148410-0 >/dev/null 2>&1";
  test::interruptCli(args, std::chrono::milliseconds(250), SIGTERM);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(CliOptions, FormatFromPath) {
  struct Row {
    const char* path;
    std::optional<FileFormat> format;
  };
  for (const Row r : {Row{"a.eps", kEPS}, Row{"a.PNG", kPNG}, Row{"a.tif", kTIFF},
                      Row{"dir.d/file", std::nullopt}, Row{"a.2", std::nullopt},
                      Row{"a.jpeg", kJPEG}, Row{"noext", std::nullopt}, Row{"a.pdf", kPDF},
                      Row{"a.Svg", kSVG}}) {
    EXPECT_EQ(cli::formatFromPath(r.path), r.format) << r.path;
  }
}

// PDF and SVG get their light margins unless told otherwise; the fixed-size formats only
// when asked.
TEST(CliOptions, QuietZonesFollowTheFormatUnlessAsked) {
  struct Row {
    const char* flag;
    FileFormat format;
    bool quiet;
  };
  for (const Row r : {Row{"", kPDF, true}, Row{"", kSVG, true}, Row{"", kEPS, false},
                      Row{"", kPNG, false}, Row{"--no-quiet-zones", kPDF, false},
                      Row{"--no-quiet-zones", kSVG, false}, Row{"--quiet-zones", kEPS, true},
                      Row{"--quiet-zones", kTIFF, true}}) {
    std::vector<std::string> args = {"-o", "x", "401234567890"};
    if (*r.flag) args.insert(args.begin(), r.flag);
    const cli::Parsed p = cli::parseOptions(args);
    ASSERT_TRUE(p.error.empty()) << p.error;
    EXPECT_EQ(cli::prepressFor(p.options, r.format).quietZones, r.quiet) << r.flag << " " << r.format;
  }
}

}  // namespace
}  // namespace strimlo
