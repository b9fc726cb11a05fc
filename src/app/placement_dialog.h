// The dialog "Add New Particles": how many particles to place on the faces,
// inside and on circles around each selected cell, with which colour and
// retardation factor.
#pragma once

#include <QDialog>
#include <functional>

#include "core/user_interface.h"
#include "tracking/particle_set.h"
#include "tracking/placement.h"

class QLabel;
class QLineEdit;
class QSpinBox;
class QPushButton;

namespace kestra::app {

class ParticlePlacementDialog : public QDialog {
  Q_OBJECT

 public:
  // How many particles the entries would place in the selected cells.
  using PlacedCount = std::function<int(const PlacementCounts&)>;

  // Shows `counts` and the set's default colour and retardation; OK stores
  // the entries back into both once they pass the checks. With `placed`,
  // the dialog shows how many particles the entries place and refuses OK
  // when the set would exceed its limit.
  ParticlePlacementDialog(PlacementCounts& counts, ParticleSet& particles, UserInterface& ui, QWidget* parent,
                          PlacedCount placed = {});

 public slots:
  void accept() override;

 private:
  QSpinBox* AddCount(const char* name, std::int16_t value);
  QWidget* FacesPage();
  QWidget* LatticePage();
  QWidget* CirclesPage();
  void ChooseColour();
  void ShowColour();
  PlacementCounts EnteredCounts() const;
  void ShowPlacedCount();

  PlacementCounts& counts_;
  ParticleSet& particles_;
  UserInterface& ui_;
  std::int32_t colour_;
  QSpinBox* faces_[6][2] = {};
  QSpinBox* latticeColumns_ = nullptr;
  QSpinBox* latticeRows_ = nullptr;
  QSpinBox* latticePlanes_ = nullptr;
  QSpinBox* circleCount_ = nullptr;
  QLineEdit* radius_ = nullptr;
  QSpinBox* circlePlanes_ = nullptr;
  QLineEdit* retardation_ = nullptr;
  QPushButton* colourButton_ = nullptr;
  PlacedCount placed_;
  QLabel* placedLabel_ = nullptr;
};

}  // namespace kestra::app
