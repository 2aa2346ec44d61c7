// The parameters of one scan reflectance profile, and the reference decode of EAN/UPC by
// edge-to-similar-edge distances.
#include "grade.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace strimlo::verify {

namespace {

// Grade thresholds A, B, C, D: a value at or beyond one earns that grade.
struct Thresholds {
  double a, b, c, d;
  bool lowerIsBetter;
};
constexpr Thresholds kSymbolContrastGrades{70, 55, 40, 20, false};
constexpr Thresholds kModulationGrades{0.70, 0.60, 0.50, 0.40, false};
constexpr Thresholds kDefectGrades{0.15, 0.20, 0.25, 0.30, true};
constexpr Thresholds kDecodabilityGrades{0.62, 0.50, 0.37, 0.25, false};
constexpr double kEdgeContrastLimit = 15;  // percent: below it the profile fails

int graded(double v, const Thresholds& t) {
  auto meets = [&](double limit) { return t.lowerIsBetter ? v <= limit : v >= limit; };
  if (meets(t.a)) return 4;
  if (meets(t.b)) return 3;
  if (meets(t.c)) return 2;
  if (meets(t.d)) return 1;
  return 0;
}

// A run of samples on one side of the global threshold.
struct Element {
  bool bar;
  double start, end;  // edges, in samples from the profile's start
  double extreme;     // a space's highest reflectance, a bar's lowest
  double ern;         // highest peak minus lowest valley inside it
};

// Highest peak minus lowest valley: a valley is a sample with a higher one on both sides
// within the element, a peak one with a lower one on both sides. Samples that only fall
// toward an edge are neither.
double nonUniformity(std::span<const double> s, bool bar) {
  const std::size_t n = s.size();
  if (n < 3) return 0;
  // after[i]: the lowest (bar) or highest (space) sample from i to the end; the same from
  // the start is kept as we go. One buffer per thread, not two per element.
  thread_local std::vector<double> after;
  after.resize(n);
  after[n - 1] = s[n - 1];
  for (std::size_t i = n - 1; i-- > 0;) after[i] = bar ? std::min(after[i + 1], s[i]) : std::max(after[i + 1], s[i]);
  const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
  double before = s[0], worst = 0;
  for (std::size_t i = 1; i + 1 < n; ++i) {
    if (bar && before < s[i] && after[i + 1] < s[i]) worst = std::max(worst, s[i] - *lo);
    if (!bar && before > s[i] && after[i + 1] > s[i]) worst = std::max(worst, *hi - s[i]);
    before = bar ? std::min(before, s[i]) : std::max(before, s[i]);
  }
  return worst;
}

// Sample i stands for position i + 0.5; an edge lies where the line between two samples
// crosses the threshold.
std::vector<Element> elementsOf(std::span<const double> p, double threshold) {
  std::vector<Element> out;
  std::size_t first = 0;
  double start = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const bool bar = p[i] < threshold;
    const bool last = i + 1 == p.size();
    if (!last && (p[i + 1] < threshold) == bar) continue;
    const double end = last ? static_cast<double>(p.size())
                            : i + 0.5 + (threshold - p[i]) / (p[i + 1] - p[i]);
    const auto run = p.subspan(first, i + 1 - first);
    const double extreme = bar ? *std::min_element(run.begin(), run.end())
                               : *std::max_element(run.begin(), run.end());
    out.push_back({bar, start, end, extreme, nonUniformity(run, bar)});
    first = i + 1;
    start = end;
  }
  return out;
}

// Run lengths of a pattern, the first a bar.
std::vector<int> runsOf(const ModulePattern& pattern) {
  std::vector<int> runs;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (i == 0 || pattern[i] != pattern[i - 1]) runs.push_back(0);
    ++runs.back();
  }
  return runs;
}

// The four-element symbol characters of a main pattern, as indexes of their first run:
// between the guards, skipping the centre guard. UPC-E has no centre guard.
std::vector<int> characterStarts(const std::vector<int>& runs) {
  const int n = static_cast<int>(runs.size());
  std::vector<int> starts;
  if (n == 59 || n == 43) {  // EAN-13 and UPC-A; EAN-8
    const int half = (n - 11) / 8;
    for (int c = 0; c < half; ++c) starts.push_back(3 + 4 * c);
    for (int c = 0; c < half; ++c) starts.push_back(3 + 4 * half + 5 + 4 * c);
  } else if (n == 33) {  // UPC-E: six characters, then the six-element end guard
    for (int c = 0; c < 6; ++c) starts.push_back(3 + 4 * c);
  }
  return starts;
}

// The seven-module characters: each digit in sets A, B and C by its four run lengths.
constexpr int kSetA[10][4] = {{3, 2, 1, 1}, {2, 2, 2, 1}, {2, 1, 2, 2}, {1, 4, 1, 1}, {1, 1, 3, 2},
                              {1, 2, 3, 1}, {1, 1, 1, 4}, {1, 3, 1, 2}, {1, 2, 1, 3}, {3, 1, 1, 2}};

// The bar width (modules) of the other character with the same similar-edge distances as
// `runs`, if there is one. Set A starts with a space, set B is set A's runs reversed, and
// set C starts with a bar with set A's runs.
std::optional<int> partnerBars(const int* runs, bool startsWithBar) {
  for (const auto& a : kSetA) {
    for (const bool reversed : {false, true}) {
      if (reversed && startsWithBar) continue;
      const int c[4] = {a[reversed ? 3 : 0], a[reversed ? 2 : 1], a[reversed ? 1 : 2],
                        a[reversed ? 0 : 3]};
      if (std::equal(c, c + 4, runs)) continue;
      if (c[0] + c[1] == runs[0] + runs[1] && c[1] + c[2] == runs[1] + runs[2])
        return startsWithBar ? c[0] + c[2] : c[1] + c[3];
    }
  }
  return std::nullopt;
}

struct Measured {
  bool ok = false;
  double decodability = 0;
};

// A character's decode from its five edges e[0..4] (e[0] and e[4] the similar edges that
// bound it): the two similar-edge distances in modules must round to the expected ones,
// and where another character shares them (1 and 7, 2 and 8 in every set), the width of
// its two bars must lie nearer the expected one. Decodability: the least margin left to
// a threshold over the largest margin possible.
Measured decodeCharacter(const double* e, const int* runs, bool startsWithBar) {
  const double p = e[4] - e[0];
  if (!(p > 0)) return {};
  const double t1 = 7 * (e[2] - e[0]) / p, t2 = 7 * (e[3] - e[1]) / p;
  const int T1 = runs[0] + runs[1], T2 = runs[1] + runs[2];
  if (std::lround(t1) != T1 || std::lround(t2) != T2) return {};
  double v = std::min(1 - 2 * std::abs(t1 - T1), 1 - 2 * std::abs(t2 - T2));
  if ((T1 == 3 || T1 == 4) && (T2 == 3 || T2 == 4)) {
    // 1 and 7, 2 and 8: the partner's bars are two modules wider or narrower.
    const int bars = startsWithBar ? runs[0] + runs[2] : runs[1] + runs[3];
    const double measured = startsWithBar ? 7 * ((e[1] - e[0]) + (e[3] - e[2])) / p
                                          : 7 * ((e[2] - e[1]) + (e[4] - e[3])) / p;
    const std::optional<int> partner = partnerBars(runs, startsWithBar);
    if (!partner) return {};
    const bool wider = *partner > bars;
    const double threshold = (bars + *partner) / 2.0;
    const double margin = wider ? threshold - measured : measured - threshold;
    if (margin <= 0) return {};
    v = std::min(v, std::min(margin, 1.0));
  }
  return {true, std::max(v, 0.0)};
}

struct Decode {
  std::size_t first = 0;  // element index of the first bar
  double decodability = 0;
};

// The symbol's elements from bar `first`: every character decodes as expected, every
// guard element is within half a module of its width.
std::optional<double> decodeFrom(const std::vector<Element>& el, std::size_t first,
                                 const std::vector<int>& runs) {
  if (first + runs.size() > el.size()) return std::nullopt;
  int modules = 0;
  for (int r : runs) modules += r;
  const double x = (el[first + runs.size() - 1].end - el[first].start) / modules;
  const std::vector<int> starts = characterStarts(runs);
  if (starts.empty() || !(x > 0)) return std::nullopt;
  std::vector<bool> inCharacter(runs.size());
  double v = 1;
  for (int s : starts) {
    double e[5];
    for (int k = 0; k < 5; ++k) e[k] = el[first + s + k].start;
    const Measured m = decodeCharacter(e, &runs[s], el[first + s].bar);
    if (!m.ok) return std::nullopt;
    v = std::min(v, m.decodability);
    for (int k = 0; k < 4; ++k) inCharacter[s + k] = true;
  }
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const Element& g = el[first + i];
    if (!inCharacter[i] && std::abs((g.end - g.start) / x - runs[i]) > 0.5) return std::nullopt;
  }
  return v;
}

std::optional<Decode> referenceDecode(const std::vector<Element>& el, const std::vector<int>& runs) {
  for (std::size_t i = 1; i < el.size(); ++i)
    if (el[i].bar && !el[i - 1].bar)
      if (auto v = decodeFrom(el, i, runs)) return Decode{i, *v};
  return std::nullopt;
}

}  // namespace

const char* parameterName(Parameter parameter) {
  static const char* const names[kParameterCount] = {
      "decode", "symbol contrast", "minimum reflectance", "minimum edge contrast",
      "modulation", "defects", "decodability", "quiet zones"};
  return parameter >= 0 && parameter < kParameterCount ? names[parameter] : "?";
}

int gradeOf(Parameter parameter, double value) {
  switch (parameter) {
    case kSymbolContrast: return graded(value, kSymbolContrastGrades);
    case kMinEdgeContrast: return value >= kEdgeContrastLimit ? 4 : 0;
    case kModulation: return graded(value, kModulationGrades);
    case kDefects: return graded(value, kDefectGrades);
    case kDecodability: return graded(value, kDecodabilityGrades);
    case kDecode:
    case kQuietZones: return value >= 1 ? 4 : 0;
    case kMinReflectance: return value <= 0.5 ? 4 : 0;  // Rmin / Rmax
    default: return 0;
  }
}

char letterOf(double grade) {
  if (grade >= 3.5) return 'A';
  if (grade >= 2.5) return 'B';
  if (grade >= 1.5) return 'C';
  if (grade >= 0.5) return 'D';
  return 'F';
}

Profile gradeProfile(std::span<const double> p, const Expected& expected) {
  Profile r;
  if (p.empty()) return r;
  r.rmin = *std::min_element(p.begin(), p.end());
  r.rmax = *std::max_element(p.begin(), p.end());
  const double sc = r.rmax - r.rmin;
  r.values[kSymbolContrast] = sc;
  r.values[kMinReflectance] = r.rmax > 0 ? r.rmin / r.rmax : 1;
  const std::vector<Element> el = elementsOf(p, (r.rmax + r.rmin) / 2);
  double ecmin = sc, ern = 0;
  for (std::size_t i = 0; i < el.size(); ++i) {
    ern = std::max(ern, el[i].ern);
    if (i > 0) ecmin = std::min(ecmin, std::abs(el[i].extreme - el[i - 1].extreme));
  }
  if (el.size() < 2) ecmin = 0;
  r.values[kMinEdgeContrast] = ecmin;
  r.values[kModulation] = sc > 0 ? ecmin / sc : 0;
  r.values[kDefects] = sc > 0 ? ern / sc : 1;
  const std::vector<int> runs = runsOf(expected.pattern);
  if (const auto d = referenceDecode(el, runs)) {
    const Element& first = el[d->first];
    const Element& last = el[d->first + runs.size() - 1];
    const double x = (last.end - first.start) / static_cast<double>(expected.pattern.size());
    r.start = first.start;
    r.end = last.end;
    // The light run on each side, to the next dark element or out past the profile's end.
    const Element& before = el[d->first - 1];
    const bool open = d->first + runs.size() == el.size();
    const Element& after = open ? last : el[d->first + runs.size()];
    r.quietLeft = (first.start - before.start) / x;
    r.quietRight = open ? 0 : (after.end - after.start) / x;
    r.values[kDecode] = 1;
    r.values[kDecodability] = d->decodability;
    // Half a sample's grace: a bitmap's margins are cut to whole pixels.
    const double grace = 0.5 / x;
    r.values[kQuietZones] = std::min((r.quietLeft + grace) / std::max(expected.quietLeft, 1),
                                     (r.quietRight + grace) / std::max(expected.quietRight, 1));
  }
  r.grade = 4;
  for (int k = 0; k < kParameterCount; ++k) {
    r.grades[k] = gradeOf(static_cast<Parameter>(k), r.values[k]);
    r.grade = std::min(r.grade, r.grades[k]);
  }
  return r;
}

}  // namespace strimlo::verify
