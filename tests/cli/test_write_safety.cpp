// Hostile batch lines and paths: every file lands inside its folder or nowhere, nothing
// outside that folder changes, and every refusal says why in one plain line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "cli_runner.h"

namespace strimlo {
namespace {

namespace fs = std::filesystem;
using test::shellQuote;

enum class Needs { Nothing, Root, NoSanitizer };  // ulimit -v and ASan's shadow memory don't mix

struct HostileRow {
  const char* attack;
  std::string setup;  // shell commands run in the folder first: links, files, modes
  std::string csv;    // in.csv; "@" stands for the folder's absolute path
  std::string args;   // the command line after strimlo-cli, run in the folder
  int exitCode;
  std::string files;  // out/ afterwards: "name", "name@" for a link, "name/" for a folder
  std::string says;   // a part of what it prints
  Needs needs = Needs::Nothing;
  std::string firstBytes = {};  // out/<first name in files> starts with this, when given
};

const std::string kCli = STRIMLO_CLI;
const std::string kBatch = "--batch in.csv --outdir out";
const std::string kIsbn = "--type isbn13 978-3-16-148410-0";

std::vector<HostileRow> hostileRows() {
  const std::string longName(251, 'n');
  return {
      {"a .. leads out of --outdir", "", "ean13,401234567890,,,../outside/victim.eps\n", kBatch, 1,
       "", "\"..\" in the path"},
      {"an absolute output path", "", "ean13,401234567890,,,@/outside/victim.eps\n", kBatch, 1, "",
       "an absolute path"},
      {"a folder link out of --outdir", "ln -s ../outside out/sub",
       "ean13,401234567890,,,sub/victim.eps\n", kBatch, 1, "sub@",
       "its folder lies outside the output folder"},
      {"a link planted at a name made from the data",
       "ln -s ../outside/victim.eps out/4012345678901.eps", "ean13,4012345678901\n", kBatch, 0,
       "4012345678901.eps", "1 written"},
      {"another user's link in a sticky shared folder",
       "chmod 1777 out && ln -s ../outside/victim.eps out/label.eps && chown -h 65534 "
       "out/label.eps",
       "", "-o out/label.eps 401234567890", 1, "label.eps@", "not followed", Needs::Root},
      {"a NUL cuts two names to one", "",
       std::string("ean13,401234567890,,,same.eps\0one\n", 34) +
           std::string("ean13,401234567891,,,same.eps\0two\n", 34),
       kBatch, 1, "", "control character (\\x00)"},
      {"two spellings of one file", "",
       "ean13,401234567890,,,a.eps\nean13,401234567891,,,./a.eps\n", kBatch, 1, "",
       "lines 1, 2 would all write"},
      {"names that differ only in letter case", "",
       "ean13,401234567890,,,label.png\nean13,4012345678901,,,LABEL.png\nean8,9638507,,,Label.PNG\n",
       kBatch, 1, "", "/out/label.png (names that differ only in letter case"},
      {"an accent composed and as a combining mark", "",
       "ean13,401234567890,,,caf\xc3\xa9.eps\nean8,9638507,,,cafe\xcc\x81.eps\n", kBatch, 1, "",
       "its name differs from theirs only in letter case or accent form"},
      {"temporary files a killed save left: ours and a day old go, the rest stay",
       "touch -d '2 days ago' out/.strimlo-partial-Ab3dEf out/.strimlo-partial-toolong1 "
       "out/.strimlo-keep && touch out/.strimlo-partial-Fresh1",
       "ean13,401234567890\n", kBatch, 0,
       ".strimlo-keep .strimlo-partial-Fresh1 .strimlo-partial-toolong1 401234567890.eps",
       "1 written"},
      {"a day-old temporary file beside a single file's target",
       "touch -d '2 days ago' out/.strimlo-partial-Ab3dEf", "", "-o out/x.eps 401234567890", 0,
       "x.eps", ""},
      {"a pipe planted at a name", "mkfifo out/4012345678901.eps", "ean13,4012345678901\n", kBatch,
       1, "4012345678901.eps|", "not a regular file"},
      {"an allocation failure", "", "", "-o out/big.tiff --addon 51299 --size 9 --res 7 " + kIsbn,
       1, "", "not enough memory for a 14012 x 7920 image", Needs::NoSanitizer},
      {"a preview too large for memory", "", "", "--preview 8000x8000 -o out/p.png 401234567890", 1,
       "", "not enough memory for a 8000 x 8000 image", Needs::NoSanitizer},
      {"threads beyond a process limit", "",
       "ean13,400000000001\nean13,400000000002\nean13,400000000003\n", kBatch + " --jobs 200", 0,
       "400000000001.eps 400000000002.eps 400000000003.eps", "threads could be started",
       Needs::NoSanitizer},
      {"/dev/stdout appending to a log", "printf 'line1\\n' > out/app.log", "",
       "-o /dev/stdout 401234567890 >> out/app.log", 0, "app.log", "", Needs::Nothing,
       "line1\n%!PS-Adobe"},
      {"- is standard output", "printf 'line1\\n' > out/app.log", "",
       "-o - 401234567890 >> out/app.log", 0, "app.log", "", Needs::Nothing, "line1\n%!PS-Adobe"},
      {"--size out of range", "", "", "--size 10 -o out/x.eps 401234567890", 2, "",
       "--size: 10 (0 to 9)"},
      {"--res out of range", "", "", "--res 8 -o out/x.eps 401234567890", 2, "",
       "--res: 8 (0 to 7)"},
      {"size and res cells out of range", "",
       "ean13,401234567890,,,a.eps,,-1\nean13,401234567890,,,b.eps,,,8\n", kBatch, 1, "",
       "line 2: 401234567890: bad res \"8\" (0 to 7)"},
      {"a folder as the batch file", "", "", "--batch out", 2, "",
       "cannot read out: Is a directory"},
      {"terminal escapes in a cell", "", "ean13,401234567890,,,a.eps\nean13,\x1b]0;owned\x07\x1b[2J1\n",
       kBatch, 1, "a.eps", "\\x1b]0;owned\\x07"},
      {"terminal escapes in the first line's data: the file is refused", "",
       "ean13,\x1b]0;owned\x07\x1b[2J1\n", kBatch, 2, "", "\\x1b]0;owned\\x07"},
      {"10 kB cells", "",
       "ean13,401234567890,,,a.eps\nean13," + std::string(10000, '7') + ",,," + std::string(10000, 'x') +
           "\n",
       kBatch, 1, "a.eps", "7777...: "},
      {"a missing folder", "", "", "-o out/missing/x.eps 401234567890", 1, "",
       "out/missing/x.eps: No such file or directory; nothing was changed"},
      {"a folder at the name", "mkdir out/d.eps", "ean13,401234567890,,,d.eps\n", kBatch, 1,
       "d.eps/", "out/d.eps: Is a directory; nothing was changed"},
      {"a 255-byte name", "", "ean13,401234567890,,," + longName + ".eps\n", kBatch, 0,
       longName + ".eps", "1 written"},
      {"an unknown column beside known ones is ignored, with a guess", "",
       "type,data,adon\nean13,401234567890,51299\n", kBatch, 0, "401234567890.eps",
       "unknown columns ignored: \"adon\" (did you mean addon?)"},
      {"a missing --outdir is made with its parents", "", "ean13,401234567890\n",
       "--batch in.csv --outdir out/a/b", 0, "a/", "1 written"},
      {"a dangling link where --outdir is to be made", "ln -s ../outside/none out/new",
       "ean13,401234567890\n", "--batch in.csv --outdir out/new/b", 1, "new@",
       "new is a link or not a folder; no link is followed"},
      {"another user's link where --outdir is to be made",
       "chmod 1777 out && ln -s ../outside out/new && chown -h 65534 out/new",
       "ean13,401234567890\n", "--batch in.csv --outdir out/new/b", 1, "new@",
       "new is another user's link; not followed", Needs::Root},
      {"an add-on and price for EAN-13", "", "",
       "--addon 51299 --price 9.99 -o out/e.eps 401234567890", 0, "e.eps",
       "price: EAN-13 takes none; left out"},
      {"an add-on of the wrong length", "", "", "--addon 512 -o out/i.eps " + kIsbn, 1, "",
       "the add-on must be 5 digits; got \"512\""},
      {"a price wider than its room", "", "",
       "--addon 51299 --price 'EUR 123456,99' -o out/i.png " + kIsbn, 0, "i.png",
       "price: wider than the room beside the bars"},
      {"a price without an add-on, wider than the add-on's room", "", "",
       "--price 'EUR 123456,99 plus postage' -o out/i.png " + kIsbn, 0, "i.png",
       "price: wider than the room beside the bars"},
      {"a line break in --price would start a DSC line in the EPS", "", "",
       "--addon 51299 --price \"$(printf 'USD\\n%%%%EndDocument')\" -o out/p.eps " + kIsbn, 1, "",
       "the price text holds a control character"},
      {"ESC in --price as the batch's default", "", "isbn13,978-3-16-148410-0,51299\n",
       kBatch + " --price \"$(printf '\\033[2J9.99')\"", 1, "",
       "line 1: 978-3-16-148410-0: the price text holds a control character"},
      {"strict=y verifies the check digit", "", "data,strict\n4006381333930,y\n", kBatch, 1, "",
       "line 2: 4006381333930: check character 0 is wrong; 1 expected"},
      {"a yes/no cell that is neither", "", "data,quiet,transparent\n401234567890,ON,maybe\n",
       kBatch, 1, "", "line 2: 401234567890: bad transparent \"maybe\" (yes or no"},
      {"the summary to a full disk", "", "ean13,401234567890\n", kBatch + " > /dev/full", 1,
       "401234567890.eps", "cannot write to standard output: No space left on device"},
      {"the summary to a closed standard output", "", "ean13,401234567890\n", kBatch + " >&-", 1,
       "401234567890.eps", "cannot write to standard output: Bad file descriptor"},
      // Made in memory first, so a pipe takes it whole.
      {"TIFF to a pipe", "", "", "--format tiff -o - 401234567890 | head -c 4 | grep -q 'II\\*'", 0, "", ""},
      {"a line longer than 64 KiB, then a good one", "",
       "type,data\nean13," + std::string(70000, '7') + "\nean13,401234567890\n", kBatch, 1,
       "401234567890.eps", "line 2: longer than 65536 bytes"},
      {"/dev/zero as the batch file", "", "", "--batch /dev/zero --outdir out", 2, "",
       "cannot read /dev/zero: a device, not a file or a pipe", Needs::NoSanitizer},
      {"a 200 MB file of one line, in 350 MB of address space",
       "(echo type,data; head -c 200000000 /dev/zero | tr '\\0' 7) > out/big.csv", "",
       "--batch out/big.csv --outdir out; s=$?; rm out/big.csv; exit $s", 1, "",
       "0 written, 1 refused",
       Needs::NoSanitizer},
      {"a right-to-left override in a cell", "", "type,data\nean13,4012\xe2\x80\xae" "0987\n", kBatch, 1, "",
       "line 2: 4012\\xe2\\x80\\xae0987: EAN-13 needs"},
  };
}

// out/'s entries, sorted and marked by kind.
std::string listing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) {
    const auto s = e.symlink_status();
    names.push_back(e.path().filename().string() + (fs::is_symlink(s)     ? "@"
                                                    : fs::is_directory(s) ? "/"
                                                    : fs::is_fifo(s)      ? "|"
                                                                          : ""));
  }
  std::sort(names.begin(), names.end());
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : " ") + n;
  return out;
}

// Every file and link in the folder but out/, with its bytes or target.
std::map<std::string, std::string> outside(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator();
       ++it) {
    if (it->path().filename() == "out" && it.depth() == 0) {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_symlink())
      files[it->path().string()] = "-> " + fs::read_symlink(it->path()).string();
    else if (it->is_regular_file())
      files[it->path().string()] = test::readFile(it->path().string());
  }
  return files;
}

bool skipped(Needs needs) {
#if defined(__SANITIZE_ADDRESS__)
  if (needs == Needs::NoSanitizer) return true;
#endif
  return needs == Needs::Root && geteuid() != 0;
}

// What a row runs: the memory rows under a limit the rest of the machine never feels.
std::string command(const HostileRow& r) {
  const std::string cli = kCli + " " + r.args;
  if (r.needs != Needs::NoSanitizer) return cli;
  if (r.args.find("--jobs") != std::string::npos)
    return "ulimit -s 1000000; ulimit -v 2500000; " + cli;
  if (r.args.find("big.csv") != std::string::npos) return "ulimit -v 350000; " + cli;
  return std::string("ulimit -v ") +
         (r.args.find("--preview") != std::string::npos ? "200000" : "20000") + "; " + cli;
}

void expectNoControlCharacters(const std::string& output, const char* attack) {
  for (char c : output) {
    ASSERT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n')
        << attack << ": raw control character\n"
        << output;
  }
}

TEST(WriteSafety, HostileLinesAndPathsStayInTheirFolder) {
  for (const HostileRow& r : hostileRows()) {
    SCOPED_TRACE(r.attack);
    if (skipped(r.needs)) continue;
    test::TempDir dir;
    const std::string root = dir.path().string();
    fs::create_directory(dir.path() / "out");
    fs::create_directory(dir.path() / "outside");
    test::writeFile(dir.file("outside/victim.eps"), "VICTIM");
    std::string csv = r.csv;
    if (const auto at = csv.find('@'); at != std::string::npos) csv.replace(at, 1, root);
    test::writeFile(dir.file("in.csv"), csv);
    if (!r.setup.empty()) {
      ASSERT_EQ(test::run("cd " + shellQuote(root) + " && " + r.setup).exitCode, 0);
    }
    const auto before = outside(dir.path());

    const test::CommandResult c =
        test::run("cd " + shellQuote(root) + " && { " + command(r) + "; }");
    EXPECT_EQ(c.exitCode, r.exitCode) << c.output;
    EXPECT_NE(c.output.find(r.says), std::string::npos) << c.output.substr(0, 600);
    EXPECT_LT(c.output.size(), 2000u) << c.output.substr(0, 600);
    expectNoControlCharacters(c.output, r.attack);
    EXPECT_EQ(listing(dir.path() / "out"), r.files);
    EXPECT_EQ(outside(dir.path()), before);
    if (!r.firstBytes.empty()) {
      EXPECT_EQ(test::readFile(dir.file("out/" + r.files)).rfind(r.firstBytes, 0), 0u);
    }
  }
}

}  // namespace
}  // namespace strimlo
