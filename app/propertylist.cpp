#include "propertylist.h"

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

QString propertyText(const QString& path, const QString& key) {
  const QSettings list(path, QSettings::IniFormat);
  return list.value(key).toString();
}

}  // namespace strimlo
