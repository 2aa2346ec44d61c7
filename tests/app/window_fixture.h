#pragma once
// The real window for the tests: the form, its controller and the defaults, shown on
// the offscreen platform, with its controls found by their names in MainWindow.ui.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QSpinBox>
#include <QTest>

#include "barcodecontroller.h"
#include "barcodeview.h"
#include "mainwindow.h"
#include "symbologies.h"

namespace strimlo::test {

// Lets pending repaints happen.
inline void settle() {
  QCoreApplication::processEvents();
  QTest::qWait(30);
  QCoreApplication::processEvents();
}

struct Window {
  MainWindow main;
  QComboBox* codeType = main.findChild<QComboBox*>(QStringLiteral("comboCodeType"));
  QComboBox* fileFormat = main.findChild<QComboBox*>(QStringLiteral("comboFileFormat"));
  QComboBox* codeSize = main.findChild<QComboBox*>(QStringLiteral("comboCodeSize"));
  QComboBox* resolution = main.findChild<QComboBox*>(QStringLiteral("comboResolution"));
  QLineEdit* data = main.findChild<QLineEdit*>(QStringLiteral("textfieldDataToEncode"));
  QLineEdit* addOn = main.findChild<QLineEdit*>(QStringLiteral("textfieldAddOn"));
  QLineEdit* price = main.findChild<QLineEdit*>(QStringLiteral("textfieldPriceText"));
  QPushButton* save = main.findChild<QPushButton*>(QStringLiteral("buttonSave"));
  BarcodeView* preview = main.findChild<BarcodeView*>(QStringLiteral("preview"));
  QCheckBox* quietZones = main.findChild<QCheckBox*>(QStringLiteral("checkQuietZones"));
  QSpinBox* barReduction = main.findChild<QSpinBox*>(QStringLiteral("spinBarReduction"));
  QCheckBox* transparent = main.findChild<QCheckBox*>(QStringLiteral("checkTransparent"));

  // Each window starts as on a first run, with nothing remembered; the settings live in
  // the test's own folder, never the user's.
  explicit Window(bool firstRun = true) {
    QStandardPaths::setTestModeEnabled(true);
    if (firstRun) QSettings().clear();
    main.controller().awakeFromNib();
    main.show();
    if (QTest::qWaitForWindowExposed(&main)) settle();
  }
  BarcodeController& controller() { return main.controller(); }

  bool complete() const {
    return codeType && fileFormat && codeSize && resolution && data && addOn && price &&
           save && preview && quietZones && barReduction && transparent;
  }
  QComboBox* combo(const QString& name) { return main.findChild<QComboBox*>(name); }
  QLineEdit* field(const QString& name) { return main.findChild<QLineEdit*>(name); }
  QCheckBox* check(const QString& name) { return main.findChild<QCheckBox*>(name); }
};

// Picks an item the way a user does, with the keyboard: the list then reports a user
// choice (activated), as a mouse pick would. A disabled list ignores the keys.
inline void choose(QComboBox* combo, int index) {
  // Home moves the cursor of a list that takes typed values; Up past the first item stays.
  if (combo->isEditable())
    for (int i = 0; i < combo->count(); ++i) QTest::keyClick(combo, Qt::Key_Up);
  else
    QTest::keyClick(combo, Qt::Key_Home);
  for (int i = 0; i < index; ++i) QTest::keyClick(combo, Qt::Key_Down);
}

// Picks a code type in the list as a user does, wherever the list has it.
inline void chooseType(Window& w, CodeType type) {
  choose(w.codeType, w.codeType->findData(QString::fromLatin1(symbology(type)->token)));
}

// Changes a list, box or spin box with the keyboard as a user does, as choose() does: a
// list to item `index`, a check box toggled (once whatever the index), a spin box stepped
// up `index` times.
inline void operate(QWidget* control, int index) {
  if (auto* combo = qobject_cast<QComboBox*>(control)) return choose(combo, index);
  if (qobject_cast<QCheckBox*>(control)) return QTest::keyClick(control, Qt::Key_Space);
  for (int i = 0; i < index; ++i) QTest::keyClick(control, Qt::Key_Up);
}

// Types the text key by key. Beyond ASCII the key code of a Latin-1 letter is its code
// point, which QTest's own typing does not know.
inline void type(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 0x80)
      QTest::keyClick(widget, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.unicode()), QString(c), Qt::NoModifier);
  }
}

// Replaces a field's text by typing, as a user does: select all, then the keys.
inline void retype(QLineEdit* field, const QString& text) {
  field->setFocus();
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_Backspace);
  type(field, text);
}

// The underlined letter of a text ("&Number:" -> 'n'), none without one.
inline QChar mnemonic(const QString& text) {
  const qsizetype at = text.indexOf(QLatin1Char('&'));
  return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}

// The first label whose underlined letter is missing or taken by a menu, the save button
// or another label, as "labelAddOn shares its letter with menuFile"; empty when none.
inline QString mnemonicClash(const QMainWindow& main, const QPushButton& save) {
  QMap<QChar, QString> letters;
  for (QMenu* menu : main.menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
    letters.insert(mnemonic(menu->title()), menu->objectName());
  letters.insert(mnemonic(save.text()), save.objectName());
  for (QLabel* label : main.findChildren<QLabel*>()) {
    if (!label->buddy()) continue;
    const QChar letter = mnemonic(label->text());
    if (letter.isNull() || letters.contains(letter))
      return label->objectName() + QStringLiteral(" shares its letter with ") + letters.value(letter);
    letters.insert(letter, label->objectName());
  }
  return {};
}

}  // namespace strimlo::test

// What every window test names unqualified.
using namespace strimlo;
using strimlo::test::choose;
using strimlo::test::chooseType;
using strimlo::test::operate;
using strimlo::test::retype;
using strimlo::test::settle;
using strimlo::test::Window;
