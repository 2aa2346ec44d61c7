// The symbol leaving the window other than by a save: Edit > Copy (Ctrl+C in the
// preview) onto the clipboard, a drag from the preview, and File > Print... into a PDF.
// What arrives is read back by libpng, libtiff, libjpeg, pdfinfo, pdftoppm and zbarimg.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QRegularExpression>
#include <QUrl>

#include "makecode.h"
#include "readback.h"
#include "symbol.h"
#include "test_support.h"
#include "window_fixture.h"

using strimlo::test::TempDir;

namespace {

// The window with the given symbol typed in and the file settings chosen.
struct Typed {
  Window w;
  QStringList alerts;
  Typed(CodeType type, const QString& data, const QString& addOn = {}) {
    w.controller().setAlert([this](const QString&, const QString& text) { alerts << text; });
    chooseType(w, type);
    retype(w.data, data);
    if (!addOn.isEmpty()) retype(w.addOn, addOn);
  }
  void chooseFile(FileFormat format, SizeIndex size = 2, ResolutionIndex res = 2) {
    choose(w.fileFormat, format);
    choose(w.codeSize, size);
    choose(w.resolution, res);
  }
};

// Prints the window's symbol to a PDF file as Ctrl+P does; false when it says why not.
bool printed(Typed& t, const std::string& pdf) {
  t.w.controller().setPrintDialog([&pdf](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    return true;
  });
  QTest::keyClick(&t.w.main, Qt::Key_P, Qt::ControlModifier);
  return t.alerts.isEmpty();
}

// What the printed page shows, measured on pdftoppm's rendering at 600 dpi, in mm.
struct PrintedBars {
  double left = 0, top = 0;  // the first guard bar's top-left corner, from the paper's
  double width = 0;          // the main symbol's bars, first to last
  double guardHeight = 0;
};

constexpr int kDpi = 600;
constexpr double kMmPerDot = 25.4 / kDpi;

// The paper's size in mm, as pdfinfo reads it.
QSizeF pageSizeMm(const std::string& pdf) {
  const QString info = QString::fromStdString(test::run("pdfinfo " + test::shellQuote(pdf)).output);
  const auto m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
  if (!m.hasMatch()) return {};
  return {m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72};
}

bool dark(const test::GreyImage& image, int x, int y) { return image.at(x, y) < 128; }

// The main symbol's bars on the row `row` (1 mm under their expected top, above the
// digits), up to the first white gap wider than `gap` (the add-on's digits may follow),
// and the first guard bar's height on the column through its middle.
PrintedBars measureBars(const test::GreyImage& page, int row, int gap) {
  PrintedBars bars;
  if (row < 0 || row >= page.height) return bars;
  int left = 0;
  while (left < page.width && !dark(page, left, row)) ++left;
  int right = left;
  for (int x = left; x < page.width && x - right <= gap; ++x)
    if (dark(page, x, row)) right = x;
  int barWidth = 0;
  while (left + barWidth < page.width && dark(page, left + barWidth, row)) ++barWidth;
  const int column = left + barWidth / 2;
  int y0 = row, y1 = row;
  while (y0 > 0 && dark(page, column, y0 - 1)) --y0;
  while (y1 + 1 < page.height && dark(page, column, y1 + 1)) ++y1;
  bars.left = left * kMmPerDot;
  bars.top = y0 * kMmPerDot;
  bars.width = (right + 1 - left) * kMmPerDot;
  bars.guardHeight = (y1 + 1 - y0) * kMmPerDot;
  return bars;
}

}  // namespace

class TestExport : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // Whatever the file settings, a copy is the PNG a save at 100% and 300 dpi writes.
  void copyPutsThePngOnTheClipboard_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("addOn");
    QTest::addColumn<int>("format");
    QTest::newRow("EAN-13, EPS chosen") << kEAN13 << "401234567890" << "" << kEPS;
    QTest::newRow("EAN-8, TIFF chosen") << kEAN8 << "9638507" << "" << kTIFF;
    QTest::newRow("ISBN-13 with add-on, JPEG") << kISBN13 << "978-3-16-148410-0" << "51299" << kJPEG;
  }
  void copyPutsThePngOnTheClipboard() {
    QFETCH(int, type);
    QFETCH(QString, data);
    QFETCH(QString, addOn);
    QFETCH(int, format);
    Typed t(type, data, addOn);
    t.chooseFile(format, 8, 6);
    QGuiApplication::clipboard()->clear();
    t.w.preview->setFocus();
    QTest::keyClick(t.w.preview, Qt::Key_C, Qt::ControlModifier);

    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    QVERIFY(clip && clip->hasFormat(QStringLiteral("image/png")));
    const QByteArray png = clip->data(QStringLiteral("image/png"));
    TempDir dir;
    const std::string saved = dir.file("saved.png");
    QVERIFY(MakeCode::FinalCode(type, 2, data.toLatin1().toStdString(), addOn.toLatin1().toStdString(),
                                "", 2, kPNG, saved));
    QCOMPARE(png.toStdString(), test::readFile(saved));  // what it holds is the files' test
    QVERIFY(clip->hasImage());
    QVERIFY(clip->data(QStringLiteral("application/pdf")).startsWith("%PDF-1.3"));
    QVERIFY(clip->data(QStringLiteral("image/svg+xml")).contains("<svg "));
    QVERIFY(t.alerts.isEmpty());
  }

  // A linear symbol's 2D companion and the elements leave the window with it: on the
  // clipboard and on the printed page, both symbols read.
  void copyAndPrintCarryTheCompanion() {
    if (!test::haveTool("pdftoppm")) QSKIP("poppler-utils missing");
    Typed t(kEAN13, QStringLiteral("401234567890"));
    choose(t.w.combo(QStringLiteral("comboCompanion")), 1);
    retype(t.w.field(QStringLiteral("textfieldAi")), QStringLiteral("(10)LOT7"));
    const std::vector<std::string> both{"EAN-13:4012345678901",
                                        "QR-Code:https://id.gs1.org/01/04012345678901/10/LOT7"};
    TempDir dir;
    t.w.preview->setFocus();
    QTest::keyClick(t.w.preview, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    QVERIFY(clip && clip->hasFormat(QStringLiteral("image/png")));
    test::writeFile(dir.file("copied.png"), clip->data(QStringLiteral("image/png")).toStdString());
    QCOMPARE(test::zbarDecode(dir.file("copied.png")), both);
    const std::string pdf = dir.file("page.pdf");
    QVERIFY(printed(t, pdf));
    QCOMPARE(test::run("pdftoppm -r 600 -gray -png -singlefile " + test::shellQuote(pdf) + " " +
                       test::shellQuote(dir.file("page"))).exitCode, 0);
    QCOMPARE(test::zbarDecode(dir.file("page.png")), both);
  }

  void copyOfNoSymbolLeavesTheClipboardAndSaysSo() {
    Typed t(kEAN13, QStringLiteral("12345"));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    t.w.main.findChild<QAction*>(QStringLiteral("actionCopy"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    QCOMPARE(t.alerts.size(), 1);
  }

  // A drag carries the clipboard's PNG and a file in the chosen format and size, named
  // from the completed digits.
  void dragAddsAFileInTheChosenFormat_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("addOn");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("colour");  // "" for EPS
    QTest::newRow("EAN-13 as EPS") << kEAN13 << "401234567890" << "" << kEPS
                                   << "4012345678901.eps" << "";
    QTest::newRow("ISBN-10 as PNG, add-on in the name")
        << kISBN10 << "0-306-40615-2" << "51299" << kPNG << "9780306406157-51299.png" << "gray";
    QTest::newRow("EAN-8 as TIFF") << kEAN8 << "9638507" << "" << kTIFF << "96385074.tiff" << "cmyk";
    QTest::newRow("EAN-13 as JPEG") << kEAN13 << "4006381333931" << "" << kJPEG
                                    << "4006381333931.jpg" << "cmyk";
  }
  void dragAddsAFileInTheChosenFormat() {
    QFETCH(int, type);
    QFETCH(QString, data);
    QFETCH(QString, addOn);
    QFETCH(int, format);
    QFETCH(QString, name);
    QFETCH(QString, colour);
    Typed t(type, data, addOn);
    t.chooseFile(format, 4, 3);  // 121%, 600 dpi
    const std::unique_ptr<QMimeData> drag = t.w.controller().dragData();
    QVERIFY(drag && drag->hasFormat(QStringLiteral("image/png")) && drag->hasUrls());
    QCOMPARE(drag->urls().size(), 1);
    const QString path = drag->urls().front().toLocalFile();
    QCOMPARE(QFileInfo(path).fileName(), name);
    if (colour.isEmpty()) {
      QVERIFY(test::readFile(path.toStdString()).rfind("%!PS-Adobe", 0) == 0);
    } else {
      const auto facts = test::readRasterFile(path.toStdString());
      QVERIFY(facts);
      QCOMPARE(QString::fromStdString(facts->colour), colour);
      QCOMPARE(qRound(facts->xdpi), 600);
    }
    QVERIFY(t.w.controller().dragData());
    QVERIFY(!QFileInfo::exists(path));  // one drag's folder at a time
  }

  // The save dialog starts where the last save went, with the name a drag would give.
  void saveDialogProposesTheDigitsInTheLastFolder_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("addOn");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("first save: the name alone") << kEAN13 << "401234567890" << "" << kPDF << ""
                                                << "4012345678901.pdf";
    QTest::newRow("the last folder and the completed digits")
        << kEAN13 << "401234567890" << "" << kEPS << "/srv/labels" << "/srv/labels/4012345678901.eps";
    QTest::newRow("ISBN with its add-on") << kISBN13 << "978-3-16-148410-0" << "51299" << kSVG
                                          << "/tmp" << "/tmp/9783161484100-51299.svg";
    QTest::newRow("no symbol: the folder alone") << kEAN13 << "12345" << "" << kPNG << "/tmp"
                                                 << "/tmp";
    // A serial's symbols of one GTIN each get a name of their own.
    QTest::newRow("a GS1 QR Code: its GTIN-14 and elements") << kGS1QR << "9780306406157" << "(21)S/1"
        << kPNG << "/tmp" << "/tmp/09780306406157-21S1.png";
  }
  void saveDialogProposesTheDigitsInTheLastFolder() {
    QFETCH(int, type);
    QFETCH(QString, data);
    QFETCH(QString, addOn);
    QFETCH(int, format);
    QFETCH(QString, folder);
    QFETCH(QString, proposed);
    SymbolChoice choice;
    choice.type = type;
    choice.data = data;
    choice.addOn = addOn;
    choice.format = format;
    if (isMatrixType(type)) {  // the add-on column holds a 2D symbol's elements
      choice.addOn.clear();
      choice.gs1.ai = addOn.toStdString();
    }
    QCOMPARE(proposedSavePath(choice, folder), proposed);
  }

  // Printed to PDF, the bars measure what the chosen magnification makes of 0.33 mm
  // modules, the symbol's box sits in the middle of the paper, and the page scans.
  void printToPdfMeasuresRight_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("addOn");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("reads");
    QTest::addColumn<QString>("drawn");  // with the range file: the page of this typed out
    QTest::newRow("EAN-13 at 100%") << kEAN13 << "401234567890" << "" << 2 << "EAN-13:4012345678901" << "";
    QTest::newRow("EAN-8 at 82%") << kEAN8 << "9638507" << "" << 0 << "EAN-8:96385074" << "";
    QTest::newRow("ISBN-13 with add-on at 197%")
        << kISBN13 << "978-3-16-148410-0" << "51299" << 9 << "EAN-13:9783161484100" << "";
    QTest::newRow("ISBN-13 typed without hyphens: the range file's hyphens")
        << kISBN13 << "9783161484100" << "51299" << 2 << "EAN-13:9783161484100" << "978-3-16-148410-0";
    QTest::newRow("UPC-A at 100%") << kUPCA << "03600029145" << "" << 2 << "UPC-A:036000291452" << "";
  }
  void printToPdfMeasuresRight() {
    QFETCH(int, type);
    QFETCH(QString, data);
    QFETCH(QString, addOn);
    QFETCH(int, size);
    QFETCH(QString, reads);
    QFETCH(QString, drawn);
    if (!test::haveTool("pdftoppm") || !test::haveTool("pdfinfo")) QSKIP("poppler-utils missing");
    TempDir dir;
    if (!drawn.isEmpty()) qputenv("STRIMLO_RANGES", qgetenv("STRIMLO_TEST_DATA") + "/ranges_small.xml");
    const std::string pdf = dir.file("page.pdf");
    Typed t(type, data, addOn);
    t.chooseFile(kPNG, size);
    QVERIFY(printed(t, pdf));

    const QSizeF paper = pageSizeMm(pdf);
    QVERIFY(!paper.isEmpty());
    const std::string png = dir.file("page");
    QCOMPARE(test::run("pdftoppm -r 600 -gray -png -singlefile " + test::shellQuote(pdf) + " " +
                       test::shellQuote(png)).exitCode, 0);
    const auto page = test::readPngGrey(png + ".png");
    QVERIFY(page);
    if (!drawn.isEmpty()) {
      Typed typedOut(type, drawn, addOn);
      typedOut.chooseFile(kPNG, size);
      const std::string other = dir.file("drawn.pdf");
      QVERIFY(printed(typedOut, other));
      QCOMPARE(test::run("pdftoppm -r 150 -gray -png -singlefile " + test::shellQuote(other) + " " +
                         test::shellQuote(dir.file("drawn"))).exitCode, 0);
      QCOMPARE(test::run("pdftoppm -r 150 -gray -png -singlefile " + test::shellQuote(pdf) + " " +
                         test::shellQuote(dir.file("typed"))).exitCode, 0);
      const auto want = test::readPngGrey(dir.file("drawn.png"));
      const auto got = test::readPngGrey(dir.file("typed.png"));
      QVERIFY(want && got);
      QVERIFY2(want->pixels == got->pixels, "the printed line is not the range file's");
      qunsetenv("STRIMLO_RANGES");
    }

    // The symbol's box as the files lay it out, in 0.01 mm (2540 dpi).
    const Completion c = completeSymbol(type, data.toLatin1().toStdString(), addOn.toLatin1().toStdString());
    const Layout box = fileLayout(*c.symbol, size, 6);
    const double modules = type == kEAN8 ? 67 : 95;
    const double ratio = type == kEAN8 ? 0.84 : 1.2;
    const double m = 0.33 * getScale(size);
    const double guard = modules * m / ratio - 0.15 * 25.4 / 2 * getScale(size);
    const double left = (paper.width() - box.width / 100) / 2 + box.runs.front().x0 / 100;
    const double top = (paper.height() - box.height / 100) / 2 + (box.height - box.runs.front().y1) / 100;
    const PrintedBars bars = measureBars(*page, qRound((top + 1) / kMmPerDot), qRound(6 * m / kMmPerDot));
    const QString measured = QStringLiteral("width %1, guard %2, left %3, top %4 mm")
                                 .arg(bars.width).arg(bars.guardHeight).arg(bars.left).arg(bars.top);
    QVERIFY2(std::abs(bars.width - modules * m) < 0.1, qPrintable(measured));
    QVERIFY2(std::abs(bars.guardHeight - guard) < 0.1, qPrintable(measured));
    QVERIFY2(std::abs(bars.left - left) < 0.1 && std::abs(bars.top - top) < 0.1, qPrintable(measured));
    const std::vector<std::string> decoded = test::zbarDecode(png + ".png");
    QVERIFY(std::find(decoded.begin(), decoded.end(), reads.toStdString()) != decoded.end());
  }
};

QTEST_MAIN(TestExport)
#include "test_export.moc"
