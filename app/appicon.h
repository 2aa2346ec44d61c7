#pragma once
// The application's icon, drawn here: the SVG beside this file is for the desktop, and
// this toolkit reads SVG only through a plugin that may not be installed.
#include <QIcon>

namespace strimlo {

QIcon appIcon();

}  // namespace strimlo
