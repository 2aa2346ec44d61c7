// The C API as a C caller sees it: every setter's good and bad values, every status, the
// buffer protocol, and requests used from several threads at once.
#include "strimlo/strimlo.h"

#include <gtest/gtest.h>

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
      {"module out of range", [](auto r) { return strimlo_set_module(r, 0.7); }, STRIMLO_ERROR_ARGUMENT,
       "0.2475 to 0.66 mm"},
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
  EXPECT_EQ(strimlo_render(nullptr, b, 1, &n), STRIMLO_ERROR_NULL);
  EXPECT_EQ(strimlo_render_file(nullptr, "x"), STRIMLO_ERROR_NULL);
  EXPECT_STREQ(strimlo_error(nullptr), "no request");
  EXPECT_EQ(strimlo_note(nullptr, 0), nullptr);
  strimlo_request_free(nullptr);
  EXPECT_STREQ(strimlo_status_text(static_cast<strimlo_status>(99)), "unknown status");
  EXPECT_STREQ(strimlo_version(), "1.1.0");
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
