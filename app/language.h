#pragma once
// The window's language: its own translation and Qt's (for the standard dialogs), for
// the first of the locale's languages that has one; English when none has.
#include <QLocale>

namespace strimlo {

// Replaces the translations installed before. QLocale::system() follows LANGUAGE, then
// LC_ALL, LC_MESSAGES and LANG.
void installTranslations(const QLocale& locale);

}  // namespace strimlo
