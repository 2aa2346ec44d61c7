#include "mainwindow.h"

#include "barcodecontroller.h"
#include "ui_MainWindow.h"

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), form_(std::make_unique<Ui::MainWindow>()) {
  form_->setupUi(this);
  controller_ = std::make_unique<BarcodeController>(*form_, this);
  connect(form_->actionQuit, &QAction::triggered, this, &QWidget::close);
}

// Out of line, where Ui::MainWindow is complete.
MainWindow::~MainWindow() = default;
