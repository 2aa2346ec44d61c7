#include "barcodecontroller.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QThreadPool>
#include <algorithm>
#include <utility>

#include "barcodeview.h"
#include "choices.h"
#include "dialogs.h"
#include "makecode.h"
#include "printing.h"
#include "propertylist.h"
#include "ui_MainWindow.h"

using namespace strimlo;

namespace {

// What the window remembers from one run to the next. The quiet zones are stored only
// once the user has chosen; until then they follow the format (on for PDF and SVG).
const QString kQuietZonesKey = QStringLiteral("prepress/quietZones");
const QString kBarReductionKey = QStringLiteral("prepress/barReductionMicrons");
const QString kTransparentKey = QStringLiteral("prepress/transparent");
const QString kFontKey = QStringLiteral("text/font");  // "ocrb", else Helvetica
const QString kOutlineTextKey = QStringLiteral("text/outline");
const QString kSaveFolderKey = QStringLiteral("save/folder");
const QString kDlDomainKey = QStringLiteral("gs1/dlDomain");  // a brand's resolver

}  // namespace

BarcodeController::BarcodeController(const Ui::MainWindow& form, QWidget* mainWindow)
    : mainWindow_(mainWindow),
      buttonSave_(form.buttonSave),
      comboCodeSize_(form.comboCodeSize),
      comboCodeType_(form.comboCodeType),
      comboFileFormat_(form.comboFileFormat),
      comboResolution_(form.comboResolution),
      preview_(form.preview),
      textfieldAddOn_(form.textfieldAddOn),
      textfieldDataToEncode_(form.textfieldDataToEncode),
      textfieldPriceText_(form.textfieldPriceText),
      textfieldVariant_(form.textfieldVariant),
      labelCheckWarning_(form.labelCheckWarning),
      checkQuietZones_(form.checkQuietZones),
      spinBarReduction_(form.spinBarReduction),
      checkTransparent_(form.checkTransparent),
      comboFont_(form.comboFont),
      checkOutlineText_(form.checkOutlineText),
      labelScanGrade_(form.labelScanGrade),
      comboCurrency_(form.comboCurrency),
      textfieldPriceAmount_(form.textfieldPriceAmount),
      labelIsbnLine_(form.labelIsbnLine),
      comboCompanion_(form.comboCompanion),
      textfieldAi_(form.textfieldAi),
      textfieldDlDomain_(form.textfieldDlDomain),
      saveDialog_([this](const QString& ext) {
        const QString folder = QSettings().value(kSaveFolderKey).toString();
        return askSavePath(mainWindow_, ext, fileTypeFilter(format_),
                           proposedSavePath(choice(), folder));
      }),
      alert_([this](const QString& title, const QString& text) {
        showAlert(mainWindow_, title, text);
      }),
      pageViewer_([this](const QString& title, const QString& html) {
        showPage(mainWindow_, title, html);
      }),
      replaceQuestion_([this](const QString& path) { return askReplace(mainWindow_, path); }),
      printDialog_([this](QPrinter& printer) { return askPrint(mainWindow_, printer); }),
      propertyList_(defaultPropertyList()),
      grader_(std::make_unique<QThreadPool>()) {
  grader_->setMaxThreadCount(1);
  // The lists take a typed value too; the presets stay first and are never added to.
  for (QComboBox* list : {comboCodeSize_, comboResolution_}) {
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
  }
  labelSize_ = new QLabel(form.centralwidget);
  labelSize_->setObjectName(QStringLiteral("labelSize"));
  labelSize_->setAlignment(Qt::AlignHCenter);
  labelSize_->setWordWrap(true);
  form.mainLayout->insertWidget(1, labelSize_);
  connectActions(form);
  preview_->setDragSource([this] { return dragData(); });
}

// Out of line, where QTemporaryDir is complete.
// A grading still running posts to this controller: it must end first.
BarcodeController::~BarcodeController() {
  grader_->clear();
  grader_->waitForDone();
}

// Lists answer the user's choices only (activated), not the defaults set below; the
// fields likewise answer user edits only (textEdited).
void BarcodeController::connectActions(const Ui::MainWindow& form) {
  connect(comboCodeType_, &QComboBox::activated, this, &BarcodeController::changeCodeType);
  connect(comboFileFormat_, &QComboBox::activated, this, &BarcodeController::changeFileFormat);
  connect(comboCodeSize_, &QComboBox::activated, this, &BarcodeController::changeCodeSize);
  connect(comboResolution_, &QComboBox::activated, this, &BarcodeController::changeResolution);
  connect(comboCodeSize_->lineEdit(), &QLineEdit::editingFinished, this, [this] { typeCodeSize(); });
  connect(comboResolution_->lineEdit(), &QLineEdit::editingFinished, this,
          [this] { typeResolution(); });
  connect(checkQuietZones_, &QCheckBox::clicked, this, &BarcodeController::changeQuietZones);
  connect(spinBarReduction_, &QSpinBox::valueChanged, this, &BarcodeController::changeBarReduction);
  connect(checkTransparent_, &QCheckBox::clicked, this, &BarcodeController::changeTransparent);
  connect(comboFont_, &QComboBox::activated, this, &BarcodeController::changeFont);
  connect(checkOutlineText_, &QCheckBox::clicked, this, &BarcodeController::changeOutlineText);
  for (QLineEdit* field :
       {textfieldDataToEncode_, textfieldAddOn_, textfieldPriceText_, textfieldVariant_})
    connect(field, &QLineEdit::textEdited, this, &BarcodeController::controlTextDidChange);
  connect(comboCurrency_, &QComboBox::activated, this, &BarcodeController::changePriceCode);
  connect(textfieldPriceAmount_, &QLineEdit::textEdited, this, &BarcodeController::changePriceCode);
  connect(comboCompanion_, &QComboBox::activated, this, &BarcodeController::changeCompanion);
  connect(textfieldAi_, &QLineEdit::textEdited, this, &BarcodeController::controlTextDidChange);
  connect(textfieldDlDomain_, &QLineEdit::textEdited, this, &BarcodeController::changeDlDomain);
  connect(form.actionRanges, &QAction::triggered, this, &BarcodeController::clickRanges);
  connect(buttonSave_, &QPushButton::clicked, this, &BarcodeController::clickSave);
  connect(form.actionSave, &QAction::triggered, this, &BarcodeController::clickSave);
  connect(form.actionCopy, &QAction::triggered, this, &BarcodeController::clickCopy);
  connect(form.actionPrint, &QAction::triggered, this, &BarcodeController::clickPrint);
  connect(form.actionAbout, &QAction::triggered, this, &BarcodeController::clickAbout);
  connect(form.actionHelp, &QAction::triggered, this, &BarcodeController::clickHelp);
}

void BarcodeController::awakeFromNib() {
  dataToEncode_ = QStringLiteral("401234567890");
  addOn_.clear();
  priceText_.clear();
  variant_.clear();
  textfieldDataToEncode_->setText(dataToEncode_);
  textfieldAddOn_->setText(addOn_);
  textfieldPriceText_->setText(priceText_);
  textfieldVariant_->setText(variant_);
  gs1_ = {};
  gs1_.dlDomain = QSettings().value(kDlDomainKey).toString().trimmed().toStdString();
  textfieldDlDomain_->setText(QString::fromStdString(gs1_.dlDomain));
  textfieldAi_->clear();
  comboCompanion_->setCurrentIndex(0);
  comboCodeType_->setCurrentIndex(comboCodeType_->findData(codeTypeToken(kEAN13)));
  comboFileFormat_->setCurrentIndex(kEPS);
  comboCodeSize_->setCurrentIndex(2);    // magnification 1.0
  comboResolution_->setCurrentIndex(2);  // 300 dpi
  type_ = kEAN13;
  resolution_ = 2;
  size_ = 2;
  freeSize_ = {};
  format_ = kEPS;
  // The prepress options as last chosen; the first time, all off for EPS.
  const QSettings settings;
  Prepress remembered;
  remembered.quietZones = settings.value(kQuietZonesKey, quietZonesByDefault(format_)).toBool();
  remembered.barReductionMicrons =
      std::clamp(settings.value(kBarReductionKey, 0).toInt(), 0, kMaxBarReductionMicrons);
  remembered.transparent = settings.value(kTransparentKey, false).toBool();
  checkQuietZones_->setChecked(remembered.quietZones);
  spinBarReduction_->setValue(remembered.barReductionMicrons);
  checkTransparent_->setChecked(remembered.transparent);
  prepress_ = remembered;
  font_ = settings.value(kFontKey).toString() == QStringLiteral("ocrb") ? TypeFace::OcrB
                                                                         : TypeFace::Sans;
  outlineText_ = settings.value(kOutlineTextKey, false).toBool();
  comboFont_->setCurrentIndex(font_ == TypeFace::OcrB ? 1 : 0);
  checkOutlineText_->setChecked(outlineText_);
  preview_->setTypeFace(font_);
  preview_->setType(type_);
  preview_->setDataToEncode(previewData());
  preview_->setAddOn(addOn_);
  preview_->setPriceText(priceText_);
  preview_->setQuietZones(prepress_.quietZones);
  preview_->setVariant(variant_);
  preview_->setGs1(choice().gs1);
  setButtons();
  showCheckWarning();
  showSize();
  updateScanBadge();
}

// Any edit re-reads all the fields; which one changed does not matter. A pasted line
// break leaves the field as the space it shows, so what is saved is what is seen.
void BarcodeController::controlTextDidChange() {
  for (QLineEdit* field : {textfieldDataToEncode_, textfieldAddOn_, textfieldPriceText_,
                           textfieldVariant_, textfieldAi_}) {
    const QString line = oneLine(field->text());
    if (line == field->text()) continue;
    const int cursor = field->cursorPosition();
    field->setText(line);
    field->setCursorPosition(cursor);
  }
  changeDataToEncode();
  changePriceText();
  changeAddOn();
  changeVariant();
  changeElements();
  showCheckWarning();
  updateScanBadge();
}

void BarcodeController::changeDataToEncode() {
  setDataToEncode(textfieldDataToEncode_->text());
  preview_->setDataToEncode(previewData());
}

void BarcodeController::changeAddOn() {
  setAddOn(textfieldAddOn_->text());
  preview_->setAddOn(addOn_);
}

void BarcodeController::changePriceText() {
  setPriceText(textfieldPriceText_->text());
  preview_->setPriceText(priceText_);
}

void BarcodeController::changeVariant() {
  setVariant(textfieldVariant_->text());
  preview_->setVariant(variant_);
}

void BarcodeController::changeCodeType() {
  const CodeType before = type_;
  type_ = codeTypeOfItem(comboCodeType_->currentData());
  // A typed module is a 2D symbol's or a linear one's, whose ranges differ: it does not
  // carry over from one kind to the other.
  if (isMatrixType(before) != isMatrixType(type_) && freeSize_.module) {
    freeSize_.module.reset();
    comboCodeSize_->setCurrentIndex(size_);
  }
  preview_->setType(type_);
  preview_->setDataToEncode(previewData());
  preview_->setGs1(choice().gs1);
  setButtons();
  showCheckWarning();
  showSize();
  updateScanBadge();
}

void BarcodeController::changeCompanion() {
  const int index = comboCompanion_->currentIndex();
  gs1_.companion = index == 1   ? std::optional<CodeType>(kGS1QR)
                   : index == 2 ? std::optional<CodeType>(kGS1DataMatrix)
                                : std::nullopt;
  preview_->setGs1(choice().gs1);
  setButtons();
  showCheckWarning();
  showSize();
  updateScanBadge();
}

void BarcodeController::changeDlDomain() {
  const QString line = oneLine(textfieldDlDomain_->text());
  if (line != textfieldDlDomain_->text()) textfieldDlDomain_->setText(line);
  gs1_.dlDomain = line.trimmed().toStdString();
  QSettings().setValue(kDlDomainKey, line.trimmed());
  preview_->setGs1(choice().gs1);
  showCheckWarning();
  updateScanBadge();
}

void BarcodeController::changeElements() {
  gs1_.ai = textfieldAi_->text().trimmed().toStdString();
  preview_->setGs1(choice().gs1);
}

void BarcodeController::changeFileFormat() {
  format_ = comboFileFormat_->currentIndex();
  if (!QSettings().contains(kQuietZonesKey)) {  // not chosen yet: the format's default
    prepress_.quietZones = quietZonesByDefault(format_);
    checkQuietZones_->setChecked(prepress_.quietZones);
    preview_->setQuietZones(prepress_.quietZones);
  }
  setButtons();
  showSize();
  updateScanBadge();
}

// Size and resolution only matter to a saved file (and its grade), never to the preview.
void BarcodeController::changeResolution() {
  resolution_ = comboResolution_->currentIndex();
  freeSize_.dpi.reset();
  showSize();
  updateScanBadge();
}
void BarcodeController::changeCodeSize() {
  size_ = comboCodeSize_->currentIndex();
  freeSize_.magnification.reset();
  freeSize_.module.reset();
  showSize();
  updateScanBadge();
}

QString BarcodeController::typeCodeSize() {
  const QString text = comboCodeSize_->currentText();
  if (const int preset = comboCodeSize_->findText(text); preset >= 0) {
    if (preset != size_ || freeSize_.sizeGiven()) {
      comboCodeSize_->setCurrentIndex(preset);
      changeCodeSize();
    }
    return {};
  }
  const QString why = QString::fromStdString(takeTypedSize(text, false, freeSize_, isMatrixType(type_)));
  showSize(why);
  if (why.isEmpty()) updateScanBadge();
  return why;
}

QString BarcodeController::typeResolution() {
  const QString text = comboResolution_->currentText();
  if (const int preset = comboResolution_->findText(text); preset >= 0) {
    if (preset != resolution_ || freeSize_.dpi) {
      comboResolution_->setCurrentIndex(preset);
      changeResolution();
    }
    return {};
  }
  const QString why = QString::fromStdString(takeTypedSize(text, true, freeSize_));
  showSize(why);
  if (why.isEmpty()) updateScanBadge();
  return why;
}

void BarcodeController::showSize(const QString& refusal) {
  const QString warning = refusal.isEmpty() ? smallSizeWarning(choice()) : refusal;
  QString text = sizeSummary(choice()).toHtmlEscaped();
  if (!warning.isEmpty())
    text += QStringLiteral("<br><span style=\"color: #9a4a00;\">%1</span>")
                .arg(warning.toHtmlEscaped());
  labelSize_->setText(text);
}

// The preview shows the quiet zones and marks; the reduction and the background only
// matter to a saved file.
void BarcodeController::changeQuietZones() {
  prepress_.quietZones = checkQuietZones_->isChecked();
  preview_->setQuietZones(prepress_.quietZones);
  QSettings().setValue(kQuietZonesKey, prepress_.quietZones);
  updateScanBadge();
}
void BarcodeController::changeBarReduction() {
  prepress_.barReductionMicrons = spinBarReduction_->value();
  QSettings().setValue(kBarReductionKey, prepress_.barReductionMicrons);
  updateScanBadge();
}
void BarcodeController::changeTransparent() {
  prepress_.transparent = checkTransparent_->isChecked();
  QSettings().setValue(kTransparentKey, prepress_.transparent);
  updateScanBadge();
}

void BarcodeController::changeFont() {
  font_ = comboFont_->currentIndex() == 1 ? TypeFace::OcrB : TypeFace::Sans;
  preview_->setTypeFace(font_);
  QSettings().setValue(kFontKey, font_ == TypeFace::OcrB ? QStringLiteral("ocrb")
                                                         : QStringLiteral("sans"));
}
void BarcodeController::changeOutlineText() {
  outlineText_ = checkOutlineText_->isChecked();
  QSettings().setValue(kOutlineTextKey, outlineText_);
}

void BarcodeController::setButtons() {
  const ControlStates states = controlStates(format_, type_, gs1_.companion);
  comboResolution_->setEnabled(states.resolution);
  comboCodeSize_->setEnabled(states.size);
  textfieldAddOn_->setEnabled(states.addOn);
  textfieldPriceText_->setEnabled(states.price);
  comboCurrency_->setEnabled(states.price);
  textfieldPriceAmount_->setEnabled(states.price);
  textfieldVariant_->setEnabled(states.variant);
  checkTransparent_->setEnabled(transparencyApplies(format_));
  checkOutlineText_->setEnabled(format_ == kEPS || format_ == kPDF);  // SVG always outlines
  comboCompanion_->setEnabled(states.companion);
  textfieldAi_->setEnabled(states.elements);
  textfieldDlDomain_->setEnabled(states.resolver);
}

void BarcodeController::showCheckWarning() {
  const QString warning = checkDigitWarning(type_, text8(dataToEncode_));
  labelCheckWarning_->setText(warning);
  labelCheckWarning_->setVisible(!warning.isEmpty());
  // The 2D part's refusal (an element, its date or check digit, the GTIN) names the rule.
  if (const QString why = gs1Problem(choice()); !why.isEmpty()) {
    labelCheckWarning_->setText(warning.isEmpty() ? why : warning + QLatin1Char('\n') + why);
    labelCheckWarning_->setVisible(true);
  }
  const WindowRanges ranges = windowRanges();
  const QString line = isbnLineNote(type_, text8(dataToEncode_), ranges.load, ranges.named);
  labelIsbnLine_->setText(line);
  labelIsbnLine_->setVisible(!line.isEmpty());
}

QString BarcodeController::previewData() const {
  const std::string typed = text8(dataToEncode_);
  const std::string shown = hyphenatedData(type_, typed, windowRanges().load.ranges.get());
  return shown == typed ? dataToEncode_ : QString::fromLatin1(shown);
}

void BarcodeController::changePriceCode() {
  const std::optional<PriceFields> fields =
      priceFields(comboCurrency_->currentText(), textfieldPriceAmount_->text());
  if (comboCurrency_->currentIndex() <= 0 || !fields) return;
  textfieldAddOn_->setText(fields->addOn);
  textfieldPriceText_->setText(fields->priceText);
  changePriceText();
  changeAddOn();
  updateScanBadge();
}

void BarcodeController::clickRanges() {
  const QString from = QFileDialog::getOpenFileName(
      mainWindow_, tr("ISBN Range File"), QString(), QStringLiteral("RangeMessage.xml (*.xml)"));
  if (from.isEmpty()) return;
  const QString why = installRanges(from);
  if (!why.isEmpty()) alert_(QStringLiteral("Strimlo"), why);
  preview_->setDataToEncode(previewData());
  showCheckWarning();
  updateScanBadge();
}

void BarcodeController::updateScanBadge() {
  const unsigned generation = ++scanGeneration_;
  grader_->clear();  // a grading not yet started is for choices already gone
  grader_->start([this, generation, choice = choice()] {
    const ScanCheck check = checkScan(choice);
    const ScanBadge badge = scanBadge(check.verification, check.dpi, check.symbol, check.matrix,
                                      isMatrixType(choice.type));
    QMetaObject::invokeMethod(
        this,
        [this, generation, badge] {
          if (generation != scanGeneration_) return;  // the choices changed meanwhile
          labelScanGrade_->setText(badge.text);
          labelScanGrade_->setToolTip(badge.toolTip);
          labelScanGrade_->setAccessibleDescription(badge.toolTip);
          labelScanGrade_->setStyleSheet(
              QStringLiteral("color: %1; font-weight: bold;").arg(badge.colour));
          labelScanGrade_->setVisible(!badge.text.isEmpty());
        },
        Qt::QueuedConnection);
  });
}

void BarcodeController::clickSave() {
  // A value still being typed is taken first; one out of range stops the save.
  const QString sizeWhy = comboCodeSize_->isEnabled() ? typeCodeSize() : QString();
  const QString resolutionWhy = comboResolution_->isEnabled() ? typeResolution() : QString();
  for (auto [list, why] : {std::pair{comboCodeSize_, sizeWhy}, std::pair{comboResolution_, resolutionWhy}}) {
    if (why.isEmpty()) continue;
    alert_(QStringLiteral("Strimlo"), why);
    list->setFocus(Qt::OtherFocusReason);
    list->lineEdit()->selectAll();
    return;
  }
  const QString extension = requiredExtension(format_);
  const std::optional<QString> chosen = saveDialog_(extension);
  if (!chosen) return;  // cancelled: nothing saved, nothing said
  const QString path = withExtension(*chosen, extension);
  // The dialog asked about the name it returned, not about the one our extension made of
  // it; "No" ends the save as a cancel does.
  if (path != *chosen && QFileInfo::exists(path) && !replaceQuestion_(path)) return;
  QSettings().setValue(kSaveFolderKey, QFileInfo(path).absolutePath());
  const SaveOutcome outcome = saveSymbol(choice(), format_, size_, resolution_, path);
  if (outcome) {
    alert_(QStringLiteral("Strimlo"), property(saveMessageKey(true)));
    return;
  }
  // The cause the command line gives, then the field it is about, ready to be retyped.
  alert_(QStringLiteral("Strimlo"), property(saveMessageKey(false)) + QStringLiteral("\n\n") +
                                        saveFailureCause(choice(), outcome));
  if (outcome.refusal != Refusal::Gs1Data) {
    pointAt(refusalField(outcome.refusal));
    return;
  }
  const Gs1Part part = gs1PartOf(completeChoice(choice()).detail);
  pointAt(part == Gs1Part::Elements ? Field::Elements
          : part == Gs1Part::Domain ? Field::DlDomain
                                    : Field::Data);
}

void BarcodeController::pointAt(Field field) {
  QLineEdit* edit = field == Field::Data    ? textfieldDataToEncode_
                    : field == Field::AddOn ? textfieldAddOn_
                    : field == Field::Variant ? textfieldVariant_
                    : field == Field::Elements ? textfieldAi_
                    : field == Field::DlDomain ? textfieldDlDomain_
                                              : nullptr;
  if (edit == nullptr || !edit->isEnabled()) return;
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

SymbolChoice BarcodeController::choice() const {
  SymbolChoice c{type_,       dataToEncode_, addOn_,    priceText_, variant_,     format_,
                 size_,       resolution_,   prepress_, freeSize_,  font_,        outlineText_,
                 gs1_};
  if (isMatrixType(type_)) c.gs1.companion.reset();  // a companion chosen for a linear type
  if (!controlStates(format_, type_, c.gs1.companion).resolver) c.gs1.dlDomain.clear();
  return c;
}

void BarcodeController::clickCopy() {
  std::unique_ptr<QMimeData> data = clipboardData(choice());
  if (!data) {
    alert_(QStringLiteral("Strimlo"), tr("The barcode could not be copied. Check the number."));
    return;
  }
  QGuiApplication::clipboard()->setMimeData(data.release());
}

void BarcodeController::clickPrint() {
  QPrinter printer(QPrinter::HighResolution);
  if (!printDialog_(printer)) return;  // cancelled
  if (!printSymbol(printer, choice()))
    alert_(QStringLiteral("Strimlo"), tr("The barcode could not be printed. Check the number "
                                         "and the printer."));
}

std::unique_ptr<QMimeData> BarcodeController::dragData() {
  dragFolder_ = std::make_unique<QTemporaryDir>();
  if (!dragFolder_->isValid()) return nullptr;
  return strimlo::dragData(choice(), dragFolder_->path());
}

void BarcodeController::clickAbout() {
  // The range file in use and its date, so a stale one is seen before it misleads.
  const WindowRanges ranges = windowRanges();
  const QString rangesLine =
      ranges.load.ranges
          ? tr("ISBN range file: %1, message date %2.")
                .arg(QString::fromStdString(ranges.path), QString::fromStdString(ranges.load.ranges->messageDate))
          : tr("No ISBN range file: ISBN lines are shown as typed.");
  QString note = QString::fromStdString(ranges.load.note);
  pageViewer_(tr("About Strimlo"), aboutPage() + QStringLiteral("<p>") + rangesLine.toHtmlEscaped() +
                                       (note.isEmpty() ? QString() : QStringLiteral("<br>") + note.toHtmlEscaped()) +
                                       QStringLiteral("</p>"));
}

void BarcodeController::clickHelp() { pageViewer_(tr("Strimlo Help"), helpPage()); }

QString BarcodeController::property(const QString& key) const {
  return propertyText(propertyList_, key);
}
