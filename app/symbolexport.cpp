#include "symbolexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <new>

#include "atomic_file.h"
#include "choices.h"
#include "drawn.h"
#include "makecode.h"
#include "matrix.h"
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
  request.font = choice.font;
  request.outlineText = choice.outlineText;
  const Written file = write(symbol, request);
  if (file.failure != Failure::None) return std::nullopt;
  return QByteArray(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
}

}  // namespace

namespace {

bool isRaster(FileFormat format) { return format == kPNG || format == kTIFF || format == kJPEG; }

// The geometry the chosen file is drawn at: what a save writes.
Geometry chosenGeometry(const SymbolChoice& choice) {
  return geometryFor(choice.size, choice.resolution, choice.freeSize, isRaster(choice.format));
}

}  // namespace

std::string takeTypedSize(const QString& text, bool resolution, FreeSize& free, bool matrix) {
  const std::string typed = text.trimmed().toLower().toStdString();
  FreeSize next = free;
  std::string why;
  if (matrix && !resolution) {
    // A 2D symbol has no magnification: a number is its module in millimetres.
    QString number = text.trimmed().toLower();
    if (number.endsWith(QLatin1String("mm"))) number.chop(2);
    number = number.trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double mm = number.toDouble(&ok);
    if (!ok || !std::isfinite(mm))
      return "module \"" + typed.substr(0, 40) + "\" is not a number of millimetres";
    if (std::string e = moduleRangeError(mm, "module"); !e.empty()) return e;
    free.module = mm;
    free.magnification.reset();
    return {};
  }
  if (resolution) {
    why = setFreeSizeField(next, "dpi", typed);
  } else if (typed.size() >= 2 && typed.compare(typed.size() - 2, 2, "mm") == 0) {
    why = setFreeSizeField(next, "module", typed);
    next.magnification.reset();
  } else {
    why = setFreeSizeField(next, "magnification", typed);
    next.module.reset();
  }
  if (why.empty()) free = next;
  return why;
}

namespace {

// "X 0.495 mm"; for an image the X its whole dots make, e.g. "X 0.508 mm, module 6 dots
// at 300 dpi (0.495 mm asked)".
QString matrixSize(double mm, const SymbolChoice& choice) {
  if (!isRaster(choice.format)) return QStringLiteral("X %1 mm").arg(mm, 0, 'f', 3);
  const double dpi = chosenGeometry(choice).dpi;
  const int dots = matrixModuleDots(mm, dpi);
  const double drawn = dots * 25.4 / dpi;
  QString line = QStringLiteral("X %1 mm, module %2 dots at %3 dpi")
                     .arg(drawn, 0, 'f', 3)
                     .arg(dots)
                     .arg(dpi, 0, 'f', 0);
  if (std::abs(drawn - mm) >= 0.0005) line += QStringLiteral(" (%1 mm asked)").arg(mm, 0, 'f', 3);
  return line;
}

}  // namespace

static QString linearSizeSummary(const SymbolChoice& choice);

QString sizeSummary(const SymbolChoice& choice) {
  if (isMatrixType(choice.type)) {
    const double mm = choice.gs1.moduleMm > 0   ? choice.gs1.moduleMm
                      : choice.freeSize.module ? *choice.freeSize.module
                                               : kMatrixModuleTarget;
    return QString::fromLatin1(codeTypeName(choice.type)) + QStringLiteral(": ") + matrixSize(mm, choice);
  }
  QString line = linearSizeSummary(choice);
  if (choice.gs1.companion)
    line += QStringLiteral("; 2D companion ") +
            matrixSize(choice.gs1.companionModuleMm > 0 ? choice.gs1.companionModuleMm : kMatrixModuleTarget,
                       choice);
  return line;
}

static QString linearSizeSummary(const SymbolChoice& choice) {
  // An EPS with a companion is drawn at the print size, as a page is.
  const bool eps = choice.format == kEPS && !choice.gs1.companion;
  if (eps && !choice.freeSize.sizeGiven())
    return QStringLiteral("EPS: X 0.2957 mm, 89.6 % (its one fixed size)");
  const Geometry g = chosenGeometry(choice);
  QString line = QStringLiteral("X %1 mm, %2 %")
                     .arg(kNominalModule * g.scale, 0, 'f', 4)
                     .arg(g.scale * 100.0, 0, 'f', 1);
  if (isRaster(choice.format)) {
    if (g.moduleDots > 0)
      line += QStringLiteral(", module %1 dots at %2 dpi").arg(g.moduleDots).arg(g.dpi, 0, 'f', 0);
    else
      line += QStringLiteral(", module %1 dots at %2 dpi")
                  .arg(kNominalModule * g.scale * g.dpi / 25.4, 0, 'f', 2)
                  .arg(g.dpi, 0, 'f', 0);
  }
  return line;
}

QString smallSizeWarning(const SymbolChoice& choice) {
  if (isMatrixType(choice.type)) return {};  // its module was checked against the 2D limits
  if (choice.format == kEPS && !choice.gs1.companion && !choice.freeSize.sizeGiven()) return {};
  return QString::fromStdString(smallSizeNote(chosenGeometry(choice).scale));
}

Request requestFor(const SymbolChoice& choice, FileFormat format) {
  Request request;
  request.type = static_cast<Symbology>(choice.type);
  request.data = choice.data.toStdString();
  request.addon = choice.addOn.toStdString();
  request.price = choice.price.toStdString();
  request.variant = choice.variant.toStdString();
  request.format = static_cast<Format>(format);
  request.size = choice.size;
  request.res = choice.resolution;
  request.prepress = savedPrepress(choice.prepress, format);
  request.freeSize = choice.freeSize;
  request.font = choice.font;
  request.outlineText = choice.outlineText;
  if (usesGs1(choice)) request.gs1 = choice.gs1;
  // The window's range file hyphenates the line here too, as symbolData() does for the
  // lists' sizes.
  request.ranges = windowRanges().path;
  return request;
}

bool usesGs1(const SymbolChoice& choice) {
  return isMatrixType(choice.type) || choice.gs1.companion.has_value();
}

Completion completeChoice(const SymbolChoice& choice) {
  if (!usesGs1(choice))
    return completeSymbol(choice.type, symbolData(choice), text8(choice.addOn), text8(choice.price));
  Gs1Options gs1 = choice.gs1;
  if (isMatrixType(choice.type) && choice.freeSize.module && gs1.moduleMm == 0)
    gs1.moduleMm = *choice.freeSize.module;
  return completeWithGs1(choice.type, symbolData(choice), text8(choice.addOn), text8(choice.price), gs1);
}

QString gs1Problem(const SymbolChoice& choice) {
  if (!usesGs1(choice) || choice.data.trimmed().isEmpty()) return {};
  const Completion c = completeChoice(choice);
  return c.refusal == Refusal::Gs1Data ? QString::fromStdString(c.detail) : QString();
}

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
    if (choice.freeSize.any() || usesGs1(choice)) {
      // Through the stages, which take the free size and the 2D options; the lists' sizes
      // keep the path below.
      SymbolChoice chosen = choice;
      chosen.size = size;
      chosen.resolution = resolution;
      const Request request = requestFor(chosen, format);
      const Completed c = complete(request);
      if (!c.symbol)
        return {c.failure == Failure::Refused ? SaveFailure::Refused : SaveFailure::BadFormat,
                c.refusal};
      const Written file = write(*c.symbol, request);
      if (file.failure == Failure::TooLarge) return {SaveFailure::TooLarge, Refusal::None};
      if (file.failure != Failure::None) return {SaveFailure::EncodeFailed, Refusal::None};
      if (!save(file.bytes, QFile::encodeName(path).toStdString()).ok)
        return {SaveFailure::WriteFailed, Refusal::None};
      return {};
    }
    return MakeCode::FinalCodeOutcome(choice.type, size, symbolData(choice), text8(choice.addOn),
                                      text8(choice.price), resolution, format,
                                      QFile::encodeName(path).toStdString(),
                                      savedPrepress(choice.prepress, format), choice.font,
                                      choice.outlineText);
  } catch (const std::bad_alloc&) {
    return {SaveFailure::TooLarge, Refusal::None};  // nothing was written
  }
}

QString saveFailureCause(const SymbolChoice& choice, const SaveOutcome& outcome) {
  if (outcome.failure == SaveFailure::WriteFailed) {
    const std::string cause = lastSaveFailure();
    if (!cause.empty()) return QString::fromStdString(cause) + QStringLiteral("; nothing was changed");
  }
  if (outcome.refusal == Refusal::Gs1Data)  // the elements, domain or GTIN, and the rule
    return QString::fromStdString(completeChoice(choice).detail);
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
  const Completion c = completeChoice(choice);
  const QString extension = requiredExtension(choice.format);
  if (!c.symbol || extension.isEmpty()) return {};
  QString name = QString::fromLatin1(c.symbol->digits);
  if (c.symbol->addon) name += QLatin1Char('-') + QString::fromLatin1(c.symbol->addonText);
  // The elements' letters and digits, as a batch names its files: a serial each.
  if (const std::string elements = elementsNamePart(choice.gs1.ai); usesGs1(choice) && !elements.empty())
    name += QLatin1Char('-') + QString::fromLatin1(elements);
  return name + QLatin1Char('.') + extension;
}

std::unique_ptr<QMimeData> clipboardData(const SymbolChoice& choice) {
  const Completion c = completeChoice(choice);
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
  const Completion c = completeChoice(choice);
  if (!c.symbol) return check;
  check.symbol = true;
  const verify::DrawnGrade drawn =
      verify::gradeDrawn(*c.symbol, choice.format, choice.size, choice.resolution,
                         savedPrepress(choice.prepress, choice.format), nullptr,
                         choice.freeSize);
  check.dpi = drawn.dpi;
  check.verification = drawn.verification;
  check.matrix = drawn.matrix;
  if (!drawn.problem.empty())
    check.verification.error = "the symbol could not be drawn to be checked";
  return check;
}

}  // namespace strimlo
