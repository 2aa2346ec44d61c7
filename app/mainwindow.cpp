#include "mainwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStyle>

#include "barcodecontroller.h"
#include "choices.h"
#include "ui_MainWindow.h"

namespace {

// Every text shows whole in every language: a list as wide as its longest entry, a field
// as wide as its hint. The form's minimum grows with them, and the window with the form
// (the form file's minimum size alone would let the layout squeeze them).
void fitTexts(QMainWindow& window) {
  for (QComboBox* list : window.findChildren<QComboBox*>())
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
    const QString hint = field->placeholderText();
    if (hint.isEmpty()) continue;
    // The frame and the text margins, as QLineEdit's own size hint counts them.
    const int margins = 2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(hint) + margins);
  }
  window.setMinimumSize(window.minimumSize().expandedTo(window.minimumSizeHint()));
  window.resize(window.size().expandedTo(window.minimumSize()));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), form_(std::make_unique<Ui::MainWindow>()) {
  form_->setupUi(this);
  // The types come from the symbology table, before the lists are measured.
  for (const strimlo::CodeTypeItem& item : strimlo::codeTypeItems())
    form_->comboCodeType->addItem(item.label, item.token);
  fitTexts(*this);
  controller_ = std::make_unique<BarcodeController>(*form_, this);
  connect(form_->actionQuit, &QAction::triggered, this, &QWidget::close);
}

// Out of line, where Ui::MainWindow is complete.
MainWindow::~MainWindow() = default;
