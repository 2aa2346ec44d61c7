#pragma once
// The real modal dialogs behind the controller's seams.
#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace strimlo {

// The save dialog for a file of the given type, opened at `proposed` (a folder and a
// name, either may be missing); none when cancelled. The dialog adds the extension to a
// name typed without one, so its overwrite question sees the real name.
std::optional<QString> askSavePath(QWidget* parent, const QString& extension,
                                   const QString& fileType, const QString& proposed);
// Asks whether to replace the existing file at path, "No" the default; true for "Yes".
bool askReplace(QWidget* parent, const QString& path);
// The print dialog; false when cancelled.
bool askPrint(QWidget* parent, QPrinter& printer);
// A modal alert with the application's icon and one "OK" button.
void showAlert(QWidget* parent, const QString& title, const QString& text);
// A modal page of rich text with one "OK" button (About, Help).
void showPage(QWidget* parent, const QString& title, const QString& html);

// The texts of the About and Help pages.
QString aboutPage();
QString helpPage();

}  // namespace strimlo
