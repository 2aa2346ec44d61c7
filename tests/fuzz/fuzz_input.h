#pragma once
// How the fuzz targets read their input, kept simple enough that a seed file can be
// written by hand: a first line of control bytes, then texts separated by line feeds.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "fuzz_check.h"

namespace strimlo::fuzz {


class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {
    controls_ = text();
  }

  // One control byte as an enumeration value: '0'..'9' are 0..9 so that seeds stay
  // readable, 'M' and 'm' the extremes of int32, any other byte its signed value.
  std::int32_t selector() {
    const int b = byte();
    if (b >= '0' && b <= '9') return b - '0';
    if (b == 'M') return INT32_MAX;
    if (b == 'm') return INT32_MIN;
    return static_cast<signed char>(b);
  }

  // The next byte of the control line, 0 when the line is used up.
  int byte() {
    if (controls_.empty()) return 0;
    const auto b = static_cast<unsigned char>(controls_.front());
    controls_.remove_prefix(1);
    return b;
  }

  // The text up to the next line feed (not included), or all that is left.
  std::string_view text() {
    const auto nl = rest_.find('\n');
    const std::string_view t = rest_.substr(0, nl);
    rest_.remove_prefix(nl == std::string_view::npos ? rest_.size() : nl + 1);
    return t;
  }

  // Everything not read yet, line feeds included.
  std::string_view rest() const { return rest_; }

 private:
  std::string_view controls_;
  std::string_view rest_;
};

// One run on one input; each target defines it.
void fuzzOne(Input& in);

}  // namespace strimlo::fuzz

// libFuzzer's entry point, the same for every target. Each target is a single source
// file including this header, so the definition stands once in each program.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  strimlo::fuzz::Input in(bytes, size);
  strimlo::fuzz::fuzzOne(in);
  return 0;
}
