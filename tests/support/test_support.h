#pragma once
// Shared helpers for the render tests: temporary folders, outside tools (zbarimg,
// Ghostscript) as independent checks, and reading files back with their own libraries.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace strimlo::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

struct CommandResult {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};
CommandResult run(const std::string& command);
// Quotes a string for the shell.
std::string shellQuote(const std::string& s);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::string testData(const std::string& name);  // path of a file under tests/data

bool haveTool(const std::string& name);

// Every symbol zbarimg finds in an image file (PNG and anything else it reads), UPC-A and
// UPC-E reported as themselves, EAN-2 and EAN-5 add-ons enabled, as
// "EAN-13:9780306406157" / "EAN-5:51299" / "UPC-E:01234565" lines, sorted.
std::vector<std::string> zbarDecode(const std::string& imagePath);
// The same by ZXingReader (zxing-cpp), a second reader: "UPC-A:036000291452 12" lines,
// the add-on after a space, sorted; a symbol may be reported once without its add-on
// too, from the rows above the add-on's bars.
std::vector<std::string> zxingDecode(const std::string& imagePath);

// Renders an EPS with Ghostscript to a grey PNG at dpi; the exit code, 0 when it rendered.
int ghostscriptToPng(const std::string& epsPath, const std::string& pngPath, int dpi);
// The same, with what Ghostscript said (a PostScript error is reported there, not always
// in the exit code).
CommandResult ghostscriptRender(const std::string& epsPath, const std::string& pngPath, int dpi);

// Renders one of our vector files to a grey PNG at dpi, each with a reader of its own:
// "eps" with Ghostscript, "pdf" with poppler's pdftoppm, "svg" with librsvg's
// rsvg-convert (on white). True when it rendered.
bool renderVector(const std::string& path, const std::string& kind, const std::string& pngPath,
                  int dpi);

// 8-bit grey image read back with libpng (grey or RGB, converted to grey).
struct GreyImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // row-major, top row first
  std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
std::optional<GreyImage> readPngGrey(const std::string& path);
// Writes 8-bit grey pixels as a PNG (so zbarimg can read what we drew).
bool writePngGrey(const std::string& path, const GreyImage& image);
// What zbarimg finds in a grey image, as zbarDecode; none when it cannot be written.
std::vector<std::string> zbarDecode(const GreyImage& image);
std::vector<std::string> zxingDecode(const GreyImage& image);

}  // namespace strimlo::test
