// Any bytes as an image file to be graded (what strimlo-cli --check reads): PNG, TIFF or
// JPEG, whole, cut short or damaged. Either an image within the pixel limit comes back,
// or a reason and no image; a symbol found is graded on ten lines with grades 0 to 4.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "verify.h"

// The input is the file's bytes as they are, without fuzz_input.h's control line.
#include "fuzz_check.h"

namespace strimlo::fuzz {
namespace {

void gradeBytes(const std::uint8_t* data, std::size_t size) {
  const verify::ReadImage read = verify::readImage({data, size});
  if (!read.error.empty()) {
    FUZZ_CHECK(read.image.pixels.empty());
    return;
  }
  const verify::Image& image = read.image;
  FUZZ_CHECK(image.width > 0 && image.height > 0);
  FUZZ_CHECK(static_cast<std::uint64_t>(image.width) * image.height <= verify::kMaxImagePixels);
  FUZZ_CHECK(image.pixels.size() == static_cast<std::size_t>(image.width) * image.height);
  const verify::Verification v = verify::verifyImage(image);
  if (!v.error.empty()) return;
  FUZZ_CHECK(v.lines.size() == verify::kScanLines);
  FUZZ_CHECK(v.grade >= 0 && v.grade <= 4);
  FUZZ_CHECK(v.worstLine >= 1 && v.worstLine <= verify::kScanLines);
}

}  // namespace
}  // namespace strimlo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  strimlo::fuzz::gradeBytes(data, size);
  return 0;
}
