// Strimlo's window: the form and its controller, the defaults set once, then the loop.
#include <QApplication>
#include <QTimer>

#include "appicon.h"
#include "barcodecontroller.h"
#include "mainwindow.h"

namespace {

// "--screenshot PATH": saves a picture of the shown window and quits, so the README's
// picture can be remade the same way every time (under xvfb-run on a machine without a
// display). Not meant for users, hence not in any help.
QString screenshotPath(const QStringList& args) {
  const qsizetype at = args.indexOf(QStringLiteral("--screenshot"));
  return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Strimlo"));
  QApplication::setApplicationVersion(QStringLiteral(STRIMLO_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("strimlo"));
  QApplication::setWindowIcon(strimlo::appIcon());

  MainWindow window;
  window.controller().awakeFromNib();
  window.show();

  const QString shot = screenshotPath(QApplication::arguments());
  if (!shot.isEmpty()) {
    QTimer::singleShot(500, &window, [&window, shot] {
      const bool saved = window.grab().save(shot, "PNG");
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return QApplication::exec();
}
