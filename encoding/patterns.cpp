#include "patterns.h"

#include <initializer_list>

#include "digits.h"

namespace strimlo {

namespace {

// Element widths of number set A, digit by digit: space, bar, space, bar. Set C has the
// same widths starting with a bar; set B has them reversed (table `c`).
constexpr int a[10][4] = {
    {3, 2, 1, 1},  // 0
    {2, 2, 2, 1},  // 1
    {2, 1, 2, 2},  // 2
    {1, 4, 1, 1},  // 3
    {1, 1, 3, 2},  // 4
    {1, 2, 3, 1},  // 5
    {1, 1, 1, 4},  // 6
    {1, 3, 1, 2},  // 7
    {1, 2, 1, 3},  // 8
    {3, 1, 1, 2},  // 9
};

// Element widths of number set B: each row of `a` reversed, still starting with a space.
constexpr int c[10][4] = {
    {1, 1, 2, 3},  // 0
    {1, 2, 2, 2},  // 1
    {2, 2, 1, 2},  // 2
    {1, 1, 4, 1},  // 3
    {2, 3, 1, 1},  // 4
    {1, 3, 2, 1},  // 5
    {4, 1, 1, 1},  // 6
    {2, 1, 3, 1},  // 7
    {3, 1, 2, 1},  // 8
    {2, 1, 1, 3},  // 9
};

// EAN-13: sets of the six left-hand digits (0 = A, 1 = B), chosen by the leading digit,
// which has no bars of its own.
constexpr int p[10][6] = {
    {0, 0, 0, 0, 0, 0},  // 0
    {0, 0, 1, 0, 1, 1},  // 1
    {0, 0, 1, 1, 0, 1},  // 2
    {0, 0, 1, 1, 1, 0},  // 3
    {0, 1, 0, 0, 1, 1},  // 4
    {0, 1, 1, 0, 0, 1},  // 5
    {0, 1, 1, 1, 0, 0},  // 6
    {0, 1, 0, 1, 0, 1},  // 7
    {0, 1, 0, 1, 1, 0},  // 8
    {0, 1, 1, 0, 1, 0},  // 9
};

// 5-digit add-on: sets of its five digits (0 = A, 1 = B), chosen by its check value.
constexpr int cc[10][5] = {
    {1, 1, 0, 0, 0},  // 0
    {1, 0, 1, 0, 0},  // 1
    {1, 0, 0, 1, 0},  // 2
    {1, 0, 0, 0, 1},  // 3
    {0, 1, 1, 0, 0},  // 4
    {0, 0, 1, 1, 0},  // 5
    {0, 0, 0, 1, 1},  // 6
    {0, 1, 0, 1, 0},  // 7
    {0, 1, 0, 0, 1},  // 8
    {0, 0, 1, 0, 1},  // 9
};

// UPC-E of number system 0: sets of its six digits (0 = A, 1 = B), chosen by the check
// digit; number system 1 takes the other set for every digit.
constexpr int e[10][6] = {
    {1, 1, 1, 0, 0, 0},  // 0
    {1, 1, 0, 1, 0, 0},  // 1
    {1, 1, 0, 0, 1, 0},  // 2
    {1, 1, 0, 0, 0, 1},  // 3
    {1, 0, 1, 1, 0, 0},  // 4
    {1, 0, 0, 1, 1, 0},  // 5
    {1, 0, 0, 0, 1, 1},  // 6
    {1, 0, 1, 0, 1, 0},  // 7
    {1, 0, 1, 0, 0, 1},  // 8
    {1, 0, 0, 1, 0, 1},  // 9
};

enum class Set { A, B, C };

void append(ModulePattern& out, std::initializer_list<std::uint8_t> modules) {
  out.insert(out.end(), modules);
}

// Seven modules of one digit: sets A and B start with a space, set C with a bar.
void appendDigit(ModulePattern& out, char digit, Set set) {
  const int* widths = set == Set::B ? c[digit - '0'] : a[digit - '0'];
  std::uint8_t colour = set == Set::C ? 1 : 0;
  for (int e = 0; e < 4; ++e) {
    out.insert(out.end(), static_cast<std::size_t>(widths[e]), colour);
    colour ^= 1;
  }
}

Set leftSet(int bit) { return bit ? Set::B : Set::A; }

std::optional<ModulePattern> start(std::string_view digits, std::size_t length,
                                   std::size_t modules) {
  if (digits.size() != length || !allDigits(digits)) return std::nullopt;
  ModulePattern out;
  out.reserve(modules);
  return out;
}

}  // namespace

std::optional<ModulePattern> bitpattern_ean13(std::string_view d) {
  auto out = start(d, 13, kEAN13Modules);
  if (!out) return std::nullopt;
  const int* sets = p[d[0] - '0'];
  append(*out, {1, 0, 1});
  for (int i = 1; i <= 6; ++i) appendDigit(*out, d[i], leftSet(sets[i - 1]));
  append(*out, {0, 1, 0, 1, 0});
  for (int i = 7; i <= 12; ++i) appendDigit(*out, d[i], Set::C);
  append(*out, {1, 0, 1});
  return out;
}

std::optional<ModulePattern> bitpattern_ean8(std::string_view d) {
  auto out = start(d, 8, kEAN8Modules);
  if (!out) return std::nullopt;
  append(*out, {1, 0, 1});
  for (int i = 0; i < 4; ++i) appendDigit(*out, d[i], Set::A);
  append(*out, {0, 1, 0, 1, 0});
  for (int i = 4; i < 8; ++i) appendDigit(*out, d[i], Set::C);
  append(*out, {1, 0, 1});
  return out;
}

// UPC-A is EAN-13 with a leading 0, which only sets the sets of the left digits. The 13
// digits are put together in place: no string to concatenate, no allocation.
std::optional<ModulePattern> bitpattern_upca(std::string_view d) {
  if (d.size() != 12) return std::nullopt;
  char ean13[13] = {'0'};
  d.copy(ean13 + 1, 12);
  return bitpattern_ean13(std::string_view(ean13, sizeof ean13));
}

std::optional<ModulePattern> bitpattern_upce(std::string_view d) {
  auto out = start(d, 8, kUPCEModules);
  if (!out || d[0] > '1') return std::nullopt;
  const int* sets = e[d[7] - '0'];
  const int flip = d[0] - '0';
  append(*out, {1, 0, 1});
  for (int i = 1; i <= 6; ++i) appendDigit(*out, d[i], leftSet(sets[i - 1] ^ flip));
  append(*out, {0, 1, 0, 1, 0, 1});
  return out;
}

std::optional<ModulePattern> bitpattern_addon5(std::string_view d) {
  auto out = start(d, 5, kAddon5Modules);
  if (!out) return std::nullopt;
  auto v = [&](int i) { return d[i] - '0'; };
  const int check = (9 * (v(1) + v(3)) + 3 * (v(0) + v(2) + v(4))) % 10;
  append(*out, {1, 0, 1, 1});
  for (int j = 0; j < 5; ++j) {
    if (j > 0) append(*out, {0, 1});
    appendDigit(*out, d[j], leftSet(cc[check][j]));
  }
  return out;
}

std::optional<ModulePattern> bitpattern_addon2(std::string_view d) {
  auto out = start(d, 2, kAddon2Modules);
  if (!out) return std::nullopt;
  const int rest = ((d[0] - '0') * 10 + (d[1] - '0')) % 4;
  append(*out, {1, 0, 1, 1});
  appendDigit(*out, d[0], leftSet(rest >> 1));
  append(*out, {0, 1});
  appendDigit(*out, d[1], leftSet(rest & 1));
  return out;
}

std::string toString(const ModulePattern& pattern) {
  std::string s;
  s.reserve(pattern.size());
  for (auto m : pattern) s.push_back(m ? '1' : '0');
  return s;
}

}  // namespace strimlo
