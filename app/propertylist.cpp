#include "propertylist.h"

#include <QCoreApplication>
#include <QSettings>

// The resources are compiled into a static library, whose registration nothing would
// otherwise reference: registering them on first use keeps them linked in.
static bool registerResources() {
  Q_INIT_RESOURCE(strimlo);
  return true;
}

namespace strimlo {

QString resourcePath(const QString& name) {
  static const bool registered = registerResources();
  (void)registered;
  return QStringLiteral(":/") + name;
}

QString defaultPropertyList() { return resourcePath(QStringLiteral("Info.ini")); }

// The English texts of Info.ini, listed for the translators' tools, which cannot read
// it; the lookup below finds each one's translation by its English text.
[[maybe_unused]] static const char* const kPropertyTexts[] = {
    QT_TRANSLATE_NOOP("Info.ini", "The barcode was saved."),
    QT_TRANSLATE_NOOP("Info.ini",
                      "The barcode could not be saved. Check the data and the folder, and try again."),
    QT_TRANSLATE_NOOP("Info.ini",
                      "EAN-13 needs 12 digits, EAN-8 7, UPC-A 11, UPC-E 6; the check digit is "
                      "added for you.\nISBN, ISSN, ISMN: the number, with or without hyphens; an "
                      "ISSN variant: 2 digits.\nAdd-on: 5 digits for books; 2 or 5 for UPC, ISSN "
                      "and ISMN."),
};

QString propertyText(const QString& path, const QString& key) {
  const QSettings list(path, QSettings::IniFormat);
  const QString text = list.value(key).toString();
  return text.isEmpty() ? text : QCoreApplication::translate("Info.ini", text.toUtf8().constData());
}

}  // namespace strimlo
