// ISBN lines hyphenated by the agency's range file (a small one of our own, in its
// structure), ISMN lines by their publisher number, and what a bad range file gets: a
// note naming it and the cause, and the line as typed.
#include <gtest/gtest.h>

#include <fstream>

#include "range_file.h"
#include "stages.h"
#include "test_support.h"

namespace strimlo {
namespace {

using test::testData;

std::string joined(const std::vector<std::string>& notes) {
  std::string all;
  for (const std::string& n : notes) all += n + "\n";
  return all;
}

TEST(Ranges, HyphenateTheLine) {
  struct Row {
    const char* what;
    Symbology type;
    const char* data;
    bool withFile;    // the small range file, else none
    bool hyphenate;   // --hyphenate
    const char* line;
    const char* says;  // part of a note; "" for none
  };
  const Row rows[] = {
      {"978-3, a 2-digit registrant", Symbology::ISBN13, "9783161484100", true, false,
       "ISBN 978-3-16-148410-0", ""},
      {"978-0, a 3-digit registrant", Symbology::ISBN13, "9780306406157", true, false,
       "ISBN 978-0-306-40615-7", ""},
      {"979-10, a 2-digit group", Symbology::ISBN13, "9791032300824", true, false,
       "ISBN 979-10-323-0082-4", ""},
      {"978-1, a 6-digit registrant", Symbology::ISBN13, "9781916146105", true, false,
       "ISBN 978-1-916146-10-5", ""},
      {"grouped with spaces where the ranges put hyphens: kept, no note", Symbology::ISBN13,
       "978 3 16 148410 0", true, false, "ISBN 978 3 16 148410 0", ""},
      {"typed hyphens that differ: kept, the right form named", Symbology::ISBN13,
       "978-3-8632-6766-7", true, false, "ISBN 978-3-8632-6766-7",
       "hyphenate it 978-3-86326-766-7"},
      {"--hyphenate replaces them", Symbology::ISBN13, "978-3-8632-6766-7", true, true,
       "ISBN 978-3-86326-766-7", ""},
      {"a wrong check digit, mended, then hyphenated", Symbology::ISBN13, "9783161484109", true,
       false, "ISBN 978-3-16-148410-0", ""},
      {"ISBN-10: the group from 978, its own check character", Symbology::ISBN10, "030640615X",
       true, false, "ISBN 0-306-40615-2", ""},
      {"ISBN-10 ending in X", Symbology::ISBN10, "080442957x", true, false,
       "ISBN 0-8044-2957-X", ""},
      {"a registrant range of length 0: noted, not hyphenated", Symbology::ISBN13,
       "9783951234564", true, false, "ISBN 9783951234564", "not put in use"},
      {"a group range of length 0", Symbology::ISBN13, "9786512345679", true, false,
       "ISBN 9786512345679", "not put in use"},
      {"a group the file does not list", Symbology::ISBN13, "9789912345676", true, false,
       "ISBN 9789912345676", "no range for it"},
      {"no range file: as typed", Symbology::ISBN13, "9783161484100", false, false,
       "ISBN 9783161484100", ""},
      {"no range file, a wrong check digit: mended, hyphens kept", Symbology::ISBN13,
       "978-3-16-148410-9", false, false, "ISBN 978-3-16-148410-0", "9 is wrong; 0 expected"},
      {"no range file, ISBN-10 with a wrong check character", Symbology::ISBN10,
       "0-306-40615-3", false, false, "ISBN 0-306-40615-2", "3 is wrong; 2 expected"},
      {"ISMN needs no file: 3-digit publisher from 0", Symbology::ISMN, "9790060115615", false,
       false, "ISMN 979-0-060-11561-5", ""},
      {"ISMN: 4 digits from 1000", Symbology::ISMN, "9790260000438", false, false,
       "ISMN 979-0-2600-0043-8", ""},
      {"ISMN: 5 digits from 40000", Symbology::ISMN, "9790500212348", false, false,
       "ISMN 979-0-50021-234-8", ""},
      {"ISMN: 6 digits from 700000", Symbology::ISMN, "9790700123451", false, false,
       "ISMN 979-0-700123-45-1", ""},
      {"ISMN: 7 digits from 9000000", Symbology::ISMN, "9790900000019", false, false,
       "ISMN 979-0-9000000-1-9", ""},
      {"ISMN in the M form without hyphens", Symbology::ISMN, "M260000438", true, false,
       "ISMN 979-0-2600-0043-8", ""},
      {"ISMN typed with hyphens of its own: kept", Symbology::ISMN, "979-0-26000-043-8", true,
       false, "ISMN 979-0-26000-043-8", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Request request;
    request.type = r.type;
    request.data = r.data;
    request.hyphenate = r.hyphenate;
    if (r.withFile) request.ranges = testData("ranges_small.xml");
    const Completed c = complete(request);
    ASSERT_TRUE(c.symbol) << c.message;
    EXPECT_EQ(c.symbol->isbnLine, r.line);
    const std::string notes = joined(c.notes);
    if (*r.says == '\0') {
      EXPECT_EQ(notes.find("ISBN"), std::string::npos) << notes;
    } else {
      EXPECT_NE(notes.find(r.says), std::string::npos) << notes;
    }
  }
}

TEST(Ranges, ABadFileIsNotedAndLeavesTheLineAsTyped) {
  test::TempDir dir;
  auto write = [&dir](const char* name, const std::string& text) {
    std::ofstream(dir.file(name), std::ios::binary) << text;
    return dir.file(name);
  };
  const std::string good = test::readFile(testData("ranges_small.xml"));
  std::string lengthNine = good;
  lengthNine.replace(lengthNine.find("<Length>2</Length>"), 18, "<Length>9</Length>");
  std::string oldDate = good;
  oldDate.replace(oldDate.find("Mon, 2 Nov 2026"), 15, "Fri, 2 Nov 2018");
  // Past the 16 MB cap without writing it: a file with a hole.
  const std::string huge = write("huge.xml", "<a/>");
  std::filesystem::resize_file(huge, kMaxRangeFileBytes + 1);
  struct Row {
    const char* what;
    std::string path;
    const char* says;
    bool hyphenated;  // an old file is still used
  };
  const Row rows[] = {
      {"missing", dir.file("none.xml"), "No such file or directory", false},
      {"a folder", dir.path().string(), "a folder", false},
      {"empty", write("empty.xml", ""), "not well-formed XML", false},
      {"not XML", write("text.xml", "ISBN ranges\n978-3 2 3 4\n"), "not well-formed XML", false},
      {"cut short", write("cut.xml", good.substr(0, good.size() / 2)), "not well-formed XML", false},
      {"over 16 MB", huge, "larger than 16 MB", false},
      {"XML of something else", write("other.xml", "<html><body/></html>"), "no EAN.UCC", false},
      {"a range of one number", write("range.xml", std::string(good).replace(good.find("0000000-5999999"), 15, "5999999")),
       "a Range that is not", false},
      {"a length of 9", write("length.xml", lengthNine), "a Length that is not 0 to 7", false},
      {"a message over a year old: used, with a note", write("old.xml", oldDate), "over a year old", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Request request;
    request.type = Symbology::ISBN13;
    request.data = "9783161484100";
    request.ranges = r.path;
    const Completed c = complete(request);
    ASSERT_TRUE(c.symbol) << c.message;
    EXPECT_EQ(c.symbol->isbnLine, r.hyphenated ? "ISBN 978-3-16-148410-0" : "ISBN 9783161484100");
    const std::string notes = joined(c.notes);
    EXPECT_NE(notes.find(r.says), std::string::npos) << notes;
    EXPECT_NE(notes.find(r.path), std::string::npos) << notes;
  }
}

}  // namespace
}  // namespace strimlo
