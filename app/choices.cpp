#include "choices.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QObject>
#include <QStringList>

#include "gs1.h"
#include "isbn_ranges.h"
#include "price_code.h"
#include "symbol.h"
#include "symbologies.h"
#include "text8.h"

namespace strimlo {

std::string text8(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return toText8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))).bytes;
}

QString oneLine(const QString& text) {
  QString line;
  line.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0)) {
      line += text[i];
    } else if (!(c == u'\n' && i > 0 && text[i - 1] == u'\r')) {
      line += u' ';
    }
  }
  return line;
}

QList<CodeTypeItem> codeTypeItems() {
  QList<CodeTypeItem> items;
  for (const SymbologyRow& row : symbologies())
    items.append({QCoreApplication::translate("MainWindow", windowLabel(row)),
                  QString::fromLatin1(row.token)});
  return items;
}

CodeType codeTypeOfItem(const QVariant& data) {
  const SymbologyRow* row = symbologyNamed(data.toString().toStdString());
  return row ? row->type : kEAN13;
}

QString codeTypeToken(CodeType type) {
  const SymbologyRow* row = symbology(type);
  return row ? QString::fromLatin1(row->token) : QString();
}

ControlStates controlStates(FileFormat format, CodeType type, std::optional<CodeType> companion) {
  const bool vector = format == kPDF || format == kSVG;
  const bool linear = symbology(type) != nullptr && !isMatrixType(type);
  const bool withCompanion = linear && companion.has_value();
  return {true,
          format != kEPS && !vector,
          takesAddon(type),
          takesPrice(type),
          takesVariant(type),
          linear,
          isMatrixType(type) || withCompanion,
          type == kGS1QR || (withCompanion && companion == kGS1QR)};
}

bool transparencyApplies(FileFormat format) { return allowsTransparency(format); }

Prepress savedPrepress(const Prepress& chosen, FileFormat format) {
  Prepress saved = chosen;
  saved.transparent = chosen.transparent && transparencyApplies(format);
  return saved;
}

QString requiredExtension(FileFormat format) {
  const char* ext = fileExtension(format);
  return ext ? QString::fromLatin1(ext) : QString();
}

QString fileTypeFilter(FileFormat format) {
  switch (format) {
    case kEPS: return QCoreApplication::translate("Choices", "Encapsulated PostScript (*.eps)");
    case kPNG: return QCoreApplication::translate("Choices", "PNG image (*.png)");
    case kTIFF: return QCoreApplication::translate("Choices", "TIFF image (*.tiff)");
    case kJPEG: return QCoreApplication::translate("Choices", "JPEG image (*.jpg)");
    case kPDF: return QCoreApplication::translate("Choices", "PDF for print (*.pdf)");
    case kSVG: return QCoreApplication::translate("Choices", "SVG image (*.svg)");
    default: return QString();
  }
}

QString withExtension(const QString& path, const QString& extension) {
  if (extension.isEmpty()) return path;
  if (path.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive)) return path;
  // "label." only lacks the extension itself.
  if (path.endsWith(QLatin1Char('.'))) return path + extension;
  return path + QLatin1Char('.') + extension;
}

QString replaceQuestionText(const QString& path) {
  return QCoreApplication::translate("Choices", "“%1” already exists. Replace it?")
      .arg(QFileInfo(path).fileName());
}

QString checkDigitWarning(CodeType type, const std::string& data8) {
  const Completion c = completeSymbol(type, data8);
  const char expected = c.symbol ? wrongCheckChar(*c.symbol) : 0;
  if (expected == 0) return {};
  const QChar typed = QChar::fromLatin1(c.symbol->typedCheck);
  const QChar right = QChar::fromLatin1(expected);
  // The line above the bars shows the corrected character too, so it never contradicts them.
  if (isIsbn(type) || type == kISSN || type == kISMN)
    return QObject::tr("The check character %1 is wrong (%2 is right): the line above the bars "
                       "shows %2.").arg(typed, right);
  return QObject::tr("The check digit %1 is wrong: the bars and digits use %2.").arg(typed, right);
}

std::string hyphenatedData(CodeType type, const std::string& data8, const IsbnRanges* ranges) {
  if (!isIsbn(type) || ranges == nullptr || data8.find_first_of("- ") != std::string::npos)
    return data8;
  Completion c = completeSymbol(type, data8);
  if (!c.symbol) return data8;
  hyphenateLine(*c.symbol, *ranges, false);
  return c.symbol->isbnLine.substr(5);  // after "ISBN "
}

QString isbnLineNote(CodeType type, const std::string& data8, const RangesLoad& load,
                     bool fileNamed) {
  if (!isIsbn(type)) return {};
  Completion c = completeSymbol(type, hyphenatedData(type, data8, load.ranges.get()));
  if (!c.symbol) return {};
  if (!load.ranges && !fileNamed)
    return QObject::tr("No ISBN range file: the line shows the ISBN as typed. Choose the "
                       "agency's RangeMessage.xml under File to hyphenate it.");
  QStringList lines;
  if (load.ranges) {
    const std::string note = hyphenateLine(*c.symbol, *load.ranges, false);
    lines << QString::fromStdString(text8ToUtf8(c.symbol->isbnLine));
    if (!note.empty()) lines << QString::fromStdString(note);
  }
  if (!load.note.empty()) lines << QString::fromStdString(load.note);
  return lines.join(QLatin1Char('\n'));
}

std::optional<PriceFields> priceFields(const QString& currency, const QString& amount) {
  if (amount.trimmed().isEmpty()) return std::nullopt;
  const PriceCode p = parsePriceCode((currency + QLatin1Char(' ') + amount).toStdString());
  if (!p.error.empty()) return std::nullopt;
  return PriceFields{QString::fromLatin1(p.addon), QString::fromLatin1(p.line)};
}

QString saveMessageKey(bool saved) {
  return saved ? QStringLiteral("NSSaveOk") : QStringLiteral("NSSaveNOk");
}

Field refusalField(Refusal refusal) {
  switch (refusal) {
    case Refusal::None: case Refusal::UnknownType: return Field::None;
    case Refusal::AddonNotDigits: case Refusal::AddonLength: return Field::AddOn;
    case Refusal::Variant: return Field::Variant;
    default: return Field::Data;  // the number: its length, digits, form or prefix
  }
}

namespace {

QString letterColour(char letter) {
  return letter == 'A'                   ? QStringLiteral("#1a7f37")
         : letter == 'B' || letter == 'C' ? QStringLiteral("#9a6700")
                                          : QStringLiteral("#c62828");
}

}  // namespace

ScanBadge scanBadge(const verify::Verification& v, double dpi, bool symbol,
                    const std::optional<verify::MatrixCheck>& matrix, bool matrixType) {
  if (!symbol) return {};
  const QString at = QString::number(dpi, 'f', 0);
  const QString red = QStringLiteral("#c62828");
  if (matrixType) {
    if (!matrix || !matrix->error.empty())
      return {QCoreApplication::translate("Choices", "Does not scan at %1 dpi").arg(at), red,
              QString::fromStdString(matrix ? matrix->error : v.error)};
    return {QCoreApplication::translate("Choices", "Reads as meant: %1 at %2 dpi")
                .arg(QChar::fromLatin1(matrix->letter))
                .arg(at),
            letterColour(matrix->letter), QString::fromStdString(verify::matrixSummary(*matrix, dpi))};
  }
  if (!v.error.empty())
    return {QCoreApplication::translate("Choices", "Does not scan at %1 dpi").arg(at), red,
            QString::fromStdString(v.error)};
  if (matrix && !matrix->error.empty())
    return {QCoreApplication::translate("Choices", "The 2D companion does not scan at %1 dpi").arg(at),
            red, QString::fromStdString(matrix->error)};
  ScanBadge badge{QCoreApplication::translate("Choices", "Scans: %1 (%2) at %3 dpi")
                      .arg(QChar::fromLatin1(v.letter))
                      .arg(QString::number(v.grade, 'f', 1), at),
                  letterColour(v.letter),
                  QCoreApplication::translate("Choices", "Weakest: %1")
                      .arg(QString::fromStdString(verify::parameterText(v, v.weakest)))};
  if (matrix)
    badge.toolTip += QLatin1Char('\n') + QCoreApplication::translate("Choices", "2D companion: %1")
                                             .arg(QString::fromStdString(verify::matrixSummary(*matrix)));
  return badge;
}

}  // namespace strimlo
