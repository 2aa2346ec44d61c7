#include "deflate.h"

#include <algorithm>
#include <array>

namespace strimlo::detail {

namespace {

constexpr int kMaxMatch = 258;  // the longest back-reference
constexpr int kMinMatch = 3;    // the shortest
constexpr std::size_t kBlockSymbols = 16384;  // symbols coded with one set of codes
constexpr std::size_t kSinkBytes = 64 << 10;   // coded bytes handed on at a time
constexpr int kMaxBits = 15;                  // the longest Huffman code deflate allows
constexpr int kMaxLengthBits = 7;             // ... in the code of the code lengths
constexpr std::uint32_t kReference = 1u << 31;

// Length symbols 257-285: the shortest length of each, and its extra bits.
constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10,  11, 13,
                                                       15, 17, 19, 23, 27, 31, 35, 43,  51, 59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
// Distance codes 0-29: the shortest distance of each, and its extra bits.
constexpr std::array<std::uint16_t, 30> kDistBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                     6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which the code-length code's lengths are sent.
constexpr std::array<std::uint8_t, 19> kLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                       11, 4,  12, 3, 13, 2, 14, 1, 15};

template <std::size_t N>
constexpr int slotOf(const std::array<std::uint16_t, N>& base, unsigned value) {
  int k = static_cast<int>(N) - 1;
  while (base[k] > value) --k;
  return k;
}

// Length slot of every length 3-258.
constexpr std::array<std::uint8_t, 259> kLengthSlot = [] {
  std::array<std::uint8_t, 259> t{};
  for (unsigned l = kMinMatch; l <= kMaxMatch; ++l) t[l] = static_cast<std::uint8_t>(slotOf(kLengthBase, l));
  return t;
}();

// Distance slot of every distance: up to 256 directly, beyond by steps of 128, within
// which the slot does not change.
constexpr std::array<std::uint8_t, 512> kDistSlot = [] {
  std::array<std::uint8_t, 512> t{};
  for (unsigned d = 0; d < 256; ++d) t[d] = static_cast<std::uint8_t>(slotOf(kDistBase, d + 1));
  for (unsigned k = 2; k < 256; ++k) t[256 + k] = static_cast<std::uint8_t>(slotOf(kDistBase, k * 128 + 1));
  return t;
}();

int distSlot(std::size_t distance) {
  const std::size_t d = distance - 1;
  return d < 256 ? kDistSlot[d] : kDistSlot[256 + (d >> 7)];
}

std::uint16_t reversed(unsigned v, int length) {
  unsigned r = 0;
  for (int i = 0; i < length; ++i) r |= ((v >> i) & 1u) << (length - 1 - i);
  return static_cast<std::uint16_t>(r);
}

// Huffman code lengths of at most maxBits for the given frequencies: a plain Huffman
// tree, its frequencies flattened and rebuilt while it is too deep. The tree is built
// with two queues over the symbols sorted by frequency (the merged nodes come out in
// order by themselves), in fixed arrays: one is made for every block of every file.
std::vector<std::uint8_t> huffmanLengths(std::vector<std::uint32_t> freq, int maxBits) {
  constexpr std::size_t kMaxSymbols = 286;
  const std::size_t n = std::min(freq.size(), kMaxSymbols);
  std::vector<std::uint8_t> length(freq.size(), 0);
  std::array<std::uint64_t, kMaxSymbols> order;  // frequency and symbol, rarest first
  std::array<std::uint64_t, 2 * kMaxSymbols> weight;  // leaves, then merged nodes
  std::array<std::uint16_t, 2 * kMaxSymbols> parent;
  std::array<std::uint8_t, 2 * kMaxSymbols> depth;
  for (;;) {
    std::size_t m = 0;
    for (std::size_t i = 0; i < n; ++i)
      if (freq[i] > 0) order[m++] = static_cast<std::uint64_t>(freq[i]) << 16 | i;
    if (m == 1) length[order[0] & 0xFFFF] = 1;
    if (m <= 1) return length;
    std::sort(order.begin(), order.begin() + m);
    for (std::size_t k = 0; k < m; ++k) weight[k] = order[k] >> 16;
    std::size_t leaf = 0, merged = m, next = m;
    const auto lightest = [&]() {
      return leaf < m && (merged == next || weight[leaf] <= weight[merged]) ? leaf++ : merged++;
    };
    for (; next < 2 * m - 1; ++next) {
      const std::size_t a = lightest(), b = lightest();
      weight[next] = weight[a] + weight[b];
      parent[a] = parent[b] = static_cast<std::uint16_t>(next);
    }
    // Every parent comes after its children, so depths fill in from the root down.
    depth[2 * m - 2] = 0;
    int deepest = 0;
    for (std::size_t k = 2 * m - 2; k-- > 0;) {
      depth[k] = static_cast<std::uint8_t>(std::min(depth[parent[k]] + 1, 255));
      if (k < m) deepest = std::max<int>(deepest, depth[k]);
    }
    if (deepest <= maxBits) {
      for (std::size_t k = 0; k < m; ++k) length[order[k] & 0xFFFF] = depth[k];
      return length;
    }
    for (auto& f : freq)
      if (f > 0) f = (f + 1) / 2;
  }
}

// The canonical codes of the lengths, bit-reversed for a stream filled from its low end.
std::vector<std::uint16_t> canonicalCodes(const std::vector<std::uint8_t>& length) {
  std::array<std::uint16_t, kMaxBits + 2> count{}, next{};
  for (auto l : length)
    if (l > 0) ++count[l];
  unsigned code = 0;
  for (int bits = 1; bits <= kMaxBits; ++bits) {
    code = (code + count[bits - 1]) << 1;
    next[bits] = static_cast<std::uint16_t>(code);
  }
  std::vector<std::uint16_t> codes(length.size(), 0);
  for (std::size_t i = 0; i < length.size(); ++i)
    if (length[i] > 0) codes[i] = reversed(next[length[i]]++, length[i]);
  return codes;
}

struct Packed {  // one symbol of the code-length alphabet and its extra bits
  std::uint8_t symbol, extra;
};

// Code lengths as the code-length alphabet has them: 16 repeats the previous length 3-6
// times, 17 and 18 stand for 3-10 and 11-138 zeros.
std::vector<Packed> packLengths(const std::vector<std::uint8_t>& all) {
  std::vector<Packed> out;
  for (std::size_t i = 0; i < all.size();) {
    const std::uint8_t v = all[i];
    std::size_t run = 1;
    while (i + run < all.size() && all[i + run] == v) ++run;
    if (v == 0 && run >= 3) {
      const std::size_t r = std::min<std::size_t>(run, 138);
      out.push_back(r >= 11 ? Packed{18, static_cast<std::uint8_t>(r - 11)}
                            : Packed{17, static_cast<std::uint8_t>(r - 3)});
      i += r;
    } else if (v != 0 && run >= 4) {
      const std::size_t r = std::min<std::size_t>(run - 1, 6);
      out.push_back({v, 0});
      out.push_back({16, static_cast<std::uint8_t>(r - 3)});
      i += 1 + r;
    } else {
      out.push_back({v, 0});
      ++i;
    }
  }
  return out;
}

}  // namespace

DeflateCoder::DeflateCoder(Sink sink) : sink_(std::move(sink)) {
  symbols_.reserve(kBlockSymbols);
  bytes_.reserve(kSinkBytes + 8);
}

void DeflateCoder::literal(std::uint8_t byte) {
  symbols_.push_back(byte);
  if (symbols_.size() >= kBlockSymbols) writeBlock(false);
}

void DeflateCoder::copy(std::size_t length, std::size_t distance, const std::uint8_t* src) {
  if (distance != lastDistance_) {
    const int d = distSlot(distance);
    lastDistance_ = distance;
    lastDistanceBits_ = static_cast<std::uint32_t>(d) << 13 |
                        static_cast<std::uint32_t>(distance - kDistBase[d]);
  }
  while (length > 0) {
    if (length < kMinMatch) {
      for (std::size_t i = 0; i < length; ++i) literal(src[i]);
      return;
    }
    std::size_t take = std::min<std::size_t>(length, kMaxMatch);
    if (length - take > 0 && length - take < kMinMatch) take = length - kMinMatch;
    const std::uint32_t l = kLengthSlot[take];
    // reference flag, length slot (5 bits), its extra value (5), distance slot and extra (18)
    symbols_.push_back(kReference | l << 23 | static_cast<std::uint32_t>(take - kLengthBase[l]) << 18 |
                       lastDistanceBits_);
    if (symbols_.size() >= kBlockSymbols) writeBlock(false);
    length -= take;
    src += take;
  }
}

bool DeflateCoder::finish() {
  if (!symbols_.empty()) {
    writeBlock(true);
  } else {
    put(1, 1);  // a final block of the fixed codes holding only its end: seven zero bits
    put(1, 2);
    put(0, 7);
  }
  for (; bits_ > 0; bits_ -= 8) {  // the last bits, padded to a whole byte
    bytes_.push_back(static_cast<std::uint8_t>(acc_));
    acc_ >>= 8;
  }
  bits_ = 0;
  drain();
  return ok_;
}

void DeflateCoder::writeBlock(bool last) {
  std::vector<std::uint32_t> litFreq(286, 0), distFreq(30, 0);
  for (std::uint32_t s : symbols_) {
    if (!(s & kReference)) {
      ++litFreq[s];
      continue;
    }
    ++litFreq[257 + ((s >> 23) & 31)];
    ++distFreq[(s >> 13) & 31];
  }
  ++litFreq[256];  // the end of the block
  const auto litLength = huffmanLengths(litFreq, kMaxBits);
  auto distLength = huffmanLengths(distFreq, kMaxBits);
  if (std::all_of(distLength.begin(), distLength.end(), [](auto l) { return l == 0; }))
    distLength[0] = 1;  // a block without references still names one distance code
  const auto litCode = canonicalCodes(litLength);
  const auto distCode = canonicalCodes(distLength);

  std::size_t nlit = 286, ndist = 30;
  while (nlit > 257 && litLength[nlit - 1] == 0) --nlit;
  while (ndist > 1 && distLength[ndist - 1] == 0) --ndist;
  std::vector<std::uint8_t> all(litLength.begin(), litLength.begin() + nlit);
  all.insert(all.end(), distLength.begin(), distLength.begin() + ndist);
  const std::vector<Packed> packed = packLengths(all);
  std::vector<std::uint32_t> packedFreq(19, 0);
  for (const Packed& p : packed) ++packedFreq[p.symbol];
  // A code of one symbol is incomplete, which readers refuse for this alphabet.
  if (std::count_if(packedFreq.begin(), packedFreq.end(), [](auto f) { return f > 0; }) < 2)
    ++packedFreq[packed.front().symbol == 0 ? 1 : 0];
  const auto packedLength = huffmanLengths(packedFreq, kMaxLengthBits);
  const auto packedCode = canonicalCodes(packedLength);
  std::size_t nclen = 19;
  while (nclen > 4 && packedLength[kLengthOrder[nclen - 1]] == 0) --nclen;

  put(last ? 1 : 0, 1);
  put(2, 2);  // Huffman codes of this block's own
  put(static_cast<std::uint32_t>(nlit - 257), 5);
  put(static_cast<std::uint32_t>(ndist - 1), 5);
  put(static_cast<std::uint32_t>(nclen - 4), 4);
  for (std::size_t k = 0; k < nclen; ++k) put(packedLength[kLengthOrder[k]], 3);
  static constexpr int kExtraBits[19] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3, 7};
  for (const Packed& p : packed) {
    put(packedCode[p.symbol], packedLength[p.symbol]);
    put(p.extra, kExtraBits[p.symbol]);
  }

  for (std::uint32_t s : symbols_) {
    if (!(s & kReference)) {
      put(litCode[s], litLength[s]);
      continue;
    }
    // Each code with its extra bits in one go: at most 15 + 5 and 15 + 13 bits.
    const unsigned l = (s >> 23) & 31, d = (s >> 13) & 31;
    const int lengthBits = litLength[257 + l], distBits = distLength[d];
    put(litCode[257 + l] | ((s >> 18) & 31) << lengthBits, lengthBits + kLengthExtra[l]);
    put(distCode[d] | (s & 0x1FFF) << distBits, distBits + kDistExtra[d]);
  }
  put(litCode[256], litLength[256]);
  symbols_.clear();
}

void DeflateCoder::spill() {
  // A whole 32-bit word, least significant byte first, as deflate fills its bytes.
  const auto word = static_cast<std::uint32_t>(acc_);
  const std::uint8_t out[4] = {static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
                               static_cast<std::uint8_t>(word >> 16),
                               static_cast<std::uint8_t>(word >> 24)};
  bytes_.insert(bytes_.end(), out, out + 4);
  acc_ >>= 32;
  bits_ -= 32;
  if (bytes_.size() >= kSinkBytes) drain();
}

void DeflateCoder::drain() {
  if (!bytes_.empty() && ok_) ok_ = sink_(bytes_.data(), bytes_.size());
  bytes_.clear();
}

}  // namespace strimlo::detail
