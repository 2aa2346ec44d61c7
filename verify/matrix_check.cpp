#include "matrix_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "decode.h"
#include "grade.h"

namespace strimlo::verify {

namespace {

// The region of the image, clamped to it, as an image of its own.
Image cropped(const Image& image, PixelBox& box) {
  box.x0 = std::clamp(box.x0, 0, image.width);
  box.x1 = std::clamp(box.x1, box.x0, image.width);
  box.y0 = std::clamp(box.y0, 0, image.height);
  box.y1 = std::clamp(box.y1, box.y0, image.height);
  Image out;
  out.width = box.x1 - box.x0;
  out.height = box.y1 - box.y0;
  out.pixelsPerMm = image.pixelsPerMm;
  out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
  for (int y = box.y0; y < box.y1; ++y) {
    const auto row = image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width;
    out.pixels.insert(out.pixels.end(), row + box.x0, row + box.x1);
  }
  return out;
}

// Where the ink lies: its first and last column and row darker than the midpoint, and
// each edge to a fraction of a pixel from the ink in the pixels on either side of it (the
// outer rows and columns of both symbologies hold a solid run of modules).
struct Extent {
  double left = 0, right = 0, top = 0, bottom = 0;
  bool found = false;
  bool partial = false;  // a pixel inside is neither paper nor full ink
};

Extent extentOf(const Image& im, int rmin, int rmax) {
  Extent e;
  const int mid = (rmin + rmax) / 2;
  int xa = im.width, xb = -1, ya = im.height, yb = -1;
  for (int y = 0; y < im.height; ++y)
    for (int x = 0; x < im.width; ++x)
      if (im.at(x, y) < mid) {
        xa = std::min(xa, x), xb = std::max(xb, x);
        ya = std::min(ya, y), yb = std::max(yb, y);
      }
  if (xb < 0 || rmax <= rmin) return e;
  e.found = true;
  const double span = rmax - rmin;
  // The most ink of a column (or row) within the ink's rows (or columns); 0 outside.
  auto column = [&](int x) {
    if (x < 0 || x >= im.width) return 0.0;
    int lo = 255;
    for (int y = ya; y <= yb; ++y) lo = std::min<int>(lo, im.at(x, y));
    return std::clamp((rmax - lo) / span, 0.0, 1.0);
  };
  auto row = [&](int y) {
    if (y < 0 || y >= im.height) return 0.0;
    int lo = 255;
    for (int x = xa; x <= xb; ++x) lo = std::min<int>(lo, im.at(x, y));
    return std::clamp((rmax - lo) / span, 0.0, 1.0);
  };
  e.left = xa + 1 - column(xa) - column(xa - 1);
  e.right = xb + column(xb) + column(xb + 1);
  e.top = ya + 1 - row(ya) - row(ya - 1);
  e.bottom = yb + row(yb) + row(yb + 1);
  for (int y = ya; y <= yb && !e.partial; ++y)
    for (int x = xa; x <= xb; ++x)
      if (im.at(x, y) != rmin && im.at(x, y) != rmax) {
        e.partial = true;
        break;
      }
  return e;
}

bool nearWhole(double x) { return std::abs(x - std::nearbyint(x)) < 0.01; }

void measure(const Image& im, const Matrix& meant, MatrixCheck& c) {
  if (im.pixels.empty()) return;
  const auto [lo, hi] = std::minmax_element(im.pixels.begin(), im.pixels.end());
  c.contrast = (*hi - *lo) * 100.0 / 255.0;
  c.contrastGrade = gradeOf(kSymbolContrast, c.contrast);
  const Extent e = extentOf(im, *lo, *hi);
  if (!e.found || meant.cols <= 0 || meant.rows <= 0) return;
  c.moduleDots = (e.right - e.left) / meant.cols;
  c.moduleDotsDown = (e.bottom - e.top) / meant.rows;
  c.wholeDots = !e.partial && nearWhole(e.left) && nearWhole(e.top) && nearWhole(c.moduleDots) &&
                nearWhole(c.moduleDotsDown) && c.moduleDots >= 0.99;
}

}  // namespace

std::string visibleContent(std::string_view content) {
  constexpr std::size_t kLongest = 200;
  std::string out;
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (out.size() >= kLongest) return out + "...";
    const auto b = static_cast<unsigned char>(content[i]);
    if (b == 0x1D) {
      out += "<GS>";
    } else if (b < 0x20 || b == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out += hex;
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

MatrixCheck checkMatrix(const Image& image, const Matrix& meant, const PixelBox& region) {
  MatrixCheck c;
  const bool qr = meant.kind == MatrixKind::QR;
  c.format = qr ? "QR Code" : "DataMatrix";
  if (image.width <= 0 || image.height <= 0 ||
      image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
    c.error = "no " + c.format + " found";
    return c;
  }
  PixelBox box = region;
  const Image part = cropped(image, box);
  measure(part, meant, c);
  std::string problem;
  const std::optional<DecodedMatrix> d = decodeMatrix(part, meant.kind, &problem);
  if (!d) {
    c.error = problem.empty() ? "no " + c.format + " found" : problem;
    return c;
  }
  c.decoded = true;
  c.content = d->content;
  c.identifier = d->identifier;
  // A GS1 DataMatrix starts with FNC1, which a reader announces as "]d2".
  if (!qr && c.identifier != "]d2")
    c.error = "reads as a DataMatrix without FNC1 first (" + visibleContent(c.identifier) + "), not GS1";
  else if (c.content != meant.content)
    c.error = "reads as " + visibleContent(c.content) + ", not " + visibleContent(meant.content);
  c.letter = letterOf(c.error.empty() ? c.contrastGrade : 0);
  const bool beside = box.x1 - box.x0 < image.width || box.y1 - box.y0 < image.height;
  if (c.error.empty() && beside) {
    const std::optional<DecodedMatrix> whole = decodeMatrix(image, meant.kind, nullptr);
    c.foundInWhole = whole && whole->content == meant.content;
  }
  return c;
}

std::string matrixSummary(const MatrixCheck& c, double dpi) {
  if (!c.error.empty()) return c.error;
  char text[200];
  const char grade = "FDCBA"[std::clamp(c.contrastGrade, 0, 4)];
  char module[64];
  if (c.wholeDots)
    std::snprintf(module, sizeof module, "module %.0f %s (whole)", c.moduleDots,
                  std::nearbyint(c.moduleDots) == 1 ? "dot" : "dots");
  else if (std::abs(c.moduleDots - c.moduleDotsDown) < 0.01)
    std::snprintf(module, sizeof module, "module %.2f dots (not whole)", c.moduleDots);
  else
    std::snprintf(module, sizeof module, "module %.2f x %.2f dots (not whole)", c.moduleDots, c.moduleDotsDown);
  char at[32] = "";
  if (dpi > 0) std::snprintf(at, sizeof at, " at %.0f dpi", dpi);
  std::snprintf(text, sizeof text,
                "%s decodes to the intended content; contrast %c (%.0f %%); %s%s; not a full "
                "ISO/IEC 15415 grade",
                c.format.c_str(), grade, c.contrast, module, at);
  std::string summary = text;
  if (!c.foundInWhole)
    summary += "; read where it stands, but not found by zxing-cpp in the whole picture (a reader "
               "aimed at it reads it)";
  return summary;
}

}  // namespace strimlo::verify
