// The file dispatch, writing into a temporary folder of this process, with any type,
// size, resolution and format values and any texts. A save must never leave a temporary
// file behind, and a save that answers no must leave the file that was there unchanged.
// Input: a control line of bytes for type, size, resolution, format (see Input::selector),
// the prepress options (bit 0 quiet zones, bit 1 transparent, the rest the reduction)
// and destination (byte % 4: a file, a file in a missing folder, the folder with a
// trailing slash, the folder itself), then data, add-on and price (the rest) on lines.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "atomic_file.h"
#include "fuzz_input.h"
#include "makecode.h"

namespace strimlo::fuzz {
namespace {

namespace fs = std::filesystem;

// One folder for the whole run, removed when the process ends normally.
class Folder {
 public:
  Folder() {
    // In memory where there is a tmpfs: each save syncs its file and folder, which costs
    // nothing there, and durability is not what is fuzzed here.
    const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "strimlo-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

const Folder& folder() {
  static const Folder f;
  return f;
}

std::string destination(int choice) {
  const std::string dir = folder().path().string();
  switch (choice % 4) {
    case 0: return dir + "/symbol.out";
    case 1: return dir + "/missing/symbol.out";
    case 2: return dir + "/";
    default: return dir;
  }
}

std::optional<std::string> contents(const std::string& path) {
  if (!fs::is_regular_file(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// No temporary file in the folder, nor next to it (where saving over the folder itself
// puts one: ".strimlo-fuzz-XXXXXX.??????").
bool noTemporaryFiles() {
  for (const auto& e : fs::recursive_directory_iterator(folder().path()))
    if (e.path().filename().string().front() == '.') return false;
  const std::string sibling = "." + folder().path().filename().string() + ".";
  for (const auto& e : fs::directory_iterator(folder().path().parent_path()))
    if (e.path().filename().string().rfind(sibling, 0) == 0) return false;
  return true;
}

// A "yes" means a whole file of the chosen format: at least its signature is there.
bool hasSignature(const std::string& bytes, FileFormat format) {
  auto starts = [&](std::string_view magic) { return bytes.rfind(magic, 0) == 0; };
  switch (format) {
    case kEPS: return starts("%!PS-Adobe-2.0 EPSF-1.2\n");
    case kPNG: return starts("\x89PNG\r\n\x1a\n");
    case kTIFF: return starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4));
    case kJPEG: return starts("\xFF\xD8\xFF");
    case kPDF: return starts("%PDF-1.3\n") && bytes.ends_with("%%EOF\n");
    case kSVG: return starts("<?xml ") && bytes.ends_with("</svg>\n");
    default: return false;
  }
}

// Bitmaps beyond about 4 Mpixel take seconds to draw and encode and find nothing new.
constexpr double kMaxPixels = 4e6;

bool tooSlow(CodeType type, SizeIndex size, std::string_view text, std::string_view addon,
             std::string_view price, ResolutionIndex res, FileFormat format) {
  if (format < kPNG || format > kJPEG) return false;
  const Completion c = completeSymbol(type, text, addon, price);
  const Font* font = Font::helvetica();
  if (!c.symbol || !font) return false;
  const Layout layout = fileLayout(*c.symbol, size, res);
  return double(layout.pixelsWide) * double(layout.pixelsHigh) > kMaxPixels;
}

}  // namespace

void fuzzOne(Input& in) {
  const CodeType type = in.selector();
  const SizeIndex sizeIndex = in.selector();
  const ResolutionIndex res = in.selector();
  const FileFormat format = in.selector();
  // Quiet zones, a transparent background, and reductions from -20 to 169 um.
  const int options = in.byte();
  const Prepress prepress{(options & 1) != 0, (options >> 2) * 3 - 20, (options & 2) != 0};
  const std::string path = destination(in.byte());
  const std::string_view text = in.text();
  const std::string_view addon = in.text();
  const std::string_view price = in.rest();
  if (tooSlow(type, sizeIndex, text, addon, price, res, format)) return;

  const auto before = contents(path);
  const bool written =
      MakeCode::FinalCode(type, sizeIndex, text, addon, price, res, format, path, prepress);
  const auto after = contents(path);
  FUZZ_CHECK(noTemporaryFiles());
  if (written) {
    FUZZ_CHECK(after.has_value() && hasSignature(*after, format));
  } else {
    FUZZ_CHECK(before == after);
  }
}

}  // namespace strimlo::fuzz
