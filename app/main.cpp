// Strimlo's window: the form and its controller, the defaults set once, then the loop.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "appicon.h"
#include "barcodecontroller.h"
#include "language.h"
#include "mainwindow.h"

namespace {

// --help, --version, and "--screenshot PATH", which saves a picture of the shown window
// and quits, so the README's picture can be remade the same way every time (under
// xvfb-run on a machine without a display). Not meant for users, hence hidden from the
// help. The command line stays English.
QString screenshotPath(const QCoreApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Makes retail barcodes: EAN-8, EAN-13, UPC-A, UPC-E, ISBN, ISSN and ISMN, with add-ons,\n"
      "as print-ready PDF, SVG, EPS, or PNG, TIFF and JPEG images, with prepress options."));
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                QStringLiteral("Save a picture of the window and quit."),
                                QStringLiteral("path"));
  screenshot.setFlags(QCommandLineOption::HiddenFromHelp);
  parser.addOption(screenshot);
  parser.process(app);  // exits after --help, --version or an unknown option
  return parser.value(screenshot);
}

// --help and --version answer without a window, so they work without a display too.
bool asksForTextOnly(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version")
      return true;
  }
  return false;
}

void nameTheApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("Strimlo"));
  QCoreApplication::setApplicationVersion(QStringLiteral(STRIMLO_VERSION));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (asksForTextOnly(argc, argv)) {
    const QCoreApplication app(argc, argv);
    nameTheApplication();
    screenshotPath(app);  // prints and exits
    return 0;
  }
  QApplication app(argc, argv);
  nameTheApplication();
  QApplication::setDesktopFileName(QStringLiteral("strimlo"));
  QApplication::setWindowIcon(strimlo::appIcon());
  const QString shot = screenshotPath(app);
  strimlo::installTranslations(QLocale::system());

  MainWindow window;
  window.controller().awakeFromNib();
  window.show();

  if (!shot.isEmpty()) {
    QTimer::singleShot(500, &window, [&window, shot] {
      const bool saved = window.grab().save(shot, "PNG");
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return QApplication::exec();
}
