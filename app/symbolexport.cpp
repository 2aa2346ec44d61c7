#include "symbolexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include <new>

#include "atomic_file.h"
#include "choices.h"
#include "font.h"
#include "layout.h"
#include "makecode.h"
#include "paint.h"
#include "stages.h"
#include "symbol.h"
#include "text8.h"

namespace strimlo {

namespace {

// What a copy offers, one row per MIME type, each made by the file renderer.
struct ClipboardFormat {
  const char* mime;
  FileFormat format;
};
constexpr ClipboardFormat kClipboardFormats[] = {
    {"image/png", kPNG},         // greyscale, the resolution in its pHYs chunk
    {"image/svg+xml", kSVG},     // outlines at the print size, for web and layout
    {"application/pdf", kPDF},   // the print-ready page, 100 % K
};
// Layout programs place a pasted image by its stated resolution: 300 dpi at 100% lands
// at the symbol's real size.
constexpr SizeIndex kClipboardSize = 2;              // 100%
constexpr ResolutionIndex kClipboardResolution = 2;  // 300 dpi

// The file of one format from a symbol completed once, in memory: a copy writes nothing
// to disk.
std::optional<QByteArray> fileBytes(const Symbol& symbol, const SymbolChoice& choice,
                                    FileFormat format) {
  Request request;
  request.format = static_cast<Format>(format);
  request.size = kClipboardSize;
  request.res = kClipboardResolution;
  request.prepress = savedPrepress(choice.prepress, format);
  const Written file = write(symbol, request);
  if (file.failure != Failure::None) return std::nullopt;
  return QByteArray(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
}

}  // namespace

std::string symbolData(const SymbolChoice& choice) {
  const std::string data = hyphenatedData(choice.type, text8(choice.data), windowRanges().load.ranges.get());
  return withVariant(choice.type, data, text8(choice.variant));
}

WindowRanges windowRanges() {
  const std::string path = defaultRangesPath();
  if (path.empty()) return {};
  return {loadRanges(path), true, path};
}

QString installRanges(const QString& from) {
  const std::string source = QFile::encodeName(from).toStdString();
  const RangesLoad load = loadRanges(source);
  if (!load.ranges) return QString::fromStdString(load.note);
  const std::string target = userRangesPath();
  QFile file(from);
  if (target.empty() || !file.open(QIODevice::ReadOnly) ||
      !QDir().mkpath(QFileInfo(QString::fromStdString(target)).absolutePath()))
    return QObject::tr("The range file could not be copied.");
  const QByteArray bytes = file.readAll();
  const SaveResult saved = save(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), target);
  if (!saved.ok) return QObject::tr("The range file could not be copied.") + QLatin1Char(' ') + QString::fromStdString(saved.cause);
  return {};
}

SaveOutcome saveSymbol(const SymbolChoice& choice, FileFormat format, SizeIndex size,
                       ResolutionIndex resolution, const QString& path) {
  try {
    return MakeCode::FinalCodeOutcome(choice.type, size, symbolData(choice), text8(choice.addOn),
                                      text8(choice.price), resolution, format,
                                      QFile::encodeName(path).toStdString(),
                                      savedPrepress(choice.prepress, format));
  } catch (const std::bad_alloc&) {
    return {SaveFailure::TooLarge, Refusal::None};  // nothing was written
  }
}

QString saveFailureCause(const SymbolChoice& choice, const SaveOutcome& outcome) {
  if (outcome.failure == SaveFailure::WriteFailed) {
    const std::string cause = lastSaveFailure();
    if (!cause.empty()) return QString::fromStdString(cause) + QStringLiteral("; nothing was changed");
  }
  const std::string why =
      describe(outcome, choice.type, symbolData(choice), text8(choice.addOn));
  return QString::fromStdString(text8ToUtf8(why));
}

QString proposedSavePath(const SymbolChoice& choice, const QString& lastFolder) {
  const QString name = symbolFileName(choice);
  if (lastFolder.isEmpty()) return name;
  return name.isEmpty() ? lastFolder : QDir(lastFolder).filePath(name);
}

QString symbolFileName(const SymbolChoice& choice) {
  const Completion c = completeSymbol(choice.type, symbolData(choice), text8(choice.addOn),
                                      text8(choice.price));
  const QString extension = requiredExtension(choice.format);
  if (!c.symbol || extension.isEmpty()) return {};
  QString name = QString::fromLatin1(c.symbol->digits);
  if (c.symbol->addon) name += QLatin1Char('-') + QString::fromLatin1(c.symbol->addonText);
  return name + QLatin1Char('.') + extension;
}

std::unique_ptr<QMimeData> clipboardData(const SymbolChoice& choice) {
  const Completion c = completeSymbol(choice.type, symbolData(choice), text8(choice.addOn),
                                      text8(choice.price));
  if (!c.symbol) return nullptr;
  auto mime = std::make_unique<QMimeData>();
  for (const ClipboardFormat& row : kClipboardFormats) {
    const std::optional<QByteArray> bytes = fileBytes(*c.symbol, choice, row.format);
    if (!bytes) return nullptr;
    mime->setData(QString::fromLatin1(row.mime), *bytes);
  }
  QImage image;
  if (image.loadFromData(mime->data(QStringLiteral("image/png")))) mime->setImageData(image);
  return mime;
}

std::unique_ptr<QMimeData> dragData(const SymbolChoice& choice, const QString& folder) {
  const QString name = symbolFileName(choice);
  if (name.isEmpty()) return nullptr;
  std::unique_ptr<QMimeData> mime = clipboardData(choice);
  const QString path = QDir(folder).filePath(name);
  if (!mime || !saveSymbol(choice, choice.format, choice.size, choice.resolution, path))
    return nullptr;
  mime->setUrls({QUrl::fromLocalFile(path)});
  return mime;
}

ScanCheck checkScan(const SymbolChoice& choice) {
  ScanCheck check;
  const Completion c = completeSymbol(choice.type, symbolData(choice), text8(choice.addOn),
                                      text8(choice.price));
  if (!c.symbol) return check;
  check.symbol = true;
  const bool raster = choice.format == kPNG || choice.format == kTIFF || choice.format == kJPEG;
  // EPS files have one size, a module near 91 %.
  Layout layout = fileLayout(*c.symbol, choice.format == kEPS ? 1 : choice.size,
                             raster ? choice.resolution : 3);
  applyPrepress(layout, choice.type, savedPrepress(choice.prepress, choice.format), true);
  check.dpi = layout.dpi;
  const Font* font = Font::helvetica();
  verify::Image image;
  image.width = layout.pixelsWide;
  image.height = layout.pixelsHigh;
  image.pixelsPerMm = layout.dpi / 25.4;
  if (!font || image.width <= 0 || image.height <= 0 || image.width > kMaxSurfaceSide ||
      image.height > kMaxSurfaceSide) {
    check.verification.error = "the symbol could not be drawn to be checked";
    return check;
  }
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  if (!paintInkStrip(layout, *font, 0, image.height, image.pixels.data(), image.width)) {
    check.verification.error = "the symbol could not be drawn to be checked";
    return check;
  }
  for (std::uint8_t& p : image.pixels) p = static_cast<std::uint8_t>(255 - p);  // ink to reflectance
  check.verification = verify::verifyImage(image);
  return check;
}

}  // namespace strimlo
