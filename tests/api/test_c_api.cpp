// The C API as a C caller sees it: every setter's good and bad values, every status, the
// buffer protocol, and requests used from several threads at once.
#include "strimlo/strimlo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace {

using Request = std::unique_ptr<strimlo_request, decltype(&strimlo_request_free)>;
Request make() { return Request(strimlo_request_new(), &strimlo_request_free); }

// The whole file of a request, or the status that stopped it.
strimlo_status renderAll(strimlo_request* r, std::string& out) {
  size_t size = 0;
  if (strimlo_status s = strimlo_render(r, nullptr, 0, &size); s != STRIMLO_OK) return s;
  std::vector<unsigned char> buf(size);
  const strimlo_status s = strimlo_render(r, buf.data(), buf.size(), &size);
  out.assign(buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(size));
  return s;
}

struct Case {
  const char* what;
  std::function<strimlo_status(strimlo_request*)> call;
  strimlo_status expected;
  const char* error;  // a part of strimlo_error() after the call; "" for none
};

TEST(CApi, EverySetterAndRenderAnswersWithItsStatusAndMessage) {
  const Case cases[] = {
      {"type by value", [](auto r) { return strimlo_set_type(r, STRIMLO_TYPE_ISMN); }, STRIMLO_OK, ""},
      {"type out of range", [](auto r) { return strimlo_set_type(r, static_cast<strimlo_type>(10)); },
       STRIMLO_ERROR_ARGUMENT, "unknown code type 10"},
      {"negative type", [](auto r) { return strimlo_set_type(r, static_cast<strimlo_type>(-1)); },
       STRIMLO_ERROR_ARGUMENT, "unknown code type"},
      {"type by name", [](auto r) { return strimlo_set_type_name(r, "upce"); }, STRIMLO_OK, ""},
      {"unknown type name", [](auto r) { return strimlo_set_type_name(r, "qr"); },
       STRIMLO_ERROR_ARGUMENT, "ean8, ean13"},
      {"null type name", [](auto r) { return strimlo_set_type_name(r, nullptr); }, STRIMLO_ERROR_NULL, ""},
      {"format out of range", [](auto r) { return strimlo_set_format(r, static_cast<strimlo_format>(6)); },
       STRIMLO_ERROR_ARGUMENT, "unknown file format"},
      {"format by name", [](auto r) { return strimlo_set_format_name(r, "jpg"); }, STRIMLO_OK, ""},
      {"unknown format name", [](auto r) { return strimlo_set_format_name(r, "gif"); },
       STRIMLO_ERROR_ARGUMENT, "eps, png"},
      {"size out of range", [](auto r) { return strimlo_set_size(r, 10); }, STRIMLO_ERROR_ARGUMENT, "0 to 9"},
      {"resolution out of range", [](auto r) { return strimlo_set_resolution(r, -1); },
       STRIMLO_ERROR_ARGUMENT, "0 to 7"},
      {"reduction out of range", [](auto r) { return strimlo_set_bar_reduction(r, 101); },
       STRIMLO_ERROR_ARGUMENT, "0 to 100"},
      {"magnification out of range", [](auto r) { return strimlo_set_magnification(r, 74.5); },
       STRIMLO_ERROR_ARGUMENT, "outside 75 to 200 %"},
      {"magnification NaN", [](auto r) { return strimlo_set_magnification(r, std::nan("")); },
       STRIMLO_ERROR_ARGUMENT, "75 to 200 %"},
      {"module out of range", [](auto r) { return strimlo_set_module(r, 1.2); }, STRIMLO_ERROR_ARGUMENT,
       "0.2475 to 0.66 mm"},
      {"a module only a 2D type takes, on EAN-13: refused when made",
       [](auto r) {
         strimlo_set_data(r, "401234567890");
         strimlo_set_module(r, 0.7);
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_ARGUMENT, "0.2475 to 0.66 mm"},
      {"a 2D type's module out of GS1's retail range",
       [](auto r) {
         strimlo_set_type(r, STRIMLO_TYPE_GS1_QR);
         return strimlo_set_module(r, 1.2);
       },
       STRIMLO_ERROR_ARGUMENT, "module: the 2D X dimension must be 0.396 to 0.990 mm"},
      {"a linear module kept for a 2D type: refused when made",
       [](auto r) {
         strimlo_set_type(r, STRIMLO_TYPE_GS1_DATAMATRIX);
         strimlo_set_data(r, "9780306406157");
         strimlo_set_module(r, 0.3);
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_ARGUMENT, "module: the 2D X dimension must be 0.396 to 0.990 mm"},
      {"a 2D module set before its type",
       [](auto r) {
         strimlo_set_module(r, 0.9);
         strimlo_set_type_name(r, "gs1-qr");
         strimlo_set_data(r, "9780306406157");
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_OK, ""},
      {"an AI with an impossible date", [](auto r) { return strimlo_set_ai(r, "(10)A1(17)271331"); },
       STRIMLO_ERROR_ARGUMENT, "AI (17) expiry date 271331 (YYMMDD): month 13 does not exist"},
      {"an AI we do not accept", [](auto r) { return strimlo_set_ai(r, "(99)X"); }, STRIMLO_ERROR_ARGUMENT,
       "AI (99) is not one we accept"},
      {"an AI value outside set 82", [](auto r) { return strimlo_set_ai(r, "(10)A B"); },
       STRIMLO_ERROR_ARGUMENT, "a space is outside the GS1 character set 82"},
      {"an AI not UTF-8", [](auto r) { return strimlo_set_ai(r, "(10)A\xff"); }, STRIMLO_ERROR_TEXT,
       "ai: not valid UTF-8"},
      {"an AI text over 4096 bytes",
       [](auto r) { return strimlo_set_ai(r, ("(10)" + std::string(5000, 'A')).c_str()); },
       STRIMLO_ERROR_TEXT, "ai: too long"},
      {"a refused AI keeps the one before",
       [](auto r) {
         strimlo_set_type(r, STRIMLO_TYPE_GS1_QR);
         strimlo_set_data(r, "9780306406157");
         strimlo_set_ai(r, "(10)ABC");
         strimlo_set_ai(r, "(10)ABC(10)DEF");
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_OK, ""},
      {"an (01) that is not the symbol's GTIN",
       [](auto r) {
         strimlo_set_type(r, STRIMLO_TYPE_GS1_DATAMATRIX);
         strimlo_set_data(r, "9780306406157");
         strimlo_set_ai(r, "(01)04012345678901");
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_REFUSED, "is not the symbol's GTIN 09780306406157"},
      {"a domain that is not https", [](auto r) { return strimlo_set_dl_domain(r, "http://brand.example"); },
       STRIMLO_ERROR_ARGUMENT, "Digital Link domain: must start with https://"},
      {"a domain with a path back out",
       [](auto r) { return strimlo_set_dl_domain(r, "https://brand.example/dl/../x"); },
       STRIMLO_ERROR_ARGUMENT, "may not hold empty, \".\" or \"..\" segments"},
      {"a domain with a quote", [](auto r) { return strimlo_set_dl_domain(r, "https://a.example/\"x"); },
       STRIMLO_ERROR_ARGUMENT, "is not allowed"},
      {"a domain with a line break", [](auto r) { return strimlo_set_dl_domain(r, "https://a.example\n"); },
       STRIMLO_ERROR_TEXT, "dl-domain: holds a control character"},
      {"error correction by its letter", [](auto r) { return strimlo_set_ecc(r, static_cast<strimlo_ecc>('q')); },
       STRIMLO_OK, ""},
      {"an error correction level outside the list",
       [](auto r) { return strimlo_set_ecc(r, static_cast<strimlo_ecc>('X')); }, STRIMLO_ERROR_ARGUMENT,
       "unknown error correction level 88"},
      {"a companion outside the list",
       [](auto r) { return strimlo_set_companion(r, static_cast<strimlo_companion>(3)); },
       STRIMLO_ERROR_ARGUMENT, "unknown companion 3"},
      {"a companion module out of range", [](auto r) { return strimlo_set_companion_module(r, 0.3); },
       STRIMLO_ERROR_ARGUMENT, "companion module: the 2D X dimension must be 0.396 to 0.990 mm"},
      {"a companion module NaN", [](auto r) { return strimlo_set_companion_module(r, std::nan("")); },
       STRIMLO_ERROR_ARGUMENT, "0.396 to 0.990 mm"},
      {"a companion on a 2D type",
       [](auto r) {
         strimlo_set_companion(r, STRIMLO_COMPANION_QR);
         strimlo_set_type(r, STRIMLO_TYPE_GS1_DATAMATRIX);
         strimlo_set_data(r, "9780306406157");
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_ARGUMENT, "a companion goes with a linear type"},
      {"a 2D type's GTIN with a wrong check digit, strict",
       [](auto r) {
         strimlo_set_type(r, STRIMLO_TYPE_GS1_QR);
         strimlo_set_data(r, "9780306406158");
         strimlo_set_strict(r, 1);
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_CHECK_DIGIT, "check character 8 is wrong; 7 expected"},
      {"dpi out of range", [](auto r) { return strimlo_set_dpi(r, 5000); }, STRIMLO_ERROR_ARGUMENT, "72 to 4800"},
      {"a free size on the dot grid makes its PNG",
       [](auto r) {
         strimlo_set_data(r, "401234567890");
         strimlo_set_format(r, STRIMLO_FORMAT_PNG);
         strimlo_set_magnification(r, 120.5);
         strimlo_set_dpi(r, 203);
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_OK, ""},
      {"a bar height below half the nominal, refused when made",
       [](auto r) {
         strimlo_set_data(r, "401234567890");
         strimlo_set_format(r, STRIMLO_FORMAT_PDF);
         strimlo_set_bar_height(r, 5.0);
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_ARGUMENT, "bar height 5 mm is outside"},
      {"data not UTF-8", [](auto r) { return strimlo_set_data(r, "40123\xff"); }, STRIMLO_ERROR_TEXT, "UTF-8"},
      {"overlong UTF-8", [](auto r) { return strimlo_set_data(r, "\xc0\xb0"); }, STRIMLO_ERROR_TEXT, "UTF-8"},
      {"price with a line break", [](auto r) { return strimlo_set_price(r, "USD\n%%EOF"); },
       STRIMLO_ERROR_TEXT, "control character"},
      {"add-on with a C1 control", [](auto r) { return strimlo_set_addon(r, "5\xc2\x85"); },
       STRIMLO_ERROR_TEXT, "control character"},
      {"null data clears it", [](auto r) { return strimlo_set_data(r, nullptr); }, STRIMLO_OK, ""},
      {"price code", [](auto r) { return strimlo_set_price_code(r, "USD 19.99"); }, STRIMLO_OK, ""},
      {"price code in an unknown currency", [](auto r) { return strimlo_set_price_code(r, "EUR 5"); },
       STRIMLO_ERROR_ARGUMENT, "USD, CAD, GBP, AUD or NZD"},
      {"a price code and an add-on",
       [](auto r) {
         strimlo_set_type_name(r, "isbn13");
         strimlo_set_data(r, "9783161484100");
         strimlo_set_addon(r, "51299");
         strimlo_set_price_code(r, "USD 19.99");
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_ARGUMENT, "give a price code or an add-on, not both"},
      {"an ISBN-13 in the ISMN range",
       [](auto r) {
         strimlo_set_type_name(r, "isbn13");
         strimlo_set_data(r, "9790260000438");
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_REFUSED, "979-0 is the ISMN range: use --type ismn"},
      {"a range file that is missing: a note, not a failure",
       [](auto r) {
         strimlo_set_type_name(r, "isbn13");
         strimlo_set_data(r, "9783161484100");
         strimlo_set_ranges(r, "/nonexistent/RangeMessage.xml");
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_OK, ""},
      {"render without a size", [](auto r) { return strimlo_render(r, nullptr, 0, nullptr); },
       STRIMLO_ERROR_NULL, "size"},
      {"capacity without a buffer", [](auto r) { size_t n; return strimlo_render(r, nullptr, 4, &n); },
       STRIMLO_ERROR_NULL, "buffer"},
      {"data that is not EAN-13",
       [](auto r) { strimlo_set_data(r, "12345"); size_t n; return strimlo_render(r, nullptr, 0, &n); },
       STRIMLO_ERROR_REFUSED, "EAN-13 needs 12 or 13 digits; got 5"},
      {"strict with a wrong check digit",
       [](auto r) {
         strimlo_set_data(r, "4012345678902");
         strimlo_set_strict(r, 1);
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_CHECK_DIGIT, "check character 2 is wrong; 1 expected"},
      {"transparent TIFF",
       [](auto r) {
         strimlo_set_data(r, "4012345678901");
         strimlo_set_format(r, STRIMLO_FORMAT_TIFF);
         strimlo_set_transparent(r, 1);
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_ERROR_ARGUMENT, "opaque CMYK"},
      {"a font outside the list", [](auto r) { return strimlo_set_font(r, static_cast<strimlo_font>(2)); },
       STRIMLO_ERROR_ARGUMENT, "STRIMLO_FONT_SANS or STRIMLO_FONT_OCRB"},
      {"OCR-B outlined EPS",
       [](auto r) {
         strimlo_set_data(r, "4012345678901");
         strimlo_set_font(r, STRIMLO_FONT_OCRB);
         strimlo_set_outline_text(r, 1);
         size_t n;
         return strimlo_render(r, nullptr, 0, &n);
       },
       STRIMLO_OK, ""},
      {"a buffer one byte short",
       [](auto r) {
         strimlo_set_data(r, "4012345678901");
         size_t n = 0;
         strimlo_render(r, nullptr, 0, &n);
         std::vector<unsigned char> buf(n);
         return strimlo_render(r, buf.data(), n - 1, &n);
       },
       STRIMLO_ERROR_BUFFER_TOO_SMALL, "bytes"},
      {"a file in a missing folder",
       [](auto r) { strimlo_set_data(r, "4012345678901"); return strimlo_render_file(r, "/nonexistent/x.eps"); },
       STRIMLO_ERROR_WRITE, "nothing was changed"},
      {"an empty file name", [](auto r) { return strimlo_render_file(r, ""); }, STRIMLO_ERROR_NULL, "file name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Request r = make();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(c.call(r.get()), c.expected);
    EXPECT_NE(std::string(strimlo_error(r.get())).find(c.error), std::string::npos)
        << strimlo_error(r.get());
    if (c.expected == STRIMLO_OK) {
      EXPECT_STREQ(strimlo_error(r.get()), "");
    }
  }
}

TEST(CApi, NullRequestsAreRefusedEverywhere) {
  size_t n = 0;
  unsigned char b[1];
  EXPECT_EQ(strimlo_set_type(nullptr, STRIMLO_TYPE_EAN8), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_type_name(nullptr, "ean8"), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_format(nullptr, STRIMLO_FORMAT_PNG), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_format_name(nullptr, "png"), STRIMLO_ERROR_NULL);
  for (auto set : {strimlo_set_data, strimlo_set_addon, strimlo_set_price, strimlo_set_variant})
    EXPECT_EQ(set(nullptr, "1"), STRIMLO_ERROR_NULL);
  for (auto set : {strimlo_set_size, strimlo_set_resolution, strimlo_set_strict, strimlo_set_quiet_zones,
                   strimlo_set_bar_reduction, strimlo_set_transparent, strimlo_set_outline_text})
    EXPECT_EQ(set(nullptr, 1), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_font(nullptr, STRIMLO_FONT_OCRB), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_ai(nullptr, "(10)A"), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_dl_domain(nullptr, "https://a.example"), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_ecc(nullptr, STRIMLO_ECC_H), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_companion(nullptr, STRIMLO_COMPANION_QR), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_companion_module(nullptr, 0.5), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_set_gtin_text(nullptr, 0), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_render(nullptr, b, 1, &n), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_render_file(nullptr, "x"), STRIMLO_ERROR_NULL);
  EXPECT_STREQ(strimlo_error(nullptr), "no request");
  EXPECT_EQ(strimlo_note(nullptr, 0), nullptr);
  strimlo_request_free(nullptr);
  EXPECT_STREQ(strimlo_status_text(static_cast<strimlo_status>(99)), "unknown status");
  EXPECT_STREQ(strimlo_version(), "1.2.0");
}

// Every format of an ISBN with add-on and price, with every option set: the file starts
// as its format does, and the raster files decode to the digits and the add-on.
TEST(CApi, EveryFormatWithEveryOptionMakesItsFile) {
  struct Row {
    strimlo_format format;
    std::string magic;
  };
  const Row rows[] = {{STRIMLO_FORMAT_EPS, "%!PS-Adobe-2.0 EPSF-1.2"}, {STRIMLO_FORMAT_PNG, "\x89PNG"},
                      {STRIMLO_FORMAT_TIFF, std::string("II*\0", 4)}, {STRIMLO_FORMAT_JPEG, "\xff\xd8"},
                      {STRIMLO_FORMAT_PDF, "%PDF-1.3"}, {STRIMLO_FORMAT_SVG, "<?xml"}};
  strimlo::test::TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.magic);
    Request r = make();
    ASSERT_EQ(strimlo_set_type_name(r.get(), "isbn13"), STRIMLO_OK);
    ASSERT_EQ(strimlo_set_data(r.get(), "978-0-306-40615-2"), STRIMLO_OK);  // check 7 replaced
    ASSERT_EQ(strimlo_set_addon(r.get(), "51299"), STRIMLO_OK);
    ASSERT_EQ(strimlo_set_price(r.get(), "USD 12.99"), STRIMLO_OK);
    ASSERT_EQ(strimlo_set_format(r.get(), row.format), STRIMLO_OK);
    ASSERT_EQ(strimlo_set_size(r.get(), 3), STRIMLO_OK);
    ASSERT_EQ(strimlo_set_resolution(r.get(), 3), STRIMLO_OK);
    ASSERT_EQ(strimlo_set_quiet_zones(r.get(), 1), STRIMLO_OK);
    ASSERT_EQ(strimlo_set_bar_reduction(r.get(), 20), STRIMLO_OK);
    ASSERT_EQ(strimlo_set_transparent(r.get(), row.format == STRIMLO_FORMAT_PNG), STRIMLO_OK);
    std::string bytes;
    ASSERT_EQ(renderAll(r.get(), bytes), STRIMLO_OK) << strimlo_error(r.get());
    EXPECT_EQ(bytes.compare(0, row.magic.size(), row.magic), 0);
    ASSERT_NE(strimlo_note(r.get(), 0), nullptr);
    EXPECT_STREQ(strimlo_note(r.get(), 0), "check character 2 is wrong; 7 expected, replaced");
    const std::string path = dir.file(std::string("f") + std::to_string(row.format));
    ASSERT_EQ(strimlo_render_file(r.get(), path.c_str()), STRIMLO_OK);
    EXPECT_EQ(strimlo::test::readFile(path), bytes);
    if (row.format == STRIMLO_FORMAT_PNG && strimlo::test::haveTool("zbarimg")) {
      EXPECT_EQ(strimlo::test::zbarDecode(path),
                (std::vector<std::string>{"EAN-13:9780306406157", "EAN-5:51299"}));
    }
  }
}

// The 2D types and a companion through the C API, as PNG files that ZXingReader (and
// zbarimg, for a QR Code) reads back to exactly what they must hold; the module set is the
// 2D symbol's, in whole pixels.
TEST(CApi, TwoDTypesAndCompanionsDecode) {
  struct Row {
    const char* what;
    std::function<void(strimlo_request*)> set;
    std::vector<std::string> zxing;  // every symbol ZXingReader reads, sorted
    int dotsPerModule;               // at 300 dpi; 0: not measured
  };
  const Row rows[] = {
      {"a QR Code with AIs and its own domain, module 0.85 mm",
       [](auto r) {
         strimlo_set_type(r, STRIMLO_TYPE_GS1_QR);
         strimlo_set_data(r, "978-0-306-40615-7");
         strimlo_set_ai(r, "(17)271231(10)AB/12");
         strimlo_set_dl_domain(r, "https://brand.example/dl");
         strimlo_set_ecc(r, STRIMLO_ECC_Q);
         strimlo_set_module(r, 0.85);
       },
       {"QRCode:https://brand.example/dl/01/09780306406157/10/AB%2F12?17=271231"}, 10},
      {"a DataMatrix with its element string and no text line",
       [](auto r) {
         strimlo_set_module(r, 0.5);  // before its type
         strimlo_set_type_name(r, "gs1-datamatrix");
         strimlo_set_data(r, "9780306406157");
         strimlo_set_ai(r, "(10)ABC123(17)271231(21)XYZ");
         strimlo_set_gtin_text(r, 0);
       },
       {"DataMatrix:010978030640615710ABC123<GS>1727123121XYZ"}, 6},
      {"an EAN-13 with a QR Code companion",
       [](auto r) {
         strimlo_set_data(r, "401234567890");
         strimlo_set_companion(r, STRIMLO_COMPANION_QR);
         strimlo_set_companion_module(r, 0.6);
         strimlo_set_ai(r, "(10)L7(15)270600");
       },
       {"EAN-13:4012345678901", "QRCode:https://id.gs1.org/01/04012345678901/10/L7?15=270600"}, 0},
  };
  for (const char* t : {"ZXingReader", "zbarimg"}) ASSERT_TRUE(strimlo::test::haveTool(t)) << t;
  strimlo::test::TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Request r = make();
    row.set(r.get());
    ASSERT_EQ(strimlo_set_format(r.get(), STRIMLO_FORMAT_PNG), STRIMLO_OK);
    const std::string path = dir.file("m.png");
    ASSERT_EQ(strimlo_render_file(r.get(), path.c_str()), STRIMLO_OK) << strimlo_error(r.get());
    EXPECT_EQ(strimlo::test::zxingDecode(path), row.zxing);
    for (const std::string& s : row.zxing)
      if (s.rfind("QRCode:", 0) == 0) {
        const auto zbar = strimlo::test::zbarDecode(path);
        EXPECT_NE(std::find(zbar.begin(), zbar.end(), "QR-Code:" + s.substr(7)), zbar.end());
      }
    if (row.dotsPerModule == 0) continue;
    // The first dark run of the top matrix row: a finder pattern, 7 modules (QR), or the
    // DataMatrix's alternating top edge, 1 module.
    const auto grey = strimlo::test::readPngGrey(path);
    ASSERT_TRUE(grey);
    int run = 0;
    for (int y = 0; y < grey->height && run == 0; ++y)
      for (int x = 0; x < grey->width; ++x) {
        if (grey->at(x, y) < 128) ++run;
        else if (run > 0) break;
      }
    const bool qr = row.zxing.front().rfind("QRCode:", 0) == 0;
    EXPECT_EQ(run, row.dotsPerModule * (qr ? 7 : 1));
  }
}

// Requests on eight threads at once give the bytes one thread gives.
TEST(CApi, RequestsOnSeveralThreadsGiveTheSameFiles) {
  auto render = [](int i) {
    Request r = make();
    strimlo_set_format(r.get(), i % 2 ? STRIMLO_FORMAT_SVG : STRIMLO_FORMAT_PNG);
    strimlo_set_data(r.get(), ("40123456" + std::to_string(10000 + i)).c_str());
    std::string bytes;
    return renderAll(r.get(), bytes) == STRIMLO_OK ? bytes : std::string();
  };
  constexpr int kSymbols = 64;
  std::vector<std::string> once(kSymbols), threaded(kSymbols);
  for (int i = 0; i < kSymbols; ++i) once[i] = render(i);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&, t] {
      for (int i = t; i < kSymbols; i += 8) threaded[i] = render(i);
    });
  for (auto& t : threads) t.join();
  for (int i = 0; i < kSymbols; ++i) {
    EXPECT_FALSE(once[i].empty());
    EXPECT_EQ(once[i], threaded[i]) << i;
  }
}

}  // namespace
