#include "app/placement_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/number_format.h"
#include "render/qt_colour.h"
#include "tracking/placement_entries.h"

namespace kestra::app {
namespace {

constexpr int kLargestCount = 32767;

const char* const kFaceCaptions[6] = {"Face 1 (NI x NK)=", "Face 2 (NI x NK)=", "Face 3 (NJ x NK)=",
                                      "Face 4 (NJ x NK)=", "Face 5 (NI x NJ)=", "Face 6 (NI x NJ)="};

std::int16_t Count(const QSpinBox* box) { return static_cast<std::int16_t>(box->value()); }

// A field with its unit after it.
QHBoxLayout* WithUnit(QWidget* field, const QString& unit) {
  auto* row = new QHBoxLayout;
  row->addWidget(field);
  row->addWidget(new QLabel(unit));
  return row;
}

QLabel* Explanation(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

ParticlePlacementDialog::ParticlePlacementDialog(PlacementCounts& counts, ParticleSet& particles, UserInterface& ui,
                                                 QWidget* parent, PlacedCount placed)
    : QDialog(parent),
      counts_(counts),
      particles_(particles),
      ui_(ui),
      colour_(particles.DefaultParticleColor),
      placed_(std::move(placed)) {
  setObjectName("Particle_placement");
  setWindowTitle(tr("Add New Particles"));
  auto* tabs = new QTabWidget(this);
  tabs->addTab(FacesPage(), tr("Faces"));
  tabs->addTab(LatticePage(), tr("Within cells"));
  tabs->addTab(CirclesPage(), tr("Circles"));

  auto* common = new QFormLayout;
  colourButton_ = new QPushButton(this);
  colourButton_->setObjectName("Select_color");
  connect(colourButton_, &QPushButton::clicked, this, &ParticlePlacementDialog::ChooseColour);
  common->addRow(tr("Color of new particles:"), colourButton_);
  retardation_ = new QLineEdit(QString::fromStdString(NumberText(particles.DefaultRetardation)), this);
  retardation_->setObjectName("retardation_factor_edit");
  common->addRow(tr("Retardation factor for new particles:"),
                 WithUnit(retardation_, tr("(1 = moves with the water; velocities are divided by it)")));
  ShowColour();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ParticlePlacementDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ParticlePlacementDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Explanation(tr("The groups of all three tabs are placed in every active cell of the current "
                                   "layer whose centre lies in the dragged rectangle. A count of 0 places nothing."),
                                this));
  layout->addWidget(tabs);
  layout->addLayout(common);
  if (placed_) {
    placedLabel_ = new QLabel(this);
    placedLabel_->setObjectName("placed_count");
    layout->addWidget(placedLabel_);
    for (QSpinBox* box : findChildren<QSpinBox*>())
      connect(box, &QSpinBox::valueChanged, this, &ParticlePlacementDialog::ShowPlacedCount);
    connect(radius_, &QLineEdit::textChanged, this, &ParticlePlacementDialog::ShowPlacedCount);
    ShowPlacedCount();
  }
  layout->addWidget(buttons);
}

PlacementCounts ParticlePlacementDialog::EnteredCounts() const {
  PlacementCounts counts;
  for (int face = 0; face < 6; ++face) counts.faces[face] = {Count(faces_[face][0]), Count(faces_[face][1])};
  counts.latticeColumns = Count(latticeColumns_);
  counts.latticeRows = Count(latticeRows_);
  counts.latticePlanes = Count(latticePlanes_);
  counts.circleCount = Count(circleCount_);
  counts.circleRadius = RoundToInt16(LeadingNumber(radius_->text().toStdString())).value_or(0);
  counts.circlePlanes = Count(circlePlanes_);
  return counts;
}

// "This places 128 particles; 12 are set, 5000 at most", before OK.
void ParticlePlacementDialog::ShowPlacedCount() {
  const int placed = placed_(EnteredCounts()), present = particles_.ParticleCount();
  placedLabel_->setText(tr("This places %1 particles; %2 are set, %3 at most.")
                            .arg(placed)
                            .arg(present)
                            .arg(kMaxParticles));
  placedLabel_->setStyleSheet(present + placed > kMaxParticles ? "color: #b00000;" : "");
}

QSpinBox* ParticlePlacementDialog::AddCount(const char* name, std::int16_t value) {
  auto* box = new QSpinBox(this);
  box->setObjectName(name);
  box->setRange(0, kLargestCount);
  box->setValue(value);
  return box;
}

QWidget* ParticlePlacementDialog::FacesPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  form->addRow(Explanation(tr("Particles just inside the faces of each cell, on a grid of the two counts: "
                              "faces 1 and 2 face the columns J-1 and J+1 (left and right on the plan), faces 3 "
                              "and 4 the rows I-1 and I+1 (up and down on the plan), face 5 is the top and face 6 "
                              "the bottom. NI counts along the column direction (across rows), NJ along the row "
                              "direction, NK over the height."),
                           page));
  for (int face = 0; face < 6; ++face) {
    const QString name = QString("particle_spin_edit_face%1").arg(face + 1);
    faces_[face][0] = AddCount((name + "_first").toUtf8().constData(), counts_.faces[face].first);
    faces_[face][1] = AddCount((name + "_second").toUtf8().constData(), counts_.faces[face].second);
    auto* row = new QHBoxLayout;
    row->addWidget(faces_[face][0]);
    row->addWidget(faces_[face][1]);
    form->addRow(tr(kFaceCaptions[face]), row);
  }
  return page;
}

QWidget* ParticlePlacementDialog::LatticePage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  form->addRow(Explanation(tr("A regular lattice inside each cell: NJ along the row, NI along the column and the "
                              "number of planes over the saturated height."),
                           page));
  latticeColumns_ = AddCount("particle_spin_edit_lattice_columns", counts_.latticeColumns);
  latticeRows_ = AddCount("particle_spin_edit_lattice_rows", counts_.latticeRows);
  latticePlanes_ = AddCount("particle_spin_edit_lattice_planes", counts_.latticePlanes);
  form->addRow(tr("No. of particles in the J-direction"), latticeColumns_);
  form->addRow(tr("No. of particles in the I-direction"), latticeRows_);
  form->addRow(tr("Number of planes"), latticePlanes_);
  return page;
}

QWidget* ParticlePlacementDialog::CirclesPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  circleCount_ = AddCount("particle_spin_edit_circle_count", counts_.circleCount);
  radius_ = new QLineEdit(QString::fromStdString(NumberText(counts_.circleRadius)), page);
  radius_->setObjectName("radius_edit");
  circlePlanes_ = AddCount("particle_spin_edit_circle_planes", counts_.circlePlanes);
  form->addRow(Explanation(tr("Circles around each cell centre, one per plane; points outside the grid are "
                              "left out, points in a neighbouring cell go into that cell."),
                           page));
  form->addRow(tr("Number of particles on a circle"), circleCount_);
  form->addRow(tr("Radius"), WithUnit(radius_, tr("model length units (whole numbers)")));
  form->addRow(tr("Number of planes"), circlePlanes_);
  return page;
}

void ParticlePlacementDialog::ChooseColour() {
  const QColor chosen = QColorDialog::getColor(ToQColor(colour_), this);
  if (!chosen.isValid()) return;
  colour_ = FromQColor(chosen);
  ShowColour();
}

void ParticlePlacementDialog::ShowColour() {
  colourButton_->setStyleSheet(QString("background-color: %1;").arg(ToQColor(colour_).name()));
}

void ParticlePlacementDialog::accept() {
  const double retardation = LeadingNumber(retardation_->text().toStdString());
  const double radius = LeadingNumber(radius_->text().toStdString());
  const PlacementCheck check = CheckPlacementEntries(retardation, circleCount_->value(), radius, circlePlanes_->value());
  if (!check.message.empty()) {
    Complain(ui_, check.message, MessageIcon::Exclamation, kErrorTitle);
    QWidget* field = check.field == PlacementField::Retardation ? static_cast<QWidget*>(retardation_)
                     : check.field == PlacementField::Radius    ? static_cast<QWidget*>(radius_)
                                                                : circlePlanes_;
    field->setFocus();
    return;
  }
  const PlacementCounts entered = EnteredCounts();
  // Refused here, so that the counts can be changed at once.
  if (placed_ && CheckParticleCount(particles_.ParticleCount() + placed_(entered), ui_)) return;
  counts_ = entered;
  particles_.DefaultRetardation = retardation;
  particles_.DefaultParticleColor = colour_;
  QDialog::accept();
}

}  // namespace kestra::app
