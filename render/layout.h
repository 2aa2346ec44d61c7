#pragma once
// A symbol as plain geometry, before anything is drawn: bar segments and text anchors in
// the output's units (pixels of a file bitmap, points of a preview), origin at the
// lower-left corner, y upward.
#include <string>
#include <vector>

namespace strimlo {

struct BarSegment {
  float x;   // centre of the module
  float y0;  // bottom
  float y1;  // top
};

struct TextItem {
  std::string text;  // ISO-8859-1
  float x;           // lower-left corner of the text's layout box
  float y;
  float size;        // font size in output units
};

struct Layout {
  float width = 0;   // exact size in output units
  float height = 0;
  int pixelsWide = 0;  // the target's size: the exact size truncated
  int pixelsHigh = 0;
  float pointsWide = 0;  // file bitmaps: the size stated in points (72 per inch)
  float pointsHigh = 0;
  float dpi = 72;        // file bitmaps: the resolution stated in the file
  float lineWidth = 0;        // every bar segment is stroked this wide, butt ends
  bool antialiasBars = true;  // text is always anti-aliased
  std::vector<BarSegment> bars;
  std::vector<TextItem> texts;
};

}  // namespace strimlo
