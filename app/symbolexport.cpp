#include "symbolexport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "choices.h"
#include "makecode.h"
#include "symbol.h"

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

std::optional<QByteArray> fileBytes(const SymbolChoice& choice, FileFormat format) {
  const QTemporaryDir dir;
  if (!dir.isValid()) return std::nullopt;
  const QString path = dir.filePath(QStringLiteral("symbol"));
  if (!saveSymbol(choice, format, kClipboardSize, kClipboardResolution, path))
    return std::nullopt;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return file.readAll();
}

}  // namespace

std::string symbolData(const SymbolChoice& choice) {
  return withVariant(choice.type, latin1Text(choice.data), latin1Text(choice.variant));
}

bool saveSymbol(const SymbolChoice& choice, FileFormat format, SizeIndex size,
                ResolutionIndex resolution, const QString& path) {
  return MakeCode::FinalCode(choice.type, size, symbolData(choice), latin1Text(choice.addOn),
                             latin1Text(choice.price), resolution, format,
                             QFile::encodeName(path).toStdString(),
                             savedPrepress(choice.prepress, format));
}

QString symbolFileName(const SymbolChoice& choice) {
  const Completion c = completeSymbol(choice.type, symbolData(choice), latin1Text(choice.addOn),
                                      latin1Text(choice.price));
  const QString extension = requiredExtension(choice.format);
  if (!c.symbol || extension.isEmpty()) return {};
  QString name = QString::fromLatin1(c.symbol->digits);
  if (c.symbol->addon) name += QLatin1Char('-') + QString::fromLatin1(c.symbol->addonText);
  return name + QLatin1Char('.') + extension;
}

std::unique_ptr<QMimeData> clipboardData(const SymbolChoice& choice) {
  auto mime = std::make_unique<QMimeData>();
  for (const ClipboardFormat& row : kClipboardFormats) {
    const std::optional<QByteArray> bytes = fileBytes(choice, row.format);
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

}  // namespace strimlo
