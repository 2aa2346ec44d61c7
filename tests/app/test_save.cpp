// Saving from the window, with the save dialog and the alert answered through the
// controller's seams: the file lands at the answered path with the required extension,
// holds the symbol on screen (read back by Ghostscript, libpng, libtiff, libjpeg and
// zbarimg, not by us), and the alert says what happened.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <cmath>

#include "makecode.h"
#include "readback.h"
#include "test_support.h"
#include "window_fixture.h"

using strimlo::test::TempDir;

namespace {

const QString kSaved = QStringLiteral("The barcode was saved.");
const QString kNotSaved =
    QStringLiteral("The barcode could not be saved. Check the data and the folder, and try again.");

// The window with its dialogs answered: the save dialog returns `answer`, the question
// before replacing a file returns `replace`.
struct Session {
  Window w;
  std::optional<QString> answer;
  bool replace = false;
  QStringList asked;                   // the extensions the dialog was asked for
  QStringList replaceAsked;            // the paths the replace question was asked about
  QList<QPair<QString, QString>> alerts;  // (title, text)

  Session() {
    w.controller().setSaveDialog([this](const QString& extension) {
      asked << extension;
      return answer;
    });
    w.controller().setAlert(
        [this](const QString& title, const QString& text) { alerts << qMakePair(title, text); });
    w.controller().setReplaceQuestion([this](const QString& path) {
      replaceAsked << path;
      return replace;
    });
  }
  void clickSave() { QTest::mouseClick(w.save, Qt::LeftButton); }
};

QStringList filesIn(const TempDir& dir) {
  return QDir(QString::fromStdString(dir.path().string())).entryList(QDir::Files);
}

// What zbarimg reads in a saved file: EPS, PDF and SVG rendered by Ghostscript, poppler
// and librsvg, images through their own libraries (CMYK ink turned into grey).
std::vector<std::string> readLines(const QStringList& decoded) {
  std::vector<std::string> lines;
  for (const QString& d : decoded) lines.push_back(d.toStdString());
  return lines;
}

std::vector<std::string> decodeSaved(const std::string& path, FileFormat format,
                                     const TempDir& scratch) {
  if (format == kPNG || format == kTIFF || format == kJPEG) {
    const auto facts = test::readRasterFile(path);
    return facts ? test::zbarDecode(facts->grey) : std::vector<std::string>{};
  }
  const std::string png = scratch.file("decoded.png");
  if (!test::renderVector(path, fileExtension(format), png, 300)) return {};
  return test::zbarDecode(png);
}

}  // namespace

class TestSave : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void initTestCase() {
    if (!test::haveTool("zbarimg") || !test::haveTool("gs"))
      QSKIP("zbarimg and Ghostscript are needed to read the saved files back");
  }

  // One row per format (the extension rules are the choices' test).
  void eachFormatSavesWithItsExtension_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("answered");
    QTest::addColumn<QString>("written");
    QTest::newRow("EPS, no extension typed") << kEPS << "label" << "label.eps";
    QTest::newRow("TIFF, .tif typed: tiff added") << kTIFF << "label.tif" << "label.tif.tiff";
    QTest::newRow("JPEG, .jpeg typed: jpg added") << kJPEG << "label.jpeg" << "label.jpeg.jpg";
    QTest::newRow("PNG, .png typed: kept") << kPNG << "label.png" << "label.png";
    QTest::newRow("PDF, no extension typed") << kPDF << "label" << "label.pdf";
    QTest::newRow("SVG, .svg typed: kept") << kSVG << "label.svg" << "label.svg";
  }
  void eachFormatSavesWithItsExtension() {
    QFETCH(int, format);
    QFETCH(QString, answered);
    QFETCH(QString, written);
    TempDir dir, scratch;
    Session s;
    choose(s.w.fileFormat, format);
    s.answer = QString::fromStdString(dir.file(answered.toStdString()));
    s.clickSave();
    QCOMPARE(s.asked, QStringList{QString::fromLatin1(fileExtension(format))});
    QCOMPARE(filesIn(dir), QStringList{written});
    QCOMPARE(s.alerts.size(), 1);
    QCOMPARE(s.alerts[0].first, QStringLiteral("Strimlo"));
    QCOMPARE(s.alerts[0].second, kSaved);
    const auto decoded = decodeSaved(dir.file(written.toStdString()), format, scratch);
    QCOMPARE(decoded, std::vector<std::string>{"EAN-13:4012345678901"});
  }

  // The dialog confirms replacing the name it returns; a file by the name our extension
  // makes of it is replaced only after our own question. A row that expects no question
  // answers "No", so a question asked by mistake also stops the save.
  void aNameWeMadeIsAskedAboutBeforeReplacing_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("answered");
    QTest::addColumn<QString>("existing");  // a file there before the save, "" for none
    QTest::addColumn<QString>("written");   // the name the save writes to
    QTest::addColumn<bool>("replace");      // the answer to the question, if asked
    QTest::addColumn<bool>("asked");
    QTest::newRow("label.tif.tiff exists, Yes: replaced")
        << kTIFF << "label.tif" << "label.tif.tiff" << "label.tif.tiff" << true << true;
    QTest::newRow("label.tif.tiff exists, No: kept, nothing said")
        << kTIFF << "label.tif" << "label.tif.tiff" << "label.tif.tiff" << false << true;
    QTest::newRow("no extension typed, label.eps exists, No: kept")
        << kEPS << "label" << "label.eps" << "label.eps" << false << true;
    QTest::newRow("the chosen name itself exists: the dialog asked, we do not")
        << kPNG << "label.png" << "label.png" << "label.png" << false << false;
    QTest::newRow("capitals: still the chosen name, not asked")
        << kEPS << "LABEL.EPS" << "LABEL.EPS" << "LABEL.EPS" << false << false;
    QTest::newRow("our name differs but is free: not asked")
        << kJPEG << "label.jpeg" << "" << "label.jpeg.jpg" << false << false;
    QTest::newRow("only the typed label.tif exists: not asked, it stays")
        << kTIFF << "label.tif" << "label.tif" << "label.tif.tiff" << false << false;
  }
  void aNameWeMadeIsAskedAboutBeforeReplacing() {
    QFETCH(int, format);
    QFETCH(QString, answered);
    QFETCH(QString, existing);
    QFETCH(QString, written);
    QFETCH(bool, replace);
    QFETCH(bool, asked);
    TempDir dir;
    const std::string old = "an older file, not a barcode";
    if (!existing.isEmpty()) test::writeFile(dir.file(existing.toStdString()), old);
    Session s;
    choose(s.w.fileFormat, format);
    s.answer = QString::fromStdString(dir.file(answered.toStdString()));
    s.replace = replace;
    s.clickSave();
    const QString target = QString::fromStdString(dir.file(written.toStdString()));
    QCOMPARE(s.replaceAsked, asked ? QStringList{target} : QStringList());
    if (existing != written && !existing.isEmpty())
      QCOMPARE(test::readFile(dir.file(existing.toStdString())), old);
    if (asked && !replace) {
      QVERIFY(s.alerts.isEmpty());
      QCOMPARE(test::readFile(target.toStdString()), old);
      return;
    }
    QCOMPARE(s.alerts.size(), 1);
    QCOMPARE(s.alerts[0].second, kSaved);
    QVERIFY(test::readFile(target.toStdString()) != old);
  }

  // The newer types from their list items and fields: the variant field is on for ISSN
  // only, and what is typed in it reaches the file.
  void newerTypesSaveWhatIsTyped_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("addOn");
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QStringList>("decoded");
    QTest::newRow("UPC-A with a 2-digit add-on, PNG")
        << kUPCA << kPNG << "03600029145" << "12" << ""
        << QStringList{"EAN-2:12", "UPC-A:036000291452"};
    QTest::newRow("UPC-E, EPS") << kUPCE << kEPS << "0123456" << "" << "" << QStringList{"UPC-E:01234565"};
    QTest::newRow("ISSN, variant 05, issue 03, TIFF")
        << kISSN << kTIFF << "0317-8471" << "03" << "05"
        << QStringList{"EAN-13:9770317847056", "EAN-2:03"};
    QTest::newRow("ISMN in the M form with a price code, JPEG")
        << kISMN << kJPEG << "M-2600-0043-8" << "51299" << ""
        << QStringList{"EAN-13:9790260000438", "EAN-5:51299"};
  }
  void newerTypesSaveWhatIsTyped() {
    QFETCH(int, type);
    QFETCH(int, format);
    QFETCH(QString, data);
    QFETCH(QString, addOn);
    QFETCH(QString, variant);
    QFETCH(QStringList, decoded);
    TempDir dir, scratch;
    Session s;
    QLineEdit* variantField = s.w.field(QStringLiteral("textfieldVariant"));
    QVERIFY(variantField);
    chooseType(s.w, type);
    choose(s.w.fileFormat, format);
    QCOMPARE(variantField->isEnabled(), type == kISSN);
    retype(s.w.data, data);
    retype(s.w.addOn, addOn);
    if (!variant.isEmpty()) retype(variantField, variant);
    s.answer = QString::fromStdString(dir.file("label"));
    s.clickSave();
    QCOMPARE(s.alerts.size(), 1);
    QCOMPARE(s.alerts[0].second, kSaved);
    const std::string path = dir.file("label." + std::string(fileExtension(format)));
    const std::vector<std::string> expected = readLines(decoded);
    QCOMPARE(decodeSaved(path, format, scratch), expected);
  }

  // The 2D type and the companion from their lists, the elements from their field: a
  // QR Code reads as the Digital Link, a DataMatrix as the element string, and a linear
  // symbol's companion beside it.
  void twoDimensionalChoicesReachTheFile_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("companion");  // the list's index: 0 none, 1 QR Code, 2 DataMatrix
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("elements");
    QTest::addColumn<QString>("domain");     // the Digital Link domain, QR Code only
    QTest::addColumn<QString>("typedSize");  // typed into the size list: a 2D module
    QTest::addColumn<QString>("line");       // a part of the line under the preview
    QTest::addColumn<QStringList>("decoded");
    QTest::newRow("GS1 QR Code with a batch and an expiry, PNG")
        << kGS1QR << 0 << kPNG << "9780306406157" << "(10)ABC123(17)271231" << "https://brand.example"
        << "0,6 mm" << "GS1 QR Code: X 0.593 mm, module 7 dots at 300 dpi (0.600 mm asked)" << QStringList{"QR-Code:https://brand.example/01/09780306406157/10/ABC123?17=271231"};
    QTest::newRow("EAN-13 with a QR Code companion, PDF")
        << kEAN13 << 1 << kPDF << "401234567890" << "(21)S1" << ""
        << "" << "X 0.3300 mm, 100.0 %; 2D companion X 0.495 mm" << QStringList{"EAN-13:4012345678901", "QR-Code:https://id.gs1.org/01/04012345678901/21/S1"};
    QTest::newRow("GS1 DataMatrix, TIFF, by zxing-cpp")
        << kGS1DataMatrix << 0 << kTIFF << "9780306406157" << "(10)ABC123" << ""
        << "" << "X 0.508 mm, module 6 dots at 300 dpi (0.495 mm asked)" << QStringList{"DataMatrix:010978030640615710ABC123"};
  }
  void twoDimensionalChoicesReachTheFile() {
    QFETCH(int, type);
    QFETCH(int, companion);
    QFETCH(int, format);
    QFETCH(QString, data);
    QFETCH(QString, elements);
    QFETCH(QString, domain);
    QFETCH(QString, typedSize);
    QFETCH(QString, line);
    QFETCH(QStringList, decoded);
    TempDir dir, scratch;
    Session s;
    chooseType(s.w, type);
    choose(s.w.combo(QStringLiteral("comboCompanion")), companion);
    choose(s.w.fileFormat, format);
    retype(s.w.data, data);
    QLineEdit* elementsField = s.w.field(QStringLiteral("textfieldAi"));
    QVERIFY(elementsField->isEnabled());
    retype(elementsField, elements);
    QLineEdit* domainField = s.w.field(QStringLiteral("textfieldDlDomain"));
    QCOMPARE(domainField->isEnabled(), type == kGS1QR || companion == 1);
    retype(domainField, domain);
    if (!typedSize.isEmpty()) {
      s.w.codeSize->lineEdit()->selectAll();
      QTest::keyClicks(s.w.codeSize->lineEdit(), typedSize);
      QTest::keyClick(s.w.codeSize->lineEdit(), Qt::Key_Return);
    }
    const auto* under = s.w.main.findChild<QLabel*>(QStringLiteral("labelSize"));
    QVERIFY2(under->text().contains(line), qPrintable(under->text()));
    s.answer = QString::fromStdString(dir.file("label"));
    s.clickSave();
    QCOMPARE(s.alerts.size(), 1);
    QCOMPARE(s.alerts[0].second, kSaved);
    const std::string path = dir.file("label." + std::string(fileExtension(format)));
    const std::vector<std::string> expected = readLines(decoded);
    if (!typedSize.isEmpty()) {  // 0.6 mm at 300 dpi: 7-dot modules, 4 of them each side
      const auto png = test::readPngFile(path);
      QVERIFY(png && png->width % 7 == 0 && png->width / 7 >= 21 + 8);
      // A 2D module, outside the linear range, stays with the 2D type.
      chooseType(s.w, kEAN13);
      QVERIFY2(under->text().startsWith(QLatin1String("X 0.3300 mm, 100.0 %")), qPrintable(under->text()));
    }
    if (type == kGS1DataMatrix) {
      const auto facts = test::readRasterFile(path);
      QVERIFY(facts);
      QCOMPARE(test::zxingDecode(facts->grey), expected);
    } else {
      QCOMPARE(decodeSaved(path, format, scratch), expected);
    }
  }

  void refusedInputShowsTheFailureAndWritesNothing_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("addOn");
    QTest::addColumn<QString>("elements");  // the GS1 elements of a 2D symbol
    QTest::addColumn<QString>("domain");    // a QR Code's Digital Link domain
    QTest::addColumn<QString>("cause");  // as the command line says it
    QTest::addColumn<QString>("field");  // the field that gets the focus
    QTest::newRow("EAN-13 of 5 digits, PNG") << kEAN13 << kPNG << "12345" << "" << "" << ""
        << "EAN-13 needs 12 or 13 digits; got 5" << "textfieldDataToEncode";
    QTest::newRow("EAN-13 of 5 digits, EPS") << kEAN13 << kEPS << "12345" << "" << "" << ""
        << "EAN-13 needs 12 or 13 digits; got 5" << "textfieldDataToEncode";
    QTest::newRow("an ISBN add-on with a letter: the add-on field") << kISBN13 << kPDF
        << "978-3-16-148410-0" << "5129x" << "" << "" << "the add-on must be 5 digits" << "textfieldAddOn";
    QTest::newRow("a 2D expiry in month 13: the elements field") << kGS1QR << kPNG
        << "9780306406157" << "" << "(17)271331" << "" << "month 13" << "textfieldAi";
    QTest::newRow("a serial that would be a dot-segment: the elements field") << kGS1QR << kSVG
        << "9780306406157" << "" << "(21).." << "" << "a Digital Link path segment" << "textfieldAi";
    QTest::newRow("a resolver that is not https: the domain field") << kGS1QR << kPDF
        << "9780306406157" << "" << "" << "http://brand.example" << "must start with https://"
        << "textfieldDlDomain";
    QTest::newRow("a 2D symbol of a wrong GTIN length: the number") << kGS1DataMatrix << kSVG
        << "97803064061" << "" << "" << "" << "GTIN" << "textfieldDataToEncode";
  }
  void refusedInputShowsTheFailureAndWritesNothing() {
    QFETCH(int, type);
    QFETCH(int, format);
    QFETCH(QString, data);
    QFETCH(QString, addOn);
    QFETCH(QString, elements);
    QFETCH(QString, domain);
    QFETCH(QString, cause);
    QFETCH(QString, field);
    TempDir dir;
    Session s;
    chooseType(s.w, type);
    choose(s.w.fileFormat, format);
    retype(s.w.data, data);
    if (!addOn.isEmpty()) retype(s.w.addOn, addOn);
    if (!elements.isEmpty()) retype(s.w.field(QStringLiteral("textfieldAi")), elements);
    if (!domain.isEmpty()) retype(s.w.field(QStringLiteral("textfieldDlDomain")), domain);
    s.answer = QString::fromStdString(dir.file("label"));
    s.clickSave();
    QCOMPARE(s.alerts.size(), 1);
    QCOMPARE(s.alerts[0].first, QStringLiteral("Strimlo"));
    QVERIFY2(s.alerts[0].second.startsWith(kNotSaved + QStringLiteral("\n\n")), qPrintable(s.alerts[0].second));
    QVERIFY2(s.alerts[0].second.contains(cause), qPrintable(s.alerts[0].second));
    QCOMPARE(s.w.main.focusWidget() ? s.w.main.focusWidget()->objectName() : QString(), field);
    QCOMPARE(filesIn(dir), QStringList());
  }

  void aFolderThatDoesNotExistShowsTheFailure() {
    TempDir dir;
    Session s;
    s.answer = QString::fromStdString(dir.file("missing/label.eps"));
    s.clickSave();
    QCOMPARE(s.alerts.size(), 1);
    QCOMPARE(s.alerts[0].second,
             kNotSaved + QStringLiteral("\n\nNo such file or directory; nothing was changed"));
  }

  // The next save dialog starts in the folder of the last save.
  void theLastFolderIsRemembered() {
    TempDir dir;
    Session s;
    s.answer = QString::fromStdString(dir.file("label.eps"));
    s.clickSave();
    QCOMPARE(s.alerts.value(0).second, kSaved);
    QCOMPARE(QSettings().value(QStringLiteral("save/folder")).toString(),
             QFileInfo(*s.answer).absolutePath());
  }

  void cancellingSavesNothingAndSaysNothing() {
    TempDir dir;
    Session s;
    s.answer.reset();
    s.clickSave();
    QCOMPARE(s.asked.size(), 1);
    QVERIFY(s.alerts.isEmpty());
    QCOMPARE(filesIn(dir), QStringList());
  }

  void theMenuItemSavesToo() {
    TempDir dir;
    Session s;
    s.answer = QString::fromStdString(dir.file("menu"));
    QAction* item = s.w.main.findChild<QAction*>(QStringLiteral("actionSave"));
    QVERIFY(item);
    item->trigger();
    QCOMPARE(filesIn(dir), QStringList{QStringLiteral("menu.eps")});
  }

  // The price line is written into the EPS as typed, so the file shows exactly which
  // bytes reached the save: the first 31 of 40.
  void fortyCharactersReachTheSaveCutTo31() {
    const QString forty = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd");
    TempDir dir;
    Session s;
    chooseType(s.w, kISBN13);
    retype(s.w.data, QStringLiteral("978-0-306-40615-7"));
    retype(s.w.addOn, QStringLiteral("51299"));
    retype(s.w.price, forty);
    QCOMPARE(s.w.controller().priceText(), forty);
    s.answer = QString::fromStdString(dir.file("book"));
    s.clickSave();
    QCOMPARE(s.alerts.value(0).second, kSaved);
    const std::string eps = test::readFile(dir.file("book.eps"));
    QVERIFY(eps.find("(ABCDEFGHIJKLMNOPQRSTUVWXYZ01234)") != std::string::npos);
    QVERIFY(eps.find("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345") == std::string::npos);
  }

  // The chosen size and resolution reach the file: its stated resolution, and a width in
  // proportion to magnification x resolution (100% at 300 dpi as the yardstick).
  void sizeAndResolutionReachTheImage_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<double>("widthFactor");
    QTest::addColumn<QString>("typedSize");  // typed into the lists, then Enter
    QTest::addColumn<QString>("typedResolution");
    QTest::addColumn<QString>("line");  // a part of the line under the preview
    QTest::newRow("100% at 600 dpi: twice the pixels") << 2 << 3 << 600.0 << 2.0 << "" << "" << "";
    QTest::newRow("197% at 300 dpi") << 9 << 2 << 300.0 << 1.97 << "" << "" << "";
    QTest::newRow("82% at 72 dpi") << 0 << 0 << 72.0 << 0.82 * 72 / 300 << "" << "" << "";
    QTest::newRow("121% at 1200 dpi") << 4 << 4 << 1200.0 << 1.21 * 4 << "" << "" << "";
    // 120 % at 203 dpi is 3.17 dots: 3 whole dots, 113.7 %; the yardstick's module is 3.898 px.
    QTest::newRow("typed 120 % and 203 dpi: 3-dot modules")
        << 2 << 2 << 203.0 << 3 / (0.33 * 300 / 25.4) << "120 %" << "203 dpi"
        << "X 0.3754 mm, 113.7 %, module 3 dots at 203 dpi";
    QTest::newRow("typed 0,4 mm at the list's 600 dpi: not snapped")
        << 2 << 3 << 600.0 << 0.4 / 0.33 * 2 << "0,4 mm" << "" << "X 0.4000 mm, 121.2 %, module 9.45 dots";
  }
  void sizeAndResolutionReachTheImage() {
    QFETCH(int, size);
    QFETCH(int, resolution);
    QFETCH(double, dpi);
    QFETCH(double, widthFactor);
    QFETCH(QString, typedSize);
    QFETCH(QString, typedResolution);
    QFETCH(QString, line);
    TempDir dir;
    Session s;
    choose(s.w.fileFormat, kPNG);
    s.answer = QString::fromStdString(dir.file("yardstick"));
    s.clickSave();
    choose(s.w.codeSize, size);
    choose(s.w.resolution, resolution);
    for (auto [list, text] : {std::pair{s.w.codeSize, typedSize}, std::pair{s.w.resolution, typedResolution}}) {
      if (text.isEmpty()) continue;
      list->lineEdit()->selectAll();
      QTest::keyClicks(list->lineEdit(), text);
      QTest::keyClick(list->lineEdit(), Qt::Key_Return);
    }
    const auto* under = s.w.main.findChild<QLabel*>(QStringLiteral("labelSize"));
    QVERIFY(under);
    QVERIFY2(under->text().contains(line), qPrintable(under->text()));
    s.answer = QString::fromStdString(dir.file("chosen"));
    s.clickSave();
    const auto yardstick = test::readPngFile(dir.file("yardstick.png"));
    const auto chosen = test::readPngFile(dir.file("chosen.png"));
    QVERIFY(yardstick && chosen);
    QCOMPARE(qRound(yardstick->xdpi), 300);
    QCOMPARE(qRound(chosen->xdpi), qRound(dpi));
    const double expected = yardstick->width * widthFactor;
    QVERIFY2(std::abs(chosen->width - expected) <= 2 + expected * 0.01,
             qPrintable(QStringLiteral("%1 px, expected %2").arg(chosen->width).arg(expected)));
  }

  // The prepress options as set in the window reach the file: it is the one MakeCode writes
  // with them, except for a transparency the format cannot have.
  void prepressOptionsReachTheFile_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("quiet");
    QTest::addColumn<int>("steps");  // of the spin box, 5 um each
    QTest::addColumn<bool>("transparent");
    QTest::addColumn<bool>("savedTransparent");
    QTest::addColumn<int>("font");  // the typeface list's index: 1 is OCR-B
    QTest::addColumn<bool>("outline");
    QTest::newRow("PNG: all three") << kPNG << true << 8 << true << true << 0 << false;
    QTest::newRow("TIFF: the ticked transparency stays out") << kTIFF << false << 0 << true << false << 0 << false;
    QTest::newRow("EPS: quiet zones, 20 um") << kEPS << true << 4 << false << false << 0 << false;
    QTest::newRow("EPS: texts as outlines") << kEPS << false << 0 << false << false << 0 << true;
    QTest::newRow("PDF: OCR-B") << kPDF << false << 0 << false << false << 1 << false;
    QTest::newRow("PNG: OCR-B") << kPNG << false << 0 << false << false << 1 << false;
  }
  void prepressOptionsReachTheFile() {
    QFETCH(int, format);
    QFETCH(bool, quiet);
    QFETCH(int, steps);
    QFETCH(bool, transparent);
    QFETCH(bool, savedTransparent);
    QFETCH(int, font);
    QFETCH(bool, outline);
    TempDir dir;
    Session s;
    choose(s.w.fileFormat, kPNG);
    if (quiet) operate(s.w.quietZones, 1);
    operate(s.w.barReduction, steps);
    if (transparent) operate(s.w.transparent, 1);
    choose(s.w.fileFormat, format);
    choose(s.w.combo("comboFont"), font);
    if (outline) operate(s.w.check("checkOutlineText"), 1);
    s.answer = QString::fromStdString(dir.file("chosen"));
    s.clickSave();
    QCOMPARE(s.alerts.value(0).second, kSaved);
    const std::string ext = fileExtension(format);
    const std::string expected = dir.file("expected." + ext);
    const TypeFace face = font == 1 ? TypeFace::OcrB : TypeFace::Sans;
    QVERIFY(MakeCode::FinalCodeOutcome(kEAN13, 2, "401234567890", "", "", 2, format, expected,
                                       {quiet, steps * 5, savedTransparent}, face, outline));
    const std::string chosen = test::readFile(dir.file("chosen." + ext));
    if (format == kPDF) {  // a page carries the time it was made
      QVERIFY(chosen.find("/Font") == std::string::npos);
    } else {
      QVERIFY(chosen == test::readFile(expected));
    }
    if (format == kEPS) QCOMPARE(chosen.find("findfont") == std::string::npos, outline);
  }

  // The messages are the property list's, read at each save.
  void theMessagesComeFromThePropertyList() {
    TempDir dir, lists;
    test::writeFile(lists.file("Info.ini"), "NSSaveOk=\"Done.\"\nNSSaveNOk=\"Not done.\"\n");
    Session s;
    s.w.controller().setPropertyList(QString::fromStdString(lists.file("Info.ini")));
    s.answer = QString::fromStdString(dir.file("a"));
    s.clickSave();
    retype(s.w.data, QStringLiteral("12345"));
    s.answer = QString::fromStdString(dir.file("b"));  // a.eps exists now: no question wanted
    s.clickSave();
    QCOMPARE(s.alerts.size(), 2);
    QCOMPARE(s.alerts[0].second, QStringLiteral("Done."));
    QVERIFY(s.alerts[1].second.startsWith(QStringLiteral("Not done.\n\nEAN-13 needs")));
  }
};

QTEST_MAIN(TestSave)
#include "test_save.moc"
