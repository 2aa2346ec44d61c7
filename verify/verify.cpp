// Finds the symbol, measures its bar height, and grades ten scan reflectance profiles.
#include "verify.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

#include "decode.h"

namespace strimlo::verify {

namespace {

// Minimum light margins in modules (GS1), left and right of the main symbol.
struct Margins {
  const char* format;
  int left, right;
};
constexpr Margins kMargins[] = {{"EAN-13", 11, 7}, {"EAN-8", 7, 7}, {"UPC-A", 9, 9}, {"UPC-E", 9, 7}};

constexpr int kAddonGap = 7;

std::optional<Expected> expectedOf(const Decoded& d) {
  std::optional<ModulePattern> pattern;
  if (d.format == "EAN-13") pattern = bitpattern_ean13(d.digits);
  if (d.format == "EAN-8") pattern = bitpattern_ean8(d.digits);
  if (d.format == "UPC-A") pattern = bitpattern_upca(d.digits);
  if (d.format == "UPC-E") pattern = bitpattern_upce(d.digits);
  if (!pattern) return std::nullopt;
  // An add-on stands in the right margin at least 7 modules after the last bar.
  for (const Margins& m : kMargins)
    if (d.format == m.format)
      return Expected{std::move(*pattern), m.left, d.addon.empty() ? m.right : kAddonGap};
  return std::nullopt;
}

constexpr double kMaxAperturePixels = 32;

// A circular aperture over whole pixels: each pixel weighs the part of its square inside
// the circle (sampled 8 x 8); one smaller than a pixel is the pixel.
struct Aperture {
  struct Tap {
    int dx, dy;
    double weight;
  };
  std::vector<Tap> taps;

  explicit Aperture(double diameterPixels) {
    const double r = diameterPixels / 2;
    const int reach = static_cast<int>(std::ceil(r + 0.5));
    double total = 0;
    for (int dy = -reach; dy <= reach; ++dy)
      for (int dx = -reach; dx <= reach; ++dx) {
        int inside = 0;
        for (int sy = 0; sy < 8; ++sy)
          for (int sx = 0; sx < 8; ++sx) {
            const double x = dx - 0.5 + (sx + 0.5) / 8, y = dy - 0.5 + (sy + 0.5) / 8;
            inside += x * x + y * y <= r * r;
          }
        if (inside > 0) taps.push_back({dx, dy, inside / 64.0});
        total += inside / 64.0;
      }
    if (taps.empty()) taps.push_back({0, 0, 1});
    for (Tap& t : taps) t.weight /= std::max(total, 1e-9);
  }
};

// The aperture of a diameter, made once per thread: its taps are sampled 8 x 8 per pixel,
// which cost as much as grading a line.
const Aperture& apertureOf(double diameterPixels) {
  thread_local double diameter = -1;
  thread_local std::optional<Aperture> made;
  if (!made || diameter != diameterPixels) {
    made.emplace(diameterPixels);
    diameter = diameterPixels;
  }
  return *made;
}

// Reflectance in percent along row y from x0 to x1 (exclusive); beyond the image its edge
// pixels go on, as if it were placed on ground of their colour. Each tap's row is found
// once per line, and its column clamped only where the aperture reaches past an edge.
std::vector<double> profileOf(const Image& im, const Aperture& ap, int y, int x0, int x1) {
  // An image of one row (a symbol's row graded on its own) has every tap of a column on
  // the same pixel: the column's weights are summed first.
  std::vector<Aperture::Tap> columns;
  if (im.height == 1)
    for (const Aperture::Tap& t : ap.taps) {
      auto same = std::find_if(columns.begin(), columns.end(), [&](const Aperture::Tap& c) { return c.dx == t.dx; });
      if (same == columns.end()) columns.push_back({t.dx, 0, t.weight});
      else same->weight += t.weight;
    }
  const std::vector<Aperture::Tap>& taps = im.height == 1 ? columns : ap.taps;
  std::vector<double> p;
  p.reserve(static_cast<std::size_t>(std::max(x1 - x0, 0)));
  std::vector<const std::uint8_t*> rows;
  rows.reserve(taps.size());
  int reach = 0;
  for (const Aperture::Tap& t : taps) {
    rows.push_back(im.pixels.data() + static_cast<std::size_t>(std::clamp(y + t.dy, 0, im.height - 1)) * im.width);
    reach = std::max(reach, std::abs(t.dx));
  }
  const std::size_t n = taps.size();
  for (int x = x0; x < x1; ++x) {
    double sum = 0;
    if (x - reach >= 0 && x + reach < im.width) {
      for (std::size_t i = 0; i < n; ++i) sum += taps[i].weight * rows[i][x + taps[i].dx];
    } else {
      for (std::size_t i = 0; i < n; ++i)
        sum += taps[i].weight * rows[i][std::clamp(x + taps[i].dx, 0, im.width - 1)];
    }
    p.push_back(sum * (100.0 / 255.0));
  }
  return p;
}

// The rows above and below y whose bars between x0 and x1 match row y's, nine columns of
// ten or more: the symbol's bars, without the digits under them. A row equal to row y
// byte for byte (every row of bars in a drawn symbol) matches without counting.
std::pair<int, int> barRows(const Image& im, int y, int x0, int x1) {
  x0 = std::clamp(x0, 0, im.width - 1);
  x1 = std::clamp(x1, x0 + 1, im.width);
  const std::uint8_t* centre = im.pixels.data() + static_cast<std::size_t>(y) * im.width;
  const auto [lo, hi] = std::minmax_element(centre + x0, centre + x1);
  const int threshold = (*lo + *hi + 1) / 2;
  const std::size_t span = static_cast<std::size_t>(x1 - x0);
  auto matches = [&](int row) {
    const std::uint8_t* r = im.pixels.data() + static_cast<std::size_t>(row) * im.width;
    if (std::memcmp(r + x0, centre + x0, span) == 0) return true;
    int same = 0;
    for (int x = x0; x < x1; ++x) same += (r[x] < threshold) == (centre[x] < threshold);
    return same * 10 >= (x1 - x0) * 9;
  };
  int top = y, bottom = y;
  while (top > 0 && matches(top - 1)) --top;
  while (bottom + 1 < im.height && matches(bottom + 1)) ++bottom;
  return {top, bottom};
}

bool lowerIsBetter(int k) { return k == kDefects || k == kMinReflectance; }

// Among equal grades, the parameter named as the weakest.
constexpr Parameter kWeakOrder[] = {kDecodability, kModulation, kDefects, kSymbolContrast,
                                    kMinEdgeContrast, kQuietZones, kMinReflectance, kDecode};

void summarise(Verification& v) {
  double sum = 0;
  int worst = 5;
  for (std::size_t i = 0; i < v.lines.size(); ++i) {
    const Profile& p = v.lines[i];
    sum += p.grade;
    if (p.grade < worst) {
      worst = p.grade;
      v.worstLine = static_cast<int>(i) + 1;
    }
    for (int k = 0; k < kParameterCount; ++k) {
      const double x = p.values[k];
      if (i == 0 || (lowerIsBetter(k) ? x > v.values[k] : x < v.values[k])) v.values[k] = x;
      v.grades[k] = i == 0 ? p.grades[k] : std::min(v.grades[k], p.grades[k]);
    }
  }
  v.grade = v.lines.empty() ? 0 : sum / static_cast<double>(v.lines.size());
  v.letter = letterOf(v.grade);
  v.weakest = kWeakOrder[0];
  for (Parameter k : kWeakOrder)
    if (v.grades[k] < v.grades[v.weakest]) v.weakest = k;
}

}  // namespace

Verification verifyImage(const Image& image) {
  std::string problem;
  const std::optional<Decoded> d = decode(image, &problem);
  if (!d) {
    Verification v;
    v.error = problem.empty() ? "no EAN-13, EAN-8, UPC-A or UPC-E symbol found" : problem;
    return v;
  }
  return gradeKnown(image, *d);
}

Verification gradeKnown(const Image& image, const Decoded& known) {
  Verification v;
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
    v.error = "the symbol read cannot be graded";
    return v;
  }
  v.format = known.format;
  v.digits = known.digits;
  v.addon = known.addon;
  const std::optional<Expected> expected = expectedOf(known);
  if (!expected) {
    v.error = "the symbol read cannot be graded";
    return v;
  }
  const double modules = static_cast<double>(expected->pattern.size());
  // Where the bars are, from the middle of the rows read, through a one-pixel aperture.
  const int yc = std::clamp((known.y0 + known.y1) / 2, 0, image.height - 1);
  static const Aperture pixel(0);
  const Profile centre = gradeProfile(profileOf(image, pixel, yc, 0, image.width), *expected);
  double xs = known.x0, xe = known.x1;
  if (centre.values[kDecode] > 0) {
    xs = centre.start;
    xe = centre.end;
  }
  v.modulePixels = (xe - xs) / modules;
  if (!(v.modulePixels > 0)) {
    v.error = "the symbol read cannot be graded";
    return v;
  }
  // A stated resolution that makes the module thinner than 0.1 mm or wider than 2 mm
  // is not believed.
  const double statedModuleMm = v.modulePixels / image.pixelsPerMm;
  v.resolutionStated = image.pixelsPerMm > 0 && statedModuleMm >= 0.1 && statedModuleMm <= 2.0;
  v.pixelsPerMm = v.resolutionStated ? image.pixelsPerMm : v.modulePixels / 0.330;
  v.apertureMm = v.modulePixels / v.pixelsPerMm >= 0.264 ? 0.150 : 0.100;
  // At most 32 pixels across (a module of some 70 pixels): beyond that the image is far
  // finer than the aperture needs, and the cost grows with its square.
  const Aperture& aperture = apertureOf(std::min(v.apertureMm * v.pixelsPerMm, kMaxAperturePixels));
  const auto [top, bottom] = barRows(image, yc, static_cast<int>(xs), static_cast<int>(std::ceil(xe)));
  const int x0 = static_cast<int>(std::floor(xs - (expected->quietLeft + 2) * v.modulePixels));
  const int x1 = static_cast<int>(std::ceil(xe + (expected->quietRight + 2) * v.modulePixels));
  // A line whose aperture covers only rows equal to the centre row, byte for byte, has the
  // profile of every other such line: it is graded once (most lines of a drawn symbol).
  int reach = 0;
  for (const Aperture::Tap& t : aperture.taps) reach = std::max({reach, std::abs(t.dx), std::abs(t.dy)});
  const int c0 = std::clamp(x0 - reach, 0, image.width - 1), c1 = std::clamp(x1 + reach, c0 + 1, image.width);
  const std::uint8_t* centreRow = image.pixels.data() + static_cast<std::size_t>(yc) * image.width;
  auto likeCentre = [&](int y) {
    for (int dy = -reach; dy <= reach; ++dy) {
      const int row = std::clamp(y + dy, 0, image.height - 1);
      if (std::memcmp(image.pixels.data() + static_cast<std::size_t>(row) * image.width + c0, centreRow + c0,
                      static_cast<std::size_t>(c1 - c0)) != 0)
        return false;
    }
    return true;
  };
  std::optional<Profile> uniform;
  for (int i = 0; i < kScanLines; ++i) {
    const double at = 0.1 + 0.8 * i / (kScanLines - 1);
    const int y = top + static_cast<int>(std::lround(at * (bottom - top)));
    if (!likeCentre(y)) {
      v.lines.push_back(gradeProfile(profileOf(image, aperture, y, x0, x1), *expected));
      continue;
    }
    if (!uniform) uniform = gradeProfile(profileOf(image, aperture, y, x0, x1), *expected);
    v.lines.push_back(*uniform);
  }
  summarise(v);
  return v;
}

std::string parameterText(const Verification& v, Parameter k) {
  char text[96];
  const double x = v.values[k];
  const char grade = "FDCBA"[std::clamp(v.grades[k], 0, 4)];
  switch (k) {
    case kDecode: std::snprintf(text, sizeof text, "%s %s (%c)", parameterName(k), x > 0 ? "pass" : "fail", grade); break;
    case kSymbolContrast:
    case kMinEdgeContrast: std::snprintf(text, sizeof text, "%s %.0f %% (%c)", parameterName(k), x, grade); break;
    case kQuietZones: std::snprintf(text, sizeof text, "%s %.2f of the minimum (%c)", parameterName(k), x, grade); break;
    default: std::snprintf(text, sizeof text, "%s %.2f (%c)", parameterName(k), x, grade); break;
  }
  return text;
}

std::string summary(const Verification& v) {
  if (!v.error.empty()) return v.error;
  char head[48];
  std::snprintf(head, sizeof head, "grade %c (%.1f): ", v.letter, v.grade);
  std::string weakest = parameterText(v, v.weakest);
  weakest.resize(weakest.rfind(" ("));  // the grade is in the head
  return head + weakest;
}

}  // namespace strimlo::verify
