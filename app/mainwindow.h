#pragma once
// The one window: the form built from MainWindow.ui and its controller.
#include <QMainWindow>
#include <memory>

class BarcodeController;
namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  BarcodeController& controller() { return *controller_; }

 private:
  std::unique_ptr<Ui::MainWindow> form_;
  std::unique_ptr<BarcodeController> controller_;
};
