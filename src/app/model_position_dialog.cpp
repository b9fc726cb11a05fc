#include "app/model_position_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/number_format.h"
#include "core/text_reader.h"
#include "export/gis_writer.h"

namespace kestra::app {
namespace {

constexpr const char* kDialogTitle = "Model Position";

std::optional<double> FiniteNumberIn(const QLineEdit* field) {
  return ParseFiniteNumber(field->text().trimmed().toStdString());
}

}  // namespace

ModelPositionDialog::ModelPositionDialog(const WorldPosition& position, LengthUnit unit, UserInterface& ui,
                                         QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setObjectName("model_position_form");
  setWindowTitle(tr(kDialogTitle));
  xOrigin_ = AddNumberField("position_x_origin", position.xOrigin);
  yOrigin_ = AddNumberField("position_y_origin", position.yOrigin);
  rotation_ = AddNumberField("position_rotation", position.rotation);
  crs_ = new QLineEdit(QString::fromStdString(position.crs), this);
  crs_->setObjectName("position_crs");
  crs_->setPlaceholderText(tr("EPSG:32633, a WKT or a PROJ string"));
  const std::string symbol = LengthUnitSymbol(unit);
  const QString unitText = symbol.empty() ? tr("model units") : QString::fromStdString(symbol);

  auto* form = new QFormLayout;
  form->addRow(tr("X of the lower-left corner (%1):").arg(unitText), xOrigin_);
  form->addRow(tr("Y of the lower-left corner (%1):").arg(unitText), yOrigin_);
  form->addRow(tr("Rotation (degrees counter-clockwise):"), rotation_);
  form->addRow(tr("Coordinate reference system:"), crs_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ModelPositionDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ModelPositionDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

QLineEdit* ModelPositionDialog::AddNumberField(const char* objectName, double value) {
  auto* field = new QLineEdit(QString::fromStdString(TrimmedNumberText(value)), this);
  field->setObjectName(objectName);
  return field;
}

void ModelPositionDialog::accept() {
  PositionChoice read;
  for (auto [field, value] :
       {std::pair{xOrigin_, &read.xOrigin}, std::pair{yOrigin_, &read.yOrigin}, std::pair{rotation_, &read.rotation}}) {
    *value = FiniteNumberIn(field);
    if (!*value) {
      Complain(ui_, "Enter a number.", MessageIcon::Exclamation);
      field->setFocus();
      return;
    }
  }
  read.crs = crs_->text().trimmed().toStdString();
  if (const std::string problem = CrsProblem(*read.crs); !problem.empty()) {
    Complain(ui_, "The position cannot be used: " + problem + ".", MessageIcon::Exclamation);
    crs_->setFocus();
    return;
  }
  choice_ = read;
  QDialog::accept();
}

}  // namespace kestra::app
