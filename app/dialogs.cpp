#include "dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <iterator>

#include "choices.h"

namespace strimlo {

namespace {

void runMessage(QWidget* parent, const QString& title, const QString& text, Qt::TextFormat format) {
  QMessageBox box(parent);
  box.setWindowTitle(title);
  box.setTextFormat(format);
  box.setText(text);
  const QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) box.setIconPixmap(icon.pixmap(64, 64));
  box.addButton(QCoreApplication::translate("Dialogs", "OK"), QMessageBox::AcceptRole);
  box.exec();
}

}  // namespace

std::optional<QString> askSavePath(QWidget* parent, const QString& extension,
                                   const QString& fileType, const QString& proposed) {
  QFileDialog dialog(parent, QCoreApplication::translate("Dialogs", "Save Barcode"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!fileType.isEmpty()) dialog.setNameFilter(fileType);
  dialog.setDefaultSuffix(extension);
  if (!proposed.isEmpty()) dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
  return files.first();
}

bool askReplace(QWidget* parent, const QString& path) {
  return QMessageBox::question(parent, QStringLiteral("Strimlo"), replaceQuestionText(path),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

bool askPrint(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  // One symbol on one page: no page ranges, no selection.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  return dialog.exec() == QDialog::Accepted;
}

void showAlert(QWidget* parent, const QString& title, const QString& text) {
  runMessage(parent, title, text, Qt::PlainText);
}

void showPage(QWidget* parent, const QString& title, const QString& html) {
  runMessage(parent, title, html, Qt::RichText);
}

QString aboutPage() {
  return QStringLiteral("<h3>Strimlo %1</h3><p>%2</p><p>%3</p>")
      .arg(QApplication::applicationVersion(),
           QCoreApplication::translate(
               "Dialogs",
               "Makes retail barcodes: EAN-8 and EAN-13 for products, ISBN-10 and ISBN-13 for "
               "books, with an optional 5-digit add-on and a price line."),
           QCoreApplication::translate(
               "Dialogs",
               "Saves them as a print-ready PDF, an SVG or an EPS, or as PNG, TIFF or JPEG "
               "images at an exact size and resolution."));
}

namespace {

// The help page's pieces, one per step, so a translator sees whole sentences; the page
// puts them in place in this order.
const char* const kHelpPieces[] = {
    QT_TRANSLATE_NOOP("Help", "Making a barcode with Strimlo"),  // the heading
    QT_TRANSLATE_NOOP("Help",
                      "<b>Barcode type.</b> EAN-13 is the usual code on products sold in shops; "
                      "EAN-8 is the short version for small packages. UPC-A is the product code "
                      "of the United States and Canada, UPC-E its short version. ISBN-10 and "
                      "ISBN-13 are for books (both print as the 13-digit book code), ISSN for "
                      "magazines and newspapers, ISMN for printed music."),
    QT_TRANSLATE_NOOP("Help", "<b>Number.</b> Type the number you were given:"),
    QT_TRANSLATE_NOOP("Help",
                      "EAN-13: 12 digits, EAN-8: 7 digits, UPC-A: 11 digits. The last digit, the "
                      "check digit, is worked out for you; if you type it too, it is replaced."),
    QT_TRANSLATE_NOOP("Help",
                      "UPC-E: the 6 digits under the bars, for example 123456, or with the number "
                      "system 0 in front and the check digit behind. A full UPC-A of 11 or 12 "
                      "digits is shortened when its zeros allow it; otherwise you are told why "
                      "not."),
    QT_TRANSLATE_NOOP("Help",
                      "ISBN-10 or ISBN-13: the book number, with or without hyphens, for example "
                      "978-0-306-40615-7. The hyphens appear in the \"ISBN\" line above the bars."),
    QT_TRANSLATE_NOOP("Help",
                      "ISSN: the magazine number, with or without its hyphen, for example "
                      "0317-8471. The <b>variant</b> field takes the 2-digit sequence variant, 00 "
                      "unless your publisher says otherwise."),
    QT_TRANSLATE_NOOP("Help",
                      "ISMN: the music number, 979-0-2600-0043-8, or in the older form "
                      "M-2600-0043-8, which is printed as 979-0-2600-0043-8."),
    QT_TRANSLATE_NOOP("Help",
                      "<b>Add-on and price.</b> The add-on is a small second barcode. Books take "
                      "exactly 5 digits, often the price code (for example 51299 for US$ 12.99); "
                      "UPC-A, UPC-E, ISSN and ISMN take 2 digits (a magazine's issue number, for "
                      "example 03) or 5. The price text is printed above the add-on of books and "
                      "printed music as you type it. All may stay empty."),
    QT_TRANSLATE_NOOP("Help",
                      "<b>2D codes.</b> Shops are moving to 2D codes by 2027. Choose GS1 QR Code "
                      "(a GS1 Digital Link, read by phones and tills) or GS1 DataMatrix as the "
                      "barcode type and type the GTIN or the book number; or keep your EAN, UPC, "
                      "ISBN, ISSN or ISMN and choose a 2D companion to print both side by side. "
                      "GS1 elements adds data after the GTIN as (AI)value, for example "
                      "(10)ABC123(17)271231 for a batch and an expiry date. For a 2D type, type "
                      "the module into the print size, for example 0.5 mm (0.396 to 0.990 mm)."),
    QT_TRANSLATE_NOOP("Help",
                      "<b>Save.</b> Choose a file format. PDF is what print services and book "
                      "distributors ask for: sharp at the print size you pick, black on the black "
                      "plate only, the font embedded. SVG is sharp too, for web pages and layout "
                      "programs. EPS is the older vector format, drawn at one fixed size. PNG, "
                      "TIFF and JPEG are images: pick the print size (100% is the standard size, "
                      "with 0.33 mm as the narrowest bar) and the resolution of your printer (300 "
                      "dpi suits most office printers)."),
    QT_TRANSLATE_NOOP("Help",
                      "<b>Copy, drag or print.</b> Edit &gt; Copy Barcode (Ctrl+C) puts the "
                      "barcode on the clipboard as a 300 dpi image of the standard size. Drag the "
                      "preview into another program, or into a folder for a file in the chosen "
                      "format. File &gt; Print (Ctrl+P) prints it at the chosen print size; turn "
                      "off any scaling in the print dialog."),
    QT_TRANSLATE_NOOP("Help",
                      "The preview follows every key you type. When it shows a line of help "
                      "instead of a barcode, the number does not have the right number of "
                      "digits yet."),
};

// The markup before each piece, and after the last: a heading, six steps (the second
// with five cases), a closing paragraph.
const char* const kHelpMarkup[] = {"<h3>",      "</h3><ol><li>", "</li><li>", "<ul><li>",
                                   "</li><li>", "</li><li>",     "</li><li>", "</li><li>",
                                   "</li></ul></li><li>", "</li><li>", "</li><li>", "</li><li>",
                                   "</li></ol><p>", "</p>"};
static_assert(std::size(kHelpMarkup) == std::size(kHelpPieces) + 1);

}  // namespace

QString helpPage() {
  QString page;
  for (std::size_t i = 0; i < std::size(kHelpPieces); ++i)
    page += QLatin1String(kHelpMarkup[i]) + QCoreApplication::translate("Help", kHelpPieces[i]);
  return page + QLatin1String(kHelpMarkup[std::size(kHelpPieces)]);
}

}  // namespace strimlo
