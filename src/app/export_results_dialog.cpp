#include "app/export_results_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/file_field.h"

namespace kestra::app {
namespace {

constexpr const char* kDialogTitle = "Export Results";
constexpr const char* kOverwriteQuestion = " already exists. Overwrite?";

struct KindEntry {
  ExportKind kind;
  const char* label;
};
constexpr KindEntry kKinds[] = {
    {ExportKind::Pathlines, "Pathlines of the runs"},
    {ExportKind::Endpoints, "End and release points of the runs"},
    {ExportKind::CaptureZones, "Capture zones drawn"},
    {ExportKind::Contours, "Contour lines of the layer"},
    {ExportKind::Grid, "Cells of the layer (or the whole grid for ParaView)"},
    {ExportKind::Heads, "Heads of the layer"},
    {ExportKind::Drawdowns, "Drawdowns of the layer"},
    {ExportKind::Velocity, "Velocities of the layer"},
};

struct FormatEntry {
  ExportFormat format;
  const char* label;
  const char* extension;
};
constexpr FormatEntry kFormats[] = {
    {ExportFormat::GeoPackage, "GeoPackage (*.gpkg)", ".gpkg"},
    {ExportFormat::Shapefile, "ESRI shapefile (*.shp)", ".shp"},
    {ExportFormat::GeoJson, "GeoJSON, WGS 84 (*.geojson)", ".geojson"},
    {ExportFormat::Csv, "CSV with WKT geometry (*.csv)", ".csv"},
    {ExportFormat::GeoTiff, "GeoTIFF raster (*.tif)", ".tif"},
    {ExportFormat::TextArray, "Text array (*.txt)", ".txt"},
    {ExportFormat::VtkGrid, "VTK unstructured grid for ParaView (*.vtu)", ".vtu"},
    {ExportFormat::VtkPolyData, "VTK poly data for ParaView (*.vtp)", ".vtp"},
};

const FormatEntry& EntryOf(ExportFormat format) {
  for (const FormatEntry& entry : kFormats)
    if (entry.format == format) return entry;
  return kFormats[0];
}

}  // namespace

ExportResultsDialog::ExportResultsDialog(const ExportResultsChoice& choice, UserInterface& ui, QWidget* parent)
    : QDialog(parent), choice_(choice), ui_(ui) {
  setObjectName("export_results_form");
  setWindowTitle(tr(kDialogTitle));
  kind_ = new QComboBox(this);
  kind_->setObjectName("export_kind");
  for (const KindEntry& entry : kKinds) kind_->addItem(tr(entry.label), static_cast<int>(entry.kind));
  kind_->setCurrentIndex(kind_->findData(static_cast<int>(choice.kind)));
  format_ = new QComboBox(this);
  format_->setObjectName("export_format");
  file_ = new QLineEdit(QString::fromStdString(choice.fileName), this);
  file_->setObjectName("export_file");
  FillFormats();
  format_->setCurrentIndex(std::max(0, format_->findData(static_cast<int>(choice.format))));
  connect(kind_, &QComboBox::currentIndexChanged, this, [this] {
    FillFormats();
    FollowFormat();
  });
  connect(format_, &QComboBox::currentIndexChanged, this, &ExportResultsDialog::FollowFormat);

  QHBoxLayout* fileRow = FileFieldRow(file_, "export_browse", [this] { BrowseFile(); });
  auto* form = new QFormLayout;
  form->addRow(tr("Export:"), kind_);
  form->addRow(tr("Format:"), format_);
  form->addRow(tr("File:"), fileRow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ExportResultsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ExportResultsDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(tr("Coordinates are world coordinates in the model's length unit, placed as "
                                  "Options, Model Position says."),
                               this));
  layout->addWidget(buttons);
}

ExportKind ExportResultsDialog::Kind() const { return static_cast<ExportKind>(kind_->currentData().toInt()); }
ExportFormat ExportResultsDialog::Format() const { return static_cast<ExportFormat>(format_->currentData().toInt()); }

void ExportResultsDialog::FillFormats() {
  const QSignalBlocker quiet(format_);
  format_->clear();
  for (const ExportFormat format : FormatsOf(Kind()))
    format_->addItem(tr(EntryOf(format).label), static_cast<int>(format));
}

// The file name takes the extension of the format chosen.
void ExportResultsDialog::FollowFormat() {
  if (file_->text().isEmpty()) return;
  std::filesystem::path path(file_->text().toStdString());
  path.replace_extension(EntryOf(Format()).extension);
  file_->setText(QString::fromStdString(path.string()));
}

void ExportResultsDialog::BrowseFile() {
  const QString chosen = QFileDialog::getSaveFileName(this, tr(kDialogTitle), file_->text(),
                                                      tr(EntryOf(Format()).label) + ";;" + tr("All files (*)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
  if (!chosen.isEmpty()) file_->setText(chosen);
}

void ExportResultsDialog::accept() {
  const std::string fileName = file_->text().toStdString();
  if (fileName.empty()) {
    Complain(ui_, "No file name is given.", MessageIcon::Exclamation);
    file_->setFocus();
    return;
  }
  if (QFileInfo::exists(file_->text()) && !ui_.AskYesNo(fileName + kOverwriteQuestion, kDialogTitle)) return;
  choice_ = {Kind(), Format(), fileName};
  QDialog::accept();
}

}  // namespace kestra::app
