// PNG: 8-bit grey, grey = 255 - ink. Our bitmaps hold only black ink, so grey is exact.
// A transparent one is grey + alpha with alpha = ink over black, and white where there is
// no ink at all, so that a reader ignoring alpha still shows the symbol on white.
//
// The image data goes through our own deflate coder rather than through libpng. Most
// rows of a barcode repeat the row above; libpng has no way to say so and hands every
// byte of every row to zlib, which filters, searches and checksums it (nine tenths of a
// batch's time went there). Here a repeated row is one back-reference and its checksum
// is combined, not recomputed; zlib supplies the checksums.
#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "deflate.h"
#include "encode_detail.h"

namespace strimlo::detail {

namespace {

constexpr std::size_t kWindow = 32768;        // how far back a reference may reach
constexpr std::size_t kIdatBytes = 64 << 10;  // compressed bytes per IDAT chunk

void putBig32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// PNG chunks to a stream: length, type, data, CRC of type and data.
class ChunkWriter {
 public:
  explicit ChunkWriter(std::FILE* out) : out_(out) {}
  bool chunk(const char* type, const std::uint8_t* data, std::size_t size) {
    std::uint8_t head[8];
    putBig32(head, static_cast<std::uint32_t>(size));
    std::memcpy(head + 4, type, 4);
    uLong crc = crc32(0L, head + 4, 4);
    if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
    std::uint8_t tail[4];
    putBig32(tail, static_cast<std::uint32_t>(crc));
    ok_ = ok_ && std::fwrite(head, 1, 8, out_) == 8 &&
          (size == 0 || std::fwrite(data, 1, size, out_) == size) &&
          std::fwrite(tail, 1, 4, out_) == 4;
    return ok_;
  }
  bool ok() const { return ok_; }

 private:
  std::FILE* out_;
  bool ok_ = true;
};

// The zlib stream of the image data, sent out as IDAT chunks as it grows: a two-byte
// header, the deflate data, the Adler-32 of what it holds.
class IdatStream {
 public:
  explicit IdatStream(ChunkWriter& chunks)
      : chunks_(chunks), coder_([this](const std::uint8_t* p, std::size_t n) { return add(p, n); }) {
    pending_ = {0x78, 0x01};  // deflate with a 32 KiB window
  }
  DeflateCoder& coder() { return coder_; }
  bool finish(uLong adler) {
    if (!coder_.finish()) return false;
    std::uint8_t tail[4];
    putBig32(tail, static_cast<std::uint32_t>(adler));
    pending_.insert(pending_.end(), tail, tail + 4);
    return chunks_.chunk("IDAT", pending_.data(), pending_.size());
  }

 private:
  bool add(const std::uint8_t* p, std::size_t n) {
    pending_.insert(pending_.end(), p, p + n);
    if (pending_.size() < kIdatBytes) return true;
    const bool ok = chunks_.chunk("IDAT", pending_.data(), pending_.size());
    pending_.clear();
    return ok;
  }
  ChunkWriter& chunks_;
  std::vector<std::uint8_t> pending_;
  DeflateCoder coder_;
};

// grey = 255 - ink, which for bytes is every bit flipped: eight pixels at a time.
void invertBytes(const std::uint8_t* in, std::uint8_t* out, int count) {
  int x = 0;
  for (; x + 8 <= count; x += 8) {
    std::uint64_t v;
    std::memcpy(&v, in + x, 8);
    v = ~v;
    std::memcpy(out + x, &v, 8);
  }
  for (; x < count; ++x) out[x] = static_cast<std::uint8_t>(~in[x]);
}

// How many bytes from p[i] on (at most up to n) equal those `back` bytes before them,
// compared eight at a time; p - back lies in the same buffer.
std::size_t sameSpan(const std::uint8_t* p, std::size_t back, std::size_t i, std::size_t n) {
  const std::uint8_t* q = p - back;
  std::size_t j = i;
  if constexpr (std::endian::native == std::endian::little) {
    for (; j + 8 <= n; j += 8) {
      std::uint64_t a, b;
      std::memcpy(&a, p + j, 8);
      std::memcpy(&b, q + j, 8);
      if (a != b) return j - i + static_cast<std::size_t>(std::countr_zero(a ^ b) >> 3);
    }
  }
  while (j < n && p[j] == q[j]) ++j;
  return j - i;
}

// Grey + alpha: black at the ink's opacity, white where nothing is drawn.
void inkToGreyAlpha(const std::uint8_t* in, std::uint8_t* out, int count) {
  for (int x = 0; x < count; ++x, out += 2) {
    out[0] = in[x] == 0 ? 255 : 0;
    out[1] = in[x];
  }
}

// One row that does not repeat the row above as a whole: its filter byte (none), then
// spans that equal the row above as references one row back, runs of equal pixels as
// their first pixel and a reference one pixel back, and the rest as literals.
// The row above sits right before `row` in memory (all zeros for the first row, which
// then gets no references to it).
void codeRow(DeflateCoder& z, const std::uint8_t* row, std::size_t n, bool above,
             std::size_t pixelBytes) {
  constexpr std::size_t kWorthARow = 8;  // a shorter equal span costs more than it saves
  z.literal(row[0]);
  for (std::size_t i = 1; i < n;) {
    const std::size_t same = above ? sameSpan(row, n, i, n) : 0;
    if (same >= kWorthARow) {
      z.copy(same, n, &row[i]);
      i += same;
      continue;
    }
    const std::size_t first = std::min(i + pixelBytes, n);
    for (std::size_t k = i; k < first; ++k) z.literal(row[k]);
    const std::size_t run = sameSpan(row, pixelBytes, first, n);
    if (run > 0) z.copy(run, pixelBytes, &row[first]);
    i = first + run;
  }
}

// A tEXt chunk "Comment", keyword and text split by a NUL; none for an empty comment.
bool writeComment(ChunkWriter& chunks, const std::string& comment) {
  if (comment.empty()) return true;
  static constexpr char kKeyword[] = "Comment";  // with its NUL
  std::vector<std::uint8_t> text(kKeyword, kKeyword + sizeof kKeyword);
  text.insert(text.end(), comment.begin(), comment.end());
  return chunks.chunk("tEXt", text.data(), text.size());
}

bool writeHeader(ChunkWriter& chunks, const RasterSource& source) {
  std::uint8_t ihdr[13] = {};
  putBig32(ihdr, static_cast<std::uint32_t>(source.width));
  putBig32(ihdr + 4, static_cast<std::uint32_t>(source.height));
  ihdr[8] = 8;  // bits per sample; deflate, no filter choice, no interlace
  ihdr[9] = source.transparent ? 4 : 0;  // grey + alpha, or grey
  std::uint8_t phys[9] = {};
  const auto perMetre = static_cast<std::uint32_t>(std::lround(source.dpi / 0.0254));
  putBig32(phys, perMetre);
  putBig32(phys + 4, perMetre);
  phys[8] = 1;  // the unit is the metre
  return chunks.ok() && chunks.chunk("IHDR", ihdr, sizeof ihdr) &&
         chunks.chunk("pHYs", phys, sizeof phys) && writeComment(chunks, source.comment);
}

}  // namespace

bool encodePng(const RasterSource& source, std::FILE* out) {
  static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (std::fwrite(kSignature, 1, sizeof kSignature, out) != sizeof kSignature) return false;
  ChunkWriter chunks(out);
  if (!writeHeader(chunks, source)) return false;
  StripReader reader(source);
  const std::size_t pixelBytes = source.transparent ? 2 : 1;
  const std::size_t rowBytes = static_cast<std::size_t>(source.width) * pixelBytes + 1;
  // The last row coded and the one being made, side by side: a row's references to the
  // one above are then plain offsets back. Filter byte 0: none.
  std::vector<std::uint8_t> rows(2 * rowBytes, 0);
  std::uint8_t* const above = rows.data();
  std::uint8_t* const row = above + rowBytes;
  IdatStream idat(chunks);
  DeflateCoder& z = idat.coder();
  uLong adler = adler32(0L, nullptr, 0);
  uLong rowAdler = 0;
  for (int y = 0; y < source.height; ++y) {
    const std::uint8_t* ink = reader.row(y);
    if (ink == nullptr) return false;
    if (source.transparent)
      inkToGreyAlpha(ink, row + 1, source.width);
    else
      invertBytes(ink, row + 1, source.width);
    const bool reach = y > 0 && rowBytes <= kWindow;
    if (reach && std::memcmp(row, above, rowBytes) == 0) {
      z.copy(rowBytes, rowBytes, row);
    } else {
      codeRow(z, row, rowBytes, reach, pixelBytes);
      rowAdler = adler32(1L, row, static_cast<uInt>(rowBytes));
      std::memcpy(above, row, rowBytes);
    }
    adler = adler32_combine(adler, rowAdler, static_cast<z_off_t>(rowBytes));
  }
  return idat.finish(adler) && chunks.chunk("IEND", nullptr, 0);
}

}  // namespace strimlo::detail
