// strimlo-server over real sockets on 127.0.0.1: the API's answers, good and bad, and the
// files it serves read back by zbarimg.
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>
#include <httplib.h>

#include <nlohmann/json.hpp>
#include <zip.h>

#include "readback.h"
#include "server_process.h"
#include "test_support.h"

namespace {

using strimlo::test::ServerProcess;

ServerProcess& server() {
  static ServerProcess process(STRIMLO_SERVER_PROGRAM, "--quiet --max-body 65536 --max-pixels 20000000");
  return process;
}

httplib::Client client() {
  httplib::Client c("127.0.0.1", server().port());
  c.set_read_timeout(30);
  return c;
}

// What zbarimg finds in a served file: rasters read back by their own libraries, vector
// files drawn at 300 dpi by a reader of their own. zbarimg reads no DataMatrix: when it
// finds nothing, ZXingReader reads the image.
std::vector<std::string> decode(const std::string& bytes, const std::string& format) {
  using namespace strimlo::test;
  GreyImage grey;
  if (format == "png" || format == "tiff" || format == "jpeg") {
    const auto facts = readRaster({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    if (!facts) return {};
    grey = facts->grey;
  } else {
    TempDir dir;
    writeFile(dir.file("symbol." + format), bytes);
    if (!renderVector(dir.file("symbol." + format), format, dir.file("symbol.png"), 300)) return {};
    const auto png = readPngGrey(dir.file("symbol.png"));
    if (!png) return {};
    grey = *png;
  }
  std::vector<std::string> found = zbarDecode(grey);
  return found.empty() ? zxingDecode(grey) : found;
}

struct ApiCase {
  const char* what;
  const char* method;  // GET or POST
  const char* target;
  const char* body;         // POST: the JSON or CSV
  int status;
  const char* contentType;  // the start of it
  const char* expect;       // 2xx: a header "Name: value", "body:" and a piece of the body, or
                            // the first symbol zbarimg reads;
                            // 4xx: the error's field and a piece of its message, "field|text"
};

const ApiCase kApiCases[] = {
    {"EAN-13 as SVG, named by its digits", "GET",
     "/api/v1/symbol?data=400638133393&format=svg", "", 200, "image/svg+xml",
     "Content-Disposition: attachment; filename=\"400638133393.svg\""},
    {"ISBN with add-on and price as PNG decodes", "GET",
     "/api/v1/symbol?type=isbn13&data=978-3-16-148410-0&addon=51299&price=USD%2012.99&format=png&res=2",
     "", 200, "image/png", "EAN-13:9783161484100"},
    {"the same fields as JSON", "POST", "/api/v1/symbol",
     R"({"type":"upca","data":"03600029145","format":"pdf","size":3,"quiet":true})", 200,
     "application/pdf", "UPC-A:036000291452"},
    {"ISSN with variant and add-on as EPS", "GET",
     "/api/v1/symbol?type=issn&data=0317-8471&variant=03&addon=07&format=eps", "", 200,
     "application/postscript", "EAN-13:9770317847032"},
    {"ISBN in OCR-B as outlines in PDF decodes", "GET",
     "/api/v1/symbol?type=isbn13&data=978-3-16-148410-0&font=ocrb&outline=yes&format=pdf", "", 200,
     "application/pdf", "EAN-13:9783161484100"},
    {"a price code makes the add-on", "GET",
     "/api/v1/symbol?type=isbn13&data=9783161484100&price_code=USD%2019.99&format=png&res=2", "",
     200, "image/png", "EAN-5:51999"},
    {"TIFF at a set resolution", "GET", "/api/v1/symbol?type=ean8&data=9638507&format=tiff&res=1",
     "", 200, "image/tiff", "EAN-8:96385074"},
    {"a free size on the dot grid of a label printer", "GET",
     "/api/v1/symbol?data=400638133393&format=png&magnification=120,5&dpi=203", "", 200, "image/png",
     "EAN-13:4006381333931"},
    {"the check endpoint gives the digits", "GET", "/api/v1/check?type=isbn10&data=3-16-148410-X",
     "", 200, "application/json", "digits:9783161484100"},
    {"the check endpoint grades a PNG as drawn at its resolution", "GET",
     "/api/v1/check?data=400638133393&format=png&res=2", "", 200, "application/json",
     "grade:A|4006381333931|300"},
    {"a PDF is graded at 600 dpi, the add-on read too", "POST", "/api/v1/check",
     R"({"type":"isbn13","data":"9783161484100","addon":"51299","format":"pdf"})", 200,
     "application/json", "grade:A|9783161484100 51299|600"},
    {"a symbol too small to scan at 72 dpi is graded F", "GET",
     "/api/v1/check?data=400638133393&format=png&size=0&res=0", "", 200, "application/json",
     "grade:F||72"},
    {"no grade for a raster over the pixel limit, the digits still", "GET",
     "/api/v1/check?data=400638133393&format=png&size=9&res=7", "", 200, "application/json",
     "grade:|"},
    {"a 2D type decodes to its content; no full grade", "GET",
     "/api/v1/check?type=gs1-qr&data=9780306406157&format=png", "", 200, "application/json",
     "matrix:A|https://id.gs1.org/01/09780306406157|300"},
    {"a GS1 QR Code with AIs holds the Digital Link URI", "GET",
     "/api/v1/symbol?type=gs1-qr&data=9780306406157&ai=(10)ABC123(17)271231&ecc=Q&format=png", "",
     200, "image/png", "QR-Code:https://id.gs1.org/01/09780306406157/10/ABC123?17=271231"},
    {"a 2D type's module is the X dimension asked for: (29 + 8) x 0.8 mm", "GET",
     "/api/v1/symbol?type=gs1-qr&data=9780306406157&module=0.8&format=svg", "", 200, "image/svg+xml",
     "body:width=\"29.600mm\""},
    {"a GS1 DataMatrix holds the element string", "POST", "/api/v1/symbol",
     R"({"type":"gs1-datamatrix","data":"9780306406157","ai":"(10)ABC123(21)XYZ","module":0.6,"gtin_text":false,"format":"pdf"})",
     200, "application/pdf", "DataMatrix:010978030640615710ABC123<GS>21XYZ"},
    {"an EAN-13 with a QR Code companion: the QR Code", "GET",
     "/api/v1/symbol?data=401234567890&companion=qr&companion_module=0.6&dl_domain=https://brand.example&ai=(10)L7&format=svg",
     "", 200, "image/svg+xml", "QR-Code:https://brand.example/01/04012345678901/10/L7"},
    {"an EAN-13 with a QR Code companion: the EAN-13", "GET",
     "/api/v1/symbol?data=401234567890&companion=qr&ai=(10)L7&format=png", "", 200, "image/png",
     "EAN-13:4012345678901"},
    {"an AI with an impossible date", "GET",
     "/api/v1/symbol?type=gs1-qr&data=9780306406157&ai=(17)271331", "", 400, "application/json",
     "ai|month 13 does not exist"},
    {"a companion's AI we do not accept", "GET",
     "/api/v1/symbol?data=401234567890&companion=datamatrix&ai=(99)X", "", 400, "application/json",
     "ai|AI (99) is not one we accept"},
    {"a domain that is not https", "GET",
     "/api/v1/symbol?type=gs1-qr&data=9780306406157&dl_domain=http://brand.example", "", 400,
     "application/json", "dl_domain|must start with https://"},
    {"a GTIN of the wrong length for a 2D type", "GET", "/api/v1/symbol?type=gs1-qr&data=97803064061",
     "", 400, "application/json", "data|GTIN: 8, 12, 13 or 14 digits"},
    {"an error correction level outside the list", "GET",
     "/api/v1/symbol?type=gs1-qr&data=9780306406157&ecc=X", "", 400, "application/json", "ecc|bad ecc"},
    {"a 2D module outside GS1's retail range", "GET",
     "/api/v1/symbol?type=gs1-datamatrix&data=9780306406157&module=0.3", "", 400, "application/json",
     "module|0.396 to 0.990 mm"},
    {"a bar height asked of a 2D type names its field", "GET",
     "/api/v1/symbol?type=gs1-qr&data=9780306406157&height=20", "", 400, "application/json",
     "height|a 2D symbol's size is its module"},
    {"a companion module outside the range", "GET",
     "/api/v1/symbol?data=401234567890&companion=qr&companion_module=1.5", "", 400, "application/json",
     "companion_module|bad companion_module"},
    {"a companion on a 2D type", "GET",
     "/api/v1/symbol?type=gs1-qr&data=9780306406157&companion=datamatrix", "", 400, "application/json",
     "companion|linear type"},
    {"a GTIN text switch that is not yes or no", "GET",
     "/api/v1/symbol?type=gs1-qr&data=9780306406157&gtin_text=maybe", "", 400, "application/json",
     "gtin_text|yes or no"},
    {"a health check", "GET", "/healthz", "", 200, "text/plain", ""},
    {"the web page", "GET", "/", "", 200, "text/html", ""},
    {"too few digits: the command line's message", "GET", "/api/v1/symbol?data=123", "", 400,
     "application/json", "data|EAN-13"},
    {"an ISBN-13 in the ISMN range", "GET", "/api/v1/symbol?type=isbn13&data=9790260000438", "",
     400, "application/json", "data|979-0 is the ISMN range"},
    {"an unknown type", "GET", "/api/v1/symbol?type=qr&data=1", "", 400, "application/json",
     "type|unknown type"},
    {"size out of its list", "GET", "/api/v1/symbol?data=400638133393&size=10", "", 400,
     "application/json", "size|0 to 9"},
    {"an unknown field", "GET", "/api/v1/symbol?data=400638133393&colour=red", "", 400,
     "application/json", "colour|unknown field"},
    {"a field twice", "GET", "/api/v1/symbol?data=1&data=2", "", 400, "application/json",
     "data|twice"},
    {"no data", "GET", "/api/v1/symbol?format=svg", "", 400, "application/json", "data|no data"},
    {"a wrong check digit when strict", "GET",
     "/api/v1/symbol?data=4006381333932&strict=yes", "", 400, "application/json",
     "data|check character"},
    {"a control character in the price", "GET",
     "/api/v1/symbol?type=isbn13&data=9783161484100&price=a%0Ab", "", 400, "application/json",
     "price|control character"},
    {"transparent TIFF", "GET", "/api/v1/symbol?data=400638133393&format=tiff&transparent=yes", "",
     400, "application/json", "transparent|opaque"},
    {"a bad add-on for UPC-A", "GET", "/api/v1/symbol?type=upca&data=03600029145&addon=123", "",
     400, "application/json", "addon|"},
    {"a font the server has not", "GET", "/api/v1/symbol?data=400638133393&font=arial", "", 400,
     "application/json", "font|sans or ocrb"},
    {"bar width reduction out of range", "POST", "/api/v1/symbol",
     R"({"data":"400638133393","bwr":101})", 400, "application/json", "bwr|0 to 100"},
    {"a magnification out of range", "GET", "/api/v1/symbol?data=400638133393&magnification=250", "",
     400, "application/json", "magnification|75 to 200"},
    {"JSON that is not an object", "POST", "/api/v1/symbol", "[1,2", 400, "application/json",
     "|JSON object"},
    {"a JSON field of the wrong kind", "POST", "/api/v1/symbol", R"({"data":["1"]})", 400,
     "application/json", "data|must be"},
    {"too many pixels", "GET", "/api/v1/symbol?data=400638133393&format=png&size=9&res=7", "", 413,
     "application/json", "res|pixels"},
    {"a batch that is not CSV", "POST", "/api/v1/batch", "data\n\"open", 400, "application/json",
     "body|CSV"},
    {"a batch whose header names no data column", "POST", "/api/v1/batch", "type,addon\nean13,12\n",
     400, "application/json", "body|no data column"},
    {"a batch by GET", "GET", "/api/v1/batch", "", 405, "application/json", "|not allowed"},
    {"no such path", "GET", "/api/v2/symbol", "", 404, "application/json", "|no such"},
};

// A failing row names itself, not its bytes.
void PrintTo(const ApiCase& c, std::ostream* os) { *os << c.what; }

class ApiTable : public testing::TestWithParam<ApiCase> {};

TEST_P(ApiTable, Answers) {
  const ApiCase& c = GetParam();
  ASSERT_GT(server().port(), 0) << "the server did not start";
  httplib::Client http = client();
  const std::string body = c.body;
  auto res = std::string(c.method) == "GET"
                 ? http.Get(c.target)
                 : http.Post(c.target, body,
                             std::string(c.target) == "/api/v1/batch" ? "text/csv" : "application/json");
  ASSERT_TRUE(res) << c.what << ": no answer";
  EXPECT_EQ(res->status, c.status) << c.what << ": " << res->body.substr(0, 300);
  EXPECT_EQ(res->get_header_value("Content-Type").rfind(c.contentType, 0), 0u)
      << c.what << ": " << res->get_header_value("Content-Type");
  const std::string expect = c.expect;
  if (c.status >= 400) {
    const auto json = nlohmann::json::parse(res->body, nullptr, false);
    ASSERT_TRUE(json.is_object()) << c.what << ": " << res->body;
    const std::string field = expect.substr(0, expect.find('|'));
    EXPECT_EQ(json.value("field", ""), field) << c.what << ": " << res->body;
    EXPECT_NE(json.value("error", "").find(expect.substr(expect.find('|') + 1)), std::string::npos)
        << c.what << ": " << res->body;
  } else if (expect.rfind("body:", 0) == 0) {
    EXPECT_NE(res->body.find(expect.substr(5)), std::string::npos) << c.what << ": " << res->body.substr(0, 300);
  } else if (expect.rfind("digits:", 0) == 0) {
    const auto json = nlohmann::json::parse(res->body, nullptr, false);
    EXPECT_EQ(json.value("digits", ""), expect.substr(7)) << res->body;
  } else if (expect.rfind("grade:", 0) == 0) {
    // "grade:LETTER|decoded|dpi"; "grade:|" for none, with the reason given instead
    const auto json = nlohmann::json::parse(res->body, nullptr, false);
    ASSERT_TRUE(json.is_object()) << c.what << ": " << res->body;
    const std::string letter = expect.substr(6, expect.find('|') - 6);
    EXPECT_FALSE(json.value("digits", "").empty()) << c.what << ": " << res->body;
    if (letter.empty()) {
      EXPECT_TRUE(json["grade"].is_null()) << c.what << ": " << res->body;
      EXPECT_FALSE(json.value("gradeNote", "").empty()) << c.what << ": " << res->body;
    } else {
      const std::string rest = expect.substr(expect.find('|') + 1);
      const std::string decoded = rest.substr(0, rest.find('|'));
      EXPECT_EQ(json.value("letter", ""), letter) << c.what << ": " << res->body;
      EXPECT_EQ(json.value("dpi", 0), std::stoi(rest.substr(rest.find('|') + 1))) << c.what;
      ASSERT_TRUE(json["parameters"].is_object()) << c.what << ": " << res->body;
      if (decoded.empty()) {
        EXPECT_TRUE(json["decoded"].is_null()) << c.what << ": " << res->body;
        EXPECT_EQ(json.value("grade", -1.0), 0.0) << c.what << ": " << res->body;
        EXPECT_EQ(json["parameters"]["decode"].value("grade", -1), 0) << c.what << ": " << res->body;
      } else {
        EXPECT_GE(json.value("grade", 0.0), 3.5) << c.what << ": " << res->body;
        EXPECT_EQ(json.value("decoded", ""), decoded) << c.what << ": " << res->body;
        EXPECT_EQ(json["parameters"].size(), 8u) << c.what << ": " << res->body;
        EXPECT_EQ(json["parameters"]["decode"].value("grade", -1), 4) << c.what << ": " << res->body;
      }
    }
  } else if (expect.rfind("matrix:", 0) == 0) {
    // "matrix:LETTER|content|dpi": what was measured, and grade null, as it is no full grade
    const auto json = nlohmann::json::parse(res->body, nullptr, false);
    ASSERT_TRUE(json.is_object()) << c.what << ": " << res->body;
    const std::string rest = expect.substr(expect.find('|') + 1);
    EXPECT_TRUE(json["grade"].is_null()) << c.what << ": " << res->body;
    EXPECT_EQ(json.value("letter", ""), expect.substr(7, expect.find('|') - 7)) << c.what << ": " << res->body;
    EXPECT_EQ(json["matrix"].value("decoded", ""), rest.substr(0, rest.find('|'))) << c.what << ": " << res->body;
    EXPECT_EQ(json.value("dpi", 0), std::stoi(rest.substr(rest.find('|') + 1))) << c.what;
    EXPECT_NE(json.value("summary", "").find("not a full ISO/IEC 15415 grade"), std::string::npos) << res->body;
  } else if (const auto colon = expect.find(": "); colon != std::string::npos && expect.find(' ') == colon + 1) {
    EXPECT_EQ(res->get_header_value(expect.substr(0, colon).c_str()), expect.substr(colon + 2)) << c.what;
  } else if (!expect.empty()) {
    const std::string format = res->get_header_value("Content-Type") == "application/postscript" ? "eps"
        : res->get_header_value("Content-Type") == "application/pdf" ? "pdf"
        : res->get_header_value("Content-Type") == "image/tiff" ? "tiff"
        : res->get_header_value("Content-Type") == "image/svg+xml" ? "svg" : "png";
    const auto found = decode(res->body, format);
    EXPECT_TRUE(std::find(found.begin(), found.end(), expect) != found.end())
        << c.what << ": zbarimg read " << testing::PrintToString(found);
  }
}

INSTANTIATE_TEST_SUITE_P(Server, ApiTable, testing::ValuesIn(kApiCases),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

// The same request gives the same bytes and tag; a client holding them gets 304.
TEST(ServerCaching, SameRequestSameTagAndNotModified) {
  httplib::Client http = client();
  const char* target = "/api/v1/symbol?data=400638133393&format=png";
  auto first = http.Get(target);
  auto second = http.Get(target);
  ASSERT_TRUE(first && second);
  const std::string tag = first->get_header_value("ETag");
  ASSERT_FALSE(tag.empty());
  EXPECT_EQ(tag, second->get_header_value("ETag"));
  EXPECT_EQ(first->body, second->body);
  auto again = http.Get(target, {{"If-None-Match", "\"other\", " + tag}});
  ASSERT_TRUE(again);
  EXPECT_EQ(again->status, 304);
  EXPECT_TRUE(again->body.empty());
}

// A body over --max-body is refused before it is read.
TEST(ServerLimits, LargeBodyIs413) {
  httplib::Client http = client();
  auto res = http.Post("/api/v1/symbol", std::string(10 << 20, 'x'), "application/json");
  if (res) {  // else the server closed the connection mid-body
    EXPECT_EQ(res->status, 413);
  }
  auto after = http.Get("/healthz");
  ASSERT_TRUE(after);
  EXPECT_EQ(after->status, 200);
}

// Debian's cpp-httplib listens with a backlog of 5 whatever the program defines; a burst
// of clients then loses SYNs and waits a second to retry, the whole tail of the latency.
TEST(ServerLimits, ListensWithRoomForABurstOfClients) {
  ASSERT_GT(server().port(), 0);
  const std::string command = "ss -Hltn 'sport = :" + std::to_string(server().port()) + "' 2>/dev/null";
  std::unique_ptr<FILE, decltype(&pclose)> ss(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(ss);
  char state[32] = {}, address[128] = {};
  long queued = -1, backlog = -1;
  if (std::fscanf(ss.get(), "%31s %ld %ld %127s", state, &queued, &backlog, address) != 4)
    GTEST_SKIP() << "ss (iproute2) cannot show the listening socket";
  EXPECT_GE(backlog, 1024);
}

// Every type in every format, each file read back: what a curl user gets.
TEST(ServerSweep, EveryTypeInEveryFormatDecodes) {
  struct Row { const char* type; const char* data; const char* zbar; };
  const Row rows[] = {
      {"ean8", "9638507", "EAN-8:96385074"},        {"ean13", "400638133393", "EAN-13:4006381333931"},
      {"isbn10", "3-16-148410-X", "EAN-13:9783161484100"}, {"isbn13", "978-3-16-148410-0", "EAN-13:9783161484100"},
      {"upca", "03600029145", "UPC-A:036000291452"}, {"upce", "0123456", "UPC-E:01234565"},
      {"issn", "0317-8471", "EAN-13:9770317847001"}, {"ismn", "979-0-2600-0043-8", "EAN-13:9790260000438"},
      {"gs1-qr", "9780306406157", "QR-Code:https://id.gs1.org/01/09780306406157"},
      {"gs1-datamatrix", "9780306406157", "DataMatrix:0109780306406157"},
  };
  httplib::Client http = client();
  for (const Row& row : rows)
    for (const char* format : {"eps", "png", "tiff", "jpeg", "pdf", "svg"}) {
      const std::string target = std::string("/api/v1/symbol?type=") + row.type + "&data=" + row.data + "&format=" + format;
      auto res = http.Get(target);
      ASSERT_TRUE(res) << target;
      ASSERT_EQ(res->status, 200) << target << ": " << res->body;
      const auto found = decode(res->body, format);
      EXPECT_TRUE(std::find(found.begin(), found.end(), row.zbar) != found.end())
          << target << ": zbarimg read " << testing::PrintToString(found);
    }
}

// A batch comes back as a ZIP of its files and a report naming the refused line.
TEST(ServerBatch, ZipHoldsFilesAndReport) {
  httplib::Client http = client();
  const std::string csv = "type,data,addon,format\nisbn13,978-3-16-148410-0,51299,png\nean13,123,,svg\n"
                          "ean8,9638507,,../escape.svg\n";
  auto res = http.Post("/api/v1/batch", csv, "text/csv");
  ASSERT_TRUE(res);
  ASSERT_EQ(res->status, 200) << res->body;
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(res->body.data(), res->body.size(), 0, &error);
  zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  ASSERT_NE(archive, nullptr);
  std::vector<std::string> names;
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) names.push_back(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0));
  EXPECT_EQ(names, (std::vector<std::string>{"9783161484100-51299.png", "report.csv"}));
  zip_stat_t st;
  zip_stat(archive, "report.csv", 0, &st);
  std::string report(st.size, '\0');
  zip_file_t* file = zip_fopen(archive, "report.csv", 0);
  zip_fread(file, report.data(), st.size);
  zip_fclose(file);
  zip_close(archive);
  EXPECT_NE(report.find("2,978-3-16-148410-0,9783161484100-51299.png,made"), std::string::npos) << report;
  EXPECT_NE(report.find("3,123,,refused"), std::string::npos) << report;
  EXPECT_NE(report.find("4,9638507,,refused"), std::string::npos) << report;
}

}  // namespace
