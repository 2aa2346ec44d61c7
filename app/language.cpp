#include "language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace strimlo {

namespace {

// Loads translation `name` from folder for locale and installs it; false when the
// locale's languages have none.
bool install(QTranslator& translator, const QLocale& locale, const QString& name,
             const QString& folder) {
  QCoreApplication::removeTranslator(&translator);
  if (!translator.load(locale, name, QStringLiteral("_"), folder)) return false;
  return QCoreApplication::installTranslator(&translator);
}

}  // namespace

void installTranslations(const QLocale& locale) {
  static QTranslator ours;
  static QTranslator qt;
  // Qt's dialogs only in the language the window has, never half in another.
  if (install(ours, locale, QStringLiteral("strimlo"), QStringLiteral(":/translations")))
    install(qt, locale, QStringLiteral("qtbase"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  else
    QCoreApplication::removeTranslator(&qt);
}

}  // namespace strimlo
