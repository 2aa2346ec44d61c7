#pragma once
// A deflate coder (RFC 1951) for data whose repeats the caller already knows: it takes
// literals and back-references rather than bytes to search, and codes each block of them
// with Huffman codes made for that block. Nothing is searched and nothing is hashed, so
// a row that repeats the row above costs a few symbols instead of a pass over its bytes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace strimlo::detail {

class DeflateCoder {
 public:
  // Receives the coded bytes as they are made; false stops the coder.
  using Sink = std::function<bool(const std::uint8_t*, std::size_t)>;
  explicit DeflateCoder(Sink sink);

  void literal(std::uint8_t byte);
  // `length` bytes that repeat those `distance` (1 to 32768) back; `src` holds them, for
  // the pieces too short to be a reference.
  void copy(std::size_t length, std::size_t distance, const std::uint8_t* src);
  // Codes what is left as the final block and ends on a byte boundary.
  bool finish();
  bool ok() const { return ok_; }

 private:
  void writeBlock(bool last);
  // Appends the low `count` bits of value (count at most 32), least significant first;
  // whole words go out as they fill.
  void put(std::uint32_t value, int count) {
    acc_ |= static_cast<std::uint64_t>(value) << bits_;
    bits_ += count;
    if (bits_ >= 32) spill();
  }
  void spill();
  void drain();

  Sink sink_;
  std::vector<std::uint32_t> symbols_;  // a literal, or a reference packed with its codes
  std::vector<std::uint8_t> bytes_;
  std::uint64_t acc_ = 0;
  int bits_ = 0;
  bool ok_ = true;
  std::size_t lastDistance_ = 0;
  std::uint32_t lastDistanceBits_ = 0;
};

}  // namespace strimlo::detail
