#include "app/capture_zone_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/round_numbers.h"
#include "core/text_reader.h"
#include "export/capture_zones.h"
#include "settings/tracking_settings.h"
#include "tracking/capture_tracking.h"
#include "tracking/travel_times.h"

namespace kestra::app {
namespace {

QLineEdit* LengthField(QWidget* parent, const char* objectName, double value) {
  auto* field = new QLineEdit(QString::fromStdString(PlainText(value)), parent);
  field->setObjectName(objectName);
  return field;
}

}  // namespace

CaptureZoneDialog::CaptureZoneDialog(const std::string& start, const CaptureZoneChoice& choice, int timeUnit,
                                     double narrowest, UserInterface& ui, QWidget* parent)
    : QDialog(parent), choice_(choice), timeUnit_(timeUnit), ui_(ui) {
  setObjectName("capture_zone_form");
  setWindowTitle(tr("Capture Zone"));
  timesField_ = new QLineEdit(QString::fromStdString(choice.times), this);
  timesField_->setObjectName("capture_times");
  const QString unit = timeUnit > 0 && timeUnit < kTimeUnitCount ? kTimeUnitNames[timeUnit] : tr("model time units");
  timesField_->setToolTip(tr("Increasing, separated by commas: in %1, or each with s, min, h, d or y").arg(unit));
  divisionsField_ = new QSpinBox(this);
  divisionsField_->setObjectName("capture_face_particles");
  divisionsField_->setRange(1, kMostFaceDivisions);
  divisionsField_->setValue(choice.faceDivisions);
  pixelField_ =
      LengthField(this, "capture_pixel", choice.pixel > 0 ? choice.pixel : narrowest / kPixelsPerNarrowestCell);
  gapField_ = LengthField(this, "capture_gap", choice.gap > 0 ? choice.gap : narrowest);

  auto* form = new QFormLayout;
  form->addRow(new QLabel(QString::fromStdString(start)));
  form->addRow(tr("Travel times (%1):").arg(unit), timesField_);
  form->addRow(tr("Particles along each face edge:"), divisionsField_);
  form->addRow(tr("Raster pixel (model length units):"), pixelField_);
  form->addRow(tr("Gap closed between paths (model length units):"), gapField_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CaptureZoneDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CaptureZoneDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void CaptureZoneDialog::accept() {
  CaptureZoneChoice read;
  read.times = timesField_->text().trimmed().toStdString();
  std::string problem;
  const auto times = ParseTravelTimes(read.times, timeUnit_, problem);
  if (!times) {
    Complain(ui_, "The travel times cannot be used: " + problem + ".", MessageIcon::Exclamation);
    timesField_->setFocus();
    return;
  }
  read.faceDivisions = divisionsField_->value();
  for (auto [field, value] : {std::pair{pixelField_, &read.pixel}, std::pair{gapField_, &read.gap}}) {
    const auto number = ParseFiniteNumber(field->text().trimmed().toStdString());
    if (!number || !(*number > 0)) {
      Complain(ui_, "Enter a length greater than 0.", MessageIcon::Exclamation);
      field->setFocus();
      return;
    }
    *value = *number;
  }
  choice_ = read;
  times_ = *times;
  QDialog::accept();
}

}  // namespace kestra::app
