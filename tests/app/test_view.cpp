// The preview on its own: what it hands the renderer, when it redraws, and what it
// shows, read off the widget's own picture (zbarimg for the symbols, pixels for the help
// line). Run twice by ctest: at 1x and on a screen of double density.
#include <QImage>
#include <QPainter>
#include <QtMath>

#include "test_support.h"
#include "window_fixture.h"

using strimlo::test::TempDir;

Q_DECLARE_METATYPE(std::string)

namespace {

const QSize kViewSize(600, 300);

// A preview of the given size on screen, with the texts set as the controller would.
struct ShownView {
  BarcodeView view;
  explicit ShownView(QSize size = kViewSize) {
    view.resize(size);
    view.show();
    if (QTest::qWaitForWindowExposed(&view)) settle();
  }
  void set(CodeType type, const QString& data, const QString& addOn = {},
           const QString& price = {}) {
    view.setType(type);
    view.setDataToEncode(data);
    view.setAddOn(addOn);
    view.setPriceText(price);
  }
  QImage picture() { return view.grab().toImage(); }
};

bool isWhite(QRgb pixel) { return (pixel & 0xffffff) == 0xffffff; }
bool isDark(QRgb pixel) { return qGray(pixel) < 128; }

// Counts the pixels of a region given in points that pass the test, on a picture that
// may hold more pixels per point.
int countIn(const QImage& picture, const QRect& points, bool (*test)(QRgb)) {
  const qreal scale = picture.devicePixelRatio();
  const QRect pixels(QPoint(qRound(points.left() * scale), qRound(points.top() * scale)),
                     QSize(qRound(points.width() * scale), qRound(points.height() * scale)));
  int n = 0;
  for (int y = pixels.top(); y <= pixels.bottom(); ++y)
    for (int x = pixels.left(); x <= pixels.right(); ++x)
      if (picture.valid(x, y) && test(picture.pixel(x, y))) ++n;
  return n;
}

int whitePixels(const QImage& picture) {
  return countIn(picture, QRect(QPoint(0, 0), picture.deviceIndependentSize().toSize()), isWhite);
}

std::vector<std::string> scan(const QImage& picture) {
  TempDir dir;
  const std::string path = dir.file("preview.png");
  if (!picture.save(QString::fromStdString(path), "PNG")) return {};
  return test::zbarDecode(path);
}

// What lies right of the main symbol (95 modules of 1.5 points from its first bar on
// the middle row), moved onto a wide white margin. The preview leaves one digit's width
// (about 5 modules) between symbol and add-on, less than zbarimg needs to read the
// add-on in place; apart, it must read.
std::vector<std::string> scanRightOfTheSymbol(const QImage& picture) {
  const qreal scale = picture.devicePixelRatio();
  const int row = picture.height() / 2;
  int first = 0;
  while (first < picture.width() && !isDark(picture.pixel(first, row))) ++first;
  const int cut = first + qCeil(96 * 1.5 * scale);
  if (cut >= picture.width()) return {};
  const int margin = qRound(40 * scale);
  QImage apart(picture.width() - cut + margin, picture.height(), QImage::Format_RGB32);
  apart.fill(Qt::white);
  QImage part = picture.copy(cut, 0, picture.width() - cut, picture.height());
  part.setDevicePixelRatio(1);  // pixel for pixel
  QPainter painter(&apart);
  painter.drawImage(QPoint(margin, 0), part);
  painter.end();
  return scan(apart);
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out = "zbarimg read:";
  for (const std::string& line : lines) out += " " + line;
  return out;
}

}  // namespace

class TestView : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // The double-density run must really draw at double density.
  void initTestCase() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    if (factor.isEmpty()) return;
    BarcodeView view;
    view.resize(10, 10);
    QCOMPARE(view.grab().devicePixelRatio(), factor.toDouble());
  }

  void theSymbolOnScreenScans_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("addOn");
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("decoded");
    QTest::addColumn<QString>("decodedApart");  // right of the main symbol
    // The plain types' previews are the preview suite's; the add-on is the view's own.
    QTest::newRow("ISBN-13 with an add-on and a price")
        << kISBN13 << "978-0-306-40615-7" << "51299" << "USD 12.99" << "EAN-13:9780306406157"
        << "EAN-5:51299";
  }
  void theSymbolOnScreenScans() {
    if (!test::haveTool("zbarimg")) QSKIP("zbarimg is not installed");
    QFETCH(int, type);
    QFETCH(QString, data);
    QFETCH(QString, addOn);
    QFETCH(QString, price);
    QFETCH(QString, decoded);
    QFETCH(QString, decodedApart);
    ShownView v;
    v.set(type, data, addOn, price);
    const QImage picture = v.picture();
    QCOMPARE(picture.size(), kViewSize * picture.devicePixelRatio());
    // The renderer is asked for the size in points, whatever the screen's density.
    QCOMPARE(v.view.lastRequest().width, kViewSize.width());
    QCOMPARE(v.view.lastRequest().height, kViewSize.height());
    const std::vector<std::string> scanned = scan(picture);
    QVERIFY2(scanned == std::vector<std::string>{decoded.toStdString()},
             qPrintable(QString::fromStdString(joined(scanned))));
    if (decodedApart.isEmpty()) return;
    const std::vector<std::string> apart = scanRightOfTheSymbol(picture);
    QVERIFY2(apart == std::vector<std::string>{decodedApart.toStdString()},
             qPrintable(QString::fromStdString(joined(apart))));
  }

  void refusedInputShowsTheHelpLine_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("data");
    QTest::newRow("EAN-13 of 5 digits") << kEAN13 << "12345";
    QTest::newRow("a code type outside the list") << 10 << "401234567890";
  }
  void refusedInputShowsTheHelpLine() {
    QFETCH(int, type);
    QFETCH(QString, data);
    ShownView v;
    v.set(type, data);
    const QImage picture = v.picture();
    const int w = kViewSize.width(), h = kViewSize.height();
    // Ink in a band that ends 20 points above the bottom edge, starting 4 from the left.
    QVERIFY(countIn(picture, QRect(4, h - 60, 300, 42), isDark) > 50);
    QCOMPARE(countIn(picture, QRect(0, 0, 3, h), isDark), 0);
    QCOMPARE(countIn(picture, QRect(0, h - 16, w, 16), isDark), 0);
    QCOMPARE(countIn(picture, QRect(0, 0, w, h - 70), isDark), 0);
  }

  void withoutAHelpTextARefusalStaysWhite() {
    TempDir dir;
    test::writeFile(dir.file("Info.ini"), "NSSaveOk=\"The barcode was saved.\"\n");
    ShownView v;
    v.view.setPropertyList(QString::fromStdString(dir.file("Info.ini")));
    v.set(kEAN13, QStringLiteral("12345"));
    const QImage picture = v.picture();
    QCOMPARE(whitePixels(picture), picture.width() * picture.height());
  }

  void emptyDataIsPlainWhiteAndAsksNothing_data() {
    QTest::addColumn<bool>("wasSet");
    QTest::newRow("a new view") << false;
    QTest::newRow("data typed, then cleared") << true;
  }
  void emptyDataIsPlainWhiteAndAsksNothing() {
    QFETCH(bool, wasSet);
    ShownView v;
    if (wasSet) {
      v.set(kEAN13, QStringLiteral("401234567890"));
      settle();
      v.view.setDataToEncode(QString());
    }
    settle();
    const int calls = v.view.rendererCalls();
    const QImage picture = v.picture();
    QCOMPARE(whitePixels(picture), picture.width() * picture.height());
    QCOMPARE(v.view.rendererCalls(), calls);
  }

  // Setting what a field already holds (an equal value in a new string) is no change.
  void onlyRealChangesRedraw_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("redraws");
    QTest::newRow("data, the same digits") << "data" << "9780306406157" << false;
    QTest::newRow("data, one digit more") << "data" << "97803064061570" << true;
    QTest::newRow("add-on, the same") << "addOn" << "51299" << false;
    QTest::newRow("add-on, another") << "addOn" << "51298" << true;
    QTest::newRow("price, the same") << "price" << "USD 12.99" << false;
    QTest::newRow("price, another") << "price" << "USD 12.98" << true;
    QTest::newRow("type, the same") << "type" << "3" << false;
    QTest::newRow("type, another") << "type" << "2" << true;
  }
  void onlyRealChangesRedraw() {
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, redraws);
    ShownView v;
    v.set(kISBN13, QStringLiteral("9780306406157"), QStringLiteral("51299"),
          QStringLiteral("USD 12.99"));
    settle();
    const int paints = v.view.paintCount();
    const QString copy = QString::fromUtf8(value.toUtf8());  // a different string object
    if (field == QLatin1String("data")) v.view.setDataToEncode(copy);
    if (field == QLatin1String("addOn")) v.view.setAddOn(copy);
    if (field == QLatin1String("price")) v.view.setPriceText(copy);
    if (field == QLatin1String("type")) v.view.setType(copy.toInt());
    settle();
    QCOMPARE(v.view.paintCount() > paints, redraws);
  }

  // The renderer draws for the view's current size; a resize asks again.
  void theRendererIsAskedForTheViewsSize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("600 x 300") << QSize(600, 300);
    QTest::newRow("odd sizes") << QSize(301, 201);
    QTest::newRow("wide and low") << QSize(1000, 150);
  }
  void theRendererIsAskedForTheViewsSize() {
    QFETCH(QSize, size);
    ShownView v(QSize(400, 200));
    v.set(kEAN13, QStringLiteral("401234567890"));
    v.view.resize(size);
    settle();
    QCOMPARE(v.view.lastRequest().width, size.width());
    QCOMPARE(v.view.lastRequest().height, size.height());
  }

  // EAN symbols have no add-on or price: typing them changes nothing on screen, while
  // the same texts do change an ISBN.
  void addOnAndPriceShowOnlyForBooks_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("data");
    QTest::addColumn<bool>("changes");
    QTest::newRow("EAN-8: unchanged") << kEAN8 << "4012345" << false;
    QTest::newRow("EAN-13: unchanged") << kEAN13 << "401234567890" << false;
    QTest::newRow("ISBN-13: changed") << kISBN13 << "978-0-306-40615-7" << true;
  }
  void addOnAndPriceShowOnlyForBooks() {
    QFETCH(int, type);
    QFETCH(QString, data);
    QFETCH(bool, changes);
    ShownView v;
    v.set(type, data);
    const QImage plain = v.picture();
    v.set(type, data, QStringLiteral("51299"), QStringLiteral("USD 12.99"));
    QCOMPARE(v.picture() != plain, changes);
  }
};

QTEST_MAIN(TestView)
#include "test_view.moc"
