// The main window as a user meets it: the launch defaults, the code types from the
// symbology table, the other lists in the order of the enumerations, the controls that
// follow the code type and the file format, and a preview that follows every keystroke
// but not the file settings.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMimeData>
#include <QPrinter>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "test_support.h"
#include "window_fixture.h"

namespace {

using strimlo::test::readFile;
using strimlo::test::TempDir;

// The 8-bit text the preview last handed the renderer for one of the three fields.
std::string requested(const BarcodeView& view, const QString& field) {
  const BarcodeView::Request& r = view.lastRequest();
  if (field == QLatin1String("textfieldAddOn")) return r.addOn;
  if (field == QLatin1String("textfieldPriceText")) return r.price;
  return r.data;
}

}  // namespace

class TestWindow : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void launchShowsTheDefaults_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shows");  // a list's item starts with it; a field holds it
    QTest::addColumn<bool>("enabled");
    QTest::newRow("code type EAN-13") << "comboCodeType" << "EAN-13" << true;
    QTest::newRow("file format EPS") << "comboFileFormat" << "EPS" << true;
    QTest::newRow("size 100%, on for EPS: printing uses it") << "comboCodeSize" << "100%" << true;
    QTest::newRow("resolution 300 dpi, off for EPS") << "comboResolution" << "300 dpi" << false;
    QTest::newRow("the sample number") << "textfieldDataToEncode" << "401234567890" << true;
    QTest::newRow("add-on empty, off for EAN-13") << "textfieldAddOn" << "" << false;
    QTest::newRow("price empty, off for EAN-13") << "textfieldPriceText" << "" << false;
    QTest::newRow("quiet zones off") << "checkQuietZones" << "Quiet zones with > marks" << true;
    QTest::newRow("no bar width reduction") << "spinBarReduction" << "0 \u00b5m" << true;
    QTest::newRow("opaque background, on for EPS") << "checkTransparent" << "Transparent" << true;
    QTest::newRow("the face Helvetica") << "comboFont" << "Helvetica" << true;
    QTest::newRow("texts not outlined, on for EPS") << "checkOutlineText" << "Text as outlines" << true;
  }
  void launchShowsTheDefaults() {
    QFETCH(QString, control);
    QFETCH(QString, shows);
    QFETCH(bool, enabled);
    Window w;
    QVERIFY(w.complete());
    if (QComboBox* combo = w.combo(control)) {
      QVERIFY2(combo->currentText().startsWith(shows), qPrintable(combo->currentText()));
      // The size and resolution lists take a typed value too; the others only their items.
      QCOMPARE(combo->isEditable(),
               control == QLatin1String("comboCodeSize") || control == QLatin1String("comboResolution"));
      QCOMPARE(combo->isEnabled(), enabled);
    } else if (QCheckBox* check = w.check(control)) {
      QVERIFY2(check->text().remove(QLatin1Char('&')).startsWith(shows), qPrintable(check->text()));
      QVERIFY(!check->isChecked());
      QCOMPARE(check->isEnabled(), enabled);
    } else if (control == QLatin1String("spinBarReduction")) {
      QCOMPARE(w.barReduction->text(), shows);
      QCOMPARE(w.barReduction->isEnabled(), enabled);
    } else {
      QLineEdit* field = w.field(control);
      QVERIFY(field);
      QCOMPARE(field->text(), shows);
      QCOMPARE(field->isEnabled(), enabled);
    }
  }

  void launchStateReachesControllerAndPreview() {
    Window w;
    QCOMPARE(w.controller().type(), kEAN13);
    QCOMPARE(w.controller().format(), kEPS);
    QCOMPARE(w.controller().size(), 2);
    QCOMPARE(w.controller().resolution(), 2);
    QCOMPARE(w.controller().dataToEncode(), QStringLiteral("401234567890"));
    QCOMPARE(w.preview->type(), kEAN13);
    QCOMPARE(w.preview->dataToEncode(), QStringLiteral("401234567890"));
    QVERIFY(w.preview->addOn().isEmpty() && w.preview->priceText().isEmpty());
    QVERIFY(w.controller().prepress() == Prepress{});
    QVERIFY(!w.preview->quietZones());
    QVERIFY(w.preview->rendererCalls() >= 1);
    QCOMPARE(w.preview->lastRequest().data, std::string("401234567890"));
    QVERIFY(w.save->isEnabled());
  }

  // The code types are the symbology table's rows, in its order, each item holding its
  // token: a row added there is a type the window lists and passes on.
  void codeTypesComeFromTheTable() {
    Window w;
    const std::span<const SymbologyRow> rows = symbologies();
    QCOMPARE(w.codeType->count(), qsizetype(rows.size()));
    for (const SymbologyRow& row : rows) {
      const int item = w.codeType->findData(QString::fromLatin1(row.token));
      QCOMPARE(item, int(&row - rows.data()));
      QVERIFY2(w.codeType->itemText(item).startsWith(QString::fromLatin1(row.name)),
               qPrintable(w.codeType->itemText(item)));
      chooseType(w, row.type);
      QCOMPARE(w.controller().type(), row.type);
      QCOMPARE(w.preview->type(), row.type);
    }
  }

  // Item i of each other list is the value i of its enumeration (the index is what is stored).
  void listsFollowTheEnumerations_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("starts");
    QTest::newRow("file formats") << "comboFileFormat"
                                  << QStringList{"EPS", "PNG", "TIFF", "JPEG", "PDF", "SVG"};
    QStringList sizes;
    for (int i = 0; i < kSizeCount; ++i)
      sizes << QStringLiteral("%1%").arg(qRound(getScale(i) * 100.0f));
    QTest::newRow("magnifications of the size table") << "comboCodeSize" << sizes;
    QStringList dpi;
    for (int i = 0; i < kResolutionCount; ++i)
      dpi << QStringLiteral("%1 dpi").arg(qRound(getResolution(i)));
    QTest::newRow("resolutions of the dpi table") << "comboResolution" << dpi;
  }
  void listsFollowTheEnumerations() {
    QFETCH(QString, control);
    QFETCH(QStringList, starts);
    Window w;
    QComboBox* combo = w.combo(control);
    QVERIFY(combo);
    QCOMPARE(combo->count(), starts.size());
    for (int i = 0; i < starts.size(); ++i)
      QVERIFY2(combo->itemText(i) == starts[i] ||
                   combo->itemText(i).startsWith(starts[i] + QLatin1Char(' ')),
               qPrintable(combo->itemText(i)));
  }

  void codeTypeTogglesTheBookFields_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("EAN-8: off") << kEAN8 << false;
    QTest::newRow("EAN-13: off") << kEAN13 << false;
    QTest::newRow("ISBN-10: on") << kISBN10 << true;
    QTest::newRow("ISBN-13: on") << kISBN13 << true;
  }
  void codeTypeTogglesTheBookFields() {
    QFETCH(int, type);
    QFETCH(bool, enabled);
    Window w;
    chooseType(w, kISBN13);
    retype(w.addOn, QStringLiteral("51299"));
    retype(w.price, QStringLiteral("USD 12.99"));
    chooseType(w, type);
    QCOMPARE(w.controller().type(), type);
    QCOMPARE(w.preview->type(), type);
    QCOMPARE(w.addOn->isEnabled(), enabled);
    QCOMPARE(w.price->isEnabled(), enabled);
    // Switching the fields off keeps what they hold, everywhere.
    QCOMPARE(w.addOn->text(), QStringLiteral("51299"));
    QCOMPARE(w.price->text(), QStringLiteral("USD 12.99"));
    QCOMPARE(w.controller().addOn(), QStringLiteral("51299"));
    QCOMPARE(w.preview->priceText(), QStringLiteral("USD 12.99"));
    chooseType(w, kISBN10);
    QVERIFY(w.addOn->isEnabled() && w.price->isEnabled());
    QCOMPARE(w.addOn->text(), QStringLiteral("51299"));
  }

  // The currency and amount fill the add-on and the price text; an amount that is no
  // price leaves them as they were.
  void priceCodeFillsTheAddOnAndPrice_data() {
    QTest::addColumn<int>("currency");  // index in the list: 1 USD, 2 CAD, 3 GBP, 4 AUD, 5 NZD
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("addOn");
    QTest::addColumn<QString>("price");
    QTest::newRow("USD 19.99") << 1 << "19.99" << "51999" << "USD 19.99";
    QTest::newRow("GBP 7.5") << 3 << "7.5" << "00750" << "GBP 7.50";
    QTest::newRow("CAD 120: 69999") << 2 << "120" << "69999" << "CAD 120.00";
    QTest::newRow("a negative amount: left alone") << 1 << "-5" << "51299" << "USD 12.99";
    QTest::newRow("no currency chosen: left alone") << 0 << "19.99" << "51299" << "USD 12.99";
  }
  void priceCodeFillsTheAddOnAndPrice() {
    QFETCH(int, currency);
    QFETCH(QString, amount);
    QFETCH(QString, addOn);
    QFETCH(QString, price);
    Window w;
    choose(w.codeType, kISBN13);
    retype(w.addOn, QStringLiteral("51299"));
    retype(w.price, QStringLiteral("USD 12.99"));
    choose(w.combo(QStringLiteral("comboCurrency")), currency);
    retype(w.main.findChild<QLineEdit*>(QStringLiteral("textfieldPriceAmount")), amount);
    QCOMPARE(w.addOn->text(), addOn);
    QCOMPARE(w.price->text(), price);
    QCOMPARE(w.controller().addOn(), addOn);
    QCOMPARE(w.preview->priceText(), price);
  }

  // An ISBN typed without hyphens is drawn hyphenated by the range file, and the note
  // under the fields shows the line, or says the file is missing.
  void isbnLineFollowsTheRangeFile_data() {
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("drawn");
    QTest::addColumn<QString>("note");  // the start of the note
    QTest::newRow("hyphenated by the ranges")
        << true << "9783161484100" << "978-3-16-148410-0" << "ISBN 978-3-16-148410-0";
    QTest::newRow("typed hyphens that differ: kept, the right form named")
        << true << "978-3-8632-6766-7" << "978-3-8632-6766-7" << "ISBN 978-3-8632-6766-7\nISBN 978-3-8632-6766-7: the ISBN agency's ranges hyphenate it 978-3-86326-766-7";
    QTest::newRow("no range file: as typed, and said")
        << false << "9783161484100" << "9783161484100" << "No ISBN range file";
  }
  void isbnLineFollowsTheRangeFile() {
    QFETCH(bool, withFile);
    QFETCH(QString, typed);
    QFETCH(QString, drawn);
    QFETCH(QString, note);
    TempDir home;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.path().string()));
    if (withFile)
      qputenv("STRIMLO_RANGES", qgetenv("STRIMLO_TEST_DATA") + "/ranges_small.xml");
    else
      qunsetenv("STRIMLO_RANGES");
    Window w;
    choose(w.codeType, kISBN13);
    retype(w.data, typed);
    QCOMPARE(w.preview->dataToEncode(), drawn);
    QCOMPARE(w.controller().dataToEncode(), typed);
    QLabel* label = w.main.findChild<QLabel*>(QStringLiteral("labelIsbnLine"));
    QVERIFY(label && label->isVisible());
    QVERIFY2(label->text().startsWith(note), qPrintable(label->text()));
    // Saved at a list's size and at a typed one (which goes through the stages), the file
    // is the one of the line as drawn, typed out.
    for (const bool typedSize : {false, true}) {
      strimlo::SymbolChoice asTyped = w.controller().choice();
      asTyped.format = kSVG;
      if (typedSize) asTyped.freeSize.magnification = 120.0;
      strimlo::SymbolChoice asDrawn = asTyped;
      asDrawn.data = drawn;
      const std::string saved = home.file("typed.svg"), wanted = home.file("drawn.svg");
      QVERIFY(strimlo::saveSymbol(asTyped, kSVG, asTyped.size, asTyped.resolution, QString::fromStdString(saved)));
      QVERIFY(strimlo::saveSymbol(asDrawn, kSVG, asDrawn.size, asDrawn.resolution, QString::fromStdString(wanted)));
      QVERIFY2(readFile(saved) == readFile(wanted), typedSize ? "a typed size" : "a list's size");
    }
    qunsetenv("STRIMLO_RANGES");
  }

  void fileFormatTogglesSizeAndResolution_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("size");
    QTest::addColumn<bool>("resolution");
    QTest::addColumn<bool>("transparent");  // the check box: off for opaque CMYK
    QTest::addColumn<bool>("quiet");        // the quiet zones, nothing chosen yet
    QTest::newRow("EPS: a print size, no resolution") << kEPS << true << false << true << false;
    QTest::newRow("PNG: on") << kPNG << true << true << true << false;
    QTest::newRow("TIFF: on, no transparency") << kTIFF << true << true << false << false;
    QTest::newRow("JPEG: on, no transparency") << kJPEG << true << true << false << false;
    QTest::newRow("PDF: a size, no resolution, quiet zones") << kPDF << true << false << true << true;
    QTest::newRow("SVG: a size, no resolution, quiet zones") << kSVG << true << false << true << true;
  }
  void fileFormatTogglesSizeAndResolution() {
    QFETCH(int, format);
    QFETCH(bool, size);
    QFETCH(bool, resolution);
    QFETCH(bool, transparent);
    QFETCH(bool, quiet);
    Window w;
    choose(w.fileFormat, kPNG);
    choose(w.codeSize, 7);
    choose(w.resolution, 5);
    operate(w.transparent, 1);
    choose(w.fileFormat, format);
    QCOMPARE(w.controller().format(), format);
    QCOMPARE(w.codeSize->isEnabled(), size);
    QCOMPARE(w.resolution->isEnabled(), resolution);
    QCOMPARE(w.transparent->isEnabled(), transparent);
    QVERIFY(w.transparent->isChecked() && w.controller().prepress().transparent);
    QCOMPARE(w.quietZones->isChecked(), quiet);
    QCOMPARE(w.controller().prepress().quietZones, quiet);
    QCOMPARE(w.preview->quietZones(), quiet);
    // Switching them off keeps the choices for the next raster file.
    QCOMPARE(w.codeSize->currentIndex(), 7);
    QCOMPARE(w.resolution->currentIndex(), 5);
    QCOMPARE(w.controller().size(), 7);
    QCOMPARE(w.controller().resolution(), 5);
  }

  // The Prepress choices outlive the window; a quiet zones choice, once made, holds for
  // every format.
  void prepressChoicesAreRememberedAcrossRuns() {
    {
      Window first;
      choose(first.fileFormat, kPDF);
      QVERIFY(first.quietZones->isChecked());
      operate(first.quietZones, 1);  // off, chosen
      operate(first.barReduction, 4);
      operate(first.transparent, 1);
      choose(first.combo("comboFont"), 1);
      operate(first.check("checkOutlineText"), 1);
      chooseType(first, kGS1QR);
      retype(first.field("textfieldDlDomain"), QStringLiteral("https://brand.example"));
    }
    Window next(false);
    QCOMPARE(next.field("textfieldDlDomain")->text(), QStringLiteral("https://brand.example"));
    QCOMPARE(next.controller().gs1().dlDomain, std::string("https://brand.example"));
    QCOMPARE(next.combo("comboFont")->currentIndex(), 1);
    QVERIFY(next.check("checkOutlineText")->isChecked());
    QCOMPARE(next.preview->typeFace(), TypeFace::OcrB);
    QVERIFY(!next.quietZones->isChecked());
    QCOMPARE(next.barReduction->value(), next.barReduction->singleStep() * 4);
    QVERIFY(next.transparent->isChecked());
    choose(next.fileFormat, kSVG);
    QVERIFY(!next.quietZones->isChecked() && !next.controller().prepress().quietZones);
    QCOMPARE(next.controller().prepress().barReductionMicrons, next.barReduction->value());
    QVERIFY(next.controller().prepress().transparent);
  }

  // The preview shows the symbol and its quiet zones, not the file settings: choosing one
  // must not redraw it.
  // The code type row shows the counting sees a redraw when there is one.
  void onlyTheSymbolRedrawsThePreview_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("redraws");
    QTest::newRow("print size: no redraw") << "comboCodeSize" << 8 << false;
    QTest::newRow("resolution: no redraw") << "comboResolution" << 6 << false;
    QTest::newRow("file format: no redraw") << "comboFileFormat" << kJPEG << false;
    QTest::newRow("code type: redraw") << "comboCodeType" << kISBN13 << true;
    QTest::newRow("quiet zones: redraw") << "checkQuietZones" << 1 << true;
    QTest::newRow("bar width reduction: no redraw") << "spinBarReduction" << 8 << false;
    QTest::newRow("transparent background: no redraw") << "checkTransparent" << 1 << false;
    QTest::newRow("typeface: redraw") << "comboFont" << 1 << true;
  }
  void onlyTheSymbolRedrawsThePreview() {
    QFETCH(QString, control);
    QFETCH(int, index);
    QFETCH(bool, redraws);
    Window w;
    choose(w.fileFormat, kPNG);
    settle();
    const int paints = w.preview->paintCount();
    const int calls = w.preview->rendererCalls();
    QWidget* widget = w.main.findChild<QWidget*>(control);
    operate(widget, index);
    if (QComboBox* combo = w.combo(control)) QCOMPARE(combo->currentIndex(), index);
    settle();
    QCOMPARE(w.preview->paintCount() > paints, redraws);
    QCOMPARE(w.preview->rendererCalls() > calls, redraws);
  }

  // The badge grades the symbol as it would be saved, off the UI thread: rasters at their
  // resolution, vector files at 600 dpi; red where it would not scan well, gone without a
  // symbol. Each row ends with a keystroke, so an earlier result must not stay shown.
  void scanBadgeFollowsTheChoices_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("companion");  // the list's index: 0 none, 1 QR Code
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("resolution");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("toolTip");  // a part of it
    QTest::newRow("EPS, the default: A at 600 dpi")
        << kEAN13 << 0 << kEPS << 2 << 2 << "401234567890" << "Scans: A (4.0) at 600 dpi" << "#1a7f37" << "";
    QTest::newRow("PNG 100% at 300 dpi: A") << kEAN13 << 0 << kPNG << 2 << 2 << "401234567890"
                                            << "Scans: A (4.0) at 300 dpi" << "#1a7f37" << "";
    QTest::newRow("PNG smallest at 72 dpi: red") << kEAN13 << 0 << kPNG << 0 << 0 << "401234567890"
                                                 << "Does not scan at 72 dpi" << "#c62828" << "";
    QTest::newRow("too few digits: hidden") << kEAN13 << 0 << kPNG << 2 << 2 << "40123" << "" << "" << "";
    QTest::newRow("PNG 82% at 300 dpi: F, red (the size reaches the grading)")
        << kEAN13 << 0 << kPNG << 0 << 2 << "401234567890" << "Scans: F (0.0) at 300 dpi" << "#c62828" << "";
    QTest::newRow("EAN-13 with a QR Code companion: the companion read too")
        << kEAN13 << 1 << kPNG << 2 << 2 << "401234567890" << "Scans: A (4.0) at 300 dpi"
        << "#1a7f37" << "2D companion: QR Code decodes to the intended content";
    QTest::newRow("GS1 QR Code, PNG at 300 dpi: read as meant") << kGS1QR << 0 << kPNG << 2 << 2
        << "9780306406157" << "Reads as meant: A at 300 dpi" << "#1a7f37" << "";
    QTest::newRow("GS1 DataMatrix at 72 dpi: two dots, inside GS1's table, read")
        << kGS1DataMatrix << 0 << kPNG << 2 << 0 << "9780306406157" << "Reads as meant: A at 72 dpi"
        << "#1a7f37" << "module 2 dots (whole) at 72 dpi";
  }
  void scanBadgeFollowsTheChoices() {
    QFETCH(int, type);
    QFETCH(int, companion);
    QFETCH(int, format);
    QFETCH(int, size);
    QFETCH(int, resolution);
    QFETCH(QString, data);
    QFETCH(QString, text);
    QFETCH(QString, colour);
    QFETCH(QString, toolTip);
    Window w;
    auto* badge = w.main.findChild<QLabel*>(QStringLiteral("labelScanGrade"));
    QVERIFY(badge);
    QVERIFY(!badge->accessibleName().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(badge->text().startsWith(QLatin1String("Scans: A")), 5000);
    chooseType(w, type);
    choose(w.combo(QStringLiteral("comboCompanion")), companion);
    choose(w.fileFormat, format);
    choose(w.codeSize, size);
    choose(w.resolution, resolution);
    retype(w.data, data.chopped(1));
    QTest::keyClick(w.data, data.back().toLatin1());
    if (colour.isEmpty()) {
      QTRY_VERIFY_WITH_TIMEOUT(badge->isHidden(), 5000);
      return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(badge->text(), text, 5000);
    QVERIFY(badge->styleSheet().contains(colour));
    QVERIFY(badge->isVisible());
    QVERIFY2(!badge->toolTip().isEmpty(), qPrintable(badge->text()));
    QVERIFY2(badge->toolTip().contains(toolTip), qPrintable(badge->toolTip()));
  }

  // The fields keep all 40 typed characters; the renderer gets the first 31 bytes.
  void fortyTypedCharactersReachTheRendererCut_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("field");
    QTest::newRow("data") << kEAN13 << "textfieldDataToEncode";
    QTest::newRow("add-on") << kISBN13 << "textfieldAddOn";
    QTest::newRow("price") << kISBN13 << "textfieldPriceText";
  }
  void fortyTypedCharactersReachTheRendererCut() {
    QFETCH(int, type);
    QFETCH(QString, field);
    const QString forty = QStringLiteral("1234567890").repeated(4);
    Window w;
    chooseType(w, type);
    QLineEdit* edit = w.field(field);
    retype(edit, forty);
    settle();
    QCOMPARE(edit->text(), forty);
    QCOMPARE(requested(*w.preview, field), forty.left(31).toStdString());
    const QString held = field == QLatin1String("textfieldAddOn") ? w.controller().addOn()
                         : field == QLatin1String("textfieldPriceText")
                             ? w.controller().priceText()
                             : w.controller().dataToEncode();
    QCOMPARE(held, forty);
  }

  // Real key presses into the real fields: after each one the preview has been redrawn
  // from the text typed so far.
  void everyKeystrokeRedrawsThePreview_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("EAN-8 number") << kEAN8 << "textfieldDataToEncode" << "4012345";
    QTest::newRow("ISBN-13 with hyphens")
        << kISBN13 << "textfieldDataToEncode" << "978-0-306-40615-7";
    QTest::newRow("ISBN-13 add-on") << kISBN13 << "textfieldAddOn" << "51299";
    QTest::newRow("ISBN-10 price with a Latin-1 letter")
        << kISBN10 << "textfieldPriceText" << QStringLiteral("\u00a312.99 \u00e9d.");
  }
  void everyKeystrokeRedrawsThePreview() {
    QFETCH(int, type);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    Window w;
    chooseType(w, type);
    QLineEdit* edit = w.field(field);
    retype(edit, QString());
    if (field != QLatin1String("textfieldDataToEncode"))
      retype(w.data, QStringLiteral("978-0-306-40615-7"));
    for (int i = 0; i < typed.size(); ++i) {
      const int calls = w.preview->rendererCalls();
      strimlo::test::type(edit, typed.mid(i, 1));
      settle();
      QVERIFY2(w.preview->rendererCalls() > calls, qPrintable(typed.left(i + 1)));
      QCOMPARE(requested(*w.preview, field), typed.left(i + 1).toLatin1().toStdString());
    }
  }

  // A multi-line text pasted into a field shows its line breaks as spaces; the field then
  // holds those spaces, so the preview and every saved file carry what is seen.
  void pastedLineBreaksBecomeSpaces_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("held");
    QTest::newRow("price over two lines") << "textfieldPriceText" << "USD\n12.99" << "USD 12.99";
    QTest::newRow("price with a DSC comment after CRLF")
        << "textfieldPriceText" << "9.99\r\n%%EndDocument" << "9.99 %%EndDocument";
    QTest::newRow("price with ESC and a tab") << "textfieldPriceText" << "\x1b[2J\t1" << " [2J 1";
    QTest::newRow("data with a trailing line break")
        << "textfieldDataToEncode" << "978-0-306-40615-7\n" << "978-0-306-40615-7 ";
  }
  void pastedLineBreaksBecomeSpaces() {
    QFETCH(QString, field);
    QFETCH(QString, pasted);
    QFETCH(QString, held);
    Window w;
    chooseType(w, kISBN13);
    QLineEdit* edit = w.field(field);
    retype(edit, QString());
    edit->insert(pasted);  // as a paste does
    settle();
    QCOMPARE(edit->text(), held);
    QCOMPARE(requested(*w.preview, field), held.toStdString());
  }

  // Only the user's edits are edits: text set by the program is not taken up.
  void textSetByTheProgramIsNoEdit() {
    Window w;
    w.data->setText(QStringLiteral("1234567"));
    settle();
    QCOMPARE(w.controller().dataToEncode(), QStringLiteral("401234567890"));
    QCOMPARE(w.preview->dataToEncode(), QStringLiteral("401234567890"));
  }

  // A wrong typed check character is replaced in the bars; the window says so under the
  // fields while it stands, and says nothing once it is right.
  void wrongCheckDigitIsNotedUnderTheFields_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("elements");  // a 2D symbol's GS1 elements
    QTest::addColumn<QString>("note");  // empty: no note
    QTest::newRow("ISBN-13 ...-9: the bars and the line use 0")
        << kISBN13 << "978-3-16-148410-9" << ""
        << "The check character 9 is wrong (0 is right): the line above the bars shows 0.";
    QTest::newRow("ISBN-13 corrected") << kISBN13 << "978-3-16-148410-0" << "" << "";
    QTest::newRow("ISBN-10 ...-3: its own check is 2")
        << kISBN10 << "0-306-40615-3" << ""
        << "The check character 3 is wrong (2 is right): the line above the bars shows 2.";
    QTest::newRow("ISBN-10 lower-case x is an X") << kISBN10 << "3-16-148410-x" << "" << "";
    QTest::newRow("EAN-13 with a wrong 13th digit")
        << kEAN13 << "4012345678909" << "" << "The check digit 9 is wrong: the bars and digits use 1.";
    QTest::newRow("EAN-13 without check digit") << kEAN13 << "401234567890" << "" << "";
    QTest::newRow("data that cannot be encoded") << kEAN13 << "40123" << "" << "";
    QTest::newRow("ISSN ...-2: its own check is 1, which the line shows")
        << kISSN << "0317-8472" << ""
        << "The check character 2 is wrong (1 is right): the line above the bars shows 1.";
    // A 2D symbol's GTIN and elements are named with their rule, as a save would say.
    QTest::newRow("GS1 QR Code of 11 digits") << kGS1QR << "97803064061" << ""
        << "GTIN: 8, 12, 13 or 14 digits, the check digit last (or an ISBN, ISSN, ISMN); got 11 characters";
    QTest::newRow("GS1 DataMatrix with an expiry in month 13") << kGS1DataMatrix << "9780306406157"
        << "(17)271331" << "AI (17) expiry date 271331 (YYMMDD): month 13 does not exist";
    QTest::newRow("GS1 QR Code with valid elements") << kGS1QR << "9780306406157" << "(10)ABC" << "";
  }
  void wrongCheckDigitIsNotedUnderTheFields() {
    QFETCH(int, type);
    QFETCH(QString, typed);
    QFETCH(QString, elements);
    QFETCH(QString, note);
    Window w;
    QLabel* label = w.main.findChild<QLabel*>(QStringLiteral("labelCheckWarning"));
    QVERIFY(label);
    QVERIFY(label->isHidden());
    chooseType(w, type);
    retype(w.data, typed);
    if (!elements.isEmpty()) retype(w.field(QStringLiteral("textfieldAi")), elements);
    QCOMPARE(label->text(), note);
    QCOMPARE(label->isVisible(), !note.isEmpty());
  }

  // Tab from the first control visits every control once, in reading order within the
  // groups, then the prepress row, and the preview last, and each one tells a screen
  // reader its name and use. The price fields and the variant are never on together.
  void tabWalksEveryControlWithItsName_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("fields");  // the price's three or the variant, whichever is on
    QTest::newRow("ISBN-13: the price, its currency and amount")
        << kISBN13 << QStringList{"textfieldPriceText", "comboCurrency", "textfieldPriceAmount"};
    QTest::newRow("ISSN: the variant") << kISSN << QStringList{"textfieldVariant"};
  }
  void tabWalksEveryControlWithItsName() {
    QFETCH(int, type);
    QFETCH(QStringList, fields);
    const QStringList order = QStringList{"comboCodeType", "textfieldDataToEncode", "textfieldAddOn"} +
                              fields +
                              QStringList{"comboCompanion", "comboFileFormat", "comboCodeSize",
                                          "comboResolution",
                                          "buttonSave", "checkQuietZones", "spinBarReduction",
                                          "checkTransparent", "comboFont", "preview"};
    Window w;
    chooseType(w, type);  // every control on but the other of price and variant
    choose(w.fileFormat, kPNG);
    w.main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.main));
    w.codeType->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < order.size(); ++i) {
      QWidget* focused = QApplication::focusWidget();
      QVERIFY(focused);
      visited << focused->objectName();
      QVERIFY2(!focused->accessibleName().isEmpty() && !focused->accessibleDescription().isEmpty(),
               qPrintable(focused->objectName() + " has no accessible name or description"));
      QTest::keyClick(focused, Qt::Key_Tab);
    }
    QCOMPARE(visited, order);
    QCOMPARE(QApplication::focusWidget(), w.codeType);  // round and back to the start
    for (QWidget* widget : w.main.findChildren<QWidget*>()) {
      // A part with a focus proxy (a spin box's text field) hands the focus on.
      const bool takesTab = (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy() &&
                            widget->isVisibleTo(&w.main) && widget->isEnabled();
      QVERIFY2(!takesTab || visited.contains(widget->objectName()),
               qPrintable(widget->objectName() + " takes the focus but is not in the tab order"));
    }
  }

  // Every command answers its key, wherever the focus is but in a text field.
  void keysReachEveryCommand_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("does");
    QTest::newRow("Ctrl+S asks where to save") << "Ctrl+S" << "save dialog";
    QTest::newRow("Ctrl+C copies") << "Ctrl+C" << "clipboard";
    QTest::newRow("Ctrl+P asks for a printer") << "Ctrl+P" << "print dialog";
    QTest::newRow("F1 shows the help") << "F1" << "Strimlo Help";
    QTest::newRow("Ctrl+Q closes the window") << "Ctrl+Q" << "closed";
  }
  void keysReachEveryCommand() {
    QFETCH(QString, keys);
    QFETCH(QString, does);
    Window w;
    QStringList done;
    w.controller().setSaveDialog([&](const QString&) { done << "save dialog"; return std::nullopt; });
    w.controller().setPrintDialog([&](QPrinter&) { done << "print dialog"; return false; });
    w.controller().setPageViewer([&](const QString& title, const QString&) { done << title; });
    QGuiApplication::clipboard()->clear();
    w.main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.main));
    w.codeType->setFocus();
    const QKeyCombination key = QKeySequence(keys)[0];
    QTest::keyClick(w.codeType, key.key(), key.keyboardModifiers());
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    if (clip && clip->hasFormat(QStringLiteral("image/png"))) done << "clipboard";
    if (!w.main.isVisible()) done << "closed";
    QCOMPARE(done, QStringList{does});
  }

  // Every label's underlined letter is its own (menus and the save button included) and
  // moves to the label's control.
  void labelLettersAreUniqueAndMoveToTheirControl() {
    Window w;
    choose(w.fileFormat, kPNG);
    w.main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.main));
    const QString clash = test::mnemonicClash(w.main, *w.save);
    QVERIFY2(clash.isEmpty(), qPrintable(clash));
    // ISBN-13 turns on every control but the variant, ISSN the variant.
    for (CodeType type : {kISBN13, kISSN}) {
      chooseType(w, type);
      for (QLabel* label : w.main.findChildren<QLabel*>()) {
        if (!label->buddy() || !label->buddy()->isEnabled()) continue;
        QTest::keyClick(&w.main, test::mnemonic(label->text()).toLatin1(), Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), label->buddy());
      }
    }
  }

  void helpAndAboutOpenTheirPages_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("help tells the digit counts") << "actionHelp" << "Strimlo Help"
                                                 << "12 digits";
    QTest::newRow("about names the program") << "actionAbout" << "About Strimlo" << "Strimlo";
    QTest::newRow("about names the ISBN range file, or its lack")
        << "actionAbout" << "About Strimlo" << "ISBN range file";
  }
  void helpAndAboutOpenTheirPages() {
    QFETCH(QString, action);
    QFETCH(QString, title);
    QFETCH(QString, mentions);
    Window w;
    QStringList pages;
    w.controller().setPageViewer(
        [&](const QString& t, const QString& html) { pages << t << html; });
    QAction* item = w.main.findChild<QAction*>(action);
    QVERIFY(item);
    item->trigger();
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pages[0], title);
    QVERIFY2(pages[1].contains(mentions), qPrintable(pages[1]));
  }
};

QTEST_MAIN(TestWindow)
#include "test_window.moc"
