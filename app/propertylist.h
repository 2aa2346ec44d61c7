#pragma once
// The application's resources and its property list: the texts a user reads (save
// messages, the preview's help line) live in a resource, looked up by key.
#include <QString>

namespace strimlo {

// ":/name", a file built into the program.
QString resourcePath(const QString& name);

// The property list built into the program.
QString defaultPropertyList();

// The text under key in the INI file at path (a resource path or a file); empty when the
// file or the key is missing.
QString propertyText(const QString& path, const QString& key);

}  // namespace strimlo
