#include "app/maps_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/file_field.h"
#include "core/number_format.h"
#include "export/dxf_maps.h"
#include "render/qt_colour.h"

namespace kestra::app {
namespace {

// A row without a map offers a factor of 1 and dark blue: the settings file
// stores 0 and black for unused rows, and a map typed into such a row would
// otherwise draw nothing.
DxfMapEntry OfferedEntry(const DxfMapEntry& entry) {
  if (!entry.file.empty() || entry.factor != 0) return entry;
  DxfMapEntry offered = entry;
  offered.factor = 1;
  if (offered.color == 0) offered.color = kDefaultMapColour;
  return offered;
}

QString Named(const char* name, int row) { return QString("%1_%2").arg(name).arg(row); }

QLineEdit* NamedField(const char* name, int index, const std::string& text) {
  auto* field = new QLineEdit(QString::fromStdString(text));
  field->setObjectName(Named(name, index));
  return field;
}

QLineEdit* AddField(QGridLayout* grid, int row, int column, const char* caption, const char* name, int index,
                    const std::string& text) {
  grid->addWidget(new QLabel(QObject::tr(caption)), row, column);
  QLineEdit* field = NamedField(name, index, text);
  grid->addWidget(field, row, column + 1);
  return field;
}

// The columns of a map's row: its check box, file, shifts, factor, colour.
constexpr int kFileColumn = 1;
constexpr int kShiftXColumn = 3;
constexpr int kShiftYColumn = 5;
constexpr int kFactorColumn = 7;
constexpr int kColourColumn = 9;

float FieldNumber(const QLineEdit* field) {
  return static_cast<float>(LeadingNumber(field->text().toStdString()));
}

}  // namespace

std::string MissingMapMessage(const std::string& file) { return "The file " + file + " dose not exist!"; }

MapsDialog::MapsDialog(std::array<DxfMapEntry, kDxfMapCount + 1>& maps, UserInterface& ui, QWidget* parent)
    : QDialog(parent), maps_(maps), ui_(ui) {
  setObjectName("maps");
  setWindowTitle(tr("Maps Options"));
  auto* grid = new QGridLayout;
  for (int row = 0; row < kDxfMapCount; ++row) {
    const DxfMapEntry& entry = OfferedEntry(maps_[row + 1]);
    Row& r = rows_[row];
    r.check = new QCheckBox(tr("Map %1").arg(row + 1));
    r.check->setObjectName(Named("DXF_check", row));
    r.check->setChecked(IsOn(entry.display));
    grid->addWidget(r.check, row, 0);
    grid->addWidget(new QLabel(tr("DXF File:")), row, kFileColumn);
    r.file = NamedField("DXF_Files", row, entry.file);
    r.file->setMinimumWidth(280);
    r.file->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(r.file, &QWidget::customContextMenuRequested, this, [this, row] { ChooseFile(row); });
    const QByteArray browseName = Named("DXF_browse", row).toLatin1();
    grid->addLayout(FileFieldRow(r.file, browseName.constData(), [this, row] { ChooseFile(row); }), row,
                    kFileColumn + 1);
    r.shiftX = AddField(grid, row, kShiftXColumn, "X:", "DXF_shift_X", row, NumberText(entry.shiftX));
    r.shiftY = AddField(grid, row, kShiftYColumn, "Y:", "DXF_shift_Y", row, NumberText(entry.shiftY));
    r.factor = AddField(grid, row, kFactorColumn, "Factor:", "DXF_factor", row, NumberText(entry.factor));
    r.colour = new QPushButton;
    r.colour->setObjectName(Named("DXF_color", row));
    r.colour->setFixedWidth(40);
    connect(r.colour, &QPushButton::clicked, this, [this, row] { ChooseColour(row); });
    grid->addWidget(r.colour, row, kColourColumn);
    colours_[row] = entry.color;
    ShowColour(row);
  }
  auto* buttons = new QDialogButtonBox;
  ok_ = buttons->addButton(QDialogButtonBox::Ok);
  ok_->setObjectName("OK");
  buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("Cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &MapsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &MapsDialog::reject);
  auto* hint = new QLabel(tr(kMapsHint));
  hint->setObjectName("hint");
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(hint);
  layout->addWidget(buttons);
}

void MapsDialog::ChooseFile(int row) {
  const QString name =
      QFileDialog::getOpenFileName(this, tr("AutoCAD DXF"), rows_[row].file->text(), tr("AutoCAD DXF (*.dxf)"));
  if (!name.isEmpty()) rows_[row].file->setText(name);
}

void MapsDialog::ChooseColour(int row) {
  const QColor chosen = QColorDialog::getColor(ToQColor(colours_[row]), this);
  if (chosen.isValid()) {
    colours_[row] = FromQColor(chosen);
    ShowColour(row);
  }
  ok_->setFocus();
}

void MapsDialog::ShowColour(int row) {
  rows_[row].colour->setStyleSheet(QString("background-color: %1;").arg(ToQColor(colours_[row]).name()));
}

void MapsDialog::accept() {
  for (Row& r : rows_) {
    const QString file = r.file->text();
    if (r.check->isChecked() && !QFileInfo(file).isFile()) {
      Complain(ui_, MissingMapMessage(file.toStdString()), MessageIcon::Exclamation);
      r.file->setFocus();
      return;
    }
  }
  for (int row = 0; row < kDxfMapCount; ++row) {
    const Row& r = rows_[row];
    DxfMapEntry& entry = maps_[row + 1];
    entry.file = r.file->text().toStdString();
    entry.shiftX = FieldNumber(r.shiftX);
    entry.shiftY = FieldNumber(r.shiftY);
    entry.factor = FieldNumber(r.factor);
    entry.color = colours_[row];
    entry.display = r.check->isChecked() ? kOn : kOff;
  }
  QDialog::accept();
}

}  // namespace kestra::app
