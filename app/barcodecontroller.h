#pragma once
// The one controller of the main window: it holds the user's choices, keeps the controls
// consistent with them, copies every edit into the preview and saves the symbol.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "choices.h"
#include "codetypes.h"
#include "symbolexport.h"
#include "prepress.h"

class BarcodeView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QTemporaryDir;
class QThreadPool;
class QSpinBox;
class QWidget;
namespace Ui {
class MainWindow;
}

class BarcodeController : public QObject {
  Q_OBJECT

 public:
  // Asks where to save, given the extension the file must have; none when cancelled.
  using SaveDialog = std::function<std::optional<QString>(const QString& extension)>;
  // A modal message with one "OK" button.
  using Alert = std::function<void(const QString& title, const QString& text)>;
  // A page of rich text (About, Help).
  using PageViewer = std::function<void(const QString& title, const QString& html)>;
  // Whether to replace the existing file at path; true for "Yes".
  using ReplaceQuestion = std::function<bool(const QString& path)>;
  // Lets the user set up the printer; false when cancelled.
  using PrintDialog = std::function<bool(QPrinter& printer)>;

  // Takes the form's controls as outlets (the window owns them) and ties them to the
  // actions below. The real dialogs are the defaults of the five seams.
  BarcodeController(const Ui::MainWindow& form, QWidget* mainWindow);
  ~BarcodeController() override;

  void setSaveDialog(SaveDialog dialog) { saveDialog_ = std::move(dialog); }
  void setAlert(Alert alert) { alert_ = std::move(alert); }
  void setPageViewer(PageViewer viewer) { pageViewer_ = std::move(viewer); }
  void setReplaceQuestion(ReplaceQuestion question) { replaceQuestion_ = std::move(question); }
  void setPrintDialog(PrintDialog dialog) { printDialog_ = std::move(dialog); }
  void setPropertyList(const QString& path) { propertyList_ = path; }

  const QString& dataToEncode() const { return dataToEncode_; }
  const QString& addOn() const { return addOn_; }
  const QString& priceText() const { return priceText_; }
  const QString& variant() const { return variant_; }
  // The setters store a copy; they do not touch the preview.
  void setDataToEncode(const QString& text) { dataToEncode_ = text; }
  void setAddOn(const QString& text) { addOn_ = text; }
  void setPriceText(const QString& text) { priceText_ = text; }
  void setVariant(const QString& text) { variant_ = text; }

  strimlo::CodeType type() const { return type_; }
  strimlo::FileFormat format() const { return format_; }
  strimlo::SizeIndex size() const { return size_; }
  strimlo::ResolutionIndex resolution() const { return resolution_; }
  // Everything above as the renderers take it.
  strimlo::SymbolChoice choice() const;
  const strimlo::Prepress& prepress() const { return prepress_; }

  void awakeFromNib();
  void controlTextDidChange();
  void changeCodeType();
  void changeDataToEncode();
  void changeAddOn();
  void changePriceText();
  void changeVariant();
  void changeFileFormat();
  void changeResolution();
  void changeCodeSize();
  // A size or resolution typed into its list ("120 %", "0.4 mm", "203 dpi"): taken when
  // it is in range, else the line under the preview says why, the last one stays and the
  // reason is returned (a save then stops, so it never writes other than what shows).
  QString typeCodeSize();
  QString typeResolution();
  const strimlo::FreeSize& freeSize() const { return freeSize_; }
  void changeQuietZones();
  void changeBarReduction();
  void changeTransparent();
  // The face of the texts, shown in the preview; outlines only matter to a saved file.
  void changeFont();
  void changeOutlineText();
  // The currency and amount fill the add-on and the price text, which stay editable.
  void changePriceCode();
  // The 2D companion beside a linear symbol, and the elements after the GTIN.
  void changeCompanion();
  void changeElements();
  // The QR Code's resolver, remembered from one run to the next.
  void changeDlDomain();
  const strimlo::Gs1Options& gs1() const { return gs1_; }
  // Asks for the ISBN agency's range file and copies it where the window looks.
  void clickRanges();
  void clickSave();
  void clickCopy();
  void clickPrint();
  // What a drag from the preview carries: the clipboard's data and a file in the chosen
  // format, kept in a folder of its own until the next drag or the end of the program.
  std::unique_ptr<QMimeData> dragData();
  void clickAbout();
  void clickHelp();
  void setButtons();
  // Shows or hides the note about a wrong typed check character.
  void showCheckWarning();
  // Grades the symbol as it would be saved, off the UI thread; the badge shows the result
  // of the latest choices only, an earlier one arriving late is dropped.
  void updateScanBadge();

 private:
  void connectActions(const Ui::MainWindow& form);
  // Gives the field a refusal is about the focus, its text selected.
  void pointAt(strimlo::Field field);
  QString property(const QString& key) const;
  // The data the preview draws: an ISBN typed without hyphens, hyphenated by the ranges.
  QString previewData() const;

  // Outlets.
  QWidget* mainWindow_;
  QPushButton* buttonSave_;
  QComboBox* comboCodeSize_;
  QComboBox* comboCodeType_;
  QComboBox* comboFileFormat_;
  QComboBox* comboResolution_;
  BarcodeView* preview_;
  QLineEdit* textfieldAddOn_;
  QLineEdit* textfieldDataToEncode_;
  QLineEdit* textfieldPriceText_;
  QLineEdit* textfieldVariant_;
  QLabel* labelCheckWarning_;
  QCheckBox* checkQuietZones_;
  QSpinBox* spinBarReduction_;
  QCheckBox* checkTransparent_;
  QComboBox* comboFont_;
  QCheckBox* checkOutlineText_;
  QLabel* labelScanGrade_;
  QComboBox* comboCurrency_;
  QLineEdit* textfieldPriceAmount_;
  QLabel* labelIsbnLine_;
  QComboBox* comboCompanion_;
  QLineEdit* textfieldAi_;
  QLineEdit* textfieldDlDomain_;

  QString dataToEncode_;
  QString addOn_;
  QString priceText_;
  QString variant_;  // ISSN's sequence variant
  strimlo::CodeType type_ = 0;
  strimlo::ResolutionIndex resolution_ = 0;
  strimlo::SizeIndex size_ = 0;
  strimlo::FileFormat format_ = 0;
  strimlo::Prepress prepress_;
  strimlo::FreeSize freeSize_;
  QLabel* labelSize_ = nullptr;  // under the preview: the real X dimension and magnification
  void showSize(const QString& refusal = {});
  strimlo::TypeFace font_ = strimlo::TypeFace::Sans;
  bool outlineText_ = false;
  strimlo::Gs1Options gs1_;  // the elements and the companion as chosen; the rest defaults

  SaveDialog saveDialog_;
  Alert alert_;
  PageViewer pageViewer_;
  ReplaceQuestion replaceQuestion_;
  PrintDialog printDialog_;
  QString propertyList_;
  std::unique_ptr<QTemporaryDir> dragFolder_;
  std::unique_ptr<QThreadPool> grader_;  // one thread; waited for before the rest goes
  unsigned scanGeneration_ = 0;
};
