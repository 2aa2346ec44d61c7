// GS1 data for the 2D symbols: what each symbol carries for a GTIN and its elements, and
// what is refused, naming the AI or the part and the rule.
#include <gtest/gtest.h>

#include "gs1.h"

namespace strimlo {
namespace {

struct Gs1Case {
  CodeType type;
  const char* data;
  const char* ai;
  const char* domain;
  std::optional<CodeType> companion;
  bool made;
  const char* expected;  // made: the content a reader decodes; else in the refusal
};

const Gs1Case kCases[] = {
    // Key qualifiers in the path in the order 22, 10, 21; other AIs as query parameters.
    {kGS1QR, "9780306406157", "(10)ABC123(17)271231", "", {}, true,
     "https://id.gs1.org/01/09780306406157/10/ABC123?17=271231"},
    {kGS1QR, "09780306406157", "(21)XYZ(15)280229(10)L1(22)V(3103)001250", "", {}, true,
     "https://id.gs1.org/01/09780306406157/22/V/10/L1/21/XYZ?15=280229&3103=001250"},
    // Every reserved character percent-encoded; a day of 00 for a whole month.
    {kGS1QR, "9780306406157", "(10)A/B%C&D?E=F+G(17)271200", "", {}, true,
     "https://id.gs1.org/01/09780306406157/10/A%2FB%25C%26D%3FE%3DF%2BG?17=271200"},
    {kGS1QR, "9780306406157", "(11)270200(3922)1299", "https://brand.example:8443/dl/", {}, true,
     "https://brand.example:8443/dl/01/09780306406157?11=270200&3922=1299"},
    {kGS1QR, "0-306-40615-2", "", "", {}, true, "https://id.gs1.org/01/09780306406157"},
    {kGS1QR, "036000291452", "(01)00036000291452", "", {}, true,
     "https://id.gs1.org/01/00036000291452"},
    {kGS1QR, "0317-8471", "", "", {}, true, "https://id.gs1.org/01/09770317847001"},
    // FNC1 first (not in the text); GS after a variable-length value that is not last.
    {kGS1DataMatrix, "9780306406157", "(10)ABC123(17)271231(21)XYZ", "", {}, true,
     "010978030640615710ABC123\x1D" "1727123121XYZ"},
    {kGS1DataMatrix, "40123455", "(3103)001250(10)X", "", {}, true, "0100000040123455310300125010X"},
    // A companion takes the linear symbol's GTIN.
    {kEAN13, "401234567890", "(10)L", "", kGS1QR, true, "https://id.gs1.org/01/04012345678901/10/L"},
    {kUPCE, "01234565", "", "", kGS1DataMatrix, true, "0100012345000065"},
    {kISBN13, "978-3-16-148410-0", "(17)300101", "", kGS1QR, true,
     "https://id.gs1.org/01/09783161484100?17=300101"},

    {kGS1QR, "12345", "", "", {}, false, "GTIN: 8, 12, 13 or 14 digits"},
    {kGS1QR, "97803064O6157", "", "", {}, false, "GTIN: digits only"},
    {kGS1QR, "9780306406157", "(12)271231", "", {}, false, "AI (12) is not one we accept"},
    {kGS1QR, "9780306406157", "(10)ABCDEFGHIJKLMNOPQRSTU", "", {}, false,
     "AI (10) batch or lot: up to 20 characters; got 21"},
    {kGS1QR, "9780306406157", "(21)AB C", "", {}, false,
     "AI (21) serial number: a space is outside the GS1 character set 82"},
    {kGS1QR, "9780306406157", "(22)caf\xC3\xA9", "", {}, false,
     "AI (22) consumer product variant: \"\\xC3\" is outside the GS1 character set 82"},
    {kGS1QR, "9780306406157", "(10)A#", "", {}, false, "\"#\" is outside the GS1 character set 82"},
    {kGS1QR, "9780306406157", "(17)271331", "", {}, false,
     "AI (17) expiry date 271331 (YYMMDD): month 13 does not exist"},
    {kGS1QR, "9780306406157", "(15)270229", "", {}, false, "day 29 does not exist in month 2"},
    {kGS1QR, "9780306406157", "(3103)12345", "", {}, false,
     "AI (3103) net weight, kg: 6 characters; got 5"},
    {kGS1QR, "9780306406157", "(3920)12.5", "", {}, false, "AI (3920) price: digits only; got \".\""},
    {kGS1QR, "9780306406157", "(3102)001000(3103)001250", "", {}, false, "both a net weight"},
    {kGS1QR, "9780306406157", "(10)A(10)B", "", {}, false, "AI (10) is given twice"},
    {kGS1QR, "9780306406157", "(10)", "", {}, false, "AI (10) batch or lot: no value"},
    {kGS1QR, "9780306406157", "10)ABC", "", {}, false, "AIs in parentheses"},
    {kGS1QR, "9780306406157", "(01)09780306406158", "", {}, false, "check digit 8 is wrong; 7 expected"},
    {kGS1QR, "9780306406157", "(01)04012345678901", "", {}, false, "is not the symbol's GTIN"},
    {kGS1QR, "9780306406157", "", "http://id.example", {}, false, "must start with https://"},
    {kGS1QR, "9780306406157", "", "https://id.example/a/../b", {}, false, "\"..\" segments"},
    {kGS1QR, "9780306406157", "", "https://id.example/a b", {}, false, "spaces, control characters"},
    {kGS1QR, "9780306406157", "", "https://id.example/\"x", {}, false, "\"\"\" is not allowed"},
    {kGS1QR, "9780306406157", "", "https://user@evil.example", {}, false, "\"@\" is not allowed"},
    {kGS1QR, "9780306406157", "", "https://id.example?x=1", {}, false, "\"?\" is not allowed"},
    {kGS1QR, "9780306406157", "", "https://", {}, false, "is not a host name"},
    {kGS1QR, "9780306406157", "", "https://id.example\n", {}, false, "control characters"},
    // Blanks around the elements and the domain, as a pasted cell brings them, are no part.
    {kGS1QR, "9780306406157", " (10)A\t", " https://b.example ", {}, true,
     "https://b.example/01/09780306406157/10/A"},
    // A serial of dots alone would be a dot-segment that takes the one before it away.
    {kGS1QR, "9780306406157", "(21)..", "", {}, false, "AI (21) \"..\": a Digital Link path segment"},
    {kEAN13, "401234567890", "(10).", "", kGS1QR, false, "AI (10) \".\": a Digital Link path segment"},
    {kGS1QR, "9780306406157", "(21)...", "", {}, true, "https://id.gs1.org/01/09780306406157/21/..."},
    {kGS1DataMatrix, "9780306406157", "(21)..", "", {}, true, "010978030640615721.."},
    {kEAN13, "401234567890", "(17)271232", "", kGS1DataMatrix, false,
     "companion: AI (17) expiry date 271232 (YYMMDD): day 32 does not exist in month 12"},
};

TEST(Gs1Data, ContentOrRefusal) {
  for (const Gs1Case& c : kCases) {
    SCOPED_TRACE(std::string(c.data) + " " + c.ai + " " + c.domain);
    Gs1Options options;
    options.ai = c.ai;
    options.dlDomain = c.domain;
    options.companion = c.companion;
    const Completion got = completeWithGs1(c.type, c.data, "", "", options);
    if (!c.made) {
      EXPECT_FALSE(got.symbol);
      EXPECT_EQ(got.refusal, Refusal::Gs1Data);
      EXPECT_NE(got.detail.find(c.expected), std::string::npos) << got.detail;
      continue;
    }
    ASSERT_TRUE(got.symbol) << got.detail;
    ASSERT_TRUE(got.symbol->matrix);
    const Matrix& m = *got.symbol->matrix;
    EXPECT_EQ(m.content, c.expected);
    EXPECT_EQ(m.hri.substr(0, 5), "(01) ");
    EXPECT_GT(m.rows, 0);
    EXPECT_EQ(m.dark.size(), static_cast<std::size_t>(m.rows) * m.cols);
    EXPECT_EQ(m.quiet, (c.companion ? *c.companion : c.type) == kGS1QR ? 4 : 1);
  }
}

// A wrong typed check digit is replaced with a note, as for the linear types, and the
// symbol carries the right one; --strict refuses on the same answer.
TEST(Gs1Data, WrongCheckDigitIsNamed) {
  const Completion c = completeWithGs1(kGS1QR, "9780306406158", "", "", {});
  ASSERT_TRUE(c.symbol);
  EXPECT_EQ(wrongCheckChar(*c.symbol), '7');
  EXPECT_EQ(c.symbol->matrix->content, "https://id.gs1.org/01/09780306406157");
}

// More than the largest symbol holds is refused, not cut.
TEST(Gs1Data, DataTooLargeForTheSymbol) {
  for (MatrixKind kind : {MatrixKind::QR, MatrixKind::DataMatrix}) {
    Matrix m;
    std::string data;
    for (int i = 0; i < 320; ++i) data += kind == MatrixKind::QR ? "https://ab" : "[3100]123456";
    const MatrixEncoding e = encodeMatrix(kind, data, 'H', m);
    EXPECT_FALSE(e.ok);
    EXPECT_NE(e.error.find("too large"), std::string::npos) << e.error;
  }
}

}  // namespace
}  // namespace strimlo
