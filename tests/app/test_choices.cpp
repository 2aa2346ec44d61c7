// The window's decisions that need no widgets: the 8-bit texts, which controls mean
// something, the path a save writes to and the question before replacing a file there.
#include <QTest>

#include "choices.h"

using namespace strimlo;

Q_DECLARE_METATYPE(std::string)

class TestChoices : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void text8_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::string>("bytes");
    QTest::newRow("empty stays empty") << QString() << std::string();
    QTest::newRow("digits pass unchanged") << QStringLiteral("401234567890")
                                           << std::string("401234567890");
    QTest::newRow("e acute is one Windows-1252 byte") << QStringLiteral("Caf\u00e9")
                                                      << std::string("Caf\xe9");
    QTest::newRow("the euro sign is Windows-1252 byte 80")
        << QStringLiteral("\u20ac 12") << std::string("\x80 12");
    QTest::newRow("a rouble sign is outside Windows-1252: ?")
        << QStringLiteral("\u20bd 12") << std::string("? 12");
    QTest::newRow("a character beyond U+FFFF is one ?, not one per UTF-16 unit")
        << QStringLiteral("a\U0001F600b") << std::string("a?b");
  }
  void text8() {
    QFETCH(QString, typed);
    QFETCH(std::string, bytes);
    QCOMPARE(strimlo::text8(typed), bytes);
  }

  void controlStates_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("size");
    QTest::addColumn<bool>("resolution");
    QTest::addColumn<bool>("addOn");
    QTest::addColumn<bool>("price");
    QTest::addColumn<bool>("variant");
    QTest::addColumn<int>("companionChosen");  // a type, or -1 for none
    QTest::addColumn<bool>("companion");
    QTest::addColumn<bool>("elements");
    QTest::addColumn<bool>("resolver");
    QTest::newRow("EPS, EAN-13: the launch state; a print size for printing") << kEPS << kEAN13 << true << false << false << false << false << -1 << true << false << false;
    QTest::newRow("EPS, ISBN-10") << kEPS << kISBN10 << true << false << true << true << false << -1 << true << false << false;
    QTest::newRow("PNG, EAN-8") << kPNG << kEAN8 << true << true << false << false << false << -1 << true << false << false;
    QTest::newRow("TIFF, ISBN-13") << kTIFF << kISBN13 << true << true << true << true << false << -1 << true << false << false;
    QTest::newRow("JPEG, EAN-13") << kJPEG << kEAN13 << true << true << false << false << false << -1 << true << false << false;
    QTest::newRow("PDF, ISBN-13: a size, no resolution") << kPDF << kISBN13 << true << false << true << true << false << -1 << true << false << false;
    QTest::newRow("SVG, EAN-8: a size, no resolution") << kSVG << kEAN8 << true << false << false << false << false << -1 << true << false << false;
    QTest::newRow("UPC-A: an add-on, no price") << kPNG << kUPCA << true << true << true << false << false << -1 << true << false << false;
    QTest::newRow("UPC-E: an add-on, no price") << kEPS << kUPCE << true << false << true << false << false << -1 << true << false << false;
    QTest::newRow("ISSN: add-on and variant") << kPNG << kISSN << true << true << true << false << true << -1 << true << false << false;
    QTest::newRow("ISMN: add-on and price, as ISBN") << kPDF << kISMN << true << false << true << true << false << -1 << true << false << false;
    QTest::newRow("a type outside the list has no add-on") << kPNG << 10 << true << true << false << false << false << -1 << false << false << false;
    QTest::newRow("EAN-13 with a QR Code companion: its elements and resolver") << kPNG << kEAN13 << true << true << false << false << false << int(kGS1QR) << true << true << true;
    QTest::newRow("ISSN with a DataMatrix companion: no resolver") << kPDF << kISSN << true << false << true << false << true << int(kGS1DataMatrix) << true << true << false;
    QTest::newRow("GS1 QR Code: elements and resolver, no companion, a size for its module") << kPNG << kGS1QR << true << true << false << false << false << -1 << false << true << true;
    QTest::newRow("GS1 DataMatrix, a companion left chosen: none") << kSVG << kGS1DataMatrix << true << false << false << false << false << int(kGS1QR) << false << true << false;
  }
  void controlStates() {
    QFETCH(int, format);
    QFETCH(int, type);
    QFETCH(bool, size);
    QFETCH(bool, resolution);
    QFETCH(bool, addOn);
    QFETCH(bool, price);
    QFETCH(bool, variant);
    QFETCH(int, companionChosen);
    QFETCH(bool, companion);
    QFETCH(bool, elements);
    QFETCH(bool, resolver);
    const ControlStates states = strimlo::controlStates(
        format, type, companionChosen < 0 ? std::nullopt : std::optional<CodeType>(companionChosen));
    QCOMPARE(states.size, size);
    QCOMPARE(states.resolution, resolution);
    QCOMPARE(states.addOn, addOn);
    QCOMPARE(states.price, price);
    QCOMPARE(states.variant, variant);
    QCOMPARE(states.companion, companion);
    QCOMPARE(states.elements, elements);
    QCOMPARE(states.resolver, resolver);
  }

  void requiredExtension_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("extension");
    QTest::newRow("EPS") << kEPS << QStringLiteral("eps");
    QTest::newRow("PNG") << kPNG << QStringLiteral("png");
    QTest::newRow("TIFF: four letters") << kTIFF << QStringLiteral("tiff");
    QTest::newRow("JPEG: jpg") << kJPEG << QStringLiteral("jpg");
    QTest::newRow("PDF") << kPDF << QStringLiteral("pdf");
    QTest::newRow("SVG") << kSVG << QStringLiteral("svg");
    QTest::newRow("outside the list: none") << 6 << QString();
  }
  void requiredExtension() {
    QFETCH(int, format);
    QFETCH(QString, extension);
    QCOMPARE(strimlo::requiredExtension(format), extension);
  }

  void withExtension_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("written");
    QTest::newRow("none typed: appended") << "/tmp/label" << "png" << "/tmp/label.png";
    QTest::newRow("the right one: kept") << "/tmp/label.tiff" << "tiff" << "/tmp/label.tiff";
    QTest::newRow("another: appended") << "/tmp/label.jpg" << "png" << "/tmp/label.jpg.png";
    QTest::newRow(".tif is not .tiff") << "/tmp/label.tif" << "tiff" << "/tmp/label.tif.tiff";
    QTest::newRow(".jpeg is not .jpg") << "/tmp/label.jpeg" << "jpg" << "/tmp/label.jpeg.jpg";
    QTest::newRow("capitals are the same extension") << "/tmp/LABEL.EPS" << "eps"
                                                     << "/tmp/LABEL.EPS";
    QTest::newRow("a bare ending without its dot") << "/tmp/labelpng" << "png"
                                                   << "/tmp/labelpng.png";
    QTest::newRow("a trailing dot gets only the letters") << "/tmp/label." << "eps"
                                                          << "/tmp/label.eps";
    QTest::newRow("a dot in a folder name is no extension")
        << "/tmp/v1.png/label" << "png" << "/tmp/v1.png/label.png";
    QTest::newRow("no extension required: unchanged") << "/tmp/label" << "" << "/tmp/label";
  }
  void withExtension() {
    QFETCH(QString, path);
    QFETCH(QString, extension);
    QFETCH(QString, written);
    QCOMPARE(strimlo::withExtension(path, extension), written);
  }

  void replaceQuestionText_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("question");
    QTest::newRow("the name our extension made, without its folder")
        << "/tmp/books/label.tif.tiff"
        << QStringLiteral("\u201Clabel.tif.tiff\u201D already exists. Replace it?");
    QTest::newRow("a name without a folder") << "label.jpeg.jpg"
        << QStringLiteral("\u201Clabel.jpeg.jpg\u201D already exists. Replace it?");
    QTest::newRow("a percent sign in the name stays as it is") << "/tmp/100%1.eps"
        << QStringLiteral("\u201C100%1.eps\u201D already exists. Replace it?");
  }
  void replaceQuestionText() {
    QFETCH(QString, path);
    QFETCH(QString, question);
    QCOMPARE(strimlo::replaceQuestionText(path), question);
  }

  // The badge's colour follows the letter: green A, amber B and C, red D, F and no decode;
  // the tooltip names the weakest parameter, or why nothing was read.
  void scanBadge_data() {
    QTest::addColumn<double>("grade");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("A") << 4.0 << "" << "Scans: A (4.0) at 300 dpi" << "#1a7f37"
                       << "Weakest: decodability 0.62 (A)";
    QTest::newRow("B, just") << 2.5 << "" << "Scans: B (2.5) at 300 dpi" << "#9a6700"
                             << "Weakest: decodability 0.62 (A)";
    QTest::newRow("C") << 1.6 << "" << "Scans: C (1.6) at 300 dpi" << "#9a6700"
                       << "Weakest: decodability 0.62 (A)";
    QTest::newRow("D") << 1.4 << "" << "Scans: D (1.4) at 300 dpi" << "#c62828"
                       << "Weakest: decodability 0.62 (A)";
    QTest::newRow("F") << 0.0 << "" << "Scans: F (0.0) at 300 dpi" << "#c62828"
                       << "Weakest: decodability 0.62 (A)";
    QTest::newRow("no decode") << 0.0 << "no EAN-13, EAN-8, UPC-A or UPC-E symbol found"
                               << "Does not scan at 300 dpi" << "#c62828"
                               << "no EAN-13, EAN-8, UPC-A or UPC-E symbol found";
  }
  void scanBadge() {
    QFETCH(double, grade);
    QFETCH(QString, error);
    QFETCH(QString, text);
    QFETCH(QString, colour);
    QFETCH(QString, toolTip);
    verify::Verification v;
    v.error = error.toStdString();
    v.grade = grade;
    v.letter = verify::letterOf(grade);
    v.weakest = verify::kDecodability;
    v.values[verify::kDecodability] = 0.62;
    v.grades[verify::kDecodability] = 4;
    const ScanBadge badge = strimlo::scanBadge(v, 300.0);
    QCOMPARE(badge.text, text);
    QCOMPARE(badge.colour, colour);
    QCOMPARE(badge.toolTip, toolTip);
    QVERIFY(strimlo::scanBadge(v, 300.0, false).text.isEmpty());
  }

  // A 2D type's badge is its check; a companion that does not read as meant makes a
  // linear symbol's badge red, one that does is named in the tooltip.
  void scanBadgeOfTheTwoDimensionalPart_data() {
    QTest::addColumn<bool>("matrixType");
    QTest::addColumn<QString>("error");  // the 2D check's
    QTest::addColumn<int>("contrastGrade");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("toolTip");  // its start
    QTest::newRow("QR Code read as meant") << true << "" << 4 << "Reads as meant: A at 300 dpi"
        << "#1a7f37" << "QR Code decodes to the intended content; contrast A";
    QTest::newRow("low contrast: amber") << true << "" << 2 << "Reads as meant: C at 300 dpi"
        << "#9a6700" << "QR Code decodes to the intended content; contrast C";
    QTest::newRow("QR Code read as another") << true << "reads as X, not Y" << 4
        << "Does not scan at 300 dpi" << "#c62828" << "reads as X, not Y";
    QTest::newRow("a companion that reads as meant") << false << "" << 4
        << "Scans: A (4.0) at 300 dpi" << "#1a7f37" << "Weakest: decodability 0.62 (A)\n2D companion: QR Code decodes";
    QTest::newRow("a companion not found") << false << "no QR Code found" << 4
        << "The 2D companion does not scan at 300 dpi" << "#c62828" << "no QR Code found";
  }
  void scanBadgeOfTheTwoDimensionalPart() {
    QFETCH(bool, matrixType);
    QFETCH(QString, error);
    QFETCH(int, contrastGrade);
    QFETCH(QString, text);
    QFETCH(QString, colour);
    QFETCH(QString, toolTip);
    verify::Verification v;
    if (!matrixType) {
      v.grade = 4.0;
      v.letter = 'A';
      v.weakest = verify::kDecodability;
      v.values[verify::kDecodability] = 0.62;
      v.grades[verify::kDecodability] = 4;
    }
    verify::MatrixCheck m;
    m.format = "QR Code";
    m.decoded = error.isEmpty();
    m.error = error.toStdString();
    m.contrast = 100;
    m.contrastGrade = contrastGrade;
    m.moduleDots = m.moduleDotsDown = 6;
    m.wholeDots = true;
    m.letter = static_cast<char>('A' + (contrastGrade == 4 ? 0 : 4 - contrastGrade));
    const ScanBadge badge = strimlo::scanBadge(v, 300.0, true, m, matrixType);
    QCOMPARE(badge.text, text);
    QCOMPARE(badge.colour, colour);
    QVERIFY2(badge.toolTip.startsWith(toolTip), qPrintable(badge.toolTip));
  }
};

QTEST_GUILESS_MAIN(TestChoices)
#include "test_choices.moc"
