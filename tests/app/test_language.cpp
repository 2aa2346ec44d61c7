// The window in German, French and Spanish: the translation the program installs for a
// locale reaches the form, the messages and the property list, and every .ts file holds
// a finished translation of every text the sources have today.
#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

#include "language.h"
#include "propertylist.h"
#include "test_support.h"
#include "window_fixture.h"

using strimlo::test::TempDir;

namespace {

// The messages of a .ts file that are not finished: no translation, marked unfinished,
// or a translation that lost the source's %1 or its underlined letter.
QStringList unfinished(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {QStringLiteral("cannot read ") + path};
  QXmlStreamReader xml(&file);
  QStringList bad;
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("source")) source = xml.readElementText();
    if (xml.name() != QLatin1String("translation")) continue;
    const bool marked = !xml.attributes().value(QLatin1String("type")).isEmpty();
    const QString text = xml.readElementText();
    const bool lost = (source.contains(QLatin1String("%1")) && !text.contains(QLatin1String("%1"))) ||
                      (!test::mnemonic(source).isNull() && test::mnemonic(text).isNull());
    if (marked || text.isEmpty() || lost) bad << source;
  }
  return bad;
}

}  // namespace

class TestLanguage : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void cleanup() { installTranslations(QLocale(QLocale::English)); }

  // ctest runs this with LANGUAGE=de, so the first row is the system locale as the
  // program meets it.
  void windowSpeaksTheLanguage_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typeLabel");
    QTest::addColumn<QString>("saved");   // the property list's NSSaveOk
    QTest::addColumn<QString>("helpTitle");
    QTest::addColumn<QString>("firstType");  // the code type list's first entry, from the table
    QTest::newRow("German by LANGUAGE=de") << QLocale::system() << "Barcode&typ:"
                                           << "Der Barcode wurde gespeichert." << "Strimlo-Hilfe"
                                           << "EAN-8 (kleine Produkte)";
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France)
                            << QStringLiteral("&Type de code-barres\u00a0:")
                            << QStringLiteral("Le code-barres a \u00e9t\u00e9 enregistr\u00e9.")
                            << "Aide de Strimlo" << "EAN-8 (petits produits)";
    QTest::newRow("Spanish") << QLocale(QLocale::Spanish, QLocale::Spain) << "&Tipo de código:"
                             << "El código de barras se ha guardado." << "Ayuda de Strimlo"
                             << QStringLiteral("EAN-8 (productos peque\u00f1os)");
  }
  void windowSpeaksTheLanguage() {
    QFETCH(QLocale, locale);
    QFETCH(QString, typeLabel);
    QFETCH(QString, saved);
    QFETCH(QString, helpTitle);
    QFETCH(QString, firstType);
    installTranslations(locale);
    Window w;
    QCOMPARE(w.main.findChild<QLabel*>(QStringLiteral("labelCodeType"))->text(), typeLabel);
    QCOMPARE(w.codeType->itemText(0), firstType);
    QCOMPARE(propertyText(defaultPropertyList(), QStringLiteral("NSSaveOk")), saved);
    QString title;
    w.controller().setPageViewer([&title](const QString& t, const QString&) { title = t; });
    w.controller().clickHelp();
    QCOMPARE(title, helpTitle);
    const QString clash = test::mnemonicClash(w.main, *w.save);
    QVERIFY2(clash.isEmpty(), qPrintable(clash));
    // No text is cut: every label, list entry and field hint fits its control.
    for (QLabel* label : w.main.findChildren<QLabel*>())
      if (label->isVisible() && !label->wordWrap())
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    for (QComboBox* list : w.main.findChildren<QComboBox*>())
      QVERIFY2(list->width() >= list->sizeHint().width(), qPrintable(list->objectName()));
    for (QLineEdit* field : w.main.findChildren<QLineEdit*>()) {
      if (field->placeholderText().isEmpty() || !field->isVisible()) continue;
      QVERIFY2(field->width() > field->fontMetrics().horizontalAdvance(field->placeholderText()),
               qPrintable(field->placeholderText()));
    }
  }

  // lupdate brings a copy of each .ts up to date with the sources; nothing in it may be
  // left to translate.
  void translationsAreFinished_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("German") << "de";
    QTest::newRow("French") << "fr";
    QTest::newRow("Spanish") << "es";
  }
  void translationsAreFinished() {
    QFETCH(QString, language);
    TempDir dir;
    const QString app = QStringLiteral(STRIMLO_APP_DIR);
    const QString copy = QString::fromStdString(dir.file("copy.ts"));
    QVERIFY(QFile::copy(app + QStringLiteral("/translations/strimlo_") + language + QStringLiteral(".ts"), copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    const QStringList sources = QDir(app).entryList({"*.cpp", "*.h", "*.ui"}, QDir::Files);
    std::string command = "cd " + test::shellQuote(app.toStdString()) + " && " STRIMLO_LUPDATE " -silent -no-obsolete";
    for (const QString& source : sources) command += " " + test::shellQuote(source.toStdString());
    command += " ../encoding/symbologies.cpp";  // the code types' labels
    const test::CommandResult update = test::run(command + " -ts " + test::shellQuote(copy.toStdString()));
    QVERIFY2(update.exitCode == 0, update.output.c_str());
    const QStringList bad = unfinished(copy);
    QVERIFY2(bad.isEmpty(), qPrintable(QStringLiteral("strimlo_%1.ts lacks a finished translation of: \"%2\"")
                                           .arg(language, bad.join(QStringLiteral("\", \"")))));
  }
};

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
