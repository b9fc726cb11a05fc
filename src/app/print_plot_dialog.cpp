#include "app/print_plot_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/number_format.h"
#include "settings/settings_file.h"

namespace kestra::app {

// The sheet drawn to scale with its printable area and the image on it.
class PagePreview : public QWidget {
 public:
  explicit PagePreview(QWidget* parent) : QWidget(parent) {
    setObjectName("Paper");
    setMinimumSize(220, 260);
  }
  void Show(const PageGeometry& page, const ImageLayout& layout, const QImage& picture) {
    page_ = page;
    layout_ = layout;
    picture_ = picture;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (page_.paperWidth <= 0 || page_.paperHeight <= 0) return;
    const double scale = std::min((width() - 2) / page_.paperWidth, (height() - 2) / page_.paperHeight);
    const auto mm = [scale](double x, double y, double w, double h) { return QRectF(x * scale, y * scale, w * scale, h * scale); };
    QPainter painter(this);
    painter.fillRect(mm(0, 0, page_.paperWidth, page_.paperHeight), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(mm(0, 0, page_.paperWidth, page_.paperHeight));
    painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    painter.drawRect(mm(page_.printableLeft, page_.printableTop, page_.printableWidth, page_.printableHeight));
    // The image sits where the print puts it: inside the printable area.
    painter.setClipRect(mm(page_.printableLeft, page_.printableTop, page_.printableWidth, page_.printableHeight));
    painter.drawImage(mm(layout_.left, layout_.top, layout_.width, layout_.height), picture_);
  }

 private:
  PageGeometry page_;
  ImageLayout layout_;
  QImage picture_;
};

namespace {

constexpr int kTypingDelayMs = 1000;
const char* const kFieldCaptions[4] = {"Width:", "Height:", "Left:", "Top:"};
enum Field { kWidth = 0, kHeight = 1, kLeft = 2, kTop = 3 };

// The picture slot the include switches stand for.
int IndexOfIncludeSwitches(const Settings& settings) {
  const bool lower = IsOn(settings.includeLowerXsection), right = IsOn(settings.includeRightXsection);
  return lower && right ? 3 : lower ? 2 : right ? 1 : 0;
}

}  // namespace

PrintPlotDialog::PrintPlotDialog(Settings& settings, const std::string& settingsPath, const PrintPictures& pictures,
                                 bool sectionsShown, QPrinter& printer, UserInterface& ui, QWidget* parent,
                                 PrintDrawing drawing)
    : QDialog(parent),
      settings_(settings),
      settingsPath_(settingsPath),
      pictures_(pictures),
      drawing_(std::move(drawing)),
      printer_(printer),
      ui_(ui) {
  setObjectName("PrintPlot");
  setWindowTitle(tr("Print Plot"));
  picOption_ = new QComboBox(this);
  picOption_->setObjectName("PicOption");
  picOption_->addItems({tr("Only Plan View"), tr("Plan View & Right Cross-Section"),
                        tr("Plan View & Lower Cross-Section"), tr("All")});
  pictureIndex_ = sectionsShown ? IndexOfIncludeSwitches(settings) : 0;
  picOption_->setCurrentIndex(pictureIndex_);
  picOption_->setEnabled(sectionsShown);

  layout_ = {settings.imageWidth, settings.imageHeight, settings.imageLeft, settings.imageTop};
  if (settings.imageWidth == 0) {
    settings.useFullPage = 1;
    settings.centerOnPage = 1;
    FitImageToPage(layout_, Page(), Aspect());
    CenterImage(layout_, Page());
  }
  for (int index = 0; index < 4; ++index) fields_[index] = AddField(index);
  fullPage_ = AddCheck(0, tr("Use full page"), IsOn(settings.useFullPage));
  centre_ = AddCheck(1, tr("Center on page"), IsOn(settings.centerOnPage));
  typingTimer_ = new QTimer(this);
  typingTimer_->setObjectName("Timer1");
  typingTimer_->setSingleShot(true);
  typingTimer_->setInterval(kTypingDelayMs);
  connect(typingTimer_, &QTimer::timeout, this, &PrintPlotDialog::Refresh);
  preview_ = new PagePreview(this);

  auto* size = new QGroupBox(tr("Image Size (millimeters)"), this);
  auto* sizeForm = new QFormLayout(size);
  auto* margins = new QGroupBox(tr("Margins (millimeters)"), this);
  auto* marginForm = new QFormLayout(margins);
  for (int index = 0; index < 4; ++index)
    (index < 2 ? sizeForm : marginForm)->addRow(tr(kFieldCaptions[index]), fields_[index]);
  auto* options = new QGroupBox(tr("Options"), this);
  auto* optionColumn = new QVBoxLayout(options);
  optionColumn->addWidget(fullPage_);
  optionColumn->addWidget(centre_);

  auto* buttons = new QHBoxLayout;
  const char* captions[3] = {"Print", "Close", "Printer..."};
  void (PrintPlotDialog::*actions[3])() = {&PrintPlotDialog::PrintImage, &PrintPlotDialog::CloseDialog,
                                           &PrintPlotDialog::SetUpPrinter};
  for (int index = 0; index < 3; ++index) {
    auto* button = new QPushButton(tr(captions[index]), this);
    button->setObjectName(QString("Command1_%1").arg(index));
    connect(button, &QPushButton::clicked, this, actions[index]);
    buttons->addWidget(button);
  }
  auto* controls = new QVBoxLayout;
  controls->addWidget(picOption_);
  controls->addWidget(size);
  controls->addWidget(margins);
  controls->addWidget(options);
  controls->addLayout(buttons);
  auto* page = new QHBoxLayout(this);
  page->addLayout(controls);
  page->addWidget(preview_, 1);

  connect(picOption_, &QComboBox::currentIndexChanged, this, &PrintPlotDialog::PicOption_Click);
  connect(fullPage_, &QCheckBox::toggled, this, &PrintPlotDialog::Check1_Click);
  connect(centre_, &QCheckBox::toggled, this, &PrintPlotDialog::Check1_Click);
  layout_.height = HeightForWidth(layout_.width, Aspect());
  fields_[kWidth]->setEnabled(!fullPage_->isChecked());
  fields_[kHeight]->setEnabled(!fullPage_->isChecked());
  fields_[kLeft]->setEnabled(!centre_->isChecked());
  fields_[kTop]->setEnabled(!centre_->isChecked());
  ShowFields();
  Refresh();
}

QLineEdit* PrintPlotDialog::AddField(int index) {
  auto* field = new QLineEdit(this);
  field->setObjectName(QString("Text1_%1").arg(index));
  connect(field, &QLineEdit::textEdited, this, [this, index] { Text1_Change(index); });
  connect(field, &QLineEdit::editingFinished, this, &PrintPlotDialog::Refresh);
  return field;
}

QCheckBox* PrintPlotDialog::AddCheck(int index, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption, this);
  box->setObjectName(QString("Check1_%1").arg(index));
  box->setChecked(checked);
  return box;
}

PageGeometry PrintPlotDialog::Page() const {
  const QPageLayout page = printer_.pageLayout();
  const QRectF paper = page.fullRect(QPageLayout::Millimeter);
  const QRectF printable = page.paintRect(QPageLayout::Millimeter);
  return {paper.width(), paper.height(), printable.left(), printable.top(), printable.width(), printable.height()};
}

double PrintPlotDialog::Aspect() const {
  const QImage& picture = pictures_[pictureIndex_];
  return picture.isNull() || picture.height() == 0 ? 1.0 : double(picture.width()) / picture.height();
}

void PrintPlotDialog::ShowFields() {
  const double values[4] = {layout_.width, layout_.height, layout_.left, layout_.top};
  for (int index = 0; index < 4; ++index)
    fields_[index]->setText(QString::fromStdString(TrimmedFloatText(static_cast<float>(values[index]))));
}

void PrintPlotDialog::StoreLayout() {
  settings_.imageWidth = static_cast<float>(layout_.width);
  settings_.imageHeight = static_cast<float>(layout_.height);
  settings_.imageLeft = static_cast<float>(layout_.left);
  settings_.imageTop = static_cast<float>(layout_.top);
  settings_.useFullPage = fullPage_->isChecked() ? 1 : 0;
  settings_.centerOnPage = centre_->isChecked() ? 1 : 0;
}

void PrintPlotDialog::Text1_Change(int index) {
  const double value = LeadingNumber(fields_[index]->text().toStdString());
  switch (index) {
    case kWidth:
      layout_.width = value;
      layout_.height = HeightForWidth(value, Aspect());
      fields_[kHeight]->setText(QString::fromStdString(TrimmedFloatText(static_cast<float>(layout_.height))));
      break;
    case kHeight:
      layout_.height = value;
      layout_.width = WidthForHeight(value, Aspect());
      fields_[kWidth]->setText(QString::fromStdString(TrimmedFloatText(static_cast<float>(layout_.width))));
      break;
    case kLeft: layout_.left = value; break;
    case kTop: layout_.top = value; break;
  }
  typingTimer_->start();
}

// After typing (the timer or leaving the field): centred again when asked,
// and the preview redrawn.
void PrintPlotDialog::Refresh() {
  typingTimer_->stop();
  if (centre_->isChecked()) {
    CenterImage(layout_, Page());
    fields_[kLeft]->setText(QString::fromStdString(TrimmedFloatText(static_cast<float>(layout_.left))));
    fields_[kTop]->setText(QString::fromStdString(TrimmedFloatText(static_cast<float>(layout_.top))));
  }
  StoreLayout();
  preview_->Show(Page(), layout_, pictures_[pictureIndex_]);
}

void PrintPlotDialog::ApplyOptions() {
  if (fullPage_->isChecked()) FitImageToPage(layout_, Page(), Aspect());
  if (centre_->isChecked()) CenterImage(layout_, Page());
  ShowFields();
  Refresh();
}

void PrintPlotDialog::Check1_Click() {
  fields_[kWidth]->setEnabled(!fullPage_->isChecked());
  fields_[kHeight]->setEnabled(!fullPage_->isChecked());
  fields_[kLeft]->setEnabled(!centre_->isChecked());
  fields_[kTop]->setEnabled(!centre_->isChecked());
  ApplyOptions();
}

void PrintPlotDialog::PicOption_Click(int index) {
  pictureIndex_ = index;
  layout_.height = HeightForWidth(layout_.width, Aspect());
  ApplyOptions();
}

void PrintPlotDialog::PrintImage() {
  Hourglass busy(ui_);
  QPainter painter;
  if (!painter.begin(&printer_)) {
    Complain(ui_, "The printer could not be started.", MessageIcon::Exclamation);
    return;
  }
  const PageGeometry page = Page();
  const double dotsPerMillimetre = printer_.resolution() / 25.4;
  // The painter's origin is the printable area's corner, as in the preview.
  const QRectF target((layout_.left - page.printableLeft) * dotsPerMillimetre,
                      (layout_.top - page.printableTop) * dotsPerMillimetre,
                      WholeMillimetres(layout_.width) * dotsPerMillimetre,
                      WholeMillimetres(layout_.height) * dotsPerMillimetre);
  if (drawing_) {
    constexpr double kPointsPerInch = 72;
    const double dotsPerPoint = printer_.resolution() / kPointsPerInch;
    painter.translate(target.topLeft());
    painter.scale(dotsPerPoint, dotsPerPoint);
    drawing_(painter, QRectF(0, 0, target.width() / dotsPerPoint, target.height() / dotsPerPoint), pictureIndex_);
  } else {
    painter.drawImage(target, pictures_[pictureIndex_]);
  }
  painter.end();
  Finish(false);
}

void PrintPlotDialog::CloseDialog() { Finish(true); }

void PrintPlotDialog::reject() { Finish(true); }

void PrintPlotDialog::Finish(bool storeIncludeSwitches) {
  StoreLayout();
  if (storeIncludeSwitches) {
    settings_.includeRightXsection = pictureIndex_ == 1 || pictureIndex_ == 3 ? 1 : 0;
    settings_.includeLowerXsection = pictureIndex_ == 2 || pictureIndex_ == 3 ? 1 : 0;
  }
  WriteSettings(settingsPath_, settings_, ui_);
  pictures_ = {};
  done(storeIncludeSwitches ? QDialog::Rejected : QDialog::Accepted);
}

void PrintPlotDialog::SetUpPrinter() {
  QPrintDialog setup(&printer_, this);
  setup.exec();
  ApplyOptions();
}

}  // namespace kestra::app
