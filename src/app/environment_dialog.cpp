#include "app/environment_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/colour_swatch.h"
#include "app/contour_dialogs.h"
#include "core/round_numbers.h"
#include "graphics/contour_table_edits.h"
#include "render/qt_colour.h"
#include "settings/settings_file.h"

namespace kestra::app {
namespace {

enum GridColumn { kLevelColumn, kColourColumn, kLabelColumn, kHeightColumn, kSpacingColumn };
enum Page { kContoursPage, kGridPage, kSectionsPage, kVectorsPage };
constexpr int kVectorSwatch = kPlanElementCount;
constexpr int kWaterTable = 10;
constexpr const char* kContourFilter = "Contour Files (*.ctr)";

const char* const kElementCaptions[kPlanElementCount] = {
    "Grid",  "Inactive Cells", "Constant Head", "Ghb Cells",   "Well (discharge)", "Well ( recharge )",
    "Drain", "River/Stream",   "Slurry Wall",   "Reservoir",   "Show groundwater surface (potential)"};

// Levels and label sizes in plain decimals of about six digits, as they read.
QString Shown(double value) { return QString::fromStdString(PlainText(value)); }

// The dialog opens at the size it was left at; the first time, at one that
// shows every tab whole.
constexpr const char* kGeometryKey = "environment_dialog/geometry";
constexpr QSize kFirstSize(780, 560);

}  // namespace

EnvironmentDialog::EnvironmentDialog(Session& session, float minElevation, float maxElevation, UserInterface& ui,
                                     QWidget* parent)
    : QDialog(parent),
      session_(session),
      ui_(ui),
      entries_(EnvironmentEntriesFrom(session.settings, minElevation, maxElevation)),
      minElevation_(minElevation),
      maxElevation_(maxElevation) {
  setObjectName("Environment_options");
  setWindowTitle(tr("Environment Options"));
  auto* layout = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  pages_->setObjectName("SSTab1");
  pages_->addTab(ContoursPage(), tr("Contours"));
  pages_->addTab(GridPage(), tr("Grid Appearance"));
  pages_->addTab(SectionsPage(), tr("Cross Sections"));
  pages_->addTab(VectorsPage(), tr("Velocity Vectors"));
  layout->addWidget(pages_);
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(tr("OK"), this);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  ok->setObjectName("OK");
  cancel->setObjectName("Cancel");
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // The levels of the open model's contour file, or its default levels.
  session_.contours = ReadContourLevels(ModelSiblingPath(session_.model, ".ctr"), session_.model, session_.settings,
                                        session_.loaded.drawdownsLoaded, ui_);
  FillGrid();
  resize(kFirstSize);
  restoreGeometry(QSettings().value(kGeometryKey).toByteArray());
}

void EnvironmentDialog::done(int result) {
  QSettings().setValue(kGeometryKey, saveGeometry());
  QDialog::done(result);
}

QWidget* EnvironmentDialog::ContoursPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  grid_ = new QTableWidget(0, 5, page);
  grid_->setObjectName("TDBGrid1");
  grid_->setHorizontalHeaderLabels({tr("Level"), tr("Color"), tr("Label"), tr("Label Height"), tr("Label Spacing")});
  connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &EnvironmentDialog::OpenColumnDialog);
  connect(grid_, &QTableWidget::cellChanged, this, &EnvironmentDialog::LevelCellChanged);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
    if (column == kColourColumn) ChooseLevelColour(row);
  });
  layout->addWidget(grid_);
  auto* switches = new QHBoxLayout;
  contoursVisible_ = new QCheckBox(tr("Visible"), page);
  contoursVisible_->setObjectName("Contour_Visible");
  contoursVisible_->setChecked(entries_.contoursVisible);
  switches->addWidget(contoursVisible_);
  dataSource_ = new QButtonGroup(page);
  const QString sources[2] = {tr("Head"), tr("Drawdown")};
  for (int n = 0; n < 2; ++n) {
    auto* option = new QRadioButton(sources[n], page);
    option->setObjectName(QString("Option1_%1").arg(n));
    dataSource_->addButton(option, n);
    switches->addWidget(option);
  }
  dataSource_->button(1)->setEnabled(session_.loaded.drawdownsLoaded);
  dataSource_->button(entries_.dataSource == kDrawdownDataSource ? 1 : 0)->setChecked(true);
  // The data source changes at once.
  connect(dataSource_, &QButtonGroup::idClicked, this,
          [this](int id) { session_.settings.contourDataSource = static_cast<std::int16_t>(id); });
  labelUphill_ = new QCheckBox(tr("Orient labels uphill"), page);
  labelUphill_->setObjectName("Check1");
  labelUphill_->setChecked(entries_.labelUphill);
  switches->addWidget(labelUphill_);
  layout->addLayout(switches);
  auto* commands = new QHBoxLayout;
  const QString captions[4] = {tr("Save"), tr("Load"), tr("Restore Defualts"), tr("Label Format")};
  void (EnvironmentDialog::*actions[4])() = {&EnvironmentDialog::SaveLevels, &EnvironmentDialog::LoadLevels,
                                             &EnvironmentDialog::RestoreDefaults, &EnvironmentDialog::OpenLabelFormat};
  for (int n = 0; n < 4; ++n) {
    auto* button = new QPushButton(captions[n], page);
    button->setObjectName(QString("Command1_%1").arg(n));
    connect(button, &QPushButton::clicked, this, actions[n]);
    commands->addWidget(button);
  }
  layout->addLayout(commands);
  return page;
}

QPushButton* EnvironmentDialog::AddSwatch(int index) {
  auto* swatch = new QPushButton(this);
  swatch->setObjectName(index == kVectorSwatch ? QString("velocity_vector_color")
                                               : QString("model_worksheet_colors_%1").arg(index));
  swatch->setFixedWidth(48);
  swatchColours_[index] = index == kVectorSwatch ? entries_.vectorColour : entries_.colours[index];
  ShowSwatch(swatch, swatchColours_[index]);
  connect(swatch, &QPushButton::clicked, this, [this, index] { ChooseSwatchColour(index); });
  swatches_[index] = swatch;
  return swatch;
}

QWidget* EnvironmentDialog::GridPage() {
  auto* page = new QGroupBox(tr("Grid Appearance"), this);
  auto* form = new QFormLayout(page);
  for (int n = 0; n < kWaterTable; ++n) {
    shown_[n] = new QCheckBox(tr(kElementCaptions[n]), page);
    shown_[n]->setObjectName(QString("model_worksheet_check_%1").arg(n));
    shown_[n]->setChecked(entries_.shown[n]);
    form->addRow(shown_[n], AddSwatch(n));
  }
  return page;
}

QLineEdit* EnvironmentDialog::AddField(QWidget* page, const char* name, const QString& label,
                                       const std::string& text) {
  auto* field = new QLineEdit(QString::fromStdString(text), page);
  field->setObjectName(name);
  static_cast<QFormLayout*>(page->layout())->addRow(label, field);
  return field;
}

QWidget* EnvironmentDialog::SectionsPage() {
  auto* page = new QGroupBox(tr("Cross Sections"), this);
  auto* form = new QFormLayout(page);
  shown_[kWaterTable] = new QCheckBox(tr(kElementCaptions[kWaterTable]), page);
  shown_[kWaterTable]->setObjectName(QString("model_worksheet_check_%1").arg(kWaterTable));
  shown_[kWaterTable]->setChecked(entries_.shown[kWaterTable]);
  form->addRow(shown_[kWaterTable], AddSwatch(kWaterTable));
  row_ = AddField(page, "Projection_Row", tr("Projection Row:"), entries_.row);
  column_ = AddField(page, "Projection_Column", tr("Projection Column:"), entries_.column);
  minElevationField_ = AddField(page, "MinElevation", tr("Minimum Elevation:"), entries_.minElevation);
  maxElevationField_ = AddField(page, "MaxElevation", tr("Maximum Elevation:"), entries_.maxElevation);
  exaggeration_ = AddField(page, "factor_edit", tr("Exaggeration:"), entries_.exaggeration);
  sectionsVisible_ = new QCheckBox(tr("Visible"), page);
  sectionsVisible_->setObjectName("CrossVisible");
  sectionsVisible_->setChecked(entries_.sectionsVisible);
  sectionGrid_ = new QCheckBox(tr("Show grid"), page);
  sectionGrid_->setObjectName("CrossGrid");
  sectionGrid_->setChecked(entries_.sectionGrid);
  form->addRow(sectionsVisible_, sectionGrid_);
  return page;
}

QWidget* EnvironmentDialog::VectorsPage() {
  auto* page = new QGroupBox(tr("Velocity Vectors"), this);
  auto* form = new QFormLayout(page);
  vectorsVisible_ = new QCheckBox(tr("Visible"), page);
  vectorsVisible_->setObjectName("velocity_vector_check");
  vectorsVisible_->setChecked(entries_.vectorsVisible);
  form->addRow(vectorsVisible_, AddSwatch(kVectorSwatch));
  vectorSize_ = AddField(page, "vector_size_edit", tr("Vector Size:"), entries_.vectorSize);
  return page;
}

void EnvironmentDialog::FillGrid() {
  filling_ = true;
  const auto& levels = session_.contours.levels;
  grid_->setRowCount(static_cast<int>(levels.size()));
  for (int row = 0; row < grid_->rowCount(); ++row) {
    const ContourLevel& level = levels[static_cast<std::size_t>(row)];
    grid_->setItem(row, kLevelColumn, new QTableWidgetItem(Shown(level.value)));
    auto* colour = new QTableWidgetItem;
    colour->setFlags(Qt::ItemIsEnabled);
    colour->setBackground(ToQColor(level.colour));
    grid_->setItem(row, kColourColumn, colour);
    auto* label = new QTableWidgetItem;
    label->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    label->setCheckState(level.label != 0 ? Qt::Checked : Qt::Unchecked);
    grid_->setItem(row, kLabelColumn, label);
    grid_->setItem(row, kHeightColumn, new QTableWidgetItem(Shown(level.labelHeight)));
    grid_->setItem(row, kSpacingColumn, new QTableWidgetItem(Shown(level.labelSpacing)));
  }
  filling_ = false;
}

// An edited cell goes into the level table at once; a value that is not a
// number, or a label size not above 0, is refused and the cell shows the old value.
void EnvironmentDialog::LevelCellChanged(int row, int column) {
  if (filling_) return;
  ContourLevel& level = session_.contours.levels[static_cast<std::size_t>(row)];
  if (column == kLabelColumn) {
    level.label = grid_->item(row, column)->checkState() == Qt::Checked ? 1 : 0;
    return;
  }
  bool number = false;
  const double value = grid_->item(row, column)->text().trimmed().toDouble(&number);
  float* target = column == kLevelColumn    ? &level.value
                  : column == kHeightColumn ? &level.labelHeight
                                            : &level.labelSpacing;
  std::string refusal;
  if (!number || !std::isfinite(value)) refusal = kValidValueMessage;
  else if (column != kLevelColumn && !(value > 0)) refusal = kPositiveValueMessage;
  if (!refusal.empty()) {
    Complain(ui_, refusal, MessageIcon::Exclamation);
    filling_ = true;
    grid_->item(row, column)->setText(Shown(*target));
    filling_ = false;
    return;
  }
  *target = static_cast<float>(value);
}

void EnvironmentDialog::ChooseLevelColour(int row) {
  ContourLevel& level = session_.contours.levels[static_cast<std::size_t>(row)];
  const auto chosen = ChooseColour(level.colour, this);
  if (!chosen) return;
  level.colour = *chosen;
  grid_->item(row, kColourColumn)->setBackground(ToQColor(*chosen));
}

void EnvironmentDialog::SetSwatchColour(int index, std::int32_t colour) {
  swatchColours_[index] = colour;
  ShowSwatch(swatches_[index], colour);
}

void EnvironmentDialog::ChooseSwatchColour(int index) {
  if (const auto chosen = ChooseColour(swatchColours_[index], this)) SetSwatchColour(index, *chosen);
}

void EnvironmentDialog::OpenColumnDialog(int column) {
  ContourTable& table = session_.contours;
  Settings& settings = session_.settings;
  const float diagonal = GridDiagonal(session_.model);
  if (column == kLevelColumn) {
    // The contoured result of the layer and time step shown now.
    const ValueRange range = DefaultLevelRange(session_.model, settings, session_.loaded.drawdownsLoaded);
    ContourLevelsDialog dialog({range.minimum, range.maximum, (range.maximum - range.minimum) / 10}, ui_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    RebuildLevels(table, dialog.Values().minimum, dialog.Values().maximum, dialog.Values().interval, diagonal);
  } else if (column == kColourColumn) {
    ContourColorsDialog dialog(settings.minContourColor, settings.maxContourColor, ui_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    settings.minContourColor = dialog.Minimum();
    settings.maxContourColor = dialog.Maximum();
    SpreadContourColors(table, settings.minContourColor, settings.maxContourColor);
  } else if (column == kLabelColumn) {
    ContourLabelsDialog dialog(table.ContourCount(), ui_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    SetLabelRule(table, dialog.First(), dialog.Frequency());
  } else {
    const bool height = column == kHeightColumn;
    const float current = table.levels.empty() ? 0 : height ? table.levels[0].labelHeight : table.levels[0].labelSpacing;
    OneValueDialog dialog(height ? tr("Label Height") : tr("Label Spacing"),
                          height ? tr("Label Height=") : tr("Label Spacing="), current, ui_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (height) SetLabelHeights(table, dialog.Value());
    else SetLabelSpacings(table, dialog.Value());
  }
  FillGrid();
}

void EnvironmentDialog::SaveLevels() {
  const QString path = QFileDialog::getSaveFileName(this, tr("Save File"), {}, tr(kContourFilter));
  if (path.isEmpty()) return;
  std::string error;
  if (!WriteContourTable(path.toStdString(), session_.contours, error))
    Complain(ui_, "Cannot write " + error, MessageIcon::Error, kErrorTitle);
}

void EnvironmentDialog::LoadLevels() {
  const QString path = QFileDialog::getOpenFileName(this, tr("Open File"), {}, tr(kContourFilter));
  if (path.isEmpty()) return;
  std::string problem;
  if (!ReadContourTable(path.toStdString(), session_.contours, problem) && !problem.empty())
    Complain(ui_, problem, MessageIcon::Exclamation);
  FillGrid();
}

void EnvironmentDialog::RestoreDefaults() {
  session_.contours = DefaultContourTable(
      DefaultLevelRange(session_.model, session_.settings, session_.loaded.drawdownsLoaded),
      GridDiagonal(session_.model));
  FillGrid();
}

void EnvironmentDialog::OpenLabelFormat() {
  Settings& s = session_.settings;
  LabelFormatDialog dialog({s.labelStyle, s.labelDecimals, s.labelPrefix, s.labelSuffix}, ui_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  s.labelStyle = dialog.Values().style;
  s.labelDecimals = dialog.Values().decimals;
  s.labelPrefix = dialog.Values().prefix;
  s.labelSuffix = dialog.Values().suffix;
  s.labelFormatStored = true;
}

EnvironmentEntries EnvironmentDialog::Typed() const {
  EnvironmentEntries e = entries_;
  e.row = row_->text().toStdString();
  e.column = column_->text().toStdString();
  e.minElevation = minElevationField_->text().toStdString();
  e.maxElevation = maxElevationField_->text().toStdString();
  e.exaggeration = exaggeration_->text().toStdString();
  e.vectorSize = vectorSize_->text().toStdString();
  for (int n = 0; n < kPlanElementCount; ++n) {
    e.shown[n] = shown_[n]->isChecked();
    e.colours[n] = swatchColours_[n];
  }
  e.sectionsVisible = sectionsVisible_->isChecked();
  e.sectionGrid = sectionGrid_->isChecked();
  e.vectorsVisible = vectorsVisible_->isChecked();
  e.vectorColour = swatchColours_[kVectorSwatch];
  e.contoursVisible = contoursVisible_->isChecked();
  e.labelUphill = labelUphill_->isChecked();
  e.dataSource = session_.settings.contourDataSource;
  return e;
}

void EnvironmentDialog::ShowRefusal(QLineEdit* field, const std::string& message) {
  Complain(ui_, message, MessageIcon::Exclamation);
  pages_->setCurrentIndex(field == vectorSize_ ? kVectorsPage : kSectionsPage);
  field->setFocus();
}

void EnvironmentDialog::accept() {
  const EnvironmentEntries typed = Typed();
  const EnvironmentCheck check = CheckEnvironmentEntries(typed, session_.model.NCOL, session_.model.NROW);
  if (!check.message.empty()) {
    QLineEdit* fields[] = {nullptr, row_, column_, minElevationField_, maxElevationField_, exaggeration_, vectorSize_};
    return ShowRefusal(fields[static_cast<int>(check.field)], check.message);
  }
  StoreEnvironmentEntries(typed, session_.settings, minElevation_, maxElevation_);
  if (std::string error; !WriteContourTable(ModelSiblingPath(session_.model, ".ctr"), session_.contours, error))
    Complain(ui_, "Cannot write " + error, MessageIcon::Error, kErrorTitle);
  WriteSettings(session_.settingsPath, session_.settings, ui_);
  QDialog::accept();
}

}  // namespace kestra::app
