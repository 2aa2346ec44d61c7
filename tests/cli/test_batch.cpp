// Batch runs: the CSV reader, how lines become jobs, and whole catalogues through
// strimlo-cli --batch.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "batch.h"
#include "clash.h"
#include "csv.h"
#include "cli_runner.h"
#include "readback.h"

namespace strimlo {
namespace {

namespace fs = std::filesystem;
using cli::BatchLine;
using cli::CsvRecord;
using test::shellQuote;

TEST(Csv, ReadsWhatRfc4180Allows) {
  struct Row {
    const char* what;
    std::string text;
    std::vector<std::vector<std::string>> fields;
    std::vector<int> lines;
  };
  const std::vector<Row> rows = {
      {"plain LF", "a,b\nc,d\n", {{"a", "b"}, {"c", "d"}}, {1, 2}},
      {"CRLF and no final line end", "a,b\r\nc,d", {{"a", "b"}, {"c", "d"}}, {1, 2}},
      {"byte order mark", "\xEF\xBB\xBFtype,data\n", {{"type", "data"}}, {1}},
      {"comma and quotes inside quotes", "\"1,5\",\"say \"\"hi\"\"\"\n", {{"1,5", "say \"hi\""}}, {1}},
      {"line break inside quotes", "\"a\nb\",c\nd\n", {{"a\nb", "c"}, {"d"}}, {1, 3}},
      {"empty cells", ",,x,\n", {{"", "", "x", ""}}, {1}},
      {"blank lines are skipped", "a\n\n\r\nb\n", {{"a"}, {"b"}}, {1, 4}},
      {"quotes in the middle of a field stay", "ab\"c\n", {{"ab\"c"}}, {1}},
  };
  for (const Row& r : rows) {
    const cli::CsvResult result = cli::parseCsv(r.text);
    EXPECT_EQ(result.error, "") << r.what;
    ASSERT_EQ(result.records.size(), r.fields.size()) << r.what;
    for (std::size_t i = 0; i < r.fields.size(); ++i) {
      EXPECT_EQ(result.records[i].fields, r.fields[i]) << r.what;
      EXPECT_EQ(result.records[i].line, r.lines[i]) << r.what;
    }
  }
  EXPECT_EQ(cli::parseCsv("a,b\n\"open,c\nd\n").error, "line 2: a quoted field is not closed");
}

std::vector<BatchLine> plan(const std::string& csv, const cli::Options& o) {
  return cli::planBatch(cli::parseCsv(csv, cli::detectDelimiter(csv)).records, o);
}

TEST(BatchPlan, LinesBecomeJobs) {
  cli::Options o;
  o.outdir = "/out";
  o.price = "9.99";
  o.format = kPNG;
  o.size = 4;
  struct Row {
    const char* what;
    std::string csv;
    std::string refusal;
    CodeType type;
    std::string data, addon, price, output;
    FileFormat format;
    SizeIndex size;
    bool strict;
    Prepress prepress = {};
    FreeSize freeSize = {};
    TypeFace font = TypeFace::Sans;
    bool outline = false;
    std::string priceCode = {};
    Gs1Options gs1 = {};
  };
  const std::vector<Row> rows = {
      {"data alone, name from the data; a batch verifies check digits", "401234567890\n", "", kEAN13,
       "401234567890", "", "9.99", "/out/401234567890.png", kPNG, 4, true},
      {"positional columns", "isbn13,978-3-16-148410-0,51299,12.99,book.tiff,tiff,7,1,yes\n", "",
       kISBN13, "978-3-16-148410-0", "51299", "12.99", "/out/book.tiff", kTIFF, 7, true},
      {"header in another order", "data,type,format\n9638507,ean8,jpg\n", "", kEAN8, "9638507", "",
       "9.99", "/out/9638507.jpg", kJPEG, 4, true},
      {"empty cells take the command line", "type,data,addon,price,output\nisbn10,0-306-40615-2,51299,,\n",
       "", kISBN10, "0-306-40615-2", "51299", "9.99", "/out/0306406152-51299.png", kPNG, 4, true},
      {"output inside --outdir", "ean13,401234567890,,,sub/x.eps,eps\n", "", kEAN13, "401234567890",
       "", "9.99", "/out/sub/x.eps", kEPS, 4, true},
      {"format column pdf names the file; quiet zones by default", "ean13,401234567890,,,,pdf,9\n",
       "", kEAN13, "401234567890", "", "9.99", "/out/401234567890.pdf", kPDF, 9, true, {true, 0, false}},
      {"format column svg; quiet zones by default", "ean8,9638507,,,,svg\n", "", kEAN8, "9638507", "",
       "9.99", "/out/9638507.svg", kSVG, 4, true, {true, 0, false}},
      {"a quiet cell of 0 leaves a PDF's margins out", "data,format,quiet\n401234567890,pdf,0\n", "",
       kEAN13, "401234567890", "", "9.99", "/out/401234567890.pdf", kPDF, 4, true},
      {"a strict cell of 0 replaces a wrong check digit", "data,strict\n4006381333930,0\n", "", kEAN13,
       "4006381333930", "", "9.99", "/out/4006381333930.png", kPNG, 4, false},
      {"a format cell that the output's extension contradicts", "data,output,format\n401234567890,x.png,tiff\n",
       "the format tiff does not agree with the output's extension .png; give one or make them agree",
       0, "", "", "", "", 0, 0, false},
      {"--format that the output's extension contradicts", "data,output\n401234567890,x.tiff\n",
       "the format png does not agree with the output's extension .tiff; give one or make them agree",
       0, "", "", "", "", 0, 0, false},
      {"an empty data cell", "type,data\nean13,\n", "no data", 0, "", "", "", "", 0, 0, false},
      {"cells are trimmed", "type,data,addon\n isbn13 , 978-3-16-148410-0 ,\t51299 \n", "", kISBN13,
       "978-3-16-148410-0", "51299", "9.99", "/out/9783161484100-51299.png", kPNG, 4, true},
      {"the window's labels and common names as columns", "Barcode type,Number,Add-on,Price text,File\n"
       "isbn13,978-3-16-148410-0,51299,12.99,b.png\n", "", kISBN13, "978-3-16-148410-0", "51299",
       "12.99", "/out/b.png", kPNG, 4, true},
      {"case, spaces, hyphens, underscores in names", "DATA,add_on,File Name\n978-3-16-148410-0,51299,c.png\n",
       "", kEAN13, "978-3-16-148410-0", "51299", "9.99", "/out/c.png", kPNG, 4, true},
      {"an unknown column is ignored", "GTIN,colour\n401234567890,red\n", "", kEAN13, "401234567890",
       "", "9.99", "/out/401234567890.png", kPNG, 4, true},
      {"a column named ISBN gives the type by the length", "ISBN,Add-on\n0-306-40615-2,51299\n", "",
       kISBN10, "0-306-40615-2", "51299", "9.99", "/out/0306406152-51299.png", kPNG, 4, true},
      {"a column named ISSN gives its type", "ISSN\n0317-8471\n", "", kISSN, "0317-8471", "", "9.99",
       "/out/03178471.png", kPNG, 4, true},
      {"the type isbn picks ISBN-13 by the length", "isbn,978 3 16 148410 0\n", "", kISBN13,
       "978 3 16 148410 0", "", "9.99", "/out/9783161484100.png", kPNG, 4, true},
      {"a data line starting with a type named like a column", "issn,0317-8471,03\n", "", kISSN,
       "0317-8471", "03", "9.99", "/out/03178471-03.png", kPNG, 4, true},
      {"semicolons, a comma inside a price", "type;data;addon;price\nisbn13;978-3-16-148410-0;51299;EUR 9,99\n",
       "", kISBN13, "978-3-16-148410-0", "51299", "EUR 9,99", "/out/9783161484100-51299.png", kPNG, 4, true},
      {"tabs", "data\tformat\n9638507\tjpg\n", "", kEAN13, "9638507", "", "9.99", "/out/9638507.jpg",
       kJPEG, 4, true},
      {"semicolons without a header line", "isbn13;978-3-16-148410-0;51299;EUR 9,99;b.png\n", "",
       kISBN13, "978-3-16-148410-0", "51299", "EUR 9,99", "/out/b.png", kPNG, 4, true},
      {"bad type cell", "ean14,401234567890\n", "unknown type \"ean14\"", 0, "", "", "", "", 0, 0, false},
      {"bad size cell", "ean13,401234567890,,,,,big\n", "bad size \"big\" (0 to 9)", 0, "", "", "", "", 0, 0, false},
      {"too many fields", "ean13,401234567890,,,,,,,,extra\n", "more fields than named columns", 0, "", "", "",
       "", 0, 0, false},
      {"prepress columns by name", "data,quiet,bwr,transparent\n401234567890,yes,40,1\n", "", kEAN13,
       "401234567890", "", "9.99", "/out/401234567890.png", kPNG, 4, true, {true, 40, true}},
      {"an ISSN's variant by name goes into the file name", "type,data,variant,addon\nissn,0317-8471,05,03\n",
       "", kISSN, "0317-8471", "03", "9.99", "/out/03178471-05-03.png", kPNG, 4, true},
      {"a reduction past 100 um", "data,bwr\n401234567890,150\n",
       "bad bar width reduction \"150\" (0 to 100 micrometres)", 0, "", "", "", "", 0, 0, false},
      {"free size columns with a decimal comma replace the command line's size",
       "data;magnification;dpi;height\n401234567890;120,5;203 dpi;20\n", "", kEAN13, "401234567890", "",
       "9.99", "/out/401234567890.png", kPNG, 2, true, {}, {120.5, {}, 203, true, {}, 20.0}},
      {"module and snap_dpi columns", "data,format,module,snap-dpi\n401234567890,pdf,0.4,2400\n", "",
       kEAN13, "401234567890", "", "9.99", "/out/401234567890.pdf", kPDF, 2, true, {true, 0, false},
       {{}, 0.4, {}, true, 2400, {}}},
      {"a magnification out of range", "data,magnification\n401234567890,250\n",
       "magnification 250 is outside 75 to 200 %", 0, "", "", "", "", 0, 0, false},
      {"a magnification that is no number", "data,magnification\n401234567890,NaN\n",
       "magnification \"NaN\" is not a number (75 to 200 %, decimals allowed)", 0, "", "", "", "", 0, 0, false},
      {"a size both ways", "data,size,magnification\n401234567890,3,120\n",
       "size and magnification both give the size; give one", 0, "", "", "", "", 0, 0, false},
      {"a resolution both ways", "data,res,dpi\n401234567890,3,600\n",
       "res and dpi both give the resolution; give one", 0, "", "", "", "", 0, 0, false},
      {"a module and a magnification", "data,module,magnification\n401234567890,0.4,120\n",
       "give the size once: a magnification or a module, not both", 0, "", "", "", "", 0, 0, false},
      {"a bar height below half the nominal at the command line's 121 %", "data,height\n401234567890,5\n",
       "bar height 5 mm is outside 13.50 to 27.00 mm (50 to 100 % of the nominal height at this size)",
       0, "", "", "", "", 0, 0, false},
      {"a dpi below 72", "data,dpi\n401234567890,60\n",
       "resolution 60 dpi is not a whole number from 72 to 4800", 0, "", "", "", "", 0, 0, false},
      {"face columns by name", "data,font,outline\n401234567890,OCR-B,yes\n", "", kEAN13,
       "401234567890", "", "9.99", "/out/401234567890.png", kPNG, 4, true, {}, {}, TypeFace::OcrB, true},
      {"a font naming no face we have", "data,font\n401234567890,arial\n",
       "unknown font \"arial\" (sans or ocrb)", 0, "", "", "", "", 0, 0, false},
      {"an outline cell that is no yes or no", "data,outline\n401234567890,maybe\n",
       "bad outline \"maybe\" (yes or no: 1/0, yes/no, y/n, true/false, on/off)", 0, "", "", "", "", 0,
       0, false},
      {"a price code column, spelt with its underscore", "data,type,price_code\n9783161484100,isbn13,USD 19.99\n",
       "", kISBN13, "9783161484100", "", "9.99", "/out/9783161484100.png", kPNG, 4, true, {}, {},
       TypeFace::Sans, false, "USD 19.99"},
      {"the 2D columns by name", "data,companion,companion_module,ai,dl_domain,ecc\n"
       "401234567890,qr,0.6,(10)L1,https://brand.example,h\n", "", kEAN13, "401234567890", "", "9.99",
       "/out/401234567890-10L1-with-qr.png", kPNG, 4, true, {}, {}, TypeFace::Sans, false, "",
       {"(10)L1", "https://brand.example", 'H', 0, kGS1QR, 0.6, true}},
      {"a 2D type", "type,data,ai\ngs1-datamatrix,9780306406157,(17)271231\n", "", kGS1DataMatrix,
       "9780306406157", "", "9.99", "/out/9780306406157-17271231-datamatrix.png", kPNG, 4, true, {}, {},
       TypeFace::Sans, false, "", {"(17)271231", "", 'M', 0, {}, 0, true}},
      {"an unknown companion", "data,companion\n401234567890,aztec\n", "bad companion \"aztec\"", 0, "",
       "", "", "", 0, 0, false},
      {"a companion module outside GS1's table", "data,companion,companion_module\n401234567890,qr,1.2\n",
       "bad companion_module \"1.2\"", 0, "", "", "", "", 0, 0, false},
      {"a companion of a 2D type", "type,data,companion\ngs1-qr,9780306406157,datamatrix\n",
       "a companion goes with a linear type, not a 2D one", 0, "", "", "", "", 0, 0, false},
      {"a 2D line's module column is its X dimension in GS1's table",
       "type,data,module\ngs1-qr,9780306406157,0.8\n", "", kGS1QR, "9780306406157", "", "9.99",
       "/out/9780306406157-qr.png", kPNG, 4, true, {}, {}, TypeFace::Sans, false, "",
       {"", "", 'M', 0.8, {}, 0, true}},
      {"a 2D line's module below GS1's table", "type,data,module\ngs1-qr,9780306406157,0.3\n",
       "module \"0.3\" of a 2D type (0.396 to 0.990 mm, target 0.495)", 0, "", "", "", "", 0, 0, false},
      {"a 2D line without its GTIN line", "type,data,GTIN text\ngs1-qr,9780306406157,no\n", "", kGS1QR,
       "9780306406157", "", "9.99", "/out/9780306406157-qr.png", kPNG, 4, true, {}, {}, TypeFace::Sans, false, "",
       {"", "", 'M', 0, {}, 0, false}},
      {"a GTIN line cell that is no yes or no", "type,data,gtin_text\ngs1-qr,9780306406157,maybe\n",
       "bad gtin_text \"maybe\" (yes or no: 1/0, yes/no, y/n, true/false, on/off)", 0, "", "", "", "", 0, 0,
       false},
      {"a 2D line with a magnification", "type,data,magnification\ngs1-datamatrix,9780306406157,120\n",
       "a 2D symbol's size is its module (the X dimension, 0.396 to 0.990 mm); magnification, bar "
       "height and snap dpi are for linear symbols", 0, "", "", "", "", 0, 0, false},
  };
  for (const Row& r : rows) {
    const auto lines = plan(r.csv, o);
    ASSERT_EQ(lines.size(), 1u) << r.what;
    const BatchLine& l = lines[0];
    EXPECT_EQ(l.refusal, r.refusal) << r.what;
    if (!r.refusal.empty()) continue;
    EXPECT_EQ(l.job.type, r.type) << r.what;
    EXPECT_EQ(l.job.data, r.data) << r.what;
    EXPECT_EQ(l.job.addon, r.addon) << r.what;
    EXPECT_EQ(l.job.price, r.price) << r.what;
    EXPECT_EQ(l.job.output, r.output) << r.what;
    EXPECT_EQ(l.job.format, r.format) << r.what;
    EXPECT_EQ(l.job.size, r.size) << r.what;
    EXPECT_EQ(l.job.strict, r.strict) << r.what;
    EXPECT_TRUE(l.job.prepress == r.prepress) << r.what;
    EXPECT_TRUE(l.job.freeSize == r.freeSize) << r.what;
    EXPECT_EQ(l.job.font, r.font) << r.what;
    EXPECT_EQ(l.job.outlineText, r.outline) << r.what;
    EXPECT_EQ(l.job.priceCode, r.priceCode) << r.what;
    EXPECT_TRUE(l.job.gs1 == r.gs1) << r.what;
  }
}

// The command line's companion is the linear lines'; a cell says "none" over it, and a 2D
// line takes none unless its own cell asks for one.
TEST(BatchPlan, TheCommandLinesCompanionGoesToTheLinearLines) {
  cli::Options o;
  o.gs1.companion = kGS1QR;
  struct Row {
    const char* csv;
    std::string refusal;
    std::optional<CodeType> companion;
    const char* output;
  };
  const Row rows[] = {
      {"data\n401234567890\n", "", kGS1QR, "401234567890-with-qr.eps"},
      {"type,data\ngs1-qr,9780306406157\n", "", {}, "9780306406157-qr.eps"},
      {"data,companion\n401234567890,none\n", "", {}, "401234567890.eps"},
      {"data,companion\n401234567890,datamatrix\n", "", kGS1DataMatrix, "401234567890-with-datamatrix.eps"},
      {"type,data,companion\ngs1-qr,9780306406157,qr\n", "a companion goes with a linear type, not a 2D one",
       {}, ""},
  };
  for (const Row& r : rows) {
    const auto lines = plan(r.csv, o);
    ASSERT_EQ(lines.size(), 1u) << r.csv;
    EXPECT_EQ(lines[0].refusal, r.refusal) << r.csv;
    if (!r.refusal.empty()) continue;
    EXPECT_EQ(lines[0].job.gs1.companion, r.companion) << r.csv;
    EXPECT_EQ(lines[0].job.output, r.output) << r.csv;
  }
}

TEST(BatchPlan, WithoutOutdirNamesGoInTheCurrentFolder) {
  const auto lines = plan("401234567890\n", cli::Options{});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].refusal, "");
  EXPECT_EQ(lines[0].job.output, "401234567890.eps");
  EXPECT_EQ(lines[0].job.root, ".");
}

TEST(BatchPlan, LinesWritingTheSameFileAreAllRefused) {
  // Positions 0 and 2 name one file; 1 and 3 name their own.
  const std::vector<std::string> keys = {"/out/401234567890.eps", "/out/4012345678901.eps",
                                         "/out/401234567890.eps", "/out/9638507.eps"};
  cli::ClashCheck check;
  for (std::size_t i = 0; i < keys.size(); ++i) check.add(i, keys[i]);
  const std::vector<std::uint32_t> suspects = check.suspects();
  EXPECT_EQ(suspects, (std::vector<std::uint32_t>{0, 2}));
  for (std::uint32_t i : suspects) check.confirm(i, static_cast<int>(i) + 1, keys[i]);
  const auto messages = check.messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("lines 1, 3"), std::string::npos) << messages[0];
  EXPECT_NE(check.refusal(0), "");
  EXPECT_EQ(check.refusal(1), "");  // 4012345678901 names its own file
  EXPECT_NE(check.refusal(2), "");
}

// 10,000 lines of a catalogue, a few of them broken: every line is written or explained.
TEST(Batch, ACatalogueOfTenThousandLines) {
  test::TempDir dir;
  std::ofstream csv(dir.file("catalogue.csv"), std::ios::binary);
  csv << "type,data,addon,price,output\r\n";
  int broken = 0;
  for (int i = 0; i < 10000; ++i) {
    char isbn[16];
    std::snprintf(isbn, sizeof isbn, "978%09d", i);
    if (i % 1000 == 7) {
      csv << "isbn13,\"" << isbn << "\",,,\r\n";  // 12 characters: refused
      ++broken;
    } else if (i % 2) {
      csv << "isbn13," << isbn << "0,5" << (i % 10000 + 10000) % 10000 / 1000 << "999,\"EUR 9,99\",\r\n";
    } else {
      csv << "ean13," << isbn << ",,,\r\n";
    }
  }
  csv.close();
  // --outdir is made; the catalogue's typed check digits are mostly wrong, and replaced.
  const test::CommandResult ok = test::cli("--batch " + shellQuote(dir.file("catalogue.csv")) + " --outdir " +
                        shellQuote(dir.file("out")) + " --format eps --jobs 4 --fix-check-digits");
  EXPECT_EQ(ok.exitCode, 1);
  const std::string summary = std::to_string(10000 - broken) + " written, " + std::to_string(broken) + " refused\n";
  EXPECT_EQ(ok.output.rfind(summary, 0), 0u) << ok.output.substr(0, 300);
  EXPECT_NE(ok.output.find("line 9: 978000000007: ISBN-13 needs 13 characters besides hyphens; got 12"),
            std::string::npos)
      << ok.output.substr(0, 300);
  int files = 0;
  for (auto& e : fs::directory_iterator(dir.file("out"))) {
    ++files;
    EXPECT_NE(e.path().filename().string()[0], '.') << "temporary file left: " << e.path();
  }
  EXPECT_EQ(files, 10000 - broken);
}

// The render core shared by 8 threads gives the bytes one thread gives.
TEST(Batch, EightThreadsWriteTheBytesOfOne) {
  test::TempDir dir;
  std::string csv;
  const char* formats[] = {"eps", "png", "tiff", "jpg", "svg"};
  for (int i = 0; i < 48; ++i) {
    char line[160];
    std::snprintf(line, sizeof line, "%s,978316148%03d%s,5%04d,%d.99,f%02d.%s,,%d,%d\n",
                  i % 3 ? "isbn13" : "ean13", i, i % 3 ? "X" : "", i, i, i, formats[i % 5],
                  i % 10, 1 + i % 3);
    csv += line;
  }
  test::writeFile(dir.file("in.csv"), csv);
  for (const char* run : {"one", "eight"}) {
    fs::create_directory(dir.file(run));
    const test::CommandResult c = test::cli(std::string("--batch ") + shellQuote(dir.file("in.csv")) + " --outdir " +
                         shellQuote(dir.file(run)) + " --fix-check-digits --jobs " + (run[0] == 'o' ? "1" : "8"));
    ASSERT_EQ(c.exitCode, 0) << c.output;
  }
  for (auto& e : fs::directory_iterator(dir.file("one"))) {
    const std::string name = e.path().filename().string();
    EXPECT_EQ(test::readFile(e.path().string()), test::readFile(dir.file("eight/" + name))) << name;
  }
  // Verified, a raster is encoded from the bitmap drawn for its check: the same bytes. The
  // 100 dpi lines of small sizes do not scan and are refused.
  fs::create_directory(dir.file("verified"));
  test::cli("--batch " + shellQuote(dir.file("in.csv")) + " --outdir " + shellQuote(dir.file("verified")) +
            " --fix-check-digits --verify --jobs 8");
  int written = 0;
  for (auto& e : fs::directory_iterator(dir.file("verified"))) {
    const std::string name = e.path().filename().string();
    EXPECT_EQ(test::readFile(e.path().string()), test::readFile(dir.file("one/" + name))) << name;
    ++written;
  }
  EXPECT_GE(written, 40);
}

TEST(Batch, UsageAndInputErrorsWriteNothing) {
  test::TempDir dir;
  test::writeFile(dir.file("open.csv"), "ean13,401234567890,,,a.eps\n\"ean13,401234567890,,,b.eps\n");
  test::writeFile(dir.file("pipes.csv"), "Artikel|Nummer|Preis\nA1|4012345678901|9,99\n");
  test::writeFile(dir.file("nodata.csv"), "type,addon,File\nean13,,a.eps\n");
  const std::vector<test::CliRow> rows = {
      {"--batch " + shellQuote(dir.file("missing.csv")), 2, "cannot read"},
      {"--batch " + shellQuote(dir.file("open.csv")), 2, "a quoted field is not closed; nothing written"},
      {"--batch " + shellQuote(dir.file("pipes.csv")), 2,
       "the first line names no known column (type, data, addon, price, output, format, size, res, "
       "strict, quiet, bwr, transparent, variant, magnification, module, dpi, snap_dpi, height, font, "
       "outline, price_code, ai, dl_domain, companion, companion_module, ecc, gtin_text) and is no data line "
       "either (EAN-13 needs 12 or 13 "
       "digits; got 20); its fields: \"Artikel|Nummer|Preis\"; nothing written"},
      {"--batch " + shellQuote(dir.file("nodata.csv")), 2, "the header line names no data column"},
      {"--batch x.csv --delimiter '|'", 2, "bad value for --delimiter"},
      {"--batch x.csv --strict --fix-check-digits", 2, "do not go together"},
      {"--batch x.csv 401234567890", 2, "not the command line"},
      {"--batch x.csv --jobs 0", 2, "bad value for --jobs"},
      {"--report r.csv -o x.eps 401234567890", 2, "--report goes with --batch"},
  };
  for (const test::CliRow& r : rows) test::expectCli(r);
  EXPECT_FALSE(fs::exists("a.eps"));
}

TEST(Batch, StandardInputAndStrictColumn) {
  test::TempDir dir;
  test::writeFile(dir.file("in.csv"), "data,strict\n4006381333930,yes\n4006381333931,yes\n401234567890,\n"
                                      "4012345678900,\n5012345678901,0\n");
  const test::CommandResult c = test::cli("--batch - --outdir " + shellQuote(dir.path().string()) + " < " +
                       shellQuote(dir.file("in.csv")));
  EXPECT_EQ(c.exitCode, 1) << c.output;
  EXPECT_NE(c.output.find("3 written, 2 refused"), std::string::npos) << c.output;
  EXPECT_NE(c.output.find("line 2: 4006381333930: check character 0 is wrong; 1 expected\n"), std::string::npos) << c.output;
  // From a file, a wrong check digit refuses the line unless its strict cell is 0.
  EXPECT_NE(c.output.find("line 5: 4012345678900: check character 0 is wrong; 1 expected\n"), std::string::npos) << c.output;
  EXPECT_NE(c.output.find("line 6: 5012345678901: check character 1 is wrong; 0 expected, replaced\n"),
            std::string::npos) << c.output;
  // A spreadsheet's number that lost its leading zeros is named as such.
  test::writeFile(dir.file("zeros.csv"), "type,data,addon\nupca,3600029145,\nissn,3178471,\nupca,03600029145,3\n");
  const test::CommandResult zeros = test::cli("--batch " + shellQuote(dir.file("zeros.csv")) + " --outdir " +
                                              shellQuote(dir.path().string()));
  EXPECT_NE(zeros.output.find("line 2: 3600029145: UPC-A needs 11 or 12 digits; got 10 (leading zeros lost by a spreadsheet?)"),
            std::string::npos) << zeros.output;
  EXPECT_NE(zeros.output.find("line 3: 3178471: ISSN needs 8 characters besides hyphens; got 7 (leading zeros lost"),
            std::string::npos) << zeros.output;
  EXPECT_NE(zeros.output.find("got \"3\" (leading zeros lost by a spreadsheet?)"), std::string::npos) << zeros.output;
  // --fix-check-digits: replaced with a note, as for one file.
  test::writeFile(dir.file("fix.csv"), "4012345678900\n");
  const test::CommandResult fixed = test::cli("--batch - --fix-check-digits --outdir " + shellQuote(dir.path().string()) +
                                              " < " + shellQuote(dir.file("fix.csv")));
  EXPECT_EQ(fixed.exitCode, 0) << fixed.output;
  EXPECT_NE(fixed.output.find("check character 0 is wrong; 1 expected, replaced"), std::string::npos) << fixed.output;
}

// With the temporary folder full, every refused line still has its reason printed: 3,000
// reasons (150 kB) against a /tmp of one page, in a mount namespace of its own (the
// test's folder is seen at /mnt there, since it may lie under /tmp).
TEST(Batch, EveryReasonIsPrintedWithAFullTemporaryFolder) {
  if (geteuid() != 0 || test::run("unshare -m true").exitCode != 0)
    GTEST_SKIP() << "a private /tmp needs root and unshare";
  test::TempDir dir;
  std::string csv = "type,data\n";
  for (int i = 0; i < 3000; ++i) csv += "ean13," + std::to_string(i) + "\n";
  test::writeFile(dir.file("in.csv"), csv);
  fs::create_directory(dir.file("out"));
  // The program is run from the test's folder: a build under /tmp is hidden by the tmpfs.
  fs::copy_file(STRIMLO_CLI, dir.file("strimlo-cli"));
  const test::CommandResult c = test::run(
      "cd " + shellQuote(dir.path().string()) +
      " && unshare -m sh -c 'mount --bind \"$PWD\" /mnt && cd /mnt && "
      "mount -t tmpfs -o size=4k tmpfs /tmp && ./strimlo-cli --batch in.csv --outdir out'");
  EXPECT_EQ(c.exitCode, 1);
  EXPECT_EQ(c.output.rfind("0 written, 3000 refused\n", 0), 0u) << c.output.substr(0, 300);
  std::size_t reasons = 0;
  for (std::size_t at = 0; (at = c.output.find("\nline ", at)) != std::string::npos; ++at) ++reasons;
  EXPECT_EQ(reasons, 3000u);
  EXPECT_NE(c.output.find("\nline 3001: 2999: EAN-13 needs 12 or 13 digits; got 4\n"),
            std::string::npos);
}

// --verify refuses what reads badly; the report has a row for every line, refused or not.
TEST(Batch, VerifyRefusesBelowTheGradeAndTheReportListsEveryLine) {
  test::TempDir dir;
  test::writeFile(dir.file("in.csv"), "type,data,size,res,output,companion\n"
                                      "ean8,4012345,0,2,e8_300.png,\n"
                                      "ean8,4012345,0,3,e8_600.png,\n"
                                      "ean13,12345,,,short.png,\n"
                                      "gs1-datamatrix,9780306406157,,,dm.png,\n"
                                      "ean13,9780306406157,,,pack.png,qr\n");
  const test::CommandResult c =
      test::cli("--batch " + shellQuote(dir.file("in.csv")) + " --outdir " + shellQuote(dir.path().string()) +
                " --verify --min-grade B --report " + shellQuote(dir.file("r.csv")));
  EXPECT_EQ(c.exitCode, 1) << c.output;
  EXPECT_NE(c.output.find("3 written, 2 refused"), std::string::npos) << c.output;
  EXPECT_FALSE(fs::exists(dir.file("e8_300.png")));
  EXPECT_TRUE(fs::exists(dir.file("e8_600.png")));
  const std::string report = test::readFile(dir.file("r.csv"));
  const std::vector<std::string> starts = {
      "output,data,decoded,grade,letter,decode,symbol_contrast,minimum_reflectance,"
      "minimum_edge_contrast,modulation,defects,decodability,quiet_zones,refusal,matrix_decoded,"
      "matrix_symbol_contrast,matrix_module_dots,matrix_whole_dots\n",
      "e8_300.png,4012345,40123455,1.0,D,1.000,", "e8_600.png,4012345,40123455,4.0,A,1.000,",
      "short.png,12345,,,,,,,,,,,,EAN-13 needs 12 or 13 digits",
      // A 2D type: no grade or letter, its decode and contrast, then its own columns.
      "dm.png,9780306406157,0109780306406157,,,1.000,100.000,,,,,,,,0109780306406157,100.000,6.00,1\n",
      // A companion: the linear symbol's grade, the companion's columns after the refusal.
      "pack.png,9780306406157,9780306406157,4.0,A,1.000,",
      ",,https://id.gs1.org/01/09780306406157,100.000,6.00,1\n"};
  std::size_t at = 0;
  for (const std::string& s : starts) {
    at = report.find(s, at);
    ASSERT_NE(at, std::string::npos) << s << "\n" << report;
  }
  EXPECT_NE(report.find("grade D is below the --min-grade B"), std::string::npos) << report;
}

// Ctrl-C stops the batch between files: no temporary file is left, every file is whole.
TEST(Batch, InterruptLeavesOnlyWholeFiles) {
  test::TempDir dir;
  std::string csv;
  for (int i = 0; i < 400; ++i) csv += "ean13,978316148" + std::to_string(1000 + i).substr(1) + ",,,,tiff,5,4\n";
  test::writeFile(dir.file("in.csv"), csv);
  fs::create_directory(dir.file("out"));
  const std::string args = "--batch " + shellQuote(dir.file("in.csv")) + " --outdir " + shellQuote(dir.file("out")) +
                           " --jobs 2 > " + shellQuote(dir.file("log")) + " 2>&1";
  ASSERT_TRUE(test::interruptCli(args, std::chrono::milliseconds(700), SIGINT)) << "the batch did not stop";
  const std::string log = test::readFile(dir.file("log"));
  EXPECT_NE(log.find("interrupted"), std::string::npos) << log;
  int files = 0;
  for (auto& e : fs::directory_iterator(dir.file("out"))) {
    ++files;
    ASSERT_NE(e.path().filename().string()[0], '.') << "temporary file left";
    EXPECT_TRUE(test::readTiffFile(e.path().string())) << e.path();
  }
  EXPECT_GT(files, 0);
  EXPECT_LT(files, 400);
}

}  // namespace
}  // namespace strimlo
