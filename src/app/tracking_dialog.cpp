#include "app/tracking_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "render/qt_colour.h"

namespace kestra::app {

QString TimeUnitName(int unit) {
  return unit >= 0 && unit < kTimeUnitCount ? QString::fromUtf8(kTimeUnitNames[unit]) : QString();
}

TrackingDialog::TrackingDialog(const TrackingEntries& entries, const StressPeriods& periods, UserInterface& ui,
                               QWidget* parent)
    : QDialog(parent),
      entries_(entries),
      periods_(periods),
      ui_(ui),
      shownUnit_(entries.timeUnit),
      layerColors_(entries.layerColors) {
  setObjectName("pathlines");
  setWindowTitle(tr("Particle Tracking (Time) Properties"));
  auto* tabs = new QTabWidget(this);
  // Every tab heading shows at once; none hides behind scroll arrows.
  tabs->setUsesScrollButtons(false);
  tabs->addTab(TimePage(), tr("Time"));
  tabs->addTab(MarksPage(), tr("Time marks"));
  tabs->addTab(SimulationPage(), tr("Simulation"));
  tabs->addTab(SourcesPage(), tr("Sources and sinks"));
  if (!entries_.layerPorosity.empty()) tabs->addTab(PorosityPage(), tr("Porosity"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TrackingDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TrackingDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
  setMinimumSize(layout->sizeHint());
}

QLineEdit* TrackingDialog::AddField(const char* name, const std::string& text) {
  auto* field = new QLineEdit(QString::fromStdString(text).trimmed(), this);
  field->setObjectName(name);
  return field;
}

QCheckBox* TrackingDialog::AddCheck(const char* name, const QString& caption, bool checked) {
  auto* box = new QCheckBox(caption, this);
  box->setObjectName(name);
  box->setChecked(checked);
  return box;
}

// Radio buttons under a heading, one of them checked.
QButtonGroup* TrackingDialog::AddOptions(QBoxLayout* column, const QString& heading, const char* name,
                                         const QStringList& captions, int checked) {
  auto* box = new QGroupBox(heading, this);
  box->setObjectName(QString("%1_group").arg(name));
  auto* options = new QVBoxLayout(box);
  auto* group = new QButtonGroup(this);
  group->setObjectName(name);
  for (int index = 0; index < captions.size(); ++index) {
    auto* option = new QRadioButton(captions[index], box);
    option->setObjectName(QString("%1_%2").arg(name).arg(index));
    option->setChecked(index == checked);
    group->addButton(option, index);
    options->addWidget(option);
  }
  column->addWidget(box);
  return group;
}

QWidget* TrackingDialog::TimePage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  stressPeriod_ = AddField("Stress_period", entries_.stressPeriod);
  timeStep_ = AddField("time_step", entries_.timeStep);
  stepLength_ = AddField("Step_length", entries_.stepLength);
  timeUnit_ = new QComboBox(page);
  timeUnit_->setObjectName("time_unit");
  for (const char* name : kTimeUnitNames) timeUnit_->addItem(QString::fromUtf8(name));
  timeUnit_->setCurrentIndex(entries_.timeUnit);
  connect(timeUnit_, &QComboBox::currentIndexChanged, this, &TrackingDialog::UnitChanged);
  maximumSteps_ = AddField("Maximum_steps", entries_.maximumSteps);
  form->addRow(tr("Stress period"), stressPeriod_);
  form->addRow(tr("Time step"), timeStep_);
  form->addRow(tr("Step length"), stepLength_);
  form->addRow(tr("Time unit"), timeUnit_);
  form->addRow(tr("Maximum number of steps"), maximumSteps_);
  return page;
}

QWidget* TrackingDialog::MarksPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  markInterval_ = AddField("Mark_interval", entries_.markInterval);
  markOnTopView_ = AddCheck("draw_mark_check", tr("Draw time marks on the plan view"), entries_.markOnTopView);
  arrowSize_ = AddField("arrow_size_edit", entries_.arrowSize);
  markOnXsections_ = AddCheck("v_draw_mark_check", tr("Draw time marks on the cross-sections"),
                              entries_.markOnXsections);
  sectionMarkSize_ = AddField("v_size_Edit", entries_.sectionMarkSize);
  form->addRow(tr("Steps between time marks"), markInterval_);
  form->addRow(markOnTopView_);
  form->addRow(tr("Mark size on the plan view"), arrowSize_);
  form->addRow(markOnXsections_);
  form->addRow(tr("Mark size on the cross-sections"), sectionMarkSize_);
  return page;
}

QWidget* TrackingDialog::SimulationPage() {
  auto* page = new QWidget(this);
  auto* column = new QVBoxLayout(page);
  simulationMode_ = AddOptions(column, tr("Simulation mode"), "simulation_mode_option",
                               {tr("Flowlines, use the flow field from the current time step"),
                                tr("Pathlines, use the transient flow fields of the simulation")},
                               entries_.simulationMode == 1 ? 0 : 1);
  auto* stops = new QGroupBox(tr("Stopping rules"), page);
  stops->setObjectName("particle_stop_group");
  auto* stopColumn = new QVBoxLayout(stops);
  stopAtWeakSinks_ = AddCheck("particle_stop_option_0",
                              tr("Particles tracked forward stop, when they enter weak sink cells"),
                              entries_.stopAtWeakSinks);
  stopAtWeakSources_ = AddCheck("particle_stop_option_2",
                                tr("Particles tracked backward stop, when they enter weak source cells"),
                                entries_.stopAtWeakSources);
  stopAtTimeLimit_ = AddCheck("particle_stop_option_1",
                              tr("Particles stop, when the simulation time limit is reached"), entries_.stopAtTimeLimit);
  stopColumn->addWidget(stopAtWeakSinks_);
  stopColumn->addWidget(stopAtWeakSources_);
  holdUnsavedSteps_ = AddCheck("hold_unsaved_steps",
                               tr("Pathlines hold the last saved flow field over time steps not saved"),
                               entries_.holdUnsavedSteps);
  stopColumn->addWidget(stopAtTimeLimit_);
  stopColumn->addWidget(holdUnsavedSteps_);
  column->addWidget(stops);
  auto* colours = new QGroupBox(tr("Pathline colours"), page);
  colours->setObjectName("layer_colour_group");
  auto* colourColumn = new QVBoxLayout(colours);
  useLayerColors_ = AddCheck("Check1", tr("Use the following table, ignore the particle colors"),
                             entries_.useLayerColors);
  backwardColourButton_ = new QPushButton(tr("Color of pathlines tracked backward..."), colours);
  backwardColourButton_->setObjectName("backward_color");
  connect(backwardColourButton_, &QPushButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(ToQColor(backwardColour_), this);
    if (chosen.isValid()) SetBackwardColour(FromQColor(chosen));
  });
  colourColumn->addWidget(backwardColourButton_);
  colourColumn->addWidget(useLayerColors_);
  colourColumn->addWidget(LayerColorTable());
  column->addWidget(SinksAndReleaseGroup());
  column->addWidget(colours);
  return page;
}

// Which boundary cells end the tracking, and when pathlines start.
QWidget* TrackingDialog::SinksAndReleaseGroup() {
  auto* group = new QGroupBox(tr("Sinks and release"), this);
  group->setObjectName("sinks_and_release");
  auto* column = new QVBoxLayout(group);
  boundaryCells_ = AddOptions(column, tr("Boundary cells:"), "boundary_cells_option",
                              {tr("all are sinks"), tr("sinks by flow sign")},
                              entries_.allBoundaryCellsAreSinks ? 0 : 1);
  faceVelocities_ = AddOptions(column, tr("Face velocities:"), "face_velocities_option",
                               {tr("each cell's own"), tr("interpolated between cells")},
                               entries_.interpolatedFaces ? 1 : 0);
  releaseTime_ = AddField("release_time", entries_.releaseTime);
  releaseTime_->setPlaceholderText(tr("start of the time step"));
  auto* form = new QFormLayout;
  form->addRow(tr("Pathlines start at simulation time:"), releaseTime_);
  column->addLayout(form);
  return group;
}

QWidget* TrackingDialog::SourcesPage() {
  auto* page = new QWidget(this);
  auto* column = new QVBoxLayout(page);
  recharge_ = AddOptions(column, tr("Recharge"), "Recharge_assignment",
                         {tr("Assign recharge to the top face of cells"), tr("Assign recharge to the bottom face of cells"),
                          tr("Assign recharge to top and bottom cell faces"),
                          tr("Treat recharge as a distributed source")},
                         entries_.rechargeAssignment);
  evapotranspiration_ = AddOptions(column, tr("Evapotranspiration"), "Evapotranspiration_assignment",
                                   {tr("Assign evapotranspiration to the top face of cells"),
                                    tr("Treat evapotranspiration as a distributed sink")},
                                   entries_.evapotranspirationAssignment);
  column->addStretch();
  return page;
}

// Layer numbers and colours; a click on a colour opens the colour dialog.
QWidget* TrackingDialog::LayerColorTable() {
  colorTable_ = new QTableWidget(static_cast<int>(layerColors_.size()), 2, this);
  colorTable_->setObjectName("TDBGrid1");
  colorTable_->setHorizontalHeaderLabels({tr("Layer"), tr("Color")});
  colorTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  colorTable_->verticalHeader()->hide();
  for (int row = 0; row < colorTable_->rowCount(); ++row) {
    colorTable_->setItem(row, 0, new QTableWidgetItem(QString::number(row + 1)));
    auto* colour = new QTableWidgetItem;
    colour->setBackground(ToQColor(layerColors_[row]));
    colorTable_->setItem(row, 1, colour);
  }
  connect(colorTable_, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (column == 1) ChooseLayerColour(row);
  });
  return colorTable_;
}

void TrackingDialog::ChooseLayerColour(int row) {
  const QColor chosen = QColorDialog::getColor(ToQColor(layerColors_[row]), this);
  if (!chosen.isValid()) return;
  layerColors_[row] = FromQColor(chosen);
  colorTable_->item(row, 1)->setBackground(chosen);
}

// One porosity per layer; an empty field keeps the model's.
QWidget* TrackingDialog::PorosityPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  form->addRow(new QLabel(tr("Effective porosity of each layer (fraction of the volume, above 0 and at most 1).\n"
                             "A value set here replaces the model's for the whole layer."),
                          page));
  for (std::size_t k = 0; k < entries_.layerPorosity.size(); ++k) {
    const QString name = QString("porosity_edit_%1").arg(k + 1);
    layerPorosity_.push_back(AddField(name.toUtf8().constData(), entries_.layerPorosity[k]));
    form->addRow(tr("Layer %1").arg(k + 1), layerPorosity_.back());
  }
  return page;
}

void TrackingDialog::SetBackwardColour(std::int32_t colour) {
  backwardColour_ = colour;
  backwardColourButton_->setStyleSheet(
      QString("border: 3px solid %1; padding: 3px 8px;").arg(ToQColor(colour).name()));
}

// A layer the settings leave to the model shows the model's porosity; kept
// unchanged, it stays the model's.
void TrackingDialog::ShowModelPorosity(const std::vector<std::string>& modelPorosity) {
  modelPorosity_ = modelPorosity;
  for (std::size_t k = 0; k < layerPorosity_.size() && k < modelPorosity.size(); ++k) {
    QLineEdit* field = layerPorosity_[k];
    if (!field->text().isEmpty()) continue;
    field->setText(QString::fromStdString(modelPorosity[k]));
    field->setPlaceholderText(tr("varies by cell"));
  }
}

// The value shown follows the unit box, so the step keeps its length.
void TrackingDialog::UnitChanged(int unit) {
  stepLength_->setText(
      QString::fromStdString(ConvertedStepLength(stepLength_->text().toStdString(), shownUnit_, unit)).trimmed());
  shownUnit_ = unit;
}

TrackingEntries TrackingDialog::Typed() const {
  TrackingEntries e;
  e.stressPeriod = stressPeriod_->text().toStdString();
  e.timeStep = timeStep_->text().toStdString();
  e.stepLength = stepLength_->text().toStdString();
  e.markInterval = markInterval_->text().toStdString();
  e.arrowSize = arrowSize_->text().toStdString();
  e.sectionMarkSize = sectionMarkSize_->text().toStdString();
  e.maximumSteps = maximumSteps_->text().toStdString();
  e.timeUnit = timeUnit_->currentIndex();
  e.markOnTopView = markOnTopView_->isChecked();
  e.markOnXsections = markOnXsections_->isChecked();
  e.simulationMode = simulationMode_->checkedId() == 0 ? 1 : 2;
  e.stopAtWeakSinks = stopAtWeakSinks_->isChecked();
  e.stopAtWeakSources = stopAtWeakSources_->isChecked();
  e.holdUnsavedSteps = holdUnsavedSteps_->isChecked();
  e.interpolatedFaces = faceVelocities_->checkedId() == 1;
  e.stopAtTimeLimit = stopAtTimeLimit_->isChecked();
  e.rechargeAssignment = recharge_->checkedId();
  e.evapotranspirationAssignment = evapotranspiration_->checkedId();
  e.useLayerColors = useLayerColors_->isChecked();
  e.allBoundaryCellsAreSinks = boundaryCells_->checkedId() == 0;
  e.releaseTime = releaseTime_->text().toStdString();
  e.layerColors = layerColors_;
  for (std::size_t k = 0; k < layerPorosity_.size(); ++k) {
    const std::string text = layerPorosity_[k]->text().trimmed().toStdString();
    const bool modelValue = k < modelPorosity_.size() && entries_.layerPorosity[k].empty() && text == modelPorosity_[k];
    e.layerPorosity.push_back(modelValue ? std::string() : text);
  }
  return e;
}

void TrackingDialog::accept() {
  const TrackingEntries typed = Typed();
  const TrackingCheck check = CheckTrackingEntries(typed, periods_);
  if (!check.message.empty()) {
    Complain(ui_, check.message, MessageIcon::Exclamation, kErrorTitle);
    QLineEdit* fields[] = {nullptr, stressPeriod_, timeStep_, stepLength_, arrowSize_, sectionMarkSize_};
    if (check.field == TrackingField::Porosity) layerPorosity_[check.layer - 1]->setFocus();
    else if (check.field == TrackingField::ReleaseTime) releaseTime_->setFocus();
    else fields[static_cast<int>(check.field)]->setFocus();
    return;
  }
  entries_ = typed;
  QDialog::accept();
}

}  // namespace kestra::app
