#include "dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "choices.h"
#include "propertylist.h"

namespace strimlo {

namespace {

void runMessage(QWidget* parent, const QString& title, const QString& text, Qt::TextFormat format) {
  QMessageBox box(parent);
  box.setWindowTitle(title);
  box.setTextFormat(format);
  box.setText(text);
  const QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) box.setIconPixmap(icon.pixmap(64, 64));
  box.addButton(QStringLiteral("Ok"), QMessageBox::AcceptRole);
  box.exec();
}

}  // namespace

std::optional<QString> askSavePath(QWidget* parent, const QString& extension,
                                   const QString& fileType) {
  QFileDialog dialog(parent, QStringLiteral("Save Barcode"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (!fileType.isEmpty()) dialog.setNameFilter(fileType);
  dialog.setDefaultSuffix(extension);
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
  return QStringLiteral(
             "<h3>Strimlo %1</h3>"
             "<p>Makes retail barcodes: EAN-8 and EAN-13 for products, ISBN-10 and ISBN-13 "
             "for books, with an optional 5-digit add-on and a price line.</p>"
             "<p>Saves them as EPS for print, or as PNG, TIFF or JPEG images at an exact "
             "size and resolution.</p>")
      .arg(QApplication::applicationVersion());
}

QString helpPage() {
  QFile file(resourcePath(QStringLiteral("help.html")));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

}  // namespace strimlo
