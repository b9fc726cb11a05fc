// The dialog "Particle Tracking (Time) Properties": the time step shown, the
// tracking step, the time marks, the simulation mode, the stop rules and how
// recharge and evapotranspiration enter the cells.
#pragma once

#include <QDialog>
#include <vector>

#include "core/user_interface.h"
#include "settings/tracking_settings.h"
#include "tracking/tracking_entries.h"

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kestra::app {

// The name of a time unit code 0..5 as the unit box lists it.
QString TimeUnitName(int unit);

class TrackingDialog : public QDialog {
  Q_OBJECT

 public:
  TrackingDialog(const TrackingEntries& entries, const StressPeriods& periods, UserInterface& ui, QWidget* parent);

  // The entries as confirmed with OK.
  const TrackingEntries& Entries() const { return entries_; }
  // Fills the porosity fields the settings leave empty with the model's
  // porosity of each layer ("" where it varies by cell).
  void ShowModelPorosity(const std::vector<std::string>& modelPorosity);
  // The colour of pathlines tracked backward, chosen with its button.
  void SetBackwardColour(std::int32_t colour);
  std::int32_t BackwardColour() const { return backwardColour_; }

 public slots:
  void accept() override;

 private:
  QLineEdit* AddField(const char* name, const std::string& text);
  QCheckBox* AddCheck(const char* name, const QString& caption, bool checked);
  QButtonGroup* AddOptions(QBoxLayout* column, const QString& heading, const char* name, const QStringList& captions,
                           int checked);
  QWidget* TimePage();
  QWidget* MarksPage();
  QWidget* SimulationPage();
  QWidget* SinksAndReleaseGroup();
  QWidget* SourcesPage();
  QWidget* PorosityPage();
  QWidget* LayerColorTable();
  void ChooseLayerColour(int row);
  TrackingEntries Typed() const;
  void UnitChanged(int unit);

  TrackingEntries entries_;
  const StressPeriods& periods_;
  UserInterface& ui_;
  int shownUnit_;
  QLineEdit *stressPeriod_ = nullptr, *timeStep_ = nullptr, *stepLength_ = nullptr, *maximumSteps_ = nullptr;
  QLineEdit *markInterval_ = nullptr, *arrowSize_ = nullptr, *sectionMarkSize_ = nullptr;
  QComboBox* timeUnit_ = nullptr;
  QCheckBox *markOnTopView_ = nullptr, *markOnXsections_ = nullptr, *stopAtWeakSinks_ = nullptr,
            *stopAtWeakSources_ = nullptr, *stopAtTimeLimit_ = nullptr, *holdUnsavedSteps_ = nullptr,
            *useLayerColors_ = nullptr;
  QButtonGroup *simulationMode_ = nullptr, *recharge_ = nullptr, *evapotranspiration_ = nullptr,
               *boundaryCells_ = nullptr, *faceVelocities_ = nullptr;
  QLineEdit* releaseTime_ = nullptr;
  std::vector<QLineEdit*> layerPorosity_;
  std::vector<std::string> modelPorosity_;
  std::vector<std::int32_t> layerColors_;
  QTableWidget* colorTable_ = nullptr;
  QPushButton* backwardColourButton_ = nullptr;
  std::int32_t backwardColour_ = 0;
};

}  // namespace kestra::app
