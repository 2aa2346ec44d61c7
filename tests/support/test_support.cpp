#include "test_support.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <utility>
#include <sys/wait.h>

#include "readback.h"

namespace strimlo::test {

TempDir::TempDir() {
  std::random_device rd;
  auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("strimlo-test-" + std::to_string(rd()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore write permission on anything a test made read-only, so it can go.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string shellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) {
    if (c == '\'') out += "'\\''";
    else out += c;
  }
  return out + "'";
}

CommandResult run(const std::string& command) {
  CommandResult result;
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) result.output.append(buf.data(), n);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string testData(const std::string& name) {
  const char* dir = std::getenv("STRIMLO_TEST_DATA");
  return std::string(dir ? dir : "tests/data") + "/" + name;
}

bool haveTool(const std::string& name) {
  return run("command -v " + shellQuote(name)).exitCode == 0;
}

namespace {

std::vector<std::string> sortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace

std::vector<std::string> zbarDecode(const std::string& imagePath) {
  // Without these switches zbarimg reports UPC-A as EAN-13 with a leading 0 and UPC-E
  // expanded to that too. It prints D-Bus noise on stderr on machines without a system
  // bus; keep stdout.
  return sortedLines(run("(zbarimg --nodbus --quiet -Supca.enable -Supce.enable -Sean5.enable "
                         "-Sean2.enable " + shellQuote(imagePath) + " 2>/dev/null)").output);
}

std::vector<std::string> zxingDecode(const std::string& imagePath) {
  // One line per symbol: the path, the format, the text in quotes; "None" for nothing.
  const auto r = run("(ZXingReader -noscale -1 " + shellQuote(imagePath) + " 2>/dev/null)");
  std::string lines;
  for (const std::string& line : sortedLines(r.output)) {
    const auto quote = line.find(" \"");
    const auto format = line.rfind(' ', quote - 1);
    if (quote == std::string::npos || format == std::string::npos || line.back() != '"') continue;
    lines += line.substr(format + 1, quote - format - 1) + ":" +
             line.substr(quote + 2, line.size() - quote - 3) + "\n";
  }
  return sortedLines(lines);
}

CommandResult ghostscriptRender(const std::string& epsPath, const std::string& pngPath, int dpi) {
  return run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r" + std::to_string(dpi) +
             " -sDEVICE=pnggray -sOutputFile=" + shellQuote(pngPath) + " " + shellQuote(epsPath));
}

int ghostscriptToPng(const std::string& epsPath, const std::string& pngPath, int dpi) {
  return ghostscriptRender(epsPath, pngPath, dpi).exitCode;
}

bool renderVector(const std::string& path, const std::string& kind, const std::string& pngPath,
                  int dpi) {
  const std::string r = std::to_string(dpi);
  if (kind == "eps") return ghostscriptToPng(path, pngPath, dpi) == 0;
  if (kind == "svg")
    return run("rsvg-convert -d " + r + " -p " + r + " -b white -o " + shellQuote(pngPath) + " " +
               shellQuote(path)).exitCode == 0;
  // pdftoppm adds ".png" to the name it is given.
  const std::string stem = pngPath.size() > 4 ? pngPath.substr(0, pngPath.size() - 4) : pngPath;
  return kind == "pdf" && run("pdftoppm -gray -png -singlefile -r " + r + " " + shellQuote(path) +
                              " " + shellQuote(stem)).exitCode == 0;
}

std::optional<GreyImage> readPngGrey(const std::string& path) {
  auto facts = readPngFile(path);
  if (!facts || facts->grey.pixels.empty()) return std::nullopt;
  return std::move(facts->grey);
}

bool writePngGrey(const std::string& path, const GreyImage& img) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(img.width);
  image.height = static_cast<png_uint_32>(img.height);
  image.format = PNG_FORMAT_GRAY;
  return png_image_write_to_file(&image, path.c_str(), 0, img.pixels.data(), 0, nullptr) != 0;
}

std::vector<std::string> zbarDecode(const GreyImage& image) {
  const TempDir dir;
  const std::string path = dir.file("grey.png");
  if (!writePngGrey(path, image)) return {};
  return zbarDecode(path);
}

std::vector<std::string> zxingDecode(const GreyImage& image) {
  const TempDir dir;
  const std::string path = dir.file("grey.png");
  if (!writePngGrey(path, image)) return {};
  return zxingDecode(path);
}

}  // namespace strimlo::test
